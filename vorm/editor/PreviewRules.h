#pragma once

#include <QDateTime>
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
    static QString EarlierRunQuestion() {
        return QStringLiteral("The last calculation wrote no results: the results shown come "
                              "from an earlier run ! Proceed ?");
    }
    // What to ask before the results are shown, or nothing: whether they come from before
    // the last calculation (which left the result file with the time `staleResults`), else
    // whether the data changed after them.
    static QString ResultsQuestion(const QString& dataPath, const QString& resultPath,
                                   const QDateTime& staleResults);
};
