#pragma once

#include <QString>
#include <QStringList>

// One start of an outside program: what the runner starts and the command line the user is
// shown when it cannot be started.
struct ProgramCall {
    QString Program; // full path, as given to the runner
    QStringList Arguments;
    int ShowState = 5;
    QString CommandLine;
};

// The command lines of the editor's programs for one data file. Each is built as one line,
// directory + separator + name + data path + tail, and that line is what messages show
// ("/pkg/Gimbro   /data/shaft.d12 S"). The program and its arguments are taken apart as the
// system has always split such a line: the first word names the program (a name padded with
// blanks, such as "Gimbro  " or a viewer name padded to ten characters, loses its blanks),
// the data path is one argument even when it holds a blank, and each word of the tail is one
// argument (" S", " E", " R" become "S", "E", "R").
class ProgramCommands {
public:
    // `packageDir` without and `dataPath` as the window keeps them.
    ProgramCommands(QString packageDir, QString dataPath);

    ProgramCall Check() const;
    ProgramCall Calculate(const QString& solver) const;
    ProgramCall FrameGenerator() const;
    ProgramCall PlateGenerator(const QString& toolsetDir) const;
    ProgramCall FollowUp() const;
    // `mode` is " E" (the model) or " R" (the results).
    ProgramCall Viewer(const QString& viewer, const QString& mode) const;

    static ProgramCall Build(const QString& directory, const QString& namePart,
                             const QString& dataPath, const QString& tail, int showState);

private:
    QString packageDir;
    QString dataPath;
};
