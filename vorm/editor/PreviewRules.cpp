#include "PreviewRules.h"

#include <QDateTime>
#include <QFileInfo>

QString PreviewRules::Mode(bool fromPreviewButton, bool resultExists) {
    return !fromPreviewButton && resultExists ? QStringLiteral(" R") : QStringLiteral(" E");
}

bool PreviewRules::ResultsOutdated(const QString& dataPath, const QString& resultPath) {
    return QFileInfo(dataPath).lastModified() > QFileInfo(resultPath).lastModified();
}
