#include "SurfaceMesh.h"

#include "PlaneMesh.h"
#include "RepeatedElement.h"
#include "ScalarField.h"
#include "SolverError.h"

#include <Eigen/Dense>
#include <algorithm>

namespace {

using Vector3 = Eigen::Vector3d;

// The plate seen as a plane mesh in x-y.
SurfaceMesh::Checked CheckPlate(const MeshModel& model) {
    PlaneMesh::Checked checked = PlaneMesh::Check(model);
    SurfaceMesh::Checked result;
    result.Corners = std::move(checked.Corners);
    return result;
}

Vector3 Point(const MeshModel& model, int node) {
    const auto& at = model.Nodes[static_cast<size_t>(node)];
    return {at[0], at[1], at[2]};
}

// A cell's corners in space and its largest distance between two of them; a fault when a node
// is named twice.
CheckFault CornerPoints(const MeshModel& model, const MeshModel::Cell& cell, int element,
                        std::array<Vector3, 4>& points, double& size) {
    size = 0;
    for (int a = 0; a < cell.Count; ++a) {
        const int node = cell.Corners[static_cast<size_t>(a)];
        points[static_cast<size_t>(a)] = Point(model, node);
        for (int b = 0; b < a; ++b) {
            if (node == cell.Corners[static_cast<size_t>(b)])
                return {cell.Line, QStringLiteral("node %1 is named twice among the corners of "
                                                  "element %2")
                                       .arg(node + 1)
                                       .arg(element)};
            size = std::max(
                size, (points[static_cast<size_t>(a)] - points[static_cast<size_t>(b)]).norm());
        }
    }
    return {};
}

// A cell seen on its mean plane: through the centre, normal to the diagonals (a triangle's own
// plane); its corners in that plane and how far the farthest lies off it.
struct MeanPlane {
    std::array<ScalarField::Point, 4> Corners;
    double Warp = 0;
};

MeanPlane OnMeanPlane(const std::array<Vector3, 4>& points, int count, const Vector3& normal) {
    const Vector3 n = normal.normalized();
    Vector3 centre = Vector3::Zero();
    for (int a = 0; a < count; ++a)
        centre += points[static_cast<size_t>(a)] / count;
    const Vector3 x = (points[1] - points[0] - (points[1] - points[0]).dot(n) * n).normalized();
    const Vector3 y = n.cross(x);
    MeanPlane plane;
    for (int a = 0; a < count; ++a) {
        const Vector3 d = points[static_cast<size_t>(a)] - centre;
        plane.Corners[static_cast<size_t>(a)] = {d.dot(x), d.dot(y)};
        plane.Warp = std::max(plane.Warp, std::abs(d.dot(n)));
    }
    return plane;
}

// One cell of a shell: its corners distinct, an area, a sound shape seen along its own normal
// (where a sound cell always runs counter-clockwise); a warning when a quadrilateral is warped.
CheckFault CheckCell(const MeshModel& model, size_t e, QStringList& warnings) {
    const MeshModel::Cell& cell = model.Cells[e];
    const int element = static_cast<int>(e) + 1;
    const int count = cell.Count;
    std::array<Vector3, 4> points;
    double size = 0;
    if (CheckFault fault = CornerPoints(model, cell, element, points, size);
        !fault.Message.isEmpty())
        return fault;
    const Vector3 normal = count == 3
                               ? Vector3((points[1] - points[0]).cross(points[2] - points[0]))
                               : Vector3((points[2] - points[0]).cross(points[3] - points[1]));
    if (!(normal.norm() > 1e-10 * size * size))
        return {cell.Line,
                QStringLiteral("element %1 has no area: its corners lie on one line").arg(element)};
    const MeanPlane plane = OnMeanPlane(points, count, normal);
    const ScalarField::ShapeVerdict verdict =
        ScalarField::Check({plane.Corners.data(), static_cast<size_t>(count)});
    if (verdict.Kind != ScalarField::Shape::Sound) {
        const int node =
            verdict.Corner >= 0 ? cell.Corners[static_cast<size_t>(verdict.Corner)] + 1 : 0;
        return {cell.Line, PlaneMesh::ShapeFault(verdict, element, node)};
    }
    if (count == 4) {
        const double relative = plane.Warp / std::sqrt(normal.norm() / 2);
        if (relative > SurfaceMesh::WarpTolerance)
            warnings << QStringLiteral("Line %1: element %2 is warped: a corner lies %3 % of its "
                                       "size off its mean plane; it is calculated flat on that "
                                       "plane, so divide it into triangles or finer elements if "
                                       "that is too coarse")
                            .arg(cell.Line)
                            .arg(element)
                            .arg(100 * relative, 0, 'f', 1);
    }
    return {};
}

} // namespace

SurfaceMesh::Checked SurfaceMesh::Check(const MeshModel& model) {
    if (model.Kind == ProblemType::Mesh::Plate)
        return CheckPlate(model);
    Checked checked;
    checked.Corners.reserve(model.Cells.size());
    for (size_t e = 0; e < model.Cells.size(); ++e) {
        if (const CheckFault fault = CheckCell(model, e, checked.Warnings);
            !fault.Message.isEmpty())
            throw SolverError::AtLine(fault.Line, fault.Message);
        const MeshModel::Cell& cell = model.Cells[e];
        checked.Corners.push_back(
            {cell.Corners[0], cell.Corners[1], cell.Corners[2], cell.Corners[3]});
    }
    const RepeatedElement::Pair repeated = RepeatedElement::Find(model.Cells.size(), [&](size_t e) {
        return std::span<const int>(model.Cells[e].Corners.data(),
                                    static_cast<size_t>(model.Cells[e].Count));
    });
    if (repeated.Later >= 0)
        throw SolverError::AtLine(
            model.Cells[static_cast<size_t>(repeated.Later)].Line,
            RepeatedElement::Fault(repeated,
                                   model.Cells[static_cast<size_t>(repeated.Earlier)].Line));
    return checked;
}
