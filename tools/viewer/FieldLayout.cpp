#include "FieldLayout.h"

#include "ProblemType.h"

#include <cmath>

namespace {

// The title of a stress or force; `first` names the principal value the angle belongs to.
QString TitleOf(const QString& name, const QString& first) {
    // A shell's stresses on its faces: "sxTop", "txyBottom".
    for (const auto& [face, words] :
         {std::pair{QStringLiteral("Top"), QStringLiteral("top")},
          std::pair{QStringLiteral("Bottom"), QStringLiteral("bottom")}}) {
        if (name.endsWith(face) && name.size() > face.size())
            return QStringLiteral("%1, %2 face")
                .arg(TitleOf(name.chopped(face.size()), first), words);
    }
    if (name == QLatin1String("angle"))
        return QStringLiteral("Angle of ") + first;
    if (name == QLatin1String("s1") || name == QLatin1String("s2") || name == QLatin1String("s3"))
        return QStringLiteral("Principal stress ") + name;
    if (name == QLatin1String("mises"))
        return QStringLiteral("Von Mises stress");
    if (name == QLatin1String("m1") || name == QLatin1String("m2"))
        return QStringLiteral("Principal moment ") + name;
    if (name == QLatin1String("mxy"))
        return QStringLiteral("Twisting moment mxy");
    if (name.startsWith(u'm'))
        return QStringLiteral("Moment ") + name;
    if (name.startsWith(u'q'))
        return QStringLiteral("Shear force ") + name;
    if (name == QLatin1String("nxy"))
        return QStringLiteral("Membrane shear nxy");
    if (name.startsWith(u'n'))
        return QStringLiteral("Membrane force ") + name;
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

std::optional<FieldLayout> FieldLayout::Of(int problem, bool dynamics) {
    static const char* const plane[] = {"sx", "sz", "txz", "s1", "s2", "angle"};
    static const char* const strain[] = {"sx", "sz", "txz", "sy", "s1", "s2", "angle"};
    static const char* const body[] = {"sr", "sz", "trz", "st", "s1", "s2", "angle"};
    static const char* const shear[] = {"txy", "txz", "tau"};
    static const char* const plate[] = {"mx", "my", "mxy", "qx", "qy", "m1", "m2", "angle"};
    static const char* const shell[] = {"nx",     "ny",       "nxy",      "mx",
                                        "my",     "mxy",      "sxTop",    "syTop",
                                        "txyTop", "sxBottom", "syBottom", "txyBottom"};
    static const char* const solid[] = {"sx",  "sy", "sz", "txy", "tyz",
                                        "tzx", "s1", "s2", "s3",  "mises"};
    static const char* const plateMotion[] = {"uz", "rx", "ry"};
    static const char* const shellMotion[] = {"ux", "uy", "uz", "rx", "ry", "rz"};
    FieldLayout layout;
    layout.Problem = problem;
    const ProblemType::Mesh mesh = ProblemType::Of(problem).Meshes;
    using Source = Show::Source;
    if (dynamics) {
        // Of the meshes only a plate has natural modes: its shape as contours of each
        // component, the deflection first.
        if (mesh != ProblemType::Mesh::Plate)
            return std::nullopt;
        layout.Kind = ResultFile::Kind::Modes;
        layout.Components = Names(plateMotion, 3);
        for (int k = 0; k < layout.Components.size(); ++k)
            layout.Shows.push_back({layout.Components[k],
                                    QStringLiteral("Mode shape ") + layout.Components[k],
                                    Source::Component, k});
        return layout;
    }
    layout.Principal = {QStringLiteral("s1"), QStringLiteral("s2"), QStringLiteral("angle")};
    switch (mesh) {
    case ProblemType::Mesh::PlaneStress:
        layout.Components = {QStringLiteral("ux"), QStringLiteral("uz")};
        layout.Stresses = Names(plane, 6);
        break;
    case ProblemType::Mesh::PlaneStrain:
        layout.Components = {QStringLiteral("ux"), QStringLiteral("uz")};
        layout.Stresses = Names(strain, 7);
        break;
    case ProblemType::Mesh::Revolution:
        layout.Components = {QStringLiteral("ur"), QStringLiteral("uz")};
        layout.Stresses = Names(body, 7);
        break;
    case ProblemType::Mesh::Profile:
        layout.Kind = ResultFile::Kind::Torsion;
        layout.Components = {QStringLiteral("w")};
        layout.Stresses = Names(shear, 3);
        layout.Principal.clear();
        break;
    case ProblemType::Mesh::Plate:
        layout.Components = Names(plateMotion, 3);
        layout.Stresses = Names(plate, 8);
        layout.Principal = {QStringLiteral("m1"), QStringLiteral("m2"), QStringLiteral("angle")};
        break;
    case ProblemType::Mesh::Shell:
        layout.Components = Names(shellMotion, 6);
        layout.Stresses = Names(shell, 12);
        // Forces in each element's own axes have no principal directions worth a cross.
        layout.Principal.clear();
        break;
    case ProblemType::Mesh::Solid:
        layout.Components = {QStringLiteral("ux"), QStringLiteral("uy"), QStringLiteral("uz")};
        layout.Stresses = Names(solid, 10);
        // Three principal stresses in space have no cross to draw on a surface.
        layout.Principal.clear();
        break;
    default:
        return std::nullopt;
    }
    const QString first = layout.Principal.value(0);
    if (layout.Torsion()) {
        // A profile does not move in its plane: its fields are the shear stresses and the
        // warping, the resultant first.
        for (const char* name : {"tau", "txy", "txz"})
            layout.Shows.push_back({QLatin1String(name), TitleOf(QLatin1String(name), first),
                                    Source::Stress, layout.StressColumn(QLatin1String(name))});
        layout.Shows.push_back(
            {QStringLiteral("w"), TitleOf(QStringLiteral("w"), first), Source::Component, 0});
        return layout;
    }
    // A plate moves across its plane, which a drawing in plan cannot show but by the
    // contours of its deflection: they come first instead of the deformed shape.
    if (mesh == ProblemType::Mesh::Plate)
        layout.Shows.push_back(
            {QStringLiteral("uz"), QStringLiteral("Deflection uz"), Source::Component, 0});
    else
        layout.Shows.push_back({QString(), QStringLiteral("Deformed shape"), Source::Deformed, 0});
    for (int k = 0; k < layout.Stresses.size(); ++k)
        layout.Shows.push_back(
            {layout.Stresses[k], TitleOf(layout.Stresses[k], first), Source::Stress, k});
    // The rest of the motion of plates and shells, each as its own field.
    if (mesh == ProblemType::Mesh::Plate || mesh == ProblemType::Mesh::Shell ||
        mesh == ProblemType::Mesh::Solid) {
        for (int k = 0; k < layout.Components.size(); ++k) {
            const QString& name = layout.Components[k];
            if (mesh == ProblemType::Mesh::Plate && k == 0)
                continue;
            layout.Shows.push_back({name,
                                    (name.startsWith(u'r') ? QStringLiteral("Rotation ")
                                                           : QStringLiteral("Displacement ")) +
                                        name,
                                    Source::Component, k});
        }
    }
    if (mesh == ProblemType::Mesh::Solid)
        layout.Shows.push_back({QStringLiteral("u"), QStringLiteral("Displacement magnitude |u|"),
                                Source::Magnitude, 0});
    return layout;
}

bool FieldLayout::Flat() const {
    return ProblemType::Of(Problem).Meshes == ProblemType::Mesh::Plate;
}

bool FieldLayout::Space() const {
    return ProblemType::Of(Problem).Meshes == ProblemType::Mesh::Shell;
}

bool FieldLayout::Solid() const {
    return ProblemType::Of(Problem).Meshes == ProblemType::Mesh::Solid;
}

QString FieldLayout::UnitOf(const QString& name, const QString& forceUnit,
                            const QString& lengthUnit) {
    if (name == QLatin1String("angle"))
        return QStringLiteral("\u00b0");
    if (name == QLatin1String("w"))
        return lengthUnit + QStringLiteral("\u00b2");
    if (name.startsWith(u'u'))
        return lengthUnit;
    if (name == QLatin1String("mises"))
        return QStringLiteral("%1/%2\u00b2").arg(forceUnit, lengthUnit);
    if (name.startsWith(u'r') && name.size() == 2)
        return QStringLiteral("rad");
    // Moments, shear and membrane forces of plates and shells, per unit width.
    if (name.startsWith(u'm'))
        return QStringLiteral("%1%2/%2").arg(forceUnit, lengthUnit);
    if (name.startsWith(u'q') || name.startsWith(u'n'))
        return QStringLiteral("%1/%2").arg(forceUnit, lengthUnit);
    return QStringLiteral("%1/%2\u00b2").arg(forceUnit, lengthUnit);
}

QString FieldLayout::UnitOf(const Show& show, const QString& forceUnit,
                            const QString& lengthUnit) const {
    return Modes() ? QString() : UnitOf(show.Name, forceUnit, lengthUnit);
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
    if (show.From == Show::Source::Magnitude) {
        const size_t width = static_cast<size_t>(results.ComponentCount());
        std::vector<double> lengths;
        if (width == 0)
            return lengths;
        lengths.reserve(c.Displacements.size() / width);
        for (size_t first = 0; first + width <= c.Displacements.size(); first += width) {
            double sum = 0;
            for (size_t k = 0; k < width; ++k)
                sum += c.Displacements[first + k] * c.Displacements[first + k];
            lengths.push_back(std::sqrt(sum));
        }
        return lengths;
    }
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

std::vector<double> FieldLayout::ShapeValues(const ResultFile::Shapes& shapes, size_t shape,
                                             const Show& show) {
    std::vector<double> values;
    const size_t width = static_cast<size_t>(shapes.Components.size());
    const size_t column = static_cast<size_t>(show.Column);
    if (show.From != Show::Source::Component || shape >= shapes.List.size() || show.Column < 0 ||
        column >= width)
        return values;
    const std::vector<double>& all = shapes.List[shape].Displacements;
    values.reserve(all.size() / width);
    for (size_t at = column; at < all.size(); at += width)
        values.push_back(all[at]);
    return values;
}
