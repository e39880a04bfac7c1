#include "ResultFiles.h"

#include "EditorDocument.h"
#include "PackageResults.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

QString ResultFiles::ResultPath(const EditorDocument& document) {
    const QString& name = document.FileName;
    const qsizetype dot = name.lastIndexOf(u'.');
    const QString base = dot < 0 ? name : name.left(dot + 1);
    const int code = document.ProblemCode;
    const bool dynamics = document.DynamicsVariant();
    const bool otherResults =
        code == 8 || code == 15 || ((code == 4 || code == 7 || code == 13) && dynamics);
    return document.FileDir + base + (otherResults ? QStringLiteral("bi0") : QStringLiteral("bin"));
}

bool ResultFiles::ResultExists(const EditorDocument& document) {
    return QFileInfo::exists(ResultPath(document));
}

int ResultFiles::ClearUnnecessaryFiles(const QString& directory) {
    return PackageResults::RemoveOrphans(directory);
}
