#pragma once

#include <QByteArray>
#include <QLine>
#include <QPointF>
#include <QRect>
#include <QString>
#include <QVector>
#include <array>
#include <cstdint>
#include <vector>

// The wire frame that the input checker exports for the open dialog's preview: node
// coordinates and element end nodes, read from the checker's two model files and fitted into
// the preview panel.
class ModelPreview {
public:
    // A spring, imposed displacement, self-weight, temperature, foundation or member load of
    // the optional tables, as the checker's "MARKS" file gives it (kinds 1 to 10 in this
    // order): where it is (At, and To for a stretch), and its direction, a unit vector or 0.
    struct Mark {
        enum class Kind : std::uint16_t {
            Spring = 1,
            TurnSpring,
            Shift,
            Turn,
            Gravity,
            Heat,
            Foundation,
            Force,
            Moment,
            PartialLoad,
        };
        Kind Type = Kind::Spring;
        std::array<float, 3> At{}, To{}, Direction{};
    };
    struct Model {
        std::vector<std::array<float, 3>> Nodes;            // x, y, z; node 1 first
        std::vector<std::array<std::uint16_t, 2>> Elements; // end nodes counted from 1
        std::vector<Mark> Marks;
    };
    // What the panel draws, in pixels: the elements in black, the springs and foundations in
    // green, the imposed displacements, self-weight and member loads in red, and the
    // temperatures as red dots.
    struct Picture {
        QVector<QLine> Lines;
        QVector<QLineF> Supports;
        QVector<QLineF> Loads;
        QVector<QPointF> Heat;
    };

    // The problem number of a data file: its name's last two characters as a number, -1 when
    // they are none.
    static int ProblemNumber(const QString& fileName);
    // Only files the checker accepted are previewed, and no shaft-line or mathematics ones.
    static bool IsPreviewed(int problemNumber);
    // Space models (trusses, grillages, frames, plates, shells, solids) are seen obliquely.
    static bool IsAxonometric(int problemNumber);

    // "XYZ": 12-byte records of three little-endian floats; "J1J2": 4-byte records of two
    // little-endian 16-bit node numbers. A partial last record is not read.
    // "MARKS": 40-byte records (see Mark); a record of an unknown kind is left out.
    static Model Read(const QByteArray& xyz, const QByteArray& j1j2, const QByteArray& marks = {});

    // The element lines in pixels, the model centred in `frame` with its vertical axis up.
    // Empty when the model has no extent in either direction (also after falling back from
    // the plain to the oblique view). Elements that name a missing node are left out.
    static QVector<QLine> Lines(const Model& model, int problemNumber, const QRect& frame);
    // The lines and the marks, drawn small enough for the panel: a spring as a zigzag, a
    // turning spring and a moment as a small ring, imposed displacements, forces and gravity
    // (in the frame's upper left corner) as arrows, a foundation as a hatched line.
    static Picture Draw(const Model& model, int problemNumber, const QRect& frame);
};
