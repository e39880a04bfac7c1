#include "ContinuumStatics.h"

#include "Elasticity.h"
#include "EquationSystem.h"
#include "LoadBalance.h"
#include "LoadCases.h"
#include "PatchRecovery.h"
#include "PlaneMesh.h"
#include "PlaneSolid.h"
#include "PlaneTensor.h"
#include "StaticCheck.h"

#include <QElapsedTimer>
#include <cmath>
#include <limits>
#include <memory>
#include <numbers>

namespace {

using Body = ContinuumModel::Body;

// Load cases solved together: enough to use the factors well, few enough that the columns of
// a mesh of millions of nodes stay small.
constexpr int BlockCases = 16;

PlaneSolid SolidOf(Body body, const ContinuumModel::Material& material, double thickness) {
    PlaneSolid solid;
    solid.Nu = material.Nu;
    solid.Density = material.Gamma;
    solid.Thickness = thickness;
    switch (body) {
    case Body::PlaneStrain:
        solid.D = Elasticity::PlaneStrain(material.E, material.Nu);
        solid.OutOfPlaneStress = true;
        break;
    case Body::Axisymmetric:
        solid.Kind = PlaneSolid::Form::Axisymmetric;
        solid.D = Elasticity::Axisymmetric(material.E, material.Nu);
        break;
    default:
        solid.D = Elasticity::PlaneStress(material.E, material.Nu);
        break;
    }
    return solid;
}

// The elements of a checked mesh, each on the solid of its material and thickness.
class Mesh {
public:
    Mesh(const ContinuumModel& model, const std::vector<std::array<int, 4>>& corners) {
        solids_.reserve(model.Cells.size());
        // One solid per material and thickness; a mesh has a handful.
        for (size_t e = 0; e < model.Cells.size(); ++e) {
            const ContinuumModel::Cell& cell = model.Cells[e];
            const PlaneSolid* solid = SolidFor(model, cell);
            const std::array<int, 4>& c = corners[e];
            if (cell.Count == 3) {
                elements_.push_back(std::make_unique<PlaneTriangle>(
                    *solid, std::array<int, 3>{c[0], c[1], c[2]},
                    std::array<std::array<double, 2>, 3>{Point(model, c[0]), Point(model, c[1]),
                                                         Point(model, c[2])}));
            } else {
                elements_.push_back(std::make_unique<PlaneQuad>(
                    *solid, c,
                    std::array<std::array<double, 2>, 4>{Point(model, c[0]), Point(model, c[1]),
                                                         Point(model, c[2]), Point(model, c[3])}));
            }
        }
    }

    std::vector<const Element*> Pointers() const {
        std::vector<const Element*> pointers;
        pointers.reserve(elements_.size());
        for (const auto& element : elements_)
            pointers.push_back(element.get());
        return pointers;
    }

    const Element& At(size_t e) const { return *elements_[e]; }

private:
    static std::array<double, 2> Point(const ContinuumModel& model, int node) {
        return model.Nodes[static_cast<size_t>(node)];
    }

    const PlaneSolid* SolidFor(const ContinuumModel& model, const ContinuumModel::Cell& cell) {
        for (const auto& [key, solid] : solids_) {
            if (key.first == cell.Material && key.second == cell.Thickness)
                return solid.get();
        }
        solids_.emplace_back(
            std::make_pair(cell.Material, cell.Thickness),
            std::make_unique<PlaneSolid>(SolidOf(
                model.Kind, model.Materials[static_cast<size_t>(cell.Material)], cell.Thickness)));
        return solids_.back().second.get();
    }

    std::vector<std::pair<std::pair<int, double>, std::unique_ptr<PlaneSolid>>> solids_;
    std::vector<std::unique_ptr<Element>> elements_;
};

DofNumbering::Wording WordingOf(Body body) {
    DofNumbering::Wording wording;
    wording.Whole = QStringLiteral("model");
    wording.Part = QStringLiteral("element");
    if (body == Body::Axisymmetric)
        wording.Components[0] = QStringLiteral("ur");
    return wording;
}

// The load cases from 1 to the count of table 1 that have loads, ascending.
std::vector<int> LoadedCases(const ContinuumModel& model) {
    std::vector<bool> loaded(static_cast<size_t>(std::max(0, model.LoadCases)) + 1, false);
    for (const ContinuumModel::NodalLoad& load : model.Loads) {
        if (load.Case >= 1 && load.Case < static_cast<int>(loaded.size()))
            loaded[static_cast<size_t>(load.Case)] = true;
    }
    std::vector<int> cases;
    for (size_t c = 1; c < loaded.size(); ++c) {
        if (loaded[c])
            cases.push_back(static_cast<int>(c));
    }
    return cases;
}

// What a ring value per unit of the circumference at radius r is per radian, and back.
double PerRadian(Body body, double r) {
    return body == Body::Axisymmetric ? r : 1.0;
}

} // namespace

QStringList ContinuumStatics::ComponentNames(Body body) {
    if (body == Body::Axisymmetric)
        return {"ur", "uz"};
    return {"ux", "uz"};
}

ContinuumStatics::Outcome ContinuumStatics::Run(const ContinuumModel& model,
                                                SolverProgress* progress) {
    Outcome outcome;
    const PlaneMesh::Checked checked = PlaneMesh::Check(model);
    if (!checked.Fault.Message.isEmpty()) {
        outcome.Error =
            QStringLiteral("Line %1: %2").arg(checked.Fault.Line).arg(checked.Fault.Message);
        return outcome;
    }
    const Body body = model.Kind;
    const bool axisymmetric = body == Body::Axisymmetric;
    const size_t nodes = model.Nodes.size();
    for (const ContinuumModel::NodalLoad& load : model.Loads) {
        if (axisymmetric && model.Nodes[static_cast<size_t>(load.Node)][0] <= 0 &&
            (load.Force[0] != 0 || load.Force[1] != 0)) {
            outcome.Error = QStringLiteral("Line %1: node %2 lies on the axis, where a ring load "
                                           "has no circumference to act on; give the load at "
                                           "nodes off the axis")
                                .arg(load.Line)
                                .arg(load.Node + 1);
            return outcome;
        }
    }

    QElapsedTimer clock;
    clock.start();
    const Mesh mesh(model, checked.Corners);
    const std::vector<const Element*> elements = mesh.Pointers();
    EquationSystem system(static_cast<int>(nodes), elements, WordingOf(body));
    EquationSystem::Constraints constraints;
    constraints.Fixed.assign(6 * nodes, false);
    constraints.Loaded.assign(6 * nodes, false);
    for (const ContinuumModel::Support& support : model.Supports) {
        constraints.Fixed[6 * static_cast<size_t>(support.Node)] = support.Fixed[0];
        constraints.Fixed[6 * static_cast<size_t>(support.Node) + 2] = support.Fixed[1];
    }
    // A node on the axis of a body of revolution cannot move off it.
    if (axisymmetric) {
        for (size_t node = 0; node < nodes; ++node) {
            if (model.Nodes[node][0] <= 0)
                constraints.Fixed[6 * node] = true;
        }
    }
    // Every element stiffens both components of each of its corners.
    std::vector<double> diagonal(6 * nodes, 0.0);
    for (const std::array<int, 4>& corners : checked.Corners) {
        for (int node : corners) {
            if (node >= 0) {
                diagonal[6 * static_cast<size_t>(node)] = 1;
                diagonal[6 * static_cast<size_t>(node) + 2] = 1;
            }
        }
    }
    SolverProgress::Report(progress,
                           QStringLiteral("Assembling and factorising the stiffness "
                                          "equations of %1 nodes")
                               .arg(SolverProgress::Count(static_cast<qsizetype>(nodes))));
    if (!system.Prepare({0, 2}, diagonal, constraints)) {
        outcome.Error = system.Error();
        return outcome;
    }
    outcome.Time.Assembly = system.AssemblySeconds();
    outcome.Time.Factorisation = system.FactorSeconds();

    FieldResults& results = outcome.Results;
    results.Nodes = static_cast<int>(nodes);
    results.Elements = static_cast<int>(model.Cells.size());
    results.Components = ComponentNames(body);
    // The elements' own stresses (their result layout), then the principal ones in the plane.
    const QStringList own0 = elements.front()->ResultNames();
    results.StressNames = own0 + QStringList{"s1", "s2", "angle"};
    const int own = static_cast<int>(own0.size());
    const int width = results.StressCount();

    // Elements that touch a support give the reactions.
    std::vector<bool> supported(nodes, false);
    for (const ContinuumModel::Support& support : model.Supports)
        supported[static_cast<size_t>(support.Node)] = true;
    std::vector<size_t> reacting;
    for (size_t e = 0; e < checked.Corners.size(); ++e) {
        for (int node : checked.Corners[e]) {
            if (node >= 0 && supported[static_cast<size_t>(node)]) {
                reacting.push_back(e);
                break;
            }
        }
    }
    std::vector<int> count(nodes, 0);
    for (const std::array<int, 4>& corners : checked.Corners)
        for (int node : corners)
            if (node >= 0)
                ++count[static_cast<size_t>(node)];

    const std::vector<int> cases = LoadedCases(model);
    // The patches of the mesh, prepared once for all load cases, and one set of sample slots
    // that each case fills again: on a mesh of a million elements they take hundreds of
    // megabytes to allocate and touch.
    const PatchRecovery patches(model.Nodes, elements);
    std::vector<double> samples(
        PatchRecovery::MostSamples * elements.size() * static_cast<size_t>(own), 0.0);
    // The elements at a node no patch reaches give their own corner values for its mean.
    std::vector<bool> cornersWanted(elements.size(), false);
    for (size_t e = 0; e < elements.size(); ++e)
        for (int node : elements[e]->Nodes())
            if (patches.Unfitted()[static_cast<size_t>(node)])
                cornersWanted[e] = true;
    // The plane of the model (x, z) as the x-z plane of space.
    const auto point = [](const std::array<double, 2>& at) {
        return Eigen::Vector3d(at[0], 0, at[1]);
    };
    // A body of revolution balances only along its axis; the radial ring forces are held by
    // the hoop.
    const LoadBalance unloaded = LoadBalance::About(model.Nodes, point,
                                                    axisymmetric ? LoadBalance::Resultant::Axial
                                                                 : LoadBalance::Resultant::Whole);
    LoadBalance::Worst worst;
    double recovery = 0;
    const auto solved = [&](int number, const Eigen::VectorXd& solution) {
        FieldResults::Case result;
        result.Number = number;
        result.Displacements.assign(2 * nodes, 0.0);
        for (size_t node = 0; node < nodes; ++node) {
            for (int c = 0; c < 2; ++c) {
                const int e = system.Equation(static_cast<int>(node), 2 * c);
                result.Displacements[2 * node + static_cast<size_t>(c)] =
                    e >= 0 ? solution[e] : 0.0;
            }
        }
        // Reactions: what the elements need at a support less what is loaded there, per
        // radian and then per unit of the circumference.
        std::vector<double> held(2 * nodes, 0.0);
        for (size_t e : reacting) {
            const Element& element = mesh.At(e);
            const Element::Vector fe = element.Stiffness() * system.Gather(element, solution);
            const std::span<const int> corners = element.Nodes();
            for (size_t a = 0; a < corners.size(); ++a)
                for (int c = 0; c < 2; ++c)
                    held[2 * static_cast<size_t>(corners[a]) + static_cast<size_t>(c)] +=
                        fe(static_cast<Eigen::Index>(2 * a) + c);
        }
        LoadBalance balance = unloaded;
        for (const ContinuumModel::NodalLoad& load : model.Loads) {
            if (load.Case != number)
                continue;
            const auto& at = model.Nodes[static_cast<size_t>(load.Node)];
            const double radian = PerRadian(body, at[0]);
            const double fx = load.Force[0] * radian, fz = load.Force[1] * radian;
            if (supported[static_cast<size_t>(load.Node)]) {
                held[2 * static_cast<size_t>(load.Node)] -= fx;
                held[2 * static_cast<size_t>(load.Node) + 1] -= fz;
            }
            balance.AddLoad(point(at), {fx, 0, fz});
        }
        for (const ContinuumModel::Support& support : model.Supports) {
            const size_t node = static_cast<size_t>(support.Node);
            const auto& at = model.Nodes[node];
            FieldResults::Reaction reaction;
            reaction.Node = support.Node + 1;
            const double rx = support.Fixed[0] ? held[2 * node] : 0.0;
            const double rz = support.Fixed[1] ? held[2 * node + 1] : 0.0;
            balance.AddReaction(point(at), {rx, 0, rz});
            // On the axis there is no circumference: the reaction stays per radian.
            const double radian = at[0] > 0 ? PerRadian(body, at[0]) : 1.0;
            reaction.Values = {rx / radian, rz / radian};
            result.Reactions.push_back(std::move(reaction));
        }
        worst.Take(balance);

        result.Stresses.assign(static_cast<size_t>(results.Elements) * width, 0.0);
        result.NodeStresses.assign(nodes * static_cast<size_t>(width), 0.0);
        for (size_t e = 0; e < checked.Corners.size(); ++e) {
            const Element& element = mesh.At(e);
            const Element::Vector ue = system.Gather(element, solution);
            // The element's stresses at its integration points; its centre's are their mean
            // (a triangle's one point is its centre; a quadrilateral's bilinear field through
            // its four Gauss points has their mean there).
            const Element::Sampled sampled = element.Sample(ue);
            double* centre = result.Stresses.data() + e * static_cast<size_t>(width);
            const Eigen::Index points = sampled.Values.rows();
            for (int s = 0; s < own; ++s) {
                centre[s] = sampled.Values.col(s).mean();
                for (Eigen::Index p = 0; p < points; ++p)
                    samples[(PatchRecovery::MostSamples * e + static_cast<size_t>(p)) *
                                static_cast<size_t>(own) +
                            static_cast<size_t>(s)] = sampled.Values(p, s);
            }
            if (!cornersWanted[e])
                continue;
            const Element::Results block = element.Recover(ue);
            const std::span<const int> corners = element.Nodes();
            for (size_t a = 0; a < corners.size(); ++a) {
                double* at = result.NodeStresses.data() +
                             static_cast<size_t>(corners[a]) * static_cast<size_t>(width);
                for (int s = 0; s < own; ++s)
                    at[s] += block(static_cast<Eigen::Index>(a) + 1, s);
            }
        }
        for (size_t e = 0; e < checked.Corners.size(); ++e) {
            double* centre = result.Stresses.data() + e * static_cast<size_t>(width);
            PlaneTensor::Principal(centre, centre + own);
        }
        // The mean of the elements' corner values where no patch reaches.
        std::vector<double> mean(nodes * static_cast<size_t>(own), 0.0);
        for (size_t node = 0; node < nodes; ++node) {
            if (!patches.Unfitted()[node])
                continue;
            const double* at = result.NodeStresses.data() + node * static_cast<size_t>(width);
            for (int s = 0; s < own; ++s)
                mean[node * static_cast<size_t>(own) + static_cast<size_t>(s)] =
                    count[node] > 0 ? at[s] / count[node] : 0.0;
        }
        const std::vector<double> smooth = patches.Recover(samples, own, mean);
        for (size_t node = 0; node < nodes; ++node) {
            double* at = result.NodeStresses.data() + node * static_cast<size_t>(width);
            for (int s = 0; s < own; ++s)
                at[s] = smooth[node * static_cast<size_t>(own) + static_cast<size_t>(s)];
            PlaneTensor::Principal(at, at + own);
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
            for (const ContinuumModel::NodalLoad& load : model.Loads) {
                if (load.Case != number)
                    continue;
                const double scale =
                    PerRadian(body, model.Nodes[static_cast<size_t>(load.Node)][0]);
                for (int c = 0; c < 2; ++c) {
                    const int e = system.Equation(load.Node, 2 * c);
                    if (e >= 0)
                        column[e] += load.Force[static_cast<size_t>(c)] * scale;
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
                none.Displacements.assign(2 * nodes, 0.0);
                for (const ContinuumModel::Support& support : model.Supports)
                    none.Reactions.push_back({support.Node + 1, {0.0, 0.0}});
                none.Stresses.assign(static_cast<size_t>(results.Elements) * width, 0.0);
                none.NodeStresses.assign(nodes * static_cast<size_t>(width), 0.0);
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
