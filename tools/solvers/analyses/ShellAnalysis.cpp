#include "ShellAnalysis.h"

#include "LoadBalance.h"
#include "MeshStatics.h"
#include "ResultFile.h"
#include "SolverInput.h"
#include "SolverReport.h"
#include "StaticCheck.h"
#include "StaticReport.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// The pipeline's answers as those of bars: the walls' end forces are their element blocks.
StaticResults EndResults(const FieldResults& field) {
    StaticResults results;
    results.Nodes = field.Nodes;
    results.Elements = field.Elements;
    results.Components = field.Components;
    results.Reactions = {QStringLiteral("Fr"), QStringLiteral("Fz"), QStringLiteral("M")};
    results.Forces = field.Columns;
    const auto convert = [](const FieldResults::Case& c) {
        StaticResults::Case to;
        to.Number = c.Number;
        to.Terms = c.Terms;
        to.Displacements = c.Displacements;
        for (const FieldResults::Reaction& reaction : c.Reactions)
            to.Reactions.push_back({reaction.Node, reaction.Values});
        to.Forces = c.Stresses;
        return to;
    };
    for (const FieldResults::Case& c : field.Cases)
        results.Cases.push_back(convert(c));
    for (const FieldResults::Case& c : field.Combinations)
        results.Combinations.push_back(convert(c));
    for (const FieldResults::Envelope& e : field.Envelopes)
        results.Envelopes.push_back({e.Number, e.Combinations, convert(e.Max), convert(e.Min),
                                     convert(e.MaxBy), convert(e.MinBy)});
    results.Residual = field.Residual;
    results.Imbalance = field.Imbalance;
    results.LargestLoad = field.LargestLoad;
    results.SmallestLoad = field.SmallestLoad;
    return results;
}

bool AllFinite(const StaticResults& results) {
    const auto finite = [](const std::vector<double>& values) {
        return std::all_of(values.begin(), values.end(), [](double v) { return std::isfinite(v); });
    };
    bool all = std::isfinite(results.Residual);
    for (const StaticResults::Case& c : results.Cases) {
        all = all && finite(c.Displacements) && finite(c.Forces);
        for (const StaticResults::Reaction& reaction : c.Reactions)
            all = all && finite(reaction.Values);
    }
    return all;
}

// The likeliest cause of an answer that does not check where the loads are in proportion: an
// element far shorter than the others, or far thinner.
QString ShortestElement(const MeshModel& model) {
    double shortest = std::numeric_limits<double>::infinity(), longest = 0;
    int element = 0;
    for (size_t e = 0; e < model.Cells.size(); ++e) {
        const auto a = model.Plan(model.Cells[e].Corners[0]);
        const auto b = model.Plan(model.Cells[e].Corners[1]);
        const double length = std::hypot(b[0] - a[0], b[1] - a[1]);
        longest = std::max(longest, length);
        if (length < shortest) {
            shortest = length;
            element = static_cast<int>(e) + 1;
        }
    }
    return QStringLiteral("loads too large to calculate with, or the shortest element, element "
                          "%1, is %2 %3 long (the longest %4 %3)")
        .arg(element)
        .arg(shortest, 0, 'g', 4)
        .arg(model.LengthUnit)
        .arg(longest, 0, 'g', 4);
}

// Empty when every value is finite, the equations are solved and the loads balance the
// reactions along the axis; otherwise why the answer is refused, with the likely cause.
QString Verdict(const MeshModel& model, const StaticResults& results, double backward) {
    QString fault;
    if (!AllFinite(results))
        fault = QStringLiteral("the answer is not a finite number");
    else if (results.Residual > backward)
        fault = QStringLiteral("the equations are not solved: |K u - f| is %1 of |K| |u| + |f| "
                               "(at most %2 allowed)")
                    .arg(results.Residual, 0, 'g', 3)
                    .arg(backward);
    else if (results.Imbalance > StaticCheck::BalanceTolerance)
        fault = QStringLiteral("the reactions do not balance the loads along the axis: %1 of the "
                               "loads out of balance (at most %2 allowed)")
                    .arg(StaticCheck::Share(results.Imbalance))
                    .arg(StaticCheck::BalanceTolerance);
    else
        return {};
    const QString loads =
        LoadBalance::LoadCause(results.LargestLoad, results.SmallestLoad, model.ForceUnit);
    return fault + QStringLiteral("; likely cause: ") +
           (loads.isEmpty() ? ShortestElement(model) : loads);
}

} // namespace

QString ShellAnalysis::Protocol(const QString& typeName, const MeshModel& model,
                                const StaticResults& results, double backward,
                                const QString& method) {
    QString text;
    text += QStringLiteral("Static analysis of %1: %2\n").arg(typeName, model.Title);
    text += StaticReport::CountLine(results, model.Supports.size());
    text += QStringLiteral(
        "Shells of revolution about the z axis: conical elements, meridional displacement "
        "linear, normal displacement cubic. All values are per unit length of the "
        "circumference; a reaction at a node on the axis is per radian (its total over 2 pi), "
        "and such a node is held in ur and rot by symmetry.\n"
        "Section forces at end i and end j: Ns along the meridian, Nt along the parallel "
        "(positive in tension), Ms and Mt bending the meridian and the parallel (positive with "
        "tension on the side of the normal n = (dz, -dr) / L, the outer face of a wall drawn "
        "upwards), Q the shear across the wall (along n on the face towards j; Q = dMs/ds for "
        "a plate).\n");
    text += method;
    text += StaticCheck::MeshSummary(results.Residual, results.Imbalance, backward);
    StaticReport::AppendTables(
        text, results,
        {QStringLiteral("Displacements (ur outwards, uz upwards, rot turning z towards r)"),
         QStringLiteral("Reactions (forces of the supports on the shell)"),
         QStringLiteral("Section forces"), true},
        model.ForceUnit, model.LengthUnit);
    return text;
}

SolverOutcome ShellAnalysis::Solve(const SolverInput& input, SolverProgress* progress) {
    const MeshModel model = MeshModel::FromData(input.Problem, input.Data);
    const LinearSolver::Options options = MeshStatics::OptionsOf(input.Options);
    const MeshStatics::Outcome solved = MeshStatics::Run(model, options, progress);
    const StaticResults results = EndResults(solved.Results);
    // An answer that does not check is no answer: nothing of it is written.
    const double backward = SolverReport::BackwardTolerance(solved.Solver, options);
    if (const QString fault = Verdict(model, results, backward); !fault.isEmpty())
        throw SolverError(fault);
    SolverOutcome outcome;
    const bool worded = SolverReport::Worded(solved.Solver, options);
    if (input.WantJson) {
        outcome.Json = StaticReport::Json(results);
        if (worded)
            outcome.Json[QStringLiteral("solution")] = SolverReport::Json(solved.Solver, options);
    }
    outcome.Protocol =
        Protocol(input.FormatName, model, results, backward,
                 worded ? SolverReport::Protocol(solved.Solver, options) : QString());
    ResultFile::Contents contents;
    contents.Type = ResultFile::Kind::Statics;
    contents.Problem = input.Problem;
    contents.Statics = results;
    outcome.ResultFile = ResultFile::Write(contents);
    return outcome;
}
