#include "GmshinCommand.h"

#include "DataFileText.h"
#include "ExchangeFile.h"
#include "FormatCatalogue.h"
#include "GmshImport.h"
#include "GmshReader.h"
#include "GroupMap.h"
#include "ProblemNumber.h"
#include "Verdict.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <new>

namespace {

using Outcome = GmshinCommand::Outcome;

struct Stop {
    int ExitCode;
    QString Message;
};

QByteArray ReadAll(const QString& path, qint64 limit) {
    if (QFileInfo(path).isDir())
        throw Stop{1, QStringLiteral("%1 is a directory, not a file").arg(path)};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Stop{1, QStringLiteral("cannot read %1: %2").arg(path, file.errorString())};
    if (file.size() > limit)
        throw Stop{1, QStringLiteral("%1 is too large").arg(path)};
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw Stop{1, QStringLiteral("cannot read %1: %2").arg(path, file.errorString())};
    return bytes;
}

GmshMesh ReadMesh(const QString& path) {
    GmshReader::Result read = GmshReader::Read(ReadAll(path, GmshReader::MaxBytes));
    if (!read.Ok)
        throw Stop{1, QStringLiteral("%1, %2").arg(path, read.Error)};
    return std::move(read.Mesh);
}

// The blank template of the problem type: its block of "Tablesw.dat", up to the first line
// that holds "&". Blocks 0 to 18 serve the numbers 51 to 69, then the dynamics variants of 54,
// 57 and 63.
QByteArray TemplateOf(const QString& packageDirectory, const ProblemNumber& number) {
    const QString path = QDir(packageDirectory).filePath(QStringLiteral("Tablesw.dat"));
    const QList<QByteArray> lines = ReadAll(path, 16 * 1024 * 1024).split('\n');
    int block = number.Problem - 1;
    if (number.Dynamics)
        block = number.Problem == 4 ? 19 : number.Problem == 7 ? 20 : 21;
    QByteArray text;
    for (const QByteArray& line : lines) {
        if (block == 0)
            text += line + '\n';
        if (line.contains('&') && block-- == 0)
            return text;
    }
    throw Stop{1,
               QStringLiteral("%1 holds no template for problem %2").arg(path).arg(number.Problem)};
}

Outcome Import(const QString& meshPath, const QString& dataPath, const QString& mapPath,
               const QString& packageDirectory) {
    const ProblemNumber number = ProblemNumber::FromFileName(dataPath);
    if (!number.Valid)
        throw Stop{2, number.Error};
    if (GmshImport::ElementDimension(number.Problem) < 0)
        throw Stop{2, QStringLiteral("problem %1 takes no mesh").arg(number.Problem)};
    const GmshMesh mesh = ReadMesh(meshPath);
    GroupMap map;
    if (QFileInfo::exists(mapPath)) {
        GroupMap::Result read = GroupMap::Read(ReadAll(mapPath, 1024 * 1024));
        if (!read.Ok)
            throw Stop{1, QStringLiteral("%1, %2").arg(mapPath, read.Error)};
        map.Entries = std::move(read.Entries);
    }
    const bool fresh = !QFileInfo::exists(dataPath);
    DataFileText text = DataFileText::FromBytes(fresh ? TemplateOf(packageDirectory, number)
                                                      : ReadAll(dataPath, 256 * 1024 * 1024));
    const GmshImport::Result result =
        GmshImport::Apply(text, *FormatCatalogue::For(number.Problem, number.Dynamics), mesh, map);
    if (!result.Error.isEmpty())
        throw Stop{1, QStringLiteral("%1: %2").arg(QFileInfo(meshPath).fileName(), result.Error)};
    const QString error = ExchangeFile::Write(dataPath, text.ToBytes());
    if (!error.isEmpty())
        throw Stop{3, error};
    QString verdict = QStringLiteral("OK - the mesh of %1 nodes and %2 elements of %3 was taken "
                                     "into %4")
                          .arg(result.Nodes)
                          .arg(result.Elements)
                          .arg(QFileInfo(meshPath).fileName(), QFileInfo(dataPath).fileName());
    if (!result.Written.isEmpty())
        verdict += QStringLiteral("; ") + result.Written.join(QStringLiteral(", "));
    return {0, verdict, result.Removed, {}};
}

Outcome Report(Outcome outcome, const QString& workDirectory) {
    const QString text =
        (QStringList{outcome.Verdict} + outcome.Notes).join(QStringLiteral("\r\n"));
    const QString error = Verdict::WriteErrorFile(workDirectory, text);
    if (!error.isEmpty()) {
        outcome.Notes << error;
        outcome.ExitCode = 3;
    }
    return outcome;
}

Outcome Refused(int exitCode, const QString& message) {
    return {exitCode, Verdict::Fault({0, message}), {}, {}};
}

} // namespace

QString GmshinCommand::MapPathFor(const QString& dataPath) {
    return GroupMap::PathFor(dataPath);
}

QStringList GmshinCommand::GroupLines(const GmshMesh& mesh) {
    QStringList lines;
    for (const GmshMesh::Group& group : mesh.Groups) {
        int count = 0;
        for (const GmshMesh::Element& element : mesh.Elements)
            count += mesh.InGroup(element, group.Dimension, group.Tag) ? 1 : 0;
        lines << QStringLiteral("%1\t%2\t%3\t%4")
                     .arg(group.Dimension)
                     .arg(group.Tag)
                     .arg(group.Name)
                     .arg(count);
    }
    return lines;
}

QString GmshinCommand::Usage() {
    return QStringLiteral(
        "Puts a Gmsh mesh (.msh, format 4.1 or 2.2, ASCII or binary) into a data file, the "
        "problem type given by its extension (.d59, .d13, .d67, ...). The physical groups "
        "become supports, loads, springs and materials as the group map says (by default the "
        "data file's name with .gmi). A data file that does not exist starts from its type's "
        "template.\n\n"
        "Exit status: 0 done, 1 a file refused, 2 wrong command line, 3 a file could not be "
        "written. The verdict is also left in Error.txt of the current directory.");
}

GmshinCommand::Outcome GmshinCommand::Run(const QStringList& arguments,
                                          const QString& workDirectory,
                                          const QString& packageDirectory) {
    QCommandLineParser parser;
    parser.setApplicationDescription(Usage());
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption groups(QStringLiteral("groups"),
                                    QStringLiteral("List the physical groups of MSHFILE: "
                                                   "dimension, tag, name and element count, "
                                                   "separated by tabs."));
    const QCommandLineOption mapOption(
        QStringLiteral("map"), QStringLiteral("The group map to use."), QStringLiteral("MAPFILE"));
    parser.addOption(groups);
    parser.addOption(mapOption);
    parser.addPositionalArgument(QStringLiteral("MSHFILE"), QStringLiteral("The Gmsh mesh."));
    parser.addPositionalArgument(QStringLiteral("DATAFILE"),
                                 QStringLiteral("The data file to write."));
    if (!parser.parse(arguments))
        return Report(Refused(2, parser.errorText()), workDirectory);
    if (parser.isSet(help))
        return {0, {}, {}, {parser.helpText()}};
    if (parser.isSet(version))
        return {0, {}, {}, {QStringLiteral("Gmshin %1").arg(QStringLiteral(GMSHIN_VERSION))}};
    const QStringList files = parser.positionalArguments();
    const QDir directory(workDirectory);
    try {
        if (parser.isSet(groups)) {
            if (files.size() != 1)
                throw Stop{2, QStringLiteral("usage: Gmshin --groups MSHFILE")};
            const QString path = directory.filePath(files[0]);
            return {0, {}, {}, GroupLines(ReadMesh(path))};
        }
        if (files.size() != 2)
            throw Stop{2, QStringLiteral("usage: Gmshin [--map MAPFILE] MSHFILE DATAFILE")};
        const QString dataPath = directory.filePath(files[1]);
        const QString mapPath = parser.isSet(mapOption)
                                    ? directory.filePath(parser.value(mapOption))
                                    : MapPathFor(dataPath);
        // A map asked for by name must be there; the one beside the data file may be missing.
        if (parser.isSet(mapOption) && !QFileInfo::exists(mapPath))
            throw Stop{1, QStringLiteral("the group map %1 does not exist").arg(mapPath)};
        return Report(Import(directory.filePath(files[0]), dataPath, mapPath, packageDirectory),
                      workDirectory);
    } catch (const Stop& stop) {
        return Report(Refused(stop.ExitCode, stop.Message), workDirectory);
    } catch (const std::bad_alloc&) {
        return Report(Refused(1, QStringLiteral("not enough memory for the mesh")), workDirectory);
    }
}
