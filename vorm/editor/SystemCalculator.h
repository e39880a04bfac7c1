#pragma once

#include <QString>
#include <QStringList>

// The system's calculator: "calc.exe" on Windows; elsewhere the first of the usual desktop
// calculators that is installed.
class SystemCalculator {
public:
    static QStringList Candidates();
    // The program to start; empty when none is installed. `searchPaths` replaces the system's
    // search path when given.
    static QString Find(const QStringList& searchPaths = {});
    static QString NoneFoundMessage();
    // Starts the calculator without waiting for it; the message to show, or empty.
    static QString Start();
};
