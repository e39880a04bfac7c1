#include "SolidMesh.h"

#include "Parallel.h"
#include "RepeatedElement.h"
#include "SolidElements.h"
#include "SolverError.h"

#include <atomic>

namespace {

QString KindOf(int count) {
    return count == 8   ? QStringLiteral("brick")
           : count == 6 ? QStringLiteral("wedge")
                        : QStringLiteral("tetrahedron");
}

void CheckRepeated(const MeshModel& model) {
    const RepeatedElement::Pair repeated = RepeatedElement::Find(
        model.Cells.size(), [&model](size_t c) { return model.Cells[c].Nodes(); });
    if (repeated.Later >= 0)
        throw SolverError::AtLine(
            model.Cells[static_cast<size_t>(repeated.Later)].Line,
            RepeatedElement::Fault(repeated,
                                   model.Cells[static_cast<size_t>(repeated.Earlier)].Line));
}

} // namespace

std::vector<Eigen::Vector3d> SolidMesh::Points(const MeshModel& model,
                                               const MeshModel::Cell& cell) {
    std::vector<Eigen::Vector3d> points;
    points.reserve(static_cast<size_t>(cell.Count));
    for (int node : cell.Nodes()) {
        const auto& at = model.Nodes[static_cast<size_t>(node)];
        points.emplace_back(at[0], at[1], at[2]);
    }
    return points;
}

void SolidMesh::Check(const MeshModel& model) {
    const auto shapeOf = [&](size_t e) {
        return SolidElement::Classify(Points(model, model.Cells[e])).Shape;
    };
    const auto unsound = [](SolidShape shape) {
        return shape == SolidShape::Inverted || shape == SolidShape::Degenerate;
    };
    // The first unsound element, looked for on every core.
    std::atomic<size_t> first{model.Cells.size()};
    Parallel::ForRanges(model.Cells.size(), Parallel::Cores(), 2048,
                        [&](size_t, size_t begin, size_t end) {
                            for (size_t e = begin; e < end && e < first; ++e)
                                if (unsound(shapeOf(e))) {
                                    size_t known = first;
                                    while (e < known && !first.compare_exchange_weak(known, e)) {
                                    }
                                    return;
                                }
                        });
    const size_t e = first;
    if (e == model.Cells.size()) {
        CheckRepeated(model);
        return;
    }
    const MeshModel::Cell& cell = model.Cells[e];
    if (shapeOf(e) == SolidShape::Inverted)
        throw SolverError::AtLine(cell.Line,
                                  QStringLiteral("element %1, a %2, is turned inside out: its "
                                                 "volume changes sign inside it (a negative "
                                                 "Jacobian); check the order of its corners")
                                      .arg(e + 1)
                                      .arg(KindOf(cell.Count)));
    throw SolverError::AtLine(cell.Line, QStringLiteral("element %1, a %2, has no volume: its "
                                                        "corners lie in one plane or coincide")
                                             .arg(e + 1)
                                             .arg(KindOf(cell.Count)));
}
