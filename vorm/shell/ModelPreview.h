#pragma once

#include <QByteArray>
#include <QLine>
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
    struct Model {
        std::vector<std::array<float, 3>> Nodes;            // x, y, z; node 1 first
        std::vector<std::array<std::uint16_t, 2>> Elements; // end nodes counted from 1
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
    static Model Read(const QByteArray& xyz, const QByteArray& j1j2);

    // The element lines in pixels, the model centred in `frame` with its vertical axis up.
    // Empty when the model has no extent in either direction (also after falling back from
    // the plain to the oblique view). Elements that name a missing node are left out.
    static QVector<QLine> Lines(const Model& model, int problemNumber, const QRect& frame);
};
