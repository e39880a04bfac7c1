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
#include <algorithm>
#include <cmath>

// Plates and shells for the viewer's tests: a plate of nx × ny squares of one metre in the x-y
// plane (type 13; its ".p" variant for natural modes), and a barrel vault of nx × ny
// quadrilaterals, a third of a circle of radius 4 m about the x axis (type 14). Their results
// are fields linear over the plate, so that the value anywhere is known.
namespace ShellData {

constexpr double Pi = 3.14159265358979323846;

inline QStringList Lines(bool shell, bool dynamics, int nx, int ny) {
    const int nodes = (nx + 1) * (ny + 1);
    QStringList lines{QStringLiteral("A plate or shell for the viewer"),
                      QStringLiteral("*1 General data"),
                      QStringLiteral("#  1  Title = Mesh"),
                      QStringLiteral("#  2  Force unit = kN"),
                      QStringLiteral("#  3  Length unit = m"),
                      QStringLiteral("#  4  Load cases = 2"),
                      QStringLiteral("#  5  Nodes = %1").arg(nodes),
                      QStringLiteral("#  6  Elements = %1").arg(nx * ny),
                      QStringLiteral("#  7  Materials = 1"),
                      QStringLiteral("#  8  Sections = 1")};
    if (!shell)
        lines << QStringLiteral("#  9  Natural modes = %1").arg(dynamics ? 3 : 0);
    lines << QStringLiteral("*2 Materials") << QStringLiteral("#  1  3.0E7 0.2 25 1E-5")
          << QStringLiteral("*3 Sections") << QStringLiteral("#  1  0.2")
          << QStringLiteral("*4 Nodes");
    const auto node = [nx](int i, int k) { return k * (nx + 1) + i + 1; };
    for (int k = 0; k <= ny; ++k) {
        for (int i = 0; i <= nx; ++i) {
            if (!shell) {
                lines << QStringLiteral("#%1  %2 %3").arg(node(i, k)).arg(i).arg(k);
                continue;
            }
            const double angle = (double(k) / ny - 0.5) * 2 * Pi / 3;
            lines << QStringLiteral("#%1  %2 %3 %4")
                         .arg(node(i, k))
                         .arg(i)
                         .arg(4 * std::sin(angle), 0, 'g', 12)
                         .arg(4 * std::cos(angle) - 2, 0, 'g', 12);
        }
    }
    lines << QStringLiteral("*5 Elements");
    int number = 0;
    for (int k = 0; k < ny; ++k) {
        for (int i = 0; i < nx; ++i)
            lines << QStringLiteral("#%1  %2 %3 %4 %5 1 1")
                         .arg(++number)
                         .arg(node(i, k))
                         .arg(node(i + 1, k))
                         .arg(node(i + 1, k + 1))
                         .arg(node(i, k + 1));
    }
    lines << QStringLiteral("*6 Supports");
    // Held along the edges y = 0 and y = ny (the vault's springings).
    int item = 0;
    for (int k : {0, ny}) {
        for (int i = 0; i <= nx; ++i)
            lines << QStringLiteral("#%1  %2 ").arg(++item).arg(node(i, k)) +
                         (shell ? QStringLiteral("1 1 1 0 0 0") : QStringLiteral("1 0 0"));
    }
    lines << QStringLiteral("*7 Nodal loads")
          << QStringLiteral("#  1  1 %1 ").arg(node(nx / 2, ny / 2)) +
                 (shell ? QStringLiteral("0 0 -10 0 0 0") : QStringLiteral("-10 0 0"))
          << QStringLiteral("#  2  2 %1 ").arg(node(nx / 2, ny / 2)) +
                 (shell ? QStringLiteral("0 0 -20 0 0 0") : QStringLiteral("-20 0 0"));
    lines << QStringLiteral("*8 Element loads") << QStringLiteral("#  1  1 1 -5");
    if (!shell)
        lines << QStringLiteral("*9 Masses");
    lines << QStringLiteral("&");
    return lines;
}

inline int Problem(bool shell) {
    return shell ? 14 : 13;
}

inline ViewerModel Model(bool shell, bool dynamics, int nx, int ny) {
    const DataFormat format = *FormatCatalogue::For(Problem(shell), dynamics);
    const DataChecker::Result checked = DataChecker::Check(Lines(shell, dynamics, nx, ny), format);
    if (!checked.Ok)
        qFatal("mesh refused: line %d: %s", checked.Fault.Line, qPrintable(checked.Fault.Message));
    return ViewerModel::FromData(format, checked.Data);
}

// The plate's moments at (x, y): mx = 10 x - 12, my = 5 y, mxy = 2, and the rest from them;
// in load case 2 all twice as large. The shell's forces are the same numbers in its order.
inline std::vector<double> ValuesAt(bool shell, double x, double y, double factor) {
    const double mx = factor * (10 * x - 12), my = factor * 5 * y, mxy = factor * 2;
    if (shell)
        return {mx, my, mxy, 0.1 * mx, 0.1 * my, 0.1 * mxy, mx, my, mxy, -mx, -my, -mxy};
    const double middle = (mx + my) / 2, radius = std::hypot((mx - my) / 2, mxy);
    const double angle = std::atan2(2 * mxy, mx - my) / 2 * 180 / Pi;
    return {mx, my, mxy, factor * 3, -factor, middle + radius, middle - radius, angle};
}

// Static results: the plate's deflection uz = -1e-3 x y (rx = -1e-3 x, ry = 1e-3 y); the
// shell moving down by uz = -1e-3 x, its other components small.
inline ResultFile::Contents Contents(bool shell, const ViewerModel& model) {
    const FieldLayout layout = TestLayout(Problem(shell));
    ResultFile::Contents contents;
    contents.Type = layout.Kind;
    contents.Problem = Problem(shell);
    FieldResults& r = contents.Field;
    r.Nodes = static_cast<int>(model.Nodes.size());
    r.Elements = static_cast<int>(model.ElementCentres.size());
    r.Components = layout.Components;
    r.Columns = layout.Stresses;
    for (int number = 1; number <= model.LoadCases; ++number) {
        FieldResults::Case c;
        c.Number = number;
        for (const ViewerModel::Point& p : model.Nodes) {
            const std::vector<double> motion =
                shell
                    ? std::vector<double>{1e-5 * p[0], 0, -1e-3 * number * p[0], 0, 1e-4, 0}
                    : std::vector<double>{-1e-3 * number * p[0] * p[1], -1e-3 * p[0], 1e-3 * p[1]};
            c.Displacements.insert(c.Displacements.end(), motion.begin(), motion.end());
            for (double v : ValuesAt(shell, p[0], p[1], number))
                c.NodeStresses.push_back(v);
        }
        for (const ViewerModel::Point& p : model.ElementCentres) {
            for (double v : ValuesAt(shell, p[0], p[1], number))
                c.Stresses.push_back(v);
        }
        for (const ViewerModel::Support& support : model.Supports)
            c.Reactions.push_back(
                {support.Node + 1, shell ? std::vector<double>{0, 1.5, 2.5 * number, 0, 0, 0}
                                         : std::vector<double>{2.5 * number, 0.5, 0}});
        r.Cases.push_back(std::move(c));
    }
    return contents;
}

// Three natural modes of the plate: mode k's uz = (x / nx)^k, its largest 1 at x = nx.
inline ResultFile::Contents Modes(const ViewerModel& model, int nx) {
    ResultFile::Contents contents;
    contents.Type = ResultFile::Kind::Modes;
    contents.Problem = 13;
    ResultFile::Shapes& s = contents.Modes;
    s.Nodes = static_cast<int>(model.Nodes.size());
    s.Elements = static_cast<int>(model.ElementCentres.size());
    s.Pieces.assign(model.ElementCentres.size(), 1);
    s.Components = {QStringLiteral("uz"), QStringLiteral("rx"), QStringLiteral("ry")};
    for (int k = 1; k <= 3; ++k) {
        ResultFile::Shapes::Shape shape;
        shape.Value = 4.5 * k * k;
        for (const ViewerModel::Point& p : model.Nodes) {
            const double s = p[0] / nx;
            shape.Displacements.insert(shape.Displacements.end(),
                                       {std::pow(s, k), 0, -k * std::pow(s, k - 1) / nx});
        }
        s.List.push_back(std::move(shape));
    }
    return contents;
}

// Results that look like a real answer, for the pictures: the plate (a by b, its edges simply
// supported, under an even load) by the first term of its series, sagging to 12 mm; the vault
// (a long, held at its ends) carrying its weight as a beam, its crown in compression along x.
// Mode k of the plate is its shape of k half waves along x and one along y.
inline ResultFile::Contents Smooth(bool shell, const ViewerModel& model, double a, double b) {
    ResultFile::Contents contents = Contents(shell, model);
    FieldResults& r = contents.Field;
    const auto values = [&](const ViewerModel::Point& p, std::vector<double>& motion,
                            std::vector<double>& forces) {
        const double sx = std::sin(Pi * p[0] / a), cx = std::cos(Pi * p[0] / a);
        if (shell) {
            // Round the vault: its angle from the crown (p[1] = 4 sin t).
            const double t = std::asin(std::clamp(p[1] / 4.0, -1.0, 1.0));
            const double nx = -60 * sx * (std::cos(t) - 0.75) / 0.25;
            const double uz = -0.02 * sx * std::cos(t);
            motion = {0.002 * cx, 0.004 * sx * std::sin(t), uz, 0, 0, 0};
            const double m = 4 * sx * std::cos(2 * t);
            forces = {nx,
                      -8 * sx * std::cos(t),
                      12 * cx * std::sin(t),
                      0.3 * m,
                      m,
                      0.2 * cx,
                      nx / 0.1 - 6 * m / 0.01,
                      0,
                      0,
                      nx / 0.1 + 6 * m / 0.01,
                      0,
                      0};
            return;
        }
        const double sy = std::sin(Pi * p[1] / b), cy = std::cos(Pi * p[1] / b);
        const double w = 0.012, d = 1.7e5, nu = 0.2, pi2 = Pi * Pi;
        const double mx = d * w * pi2 * (1 / (a * a) + nu / (b * b)) * sx * sy;
        const double my = d * w * pi2 * (nu / (a * a) + 1 / (b * b)) * sx * sy;
        const double mxy = -d * w * pi2 * (1 - nu) / (a * b) * cx * cy;
        const double qx = d * w * pi2 * Pi * (1 / (a * a) + 1 / (b * b)) / a * cx * sy;
        const double qy = d * w * pi2 * Pi * (1 / (a * a) + 1 / (b * b)) / b * sx * cy;
        const double middle = (mx + my) / 2, radius = std::hypot((mx - my) / 2, mxy);
        motion = {-w * sx * sy, -w * Pi / b * sx * cy, w * Pi / a * cx * sy};
        forces = {mx,
                  my,
                  mxy,
                  qx,
                  qy,
                  middle + radius,
                  middle - radius,
                  std::atan2(2 * mxy, mx - my) / 2 * 180 / Pi};
    };
    for (FieldResults::Case& c : r.Cases) {
        c.Displacements.clear();
        c.NodeStresses.clear();
        c.Stresses.clear();
        std::vector<double> motion, forces;
        for (const ViewerModel::Point& p : model.Nodes) {
            values(p, motion, forces);
            c.Displacements.insert(c.Displacements.end(), motion.begin(), motion.end());
            c.NodeStresses.insert(c.NodeStresses.end(), forces.begin(), forces.end());
        }
        for (const ViewerModel::Point& p : model.ElementCentres) {
            values(p, motion, forces);
            c.Stresses.insert(c.Stresses.end(), forces.begin(), forces.end());
        }
    }
    return contents;
}

inline ResultFile::Contents SmoothModes(const ViewerModel& model, double a, double b) {
    ResultFile::Contents contents = Modes(model, 1);
    for (size_t k = 0; k < contents.Modes.List.size(); ++k) {
        ResultFile::Shapes::Shape& shape = contents.Modes.List[k];
        const double waves = double(k + 1);
        shape.Value = 6.2 * (waves * waves / (a * a) + 1 / (b * b)) * a * a / 1.3;
        shape.Displacements.clear();
        for (const ViewerModel::Point& p : model.Nodes) {
            const double sx = std::sin(waves * Pi * p[0] / a), sy = std::sin(Pi * p[1] / b);
            const double cx = std::cos(waves * Pi * p[0] / a), cy = std::cos(Pi * p[1] / b);
            shape.Displacements.insert(shape.Displacements.end(),
                                       {sx * sy, Pi / b * sx * cy, -waves * Pi / a * cx * sy});
        }
    }
    return contents;
}

inline ViewerResults Results(bool shell, bool dynamics, const ViewerModel& model,
                             const ResultFile::Contents& contents) {
    return ViewerResults::FromBytes(ResultFile::Write(contents),
                                    dynamics ? QStringLiteral("mesh.bi0")
                                             : QStringLiteral("mesh.bin"),
                                    ProblemType::Of(Problem(shell)), dynamics, model);
}

// A window's start in result mode, as the launcher would prepare it.
inline ViewerLaunch::Outcome Launch(bool shell, bool dynamics, int nx, int ny) {
    ViewerLaunch::Outcome outcome;
    outcome.ShowWindow = true;
    outcome.ViewMode = ViewerLaunch::Mode::Results;
    outcome.DataPath =
        dynamics ? QStringLiteral("mesh.p13") : QStringLiteral("mesh.d%1").arg(Problem(shell));
    outcome.Type = &ProblemType::Of(Problem(shell));
    outcome.Dynamics = dynamics;
    outcome.Model = Model(shell, dynamics, nx, ny);
    outcome.Results = Results(shell, dynamics, outcome.Model,
                              dynamics ? Modes(outcome.Model, nx) : Contents(shell, outcome.Model));
    return outcome;
}

} // namespace ShellData
