#include "MeshStatics.h"

#include "LoadBalance.h"
#include "LoadCombinations.h"
#include "MeshRecovery.h"

#include <QElapsedTimer>
#include <unordered_map>

LinearSolver::Problem MeshStatics::ProblemOf(const MeshModel& model, const MeshFamily& family,
                                             const GroundSupports* ground) {
    const size_t nodes = model.Nodes.size();
    LinearSolver::Problem problem;
    problem.Nodes = static_cast<int>(nodes);
    problem.Elements = family.Elements();
    if (ground)
        for (const Element* element : ground->Elements())
            problem.Elements.push_back(element);
    problem.Wording = family.Wording();
    problem.Kept = model.Components;
    problem.Coordinates = model.Nodes;
    problem.RigidMotions = family.RigidMotions();
    problem.IterativeFrom = family.IterativeFrom();
    problem.Residual = family.Residual();
    EquationSystem::Constraints& constraints = problem.Constraints;
    constraints.Fixed.assign(6 * nodes, false);
    constraints.Loaded.assign(6 * nodes, false);
    for (const MeshModel::Support& support : model.Supports)
        for (int c : model.Components)
            if (support.Fixed[static_cast<size_t>(c)])
                constraints.Fixed[6 * static_cast<size_t>(support.Node) + static_cast<size_t>(c)] =
                    true;
    family.Constrain(model, constraints.Fixed);
    for (const MeshModel::NodalLoad& load : model.Loads)
        for (int c : model.Components)
            if (load.Load[static_cast<size_t>(c)] != 0)
                constraints.Loaded[6 * static_cast<size_t>(load.Node) + static_cast<size_t>(c)] =
                    true;
    if (family.WeighsDiagonal()) {
        problem.Diagonal =
            EquationSystem(problem.Nodes, problem.Elements, problem.Wording).StiffnessDiagonal();
    } else {
        problem.Diagonal.assign(6 * nodes, 0.0);
        for (const Element* element : problem.Elements)
            for (int node : element->Nodes())
                for (int c : element->Components())
                    problem.Diagonal[6 * static_cast<size_t>(node) + static_cast<size_t>(c)] = 1;
    }
    return problem;
}

namespace {

Eigen::Vector3d Point(const std::array<double, 3>& at) {
    return {at[0], at[1], at[2]};
}

// One run of the pipeline over the load cases of a prepared model.
class Statics {
public:
    Statics(const MeshModel& model, const MeshFamily& family, const GroundSupports& ground,
            const LinearSolver& solver)
        : model_(model), family_(family), ground_(ground), solver_(solver),
          elements_(family.Elements()), width_(model.Components.size()),
          loadsOf_(model.LoadsByCase()), elementLoadsOf_(model.ElementLoadsByCase()),
          actions_(model, elements_), layout_(family.EndLayout()),
          unloaded_(LoadBalance::About(model.Nodes, Point, family.Balance())) {
        if (layout_.Empty()) {
            recovery_ = std::make_unique<MeshRecovery>(model, family, elements_);
            layout_ = recovery_->Layout();
        }
        slot_.fill(-1);
        for (size_t k = 0; k < width_; ++k)
            slot_[static_cast<size_t>(model.Components[k])] = static_cast<int>(k);
        std::vector<bool> supported(model.Nodes.size(), false);
        for (const MeshModel::Support& support : model.Supports)
            supported[static_cast<size_t>(support.Node)] = true;
        // Elements that touch a support give the reactions: the ground's too, since a
        // foundation under a supported node takes its share there.
        const std::vector<const Element*>& all = solver.System().Elements();
        for (const Element* element : all)
            for (int node : element->Nodes())
                if (supported[static_cast<size_t>(node)]) {
                    reacting_.push_back(element);
                    break;
                }
        // The nodes with reactions: the supports' in their order, then those held by springs
        // alone.
        std::vector<bool> listed = supported;
        for (const MeshModel::Support& support : model.Supports)
            reactionNodes_.push_back(support.Node);
        for (const MeshModel::Spring& spring : model.Springs)
            if (!listed[static_cast<size_t>(spring.Node)]) {
                listed[static_cast<size_t>(spring.Node)] = true;
                reactionNodes_.push_back(spring.Node);
            }
    }

    std::vector<int> Loaded() const {
        std::vector<int> cases;
        for (int c = 1; c <= model_.LoadCases; ++c)
            if (!loadsOf_[static_cast<size_t>(c)].empty() ||
                !elementLoadsOf_[static_cast<size_t>(c)].empty() || actions_.Acts(c))
                cases.push_back(c);
        return cases;
    }

    void Fill(int number, Eigen::VectorXd& column) const;
    void Take(int number, const Eigen::VectorXd* solution);
    void Finish(FieldResults& results) {
        results.Nodes = static_cast<int>(model_.Nodes.size());
        results.Elements = static_cast<int>(model_.Cells.size());
        results.Components = family_.ComponentNames();
        results.Columns = layout_;
        results.Cases = std::move(cases_);
        results.Imbalance = worst_.Share;
        results.LargestLoad = worst_.Largest;
        results.SmallestLoad = worst_.Smallest;
    }
    double RecoverySeconds() const { return recovery_seconds_; }

private:
    using Rows = std::vector<double>; // nodes x width, the kept components of each node
    // Adds an element's vector (ordered as its unknowns) into the rows of its nodes.
    void Scatter(const Element& element, const Element::Vector& v, Rows& into) const;
    Element::Vector Gather(const Element& element, const Rows& displacements) const;
    void Reactions(int number, const Rows& displacements, FieldResults::Case& result);
    void AddGround(const Rows& displacements, Rows& reactions, LoadBalance& balance) const;
    void ScatterToEquations(const Element& element, const Element::Vector& f,
                            Eigen::VectorXd& column) const;
    void AddLoads(LoadBalance& balance, const Rows& rows, LoadBalance::Direction direction) const;
    std::pair<Eigen::Vector3d, Eigen::Vector3d> Split(const Rows& rows, size_t node) const;
    void Recover(int number, FieldResults::Case& result) const;
    void RecoverEnds(int number, FieldResults::Case& result) const;

    const MeshModel& model_;
    const MeshFamily& family_;
    const GroundSupports& ground_;
    const LinearSolver& solver_;
    std::vector<const Element*> elements_;
    size_t width_;
    std::array<int, 6> slot_{};
    std::vector<std::vector<size_t>> loadsOf_, elementLoadsOf_;
    CaseActions actions_;
    std::vector<const Element*> reacting_;
    std::vector<int> reactionNodes_;
    ResultLayout layout_;
    std::unique_ptr<MeshRecovery> recovery_; // none where the elements give their end forces
    const LoadBalance unloaded_;
    LoadBalance::Worst worst_;
    std::vector<FieldResults::Case> cases_;
    double recovery_seconds_ = 0;
};

void Statics::ScatterToEquations(const Element& element, const Element::Vector& f,
                                 Eigen::VectorXd& column) const {
    const std::span<const int> corners = element.Nodes();
    const std::span<const int> components = element.Components();
    for (size_t a = 0; a < corners.size(); ++a)
        for (size_t c = 0; c < components.size(); ++c)
            if (const int e = solver_.Equation(corners[a], components[c]); e >= 0)
                column[e] += f(static_cast<Eigen::Index>(a * components.size() + c));
}

void Statics::Fill(int number, Eigen::VectorXd& column) const {
    MeshStatics::AddLoads(model_, family_, solver_, loadsOf_[static_cast<size_t>(number)],
                          elementLoadsOf_[static_cast<size_t>(number)], column);
    for (const auto& [e, f] : actions_.ElementLoads(number))
        ScatterToEquations(*elements_[e], f, column);
    // A displacement imposed on held components moves the elements there: the free ones take
    // the forces that follow from it as loads of their own, turned round.
    if (const std::vector<double>* imposed = actions_.Imposed(number))
        for (const Element* element : solver_.System().Elements()) {
            Element::Vector u(element->Size());
            Eigen::Index i = 0;
            for (int node : element->Nodes())
                for (int c : element->Components())
                    u(i++) = (*imposed)[6 * static_cast<size_t>(node) + static_cast<size_t>(c)];
            if (!u.isZero(0))
                ScatterToEquations(*element, -(element->Stiffness() * u), column);
        }
}

// An element may work in components the model's nodes do not keep (a bar in a plane frame):
// those have no row and no displacement.
void Statics::Scatter(const Element& element, const Element::Vector& v, Rows& into) const {
    const std::span<const int> corners = element.Nodes();
    const std::span<const int> components = element.Components();
    for (size_t a = 0; a < corners.size(); ++a)
        for (size_t c = 0; c < components.size(); ++c)
            if (const int slot = slot_[static_cast<size_t>(components[c])]; slot >= 0)
                into[static_cast<size_t>(corners[a]) * width_ + static_cast<size_t>(slot)] +=
                    v(static_cast<Eigen::Index>(a * components.size() + c));
}

Element::Vector Statics::Gather(const Element& element, const Rows& displacements) const {
    Element::Vector u(element.Size());
    Eigen::Index i = 0;
    for (int node : element.Nodes())
        for (int c : element.Components()) {
            const int slot = slot_[static_cast<size_t>(c)];
            u(i++) =
                slot >= 0
                    ? displacements[static_cast<size_t>(node) * width_ + static_cast<size_t>(slot)]
                    : 0.0;
        }
    return u;
}

std::pair<Eigen::Vector3d, Eigen::Vector3d> Statics::Split(const Rows& rows, size_t node) const {
    std::pair<Eigen::Vector3d, Eigen::Vector3d> loads{Eigen::Vector3d::Zero(),
                                                      Eigen::Vector3d::Zero()};
    for (size_t k = 0; k < width_; ++k) {
        const int c = model_.Components[k];
        (c < 3 ? loads.first : loads.second)[c % 3] += rows[node * width_ + k];
    }
    return loads;
}

void Statics::AddLoads(LoadBalance& balance, const Rows& rows,
                       LoadBalance::Direction direction) const {
    for (size_t node = 0; node < model_.Nodes.size(); ++node) {
        const auto [force, moment] = Split(rows, node);
        if (!force.isZero(0) || !moment.isZero(0))
            balance.AddLoad(Point(model_.Nodes[node]), force, moment, direction);
    }
}

void Statics::Reactions(int number, const Rows& displacements, FieldResults::Case& result) {
    const size_t nodes = model_.Nodes.size();
    // The loads of the case at the nodes, per radian, apart from the element loads, whose
    // directions are computed from the elements' corners.
    Rows applied(nodes * width_, 0.0), pressed(nodes * width_, 0.0), held(nodes * width_, 0.0);
    for (size_t k : loadsOf_[static_cast<size_t>(number)]) {
        const MeshModel::NodalLoad& load = model_.Loads[k];
        const double scale = family_.PerRadian(model_.Nodes[static_cast<size_t>(load.Node)]);
        for (size_t c = 0; c < width_; ++c)
            applied[static_cast<size_t>(load.Node) * width_ + c] +=
                load.Load[static_cast<size_t>(model_.Components[c])] * scale;
    }
    LoadBalance balance = unloaded_;
    Rows computed; // the consistent loads of the element loads the data gives no resultant of
    for (size_t k : elementLoadsOf_[static_cast<size_t>(number)]) {
        const MeshModel::ElementLoad& load = model_.ElementLoads[k];
        const Element& element = *elements_[static_cast<size_t>(load.Cell)];
        const Element::Vector f = family_.ElementLoad(load);
        Scatter(element, f, pressed);
        if (const std::optional<MeshFamily::GivenLoad> resultant = family_.Given(load)) {
            balance.AddLoad(resultant->At, resultant->Force, resultant->Moment);
        } else {
            computed.resize(nodes * width_, 0.0);
            Scatter(element, f, computed);
        }
    }
    for (const auto& [e, f] : actions_.ElementLoads(number)) {
        // Weights and heat, whose consistent loads at the nodes are statically the same.
        Scatter(*elements_[e], f, pressed);
        computed.resize(nodes * width_, 0.0);
        Scatter(*elements_[e], f, computed);
    }
    for (const Element* element : reacting_)
        Scatter(*element, element->Stiffness() * Gather(*element, displacements), held);
    AddLoads(balance, applied, LoadBalance::Direction::Given);
    if (!computed.empty())
        AddLoads(balance, computed, LoadBalance::Direction::Computed);
    Rows reactions(nodes * width_, 0.0);
    for (const MeshModel::Support& support : model_.Supports) {
        const size_t node = static_cast<size_t>(support.Node);
        for (size_t k = 0; k < width_; ++k) {
            const size_t at = node * width_ + k;
            const int c = model_.Components[k];
            if (support.Fixed[static_cast<size_t>(c)] && family_.Reacts(model_.Nodes[node], c))
                reactions[at] = held[at] - (applied[at] + pressed[at]);
        }
    }
    for (const MeshModel::Support& support : model_.Supports) {
        const auto [force, moment] = Split(reactions, static_cast<size_t>(support.Node));
        balance.AddReaction(Point(model_.Nodes[static_cast<size_t>(support.Node)]), force, moment);
    }
    if (!ground_.Empty())
        AddGround(displacements, reactions, balance);
    for (int n : reactionNodes_) {
        const size_t node = static_cast<size_t>(n);
        FieldResults::Reaction reaction{n + 1, std::vector<double>(width_, 0.0)};
        // Per unit of the circumference again; on the axis, where there is none, per radian.
        const double radian = family_.PerRadian(model_.Nodes[node]);
        for (size_t k = 0; k < width_; ++k)
            reaction.Values[k] = reactions[node * width_ + k] / (radian > 0 ? radian : 1.0);
        result.Reactions.push_back(std::move(reaction));
    }
    worst_.Take(balance);
}

// The springs and foundations hold the structure with the forces of their stiffness: the
// springs' are reactions at their nodes, and all of them weigh in the balance as reactions.
void Statics::AddGround(const Rows& displacements, Rows& reactions, LoadBalance& balance) const {
    Rows ground(model_.Nodes.size() * width_, 0.0);
    for (const Element* element : ground_.Elements())
        Scatter(*element, -(element->Stiffness() * Gather(*element, displacements)), ground);
    // A spring works in the node's kept components, in their order.
    for (const auto& spring : ground_.Springs()) {
        const size_t node = static_cast<size_t>(spring->Nodes()[0]);
        const Element::Vector force = -(spring->Stiffness() * Gather(*spring, displacements));
        for (size_t k = 0; k < width_; ++k)
            reactions[node * width_ + k] += force(static_cast<Eigen::Index>(k));
    }
    for (size_t node = 0; node < model_.Nodes.size(); ++node) {
        const auto [force, moment] = Split(ground, node);
        if (!force.isZero(0) || !moment.isZero(0))
            balance.AddReaction(Point(model_.Nodes[node]), force, moment);
    }
}

void Statics::Recover(int number, FieldResults::Case& result) const {
    if (recovery_) {
        const std::unordered_map<size_t, Element::Heat> heats = actions_.Heats(number);
        recovery_->Recover(
            [this, &result](const Element& element) {
                return Gather(element, result.Displacements);
            },
            result, heats);
    } else
        RecoverEnds(number, result);
}

void Statics::RecoverEnds(int number, FieldResults::Case& result) const {
    // The element loads of the case along each loaded element, summed.
    std::unordered_map<size_t, Element::Vector> along;
    for (size_t k : elementLoadsOf_[static_cast<size_t>(number)]) {
        const MeshModel::ElementLoad& load = model_.ElementLoads[k];
        const Element::Vector add = family_.ElementLoad(load);
        const auto [f, added] = along.try_emplace(static_cast<size_t>(load.Cell), add);
        if (!added)
            f->second += add;
    }
    for (const auto& [e, add] : actions_.ElementLoads(number)) {
        const auto [f, added] = along.try_emplace(e, add);
        if (!added)
            f->second += add;
    }
    const std::unordered_map<size_t, Element::Heat> heats = actions_.Heats(number);
    const size_t columns = static_cast<size_t>(layout_.Count());
    result.Stresses.assign(elements_.size() * columns, 0.0);
    for (size_t e = 0; e < elements_.size(); ++e) {
        const Element& element = *elements_[e];
        const Element::Vector u = Gather(element, result.Displacements);
        const auto loaded = along.find(e);
        Element::Vector loads =
            loaded != along.end() ? loaded->second : Element::Vector::Zero(element.Size());
        // The soil under an element presses on it as a load along it.
        if (const Element* foundation = ground_.FoundationOf(e))
            loads -= foundation->Stiffness() * u;
        const auto heat = heats.find(e);
        family_.EndForces(e, u, loads, heat != heats.end() ? &heat->second : nullptr,
                          result.Stresses.data() + e * columns);
    }
}

void Statics::Take(int number, const Eigen::VectorXd* solution) {
    QElapsedTimer recovering;
    recovering.start();
    const size_t nodes = model_.Nodes.size();
    FieldResults::Case result;
    result.Number = number;
    result.Displacements.assign(nodes * width_, 0.0);
    if (!solution) {
        // A case without loads: nothing moves, nothing is stressed.
        for (int node : reactionNodes_)
            result.Reactions.push_back({node + 1, std::vector<double>(width_, 0.0)});
        const size_t columns = static_cast<size_t>(layout_.Count());
        result.Stresses.assign(model_.Cells.size() * columns, 0.0);
        result.NodeStresses.assign(nodes * columns, 0.0);
    } else {
        for (size_t node = 0; node < nodes; ++node)
            for (size_t k = 0; k < width_; ++k) {
                const int e = solver_.Equation(static_cast<int>(node), model_.Components[k]);
                result.Displacements[node * width_ + k] = e >= 0 ? (*solution)[e] : 0.0;
            }
        if (const std::vector<double>* imposed = actions_.Imposed(number))
            for (size_t node = 0; node < nodes; ++node)
                for (size_t k = 0; k < width_; ++k)
                    if (solver_.Equation(static_cast<int>(node), model_.Components[k]) < 0)
                        result.Displacements[node * width_ + k] =
                            (*imposed)[6 * node + static_cast<size_t>(model_.Components[k])];
        Reactions(number, result.Displacements, result);
        Recover(number, result);
    }
    cases_.push_back(std::move(result));
    recovery_seconds_ += static_cast<double>(recovering.nsecsElapsed()) * 1e-9;
}

} // namespace

MeshStatics::Prepared MeshStatics::Prepare(const MeshModel& model,
                                           const LinearSolver::Options& options,
                                           SolverProgress* progress) {
    return Prepare(model, MeshFamily::Of(model), options, progress);
}

MeshStatics::Prepared MeshStatics::Prepare(const MeshModel& model,
                                           std::unique_ptr<MeshFamily> family,
                                           const LinearSolver::Options& options,
                                           SolverProgress* progress) {
    Prepared prepared;
    prepared.Family = std::move(family);
    prepared.Family->Build(model, prepared.Warnings);
    prepared.Ground = std::make_unique<GroundSupports>(model, *prepared.Family);
    prepared.Solver = std::make_unique<LinearSolver>();
    prepared.Solver->Prepare(MeshStatics::ProblemOf(model, *prepared.Family, prepared.Ground.get()),
                             options, progress);
    return prepared;
}

MeshStatics::Outcome MeshStatics::Run(const MeshModel& model, const LinearSolver::Options& options,
                                      SolverProgress* progress) {
    return Run(model, MeshFamily::Of(model), options, progress);
}

MeshStatics::Outcome MeshStatics::Run(const MeshModel& model, std::unique_ptr<MeshFamily> family,
                                      const LinearSolver::Options& options,
                                      SolverProgress* progress) {
    Outcome outcome;
    const Prepared prepared = Prepare(model, std::move(family), options, progress);
    outcome.Warnings = prepared.Warnings;
    const LinearSolver& solver = *prepared.Solver;
    outcome.Time.Assembly = solver.System().AssemblySeconds();
    outcome.Time.Factorisation = solver.System().FactorSeconds();
    Statics statics(model, *prepared.Family, *prepared.Ground, solver);
    QElapsedTimer solving;
    solving.start();
    prepared.Solver->Solve(
        model.LoadCases, statics.Loaded(),
        [&statics](int number, Eigen::VectorXd& column) { statics.Fill(number, column); },
        [&statics](int number, const Eigen::VectorXd* solution) { statics.Take(number, solution); },
        progress);
    outcome.Time.Recovery = statics.RecoverySeconds();
    outcome.Time.Solution =
        static_cast<double>(solving.nsecsElapsed()) * 1e-9 - outcome.Time.Recovery;
    outcome.Solver = solver.Done();
    statics.Finish(outcome.Results);
    LoadCombinations::Apply(model, *prepared.Family, outcome.Results);
    outcome.Results.Residual = outcome.Solver.Residual;
    return outcome;
}

LinearSolver::Options MeshStatics::OptionsOf(const SolverInput::Choices& choices) {
    LinearSolver::Options options;
    if (choices.Method == QLatin1String("direct"))
        options.Use = LinearSolver::Method::Direct;
    else if (choices.Method == QLatin1String("iterative"))
        options.Use = LinearSolver::Method::Iterative;
    if (choices.Tolerance > 0)
        options.Tolerance = choices.Tolerance;
    options.Processes = choices.Processes;
    return options;
}

void MeshStatics::AddLoads(const MeshModel& model, const MeshFamily& family,
                           const LinearSolver& solver, std::span<const size_t> nodal,
                           std::span<const size_t> element, Eigen::VectorXd& column) {
    for (size_t k : nodal) {
        const MeshModel::NodalLoad& load = model.Loads[k];
        const double scale = family.PerRadian(model.Nodes[static_cast<size_t>(load.Node)]);
        for (int c : model.Components) {
            const int e = solver.Equation(load.Node, c);
            if (e >= 0)
                column[e] += load.Load[static_cast<size_t>(c)] * scale;
        }
    }
    const std::vector<const Element*>& elements = solver.System().Elements();
    for (size_t k : element) {
        const MeshModel::ElementLoad& load = model.ElementLoads[k];
        const Element& loaded = *elements[static_cast<size_t>(load.Cell)];
        const Element::Vector f = family.ElementLoad(load);
        const std::span<const int> corners = loaded.Nodes();
        const std::span<const int> components = loaded.Components();
        for (size_t a = 0; a < corners.size(); ++a)
            for (size_t c = 0; c < components.size(); ++c) {
                const int e = solver.Equation(corners[a], components[c]);
                if (e >= 0)
                    column[e] += f(static_cast<Eigen::Index>(a * components.size() + c));
            }
    }
}
