#include "DataChecker.h"
#include "DataFileText.h"
#include "FormatCatalogue.h"
#include "GmshImport.h"
#include "GmshReader.h"
#include "GmshinCommand.h"
#include "GroupChoices.h"
#include "GroupMap.h"
#include "InputText.h"
#include "ItemLine.h"
#include "SolidElements.h"
#include "SolverFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(path));
    return file.readAll();
}

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

QByteArray MeshData(const QString& name) {
    return ReadFile(QStringLiteral(QV_TEST_DATA "/") + name);
}

// The items of a table as numbers.
std::vector<std::vector<double>> Items(const DataFileText& text, int table) {
    std::vector<std::vector<double>> rows;
    const DataFileText::Span span = text.Table(table);
    for (int i = span.Header + 1; span.Found() && i < span.End; ++i) {
        const ItemLine item = ItemLine::Parse(text.Line(i));
        if (!item.Valid)
            continue;
        std::vector<double>& row = rows.emplace_back();
        for (QStringView word : item.Words)
            row.push_back(word.toDouble());
    }
    return rows;
}

// Imports a mesh file of the test data with a group map through the program's own path, into a
// new data file cut from the package's template; returns the data file's bytes.
QByteArray Import(const QString& mesh, const QString& dataName, const QByteArray& map,
                  GmshinCommand::Outcome* outcome = nullptr) {
    QTemporaryDir directory;
    WriteFile(directory.filePath(mesh), MeshData(mesh));
    WriteFile(GmshinCommand::MapPathFor(directory.filePath(dataName)), map);
    const GmshinCommand::Outcome run =
        GmshinCommand::Run({QStringLiteral("Gmshin"), mesh, dataName}, directory.path(),
                           QStringLiteral(PACKAGE_SOURCE));
    if (outcome)
        *outcome = run;
    if (run.ExitCode != 0)
        return {};
    return ReadFile(directory.filePath(dataName));
}

} // namespace

class TestGmshin : public QObject {
    Q_OBJECT

private slots:
    void everyKindInBothVersions_data();
    void everyKindInBothVersions();
    void hostileFilesAreRefusedWithTheirPlace_data();
    void hostileFilesAreRefusedWithTheirPlace();
    void importedPlateSolvesAsTheSameMeshByHand();
    void groupMapSurvivesTheEditorsRoundTrip();
    void nodeBeyondTheCheckersRangeIsRefused();
};

void TestGmshin::everyKindInBothVersions_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("dataName");
    QTest::addColumn<QByteArray>("map");
    QTest::addColumn<int>("nodes");
    QTest::addColumn<int>("elements");
    QTest::addColumn<QStringList>("groups");
    QTest::addColumn<QStringList>("written");
    const QByteArray plane = "Gmsh group map 1\n\"fixed\" support 1 1\n\"load\" load 1 0 -6\n"
                             "\"body\" material 1 1\n\"corner\" spring 0 100\n";
    const QStringList planeGroups{"0\t4\tcorner\t1", "1\t1\tfixed\t2", "1\t2\tload\t2",
                                  "2\t3\tbody\t%1"};
    QByteArray quadMap = plane;
    quadMap.replace("material 1 1", "material 1");
    const QByteArray solid = "Gmsh group map 1\n\"bottom\" support 1 1 1\n";
    const struct {
        const char* kind;
        const char* dataName;
        QByteArray map;
        int nodes, elements;
        QStringList groups, written;
    } kinds[] = {
        {"tri",
         "a.d59",
         plane,
         12,
         14,
         {planeGroups[0], planeGroups[1], planeGroups[2], planeGroups[3].arg(14)},
         {"table 6: 3 supports", "table 7: 3 nodal loads", "table 13: 1 springs"}},
        {"quad",
         "a.d60",
         quadMap,
         11,
         6,
         {planeGroups[0], planeGroups[1], planeGroups[2], planeGroups[3].arg(6)},
         {"table 6: 3 supports", "table 7: 3 nodal loads", "table 13: 1 springs"}},
        {"tet",
         "a.d67",
         solid,
         22,
         43,
         {"2\t1\tbottom\t4", "3\t2\tbody\t43"},
         {"table 6: 5 supports"}},
        {"hex",
         "a.d67",
         solid,
         27,
         8,
         {"2\t1\tbottom\t4", "3\t2\tbody\t8"},
         {"table 6: 9 supports"}},
        {"prism",
         "a.d67",
         solid,
         27,
         16,
         {"2\t1\tbottom\t8", "3\t2\tbody\t16"},
         {"table 6: 9 supports"}},
    };
    for (const auto& k : kinds) {
        for (const char* version : {"41", "22"})
            for (const char* form : {"", "-bin"})
                QTest::addRow("%s%s%s", k.kind, version, form)
                    << QStringLiteral("%1%2%3").arg(k.kind, version, form) << k.dataName << k.map
                    << k.nodes << k.elements << k.groups << k.written;
    }
    const QByteArray frame = "Gmsh group map 1\n\"feet\" support 1 1 1\n\"top\" load 2 10 0 0\n"
                             "\"beam\" load 1 0 -5\n\"columns\" material 1 1\n";
    for (const char* version : {"41", "22"})
        for (const char* form : {"", "-bin"})
            QTest::addRow("line%s%s", version, form)
                << QStringLiteral("line%1%2").arg(version, form) << "a.d55" << frame << 8 << 7
                << QStringList{"0\t1\tfeet\t2", "0\t2\ttop\t1", "1\t3\tcolumns\t4", "1\t4\tbeam\t3"}
                << QStringList{"table 6: 2 supports", "table 7: 1 nodal loads",
                               "table 8: 3 element loads"};
}

void TestGmshin::everyKindInBothVersions() {
    QFETCH(QString, kind);
    QFETCH(QString, dataName);
    QFETCH(QByteArray, map);
    QFETCH(int, nodes);
    QFETCH(int, elements);
    QFETCH(QStringList, groups);
    QFETCH(QStringList, written);

    const GmshReader::Result read = GmshReader::Read(MeshData(kind + QStringLiteral(".msh")));
    QVERIFY2(read.Ok, qPrintable(read.Error));
    QCOMPARE(GmshinCommand::GroupLines(read.Mesh), groups);

    GmshinCommand::Outcome outcome;
    const QByteArray bytes = Import(kind + QStringLiteral(".msh"), dataName, map, &outcome);
    QVERIFY2(outcome.ExitCode == 0, qPrintable(outcome.Verdict));
    for (const QString& table : written)
        QVERIFY2(outcome.Verdict.contains(table), qPrintable(outcome.Verdict));
    const int problem = dataName.right(2).toInt() - 50;
    const DataChecker::Result checked =
        DataChecker::Check(InputText::Lines(bytes), *FormatCatalogue::For(problem, false));
    QVERIFY2(checked.Ok, qPrintable(checked.Fault.Message));

    const DataFileText text = DataFileText::FromBytes(bytes);
    const auto points = Items(text, 4), cells = Items(text, 5);
    QCOMPARE(int(points.size()), nodes);
    QCOMPARE(int(cells.size()), elements);
    for (const auto& cell : cells) {
        if (problem == 17) {
            std::vector<Eigen::Vector3d> corners;
            for (size_t c = 0; c < 8 && cell[c] > 0; ++c) {
                const auto& p = points[size_t(cell[c]) - 1];
                corners.emplace_back(p[0], p[1], p[2]);
            }
            const auto shape = SolidElement::Classify(corners);
            QVERIFY(shape.Shape == SolidShape::Sound);
            QVERIFY2(!shape.Mirrored, "a solid is numbered with a negative volume");
        } else if (problem != 5) {
            double twice = 0;
            const int count = cell[3] > 0 ? 4 : 3;
            for (int c = 0; c < count; ++c) {
                const auto& p = points[size_t(cell[size_t(c)]) - 1];
                const auto& n = points[size_t(cell[size_t((c + 1) % count)]) - 1];
                twice += p[0] * n[1] - p[1] * n[0];
            }
            QVERIFY2(twice > 0, "a plane element runs clockwise");
        }
    }
    if (problem == 9 || problem == 10) {
        // The load of 6 per unit length on the right edge of length 1 comes in whole.
        double sum = 0;
        for (const auto& load : Items(text, 7))
            sum += load[3];
        QCOMPARE(sum, -6.0);
    }
}

void TestGmshin::hostileFilesAreRefusedWithTheirPlace_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("place");
    QTest::addColumn<QString>("why");
    const QByteArray ascii = MeshData(QStringLiteral("tri41.msh"));
    const QByteArray old = MeshData(QStringLiteral("tri22.msh"));
    const QByteArray binary = MeshData(QStringLiteral("tri41-bin.msh"));

    QTest::newRow("cut short") << ascii.left(ascii.indexOf("$Elements") + 30) << "line "
                               << "cannot fit";
    QByteArray lying = ascii;
    lying.replace("$Nodes\n9 12 1 12", "$Nodes\n9 99999999999 1 12");
    QTest::newRow("node count lies") << lying << "line 24"
                                     << "lies outside";
    QByteArray fewer = ascii;
    fewer.replace("$Nodes\n9 12 1 12", "$Nodes\n9 11 1 12");
    QTest::newRow("blocks hold more") << fewer << "line "
                                      << "more nodes than the 11";
    QByteArray second = old;
    second.replace("\n6 2 2 3 1 6 3 11\n", "\n6 9 2 3 1 6 3 11 1 2 3\n");
    QTest::newRow("second order") << second << "line 33"
                                  << "a 6-node second-order triangle (element type 9)";
    QByteArray unknown = old;
    unknown.replace("\n6 2 2 3 1 6 3 11\n", "\n6 77 2 3 1 6 3 11\n");
    QTest::newRow("unknown type") << unknown << "line 33"
                                  << "unknown kind (element type 77)";
    QByteArray ghost = ascii;
    ghost.replace("$PhysicalNames\n4\n", "$PhysicalNames\n5\n2 99 \"ghost\"\n");
    QTest::newRow("group naming nothing") << ghost << "line 6"
                                          << "\"ghost\"";
    QByteArray missingNode = old;
    missingNode.replace("\n6 2 2 3 1 6 3 11\n", "\n6 2 2 3 1 6 3 4000\n");
    QTest::newRow("unknown node") << missingNode << "line 33"
                                  << "node 4000";
    QByteArray marker = binary;
    const qsizetype nodes = marker.indexOf("$Nodes\n") + 7;
    const quint64 huge = quint64(1) << 60;
    marker.replace(nodes + 8, 8, QByteArray(reinterpret_cast<const char*>(&huge), 8));
    QTest::newRow("binary size marker")
        << marker << QStringLiteral("$Nodes, byte %1").arg(nodes + 8) << "lies outside";
    QTest::newRow("binary cut short")
        << binary.left(binary.indexOf("$Elements") + 40) << "$Elements, byte"
        << "cut short";
    QByteArray version = ascii;
    version.replace("4.1 0 8", "3.0 0 8");
    QTest::newRow("format 3") << version << "line 2"
                              << "format 3.0 is not read";
    QTest::newRow("not a mesh") << QByteArray("hello\n") << "line 1"
                                << "a section";
    QTest::newRow("empty") << QByteArray() << "line 1"
                           << "empty";
}

void TestGmshin::hostileFilesAreRefusedWithTheirPlace() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, place);
    QFETCH(QString, why);
    const GmshReader::Result read = GmshReader::Read(bytes);
    QVERIFY(!read.Ok);
    QVERIFY2(read.Error.startsWith(place), qPrintable(read.Error));
    QVERIFY2(read.Error.contains(why), qPrintable(read.Error));
}

void TestGmshin::importedPlateSolvesAsTheSameMeshByHand() {
    // A slab of 6 x 6 m on its edges under 10 kN/m², meshed in Gmsh into 4 x 4 quadrangles,
    // and the same grid written by hand: the centre deflects the same.
    GmshinCommand::Outcome outcome;
    const QByteArray imported =
        Import(QStringLiteral("plate.msh"), QStringLiteral("slab.d63"),
               "Gmsh group map 1\n\"edges\" support 1 0 0\n\"slab\" load 1 -10\n", &outcome);
    QVERIFY2(outcome.ExitCode == 0, qPrintable(outcome.Verdict));
    const DataFileText text = DataFileText::FromBytes(imported);
    const auto points = Items(text, 4);
    int importedCentre = 0;
    for (size_t n = 0; n < points.size(); ++n)
        if (points[n][0] == 3 && points[n][1] == 3)
            importedCentre = int(n + 1);
    QVERIFY(importedCentre > 0);

    QStringList nodes, elements, supports, loads;
    for (int j = 0; j < 5; ++j)
        for (int i = 0; i < 5; ++i) {
            nodes << QStringLiteral("%1 %2").arg(1.5 * i).arg(1.5 * j);
            if (i == 0 || j == 0 || i == 4 || j == 4)
                supports << QStringLiteral("%1 1 0 0").arg(j * 5 + i + 1);
            if (i < 4 && j < 4) {
                const int n1 = j * 5 + i + 1;
                elements << QStringLiteral("%1 %2 %3 %4 1 1")
                                .arg(n1)
                                .arg(n1 + 1)
                                .arg(n1 + 6)
                                .arg(n1 + 5);
                loads << QStringLiteral("1 %1 -10").arg(elements.size());
            }
        }
    const QByteArray byHand = SolverFiles::Structure(1,
                                                     {{2, {"3.0E7 0.2 25.0 1.0E-5"}},
                                                      {3, {"0.18"}},
                                                      {4, nodes},
                                                      {5, elements},
                                                      {6, supports},
                                                      {7, {}},
                                                      {8, loads},
                                                      {9, {}}},
                                                     QStringLiteral("0"));
    // The template's material and section, which the import keeps.
    QVERIFY(text.Lines().join('\n').contains(QStringLiteral("3.0E7")));
    const SolverFiles::Run fromGmsh(QStringLiteral("Nuvast"), QStringLiteral("slab.d13"), imported);
    QVERIFY2(fromGmsh.Ok(), qPrintable(fromGmsh.Error()));
    const SolverFiles::Run written(QStringLiteral("Nuvast"), QStringLiteral("slab.d13"), byHand);
    QVERIFY2(written.Ok(), qPrintable(written.Error()));
    const double w = written.Displacement(13, 0);
    QVERIFY(w < 0);
    QCOMPARE(fromGmsh.Displacement(importedCentre, 0), w);
}

void TestGmshin::groupMapSurvivesTheEditorsRoundTrip() {
    // The shipped map, listed against its mesh's groups and written again, is the same file;
    // a group the mesh no longer has drops out, and a map that cannot be read names its line.
    const QByteArray shipped = ReadFile(QStringLiteral(PACKAGE_SOURCE "/examples/bracket.gmi"));
    const GmshReader::Result mesh =
        GmshReader::Read(ReadFile(QStringLiteral(PACKAGE_SOURCE "/examples/bracket.msh")));
    QVERIFY2(mesh.Ok, qPrintable(mesh.Error));
    GroupMap::Result map = GroupMap::Read(shipped + "\"gone\" support 1 1\r\n");
    QVERIFY2(map.Ok, qPrintable(map.Error));
    GroupMap previous;
    previous.Entries = map.Entries;
    const std::vector<GroupChoices::Row> rows =
        GroupChoices::FromListing(GmshinCommand::GroupLines(mesh.Mesh), previous);
    QCOMPARE(rows.size(), size_t(3));
    QCOMPARE(rows[0].Name, QStringLiteral("fixed edge"));
    QVERIFY(rows[0].Role == GroupMap::Role::Support);
    QCOMPARE(GroupChoices::ToMap(rows).ToBytes(), shipped);

    for (const auto& [text, error] :
         {std::pair{"Gmsh group map 1\n\"x\" push 1\n", "line 2: a role expected"},
          std::pair{"Gmsh group map 2\n", "line 1: \"Gmsh group map 1\" expected"},
          std::pair{"Gmsh group map 1\n1:2 load 1 x\n", "line 2: \"x\" is not a number"},
          std::pair{"Gmsh group map 1\n\"a\" spring 1\n\"a\" load 1 2\n",
                    "line 3: the group \"a\" has a role already (line 2)"}}) {
        const GroupMap::Result bad = GroupMap::Read(text);
        QVERIFY(!bad.Ok);
        QVERIFY2(bad.Error.startsWith(QString::fromUtf8(error)), qPrintable(bad.Error));
    }
}

void TestGmshin::nodeBeyondTheCheckersRangeIsRefused() {
    // Gmsh reads the coordinate, the checker would not: the data file must stay as it was.
    QByteArray far = MeshData(QStringLiteral("tri22.msh"));
    far.replace("\n3 1 1 0\n", "\n3 1e300 1 0\n");
    const GmshReader::Result read = GmshReader::Read(far);
    QVERIFY2(read.Ok, qPrintable(read.Error));
    DataFileText text =
        DataFileText::FromBytes(ReadFile(QStringLiteral(PACKAGE_SOURCE "/examples/bracket.d09")));
    const QByteArray before = text.ToBytes();
    const GmshImport::Result result =
        GmshImport::Apply(text, *FormatCatalogue::For(9), read.Mesh, GroupMap());
    QVERIFY2(result.Error.startsWith(QStringLiteral("node 3 has the coordinate 1e+300")),
             qPrintable(result.Error));
    QCOMPARE(text.ToBytes(), before);
}

QTEST_GUILESS_MAIN(TestGmshin)
#include "tst_gmshin.moc"
