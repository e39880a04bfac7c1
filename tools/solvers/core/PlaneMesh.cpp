#include "PlaneMesh.h"

#include <algorithm>
#include <cmath>

namespace {

using Point = std::array<double, 2>;

double Cross(const Point& a, const Point& b, const Point& c) {
    return (b[0] - a[0]) * (c[1] - b[1]) - (b[1] - a[1]) * (c[0] - b[0]);
}

QString Refusal(const ContinuumModel::Cell& cell, int element, const QString& what) {
    return QStringLiteral("Line %1: element %2 %3").arg(cell.Line).arg(element + 1).arg(what);
}

} // namespace

PlaneMesh::Checked PlaneMesh::Check(const ContinuumModel& model) {
    Checked checked;
    checked.Corners.reserve(model.Cells.size());
    for (size_t e = 0; e < model.Cells.size(); ++e) {
        const ContinuumModel::Cell& cell = model.Cells[e];
        const int count = cell.Count;
        std::array<int, 4> corners = cell.Corners;
        std::array<Point, 4> p{};
        double size = 0;
        for (int a = 0; a < count; ++a) {
            for (int b = 0; b < a; ++b) {
                if (corners[static_cast<size_t>(a)] == corners[static_cast<size_t>(b)]) {
                    checked.Error = Refusal(cell, static_cast<int>(e),
                                            QStringLiteral("names node %1 twice")
                                                .arg(corners[static_cast<size_t>(a)] + 1));
                    return checked;
                }
            }
            p[static_cast<size_t>(a)] =
                model.Nodes[static_cast<size_t>(corners[static_cast<size_t>(a)])];
        }
        for (int a = 0; a < count; ++a) {
            const Point& q = p[static_cast<size_t>(a)];
            const Point& r = p[static_cast<size_t>((a + 1) % count)];
            size = std::max(size, std::hypot(r[0] - q[0], r[1] - q[1]));
        }
        for (int a = 0; a < count; ++a) {
            for (int b = 0; b < a; ++b) {
                const Point& q = p[static_cast<size_t>(a)];
                const Point& r = p[static_cast<size_t>(b)];
                if (std::hypot(r[0] - q[0], r[1] - q[1]) <= 1e-9 * size) {
                    checked.Error = Refusal(
                        cell, static_cast<int>(e),
                        QStringLiteral("has its corners %1 and %2 (nodes %3 and %4) at one point")
                            .arg(b + 1)
                            .arg(a + 1)
                            .arg(corners[static_cast<size_t>(b)] + 1)
                            .arg(corners[static_cast<size_t>(a)] + 1));
                    return checked;
                }
            }
        }
        // The turn at each corner: all of one sign for a convex cell, the sign its direction.
        // A turn below this share of the largest edge squared counts as none.
        const double flat = 1e-9 * size * size;
        int left = 0, right = 0;
        for (int a = 0; a < count; ++a) {
            const double turn =
                Cross(p[static_cast<size_t>(a)], p[static_cast<size_t>((a + 1) % count)],
                      p[static_cast<size_t>((a + 2) % count)]);
            left += turn > flat ? 1 : 0;
            right += turn < -flat ? 1 : 0;
        }
        if (left != count && right != count) {
            const bool none = count == 3 || (left == 0 && right == 0);
            checked.Error = Refusal(
                cell, static_cast<int>(e),
                none ? QStringLiteral("has no area: its corners lie on one line")
                     : QStringLiteral("is not convex, or its corners are not given in order "
                                      "around it (an inverted or crossed element)"));
            return checked;
        }
        if (right == count)
            std::reverse(corners.begin(), corners.begin() + count);
        checked.Corners.push_back(corners);
    }
    return checked;
}
