#include "SurfaceMesh.h"

#include "PlaneMesh.h"
#include "RepeatedElement.h"
#include "ScalarField.h"

#include <Eigen/Dense>
#include <algorithm>

namespace {

using Vector3 = Eigen::Vector3d;

// The plate seen as a plane mesh in x-y.
SurfaceMesh::Checked CheckPlate(const MeshModel& model) {
    PlaneMesh::Checked checked = PlaneMesh::Check(model);
    SurfaceMesh::Checked result;
    result.Corners = std::move(checked.Corners);
    result.Fault = checked.Fault;
    return result;
}

Vector3 Point(const MeshModel& model, int node) {
    const auto& at = model.Nodes[static_cast<size_t>(node)];
    return {at[0], at[1], at[2]};
}

} // namespace

SurfaceMesh::Checked SurfaceMesh::Check(const MeshModel& model) {
    if (model.Kind == ProblemType::Mesh::Plate)
        return CheckPlate(model);
    Checked checked;
    checked.Corners.reserve(model.Cells.size());
    for (size_t e = 0; e < model.Cells.size(); ++e) {
        const MeshModel::Cell& cell = model.Cells[e];
        const int element = static_cast<int>(e) + 1;
        const int count = cell.Count;
        std::array<Vector3, 4> points;
        double size = 0;
        for (int a = 0; a < count; ++a) {
            const int node = cell.Corners[static_cast<size_t>(a)];
            points[static_cast<size_t>(a)] = Point(model, node);
            for (int b = 0; b < a; ++b) {
                if (node == cell.Corners[static_cast<size_t>(b)]) {
                    checked.Fault = {cell.Line, QStringLiteral("node %1 is named twice among the "
                                                               "corners of element %2")
                                                    .arg(node + 1)
                                                    .arg(element)};
                    return checked;
                }
                size = std::max(
                    size, (points[static_cast<size_t>(a)] - points[static_cast<size_t>(b)]).norm());
            }
        }
        // The mean plane: through the centre, normal to the diagonals (a triangle's own plane).
        const Vector3 normal = count == 3
                                   ? Vector3((points[1] - points[0]).cross(points[2] - points[0]))
                                   : Vector3((points[2] - points[0]).cross(points[3] - points[1]));
        if (!(normal.norm() > 1e-10 * size * size)) {
            checked.Fault = {
                cell.Line,
                QStringLiteral("element %1 has no area: its corners lie on one line").arg(element)};
            return checked;
        }
        const Vector3 n = normal.normalized();
        Vector3 centre = Vector3::Zero();
        for (int a = 0; a < count; ++a)
            centre += points[static_cast<size_t>(a)] / count;
        const Vector3 x = (points[1] - points[0] - (points[1] - points[0]).dot(n) * n).normalized();
        const Vector3 y = n.cross(x);
        std::array<ScalarField::Point, 4> plane;
        double warp = 0;
        for (int a = 0; a < count; ++a) {
            const Vector3 d = points[static_cast<size_t>(a)] - centre;
            plane[static_cast<size_t>(a)] = {d.dot(x), d.dot(y)};
            warp = std::max(warp, std::abs(d.dot(n)));
        }
        const ScalarField::ShapeVerdict verdict =
            ScalarField::Check({plane.data(), static_cast<size_t>(count)});
        // Seen along its own normal a sound cell always runs counter-clockwise.
        if (verdict.Kind != ScalarField::Shape::Sound) {
            const int node =
                verdict.Corner >= 0 ? cell.Corners[static_cast<size_t>(verdict.Corner)] + 1 : 0;
            checked.Fault = {cell.Line, PlaneMesh::ShapeFault(verdict, element, node)};
            return checked;
        }
        if (count == 4) {
            const double relative = warp / std::sqrt(normal.norm() / 2);
            if (relative > WarpTolerance)
                checked.Warnings << QStringLiteral(
                                        "Line %1: element %2 is warped: a corner lies %3 % of its "
                                        "size off its mean plane; it is calculated flat on that "
                                        "plane, so divide it into triangles or finer elements if "
                                        "that is too coarse")
                                        .arg(cell.Line)
                                        .arg(element)
                                        .arg(100 * relative, 0, 'f', 1);
        }
        checked.Corners.push_back(
            {cell.Corners[0], cell.Corners[1], cell.Corners[2], cell.Corners[3]});
    }
    const RepeatedElement::Pair repeated = RepeatedElement::Find(model.Cells.size(), [&](size_t e) {
        return std::span<const int>(model.Cells[e].Corners.data(),
                                    static_cast<size_t>(model.Cells[e].Count));
    });
    if (repeated.Later >= 0)
        checked.Fault = {model.Cells[static_cast<size_t>(repeated.Later)].Line,
                         RepeatedElement::Fault(
                             repeated, model.Cells[static_cast<size_t>(repeated.Earlier)].Line)};
    return checked;
}
