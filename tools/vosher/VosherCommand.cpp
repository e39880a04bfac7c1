#include "VosherCommand.h"

#include "DataFileText.h"
#include "ExchangeFile.h"
#include "FormatCatalogue.h"
#include "InputText.h"
#include "MeshFile.h"
#include "MeshTransfer.h"
#include "ProblemNumber.h"
#include "Verdict.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <new>

namespace {

bool ReadAll(const QString& path, QByteArray& bytes, QString& error) {
    if (QFileInfo(path).isDir()) {
        error = QStringLiteral("%1 is a directory, not a file").arg(path);
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
        return false;
    }
    if (file.size() > InputText::MaxBytes) {
        error = QStringLiteral("%1 is too large").arg(path);
        return false;
    }
    bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        error = QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

VosherCommand::Outcome Transfer(const QStringList& arguments, const QString& workDirectory,
                                const QString& mesherDataDirectory) {
    using Outcome = VosherCommand::Outcome;
    if (arguments.isEmpty() || arguments.size() > 2)
        return VosherCommand::Refused(2, QStringLiteral("usage: Vosher DATAFILE [MESHFILE]"));
    const QDir directory(workDirectory);
    const QString dataPath = directory.filePath(arguments[0]);
    const QString meshPath =
        arguments.size() > 1 ? directory.filePath(arguments[1])
                             : QDir(mesherDataDirectory).filePath(QStringLiteral("unnamed1.d13"));

    QString error;
    QByteArray meshBytes;
    if (!ReadAll(meshPath, meshBytes, error))
        return VosherCommand::Refused(1, error);
    const MeshFile::Result mesh = MeshFile::Read(meshBytes);
    if (!mesh.Ok)
        return VosherCommand::Refused(1, QStringLiteral("%1, %2").arg(meshPath, mesh.Error));

    DataFileText text;
    const MeshTransfer::Result transfer = VosherCommand::Preview(dataPath, mesh.Mesh_, &text);
    // A node or element at fault is named by its line of the mesh file.
    const auto lineOf = [](const std::vector<int>& lines, int item) {
        return item >= 0 ? lines[static_cast<size_t>(item)] : 0;
    };
    if (const int line = std::max(lineOf(mesh.NodeLines, transfer.FaultyNode),
                                  lineOf(mesh.ElementLines, transfer.FaultyElement)))
        return VosherCommand::Refused(
            1, QStringLiteral("%1, line %2, %3").arg(meshPath).arg(line).arg(transfer.Error));
    if (!transfer.Error.isEmpty())
        return VosherCommand::Refused(1, transfer.Error);
    error = ExchangeFile::Write(dataPath, text.ToBytes());
    if (!error.isEmpty())
        return VosherCommand::Refused(3, error);
    QString verdict = QStringLiteral("OK - the mesh of %1 nodes and %2 elements was taken into %3")
                          .arg(mesh.Mesh_.Nodes.size())
                          .arg(mesh.Mesh_.Elements.size())
                          .arg(QFileInfo(dataPath).fileName());
    if (!transfer.Written.isEmpty())
        verdict += QStringLiteral("; ") + transfer.Written.join(QStringLiteral(", "));
    return Outcome{0, verdict, transfer.Removed};
}

} // namespace

MeshTransfer::Result VosherCommand::Preview(const QString& dataPath, const Mesh& mesh,
                                            DataFileText* text) {
    MeshTransfer::Result refused;
    const ProblemNumber number = ProblemNumber::FromFileName(dataPath);
    if (!number.Valid) {
        refused.Error = number.Error;
        return refused;
    }
    if (!IsMeshProblem(number.Problem)) {
        refused.Error = QStringLiteral("Vosher puts meshes into the data of problems 9, 10, 11, 13 "
                                       "and 16, not of problem %1")
                            .arg(number.Problem);
        return refused;
    }
    QByteArray bytes;
    if (!ReadAll(dataPath, bytes, refused.Error))
        return refused;
    DataFileText own;
    DataFileText& target = text ? *text : own;
    target = DataFileText::FromBytes(bytes);
    return MeshTransfer::Apply(target, *FormatCatalogue::For(number.Problem, number.Dynamics),
                               mesh);
}

VosherCommand::Outcome VosherCommand::Refused(int exitCode, const QString& message) {
    return {exitCode, Verdict::Fault({0, message}), {}};
}

VosherCommand::Outcome VosherCommand::Run(const QStringList& arguments,
                                          const QString& workDirectory,
                                          const QString& mesherDataDirectory) {
    Outcome outcome;
    try {
        outcome = Transfer(arguments, workDirectory, mesherDataDirectory);
    } catch (const std::bad_alloc&) {
        outcome = Refused(
            1, QStringLiteral("not enough memory to put the mesh into %1").arg(arguments.value(0)));
    }
    return Report(outcome, workDirectory);
}

VosherCommand::Outcome VosherCommand::Report(Outcome outcome, const QString& workDirectory) {
    const QString text =
        (QStringList{outcome.Verdict} + outcome.Notes).join(QStringLiteral("\r\n"));
    const QString error = Verdict::WriteErrorFile(workDirectory, text);
    if (!error.isEmpty()) {
        outcome.Notes << error;
        outcome.ExitCode = 3;
    }
    return outcome;
}
