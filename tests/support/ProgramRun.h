#pragma once

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

// Runs one of the package's programs in a scratch directory, as the launcher runs it from
// the package directory, and collects what it leaves: its exit status and "Error.txt".
namespace ProgramRun {

struct Result {
    int ExitCode = -1;
    QByteArray ErrorFile; // "Error.txt" as written, or "<missing>"
    QByteArray Output;
};

inline QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

inline void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write test file %s", qPrintable(path));
}

inline Result
Run(const QString& program, const QString& directory, const QStringList& arguments,
    const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment()) {
    QFile::remove(QDir(directory).filePath(QStringLiteral("Error.txt")));
    QProcess process;
    process.setWorkingDirectory(directory);
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    if (!process.waitForFinished(60000))
        qFatal("%s did not finish", qPrintable(program));
    Result result;
    result.ExitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.ErrorFile = ReadFile(QDir(directory).filePath(QStringLiteral("Error.txt")));
    result.Output = process.readAllStandardOutput() + process.readAllStandardError();
    return result;
}

} // namespace ProgramRun
