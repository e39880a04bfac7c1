#pragma once

#include <QCommandLineOption>
#include <QList>
#include <QString>
#include <optional>
#include <utility>

// What a program of the package says about itself on "--help" and "--version".
struct ProgramHelp {
    QString Name;    // the program's name, as the version line gives it
    QString Summary; // what it does, one paragraph
    // The positional arguments and their syntax, as QCommandLineParser lists them.
    QList<std::pair<QString, QString>> Arguments;
    QList<QCommandLineOption> Options; // the program's own options, listed only
    QString ExitCodes;                 // one line per exit status
};

// Answers "--help" (or "-h") and "--version" (or "-v") before a program starts its work or
// opens a window, so that they work without a display too. Every program's own command line
// stays as it was: the other arguments are left to the program.
class CommandLineHelp {
public:
    // The exit status (0) when the command line asked for help or the version, which has
    // then been printed on standard output; nothing otherwise.
    static std::optional<int> Answer(int argc, char* argv[], const ProgramHelp& help);
    // The package's version, one for every program.
    static QString Version();
    // The help text: usage, options, arguments and exit codes.
    static QString HelpText(const ProgramHelp& help, const QString& programPath);
};
