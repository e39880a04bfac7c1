#include "PlaneMesh.h"

#include "RepeatedElement.h"
#include "ScalarField.h"
#include "SolverError.h"

#include <algorithm>

QString PlaneMesh::ShapeFault(const ScalarField::ShapeVerdict& verdict, int element, int node) {
    switch (verdict.Kind) {
    case ScalarField::Shape::NoArea:
        return QStringLiteral("element %1 has no area: its corners lie on one line").arg(element);
    case ScalarField::Shape::Twisted:
        return QStringLiteral("element %1 is twisted: its sides cross at node %2; give its "
                              "corners in order round the element")
            .arg(element)
            .arg(node);
    case ScalarField::Shape::NotConvex:
        return QStringLiteral("element %1 is not convex: its angle at node %2 is 180 degrees or "
                              "more; divide it into two triangles")
            .arg(element)
            .arg(node);
    default:
        return {};
    }
}

namespace {

// Each side belongs to one cell (the boundary) or to two that run it in opposite directions;
// two that run it the same way lie on top of each other.
CheckFault MatchSides(const std::vector<PlaneMesh::Cell>& cells,
                      std::vector<PlaneMesh::Side>& sides, std::vector<PlaneMesh::Side>& boundary,
                      int& distinct) {
    using PlaneMesh::Side;
    const auto lineOf = [&cells](int cell) { return cells[static_cast<size_t>(cell)].Line; };
    std::sort(sides.begin(), sides.end(), [](const Side& a, const Side& b) {
        return a.Key != b.Key ? a.Key < b.Key : a.Cell < b.Cell;
    });
    distinct = 0;
    for (size_t s = 0; s < sides.size();) {
        size_t end = s + 1;
        while (end < sides.size() && sides[end].Key == sides[s].Key)
            ++end;
        ++distinct;
        const Side& last = sides[end - 1];
        if (end - s > 2)
            return {lineOf(last.Cell),
                    QStringLiteral("the side from node %1 to node %2 belongs to more than two "
                                   "elements: %3, %4 and %5")
                        .arg(last.From + 1)
                        .arg(last.To + 1)
                        .arg(sides[s].Cell + 1)
                        .arg(sides[s + 1].Cell + 1)
                        .arg(last.Cell + 1)};
        if (end - s == 2 && sides[s].From == last.From)
            return {lineOf(last.Cell), QStringLiteral("element %1 overlaps element %2 (line %3) "
                                                      "across their side from node %4 to node %5")
                                           .arg(last.Cell + 1)
                                           .arg(sides[s].Cell + 1)
                                           .arg(lineOf(sides[s].Cell))
                                           .arg(last.From + 1)
                                           .arg(last.To + 1)};
        if (end - s == 1)
            boundary.push_back(sides[s]);
        s = end;
    }
    return {};
}

} // namespace

std::uint64_t PlaneMesh::SideKey(int a, int b) {
    const auto low = static_cast<std::uint64_t>(std::min(a, b));
    const auto high = static_cast<std::uint64_t>(std::max(a, b));
    return low << 32 | high;
}

PlaneMesh::Checked PlaneMesh::Check(const MeshModel& model) {
    std::vector<Cell> cells;
    cells.reserve(model.Cells.size());
    for (const MeshModel::Cell& cell : model.Cells)
        cells.push_back({{cell.Corners[0], cell.Corners[1], cell.Corners[2], cell.Corners[3]},
                         cell.Count,
                         cell.Line});
    return Check(model.Plan(), cells);
}

PlaneMesh::Checked PlaneMesh::Check(const std::vector<std::array<double, 2>>& nodes,
                                    const std::vector<Cell>& cells) {
    Checked checked;
    checked.Corners.reserve(cells.size());
    std::vector<Side> sides;
    sides.reserve(4 * cells.size());
    for (size_t e = 0; e < cells.size(); ++e) {
        const Cell& cell = cells[e];
        const int element = static_cast<int>(e) + 1;
        std::array<int, 4> corners = cell.Corners;
        std::array<ScalarField::Point, 4> points;
        for (int a = 0; a < cell.Count; ++a) {
            const auto& at = nodes[static_cast<size_t>(corners[static_cast<size_t>(a)])];
            points[static_cast<size_t>(a)] = {at[0], at[1]};
            for (int b = 0; b < a; ++b) {
                if (corners[static_cast<size_t>(a)] == corners[static_cast<size_t>(b)])
                    throw SolverError::AtLine(cell.Line,
                                              QStringLiteral("node %1 is named twice among the "
                                                             "corners of element %2")
                                                  .arg(corners[static_cast<size_t>(a)] + 1)
                                                  .arg(element));
            }
        }
        const ScalarField::ShapeVerdict verdict =
            ScalarField::Check({points.data(), static_cast<size_t>(cell.Count)});
        if (verdict.Kind == ScalarField::Shape::Clockwise) {
            std::reverse(corners.begin(), corners.begin() + cell.Count);
            ++checked.Reversed;
        } else if (verdict.Kind != ScalarField::Shape::Sound) {
            const int node =
                verdict.Corner >= 0 ? corners[static_cast<size_t>(verdict.Corner)] + 1 : 0;
            throw SolverError::AtLine(cell.Line, ShapeFault(verdict, element, node));
        }
        for (int a = 0; a < cell.Count; ++a) {
            const int from = corners[static_cast<size_t>(a)];
            const int to = corners[static_cast<size_t>((a + 1) % cell.Count)];
            sides.push_back({SideKey(from, to), static_cast<int>(e), from, to});
        }
        checked.Corners.push_back(corners);
    }
    const RepeatedElement::Pair repeated =
        RepeatedElement::Find(checked.Corners.size(), [&](size_t e) {
            return std::span<const int>(checked.Corners[e].data(),
                                        static_cast<size_t>(cells[e].Count));
        });
    if (repeated.Later >= 0)
        throw SolverError::AtLine(
            cells[static_cast<size_t>(repeated.Later)].Line,
            RepeatedElement::Fault(repeated, cells[static_cast<size_t>(repeated.Earlier)].Line));
    if (const CheckFault fault = MatchSides(cells, sides, checked.Boundary, checked.Sides);
        !fault.Message.isEmpty())
        throw SolverError::AtLine(fault.Line, fault.Message);
    return checked;
}
