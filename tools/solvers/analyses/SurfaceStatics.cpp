#include "SurfaceStatics.h"

#include "EquationSystem.h"
#include "LoadBalance.h"
#include "LoadCases.h"
#include "PatchRecovery.h"
#include "PlaneTensor.h"
#include "SurfaceElements.h"
#include "SurfaceMesh.h"
#include "Units.h"

#include <QElapsedTimer>
#include <cmath>
#include <numbers>
#include <stdexcept>

namespace {

// Load cases solved together: enough to use the factors well, few enough that the columns of
// a mesh of millions of unknowns stay small.
constexpr int BlockCases = 16;

// Per load case from 0 to `cases`, the indices of the items of that case.
template <typename Item>
std::vector<std::vector<size_t>> ByCase(const std::vector<Item>& items, int cases) {
    std::vector<std::vector<size_t>> by(static_cast<size_t>(std::max(0, cases)) + 1);
    for (size_t k = 0; k < items.size(); ++k) {
        const int c = items[k].Case;
        if (c >= 1 && c <= cases)
            by[static_cast<size_t>(c)].push_back(k);
    }
    return by;
}

// The axes a shell's nodal values are given in, and how each element's corner values turn
// into them: a plane tensor (xx, yy, xy) in the element's axes becomes R T R^T with R the
// node's tangent axes dotted with the element's.
class NodeAxes {
public:
    NodeAxes(const SurfaceElements& mesh, size_t nodes) : turn_(4 * 4 * mesh.Size()) {
        std::vector<Eigen::Vector3d> normal(nodes, Eigen::Vector3d::Zero());
        std::vector<int> first(nodes, -1);
        for (size_t e = 0; e < mesh.Size(); ++e) {
            for (int node : mesh.At(e).Nodes()) {
                normal[static_cast<size_t>(node)] += mesh.Axes(e).row(2).transpose();
                if (first[static_cast<size_t>(node)] < 0)
                    first[static_cast<size_t>(node)] = static_cast<int>(e);
            }
        }
        std::vector<Eigen::Matrix<double, 2, 3>> tangent(nodes);
        for (size_t node = 0; node < nodes; ++node) {
            if (first[node] < 0)
                continue;
            const Eigen::Vector3d n = normal[node].normalized();
            const Eigen::Vector3d ex = mesh.Axes(static_cast<size_t>(first[node])).row(0);
            Eigen::Vector3d x = ex - ex.dot(n) * n;
            // Elements folded back on each other leave no normal: the first element's axes do.
            if (!(normal[node].norm() > 1e-9) || !(x.norm() > 1e-9)) {
                tangent[node] = mesh.Axes(static_cast<size_t>(first[node])).topRows<2>();
                continue;
            }
            x.normalize();
            tangent[node].row(0) = x.transpose();
            tangent[node].row(1) = n.cross(x).transpose();
        }
        for (size_t e = 0; e < mesh.Size(); ++e) {
            const std::span<const int> corners = mesh.At(e).Nodes();
            for (size_t a = 0; a < corners.size(); ++a) {
                const Eigen::Matrix2d r = tangent[static_cast<size_t>(corners[a])] *
                                          mesh.Axes(e).topRows<2>().transpose();
                double* t = turn_.data() + 16 * e + 4 * a;
                t[0] = r(0, 0), t[1] = r(0, 1), t[2] = r(1, 0), t[3] = r(1, 1);
            }
        }
    }

    // Adds element e's values at corner a (groups of xx, yy, xy) turned into the node's axes.
    void Add(size_t e, size_t a, const double* values, int count, double* into) const {
        const double* t = turn_.data() + 16 * e + 4 * a;
        const Eigen::Matrix2d r{{t[0], t[1]}, {t[2], t[3]}};
        for (int g = 0; g + 2 < count; g += 3) {
            const Eigen::Matrix2d tensor{{values[g], values[g + 2]},
                                         {values[g + 2], values[g + 1]}};
            const Eigen::Matrix2d turned = r * tensor * r.transpose();
            into[g] += turned(0, 0);
            into[g + 1] += turned(1, 1);
            into[g + 2] += turned(0, 1);
        }
    }

private:
    std::vector<double> turn_; // per element 4 corners x 2 x 2
};

} // namespace

QStringList SurfaceStatics::ComponentNames(const SurfaceModel& model) {
    if (model.IsPlate())
        return {"uz", "rx", "ry"};
    return {"ux", "uy", "uz", "rx", "ry", "rz"};
}

SurfaceStatics::Prepared SurfaceStatics::Prepare(const SurfaceModel& model,
                                                 SolverProgress* progress) {
    Prepared prepared;
    prepared.Mesh = SurfaceMesh::Check(model);
    const SurfaceMesh::Checked& checked = prepared.Mesh;
    if (!checked.Fault.Message.isEmpty()) {
        prepared.Error =
            QStringLiteral("Line %1: %2").arg(checked.Fault.Line).arg(checked.Fault.Message);
        return prepared;
    }
    const size_t nodes = model.Nodes.size();
    const std::vector<int>& kept = model.Components;
    SolverProgress::Report(progress,
                           QStringLiteral("Assembling and factorising the stiffness "
                                          "equations of %1 nodes")
                               .arg(SolverProgress::Count(static_cast<qsizetype>(nodes))));
    try {
        prepared.Elements = std::make_unique<const SurfaceElements>(
            model, checked.Corners, Units::Gravity(model.LengthUnit));
    } catch (const std::invalid_argument& fault) {
        // The mesh check refuses what the elements cannot take; this is the last guard.
        prepared.Error = QStringLiteral("an element cannot be calculated: %1").arg(fault.what());
        return prepared;
    }
    prepared.System = std::make_unique<EquationSystem>(
        static_cast<int>(nodes), prepared.Elements->Pointers(), SurfaceElements::Wording());
    EquationSystem& system = *prepared.System;
    EquationSystem::Constraints constraints;
    constraints.Fixed.assign(6 * nodes, false);
    constraints.Loaded.assign(6 * nodes, false);
    for (const SurfaceModel::Support& support : model.Supports)
        for (int c : kept)
            constraints.Fixed[6 * static_cast<size_t>(support.Node) + static_cast<size_t>(c)] =
                support.Fixed[static_cast<size_t>(c)];
    for (const SurfaceModel::NodalLoad& load : model.Loads)
        for (int c : kept)
            if (load.Load[static_cast<size_t>(c)] != 0)
                constraints.Loaded[6 * static_cast<size_t>(load.Node) + static_cast<size_t>(c)] =
                    true;
    if (!system.Prepare(kept, system.StiffnessDiagonal(), constraints))
        prepared.Error = system.Error();
    return prepared;
}

SurfaceStatics::Outcome SurfaceStatics::Run(const SurfaceModel& model, SolverProgress* progress) {
    Outcome outcome;
    const Prepared prepared = Prepare(model, progress);
    if (!prepared.Error.isEmpty()) {
        outcome.Error = prepared.Error;
        return outcome;
    }
    outcome.Warnings = prepared.Mesh.Warnings;
    const size_t nodes = model.Nodes.size();
    const std::vector<int>& kept = model.Components;
    const int width = static_cast<int>(kept.size());
    const SurfaceElements& mesh = *prepared.Elements;
    const std::vector<const Element*> elements = mesh.Pointers();
    const EquationSystem& system = *prepared.System;
    std::vector<bool> supported(nodes, false);
    for (const SurfaceModel::Support& support : model.Supports)
        supported[static_cast<size_t>(support.Node)] = true;
    outcome.Time.Assembly = system.AssemblySeconds();
    outcome.Time.Factorisation = system.FactorSeconds();

    FieldResults& results = outcome.Results;
    results.Nodes = static_cast<int>(nodes);
    results.Elements = static_cast<int>(model.Cells.size());
    results.Components = ComponentNames(model);
    const QStringList own0 = elements.front()->ResultNames();
    const int own = static_cast<int>(own0.size());
    results.StressNames = own0;
    if (model.IsPlate())
        results.StressNames += QStringList{"m1", "m2", "angle"};
    const int columns = results.StressCount();

    const std::vector<std::vector<size_t>> loadsOf = ByCase(model.Loads, model.LoadCases);
    const std::vector<std::vector<size_t>> pressuresOf = ByCase(model.Pressures, model.LoadCases);
    std::vector<int> cases;
    for (int c = 1; c <= model.LoadCases; ++c)
        if (!loadsOf[static_cast<size_t>(c)].empty() ||
            !pressuresOf[static_cast<size_t>(c)].empty())
            cases.push_back(c);

    // The consistent loads of an element's pressure, by the element's unknowns.
    const auto pressureLoads = [&](const SurfaceModel::Pressure& pressure) {
        const size_t e = static_cast<size_t>(pressure.Cell);
        return mesh.At(e).Loads(mesh.PressureLoad(e, pressure.P));
    };
    // Adds an element's vector (ordered as its unknowns) into per-node rows of `width`.
    const auto scatter = [&](const Element& element, const Element::Vector& v, double sign,
                             std::vector<double>& into) {
        const std::span<const int> corners = element.Nodes();
        const std::span<const int> components = element.Components();
        for (size_t a = 0; a < corners.size(); ++a)
            for (size_t k = 0; k < components.size(); ++k)
                into[static_cast<size_t>(corners[a]) * static_cast<size_t>(width) + k] +=
                    sign * v(static_cast<Eigen::Index>(a * components.size() + k));
    };

    std::vector<size_t> reacting;
    for (size_t e = 0; e < elements.size(); ++e) {
        for (int node : elements[e]->Nodes()) {
            if (supported[static_cast<size_t>(node)]) {
                reacting.push_back(e);
                break;
            }
        }
    }
    std::vector<int> count(nodes, 0);
    for (const Element* element : elements)
        for (int node : element->Nodes())
            ++count[static_cast<size_t>(node)];

    // Plates: patches prepared once for all load cases on the plan of the plate. Shells: the
    // axes of the nodes.
    std::vector<std::array<double, 2>> plan;
    std::unique_ptr<PatchRecovery> patches;
    std::unique_ptr<NodeAxes> axes;
    std::vector<double> samples;
    if (model.IsPlate()) {
        plan.reserve(nodes);
        for (const auto& at : model.Nodes)
            plan.push_back({at[0], at[1]});
        patches = std::make_unique<PatchRecovery>(plan, elements, PatchRecovery::Degree::Quadratic);
        samples.assign(PatchRecovery::MostSamples * elements.size() * static_cast<size_t>(own),
                       0.0);
    } else {
        axes = std::make_unique<NodeAxes>(mesh, nodes);
    }

    const auto point = [](const std::array<double, 3>& at) {
        return Eigen::Vector3d(at[0], at[1], at[2]);
    };
    // Moments about the middle of the nodes.
    const LoadBalance unloaded = LoadBalance::About(model.Nodes, point);
    LoadBalance::Worst worst;
    double recovery = 0;
    // The force and the moment of a node's row (of the kept components).
    const auto split = [&](const std::vector<double>& rows, size_t node) {
        std::pair<Eigen::Vector3d, Eigen::Vector3d> loads{Eigen::Vector3d::Zero(),
                                                          Eigen::Vector3d::Zero()};
        for (int k = 0; k < width; ++k) {
            const int c = kept[static_cast<size_t>(k)];
            (c < 3 ? loads.first : loads.second)[c % 3] +=
                rows[node * static_cast<size_t>(width) + static_cast<size_t>(k)];
        }
        return loads;
    };

    const auto solved = [&](int number, const Eigen::VectorXd& solution) {
        FieldResults::Case result;
        result.Number = number;
        result.Displacements.assign(nodes * static_cast<size_t>(width), 0.0);
        for (size_t node = 0; node < nodes; ++node)
            for (int k = 0; k < width; ++k) {
                const int e = system.Equation(static_cast<int>(node), kept[static_cast<size_t>(k)]);
                result.Displacements[node * static_cast<size_t>(width) + static_cast<size_t>(k)] =
                    e >= 0 ? solution[e] : 0.0;
            }
        // The loads of the case at the nodes, and what the supports hold: what the elements
        // touching them need, less the loads there.
        std::vector<double> applied(nodes * static_cast<size_t>(width), 0.0);
        for (size_t k : loadsOf[static_cast<size_t>(number)]) {
            const SurfaceModel::NodalLoad& load = model.Loads[k];
            for (int c = 0; c < width; ++c)
                applied[static_cast<size_t>(load.Node) * static_cast<size_t>(width) +
                        static_cast<size_t>(c)] +=
                    load.Load[static_cast<size_t>(kept[static_cast<size_t>(c)])];
        }
        // The pressures apart: their directions are computed from the elements' corners.
        std::vector<double> pressed(nodes * static_cast<size_t>(width), 0.0);
        for (size_t k : pressuresOf[static_cast<size_t>(number)]) {
            const SurfaceModel::Pressure& pressure = model.Pressures[k];
            scatter(mesh.At(static_cast<size_t>(pressure.Cell)), pressureLoads(pressure), 1.0,
                    pressed);
        }
        std::vector<double> held(nodes * static_cast<size_t>(width), 0.0);
        for (size_t e : reacting) {
            const Element& element = mesh.At(e);
            scatter(element, element.Stiffness() * system.Gather(element, solution), 1.0, held);
        }
        LoadBalance balance = unloaded;
        for (size_t node = 0; node < nodes; ++node) {
            for (const auto direction :
                 {LoadBalance::Direction::Given, LoadBalance::Direction::Computed}) {
                const auto [force, moment] =
                    split(direction == LoadBalance::Direction::Given ? applied : pressed, node);
                if (!force.isZero(0) || !moment.isZero(0))
                    balance.AddLoad(point(model.Nodes[node]), force, moment, direction);
            }
        }
        for (size_t k = 0; k < applied.size(); ++k)
            applied[k] += pressed[k];
        std::vector<double> reactions(nodes * static_cast<size_t>(width), 0.0);
        for (const SurfaceModel::Support& support : model.Supports) {
            const size_t node = static_cast<size_t>(support.Node);
            FieldResults::Reaction reaction;
            reaction.Node = support.Node + 1;
            reaction.Values.assign(static_cast<size_t>(width), 0.0);
            for (int k = 0; k < width; ++k) {
                const size_t at = node * static_cast<size_t>(width) + static_cast<size_t>(k);
                if (support.Fixed[static_cast<size_t>(kept[static_cast<size_t>(k)])])
                    reaction.Values[static_cast<size_t>(k)] = reactions[at] =
                        held[at] - applied[at];
            }
            result.Reactions.push_back(std::move(reaction));
        }
        for (const SurfaceModel::Support& support : model.Supports) {
            const auto [force, moment] = split(reactions, static_cast<size_t>(support.Node));
            balance.AddReaction(point(model.Nodes[static_cast<size_t>(support.Node)]), force,
                                moment);
        }
        worst.Take(balance);

        result.Stresses.assign(static_cast<size_t>(results.Elements) * columns, 0.0);
        result.NodeStresses.assign(nodes * static_cast<size_t>(columns), 0.0);
        for (size_t e = 0; e < elements.size(); ++e) {
            const Element& element = mesh.At(e);
            const Element::Vector ue = system.Gather(element, solution);
            const Element::Sampled sampled = element.Sample(ue);
            double* centre = result.Stresses.data() + e * static_cast<size_t>(columns);
            const Eigen::Index points = sampled.Values.rows();
            for (int s = 0; s < own; ++s) {
                centre[s] = sampled.Values.col(s).mean();
                if (patches)
                    for (Eigen::Index p = 0; p < points; ++p)
                        samples[(PatchRecovery::MostSamples * e + static_cast<size_t>(p)) *
                                    static_cast<size_t>(own) +
                                static_cast<size_t>(s)] = sampled.Values(p, s);
            }
            const bool corners =
                !patches ||
                std::any_of(element.Nodes().begin(), element.Nodes().end(), [&](int node) {
                    return patches->Unfitted()[static_cast<size_t>(node)];
                });
            if (!corners)
                continue;
            const Element::Results block = element.Recover(ue);
            const std::span<const int> around = element.Nodes();
            for (size_t a = 0; a < around.size(); ++a) {
                double* at = result.NodeStresses.data() +
                             static_cast<size_t>(around[a]) * static_cast<size_t>(columns);
                const double* row = block.data() + (a + 1) * static_cast<size_t>(block.cols());
                if (axes)
                    axes->Add(e, a, row, own, at);
                else
                    for (int s = 0; s < own; ++s)
                        at[s] += row[s];
            }
        }
        for (size_t node = 0; node < nodes; ++node) {
            double* at = result.NodeStresses.data() + node * static_cast<size_t>(columns);
            if (count[node] > 0)
                for (int s = 0; s < own; ++s)
                    at[s] /= count[node];
        }
        if (patches) {
            std::vector<double> mean(nodes * static_cast<size_t>(own), 0.0);
            for (size_t node = 0; node < nodes; ++node)
                for (int s = 0; s < own; ++s)
                    mean[node * static_cast<size_t>(own) + static_cast<size_t>(s)] =
                        result.NodeStresses[node * static_cast<size_t>(columns) +
                                            static_cast<size_t>(s)];
            std::vector<double> slope;
            const std::vector<double> smooth = patches->Recover(samples, own, mean, &slope);
            for (size_t node = 0; node < nodes; ++node) {
                double* at = result.NodeStresses.data() + node * static_cast<size_t>(columns);
                for (int s = 0; s < own; ++s)
                    at[s] = smooth[node * static_cast<size_t>(own) + static_cast<size_t>(s)];
                // The shear forces from the slopes of the smooth moments (mx my mxy qx qy):
                // an element's own gradient of its moments is rough, worst at the supports.
                if (!patches->Unfitted()[node]) {
                    const auto d = [&](int s, int axis) {
                        return slope[2 * (node * static_cast<size_t>(own) +
                                          static_cast<size_t>(s)) +
                                     static_cast<size_t>(axis)];
                    };
                    at[3] = d(0, 0) + d(2, 1);
                    at[4] = d(2, 0) + d(1, 1);
                }
                PlaneTensor::Principal(at, at + own);
            }
            for (size_t e = 0; e < elements.size(); ++e) {
                double* centre = result.Stresses.data() + e * static_cast<size_t>(columns);
                PlaneTensor::Principal(centre, centre + own);
            }
        }
        results.Cases.push_back(std::move(result));
    };

    QElapsedTimer solving;
    solving.start();
    const double residual = LoadCases::Solve(
        system, model.LoadCases, cases, BlockCases,
        [progress](int number) {
            SolverProgress::Report(progress, QStringLiteral("Load case %1").arg(number));
        },
        [&](int number, Eigen::VectorXd& column) {
            for (size_t k : loadsOf[static_cast<size_t>(number)]) {
                const SurfaceModel::NodalLoad& load = model.Loads[k];
                for (int c : kept) {
                    const int e = system.Equation(load.Node, c);
                    if (e >= 0)
                        column[e] += load.Load[static_cast<size_t>(c)];
                }
            }
            for (size_t k : pressuresOf[static_cast<size_t>(number)]) {
                const SurfaceModel::Pressure& pressure = model.Pressures[k];
                const Element& element = mesh.At(static_cast<size_t>(pressure.Cell));
                const Element::Vector f = pressureLoads(pressure);
                const std::span<const int> corners = element.Nodes();
                const std::span<const int> components = element.Components();
                for (size_t a = 0; a < corners.size(); ++a)
                    for (size_t c = 0; c < components.size(); ++c) {
                        const int e = system.Equation(corners[a], components[c]);
                        if (e >= 0)
                            column[e] += f(static_cast<Eigen::Index>(a * components.size() + c));
                    }
            }
        },
        [&](int number, const Eigen::VectorXd* solution) {
            QElapsedTimer recovering;
            recovering.start();
            if (solution) {
                solved(number, *solution);
            } else {
                // A case without loads: nothing moves, nothing is stressed.
                FieldResults::Case none;
                none.Number = number;
                none.Displacements.assign(nodes * static_cast<size_t>(width), 0.0);
                for (const SurfaceModel::Support& support : model.Supports)
                    none.Reactions.push_back(
                        {support.Node + 1, std::vector<double>(static_cast<size_t>(width), 0.0)});
                none.Stresses.assign(static_cast<size_t>(results.Elements) * columns, 0.0);
                none.NodeStresses.assign(nodes * static_cast<size_t>(columns), 0.0);
                results.Cases.push_back(std::move(none));
            }
            recovery += static_cast<double>(recovering.nsecsElapsed()) * 1e-9;
        },
        LoadCases::Measure::Backward);
    outcome.Time.Recovery = recovery;
    outcome.Time.Solution = static_cast<double>(solving.nsecsElapsed()) * 1e-9 - recovery;
    results.Residual = residual;
    results.Imbalance = worst.Share;
    results.LargestLoad = worst.Largest;
    results.SmallestLoad = worst.Smallest;
    return outcome;
}
