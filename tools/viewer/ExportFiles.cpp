#include "ExportFiles.h"

#include <QDir>
#include <QSaveFile>

ExportFiles::Outcome ExportFiles::Write(const std::vector<File>& files, const QString& directory) {
    Outcome outcome;
    const QDir dir(directory);
    for (const File& file : files) {
        const QString path = dir.filePath(file.Name);
        QSaveFile out(path);
        if (!out.open(QIODevice::WriteOnly) || out.write(file.Text) != file.Text.size() ||
            !out.commit()) {
            outcome.Error = QStringLiteral("%1 could not be written: %2")
                                .arg(QDir::toNativeSeparators(path), out.errorString());
            return outcome;
        }
        outcome.Written << path;
    }
    return outcome;
}
