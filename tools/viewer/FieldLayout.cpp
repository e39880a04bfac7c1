#include "FieldLayout.h"

#include "ProblemType.h"

#include <algorithm>
#include <cmath>

namespace {

QStringList Names(const char* const* names, int count) {
    QStringList list;
    for (int k = 0; k < count; ++k)
        list << QLatin1String(names[k]);
    return list;
}

// The displacement components each mesh type moves in, as its solver writes them.
bool SetComponents(FieldLayout& layout, ProblemType::Mesh mesh) {
    static const char* const plateMotion[] = {"uz", "rx", "ry"};
    static const char* const shellMotion[] = {"ux", "uy", "uz", "rx", "ry", "rz"};
    switch (mesh) {
    case ProblemType::Mesh::PlaneStress:
    case ProblemType::Mesh::PlaneStrain:
        layout.Components = {QStringLiteral("ux"), QStringLiteral("uz")};
        return true;
    case ProblemType::Mesh::Revolution:
        layout.Components = {QStringLiteral("ur"), QStringLiteral("uz")};
        return true;
    case ProblemType::Mesh::Profile:
        layout.Kind = ResultFile::Kind::Torsion;
        layout.Components = {QStringLiteral("w")};
        return true;
    case ProblemType::Mesh::Plate:
        layout.Components = Names(plateMotion, 3);
        return true;
    case ProblemType::Mesh::Shell:
        layout.Components = Names(shellMotion, 6);
        return true;
    case ProblemType::Mesh::Solid:
        layout.Components = {QStringLiteral("ux"), QStringLiteral("uy"), QStringLiteral("uz")};
        return true;
    default:
        return false;
    }
}

// The two principal values and the angle the crosses draw, when the file holds all three: a
// plate's moments, the plane types' stresses. Forces in a shell element's own axes and the
// three principal stresses of a solid have no cross worth drawing.
QStringList PrincipalOf(ProblemType::Mesh mesh, const ResultLayout& columns) {
    if (mesh == ProblemType::Mesh::Shell || mesh == ProblemType::Mesh::Solid ||
        mesh == ProblemType::Mesh::Profile)
        return {};
    const QStringList names =
        mesh == ProblemType::Mesh::Plate
            ? QStringList{QStringLiteral("m1"), QStringLiteral("m2"), QStringLiteral("angle")}
            : QStringList{QStringLiteral("s1"), QStringLiteral("s2"), QStringLiteral("angle")};
    for (const QString& name : names)
        if (columns.IndexOf(name) < 0)
            return {};
    return names;
}

FieldLayout::Show ComponentShow(const QString& name, const QString& title, int column) {
    return {name, title, FieldLayout::Show::Source::Component, column,
            ResultLayout::OfComponent(name)};
}

} // namespace

std::optional<FieldLayout> FieldLayout::Of(const ProblemType& type, bool dynamics,
                                           const ResultLayout& columns) {
    FieldLayout layout;
    layout.Type = &type;
    const ProblemType::Mesh mesh = type.Meshes;
    using Source = Show::Source;
    if (dynamics) {
        // Of the meshes only a plate has natural modes: its shape as contours of each
        // component, the deflection first.
        if (mesh != ProblemType::Mesh::Plate)
            return std::nullopt;
        SetComponents(layout, mesh);
        layout.Kind = ResultFile::Kind::Modes;
        for (int k = 0; k < layout.Components.size(); ++k)
            layout.Shows.push_back(ComponentShow(
                layout.Components[k], QStringLiteral("Mode shape ") + layout.Components[k], k));
        return layout;
    }
    if (!SetComponents(layout, mesh))
        return std::nullopt;
    // The fields are the file's own columns, with the titles and quantities it gives them.
    layout.Stresses = columns;
    layout.Principal = PrincipalOf(mesh, columns);
    const auto stressShow = [&columns](int k) {
        const ResultColumn& column = columns[k];
        return Show{column.Name, column.Title, Source::Stress, k, column.What};
    };
    if (layout.Torsion()) {
        // A profile does not move in its plane: its fields are the shear stresses and the
        // warping, the resultant first.
        const int tau = columns.IndexOf(QStringLiteral("tau"));
        if (tau >= 0)
            layout.Shows.push_back(stressShow(tau));
        for (int k = 0; k < columns.Count(); ++k)
            if (k != tau)
                layout.Shows.push_back(stressShow(k));
        layout.Shows.push_back(ComponentShow(QStringLiteral("w"), QStringLiteral("Warping w"), 0));
        return layout;
    }
    // A plate moves across its plane, which a drawing in plan cannot show but by the
    // contours of its deflection: they come first instead of the deformed shape.
    if (mesh == ProblemType::Mesh::Plate)
        layout.Shows.push_back(
            ComponentShow(QStringLiteral("uz"), QStringLiteral("Deflection uz"), 0));
    else
        layout.Shows.push_back({QString(), QStringLiteral("Deformed shape"), Source::Deformed, 0});
    for (int k = 0; k < columns.Count(); ++k)
        layout.Shows.push_back(stressShow(k));
    // The rest of the motion of plates and shells, each as its own field.
    if (mesh == ProblemType::Mesh::Plate || mesh == ProblemType::Mesh::Shell ||
        mesh == ProblemType::Mesh::Solid) {
        for (int k = 0; k < layout.Components.size(); ++k) {
            const QString& name = layout.Components[k];
            if (mesh == ProblemType::Mesh::Plate && k == 0)
                continue;
            layout.Shows.push_back(
                ComponentShow(name,
                              (name.startsWith(u'r') ? QStringLiteral("Rotation ")
                                                     : QStringLiteral("Displacement ")) +
                                  name,
                              k));
        }
    }
    if (mesh == ProblemType::Mesh::Solid)
        layout.Shows.push_back({QStringLiteral("u"), QStringLiteral("Displacement magnitude |u|"),
                                Source::Magnitude, 0, ResultColumn::Quantity::Length});
    return layout;
}

bool FieldLayout::Flat() const {
    return Type->Meshes == ProblemType::Mesh::Plate;
}

bool FieldLayout::Space() const {
    return Type->Meshes == ProblemType::Mesh::Shell;
}

bool FieldLayout::Solid() const {
    return Type->Meshes == ProblemType::Mesh::Solid;
}

QString FieldLayout::UnitOf(const Show& show, const QString& forceUnit,
                            const QString& lengthUnit) const {
    return Modes() ? QString() : ResultLayout::UnitOf(show.What, forceUnit, lengthUnit);
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

std::vector<double> FieldLayout::ComponentValues(const std::vector<double>& all, qsizetype width,
                                                 const Show& show) {
    std::vector<double> values;
    const size_t w = static_cast<size_t>(width);
    const size_t column = static_cast<size_t>(show.Column);
    if (show.From != Show::Source::Component || show.Column < 0 || column >= w)
        return values;
    values.reserve(all.size() / w);
    for (size_t at = column; at < all.size(); at += w)
        values.push_back(all[at]);
    return values;
}

std::vector<double> FieldLayout::PeakValues(const ResultFile::Contents& contents,
                                            const ViewerResults::ForcedEntry& entry,
                                            const Show& show) {
    std::vector<double> values;
    const auto& list = contents.Vibrations.List;
    const size_t width = static_cast<size_t>(contents.Modes.Components.size());
    if (entry.Excitation >= list.size() || show.From != Show::Source::Component ||
        show.Column < 0 || static_cast<size_t>(show.Column) >= width)
        return values;
    const std::vector<double>& peaks = list[entry.Excitation].NodePeaks;
    const size_t nodes = static_cast<size_t>(contents.Modes.Nodes);
    // A history's four numbers per value (largest, its instant, smallest, its instant); a
    // spectrum's one.
    const bool history = entry.View != ViewerResults::ForcedView::Peaks;
    const size_t stride = history ? 4 : 1;
    const size_t offset = entry.View == ViewerResults::ForcedView::Min ? 2 : 0;
    if (peaks.size() != nodes * width * stride)
        return values;
    values.reserve(nodes);
    for (size_t n = 0; n < nodes; ++n)
        values.push_back(peaks[(n * width + static_cast<size_t>(show.Column)) * stride + offset]);
    return values;
}

std::vector<double> FieldLayout::ShapeValues(const ResultFile::Shapes& shapes, size_t shape,
                                             const Show& show) {
    if (shape >= shapes.List.size())
        return {};
    return ComponentValues(shapes.List[shape].Displacements, shapes.Components.size(), show);
}

std::vector<double> FieldLayout::NodeValues(const FieldResults& results,
                                            const FieldResults::Envelope& envelope, bool largest,
                                            const Show& show) {
    if (show.From != Show::Source::Magnitude)
        return NodeValues(results, largest ? envelope.Max : envelope.Min, show);
    std::vector<double> bound;
    for (int number : envelope.Combinations) {
        for (const FieldResults::Case& c : results.Combinations) {
            if (c.Number != number)
                continue;
            const std::vector<double> values = NodeValues(results, c, show);
            if (bound.empty())
                bound = values;
            for (size_t k = 0; k < values.size() && k < bound.size(); ++k)
                bound[k] = largest ? std::max(bound[k], values[k]) : std::min(bound[k], values[k]);
        }
    }
    return bound;
}
