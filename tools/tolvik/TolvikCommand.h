#pragma once

#include <QString>
#include <QStringList>

// The checker's command line: "Tolvik DATAFILE" checks the file by the problem number of its
// extension and writes the verdict as the first line of "Error.txt"; "Tolvik DATAFILE XYZ"
// also writes the model files "XYZ" and "J1J2" for the preview (empty files when the data is
// unsound or has no geometric model, so that no earlier model is shown in its place). All
// files go into the working directory, the package directory of the launcher.
class TolvikCommand {
public:
    struct Outcome {
        int ExitCode = 0; // 0 accepted, 1 rejected, 2 wrong command line, 3 a file not written
        QString Verdict;
    };

    static Outcome Run(const QStringList& arguments, const QString& workDirectory);
};
