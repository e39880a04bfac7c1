#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

// The exchange file "Error.txt" through which the checker, the frame generator and the
// viewers answer: Windows Cyrillic text of which only the first line counts.
class ErrorFile {
public:
    // Reads the first line (without its line end) and deletes the file, so that a verdict is
    // taken once. Nothing when the file is missing or cannot be read.
    static std::optional<QString> Take(const QString& path);
    // Every line (without line ends and without the empty lines at the end), for the
    // follow-up of the mesher, whose further lines list what it removed; deletes the file.
    static std::optional<QStringList> TakeAll(const QString& path);

    // The file as a run left it in its folder `runDirectory`; nothing when it left none.
    static std::optional<QByteArray> ReadIn(const QString& runDirectory);
    // The first line and every line of the file's bytes, as Take and TakeAll give them.
    static QString FirstLine(QByteArray bytes);
    static QStringList Lines(const QByteArray& bytes);
};
