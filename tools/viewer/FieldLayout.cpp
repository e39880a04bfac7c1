#include "FieldLayout.h"

#include "ProblemType.h"

namespace {

QString TitleOf(const QString& name) {
    if (name == QLatin1String("angle"))
        return QStringLiteral("Angle of s1");
    if (name == QLatin1String("s1") || name == QLatin1String("s2"))
        return QStringLiteral("Principal stress ") + name;
    if (name == QLatin1String("tau"))
        return QStringLiteral("Resultant shear stress tau");
    if (name.startsWith(u't'))
        return QStringLiteral("Shear stress ") + name;
    if (name == QLatin1String("w"))
        return QStringLiteral("Warping w");
    return QStringLiteral("Stress ") + name;
}

QStringList Names(const char* const* names, int count) {
    QStringList list;
    for (int k = 0; k < count; ++k)
        list << QLatin1String(names[k]);
    return list;
}

} // namespace

std::optional<FieldLayout> FieldLayout::Of(int problem) {
    static const char* const plane[] = {"sx", "sz", "txz", "s1", "s2", "angle"};
    static const char* const strain[] = {"sx", "sz", "txz", "sy", "s1", "s2", "angle"};
    static const char* const body[] = {"sr", "sz", "trz", "st", "s1", "s2", "angle"};
    static const char* const shear[] = {"txy", "txz", "tau"};
    FieldLayout layout;
    layout.Problem = problem;
    switch (problem) {
    case 9:
        layout.Components = {QStringLiteral("ux"), QStringLiteral("uz")};
        layout.Stresses = Names(plane, 6);
        break;
    case 10:
        layout.Components = {QStringLiteral("ux"), QStringLiteral("uz")};
        layout.Stresses = Names(strain, 7);
        break;
    case 11:
        layout.Components = {QStringLiteral("ur"), QStringLiteral("uz")};
        layout.Stresses = Names(body, 7);
        break;
    case 16:
        layout.Kind = ResultFile::Kind::Torsion;
        layout.Components = {QStringLiteral("w")};
        layout.Stresses = Names(shear, 3);
        break;
    default:
        return std::nullopt;
    }
    using Source = Show::Source;
    if (layout.Torsion()) {
        // A profile does not move in its plane: its fields are the shear stresses and the
        // warping, the resultant first.
        for (const char* name : {"tau", "txy", "txz"})
            layout.Shows.push_back({QLatin1String(name), TitleOf(QLatin1String(name)),
                                    Source::Stress, layout.StressColumn(QLatin1String(name))});
        layout.Shows.push_back(
            {QStringLiteral("w"), TitleOf(QStringLiteral("w")), Source::Component, 0});
        return layout;
    }
    layout.Shows.push_back({QString(), QStringLiteral("Deformed shape"), Source::Deformed, 0});
    for (int k = 0; k < layout.Stresses.size(); ++k)
        layout.Shows.push_back(
            {layout.Stresses[k], TitleOf(layout.Stresses[k]), Source::Stress, k});
    return layout;
}

QString FieldLayout::UnitOf(const QString& name, const QString& forceUnit,
                            const QString& lengthUnit) {
    if (name == QLatin1String("angle"))
        return QStringLiteral("\u00b0");
    if (name == QLatin1String("w"))
        return lengthUnit + QStringLiteral("\u00b2");
    if (name.startsWith(u'u'))
        return lengthUnit;
    return QStringLiteral("%1/%2\u00b2").arg(forceUnit, lengthUnit);
}

QString FieldLayout::ReactionUnit(const QString& forceUnit, const QString& lengthUnit) const {
    return ProblemType::Of(Problem).PerUnitLength()
               ? QStringLiteral("%1/%2").arg(forceUnit, lengthUnit)
               : forceUnit;
}

std::vector<double> FieldLayout::NodeValues(const FieldResults& results,
                                            const FieldResults::Case& c, const Show& show) {
    if (show.From == Show::Source::Deformed)
        return {};
    const bool stress = show.From == Show::Source::Stress;
    const std::vector<double>& all = stress ? c.NodeStresses : c.Displacements;
    const size_t width =
        static_cast<size_t>(stress ? results.StressCount() : results.ComponentCount());
    const size_t column = static_cast<size_t>(show.Column);
    std::vector<double> values;
    if (show.Column < 0 || column >= width)
        return values;
    values.reserve(all.size() / width);
    for (size_t at = column; at < all.size(); at += width)
        values.push_back(all[at]);
    return values;
}
