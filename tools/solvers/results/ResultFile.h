#pragma once

#include "FieldResults.h"
#include "ResultLayout.h"
#include "StaticResults.h"

#include <QByteArray>
#include <QString>
#include <optional>
#include <utility>
#include <vector>

// The binary result file the structural solvers write beside the data file and the viewer
// reads: little-endian 32-bit integers and 64-bit IEEE numbers after the eight characters
// "QVRESULT" and the format version. Its layout is described in FORMATS.md.
namespace ResultFile {

// Version 2 added the inner points of curved members, version 3 the inner points of the
// members that modes and buckling divide, version 4 the layout of the element forces and
// stresses (name, title, quantity, where) in place of their names alone, version 5 the titles
// of the bars' and walls' section forces (version 4 titled them by their names), version 6 the
// load combinations and envelopes after the load cases (a file without them is written as
// version 5), version 7 the forced vibrations after natural modes (a file without them is
// written as version 5 too); older files are still read, their names given the layout they
// stood for.
inline constexpr int Version = 7;

// Continuum statics (4) and the torsion of profiles (5) came with version 3's readers and
// change nothing of the older kinds.
enum class Kind { Statics = 1, Modes = 2, Buckling = 3, Field = 4, Torsion = 5 };

// Modes and buckling shapes: one value per shape (a frequency in Hz, or a critical factor),
// the load case it belongs to (0 for natural modes) and the displacements of every node and of
// the inner points of the elements the solver divided.
struct Shapes {
    int Nodes = 0;
    int Elements = 0;        // 0 in files before version 3
    std::vector<int> Pieces; // per element, the straight pieces it was divided into (>= 1)
    QStringList Components;
    struct Shape {
        int Case = 0;
        double Value = 0;
        std::vector<double> Displacements; // Nodes x Components
        // InnerPoints() x Components: element by element, each element's points from i to j,
        // equally spaced.
        std::vector<double> Inner;
    };
    std::vector<Shape> List;

    // The sum over the elements of pieces - 1.
    qint64 InnerPoints() const;
};

// The forced vibrations of a model after its natural modes: the element results of each
// shape, in the shapes' own scale, and per excitation what a viewer plots and animates. A
// motion by the modes is the sum of the shapes times their coordinates, so that any node,
// inner point or element follows from a few numbers per instant; a history integrated
// directly gives its motion itself at every instant.
struct Forced {
    enum class Kind { Harmonic = 1, History = 2, Spectrum = 3 };
    ResultLayout Columns;                           // of the element results; empty: none
    std::vector<std::vector<double>> ShapeElements; // per shape, Elements x Columns
    struct Excitation {
        int Number = 1;
        Kind Type = Kind::Harmonic;
        // Harmonic: the forcing frequencies in Hz; history: the instants in s.
        std::vector<double> Abscissae;
        // Harmonic: per frequency, each shape's complex coordinate (real, imaginary), the
        // motion Re(U e^(i 2 pi f t)); history by the modes: per instant, one per shape.
        std::vector<double> Coordinates;
        // History integrated directly: per instant the nodes' values (Nodes x Components),
        // the inner points' and the elements' (Elements x Columns); empty otherwise.
        std::vector<double> Frames;
        // History: per node and component its largest value, the instant of it, its smallest
        // and the instant of that (Nodes x Components x 4), per element and column the same;
        // spectrum: the combined peaks, each with the sign of its dominant mode (Nodes x
        // Components, Elements x Columns).
        std::vector<double> NodePeaks, ElementPeaks;
        // Spectrum: per direction shaken (0 x, 1 y, 2 z) the base shear combined over the
        // modes.
        std::vector<std::pair<int, double>> BaseShears;
        bool Direct() const { return Type == Kind::History && !Frames.empty(); }
    };
    std::vector<Excitation> List;
    bool Empty() const { return List.empty(); }
};

struct Contents {
    Kind Type = Kind::Statics;
    int Problem = 0;
    StaticResults Statics; // Kind::Statics
    Shapes Modes;          // Kind::Modes and Kind::Buckling
    Forced Vibrations;     // Kind::Modes, from version 7
    FieldResults Field;    // Kind::Field and Kind::Torsion
};

QByteArray Write(const Contents& contents);

// A result file may be damaged or not ours at all, so every count is checked against the bytes
// still left before anything is made of that size, names must not be empty, and bytes after
// the end are refused: reading a file never takes more memory or time than its own size allows.
// A layout's names and titles are short printable text, each name once, its quantities and
// places ones this reader knows.
struct ReadOutcome {
    std::optional<Contents> Read;
    int Version = 0; // of the file, once its heading is read; Shapes::Elements is given from 3
    QString Fault;   // why not, in words that follow "it": "is cut short in load case 2"
};
ReadOutcome ReadChecked(const QByteArray& bytes);
// Null when the bytes are not a sound result file of a known version.
std::optional<Contents> Read(const QByteArray& bytes);

} // namespace ResultFile
