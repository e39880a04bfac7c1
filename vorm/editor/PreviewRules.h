#pragma once

#include <QString>

// How a viewer is started: the Preview button always shows the model; the Preview item (F7),
// the Results button and item (F4) show the results when a result file exists.
class PreviewRules {
public:
    // " R" when started without a sender and results exist, " E" otherwise.
    static QString Mode(bool fromPreviewButton, bool resultExists);
    // Whether the data file was changed after the results were computed.
    static bool ResultsOutdated(const QString& dataPath, const QString& resultPath);
    static QString OutdatedQuestion() {
        return QStringLiteral(
            "The file containing results is older than input data file ! Proceed ?");
    }
};
