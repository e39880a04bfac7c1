#include "ShellStatics.h"

#include "ConicalShell.h"
#include "EquationSystem.h"
#include "LoadBalance.h"
#include "LoadCases.h"
#include "StaticCheck.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>

namespace {

// Load cases solved together; a meridian has few unknowns, so a block may be wide.
constexpr int BlockCases = 64;
constexpr int Width = 3;       // ur uz rot
constexpr int ForceCount = 10; // Ns Nt Ms Mt Q at i, then at j
constexpr std::array<int, Width> Kept{0, 2, 4};

std::vector<std::unique_ptr<ConicalShell>> ElementsOf(const ShellMeridian& model) {
    std::vector<std::unique_ptr<ConicalShell>> elements;
    elements.reserve(model.Elements.size());
    for (const ShellMeridian::Element& e : model.Elements) {
        const ShellMeridian::Material& material = model.Materials[static_cast<size_t>(e.Material)];
        ConicalShell::Section section;
        section.E = material.E;
        section.Nu = material.Nu;
        section.Thickness = e.Thickness;
        section.Density = material.Gamma;
        elements.push_back(std::make_unique<ConicalShell>(
            section, std::array<int, 2>{e.I, e.J},
            std::array<std::array<double, 2>, 2>{model.Nodes[static_cast<size_t>(e.I)],
                                                 model.Nodes[static_cast<size_t>(e.J)]}));
    }
    return elements;
}

DofNumbering::Wording Wording() {
    DofNumbering::Wording wording;
    wording.Whole = QStringLiteral("shell");
    wording.Part = QStringLiteral("element");
    wording.Components[0] = QStringLiteral("ur");
    wording.Components[4] = QStringLiteral("rot");
    return wording;
}

// The cases from 1 to the count of table 1 that have loads, ascending.
std::vector<int> LoadedCases(const ShellMeridian& model) {
    std::vector<bool> loaded(static_cast<size_t>(std::max(0, model.LoadCases)) + 1, false);
    const auto mark = [&loaded](int number) {
        if (number >= 1 && number < static_cast<int>(loaded.size()))
            loaded[static_cast<size_t>(number)] = true;
    };
    for (const ShellMeridian::NodalLoad& load : model.Loads)
        mark(load.Case);
    for (const ShellMeridian::Pressure& pressure : model.Pressures)
        mark(pressure.Case);
    std::vector<int> cases;
    for (size_t c = 1; c < loaded.size(); ++c) {
        if (loaded[c])
            cases.push_back(static_cast<int>(c));
    }
    return cases;
}

// The consistent loads per radian of the pressures of one case, element by element (empty
// where none acts).
std::vector<Element::Vector> PressureLoads(const ShellMeridian& model,
                                           const std::vector<std::unique_ptr<ConicalShell>>& shells,
                                           int number) {
    std::vector<Element::Vector> loads(shells.size());
    for (const ShellMeridian::Pressure& pressure : model.Pressures) {
        if (pressure.Case != number)
            continue;
        Element::Vector& f = loads[static_cast<size_t>(pressure.Element)];
        const Element::Vector add =
            shells[static_cast<size_t>(pressure.Element)]->PressureLoads(pressure.P);
        if (f.size() == 0)
            f = add;
        else
            f += add;
    }
    return loads;
}

// A shell of revolution moves as a whole only along its axis, so each connected part needs a
// support in uz. The factorisation would find such a part too, but would name whichever
// component it eliminated last; this names the motion itself. Empty when every part is held.
QString FreeAlongTheAxis(const ShellMeridian& model) {
    std::vector<int> part(model.Nodes.size());
    for (size_t n = 0; n < part.size(); ++n)
        part[n] = static_cast<int>(n);
    const auto root = [&part](int n) {
        while (part[static_cast<size_t>(n)] != n)
            n = part[static_cast<size_t>(n)] =
                part[static_cast<size_t>(part[static_cast<size_t>(n)])];
        return n;
    };
    for (const ShellMeridian::Element& e : model.Elements)
        part[static_cast<size_t>(root(e.I))] = root(e.J);
    std::vector<bool> held(part.size(), false);
    for (const ShellMeridian::Support& support : model.Supports) {
        if (support.Fixed[1])
            held[static_cast<size_t>(root(support.Node))] = true;
    }
    for (const ShellMeridian::Element& e : model.Elements) {
        if (!held[static_cast<size_t>(root(e.I))])
            return QStringLiteral("the shell is a mechanism or not supported enough: node %1 "
                                  "can move in uz without resistance (no support holds its "
                                  "part of the shell along the axis)")
                .arg(std::min(e.I, e.J) + 1);
    }
    return {};
}

} // namespace

ShellStatics::Outcome ShellStatics::Run(const ShellMeridian& model, SolverProgress* progress) {
    Outcome outcome;
    if (const QString fault = model.Fault(); !fault.isEmpty()) {
        outcome.Error = fault;
        return outcome;
    }
    if (const QString free = FreeAlongTheAxis(model); !free.isEmpty()) {
        outcome.Error = free;
        return outcome;
    }
    const size_t nodes = model.Nodes.size();
    const std::vector<std::unique_ptr<ConicalShell>> shells = ElementsOf(model);
    std::vector<const Element*> pointers;
    for (const auto& shell : shells)
        pointers.push_back(shell.get());
    const DofNumbering::Wording wording = Wording();
    EquationSystem system(static_cast<int>(nodes), pointers, wording);
    EquationSystem::Constraints constraints;
    constraints.Fixed.assign(6 * nodes, false);
    constraints.Loaded.assign(6 * nodes, false);
    for (const ShellMeridian::Support& support : model.Supports) {
        for (int c = 0; c < Width; ++c)
            constraints.Fixed[6 * static_cast<size_t>(support.Node) + Kept[c]] = support.Fixed[c];
    }
    // A node on the axis can neither move off it nor turn: the shell's own symmetry holds it.
    for (size_t node = 0; node < nodes; ++node) {
        if (model.OnAxis(static_cast<int>(node))) {
            constraints.Fixed[6 * node] = true;
            constraints.Fixed[6 * node + 4] = true;
        }
    }
    for (const ShellMeridian::NodalLoad& load : model.Loads) {
        for (int c = 0; c < Width; ++c)
            if (load.Load[c] != 0)
                constraints.Loaded[6 * static_cast<size_t>(load.Node) + Kept[c]] = true;
    }
    SolverProgress::Report(
        progress, QStringLiteral("Assembling and factorising: %1 nodes, %2 elements")
                      .arg(SolverProgress::Count(static_cast<qsizetype>(nodes)))
                      .arg(SolverProgress::Count(static_cast<qsizetype>(model.Elements.size()))));
    if (!system.Prepare({Kept.begin(), Kept.end()}, system.StiffnessDiagonal(), constraints)) {
        outcome.Error = system.Error();
        return outcome;
    }

    StaticResults& results = outcome.Results;
    results.Nodes = static_cast<int>(nodes);
    results.Elements = static_cast<int>(model.Elements.size());
    results.Components = {QStringLiteral("ur"), QStringLiteral("uz"), QStringLiteral("rot")};
    results.Reactions = {QStringLiteral("Fr"), QStringLiteral("Fz"), QStringLiteral("M")};
    results.ForceNames = {QStringLiteral("Nsi"), QStringLiteral("Nti"), QStringLiteral("Msi"),
                          QStringLiteral("Mti"), QStringLiteral("Qi"),  QStringLiteral("Nsj"),
                          QStringLiteral("Ntj"), QStringLiteral("Msj"), QStringLiteral("Mtj"),
                          QStringLiteral("Qj")};

    std::vector<int> supportOf(nodes, -1);
    for (size_t s = 0; s < model.Supports.size(); ++s)
        supportOf[static_cast<size_t>(model.Supports[s].Node)] = static_cast<int>(s);
    const auto radius = [&model](int node) { return model.Nodes[static_cast<size_t>(node)][0]; };

    const auto point = [](const std::array<double, 2>& at) {
        return Eigen::Vector3d(at[0], 0, at[1]);
    };
    // Along the axis the loads and the reactions balance; radially the hoop holds.
    const LoadBalance unloaded =
        LoadBalance::About(model.Nodes, point, LoadBalance::Resultant::Axial);
    LoadBalance::Worst worst;
    const auto solved = [&](int number, const Eigen::VectorXd& solution) {
        StaticResults::Case result;
        result.Number = number;
        result.Displacements.assign(nodes * Width, 0.0);
        for (size_t node = 0; node < nodes; ++node) {
            for (int c = 0; c < Width; ++c) {
                const int e = system.Equation(static_cast<int>(node), Kept[c]);
                result.Displacements[node * Width + static_cast<size_t>(c)] =
                    e >= 0 ? solution[e] : 0.0;
            }
        }
        // What the elements take from each supported node, per radian.
        std::vector<std::array<double, Width>> held(model.Supports.size(),
                                                    std::array<double, Width>{});
        const std::vector<Element::Vector> pressures = PressureLoads(model, shells, number);
        result.Forces.assign(shells.size() * ForceCount, 0.0);
        for (size_t e = 0; e < shells.size(); ++e) {
            const ConicalShell& shell = *shells[e];
            const Element::Vector u = system.Gather(shell, solution);
            const Element::Vector loads =
                pressures[e].size() > 0 ? pressures[e] : Element::Vector::Zero(shell.Size());
            const std::array<double, 10> forces = shell.EndForces(u, loads);
            std::copy(forces.begin(), forces.end(), result.Forces.begin() + e * ForceCount);
            const Element::Vector exerted = shell.Stiffness() * u - loads;
            const std::span<const int> ends = shell.Nodes();
            for (size_t end = 0; end < 2; ++end) {
                const int s = supportOf[static_cast<size_t>(ends[end])];
                if (s < 0)
                    continue;
                for (int c = 0; c < Width; ++c)
                    held[static_cast<size_t>(s)][c] +=
                        exerted(static_cast<Eigen::Index>(Width * end) + c);
            }
        }
        // Per radian: a ring load at radius r adds up to its value times r.
        LoadBalance balance = unloaded;
        for (const ShellMeridian::NodalLoad& load : model.Loads) {
            if (load.Case != number)
                continue;
            const double r = radius(load.Node);
            balance.AddLoad(point(model.Nodes[static_cast<size_t>(load.Node)]),
                            {load.Load[0] * r, 0, load.Load[1] * r}, {0, load.Load[2] * r, 0});
            if (const int s = supportOf[static_cast<size_t>(load.Node)]; s >= 0) {
                for (int c = 0; c < Width; ++c)
                    held[static_cast<size_t>(s)][c] -= load.Load[c] * r;
            }
        }
        for (const ShellMeridian::Pressure& pressure : model.Pressures) {
            if (pressure.Case != number)
                continue;
            const ShellMeridian::Element& element =
                model.Elements[static_cast<size_t>(pressure.Element)];
            const ConicalShell& shell = *shells[static_cast<size_t>(pressure.Element)];
            // Along the normal n = (dz, -dr) / L over the element's area.
            const double force = pressure.P * shell.AreaPerRadian();
            balance.AddLoad((point(model.Nodes[static_cast<size_t>(element.I)]) +
                             point(model.Nodes[static_cast<size_t>(element.J)])) /
                                2,
                            {force * shell.Sin(), 0, -force * shell.Cos()});
        }
        for (size_t s = 0; s < model.Supports.size(); ++s) {
            const ShellMeridian::Support& support = model.Supports[s];
            StaticResults::Reaction reaction;
            reaction.Node = support.Node + 1;
            const double r = radius(support.Node);
            const bool axis = model.OnAxis(support.Node);
            std::array<double, Width> values{};
            for (int c = 0; c < Width; ++c) {
                // On the axis the radial force and the moment of the ring cancel round the
                // circle; what holds it along the axis has no circumference and stays per
                // radian.
                const bool symmetric = axis && c != 1;
                values[static_cast<size_t>(c)] = support.Fixed[c] && !symmetric ? held[s][c] : 0.0;
                reaction.Values.push_back(axis ? values[static_cast<size_t>(c)]
                                               : values[static_cast<size_t>(c)] / r);
            }
            balance.AddReaction(point(model.Nodes[static_cast<size_t>(support.Node)]),
                                {values[0], 0, values[1]}, {0, values[2], 0});
            result.Reactions.push_back(std::move(reaction));
        }
        worst.Take(balance);
        results.Cases.push_back(std::move(result));
    };
    results.Residual = LoadCases::Solve(
        system, model.LoadCases, LoadedCases(model), BlockCases,
        [progress](int number) {
            SolverProgress::Report(progress, QStringLiteral("Load case %1").arg(number));
        },
        [&](int number, Eigen::VectorXd& column) {
            for (const ShellMeridian::NodalLoad& load : model.Loads) {
                if (load.Case != number)
                    continue;
                const double r = radius(load.Node);
                for (int c = 0; c < Width; ++c) {
                    const int e = system.Equation(load.Node, Kept[c]);
                    if (e >= 0)
                        column[e] += load.Load[c] * r;
                }
            }
            const std::vector<Element::Vector> pressures = PressureLoads(model, shells, number);
            for (size_t e = 0; e < shells.size(); ++e) {
                if (pressures[e].size() == 0)
                    continue;
                const std::span<const int> ends = shells[e]->Nodes();
                for (size_t end = 0; end < 2; ++end) {
                    for (int c = 0; c < Width; ++c) {
                        const int q = system.Equation(ends[end], Kept[c]);
                        if (q >= 0)
                            column[q] += pressures[e](static_cast<Eigen::Index>(Width * end) + c);
                    }
                }
            }
        },
        [&](int number, const Eigen::VectorXd* solution) {
            solved(number, solution ? *solution : Eigen::VectorXd::Zero(system.Equations()));
        },
        LoadCases::Measure::Backward);
    results.Imbalance = worst.Share;
    results.LargestLoad = worst.Largest;
    results.SmallestLoad = worst.Smallest;
    return outcome;
}

QString ShellStatics::Verdict(const ShellMeridian& model, const StaticResults& results) {
    bool finite = std::isfinite(results.Residual);
    for (const StaticResults::Case& c : results.Cases) {
        const auto allFinite = [](const std::vector<double>& values) {
            return std::all_of(values.begin(), values.end(),
                               [](double v) { return std::isfinite(v); });
        };
        finite = finite && allFinite(c.Displacements) && allFinite(c.Forces);
        for (const StaticResults::Reaction& reaction : c.Reactions)
            finite = finite && allFinite(reaction.Values);
    }
    QString fault;
    if (!finite)
        fault = QStringLiteral("the answer is not a finite number");
    else if (results.Residual > StaticCheck::BackwardTolerance)
        fault = QStringLiteral("the equations are not solved: |K u - f| is %1 of |K| |u| + |f| "
                               "(at most %2 allowed)")
                    .arg(results.Residual, 0, 'g', 3)
                    .arg(StaticCheck::BackwardTolerance);
    else if (results.Imbalance > StaticCheck::BalanceTolerance)
        fault = QStringLiteral("the reactions do not balance the loads along the axis: %1 of the "
                               "loads out of balance (at most %2 allowed)")
                    .arg(StaticCheck::Share(results.Imbalance))
                    .arg(StaticCheck::BalanceTolerance);
    else
        return {};
    if (const QString loads =
            LoadBalance::LoadCause(results.LargestLoad, results.SmallestLoad, model.ForceUnit);
        !loads.isEmpty())
        return fault + QStringLiteral("; likely cause: ") + loads;
    // The likeliest cause: an element far shorter than the others, or far thinner.
    double shortest = std::numeric_limits<double>::infinity(), longest = 0;
    int element = 0;
    for (size_t e = 0; e < model.Elements.size(); ++e) {
        const auto& a = model.Nodes[static_cast<size_t>(model.Elements[e].I)];
        const auto& b = model.Nodes[static_cast<size_t>(model.Elements[e].J)];
        const double length = std::hypot(b[0] - a[0], b[1] - a[1]);
        longest = std::max(longest, length);
        if (length < shortest) {
            shortest = length;
            element = static_cast<int>(e) + 1;
        }
    }
    return fault + QStringLiteral("; likely cause: loads too large to calculate with, or the "
                                  "shortest element, element %1, is %2 %3 long (the longest %4 "
                                  "%3)")
                       .arg(element)
                       .arg(shortest, 0, 'g', 4)
                       .arg(model.LengthUnit)
                       .arg(longest, 0, 'g', 4);
}
