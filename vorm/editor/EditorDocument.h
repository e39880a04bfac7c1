#pragma once

#include "UserDialogs.h"

#include <QDateTime>
#include <QString>

// The state of one editor window's document, shared by every action of the window. The full
// path of the edited file is always FileDir + FileName.
struct EditorDocument {
    // The problem number of the file: 1–27 when the checker accepted its data, 51–77 when
    // not (yet); 0 when the name ends in no number.
    int ProblemCode = 0;
    // Whether the solver of the chosen menu entry is installed.
    bool SolverAvailable = false;
    QString FileDir; // with a trailing separator
    QString FileName;
    // The file was read in the DOS code page and goes back in it.
    bool DosEncoded = false;
    // The time of the result file that the last calculation, stopped or failed, left as it
    // was: while the file keeps it, its results come from an earlier run. Invalid otherwise.
    QDateTime StaleResults;

    QString Path() const { return FileDir + FileName; }
    // The dynamics variant of space trusses, space frames and plates: its files carry "p"
    // instead of "d" before the problem number, and it has its own solver and result file.
    // Read from the file's own name, so another window's file never changes it.
    bool DynamicsVariant() const { return IsDynamicsName(FileName); }
    static bool IsDynamicsName(const QString& fileName);
    // Takes FileDir and FileName from a full path.
    void SetPath(const QString& path);

    // The last two characters of a file name read as a number: leading blanks skipped,
    // reading stops at the first non-digit, 0 when there is no digit.
    static int ProblemCodeOf(const QString& fileName);
    // The help page of a problem number; 0 for the general page.
    static int HelpContextOf(int problemCode);

    // Whether profiles can be inserted (structural problems with a table 3) and materials
    // (every problem but mathematics).
    static bool ProfilesAllowed(int problemCode, bool hasTable3);
    static bool MaterialsAllowed(int problemCode);

    // The save dialog: the open dialog's filter whose first patterns offer both names of the
    // file's problem type ("*.d55;*.d05" for x.d05 as for x.d55); for a file without a
    // problem number, its first pattern (the five characters after the first "|") replaced
    // by "*" and the file's extension. That extension is the default, and the dialog starts
    // in the open dialog's starting directory.
    static FileDialogRequest SaveAsRequest(const FileDialogRequest& openDialog,
                                           const QString& fileName);
};
