#include "TorsionReport.h"

#include "MeshModel.h"
#include "StaticReport.h"

#include <QJsonArray>
#include <cmath>

namespace {

QJsonArray Rows(const std::vector<double>& values, int width) {
    QJsonArray rows;
    const size_t count = values.size() / static_cast<size_t>(width);
    for (size_t row = 0; row < count; ++row) {
        QJsonArray line{static_cast<int>(row) + 1};
        for (int v = 0; v < width; ++v)
            line.append(values[row * static_cast<size_t>(width) + static_cast<size_t>(v)]);
        rows.append(line);
    }
    return rows;
}

// A headline value: six digits, as a table of section values gives them. A coordinate that
// is rounding next to the profile's size (`scale`) is 0.
QString Value(double value, double scale = 0) {
    return QString::number(std::abs(value) <= 1e-12 * scale ? 0.0 : value, 'g', 6);
}

QString Heading(const QString& first, const QStringList& names, const QString& unit) {
    QString line = first.leftJustified(8);
    for (const QString& name : names)
        line += (name + QStringLiteral(" [") + unit + u']').rightJustified(13);
    return line + u'\n';
}

} // namespace

QJsonObject TorsionReport::Json(const TorsionAnalysis::Answer& answer) {
    const FieldResults& results = answer.Results;
    const FieldResults::Torsion& t = *results.Twist;
    const FieldResults::Case& c = results.Cases.front();
    QJsonObject torsion{
        {QStringLiteral("moment"), t.Moment}, {QStringLiteral("G"), t.G},
        {QStringLiteral("J"), t.J},           {QStringLiteral("twist"), t.Twist},
        {QStringLiteral("tauMax"), t.TauMax}, {QStringLiteral("at"), QJsonArray{t.AtY, t.AtZ}}};
    if (answer.Extrapolated)
        torsion[QStringLiteral("meshJ")] = answer.MeshJ;
    // The stresses there grow with every division of the mesh: they say where, not how much.
    if (!answer.Corners.empty()) {
        QJsonArray corners;
        for (const TorsionAnalysis::CornerStress& corner : answer.Corners)
            corners.append(QJsonObject{{QStringLiteral("node"), corner.Corner.Node + 1},
                                       {QStringLiteral("angle"), corner.Corner.Angle},
                                       {QStringLiteral("tau"), corner.Tau},
                                       {QStringLiteral("at"), QJsonArray{corner.AtY, corner.AtZ}},
                                       {QStringLiteral("meshDependent"), true}});
        torsion[QStringLiteral("reentrantCorners")] = corners;
    }
    return {{QStringLiteral("torsion"), torsion},
            {QStringLiteral("stresses"), Rows(c.Stresses, results.StressCount())},
            {QStringLiteral("nodeStresses"), Rows(c.NodeStresses, results.StressCount())}};
}

namespace {

// The units of the protocol, and the size of the profile that coordinates are rounded to.
struct Units {
    QString Force, Length, Stress;
    double Size = 0;
};

void AppendHeader(QString& text, const MeshModel& model, const TorsionAnalysis::Answer& answer,
                  const Units& units) {
    const FieldResults& results = answer.Results;
    const TorsionMesh::Profile& p = answer.Profile;
    const QString& force = units.Force;
    const QString& length = units.Length;
    const QString& stress = units.Stress;
    text += QStringLiteral("Saint-Venant torsion of a profile: %1\n").arg(model.Title);
    text += QStringLiteral("Nodes %1, elements %2 (%3 quadrilaterals, %4 triangles), holes %5\n")
                .arg(results.Nodes)
                .arg(results.Elements)
                .arg(p.Quadrilaterals)
                .arg(p.Triangles)
                .arg(p.Holes);
    if (p.Reversed > 0)
        text += QStringLiteral("%1 elements have their corners clockwise; they are taken "
                               "counter-clockwise.\n")
                    .arg(p.Reversed);
    text += QStringLiteral("Units: forces in %1, lengths in %2; J in %2^4, the rate of twist in "
                           "rad/%2, stresses in %3, the warping per unit twist in %2^2.\n")
                .arg(force, length, stress);
    text += QStringLiteral("Axes: y to the right, z upwards, x towards the viewer; the moment "
                           "turns counter-clockwise seen from +x. txy acts along y, txz along "
                           "z.\n\n");
}

void AppendConstants(QString& text, const TorsionAnalysis::Answer& answer, const Units& units) {
    const FieldResults::Torsion& t = *answer.Results.Twist;
    const TorsionMesh::Profile& p = answer.Profile;
    const QString& force = units.Force;
    const QString& length = units.Length;
    const QString& stress = units.Stress;
    const double size = units.Size;
    text += QStringLiteral("Area A                        %1 %2^2\n").arg(Value(p.Area), length);
    text += QStringLiteral("Centroid                      y = %1, z = %2 %3\n")
                .arg(Value(p.Centroid.x(), size), Value(p.Centroid.y(), size), length);
    text += QStringLiteral("Polar moment Ip (centroid)    %1 %2^4\n")
                .arg(Value(answer.PolarMoment), length);
    text += QStringLiteral("Twisting moment T             %1 %2*%3\n")
                .arg(Value(t.Moment), force, length);
    text += QStringLiteral("Shear modulus G               %1 %2 (material %3)\n")
                .arg(Value(t.G), stress)
                .arg(p.ReferenceMaterial + 1);
    if (p.Materials > 1)
        text += QStringLiteral("                              the profile has %1 materials of "
                               "different G: each element counts with its G over this one, so "
                               "that G J is the torsional stiffness of the whole profile and "
                               "Ip is weighted the same way\n")
                    .arg(p.Materials);
    text += QStringLiteral("Torsion constant J            %1 %2^4\n").arg(Value(t.J), length);
    text += QStringLiteral("Torsional stiffness G J       %1 %2*%3^2\n")
                .arg(Value(t.G * t.J), force, length);
    text += QStringLiteral("Rate of twist T / (G J)       %1 rad/%2\n").arg(Value(t.Twist), length);
    text += QStringLiteral("Largest shear stress tau      %1 %2 at y = %3, z = %4 %5%6\n\n")
                .arg(Value(t.TauMax), stress, Value(t.AtY, size), Value(t.AtZ, size), length,
                     answer.Corners.empty() ? QString()
                                            : QStringLiteral(", away from re-entrant corners"));
}

void AppendCorners(QString& text, const TorsionAnalysis::Answer& answer, const Units& units) {
    const QString& length = units.Length;
    const QString& stress = units.Stress;
    const double size = units.Size;
    if (answer.Corners.empty())
        return;
    text += QStringLiteral("Re-entrant corners: the stress there is infinite in theory, so "
                           "the stress near each (within half its shortest element side) "
                           "depends on the mesh and grows as it is refined. On the finest "
                           "mesh:\n");
    text += QStringLiteral("    Node   angle [deg]") +
            (QStringLiteral("tau [") + stress + u']').rightJustified(16) +
            QStringLiteral("  at y, z [%1]\n").arg(length);
    for (const TorsionAnalysis::CornerStress& corner : answer.Corners)
        text += QStringLiteral("%1 %2 %3  %4, %5\n")
                    .arg(corner.Corner.Node + 1, 8)
                    .arg(Value(corner.Corner.Angle), 13)
                    .arg(Value(corner.Tau), 16)
                    .arg(Value(corner.AtY, size), Value(corner.AtZ, size));
    text += u'\n';
}

void AppendLevels(QString& text, const TorsionAnalysis::Answer& answer, const Units& units) {
    const QString& length = units.Length;
    const QString& stress = units.Stress;
    text += QStringLiteral("J on meshes divided evenly (the answers are those of the last):\n");
    text += QStringLiteral("Division        Nodes     Elements            J [%1^4]").arg(length) +
            (QStringLiteral("tau max [") + stress + u']').rightJustified(22) + u'\n';
    for (const TorsionAnalysis::Level& level : answer.Levels)
        text += QStringLiteral("%1 %2 %3 %4 %5\n")
                    .arg(QStringLiteral("%1 x %1").arg(level.Division), -9)
                    .arg(level.Nodes, 12)
                    .arg(level.Elements, 12)
                    .arg(QString::number(level.J, 'g', 10), 20)
                    .arg(QString::number(level.TauMax, 'g', 8), 21);
    if (answer.Extrapolated)
        text += QStringLiteral("J falls ever more slowly towards its limit at the re-entrant "
                               "corners; J is the limit the last meshes point to (the finest "
                               "gives %1), estimated within %2 of itself of the exact J of the "
                               "profile as meshed (from the changes of that limit).\n")
                    .arg(Value(answer.MeshJ))
                    .arg(answer.ErrorEstimate, 0, 'g', 2);
    else
        text +=
            QStringLiteral("J is estimated to lie within %1 of itself of the exact J of the "
                           "profile as meshed (%2).\n")
                .arg(answer.ErrorEstimate, 0, 'g', 2)
                .arg(answer.EstimatedFromStresses ? QStringLiteral("from the stresses of the mesh")
                                                  : QStringLiteral("from the changes of J"));
    text += QStringLiteral("Check: |K w - f| is %1 of the loads; the stresses carry the twisting "
                           "moment to %2 of it.\n")
                .arg(answer.Residual, 0, 'g', 2)
                .arg(answer.MomentError, 0, 'g', 2);
}

void AppendTables(QString& text, const FieldResults& results, const Units& units) {
    const QString& length = units.Length;
    const QString& stress = units.Stress;
    const FieldResults::Case& c = results.Cases.front();
    text += QStringLiteral("\nStresses in the elements (mean over each element)\n");
    text += Heading(QStringLiteral("Element"), results.Columns.Names(), stress);
    for (int e = 0; e < results.Elements; ++e)
        StaticReport::AppendLine(text, e + 1, c.Stresses.data() + 3 * static_cast<size_t>(e), 3);
    text += QStringLiteral("\nWarping per unit twist and stresses at the nodes (the average of "
                           "the elements around each)\n");
    QString heading = Heading(QStringLiteral("Node"), results.Columns.Names(), stress);
    heading.insert(8, (QStringLiteral("w [") + length + QStringLiteral("^2]")).rightJustified(13));
    text += heading;
    for (int n = 0; n < results.Nodes; ++n) {
        const double values[4] = {c.Displacements[static_cast<size_t>(n)],
                                  c.NodeStresses[3 * static_cast<size_t>(n)],
                                  c.NodeStresses[3 * static_cast<size_t>(n) + 1],
                                  c.NodeStresses[3 * static_cast<size_t>(n) + 2]};
        StaticReport::AppendLine(text, n + 1, values, 4);
    }
}

} // namespace

QString TorsionReport::Protocol(const MeshModel& model, const TorsionAnalysis::Answer& answer) {
    const FieldResults& results = answer.Results;
    const TorsionMesh::Profile& p = answer.Profile;
    Units units;
    units.Force = model.ForceUnit;
    units.Length = model.LengthUnit;
    units.Stress = units.Force + u'/' + units.Length + QStringLiteral("^2");
    units.Size = std::sqrt(std::abs(p.Area)) + p.Centroid.norm();
    QString text;
    text.reserve((results.Nodes + results.Elements) * 64 + 4096);
    AppendHeader(text, model, answer, units);
    AppendConstants(text, answer, units);
    AppendCorners(text, answer, units);
    AppendLevels(text, answer, units);
    AppendTables(text, results, units);
    return text;
}
