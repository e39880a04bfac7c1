#pragma once

#include "DataChecker.h"
#include "FieldLayout.h"
#include "FormatCatalogue.h"
#include "ResultFile.h"
#include "TestColumns.h"
#include "ViewerLaunch.h"
#include "ViewerModel.h"
#include "ViewerResults.h"

#include <QStringList>
#include <cmath>

// Continuum models for the viewer's tests: a rectangle of nx × nz quadrilaterals of one metre
// (the last column cut into two triangles each, so both kinds are drawn), as the data file of
// plane stress (9), plane strain (10), an axisymmetric body (11, starting at r = 1) or a
// profile in torsion (16), and results of fields that are linear over it, so that the value
// anywhere is known.
namespace FieldData {

inline QStringList Lines(int problem, int nx, int nz) {
    const bool torsion = problem == 16;
    const bool sections = problem == 9;
    const int triangles = nz; // the last column's quadrilaterals cut in two
    const int elements = nx * nz + triangles;
    const int nodes = (nx + 1) * (nz + 1);
    QStringList lines{QStringLiteral("A grid for the viewer"),
                      QStringLiteral("*1 General data"),
                      QStringLiteral("#  1  Title = Grid"),
                      QStringLiteral("#  2  Force unit = kN"),
                      QStringLiteral("#  3  Length unit = m"),
                      QStringLiteral("#  4  Load cases = %1").arg(torsion ? 1 : 2),
                      QStringLiteral("#  5  Nodes = %1").arg(nodes),
                      QStringLiteral("#  6  Elements = %1").arg(elements),
                      QStringLiteral("#  7  Materials = 1"),
                      QStringLiteral("#  8  Sections = %1").arg(sections ? 1 : 0)};
    if (torsion)
        lines << QStringLiteral("#  9  Twisting moment = 10");
    lines << QStringLiteral("*2 Materials") << QStringLiteral("#  1  3.0E7 0.2 25 1E-5");
    if (sections)
        lines << QStringLiteral("*3 Sections") << QStringLiteral("#  1  0.2");
    lines << QStringLiteral("*4 Nodes");
    const double x0 = problem == 11 ? 1 : 0;
    const auto node = [nx](int i, int k) { return k * (nx + 1) + i + 1; };
    for (int k = 0; k <= nz; ++k) {
        for (int i = 0; i <= nx; ++i)
            lines << QStringLiteral("#%1  %2 %3").arg(node(i, k)).arg(x0 + i).arg(k);
    }
    lines << QStringLiteral("*5 Elements");
    const QString tail = sections ? QStringLiteral(" 1 1") : QStringLiteral(" 1");
    int number = 0;
    for (int k = 0; k < nz; ++k) {
        for (int i = 0; i < nx; ++i) {
            const int a = node(i, k), b = node(i + 1, k), c = node(i + 1, k + 1),
                      d = node(i, k + 1);
            if (i + 1 < nx) {
                lines << QStringLiteral("#%1  %2 %3 %4 %5")
                                 .arg(++number)
                                 .arg(a)
                                 .arg(b)
                                 .arg(c)
                                 .arg(d) +
                             tail;
            } else {
                lines << QStringLiteral("#%1  %2 %3 %4 0").arg(++number).arg(a).arg(b).arg(c) +
                             tail;
                lines << QStringLiteral("#%1  %2 %3 %4 0").arg(++number).arg(a).arg(c).arg(d) +
                             tail;
            }
        }
    }
    if (torsion) {
        lines << QStringLiteral("*6 Contour nodes");
        int item = 0;
        for (int i = 0; i <= nx; ++i)
            lines << QStringLiteral("#%1  %2 0").arg(++item).arg(node(i, 0));
    } else {
        lines << QStringLiteral("*6 Supports");
        for (int i = 0; i <= nx; ++i)
            lines << QStringLiteral("#%1  %2 %3 1").arg(i + 1).arg(node(i, 0)).arg(i == 0 ? 1 : 0);
        lines << QStringLiteral("*7 Nodal loads")
              << QStringLiteral("#  1  1 %1 10 -20").arg(node(nx, nz))
              << QStringLiteral("#  2  2 %1 0 -5").arg(node(0, nz));
    }
    lines << QStringLiteral("&");
    return lines;
}

inline ViewerModel Model(int problem, const QStringList& lines) {
    const DataFormat format = *FormatCatalogue::For(problem, false);
    const DataChecker::Result checked = DataChecker::Check(lines, format);
    if (!checked.Ok)
        qFatal("model of problem %d refused: line %d: %s", problem, checked.Fault.Line,
               qPrintable(checked.Fault.Message));
    return ViewerModel::FromData(format, checked.Data);
}

inline ViewerModel Model(int problem, int nx, int nz) {
    return Model(problem, Lines(problem, nx, nz));
}

// sx at x: tension to the right, compression to the left.
inline double Sx(double x) {
    return 100 * x - 250;
}

// The stresses at a point (x, z): sx as above, sz = 20 z, txz = 5 and the rest from them
// (a profile: txy = -100 z, txz = 100 x about the origin); in load case 2 all twice as large.
inline std::vector<double> StressesAt(int problem, double x, double z, double factor = 1) {
    if (problem == 16) {
        const double txy = -100 * z, txz = 100 * x;
        return {txy, txz, std::hypot(txy, txz)};
    }
    const double sx = factor * Sx(x), sz = factor * 20 * z, txz = factor * 5;
    const double middle = (sx + sz) / 2, radius = std::hypot((sx - sz) / 2, txz);
    const double angle = std::atan2(2 * txz, sx - sz) / 2 * 180 / 3.14159265358979323846;
    if (problem == 9)
        return {sx, sz, txz, middle + radius, middle - radius, angle};
    return {sx, sz, txz, 0.2 * (sx + sz), middle + radius, middle - radius, angle};
}

// Results of `model` written to the bytes of a result file: ux = 1e-4 x z, uz = -2e-4 x
// (a profile's warping w = x z), the stresses above at the nodes and at the element centres.
inline ResultFile::Contents Contents(int problem, const ViewerModel& model) {
    const FieldLayout layout = TestLayout(problem);
    ResultFile::Contents contents;
    contents.Type = layout.Kind;
    contents.Problem = problem;
    FieldResults& r = contents.Field;
    r.Nodes = static_cast<int>(model.Nodes.size());
    r.Elements = static_cast<int>(model.ElementCentres.size());
    r.Components = layout.Components;
    r.Columns = layout.Stresses;
    if (layout.Torsion())
        r.Twist = FieldResults::Torsion{10, 1.25e7, 2.5e-3, 3.2e-4, 450, 4, 3};
    for (int number = 1; number <= std::max(1, model.LoadCases); ++number) {
        FieldResults::Case c;
        c.Number = number;
        for (const ViewerModel::Point& p : model.Nodes) {
            if (layout.Torsion()) {
                c.Displacements.push_back(p[0] * p[2]);
            } else {
                c.Displacements.push_back(number * 1e-4 * p[0] * p[2]);
                c.Displacements.push_back(number * -2e-4 * p[0]);
            }
            for (double s : StressesAt(problem, p[0], p[2], number))
                c.NodeStresses.push_back(s);
        }
        for (const ViewerModel::Point& p : model.ElementCentres) {
            for (double s : StressesAt(problem, p[0], p[2], number))
                c.Stresses.push_back(s);
        }
        for (const ViewerModel::Support& support : model.Supports)
            c.Reactions.push_back({support.Node + 1, {number * 1.5, number * -2.5}});
        r.Cases.push_back(std::move(c));
    }
    return contents;
}

inline ViewerResults Results(int problem, const ViewerModel& model,
                             const ResultFile::Contents& contents) {
    return ViewerResults::FromBytes(ResultFile::Write(contents), QStringLiteral("grid.bin"),
                                    ProblemType::Of(problem), false, model);
}

// A window's start in result mode with these results, as the launcher would prepare it; for
// the grid or for the model of `lines`.
inline ViewerLaunch::Outcome Launch(int problem, const ViewerModel& model) {
    ViewerLaunch::Outcome outcome;
    outcome.ShowWindow = true;
    outcome.ViewMode = ViewerLaunch::Mode::Results;
    outcome.DataPath = QStringLiteral("grid.d%1").arg(problem, 2, 10, QLatin1Char('0'));
    outcome.Type = &ProblemType::Of(problem);
    outcome.Model = model;
    outcome.Results = Results(problem, outcome.Model, Contents(problem, outcome.Model));
    return outcome;
}

inline ViewerLaunch::Outcome Launch(int problem, int nx, int nz) {
    return Launch(problem, Model(problem, nx, nz));
}

inline ViewerLaunch::Outcome Launch(int problem, const QStringList& lines) {
    return Launch(problem, Model(problem, lines));
}

} // namespace FieldData
