#pragma once

#include "DataFormat.h"
#include "ParsedData.h"

#include <QByteArray>
#include <QString>

// The wire frame of a checked model for the preview, as the two model files hold it:
// "XYZ" with one 12-byte record per node (x, y, z as little-endian IEEE singles, node 1
// first) and "J1J2" with one 4-byte record per line (two little-endian 16-bit node numbers,
// counted from 1). A bar gives one line; plane, plate and shell elements give their edges and
// solids the edges of their faces, each edge once even where elements share it. A third file,
// "MARKS", holds the springs, imposed displacements, self-weight, temperatures, foundations
// and member loads of the optional tables (see ModelMarks).
class ModelExport {
public:
    // Node numbers in "J1J2" have 16 bits.
    static constexpr int MaxNodes = 65535;

    struct Files {
        bool Ok = false;
        QString Error; // why there is no model to show
        QByteArray Xyz;
        QByteArray J1J2;
        QByteArray Marks;
    };

    // Empty files for a format without a geometric model.
    static Files Build(const DataFormat& format, const ParsedData& data);
};
