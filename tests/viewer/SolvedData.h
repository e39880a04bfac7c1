#pragma once

#include "ProgramRun.h"
#include "SolverCatalogue.h"
#include "SolverCommand.h"
#include "ViewerLaunch.h"

#include <QFileInfo>
#include <QTemporaryDir>

// The data file `source` copied into `directory`, solved there by the real solver, then
// prepared for the result mode as the editor starts the viewer.
inline ViewerLaunch::Outcome SolvedData(const QTemporaryDir& directory, const QString& source,
                                        const QString& solver) {
    const QString name = QFileInfo(source).fileName();
    ProgramRun::WriteFile(directory.filePath(name), ProgramRun::ReadFile(source));
    const SolverCommand::Outcome solved = SolverCommand::Run(
        *SolverEntry::Named(solver), {name, QStringLiteral("S")}, directory.path());
    if (solved.ExitCode != 0)
        qFatal("%s: %s", qPrintable(solver), qPrintable(solved.Message));
    return ViewerLaunch::Prepare({name, QStringLiteral("R")}, directory.path());
}
