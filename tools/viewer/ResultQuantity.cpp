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

// Where the diagram of `q` is drawn and which section force it is.
void SetSide(ResultQuantity& q, const ProblemType& type) {
    const auto is = [&](const char* name) { return q.Name == QLatin1String(name); };
    const auto component = [&](int which, double sign) { q.Component = which, q.Sign = sign; };
    if (type.Kind == ProblemType::Family::AxisymmetricShells) {
        // Moments put the side of the wall's normal (right of i -> j) in tension when positive
        // and are drawn there; forces go to the other side. The end values are those of the
        // solver; between them the diagram is straight.
        q.Side = {0, 0, q.Moment() ? -1.0 : 1.0};
    } else if (type.Lies == ProblemType::Layout::PlaneXZ) {
        // M sagging positive, drawn on the right of i -> j: below a bar drawn rightwards.
        // N = Fx, V = -Fz, M = -My of the section.
        q.Side = {0, 0, is("M") ? -1.0 : 1.0};
        if (is("N"))
            component(0, 1);
        else if (is("V"))
            component(2, -1);
        else if (is("M"))
            component(4, -1);
    } else if (type.Lies == ProblemType::Layout::Grillage) {
        // V = -Fz, T = Mx, M = -My of the section.
        q.GlobalSide = true;
        q.Side = {0, 0, is("M") ? -1.0 : 1.0};
        if (is("V"))
            component(2, -1);
        else if (is("T"))
            component(3, 1);
        else if (is("M"))
            component(4, -1);
    } else {
        // Space frames give the section forces as they are. My puts +z in tension, Mz the
        // side of -y.
        const char* names[] = {"N", "Vy", "Vz", "T", "My", "Mz"};
        for (int k = 0; k < 6; ++k)
            if (is(names[k]))
                component(k, 1);
        if (is("Vy"))
            q.Side = {0, 1, 0};
        else if (is("Mz"))
            q.Side = {0, -1, 0};
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
