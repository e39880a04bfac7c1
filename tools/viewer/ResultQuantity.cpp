#include "ResultQuantity.h"

namespace {

// The section forces of a shell of revolution, per unit length of the circumference.
QString ShellTitleOf(const QString& name) {
    if (name == QLatin1String("Ns"))
        return QStringLiteral("Meridional force Ns");
    if (name == QLatin1String("Nt"))
        return QStringLiteral("Hoop force Nt");
    if (name == QLatin1String("Ms"))
        return QStringLiteral("Meridional moment Ms");
    if (name == QLatin1String("Mt"))
        return QStringLiteral("Hoop moment Mt");
    if (name == QLatin1String("Q"))
        return QStringLiteral("Shear force Q");
    return {};
}

QString TitleOf(const QString& name) {
    if (name == QLatin1String("N"))
        return QStringLiteral("Normal force N");
    if (name.startsWith(u'V'))
        return QStringLiteral("Shear force ") + name;
    if (name == QLatin1String("T"))
        return QStringLiteral("Twisting moment T");
    return QStringLiteral("Bending moment ") + name;
}

} // namespace

std::vector<ResultQuantity> ResultQuantity::For(const QStringList& forceNames,
                                                ProblemType::Layout frame) {
    std::vector<ResultQuantity> list;
    using Frame = ProblemType::Layout;
    if (forceNames.size() == 1) {
        // A truss bar: one normal force, the same along the bar.
        ResultQuantity n;
        n.Name = forceNames[0];
        n.Title = TitleOf(n.Name);
        return {n};
    }
    const qsizetype half = forceNames.size() / 2;
    for (qsizetype c = 0; c < half; ++c) {
        // "Ni": a name and the end it belongs to.
        if (forceNames[c].size() < 2)
            continue;
        ResultQuantity q;
        q.Name = forceNames[c].chopped(1);
        q.Title = TitleOf(q.Name);
        q.ColumnI = static_cast<int>(c);
        q.ColumnJ = static_cast<int>(forceNames.indexOf(q.Name + u'j'));
        if (q.ColumnJ < 0)
            continue;
        q.Moment = q.Name.startsWith(u'M') || q.Name == QLatin1String("T");
        if (const QString shell = ShellTitleOf(q.Name); !shell.isEmpty()) {
            // Moments put the side of the wall's normal (right of i -> j) in tension when
            // positive and are drawn there; forces go to the other side. The end values are
            // those of the solver; between them the diagram is straight.
            q.Title = shell;
            q.PerLength = true;
            q.Side = {0, 0, q.Moment ? -1.0 : 1.0};
        } else if (frame == Frame::PlaneXZ) {
            // M sagging positive, drawn on the right of i -> j: below a bar drawn rightwards.
            q.Side = {0, 0, q.Name == QLatin1String("M") ? -1.0 : 1.0};
            if (q.Name == QLatin1String("M"))
                q.BulgeAxis = 2, q.BulgeSign = -1;
        } else if (frame == Frame::Grillage) {
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
        list.push_back(q);
    }
    return list;
}
