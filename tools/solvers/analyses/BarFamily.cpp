#include "BarFamily.h"

#include "SolverProgress.h"

#include <algorithm>

void BarFamily::Build(const MeshModel& /*model*/, QStringList& /*warnings*/) {
    elements_.reserve(bars_.Bars.size());
    for (const BarModel::Bar& bar : bars_.Bars)
        elements_.emplace_back(bars_, bar);
    forces_ = EndLayout().Count();
}

std::vector<const Element*> BarFamily::Elements() const {
    std::vector<const Element*> pointers;
    pointers.reserve(elements_.size());
    for (const BarElement& bar : elements_)
        pointers.push_back(&bar);
    return pointers;
}

Element::Vector BarFamily::ElementLoad(const MeshModel::ElementLoad& load) const {
    const BarElement& bar = elements_[static_cast<size_t>(load.Cell)];
    using Spread = MeshModel::ElementLoad::Spread;
    switch (load.Along) {
    case Spread::Point:
        return bar.PointLoads(load.Q, load.Moment, load.A, load.Member);
    case Spread::Partial:
        return bar.PartialLoads(load.Q, load.QB, load.A, load.B, load.Member);
    case Spread::Even:
        break;
    }
    if (!load.Member)
        return bar.Loads(load.Q);
    const Eigen::Vector3d global = bar.Axes().transpose() * Eigen::Vector3d(load.Q.data());
    return bar.Loads({global(0), global(1), global(2)});
}

std::optional<MeshFamily::GivenLoad> BarFamily::Given(const MeshModel::ElementLoad& load) const {
    const BarElement& element = elements_[static_cast<size_t>(load.Cell)];
    const BarModel::Bar& bar = bars_.Bars[static_cast<size_t>(load.Cell)];
    const Eigen::Vector3d a(bars_.Nodes[static_cast<size_t>(bar.I)].data());
    const Eigen::Vector3d b(bars_.Nodes[static_cast<size_t>(bar.J)].data());
    // Values in the bar's own axes, turned into those of space.
    const auto global = [&element, &load](const std::array<double, 3>& v) {
        const Eigen::Vector3d given(v.data());
        return load.Member ? Eigen::Vector3d(element.Axes().transpose() * given) : given;
    };
    const Eigen::Vector3d x = element.Axes().row(0).transpose();
    using Spread = MeshModel::ElementLoad::Spread;
    switch (load.Along) {
    case Spread::Point:
        return GivenLoad{a + load.A * x, global(load.Q), global(load.Moment)};
    case Spread::Partial: {
        // The resultant at the load's centroid along the bar, where a load of one direction
        // leaves no moment; that of a load turning along the bar is about that point.
        const double span = load.B - load.A;
        const Eigen::Vector3d from = global(load.Q), to = global(load.QB);
        const Eigen::Vector3d force = (from + to) * span / 2;
        const Eigen::Vector3d first = span * span * (from / 6 + to / 3); // about the start
        const double squared = force.squaredNorm();
        const double centroid = squared > 0 ? first.dot(force) / squared : 0;
        return GivenLoad{a + (load.A + centroid) * x, force,
                         x.cross(Eigen::Vector3d(first - centroid * force))};
    }
    case Spread::Even:
        break;
    }
    return GivenLoad{(a + b) / 2, global(load.Q) * (b - a).norm()};
}

namespace {

// An elastic foundation under a bar: a stiffness over the bar's ends alone.
class Ground final : public Element {
public:
    Ground(const BarElement& bar, double k)
        : ends_{bar.Nodes()[0], bar.Nodes()[1]}, stiffness_(bar.FoundationStiffness(k)) {}
    std::span<const int> Nodes() const override { return ends_; }
    std::span<const int> Components() const override { return AllComponents; }
    Matrix Stiffness() const override { return stiffness_; }

private:
    static constexpr std::array<int, 6> AllComponents = {0, 1, 2, 3, 4, 5};
    std::array<int, 2> ends_;
    BarElement::Matrix12 stiffness_;
};

} // namespace

std::unique_ptr<Element> BarFamily::Foundation(size_t e, double k) const {
    return std::make_unique<Ground>(elements_[e], k);
}

ResultLayout BarFamily::EndLayout() const {
    return BarElement::EndLayout(bars_.Axes, bars_.IsTruss());
}

void BarFamily::EndForces(size_t e, const Element::Vector& u, const Element::Vector& loads,
                          const Element::Heat* /*heat*/, double* into) const {
    const BarElement::Forces forces = elements_[e].SectionForces(u, loads);
    std::copy(forces.begin(), forces.begin() + forces_, into);
}

QString BarFamily::AssemblyStage(const BarModel& model) {
    return QStringLiteral("Assembling and factorising: %1 nodes, %2 elements")
        .arg(SolverProgress::Count(model.DataNodes), SolverProgress::Count(model.DataElements));
}

StaticResults BarFamily::Results(const BarModel& model, const FieldResults& field) {
    StaticResults results;
    results.Nodes = model.DataNodes;
    results.Elements = model.DataElements;
    results.ArcPoints = static_cast<int>(model.Nodes.size()) - model.DataNodes;
    results.Components = model.ComponentNames();
    results.Reactions = model.LoadNames();
    results.Forces = BarElement::EndLayout(model.Axes, model.IsTruss());
    results.Residual = field.Residual;
    results.Imbalance = field.Imbalance;
    results.LargestLoad = field.LargestLoad;
    results.SmallestLoad = field.SmallestLoad;
    const size_t width = model.Components.size();
    const size_t count = static_cast<size_t>(results.ForceCount());
    // A case, a combination or an envelope's extremes alike.
    const auto convert = [&](const FieldResults::Case& solved) {
        StaticResults::Case c;
        c.Number = solved.Number;
        c.Terms = solved.Terms;
        const auto inner =
            solved.Displacements.begin() +
            static_cast<std::ptrdiff_t>(static_cast<size_t>(model.DataNodes) * width);
        c.Displacements.assign(solved.Displacements.begin(), inner);
        c.ArcDisplacements.assign(inner, solved.Displacements.end());
        for (const FieldResults::Reaction& reaction : solved.Reactions)
            c.Reactions.push_back({reaction.Node, reaction.Values});
        c.Forces.assign(static_cast<size_t>(model.DataElements) * count, 0.0);
        MemberForces(model, solved.Stresses.data(), c.Forces.data());
        return c;
    };
    results.Cases.reserve(field.Cases.size());
    for (const FieldResults::Case& solved : field.Cases)
        results.Cases.push_back(convert(solved));
    for (const FieldResults::Case& combined : field.Combinations)
        results.Combinations.push_back(convert(combined));
    for (const FieldResults::Envelope& envelope : field.Envelopes)
        results.Envelopes.push_back({envelope.Number, envelope.Combinations, convert(envelope.Max),
                                     convert(envelope.Min), convert(envelope.MaxBy),
                                     convert(envelope.MinBy)});
    return results;
}

void BarFamily::MemberForces(const BarModel& model, const double* bars, double* members) {
    const auto count =
        static_cast<size_t>(BarElement::EndLayout(model.Axes, model.IsTruss()).Count());
    // A truss bar's one force is the same at both ends: the last piece's is taken.
    const size_t half = model.IsTruss() ? 0 : count / 2;
    std::vector<bool> started(static_cast<size_t>(model.DataElements), false);
    for (size_t bar = 0; bar < model.Bars.size(); ++bar) {
        const size_t element = static_cast<size_t>(model.Bars[bar].Element);
        const double* section = bars + bar * count;
        double* out = members + element * count;
        // The pieces of an arc or of a divided member: end i of the first, end j of the last.
        if (!started[element]) {
            started[element] = true;
            std::copy(section, section + half, out);
        }
        std::copy(section + half, section + count, out + half);
    }
}
