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

QString UnitOf(const QString& name, const QString& force, const QString& length) {
    if (name == QLatin1String("angle"))
        return QStringLiteral("deg");
    if (name.startsWith(u'u'))
        return length;
    if (name == QLatin1String("w"))
        return length + QStringLiteral("2");
    // Rotations of plates and shells; moments, shear and membrane forces per unit width.
    if (name.size() == 2 && name.startsWith(u'r'))
        return QStringLiteral("rad");
    if (name.startsWith(u'm'))
        return force + length + u'/' + length;
    if (name.startsWith(u'q') || name.startsWith(u'n'))
        return force + u'/' + length;
    return force + u'/' + length + QStringLiteral("2");
}

QString Heading(const QString& first, const QStringList& names, const QString& force,
                const QString& length) {
    QString line = first.leftJustified(8);
    for (const QString& name : names)
        line +=
            (name + QStringLiteral(" [") + UnitOf(name, force, length) + u']').rightJustified(13);
    return line + u'\n';
}

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
            {QStringLiteral("stressNames"), Names(results.StressNames)},
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
    QStringList reactionNames;
    // A rotation is held by a moment.
    for (const QString& name : results.Components)
        reactionNames << ((name.size() == 2 && name.startsWith(u'r') ? QStringLiteral("M")
                                                                     : QStringLiteral("F")) +
                          name.mid(1));
    for (const FieldResults::Case& c : results.Cases) {
        text += QStringLiteral("\nLoad case %1\n\nDisplacements\n").arg(c.Number);
        text += Heading(QStringLiteral("Node"), results.Components, forceUnit, lengthUnit);
        for (int node = 0; node < results.Nodes; ++node)
            StaticReport::AppendLine(
                text, node + 1, c.Displacements.data() + static_cast<size_t>(node) * width, width);
        text += QStringLiteral("\nReactions (forces of the supports on the body%1)\n")
                    .arg(reactionNote);
        QString heading = QStringLiteral("Node").leftJustified(8);
        for (const QString& name : reactionNames)
            heading += (name + QStringLiteral(" [") + forceUnit +
                        (name.startsWith(u'M') ? lengthUnit : QString()) + u']')
                           .rightJustified(13);
        text += heading + u'\n';
        for (const FieldResults::Reaction& reaction : c.Reactions)
            StaticReport::AppendLine(text, reaction.Node, reaction.Values.data(), width);
        text += u'\n' + what + QStringLiteral(" at the element centres\n");
        text += Heading(QStringLiteral("Element"), results.StressNames, forceUnit, lengthUnit);
        for (int element = 0; element < results.Elements; ++element)
            StaticReport::AppendLine(text, element + 1,
                                     c.Stresses.data() + static_cast<size_t>(element) * stresses,
                                     stresses);
        text += u'\n' + what +
                QStringLiteral(" at the nodes (recovered from the elements around each node)\n");
        text += Heading(QStringLiteral("Node"), results.StressNames, forceUnit, lengthUnit);
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
