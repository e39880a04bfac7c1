#pragma once

#include "DataChecker.h"
#include "FieldLayout.h"
#include "FormatCatalogue.h"
#include "ResultFile.h"
#include "SolidSection.h"
#include "TestColumns.h"
#include "ViewerLaunch.h"
#include "ViewerModel.h"
#include "ViewerResults.h"

#include <QStringList>
#include <cmath>
#include <functional>

// Solids for the viewer's tests: a block of nx × ny × nz cells of lx × ly × lz, each cell a
// brick, two wedges or six tetrahedra (split the same way in every cell, so that the faces of
// neighbours match), as nodes and elements or as a checked data file of type 17; and results
// whose fields are given functions of the place, so that the value anywhere is known.
namespace SolidData {

using Point = ViewerModel::Point;
enum class Cells { Bricks, Wedges, Tetrahedra };

struct Mesh {
    std::vector<Point> Nodes;
    std::vector<SolidSurface::Corners> Elements;
};

inline Mesh Block(int nx, int ny, int nz, double lx, double ly, double lz,
                  Cells cells = Cells::Bricks) {
    Mesh mesh;
    const auto node = [&](int i, int j, int k) { return (k * (ny + 1) + j) * (nx + 1) + i; };
    for (int k = 0; k <= nz; ++k) {
        for (int j = 0; j <= ny; ++j) {
            for (int i = 0; i <= nx; ++i)
                mesh.Nodes.push_back({float(i * lx), float(j * ly), float(k * lz)});
        }
    }
    for (int k = 0; k < nz; ++k) {
        for (int j = 0; j < ny; ++j) {
            for (int i = 0; i < nx; ++i) {
                const int c[8] = {node(i, j, k),
                                  node(i + 1, j, k),
                                  node(i + 1, j + 1, k),
                                  node(i, j + 1, k),
                                  node(i, j, k + 1),
                                  node(i + 1, j, k + 1),
                                  node(i + 1, j + 1, k + 1),
                                  node(i, j + 1, k + 1)};
                if (cells == Cells::Bricks) {
                    mesh.Elements.push_back({c[0], c[1], c[2], c[3], c[4], c[5], c[6], c[7]});
                } else if (cells == Cells::Wedges) {
                    // Split across the diagonal from corner 0 to corner 2 of the base.
                    mesh.Elements.push_back({c[0], c[1], c[2], c[4], c[5], c[6], -1, -1});
                    mesh.Elements.push_back({c[0], c[2], c[3], c[4], c[6], c[7], -1, -1});
                } else {
                    for (const auto& t : SolidSection::Tetrahedra(8))
                        mesh.Elements.push_back(
                            {c[t[0]], c[t[1]], c[t[2]], c[t[3]], -1, -1, -1, -1});
                }
            }
        }
    }
    return mesh;
}

// The data file of a mesh: held at z = 0, one load case pushing its top sideways.
inline QStringList Lines(const Mesh& mesh) {
    QStringList lines{QStringLiteral("A solid block for the viewer"),
                      QStringLiteral("*1 General data"),
                      QStringLiteral("#  1  Title = Block"),
                      QStringLiteral("#  2  Force unit = kN"),
                      QStringLiteral("#  3  Length unit = m"),
                      QStringLiteral("#  4  Load cases = 1"),
                      QStringLiteral("#  5  Nodes = %1").arg(mesh.Nodes.size()),
                      QStringLiteral("#  6  Elements = %1").arg(mesh.Elements.size()),
                      QStringLiteral("#  7  Materials = 1"),
                      QStringLiteral("#  8  Sections = 0"),
                      QStringLiteral("*2 Materials"),
                      QStringLiteral("#  1  3.0E7 0.2 25 1E-5"),
                      QStringLiteral("*4 Nodes")};
    float top = 0;
    for (size_t n = 0; n < mesh.Nodes.size(); ++n) {
        const Point& p = mesh.Nodes[n];
        lines << QStringLiteral("#%1  %2 %3 %4").arg(n + 1).arg(p[0]).arg(p[1]).arg(p[2]);
        top = std::max(top, p[2]);
    }
    lines << QStringLiteral("*5 Elements");
    for (size_t e = 0; e < mesh.Elements.size(); ++e) {
        QString line = QStringLiteral("#%1 ").arg(e + 1);
        for (int corner : mesh.Elements[e])
            line += QStringLiteral(" %1").arg(corner + 1);
        lines << line + QStringLiteral("  1");
    }
    lines << QStringLiteral("*6 Supports");
    int item = 0, topNode = 0;
    for (size_t n = 0; n < mesh.Nodes.size(); ++n) {
        if (mesh.Nodes[n][2] == 0)
            lines << QStringLiteral("#%1  %2 1 1 1").arg(++item).arg(n + 1);
        if (mesh.Nodes[n][2] == top)
            topNode = int(n) + 1;
    }
    lines << QStringLiteral("*7 Nodal loads") << QStringLiteral("#  1  1 %1 10 0 0").arg(topNode)
          << QStringLiteral("&");
    return lines;
}

inline ViewerModel Model(const Mesh& mesh) {
    const DataFormat format = *FormatCatalogue::For(17, false);
    const DataChecker::Result checked = DataChecker::Check(Lines(mesh), format);
    if (!checked.Ok)
        qFatal("solid refused: line %d: %s", checked.Fault.Line, qPrintable(checked.Fault.Message));
    return ViewerModel::FromData(format, checked.Data);
}

// A field of the place: the values of ux uy uz, or of the ten stresses.
using Field = std::function<std::vector<double>(const Point&)>;

inline ResultFile::Contents Contents(const ViewerModel& model, const Field& motion,
                                     const Field& stresses) {
    const FieldLayout layout = TestLayout(17);
    ResultFile::Contents contents;
    contents.Type = layout.Kind;
    contents.Problem = 17;
    FieldResults& r = contents.Field;
    r.Nodes = static_cast<int>(model.Nodes.size());
    r.Elements = static_cast<int>(model.ElementCentres.size());
    r.Components = layout.Components;
    r.Columns = layout.Stresses;
    FieldResults::Case c;
    for (const Point& p : model.Nodes) {
        const std::vector<double> u = motion(p), s = stresses(p);
        c.Displacements.insert(c.Displacements.end(), u.begin(), u.end());
        c.NodeStresses.insert(c.NodeStresses.end(), s.begin(), s.end());
    }
    for (const Point& p : model.ElementCentres) {
        const std::vector<double> s = stresses(p);
        c.Stresses.insert(c.Stresses.end(), s.begin(), s.end());
    }
    for (const ViewerModel::Support& support : model.Supports)
        c.Reactions.push_back({support.Node + 1, {-0.5, 0, 1}});
    r.Cases.push_back(std::move(c));
    return contents;
}

// A cantilever's bending: sx linear in x and z, the block sagging as x² along z.
inline ResultFile::Contents Bending(const ViewerModel& model, double length, double height) {
    return Contents(
        model,
        [=](const Point& p) {
            const double x = p[0] / length;
            return std::vector<double>{0, 0, -0.004 * x * x};
        },
        [=](const Point& p) {
            const double sx = 1200 * (1 - p[0] / length) * (p[2] - height / 2) / height;
            return std::vector<double>{
                sx, 0, 0, 0, 0, 0, std::max(sx, 0.0), 0, std::min(sx, 0.0), std::abs(sx)};
        });
}

inline ViewerLaunch::Outcome Launch(const ViewerModel& model,
                                    const ResultFile::Contents& contents) {
    ViewerLaunch::Outcome outcome;
    outcome.ShowWindow = true;
    outcome.ViewMode = ViewerLaunch::Mode::Results;
    outcome.DataPath = QStringLiteral("block.d17");
    outcome.Type = &ProblemType::Of(17);
    outcome.Model = model;
    outcome.Results =
        ViewerResults::FromBytes(ResultFile::Write(contents), QStringLiteral("block.bin"),
                                 ProblemType::Of(17), false, model);
    return outcome;
}

} // namespace SolidData
