#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The lines of a data file. Data files are Windows-1251 text; lines end in CR LF as the
// editor writes them, but a bare LF or CR ends a line too, so that the line numbers of the
// verdict match the lines the editor shows.
class InputText {
public:
    struct Result {
        bool Ok = false;
        QString Error; // why the file could not be read
        QStringList Lines;
    };

    // Larger files are refused rather than read into memory: a model of 65,535 nodes and
    // twice as many elements takes a few megabytes.
    static constexpr qint64 MaxBytes = 64 * 1024 * 1024;

    static Result Read(const QString& path);
    static QStringList Lines(const QByteArray& bytes);
};
