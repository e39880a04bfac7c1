#include "ResultFiles.h"

#include "EditorDocument.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

QString ResultFiles::ResultPath(const EditorDocument& document, const QString& openFilter) {
    const QString& name = document.FileName;
    const qsizetype dot = name.lastIndexOf(u'.');
    const QString base = dot < 0 ? name : name.left(dot + 1);
    const int code = document.ProblemCode;
    const bool dynamics = openFilter.contains(QStringLiteral("*.p"));
    const bool otherResults =
        code == 8 || code == 15 || ((code == 4 || code == 7 || code == 13) && dynamics);
    return document.FileDir + base + (otherResults ? QStringLiteral("bi0") : QStringLiteral("bin"));
}

bool ResultFiles::ResultExists(const EditorDocument& document, const QString& openFilter) {
    return QFileInfo::exists(ResultPath(document, openFilter));
}

int ResultFiles::ClearUnnecessaryFiles(const QString& directory) {
    const QDir dir(directory);
    const QDir::Filters any = QDir::Files | QDir::Hidden | QDir::System;
    int removed = 0;
    for (const QString& result : dir.entryList({QStringLiteral("*.bi?")}, any)) {
        const QString base = result.left(result.indexOf(u'.') + 1);
        const QStringList data =
            dir.entryList({base + QStringLiteral("d*"), base + QStringLiteral("p*")}, any);
        if (data.isEmpty() && QFile::remove(dir.filePath(result)))
            ++removed;
    }
    return removed;
}
