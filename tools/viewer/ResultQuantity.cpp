#include "ResultQuantity.h"

namespace {

using Where = ResultColumn::Where;

// The column at end j that goes with column `i`: the first of its title and quantity not yet
// taken; -1 when there is none.
int EndJOf(const ResultLayout& forces, int i, const std::vector<bool>& taken) {
    for (int k = 0; k < forces.Count(); ++k) {
        const ResultColumn& j = forces[k];
        if (j.At == Where::EndJ && !taken[static_cast<size_t>(k)] && j.Title == forces[i].Title &&
            j.What == forces[i].What)
            return k;
    }
    return -1;
}

// The name the two ends share ("M" of "Mi" and "Mj"), else that of end i.
QString SharedName(const QString& i, const QString& j) {
    if (i.size() == j.size() && i.size() > 1 && i.chopped(1) == j.chopped(1))
        return i.chopped(1);
    return i;
}

// Where the diagram of `q` is drawn and how a load bends it, by the force it is.
void SetSide(ResultQuantity& q, const ProblemType& type) {
    if (type.Kind == ProblemType::Family::AxisymmetricShells) {
        // Moments put the side of the wall's normal (right of i -> j) in tension when positive
        // and are drawn there; forces go to the other side. The end values are those of the
        // solver; between them the diagram is straight.
        q.Side = {0, 0, q.Moment() ? -1.0 : 1.0};
    } else if (type.Lies == ProblemType::Layout::PlaneXZ) {
        // M sagging positive, drawn on the right of i -> j: below a bar drawn rightwards.
        q.Side = {0, 0, q.Name == QLatin1String("M") ? -1.0 : 1.0};
        if (q.Name == QLatin1String("M"))
            q.BulgeAxis = 2, q.BulgeSign = -1;
    } else if (type.Lies == ProblemType::Layout::Grillage) {
        q.GlobalSide = true;
        q.Side = {0, 0, q.Name == QLatin1String("M") ? -1.0 : 1.0};
        if (q.Name == QLatin1String("M"))
            q.BulgeAxis = 2, q.BulgeSign = -1;
    } else {
        // Space frames: My puts +z in tension, Mz the side of -y.
        if (q.Name == QLatin1String("Vy"))
            q.Side = {0, 1, 0};
        else if (q.Name == QLatin1String("Mz"))
            q.Side = {0, -1, 0}, q.BulgeAxis = 1, q.BulgeSign = -1;
        else if (q.Name == QLatin1String("My"))
            q.BulgeAxis = 2, q.BulgeSign = 1;
    }
}

} // namespace

std::vector<ResultQuantity> ResultQuantity::For(const ResultLayout& forces,
                                                const ProblemType& type) {
    std::vector<ResultQuantity> list;
    std::vector<bool> taken(static_cast<size_t>(forces.Count()), false);
    for (int c = 0; c < forces.Count(); ++c) {
        const ResultColumn& column = forces[c];
        ResultQuantity q;
        q.Name = column.Name;
        q.Title = column.Title;
        q.What = column.What;
        q.ColumnI = q.ColumnJ = c;
        if (column.At == Where::Centre) {
            // A truss bar's normal force: the same along the bar, drawn as a band.
            list.push_back(q);
            continue;
        }
        if (column.At != Where::EndI)
            continue;
        q.ColumnJ = EndJOf(forces, c, taken);
        if (q.ColumnJ < 0)
            continue;
        taken[static_cast<size_t>(q.ColumnJ)] = true;
        q.Name = SharedName(column.Name, forces[q.ColumnJ].Name);
        SetSide(q, type);
        list.push_back(q);
    }
    return list;
}
