#include "StaticAnalysis.h"

#include <unordered_map>

namespace {

using Vector12 = BarElement::Vector12;
using FixedEnd = std::unordered_map<int, Vector12>; // bar -> fixed-end forces in local axes

// The fixed-end forces of the element loads of every case, summed per bar.
std::vector<FixedEnd> FixedEndForces(const StiffnessSystem& system, int cases) {
    std::vector<FixedEnd> fixed(static_cast<size_t>(cases));
    for (const BarModel::ElementLoad& load : system.Model().ElementLoads) {
        if (load.Case < 1 || load.Case > cases)
            continue;
        const Vector12 f = system.Elements()[static_cast<size_t>(load.Bar)].FixedEndForces(load.Q);
        auto [entry, inserted] = fixed[static_cast<size_t>(load.Case - 1)].try_emplace(load.Bar, f);
        if (!inserted)
            entry->second += f;
    }
    return fixed;
}

Eigen::MatrixXd LoadVectors(const StiffnessSystem& system, const std::vector<FixedEnd>& fixed) {
    const BarModel& model = system.Model();
    Eigen::MatrixXd loads =
        Eigen::MatrixXd::Zero(system.Equations(), static_cast<int>(fixed.size()));
    for (const BarModel::NodalLoad& load : model.NodalLoads) {
        if (load.Case < 1 || load.Case > static_cast<int>(fixed.size()))
            continue;
        for (int c = 0; c < 6; ++c) {
            const int e = system.Equation(load.Node, c);
            if (e >= 0)
                loads(e, load.Case - 1) += load.Load[c];
        }
    }
    for (size_t lc = 0; lc < fixed.size(); ++lc) {
        for (const auto& [bar, f] : fixed[lc]) {
            const BarModel::Bar& b = model.Bars[static_cast<size_t>(bar)];
            const Vector12 global = system.Elements()[static_cast<size_t>(bar)].ToGlobal(f);
            for (int c = 0; c < 6; ++c) {
                const int ei = system.Equation(b.I, c), ej = system.Equation(b.J, c);
                if (ei >= 0)
                    loads(ei, static_cast<int>(lc)) -= global(c);
                if (ej >= 0)
                    loads(ej, static_cast<int>(lc)) -= global(c + 6);
            }
        }
    }
    return loads;
}

Vector12 EndForces(const StiffnessSystem& system, int bar, const Eigen::VectorXd& solution,
                   const FixedEnd& fixed) {
    const auto found = fixed.find(bar);
    const Vector12 f0 = found == fixed.end() ? Vector12::Zero() : found->second;
    return system.Elements()[static_cast<size_t>(bar)].EndForces(
        system.EndDisplacements(bar, solution), f0);
}

StaticResults::Case SolveCase(const StiffnessSystem& system, int number,
                              const Eigen::VectorXd& solution, const FixedEnd& fixed,
                              int forceCount) {
    const BarModel& model = system.Model();
    StaticResults::Case result;
    result.Number = number;
    const int components = static_cast<int>(model.Components.size());
    const auto collect = [&](int first, int end, std::vector<double>& values) {
        values.reserve(static_cast<size_t>(end - first) * components);
        for (int node = first; node < end; ++node) {
            for (int c : model.Components) {
                const int e = system.Equation(node, c);
                values.push_back(e >= 0 ? solution[e] : 0);
            }
        }
    };
    collect(0, model.DataNodes, result.Displacements);
    // The arcs' inner nodes follow the data's, in the order the arcs were cut.
    collect(model.DataNodes, static_cast<int>(model.Nodes.size()), result.ArcDisplacements);

    // What the bars take from each supported node, to find the reactions.
    std::vector<int> supportOf(model.Nodes.size(), -1);
    for (size_t s = 0; s < model.Supports.size(); ++s)
        supportOf[static_cast<size_t>(model.Supports[s].Node)] = static_cast<int>(s);
    std::vector<std::array<double, 6>> taken(model.Supports.size(), std::array<double, 6>{});

    result.Forces.assign(static_cast<size_t>(model.DataElements) * forceCount, 0.0);
    const int half = model.IsTruss() ? 0 : forceCount / 2;
    std::vector<bool> started(static_cast<size_t>(model.DataElements), false);
    for (size_t bar = 0; bar < model.Bars.size(); ++bar) {
        const BarModel::Bar& b = model.Bars[bar];
        const Vector12 local = EndForces(system, static_cast<int>(bar), solution, fixed);
        const Vector12 global = system.Elements()[bar].ToGlobal(local);
        for (int end = 0; end < 2; ++end) {
            const int s = supportOf[static_cast<size_t>(end == 0 ? b.I : b.J)];
            if (s < 0)
                continue;
            for (int c = 0; c < 6; ++c)
                taken[static_cast<size_t>(s)][c] += global(6 * end + c);
        }
        const std::vector<double> section = StaticAnalysis::SectionForces(model, local);
        double* out = result.Forces.data() + static_cast<size_t>(b.Element) * forceCount;
        // The pieces of an arc: end i of the first piece, end j of the last.
        if (!started[static_cast<size_t>(b.Element)]) {
            started[static_cast<size_t>(b.Element)] = true;
            std::copy(section.begin(), section.begin() + half, out);
        }
        std::copy(section.begin() + half, section.end(), out + half);
    }

    for (const BarModel::NodalLoad& load : model.NodalLoads) {
        const int s = supportOf[static_cast<size_t>(load.Node)];
        if (load.Case != number || s < 0)
            continue;
        for (int c = 0; c < 6; ++c)
            taken[static_cast<size_t>(s)][c] -= load.Load[c];
    }
    for (size_t s = 0; s < model.Supports.size(); ++s) {
        StaticResults::Reaction reaction;
        reaction.Node = model.Supports[s].Node + 1;
        for (int c : model.Components)
            reaction.Values.push_back(model.Supports[s].Fixed[c] ? taken[s][c] : 0);
        result.Reactions.push_back(std::move(reaction));
    }
    return result;
}

} // namespace

QStringList StaticAnalysis::ForceNames(const BarModel& model) {
    QStringList end;
    if (model.IsTruss())
        return {QStringLiteral("N")};
    if (model.Axes == BarModel::Frame::Grillage)
        end = {QStringLiteral("V"), QStringLiteral("T"), QStringLiteral("M")};
    else if (model.Axes == BarModel::Frame::Space)
        end = {QStringLiteral("N"), QStringLiteral("Vy"), QStringLiteral("Vz"),
               QStringLiteral("T"), QStringLiteral("My"), QStringLiteral("Mz")};
    else
        end = {QStringLiteral("N"), QStringLiteral("V"), QStringLiteral("M")};
    QStringList names;
    for (const QChar side : {u'i', u'j'}) {
        for (const QString& name : end)
            names << name + side;
    }
    return names;
}

std::vector<double> StaticAnalysis::SectionForces(const BarModel& model, const Vector12& local) {
    // The section forces at end i are the opposite of what node i exerts on the bar; at end j
    // they are what node j exerts.
    Vector12 s;
    s.head<6>() = -local.head<6>();
    s.tail<6>() = local.tail<6>();
    if (model.IsTruss())
        return {s(6)};
    std::vector<double> forces;
    for (int end = 0; end < 2; ++end) {
        const int o = 6 * end;
        if (model.Axes == BarModel::Frame::Grillage) {
            forces.insert(forces.end(), {-s(o + 2), s(o + 3), -s(o + 4)});
        } else if (model.Axes == BarModel::Frame::Space) {
            for (int c = 0; c < 6; ++c)
                forces.push_back(s(o + c));
        } else {
            forces.insert(forces.end(), {s(o), -s(o + 2), -s(o + 4)});
        }
    }
    return forces;
}

QString StaticAnalysis::AssemblyStage(const BarModel& model) {
    return QStringLiteral("Assembling and factorising: %1 nodes, %2 elements")
        .arg(SolverProgress::Count(model.DataNodes), SolverProgress::Count(model.DataElements));
}

StaticResults StaticAnalysis::Run(const StiffnessSystem& system, SolverProgress* progress) {
    const BarModel& model = system.Model();
    StaticResults results;
    results.Nodes = model.DataNodes;
    results.Elements = model.DataElements;
    results.ArcPoints = static_cast<int>(model.Nodes.size()) - model.DataNodes;
    results.Components = model.ComponentNames();
    results.Reactions = model.LoadNames();
    results.ForceNames = ForceNames(model);
    const int cases = std::max(1, model.LoadCases);
    SolverProgress::Report(progress, QStringLiteral("Solving %1 equations for %2 load case%3")
                                         .arg(SolverProgress::Count(system.Equations()))
                                         .arg(cases)
                                         .arg(cases == 1 ? QString() : QStringLiteral("s")));
    const std::vector<FixedEnd> fixed = FixedEndForces(system, cases);
    const Eigen::MatrixXd solutions = system.Solve(LoadVectors(system, fixed));
    for (int lc = 0; lc < cases; ++lc) {
        SolverProgress::Report(progress, QStringLiteral("Load case %1: reactions and element "
                                                        "forces")
                                             .arg(lc + 1));
        results.Cases.push_back(SolveCase(system, lc + 1, solutions.col(lc),
                                          fixed[static_cast<size_t>(lc)], results.ForceCount()));
    }
    return results;
}

std::vector<double> StaticAnalysis::NormalForces(const StiffnessSystem& system, int loadCase) {
    const std::vector<FixedEnd> fixed = FixedEndForces(system, loadCase);
    const Eigen::MatrixXd solutions = system.Solve(LoadVectors(system, fixed));
    const Eigen::VectorXd solution = solutions.col(loadCase - 1);
    std::vector<double> normal;
    normal.reserve(system.Elements().size());
    for (size_t bar = 0; bar < system.Elements().size(); ++bar) {
        const Vector12 local = EndForces(system, static_cast<int>(bar), solution,
                                         fixed[static_cast<size_t>(loadCase - 1)]);
        // The mean of both ends, so that an axial load along the bar counts half.
        normal.push_back((local(6) - local(0)) / 2);
    }
    return normal;
}
