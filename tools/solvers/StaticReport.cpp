#include "StaticReport.h"

#include <QJsonArray>

namespace {

QJsonArray Row(int number, const double* values, int count) {
    QJsonArray row{number};
    for (int v = 0; v < count; ++v)
        row.append(values[v]);
    return row;
}

QString UnitOf(const QString& name, const BarModel& model) {
    const QString force = model.ForceUnit, length = model.LengthUnit;
    if (name.startsWith(u'u'))
        return length;
    if (name.startsWith(u'r'))
        return QStringLiteral("rad");
    if (name.startsWith(u'M') || name.startsWith(u'T'))
        return force + u'*' + length;
    return force;
}

QString Heading(const QString& first, const QStringList& names, const BarModel& model) {
    QString line = first.leftJustified(8);
    for (const QString& name : names)
        line += (name + QStringLiteral(" [") + UnitOf(name, model) + u']').rightJustified(13);
    return line + u'\n';
}

QString Line(int number, const double* values, int count) {
    QString line = QString::number(number).rightJustified(8);
    for (int v = 0; v < count; ++v)
        line += u' ' + StaticReport::Number(values[v]);
    return line + u'\n';
}

} // namespace

QString StaticReport::Number(double value) {
    if (std::abs(value) < 1e-300)
        value = 0;
    return QString::number(value, 'g', 5).rightJustified(12);
}

QJsonObject StaticReport::Json(const StaticResults& results) {
    QJsonArray cases;
    const int width = results.ComponentCount();
    for (const StaticResults::Case& c : results.Cases) {
        QJsonArray displacements, reactions, forces;
        for (int node = 0; node < results.Nodes; ++node)
            displacements.append(
                Row(node + 1, c.Displacements.data() + static_cast<size_t>(node) * width, width));
        for (const StaticResults::Reaction& reaction : c.Reactions)
            reactions.append(Row(reaction.Node, reaction.Values.data(), width));
        for (int element = 0; element < results.Elements; ++element)
            forces.append(Row(element + 1,
                              c.Forces.data() + static_cast<size_t>(element) * results.ForceCount(),
                              results.ForceCount()));
        cases.append(QJsonObject{{QStringLiteral("case"), c.Number},
                                 {QStringLiteral("displacements"), displacements},
                                 {QStringLiteral("reactions"), reactions},
                                 {QStringLiteral("forces"), forces}});
    }
    QJsonArray components, names;
    for (const QString& name : results.Components)
        components.append(name);
    for (const QString& name : results.ForceNames)
        names.append(name);
    return {{QStringLiteral("components"), components},
            {QStringLiteral("forceNames"), names},
            {QStringLiteral("cases"), cases}};
}

QString StaticReport::Protocol(const QString& title, const QString& typeName, const BarModel& model,
                               const StaticResults& results) {
    QString text;
    text += QStringLiteral("Static analysis of %1: %2\n").arg(typeName, title);
    text += QStringLiteral("Nodes %1, elements %2, supports %3, load cases %4\n")
                .arg(results.Nodes)
                .arg(results.Elements)
                .arg(model.Supports.size())
                .arg(results.Cases.size());
    if (model.Nodes.size() > static_cast<size_t>(model.DataNodes))
        text += QStringLiteral("Curved members are calculated as chains of straight pieces "
                               "(%1 inner nodes, not listed).\n")
                    .arg(model.Nodes.size() - static_cast<size_t>(model.DataNodes));
    text += QStringLiteral("Element forces are section forces at end i and end j; normal forces "
                           "are positive in tension.\n");
    const int width = results.ComponentCount();
    for (const StaticResults::Case& c : results.Cases) {
        text += QStringLiteral("\nLoad case %1\n\nDisplacements (global axes)\n").arg(c.Number);
        text += Heading(QStringLiteral("Node"), results.Components, model);
        for (int node = 0; node < results.Nodes; ++node)
            text +=
                Line(node + 1, c.Displacements.data() + static_cast<size_t>(node) * width, width);
        text += QStringLiteral("\nReactions (forces of the supports on the structure)\n");
        text += Heading(QStringLiteral("Node"), results.Reactions, model);
        for (const StaticResults::Reaction& reaction : c.Reactions)
            text += Line(reaction.Node, reaction.Values.data(), width);
        text += QStringLiteral("\nElement forces\n");
        text += Heading(QStringLiteral("Element"), results.ForceNames, model);
        for (int element = 0; element < results.Elements; ++element)
            text += Line(element + 1,
                         c.Forces.data() + static_cast<size_t>(element) * results.ForceCount(),
                         results.ForceCount());
    }
    return text;
}
