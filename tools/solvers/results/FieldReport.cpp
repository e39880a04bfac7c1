#include "FieldReport.h"

#include "StaticReport.h"

#include <QJsonArray>
#include <cmath>

namespace {

QJsonArray Rows(const std::vector<double>& values, int rows, int width) {
    QJsonArray list;
    for (int row = 0; row < rows; ++row)
        list.append(StaticReport::JsonRow(row + 1, values.data() + static_cast<size_t>(row) * width,
                                          width));
    return list;
}

QJsonArray Names(const QStringList& names) {
    QJsonArray list;
    for (const QString& name : names)
        list.append(name);
    return list;
}

using StaticReport::Heading;

bool Finite(const std::vector<double>& values) {
    for (double v : values)
        if (!std::isfinite(v))
            return false;
    return true;
}

} // namespace

QJsonObject FieldReport::Json(const FieldResults& results) {
    QJsonArray cases;
    const int width = results.ComponentCount(), stresses = results.StressCount();
    for (const FieldResults::Case& c : results.Cases) {
        QJsonArray reactions;
        for (const FieldResults::Reaction& reaction : c.Reactions)
            reactions.append(StaticReport::JsonRow(reaction.Node, reaction.Values.data(), width));
        cases.append(QJsonObject{
            {QStringLiteral("case"), c.Number},
            {QStringLiteral("displacements"), Rows(c.Displacements, results.Nodes, width)},
            {QStringLiteral("reactions"), reactions},
            {QStringLiteral("stresses"), Rows(c.Stresses, results.Elements, stresses)},
            {QStringLiteral("nodeStresses"), Rows(c.NodeStresses, results.Nodes, stresses)}});
    }
    return {{QStringLiteral("components"), Names(results.Components)},
            {QStringLiteral("stressNames"), Names(results.Columns.Names())},
            {QStringLiteral("cases"), cases}};
}

QString FieldReport::Tables(const FieldResults& results, const QString& forceUnit,
                            const QString& lengthUnit, const QString& reactionNote,
                            const QString& what) {
    const int width = results.ComponentCount(), stresses = results.StressCount();
    QString text;
    text.reserve(static_cast<qsizetype>(results.Cases.size()) *
                 (qsizetype{results.Nodes} * (2 * 13 * width + 13 * stresses + 20) +
                  qsizetype{results.Elements} * (13 * stresses + 10)));
    const ResultLayout components = StaticReport::ComponentLayout(results.Components);
    // A rotation is held by a moment.
    ResultLayout reactions;
    for (const ResultColumn& component : components.Columns) {
        const bool turn = component.What == ResultColumn::Quantity::Rotation;
        reactions.Columns.push_back(
            {(turn ? QStringLiteral("M") : QStringLiteral("F")) + component.Name.mid(1),
             {},
             turn ? ResultColumn::Quantity::Moment : ResultColumn::Quantity::Force,
             ResultColumn::Where::Node});
    }
    for (const FieldResults::Case& c : results.Cases) {
        text += QStringLiteral("\nLoad case %1\n\nDisplacements\n").arg(c.Number);
        text += Heading(QStringLiteral("Node"), components, forceUnit, lengthUnit);
        for (int node = 0; node < results.Nodes; ++node)
            StaticReport::AppendLine(
                text, node + 1, c.Displacements.data() + static_cast<size_t>(node) * width, width);
        text += QStringLiteral("\nReactions (forces of the supports on the body%1)\n")
                    .arg(reactionNote);
        text += Heading(QStringLiteral("Node"), reactions, forceUnit, lengthUnit);
        for (const FieldResults::Reaction& reaction : c.Reactions)
            StaticReport::AppendLine(text, reaction.Node, reaction.Values.data(), width);
        text += u'\n' + what + QStringLiteral(" at the element centres\n");
        text += Heading(QStringLiteral("Element"), results.Columns, forceUnit, lengthUnit);
        for (int element = 0; element < results.Elements; ++element)
            StaticReport::AppendLine(text, element + 1,
                                     c.Stresses.data() + static_cast<size_t>(element) * stresses,
                                     stresses);
        text += u'\n' + what +
                QStringLiteral(" at the nodes (recovered from the elements around each node)\n");
        text += Heading(QStringLiteral("Node"), results.Columns, forceUnit, lengthUnit);
        for (int node = 0; node < results.Nodes; ++node)
            StaticReport::AppendLine(text, node + 1,
                                     c.NodeStresses.data() + static_cast<size_t>(node) * stresses,
                                     stresses);
    }
    return text;
}

QString FieldReport::NonFinite(const FieldResults& results) {
    for (const FieldResults::Case& c : results.Cases) {
        if (!Finite(c.Displacements))
            return QStringLiteral("the displacements of load case %1").arg(c.Number);
        for (const FieldResults::Reaction& reaction : c.Reactions)
            if (!Finite(reaction.Values))
                return QStringLiteral("the reactions of load case %1").arg(c.Number);
        if (!Finite(c.Stresses) || !Finite(c.NodeStresses))
            return QStringLiteral("the stresses of load case %1").arg(c.Number);
    }
    return {};
}
