#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

struct EditorDocument;

// The protocol a solver keeps beside its data file: the data file's name up to and
// including its last "." followed by "rpt" (frame.d05 → frame.rpt), or "rp0" for the dynamics
// variant (storey.p07 → storey.rp0, beside storey.rpt of storey.d07), Windows Cyrillic text
// with CR LF line ends.
class ReportFile {
public:
    static QString PathOf(const EditorDocument& document);
    // The file's bytes; nothing when it cannot be read.
    static std::optional<QByteArray> Read(const QString& path);
    // The text of the bytes, lines joined by "\n".
    static QString Text(const QByteArray& bytes);
    // Why the Report action is greyed.
    static QString MissingText(const QString& path);
};
