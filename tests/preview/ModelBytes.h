#pragma once

#include <QByteArray>
#include <QtEndian>
#include <array>
#include <vector>

// The checker's model files as bytes: "XYZ" records of three little-endian floats, "J1J2"
// records of two little-endian 16-bit node numbers.
inline QByteArray Xyz(const std::vector<std::array<float, 3>>& nodes) {
    QByteArray bytes(static_cast<qsizetype>(nodes.size() * 12), '\0');
    for (std::size_t i = 0; i < nodes.size(); ++i)
        for (std::size_t c = 0; c < 3; ++c)
            qToLittleEndian<float>(nodes[i][c], bytes.data() + 12 * i + 4 * c);
    return bytes;
}

inline QByteArray J1j2(const std::vector<std::array<quint16, 2>>& elements) {
    QByteArray bytes(static_cast<qsizetype>(elements.size() * 4), '\0');
    for (std::size_t i = 0; i < elements.size(); ++i) {
        qToLittleEndian<quint16>(elements[i][0], bytes.data() + 4 * i);
        qToLittleEndian<quint16>(elements[i][1], bytes.data() + 4 * i + 2);
    }
    return bytes;
}
