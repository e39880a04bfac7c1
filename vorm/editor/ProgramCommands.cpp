#include "ProgramCommands.h"

#include "ProgramRunner.h"

#include <QDir>

ProgramCommands::ProgramCommands(QString packageDir, QString dataPath)
    : packageDir(std::move(packageDir)), dataPath(std::move(dataPath)) {}

ProgramCall ProgramCommands::Build(const QString& directory, const QString& namePart,
                                   const QString& dataPath, const QString& tail, int showState) {
    ProgramCall call;
    const QString native = QDir::toNativeSeparators(directory);
    call.CommandLine = native + QDir::separator() + namePart + dataPath + tail;
    call.Program = QDir(directory).filePath(namePart.trimmed());
    call.Arguments << dataPath << tail.split(u' ', Qt::SkipEmptyParts);
    call.ShowState = showState;
    return call;
}

ProgramCall ProgramCommands::Check() const {
    return Build(packageDir, QStringLiteral("Tolvik "), dataPath, {}, ProgramRunner::Shown);
}

ProgramCall ProgramCommands::Calculate(const QString& solver) const {
    return Build(packageDir, solver + u' ', dataPath, QStringLiteral(" S"), ProgramRunner::Shown);
}

ProgramCall ProgramCommands::FrameGenerator() const {
    return Build(packageDir, QStringLiteral("Mopsa "), dataPath, {}, ProgramRunner::Shown);
}

ProgramCall ProgramCommands::PlateGenerator(const QString& toolsetDir) const {
    return Build(toolsetDir, QStringLiteral("Gralt "), dataPath, {}, ProgramRunner::Shown);
}

ProgramCall ProgramCommands::FollowUp() const {
    return Build(packageDir, QStringLiteral("Vosher "), dataPath, {}, ProgramRunner::Hidden);
}

ProgramCall ProgramCommands::Viewer(const QString& viewer, const QString& mode) const {
    return Build(packageDir, viewer.leftJustified(10, u' '), dataPath, mode,
                 ProgramRunner::Maximized);
}
