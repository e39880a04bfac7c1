#include "StaticAnalysis.h"

#include "LoadBalance.h"
#include "LoadCases.h"

#include <cmath>
#include <limits>
#include <map>
#include <span>
#include <unordered_map>

namespace {

using Vector12 = BarElement::Vector12;
using FixedEnd = std::unordered_map<int, Vector12>; // bar -> fixed-end forces in local axes
using CaseLoads = StaticAnalysis::CaseLoads;

// Load cases solved together: enough to use the factors well, few enough that the load and
// displacement columns of a large frame stay small.
constexpr int BlockCases = 64;

// The fixed-end forces of the element loads of one case, summed per bar.
FixedEnd FixedEndForces(const StiffnessSystem& system, const CaseLoads& loads) {
    FixedEnd fixed;
    const BarModel& model = system.Model();
    for (int index : loads.Element) {
        const BarModel::ElementLoad& load = model.ElementLoads[static_cast<size_t>(index)];
        const Vector12 f = system.Elements()[static_cast<size_t>(load.Bar)].FixedEndForces(load.Q);
        auto [entry, inserted] = fixed.try_emplace(load.Bar, f);
        if (!inserted)
            entry->second += f;
    }
    return fixed;
}

Vector12 EndForces(const StiffnessSystem& system, int bar, const Eigen::VectorXd& solution,
                   const FixedEnd& fixed) {
    const auto found = fixed.find(bar);
    const Vector12 f0 = found == fixed.end() ? Vector12::Zero() : found->second;
    return system.Elements()[static_cast<size_t>(bar)].EndForces(
        system.EndDisplacements(bar, solution), f0);
}

Eigen::Vector3d Point(const BarModel::Vector& at) {
    return Eigen::Vector3d(at.data());
}

// Nothing yet of a case's loads and reactions, with moments about the middle of the nodes of
// the data.
LoadBalance Unloaded(const BarModel& model) {
    return LoadBalance::About(
        std::span<const BarModel::Vector>(model.Nodes.data(), static_cast<size_t>(model.DataNodes)),
        Point);
}

// How far the loads and the reactions of a case are from balancing each other.
LoadBalance Balance(const BarModel& model, LoadBalance balance, const CaseLoads* loads,
                    const std::vector<StaticResults::Reaction>& reactions) {
    const auto point = Point;
    if (loads) {
        for (int index : loads->Nodal) {
            const BarModel::NodalLoad& load = model.NodalLoads[static_cast<size_t>(index)];
            balance.AddLoad(point(model.Nodes[static_cast<size_t>(load.Node)]),
                            Eigen::Vector3d(load.Load[0], load.Load[1], load.Load[2]),
                            Eigen::Vector3d(load.Load[3], load.Load[4], load.Load[5]));
        }
        for (int index : loads->Element) {
            const BarModel::ElementLoad& load = model.ElementLoads[static_cast<size_t>(index)];
            const BarModel::Bar& bar = model.Bars[static_cast<size_t>(load.Bar)];
            const Eigen::Vector3d a = point(model.Nodes[static_cast<size_t>(bar.I)]);
            const Eigen::Vector3d b = point(model.Nodes[static_cast<size_t>(bar.J)]);
            balance.AddLoad((a + b) / 2, Eigen::Vector3d(load.Q.data()) * (b - a).norm());
        }
    }
    for (size_t s = 0; s < reactions.size(); ++s) {
        const BarModel::Support& support = model.Supports[s];
        std::array<double, 6> r{};
        for (size_t c = 0; c < model.Components.size(); ++c)
            r[static_cast<size_t>(model.Components[c])] = reactions[s].Values[c];
        balance.AddReaction(point(model.Nodes[static_cast<size_t>(support.Node)]),
                            Eigen::Vector3d(r[0], r[1], r[2]), Eigen::Vector3d(r[3], r[4], r[5]));
    }
    return balance;
}

StaticResults::Case SolveCase(const StiffnessSystem& system, int number,
                              const Eigen::VectorXd& solution, const FixedEnd& fixed,
                              const CaseLoads* loads, int forceCount, const LoadBalance& unloaded,
                              LoadBalance::Worst& worst) {
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

    for (int index : loads ? loads->Nodal : std::vector<int>()) {
        const BarModel::NodalLoad& load = model.NodalLoads[static_cast<size_t>(index)];
        const int s = supportOf[static_cast<size_t>(load.Node)];
        if (s < 0)
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
    worst.Take(Balance(model, unloaded, loads, result.Reactions));
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

std::vector<StaticAnalysis::CaseLoads> StaticAnalysis::LoadedCases(const BarModel& model,
                                                                   int cases) {
    std::map<int, CaseLoads> byCase;
    for (size_t n = 0; n < model.NodalLoads.size(); ++n) {
        const int number = model.NodalLoads[n].Case;
        if (number >= 1 && number <= cases)
            byCase[number].Nodal.push_back(static_cast<int>(n));
    }
    for (size_t n = 0; n < model.ElementLoads.size(); ++n) {
        const int number = model.ElementLoads[n].Case;
        if (number >= 1 && number <= cases)
            byCase[number].Element.push_back(static_cast<int>(n));
    }
    std::vector<CaseLoads> loaded;
    loaded.reserve(byCase.size());
    for (auto& [number, loads] : byCase) {
        loads.Case = number;
        loaded.push_back(std::move(loads));
    }
    return loaded;
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
    // Only the cases with loads are solved, a block at a time; a case without loads has no
    // displacements. Nothing is set aside for a count of cases before its results exist.
    const std::vector<CaseLoads> loaded = LoadedCases(model, cases);
    std::vector<int> numbers;
    for (const CaseLoads& loads : loaded)
        numbers.push_back(loads.Case);
    // The fixed-end forces of the cases of a block, kept from their loads to their end forces.
    std::map<int, FixedEnd> fixed;
    const auto loadsOf = [&loaded](int number) {
        return &*std::lower_bound(
            loaded.begin(), loaded.end(), number,
            [](const CaseLoads& loads, int value) { return loads.Case < value; });
    };
    const FixedEnd noFixed;
    const LoadBalance unloaded = Unloaded(model);
    LoadBalance::Worst worst;
    results.Residual = LoadCases::Solve(
        system.System(), cases, numbers, BlockCases,
        [progress](int number) {
            SolverProgress::Report(
                progress, QStringLiteral("Load case %1: reactions and element forces").arg(number));
        },
        [&](int number, Eigen::VectorXd& column) {
            const CaseLoads* loads = loadsOf(number);
            fixed[number] = FixedEndForces(system, *loads);
            column = LoadVector(model, system.Elements(), system.System(), *loads);
        },
        [&](int number, const Eigen::VectorXd* solution) {
            if (solution) {
                results.Cases.push_back(SolveCase(system, number, *solution, fixed[number],
                                                  loadsOf(number), results.ForceCount(), unloaded,
                                                  worst));
                fixed.erase(number);
            } else {
                results.Cases.push_back(
                    SolveCase(system, number, Eigen::VectorXd::Zero(system.Equations()), noFixed,
                              nullptr, results.ForceCount(), unloaded, worst));
            }
        });
    results.Imbalance = worst.Share;
    results.LargestLoad = worst.Largest;
    results.SmallestLoad = worst.Smallest;
    return results;
}

Eigen::VectorXd StaticAnalysis::LoadVector(const BarModel& model,
                                           const std::vector<BarElement>& elements,
                                           const EquationSystem& system,
                                           const CaseLoads& caseLoads) {
    Eigen::VectorXd loads = Eigen::VectorXd::Zero(system.Equations());
    for (int index : caseLoads.Nodal) {
        const BarModel::NodalLoad& load = model.NodalLoads[static_cast<size_t>(index)];
        for (int c = 0; c < 6; ++c) {
            const int e = system.Equation(load.Node, c);
            if (e >= 0)
                loads[e] += load.Load[c];
        }
    }
    for (int index : caseLoads.Element) {
        const BarModel::ElementLoad& load = model.ElementLoads[static_cast<size_t>(index)];
        const BarElement& element = elements[static_cast<size_t>(load.Bar)];
        const Element::Vector f = element.Loads(load.Q);
        const std::span<const int> ends = element.Nodes();
        for (size_t end = 0; end < 2; ++end) {
            for (int c = 0; c < 6; ++c) {
                const int e = system.Equation(ends[end], c);
                if (e >= 0)
                    loads[e] += f(static_cast<Eigen::Index>(6 * end) + c);
            }
        }
    }
    return loads;
}
