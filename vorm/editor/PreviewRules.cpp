#include "PreviewRules.h"

#include "CalculationRecord.h"

#include <QDateTime>
#include <QFileInfo>

QString PreviewRules::Mode(bool fromPreviewButton, bool resultExists) {
    return !fromPreviewButton && resultExists ? QStringLiteral(" R") : QStringLiteral(" E");
}

bool PreviewRules::ResultsOutdated(const QString& dataPath, const QString& resultPath) {
    return QFileInfo(dataPath).lastModified() > QFileInfo(resultPath).lastModified();
}

QString PreviewRules::ResultsQuestion(const QString& dataPath, const QString& resultPath,
                                      const QDateTime& staleResults) {
    if (CalculationRecord::FromEarlierRun(resultPath, staleResults))
        return EarlierRunQuestion();
    return ResultsOutdated(dataPath, resultPath) ? OutdatedQuestion() : QString();
}
