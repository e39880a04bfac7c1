#pragma once

#include <QByteArray>

// The data files of the solver benchmarks, made in code: the benchmarks solve them, and
// bench_models writes them out so that whole programs (of two builds, say) can be timed on
// the very same models from the shell.
namespace BenchModels {

// A plane frame of `columns` x `levels` nodes: columns 3.5 m high, bays of 6 m, fixed feet.
// Statics (.d05): an even load on every beam and a wind load at the left column, 2 cases;
// with `modes` (.d08) no loads and the lowest `modes` natural modes asked for.
QByteArray PlaneFrame(int columns, int levels, int modes = 0);

// A space frame of nx x ny columns and `levels` levels of nodes, beams both ways at each
// level: statics with a load on every beam (.d07), or its lowest 10 modes (.p07).
QByteArray SpaceFrame(int nx, int ny, int levels, bool dynamics);

// The dynamics space frame above (.p07) under an earthquake, with its lowest `modes` modes
// damped by 5 %. Spectrum: the type 1 code spectrum on ground C (agR 0.24 g) in x and y, the
// modes combined by CQC and the directions by SRSS. History: QuakeSeconds of the ground
// accelerating in x by QuakeAcceleration at the table's times, solved by modal superposition
// in steps of QuakeStep.
enum class Quake { Spectrum, History };
constexpr double QuakeSeconds = 10, QuakeStep = 0.01;
QByteArray SpaceFrame(int nx, int ny, int levels, Quake quake, int modes = 100);

// The ground's acceleration in multiples of g at time t: a sine of 1.2 Hz (about the frames'
// lowest modes) of 0.25 g at first, dying away as e^(-t / 4 s).
double QuakeAcceleration(double t);

// A square hollow section of n x n cells of 1 mm with a square hole of m x m cells in the
// middle, every contour node in table 6: (n + 1)^2 - (m - 1)^2 nodes (.d16).
QByteArray HollowSquare(int n, int m);

// A square concrete wall of `cells` x `cells` quadrilaterals of 1 cm, 20 cm thick, held along
// its base, with two load cases along its top edge (.d09).
constexpr double PanelE = 3000, PanelNu = 0.2, PanelThickness = 20;
QByteArray Panel(int cells);

// A concrete slab 20 cm thick and 5 m square under 10 kN/m2, simply supported (.d13); with
// `modes` > 0 (.p13) no load and that many natural modes asked for.
constexpr double PlateE = 3.0e7, PlateNu = 0.2, PlateGamma = 25, PlateT = 0.2, PlateSide = 5,
                 PlatePressure = -10;
QByteArray Plate(int cells, int modes);

// The cylindrical barrel roof of the classic proportions on its end diaphragms (.d14):
// `cells` quadrilaterals along the span and as many around.
constexpr double RoofR = 25, RoofL = 50, RoofAngle = 40, RoofT = 0.25, RoofE = 4.32e8,
                 RoofLoad = 90, RoofReference = 0.3024;
QByteArray Roof(int cells);

// A steel cantilever of cubic bricks, L = 10 h, h = b = 1 m, held at one end and carrying
// 100 kN down at the other as an even shear stress (.d17).
constexpr double BeamE = 2.1e8, BeamNu = 0.3, BeamGamma = 78.5, BeamLoad = 100, BeamDepth = 1;
constexpr int Slender = 10; // L / h

// `cells` bricks across the depth and the width (even, so that a node lies on the axis) and
// ten times as many along x; the nodes x fastest, then y, then z, from 1.
struct Beam {
    int Cells, Along;

    explicit Beam(int cells) : Cells(cells), Along(Slender * cells) {}

    qsizetype Nodes() const { return qsizetype{Along + 1} * (Cells + 1) * (Cells + 1); }
    qsizetype Bricks() const { return qsizetype{Along} * Cells * Cells; }
    qsizetype Node(int i, int j, int k) const {
        return (qsizetype{k} * (Cells + 1) + j) * (Along + 1) + i + 1;
    }
    qsizetype Tip() const { return Node(Along, Cells / 2, Cells / 2); }
    QByteArray Text() const;
};

// A steel shaft of `elements` elements, 20 m long and 100 mm across, on rigid bearings at both
// ends, asking for its lowest `frequencies` natural frequencies (.d12).
constexpr double ShaftE = 2.1e8, ShaftGamma = 78.5, ShaftLength = 20, ShaftD = 0.1;
QByteArray Shaft(int elements, int frequencies);

// A cylindrical concrete tank 12 m across, its bottom plate of `plate` elements from the axis
// out and its wall 5 m high of `wall` elements, full of water (.d02). Elements much shorter
// than about 2 mm lose the balance check's digits (100,000 of them are refused), so a meridian
// stays a small model.
QByteArray Tank(int plate, int wall);

} // namespace BenchModels
