#include "BenchModels.h"

#include <QList>
#include <cmath>
#include <numbers>
#include <vector>

namespace BenchModels {
namespace {

QByteArray Number(double value) {
    return QByteArray::number(value, 'g', 10);
}

// The tables of a bar structure item by item, and the general data that counts them.
struct Tables {
    int Items[31] = {};
    QByteArray Text;

    void Table(int number) { Text += "*" + QByteArray::number(number) + " Table\r\n"; }
    void Item(int table, const QByteArray& values) {
        Text += "# " + QByteArray::number(++Items[table]) + ' ' + values + "\r\n";
    }
    QByteArray File(int cases, int modes) const {
        QByteArray head =
            "*1 General data\r\n# 1 Title = Benchmark\r\n# 2 Force = kN\r\n"
            "# 3 Length = m\r\n# 4 Cases = " +
            QByteArray::number(cases) + "\r\n# 5 Nodes = " + QByteArray::number(Items[4]) +
            "\r\n# 6 Elements = " + QByteArray::number(Items[5]) +
            "\r\n# 7 Materials = 1\r\n# 8 Sections = " + QByteArray::number(Items[3]) + "\r\n";
        if (modes > 0)
            head += "# 9 Modes = " + QByteArray::number(modes) + "\r\n";
        return head + Text + "&\r\n";
    }
};

// Numbered items of one table at a time, for the meshes.
struct Items {
    QByteArray Bytes;
    void Item(qsizetype number, const QByteArray& values) {
        Bytes += "# " + QByteArray::number(number) + ' ' + values + "\r\n";
    }
};

QByteArray General(const char* title, int cases, qsizetype nodes, qsizetype elements, int modes) {
    QByteArray text =
        QByteArray("*1 General data\r\n# 1 Title = ") + title +
        "\r\n# 2 Force = kN\r\n# 3 Length = m\r\n# 4 Cases = " + QByteArray::number(cases) +
        "\r\n# 5 Nodes = " + QByteArray::number(nodes) +
        "\r\n# 6 Elements = " + QByteArray::number(elements) +
        "\r\n# 7 Materials = 1\r\n# 8 Sections = 1\r\n";
    if (modes >= 0)
        text += "# 9 Natural modes = " + QByteArray::number(modes) + "\r\n";
    return text;
}

// The quadrilaterals of a grid of `cells` x `cells`, numbered row by row by `node`.
template <typename Node>
void GridCells(Items& text, int cells, Node node) {
    qsizetype element = 0;
    for (int row = 0; row < cells; ++row)
        for (int column = 0; column < cells; ++column)
            text.Item(++element, QByteArray::number(node(row, column)) + ' ' +
                                     QByteArray::number(node(row, column + 1)) + ' ' +
                                     QByteArray::number(node(row + 1, column + 1)) + ' ' +
                                     QByteArray::number(node(row + 1, column)) + " 1 1");
}

} // namespace

QByteArray PlaneFrame(int columns, int levels, int modes) {
    Tables t;
    t.Table(2);
    t.Item(2, "2.1E8 0.3 78.5 1.2E-5");
    t.Table(3);
    t.Item(3, "0.00538 5.79E-5");
    t.Item(3, "0.00395 3.892E-5");
    t.Table(4);
    for (int level = 0; level < levels; ++level) {
        for (int c = 0; c < columns; ++c)
            t.Item(4, Number(6.0 * c) + ' ' + Number(3.5 * level));
    }
    const auto node = [columns](int level, int c) { return level * columns + c + 1; };
    t.Table(5);
    QList<int> beams;
    for (int level = 1; level < levels; ++level) {
        for (int c = 0; c < columns; ++c)
            t.Item(5, QByteArray::number(node(level - 1, c)) + ' ' +
                          QByteArray::number(node(level, c)) + " 1 1 0");
        for (int c = 0; c + 1 < columns; ++c) {
            t.Item(5, QByteArray::number(node(level, c)) + ' ' +
                          QByteArray::number(node(level, c + 1)) + " 1 2 0");
            beams << t.Items[5];
        }
    }
    t.Table(6);
    for (int c = 0; c < columns; ++c)
        t.Item(6, QByteArray::number(node(0, c)) + " 1 1 1");
    if (modes > 0) {
        t.Table(9);
        return t.File(0, modes);
    }
    t.Table(7);
    for (int level = 1; level < levels; ++level)
        t.Item(7, "2 " + QByteArray::number(node(level, 0)) + " 5 0 0");
    t.Table(8);
    for (int beam : beams)
        t.Item(8, "1 " + QByteArray::number(beam) + " 0 -10");
    return t.File(2, 0);
}

namespace {

// The space frame's tables 2 to 9: loads on every beam unless `dynamics`.
Tables SpaceFrameTables(int nx, int ny, int levels, bool dynamics) {
    Tables t;
    t.Table(2);
    t.Item(2, "2.1E8 0.3 78.5 1.2E-5");
    t.Table(3);
    t.Item(3, "0.00538 2.1E-7 3.692E-5 1.336E-5");
    t.Item(3, "0.00538 2.0E-7 8.356E-5 6.04E-6");
    t.Table(4);
    for (int level = 0; level < levels; ++level) {
        for (int y = 0; y < ny; ++y) {
            for (int x = 0; x < nx; ++x)
                t.Item(4, Number(6.0 * x) + ' ' + Number(5.0 * y) + ' ' + Number(3.5 * level));
        }
    }
    const auto node = [nx, ny](int level, int x, int y) { return (level * ny + y) * nx + x + 1; };
    const auto bar = [&t](int i, int j, const char* rest) {
        t.Item(5, QByteArray::number(i) + ' ' + QByteArray::number(j) + rest);
    };
    t.Table(5);
    QList<int> beams;
    for (int level = 1; level < levels; ++level) {
        for (int y = 0; y < ny; ++y) {
            for (int x = 0; x < nx; ++x) {
                bar(node(level - 1, x, y), node(level, x, y), " 1 1 0");
                if (x + 1 < nx) {
                    bar(node(level, x, y), node(level, x + 1, y), " 1 2 0");
                    beams << t.Items[5];
                }
                if (y + 1 < ny) {
                    bar(node(level, x, y), node(level, x, y + 1), " 1 2 90");
                    beams << t.Items[5];
                }
            }
        }
    }
    t.Table(6);
    for (int y = 0; y < ny; ++y) {
        for (int x = 0; x < nx; ++x)
            t.Item(6, QByteArray::number(node(0, x, y)) + " 1 1 1 1 1 1");
    }
    t.Table(7);
    t.Table(8);
    if (!dynamics) {
        for (int beam : beams)
            t.Item(8, "1 " + QByteArray::number(beam) + " 0 0 -10");
    }
    t.Table(9);
    return t;
}

} // namespace

QByteArray SpaceFrame(int nx, int ny, int levels, bool dynamics) {
    return SpaceFrameTables(nx, ny, levels, dynamics).File(1, 10);
}

double QuakeAcceleration(double t) {
    return 0.25 * std::exp(-t / 4) * std::sin(2 * std::numbers::pi * 1.2 * t);
}

QByteArray SpaceFrame(int nx, int ny, int levels, Quake quake, int modes) {
    Tables t = SpaceFrameTables(nx, ny, levels, true);
    t.Table(20);
    t.Item(20, "0 0.05");
    if (quake == Quake::Spectrum) {
        t.Table(25);
        t.Item(25, "1 X 1 1.0");
        t.Item(25, "1 Y 1 1.0");
        t.Table(28);
        t.Item(28, "1 CQC SRSS");
        t.Table(30);
        t.Item(30, "1 1 C 0.24 1.0");
        return t.File(1, modes);
    }
    // The record as a table of points, as a measured one comes, one point a step.
    t.Table(22);
    const int steps = static_cast<int>(std::lround(QuakeSeconds / QuakeStep));
    for (int i = 0; i <= steps; ++i)
        t.Item(22, "1 " + Number(i * QuakeStep) + ' ' + Number(QuakeAcceleration(i * QuakeStep)));
    t.Table(25);
    t.Item(25, "1 X 1 1.0");
    t.Table(27);
    t.Item(27, "1 0 " + Number(QuakeSeconds) + ' ' + Number(QuakeStep) + " MODAL");
    return t.File(1, modes);
}

QByteArray HollowSquare(int n, int m) {
    Tables t;
    t.Table(2);
    t.Item(2, "2.1E8 0.3 78.5 1.2E-5");
    const int low = (n - m) / 2, high = low + m;
    const auto inHole = [&](int i, int j) { return i > low && i < high && j > low && j < high; };
    std::vector<int> number(static_cast<size_t>((n + 1) * (n + 1)), 0);
    t.Table(4);
    for (int j = 0; j <= n; ++j) {
        for (int i = 0; i <= n; ++i) {
            if (inHole(i, j))
                continue;
            t.Item(4, Number(0.001 * i) + ' ' + Number(0.001 * j));
            number[static_cast<size_t>(j * (n + 1) + i)] = t.Items[4];
        }
    }
    const auto at = [&](int i, int j) {
        return QByteArray::number(number[static_cast<size_t>(j * (n + 1) + i)]);
    };
    t.Table(5);
    for (int j = 0; j < n; ++j) {
        for (int i = 0; i < n; ++i) {
            if (i >= low && i < high && j >= low && j < high)
                continue;
            t.Item(5, at(i, j) + ' ' + at(i + 1, j) + ' ' + at(i + 1, j + 1) + ' ' + at(i, j + 1) +
                          " 1");
        }
    }
    t.Table(6);
    for (int k = 0; k < n; ++k) {
        for (const QByteArray& node : {at(k, 0), at(n, k), at(n - k, n), at(0, n - k)})
            t.Item(6, node + " 0");
    }
    for (int k = 0; k < m; ++k) {
        for (const QByteArray& node :
             {at(low + k, low), at(high, low + k), at(high - k, high), at(low, high - k)})
            t.Item(6, node + " 1");
    }
    QByteArray file = t.File(1, 0);
    file.replace("# 8 Sections = 0\r\n", "# 8 Sections = 0\r\n# 9 Twisting moment = 10\r\n");
    return file;
}

// Whole centimetres keep the file of a million nodes within the 64 MB of a data file.
QByteArray Panel(int cells) {
    const int side = cells + 1;
    const auto node = [side](int row, int column) { return qsizetype{row} * side + column + 1; };
    Items text;
    text.Bytes.reserve(qsizetype{side} * side * 40 + qsizetype{cells} * cells * 40);
    text.Bytes = "*1 General data\r\n# 1 Title = Benchmark panel\r\n# 2 Force = kN\r\n"
                 "# 3 Length = cm\r\n# 4 Cases = 2\r\n# 5 Nodes = " +
                 QByteArray::number(qsizetype{side} * side) +
                 "\r\n# 6 Elements = " + QByteArray::number(qsizetype{cells} * cells) +
                 "\r\n# 7 Materials = 1\r\n# 8 Sections = 1\r\n";
    text.Bytes += "*2 Materials\r\n";
    text.Item(1, QByteArray::number(PanelE) + ' ' + QByteArray::number(PanelNu) + " 2.5E-5 1.0E-5");
    text.Bytes += "*3 Sections\r\n";
    text.Item(1, QByteArray::number(PanelThickness));
    text.Bytes += "*4 Nodes\r\n";
    for (int row = 0; row < side; ++row)
        for (int column = 0; column < side; ++column)
            text.Item(node(row, column),
                      QByteArray::number(column) + ' ' + QByteArray::number(row));
    text.Bytes += "*5 Elements\r\n";
    GridCells(text, cells, node);
    text.Bytes += "*6 Supports\r\n";
    for (int column = 0; column < side; ++column)
        text.Item(column + 1, QByteArray::number(node(0, column)) + " 1 1");
    // 1 kN/cm down along the top edge, and 0.5 kN/cm along it as a shear; the end nodes carry
    // half a cell each.
    text.Bytes += "*7 Nodal loads\r\n";
    qsizetype load = 0;
    for (int c = 1; c <= 2; ++c) {
        for (int column = 0; column < side; ++column) {
            const double share = column == 0 || column == cells ? 0.5 : 1.0;
            const QByteArray force = QByteArray::number(share * (c == 1 ? 1 : 0.5));
            text.Item(++load, QByteArray::number(c) + ' ' +
                                  QByteArray::number(node(cells, column)) +
                                  (c == 1 ? " 0 -" + force : ' ' + force + " 0"));
        }
    }
    return text.Bytes + "&\r\n";
}

QByteArray Plate(int cells, int modes) {
    const int side = cells + 1;
    const double h = PlateSide / cells;
    const auto node = [side](int row, int column) { return qsizetype{row} * side + column + 1; };
    Items text;
    text.Bytes.reserve(qsizetype{side} * side * 60);
    text.Bytes =
        General("Benchmark plate", 1, qsizetype{side} * side, qsizetype{cells} * cells, modes);
    text.Bytes += "*2 Materials\r\n";
    text.Item(1, Number(PlateE) + ' ' + Number(PlateNu) + ' ' + Number(PlateGamma) + " 1E-5");
    text.Bytes += "*3 Sections\r\n";
    text.Item(1, Number(PlateT));
    text.Bytes += "*4 Nodes\r\n";
    for (int row = 0; row < side; ++row)
        for (int column = 0; column < side; ++column)
            text.Item(node(row, column), Number(column * h) + ' ' + Number(row * h));
    text.Bytes += "*5 Elements\r\n";
    GridCells(text, cells, node);
    text.Bytes += "*6 Supports\r\n";
    qsizetype support = 0;
    for (int row = 0; row < side; ++row)
        for (int column = 0; column < side; ++column)
            if (row == 0 || column == 0 || row == cells || column == cells)
                text.Item(++support, QByteArray::number(node(row, column)) + " 1 0 0");
    text.Bytes += "*7 Nodal loads\r\n*8 Element loads\r\n";
    if (modes == 0)
        for (qsizetype e = 1; e <= qsizetype{cells} * cells; ++e)
            text.Item(e, "1 " + QByteArray::number(e) + ' ' + Number(PlatePressure));
    text.Bytes += "*9 Masses\r\n";
    return text.Bytes + "&\r\n";
}

// The roof's axis runs along x at height 0, the arc from -40 to 40 degrees about the crown
// (z up). The diaphragms at x = 0 and x = L hold uy and uz; ux is held at one node only, which
// carries no force under the symmetric load. The weight is given as nodal forces, each node a
// quarter of its cells.
QByteArray Roof(int cells) {
    const int side = cells + 1;
    const double half = RoofAngle * std::numbers::pi / 180;
    const double dx = RoofL / cells, dt = 2 * half / cells;
    const double area = dx * 2 * RoofR * std::sin(dt / 2); // a flat cell
    const auto node = [side](int row, int column) { return qsizetype{row} * side + column + 1; };
    Items text;
    text.Bytes.reserve(qsizetype{side} * side * 120);
    text.Bytes =
        General("Benchmark barrel roof", 1, qsizetype{side} * side, qsizetype{cells} * cells, -1);
    text.Bytes += "*2 Materials\r\n";
    text.Item(1, Number(RoofE) + " 0 0 0");
    text.Bytes += "*3 Sections\r\n";
    text.Item(1, Number(RoofT));
    text.Bytes += "*4 Nodes\r\n";
    // Rows around the arc, columns along the span.
    for (int row = 0; row < side; ++row) {
        const double angle = -half + row * dt;
        for (int column = 0; column < side; ++column)
            text.Item(node(row, column), Number(column * dx) + ' ' +
                                             Number(RoofR * std::sin(angle)) + ' ' +
                                             Number(RoofR * std::cos(angle)));
    }
    text.Bytes += "*5 Elements\r\n";
    GridCells(text, cells, node);
    text.Bytes += "*6 Supports\r\n";
    qsizetype support = 0;
    for (int row = 0; row < side; ++row)
        for (int column : {0, cells})
            text.Item(++support, QByteArray::number(node(row, column)) +
                                     (row == 0 && column == 0 ? " 1 1 1 0 0 0" : " 0 1 1 0 0 0"));
    text.Bytes += "*7 Nodal loads\r\n";
    qsizetype load = 0;
    for (int row = 0; row < side; ++row)
        for (int column = 0; column < side; ++column) {
            const double share = (row == 0 || row == cells ? 0.5 : 1.0) *
                                 (column == 0 || column == cells ? 0.5 : 1.0);
            text.Item(++load, "1 " + QByteArray::number(node(row, column)) + " 0 0 " +
                                  Number(-RoofLoad * area * share) + " 0 0 0");
        }
    text.Bytes += "*8 Element loads\r\n";
    return text.Bytes + "&\r\n";
}

QByteArray Beam::Text() const {
    const auto number = [](double value) { return QByteArray::number(value, 'g', 12); };
    const double h = BeamDepth / Cells;
    Items text;
    text.Bytes.reserve(Nodes() * 40 + Bricks() * 70);
    text.Bytes = "Cantilever of bricks under an end load\r\n*1 General data\r\n"
                 "# 1 Title = Solid cantilever\r\n# 2 Force = kN\r\n# 3 Length = m\r\n"
                 "# 4 Cases = 1\r\n# 5 Nodes = " +
                 QByteArray::number(Nodes()) +
                 "\r\n# 6 Elements = " + QByteArray::number(Bricks()) +
                 "\r\n# 7 Materials = 1\r\n# 8 Sections = 0\r\n*2 Materials\r\n";
    text.Item(1, number(BeamE) + ' ' + number(BeamNu) + ' ' + number(BeamGamma) + " 1.2E-5");
    text.Bytes += "*4 Nodes\r\n";
    for (int k = 0; k <= Cells; ++k)
        for (int j = 0; j <= Cells; ++j)
            for (int i = 0; i <= Along; ++i)
                text.Item(Node(i, j, k), number(i * h) + ' ' + number(j * h) + ' ' + number(k * h));
    text.Bytes += "*5 Elements\r\n";
    // n1 to n4 counter-clockwise seen from +z, n5 to n8 above them.
    constexpr int Round[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    qsizetype brick = 0;
    for (int k = 0; k < Cells; ++k)
        for (int j = 0; j < Cells; ++j)
            for (int i = 0; i < Along; ++i) {
                QByteArray corners;
                for (int up : {k, k + 1})
                    for (const auto& [di, dj] : Round)
                        corners += QByteArray::number(Node(i + di, j + dj, up)) + ' ';
                text.Item(++brick, corners + '1');
            }
    text.Bytes += "*6 Supports\r\n";
    qsizetype support = 0;
    for (int k = 0; k <= Cells; ++k)
        for (int j = 0; j <= Cells; ++j)
            text.Item(++support, QByteArray::number(Node(0, j, k)) + " 1 1 1");
    // An even shear stress over the free end: each node a quarter of each face it has.
    text.Bytes += "*7 Nodal loads\r\n";
    const double stress = BeamLoad / (BeamDepth * BeamDepth);
    qsizetype load = 0;
    for (int k = 0; k <= Cells; ++k)
        for (int j = 0; j <= Cells; ++j) {
            const double share =
                (j == 0 || j == Cells ? 0.5 : 1.0) * (k == 0 || k == Cells ? 0.5 : 1.0);
            text.Item(++load, "1 " + QByteArray::number(Node(Along, j, k)) + " 0 0 " +
                                  number(-stress * h * h * share));
        }
    return text.Bytes + "&\r\n";
}

QByteArray Shaft(int elements, int frequencies) {
    QByteArray text = "Long shaft\r\n*1 General data\r\n# 1 Title = Long shaft\r\n"
                      "# 2 Force unit = kN\r\n# 3 Length unit = m\r\n# 4 Load cases = 0\r\n";
    text += "# 5 Nodes = " + QByteArray::number(elements + 1) + "\r\n";
    text += "# 6 Elements = " + QByteArray::number(elements) + "\r\n";
    text += "# 7 Materials = 1\r\n# 8 Sections = 1\r\n";
    text += "# 9 Natural frequencies = " + QByteArray::number(frequencies) +
            "\r\n*2 Materials\r\n# 1 2.1E8 0.3 78.5 1.2E-5\r\n*3 Sections\r\n# 1 0.1 0\r\n"
            "*4 Nodes\r\n";
    for (int i = 0; i <= elements; ++i)
        text += "# " + QByteArray::number(i + 1) + ' ' +
                QByteArray::number(ShaftLength * i / elements, 'g', 17) + "\r\n";
    text += "*5 Elements\r\n";
    for (int e = 1; e <= elements; ++e)
        text += "# " + QByteArray::number(e) + ' ' + QByteArray::number(e) + ' ' +
                QByteArray::number(e + 1) + " 1 1\r\n";
    text += "*6 Bearings\r\n# 1 1 0\r\n# 2 " + QByteArray::number(elements + 1) + " 0\r\n";
    return text + "*9 Discs\r\n&\r\n";
}

// The plate's nodes run from the axis out to the wall's foot, the wall's from there up; the
// ring beam under the foot holds it along the axis. Water 5 m deep presses on both, 10 kN/m3.
QByteArray Tank(int plate, int wall) {
    constexpr double Radius = 6, Height = 5, Water = 10;
    const int nodes = plate + wall + 1;
    Items text;
    text.Bytes = General("Benchmark tank", 1, nodes, plate + wall, -1);
    text.Bytes.replace("# 8 Sections = 1", "# 8 Sections = 2");
    text.Bytes += "*2 Materials\r\n";
    text.Item(1, "3.0E7 0.2 25.0 1.0E-5");
    text.Bytes += "*3 Sections\r\n";
    text.Item(1, "0.35");
    text.Item(2, "0.30");
    text.Bytes += "*4 Nodes\r\n";
    for (int i = 0; i <= plate; ++i)
        text.Item(i + 1, Number(Radius * i / plate) + " 0");
    for (int i = 1; i <= wall; ++i)
        text.Item(plate + i + 1, Number(Radius) + ' ' + Number(Height * i / wall));
    text.Bytes += "*5 Elements\r\n";
    for (int e = 1; e < nodes; ++e)
        text.Item(e, QByteArray::number(e) + ' ' + QByteArray::number(e + 1) +
                         (e <= plate ? " 1 1" : " 1 2"));
    text.Bytes += "*6 Supports\r\n";
    text.Item(1, QByteArray::number(plate + 1) + " 0 1 0");
    text.Bytes += "*7 Nodal loads\r\n*8 Element loads\r\n";
    for (int e = 1; e < nodes; ++e) {
        const double z = e <= plate ? 0 : Height * (e - plate - 0.5) / wall;
        text.Item(e, "1 " + QByteArray::number(e) + ' ' + Number(Water * (Height - z)));
    }
    return text.Bytes + "&\r\n";
}

} // namespace BenchModels
