#include "ProgramRunner.h"

#include "FileLookup.h"
#include "UserDialogs.h"
#include "UserFolders.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QProcess>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>
#include <cerrno>
#include <cstring>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace {

// Longest time between two rounds of event processing while a program runs.
constexpr int ServeIntervalMs = 100;

// The error number the system gave for a failed start. Qt reports it only as text ("execvp:
// No such file or directory"), which is matched against the system's texts.
int StartErrorNumber(const QProcess& process, const QString& executable) {
    if (!QFileInfo(executable).exists())
        return ENOENT; // 2, as "file not found" is on Windows too
#ifndef Q_OS_WIN
    const QString text = process.errorString();
    const qsizetype colon = text.lastIndexOf(QStringLiteral(": "));
    const QString reason = colon < 0 ? text : text.mid(colon + 2);
    for (int number = 1; number < 256; ++number)
        if (reason == QString::fromLocal8Bit(std::strerror(number)))
            return number;
#else
    Q_UNUSED(process);
#endif
    return QFileInfo(executable).isDir() || !QFileInfo(executable).isExecutable() ? EACCES : 0;
}

} // namespace

ProgramRunner::ProgramRunner(PackageDir packageDir, UserDialogs& dialogs, QString runsDirectory)
    : packageDir(std::move(packageDir)), dialogs(dialogs), runsDirectory(std::move(runsDirectory)) {
}

int ProgramRunner::RunProgram(QWidget* form, const QString& program, const QStringList& arguments,
                              int showState, const QString& shownCommandLine,
                              const Collector& collect) const {
    ++running;
    const auto done = qScopeGuard([this] { --running; });
    // The form may be closed by the user while the program runs.
    const QPointer<QWidget> guardedForm(form);
    // Disabling the form takes the keyboard focus away from it; it comes back afterwards, so
    // typing goes on where it stopped.
    QPointer<QWidget> focus = QApplication::focusWidget();
    if (!form || !focus || !(focus == form || form->isAncestorOf(focus)))
        focus = nullptr;
    if (guardedForm)
        guardedForm->setCursor(Qt::WaitCursor);
    QCoreApplication::processEvents();

    // A fresh folder holds no exchange files of an earlier run.
    const QString runs = runsDirectory.isEmpty() ? UserFolders::RunsDirectory() : runsDirectory;
    QDir().mkpath(runs);
    const QTemporaryDir runFolder(QDir(runs).filePath(QStringLiteral("run-XXXXXX")));
    if (guardedForm)
        guardedForm->setEnabled(false);

    int failure = 0;
    int exitCode = NotFinished;
    if (!runFolder.isValid())
        failure = EACCES;
    else
        exitCode = Execute(program, arguments, showState, runFolder.path(), failure);

    if (failure != 0)
        dialogs.ShowError(guardedForm, StartFailureMessage(shownCommandLine.isEmpty()
                                                               ? CommandLine(program, arguments)
                                                               : shownCommandLine,
                                                           failure));
    if (collect && runFolder.isValid())
        collect(runFolder.path());

    if (guardedForm) {
        guardedForm->setEnabled(true);
        guardedForm->unsetCursor();
        if (focus && focus->isEnabled())
            focus->setFocus();
    }
    return exitCode;
}

int ProgramRunner::Execute(const QString& program, const QStringList& arguments, int showState,
                           const QString& workDirectory, int& failure) const {
    const QString executable = ResolveProgram(program);
    QProcess process;
    process.setProgram(executable);
    process.setArguments(arguments);
    process.setWorkingDirectory(workDirectory);
    // The programs report through files only; a pipe nobody reads could block them.
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
#ifdef Q_OS_WIN
    process.setCreateProcessArgumentsModifier([showState](QProcess::CreateProcessArguments* args) {
        args->startupInfo->dwFlags |= STARTF_USESHOWWINDOW;
        args->startupInfo->wShowWindow = WORD(showState);
    });
#else
    Q_UNUSED(showState);
#endif
    process.start();
    if (!process.waitForStarted(-1)) {
        failure = StartErrorNumber(process, executable);
        return NotFinished;
    }
    // Serve the windows until the program ends; the timer bounds each round so the end is
    // noticed even while no other event arrives.
    QEventLoop loop;
    QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, &loop, &QEventLoop::quit);
    tick.start(ServeIntervalMs);
    while (process.state() != QProcess::NotRunning)
        loop.exec();
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : NotFinished;
}

QString ProgramRunner::ResolveProgram(const QString& program) const {
    QString name = program;
#ifdef Q_OS_WIN
    if (QFileInfo(name).suffix().isEmpty())
        name += PackageDir::ExecutableSuffix();
#endif
    const bool bare = !name.contains(u'/') && !name.contains(QDir::separator());
    if (!bare) {
        const QFileInfo info(name);
        return FileLookup::FindNoCase(info.path(), info.fileName());
    }
    const QString inPackage = packageDir.FilePath(name);
    if (QFileInfo(inPackage).isFile())
        return inPackage;
    const QString onPath = QStandardPaths::findExecutable(name);
    return onPath.isEmpty() ? inPackage : onPath;
}

QString ProgramRunner::CommandLine(const QString& program, const QStringList& arguments) {
    QStringList words{QDir::toNativeSeparators(program)};
    for (const QString& argument : arguments)
        words << (argument.contains(u' ') || argument.isEmpty() ? u'"' + argument + u'"'
                                                                : argument);
    return words.join(u' ');
}

QString ProgramRunner::StartFailureMessage(const QString& commandLine, int errorNumber) {
    return QStringLiteral("Error executing ") + commandLine + QStringLiteral("\r\n") +
           QStringLiteral("Error message: ") + QString::number(errorNumber) + u'!';
}
