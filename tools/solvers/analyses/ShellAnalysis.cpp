#include "ShellAnalysis.h"

#include "ResultFile.h"
#include "ShellStatics.h"
#include "SolverInput.h"
#include "StaticCheck.h"
#include "StaticReport.h"

namespace {

// Per unit length of the circumference: a force per length, a moment per length.
QString UnitOf(const QString& name, const ShellMeridian& model) {
    const QString force = model.ForceUnit, length = model.LengthUnit;
    if (name == QLatin1String("rot"))
        return QStringLiteral("rad");
    if (name.startsWith(u'u'))
        return length;
    if (name.startsWith(u'M'))
        return force + u'*' + length + u'/' + length;
    return force + u'/' + length;
}

QString Heading(const QString& first, const QStringList& names, const ShellMeridian& model) {
    QString line = first.leftJustified(8);
    for (const QString& name : names)
        line += (name + QStringLiteral(" [") + UnitOf(name, model) + u']').rightJustified(13);
    return line + u'\n';
}

} // namespace

QString ShellAnalysis::Protocol(const QString& typeName, const ShellMeridian& model,
                                const StaticResults& results) {
    QString text;
    text += QStringLiteral("Static analysis of %1: %2\n").arg(typeName, model.Title);
    text += QStringLiteral("Nodes %1, elements %2, supports %3, load cases %4\n")
                .arg(results.Nodes)
                .arg(results.Elements)
                .arg(model.Supports.size())
                .arg(results.Cases.size());
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
    text += StaticCheck::MeshSummary(results.Residual, results.Imbalance);
    const int width = results.ComponentCount();
    for (const StaticResults::Case& c : results.Cases) {
        text += QStringLiteral("\nLoad case %1\n\nDisplacements (ur outwards, uz upwards, rot "
                               "turning z towards r)\n")
                    .arg(c.Number);
        text += Heading(QStringLiteral("Node"), results.Components, model);
        for (int node = 0; node < results.Nodes; ++node)
            StaticReport::AppendLine(
                text, node + 1, c.Displacements.data() + static_cast<size_t>(node) * width, width);
        text += QStringLiteral("\nReactions (forces of the supports on the shell)\n");
        text += Heading(QStringLiteral("Node"), results.Reactions, model);
        for (const StaticResults::Reaction& reaction : c.Reactions)
            StaticReport::AppendLine(text, reaction.Node, reaction.Values.data(), width);
        text += QStringLiteral("\nSection forces\n");
        text += Heading(QStringLiteral("Element"), results.ForceNames, model);
        for (int element = 0; element < results.Elements; ++element)
            StaticReport::AppendLine(text, element + 1,
                                     c.Forces.data() +
                                         static_cast<size_t>(element) * results.ForceCount(),
                                     results.ForceCount());
    }
    return text;
}

SolverOutcome ShellAnalysis::Solve(const SolverInput& input, SolverProgress* progress) {
    const ShellMeridian model = ShellMeridian::FromData(input.Data);
    const ShellStatics::Outcome solved = ShellStatics::Run(model, progress);
    if (!solved.Error.isEmpty())
        return SolverOutcome::Failure(solved.Error);
    // An answer that does not check is no answer: nothing of it is written.
    if (const QString fault = ShellStatics::Verdict(model, solved.Results); !fault.isEmpty())
        return SolverOutcome::Failure(fault);
    SolverOutcome outcome;
    outcome.Ok = true;
    if (input.WantJson)
        outcome.Json = StaticReport::Json(solved.Results);
    outcome.Protocol = Protocol(input.FormatName, model, solved.Results);
    ResultFile::Contents contents;
    contents.Type = ResultFile::Kind::Statics;
    contents.Problem = input.Problem;
    contents.Statics = solved.Results;
    outcome.ResultFile = ResultFile::Write(contents);
    return outcome;
}
