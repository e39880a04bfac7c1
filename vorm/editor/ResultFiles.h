#pragma once

#include <QString>

struct EditorDocument;

// A solver leaves its results beside the data file, under the data file's base name with the
// extension "bin" (or "bi0" for the dynamics variants). These helpers find them and tidy the
// ones whose data file has gone.
class ResultFiles {
public:
    // The result file of the document: its name up to and including the last "." (the whole
    // name when there is none) followed by "bi0" for problems 8 and 15, and for 4, 7 and 13
    // when the file is of the dynamics variant (a "p" extension); "bin" otherwise.
    static QString ResultPath(const EditorDocument& document);
    static bool ResultExists(const EditorDocument& document);

    // Deletes every result file that the package wrote into `directory` (a "*.bi?" file that
    // starts with "QVRESULT") and that has no data file beside it: none whose name is the
    // result's name up to its last "." followed by "d" or "p" and two characters. Other files are
    // never touched. Failures to delete are ignored. Returns how many files went.
    static int ClearUnnecessaryFiles(const QString& directory);
};
