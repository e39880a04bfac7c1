#pragma once

#include <QString>
#include <QStringList>

// The package's text files: bytes in the Windows Cyrillic code page, lines ended by CR LF
// (LF or CR alone are read as line ends too).
class PackageTextFile {
public:
    // The whole file decoded. Throws VormError "Cannot open file <path>" when it cannot be read.
    static QString Read(const QString& path);

    // Lines without their ends; a line end at the end of the text starts no further line.
    static QStringList SplitLines(const QString& text);
};
