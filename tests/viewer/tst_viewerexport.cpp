#include "CsvTable.h"
#include "ViewerLaunch.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardItemModel>
#include <QTemporaryDir>
#include <QtTest>
#include <cmath>

// The viewer's exports: every VTU file read back by VTK's own reader (or meshio) holds the
// solver's JSON answers at the right points and cells, for a frame's cases, combinations and
// envelope, a plane stress field, a solid and natural modes; the CSV tables name their columns
// with units and keep every number; wrong command lines are refused.
class ViewerExportTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir scratch_;

    // The example copied into the scratch folder and solved there; its answers as JSON.
    QJsonObject Solve(const QString& program, const QString& example) {
        const QString path = scratch_.filePath(example);
        QFile::remove(path);
        if (!QFile::copy(QStringLiteral(QV_EXAMPLES "/") + example, path))
            qFatal("cannot copy %s", qPrintable(example));
        QProcess solver;
        solver.setWorkingDirectory(scratch_.path());
        solver.start(program, {path});
        if (!solver.waitForFinished(60000) || solver.exitCode() != 0)
            qFatal("%s did not solve %s", qPrintable(program), qPrintable(example));
        solver.start(program, {QStringLiteral("--json"), path});
        solver.waitForFinished(60000);
        return QJsonDocument::fromJson(solver.readAllStandardOutput()).object();
    }

    // The files the viewer exports of it, as the other reader reads them; skipped without one.
    QJsonArray Exported(const QString& example) {
        const ViewerLaunch::Outcome outcome = ViewerLaunch::Prepare(
            {QStringLiteral("--vtu"), example}, scratch_.path(), QStringLiteral("Kaddle"));
        if (outcome.ExitCode != 0)
            qFatal("export refused: %s", qPrintable(outcome.Verdict));
        QProcess reader;
        reader.start(QStringLiteral(QV_PYTHON),
                     {QStringLiteral(QV_TEST_DATA "/readvtu.py"),
                      scratch_.filePath(QFileInfo(example).completeBaseName() + ".pvd")});
        reader.waitForFinished(120000);
        if (reader.exitCode() == 77)
            return {};
        if (reader.exitCode() != 0)
            qFatal("the reader failed: %s", reader.readAllStandardError().constData());
        return QJsonDocument::fromJson(reader.readAllStandardOutput())
            .object()
            .value(QStringLiteral("files"))
            .toArray();
    }

    static bool Near(double a, double b) {
        return std::abs(a - b) <= 1e-9 * std::max({1.0, std::abs(a), std::abs(b)});
    }

    // The value of an array at a point or cell: component `k` of a vector, else the scalar.
    static double At(const QJsonObject& arrays, const QString& name, int item, int k = -1) {
        const QJsonValue value = arrays.value(name).toArray().at(item);
        return k < 0 ? value.toDouble() : value.toArray().at(k).toDouble();
    }

    // The array whose name is `name` or "name [unit]".
    static QString Named(const QJsonObject& arrays, const QString& name) {
        for (const QString& key : arrays.keys())
            if (key == name || key.startsWith(name + QStringLiteral(" [")))
                return key;
        return {};
    }

    // Rows [node, c1, c2, ...] of `components` against the Displacement and Rotation vectors
    // (global axes: ux uy uz, rx ry rz) at the node's point.
    static void CompareMotion(const QJsonArray& rows, const QStringList& components,
                              const QJsonObject& points, const QString& what) {
        static const QStringList axes{"ux", "uy", "uz", "rx", "ry", "rz"};
        for (const QJsonValue& row : rows) {
            const QJsonArray values = row.toArray();
            const int node = values.at(0).toInt() - 1;
            for (qsizetype c = 0; c < components.size(); ++c) {
                const int axis = static_cast<int>(axes.indexOf(components[c]));
                QVERIFY2(axis >= 0, qPrintable(components[c]));
                const QString array =
                    axis < 3 ? QStringLiteral("Displacement") : QStringLiteral("Rotation");
                QVERIFY2(Near(At(points, array, node, axis % 3), values.at(c + 1).toDouble()),
                         qPrintable(QStringLiteral("%1 node %2 %3")
                                        .arg(what)
                                        .arg(node + 1)
                                        .arg(components[c])));
            }
        }
    }

    // Rows [element or node, v1, v2, ...] of `names` against the arrays of those names; cells
    // find their element through the "Element" array (a bar may be cut into several).
    static void CompareColumns(const QJsonArray& rows, const QStringList& names,
                               const QJsonObject& arrays, bool cells, const QString& what) {
        const QJsonArray elements = arrays.value(QStringLiteral("Element")).toArray();
        for (qsizetype n = 0; n < names.size(); ++n) {
            const QString array = Named(arrays, names[n]);
            QVERIFY2(!array.isEmpty(), qPrintable(what + " has no " + names[n]));
            int checked = 0;
            for (const QJsonValue& row : rows) {
                const QJsonArray values = row.toArray();
                const int number = values.at(0).toInt();
                for (int item = 0; item < arrays.value(array).toArray().size(); ++item) {
                    if ((cells ? elements.at(item).toInt() : item + 1) != number)
                        continue;
                    QVERIFY2(
                        Near(At(arrays, array, item), values.at(n + 1).toDouble()),
                        qPrintable(QStringLiteral("%1 %2 of %3").arg(what, names[n]).arg(number)));
                    ++checked;
                }
            }
            QVERIFY2(checked >= rows.size(), qPrintable(what + " misses " + names[n]));
        }
    }

    static QStringList Strings(const QJsonValue& value) {
        QStringList list;
        for (const QJsonValue& item : value.toArray())
            list << item.toString();
        return list;
    }

    static QList<int> CellTypes(const QJsonObject& file) {
        QList<int> types;
        for (const QJsonValue& cell : file.value(QStringLiteral("cells")).toArray())
            types << cell.toObject().value(QStringLiteral("type")).toInt();
        return types;
    }

private slots:
    void initTestCase() { QVERIFY(scratch_.isValid()); }

    // A plane frame: four load cases, two combinations and an envelope's bounds, in that order,
    // each with displacements, rotations, reactions and end forces.
    void frameCasesCombinationsEnvelope() {
        const QJsonObject json = Solve(QStringLiteral(PELGON_PROGRAM), "portal.d05");
        const QJsonArray files = Exported(QStringLiteral("portal.d05"));
        if (files.isEmpty())
            QSKIP("neither python3-vtk9 nor python3-meshio is installed");
        const QStringList components = Strings(json.value("components"));
        const QStringList forces = Strings(json.value("forceNames"));
        std::vector<std::pair<QString, QJsonObject>> expected;
        for (const QJsonValue& c : json.value("cases").toArray())
            expected.push_back(
                {QStringLiteral("portal-case%1.vtu").arg(c["case"].toInt()), c.toObject()});
        for (const QJsonValue& c : json.value("combinations").toArray())
            expected.push_back({QStringLiteral("portal-combination%1.vtu").arg(c["number"].toInt()),
                                c.toObject()});
        for (const QJsonValue& e : json.value("envelopes").toArray()) {
            for (const char* bound : {"max", "min"})
                expected.push_back({QStringLiteral("portal-envelope%1-%2.vtu")
                                        .arg(e["number"].toInt())
                                        .arg(QLatin1String(bound)),
                                    e[QLatin1String(bound)].toObject()});
        }
        QCOMPARE(files.size(), qsizetype(expected.size()));
        QVERIFY(expected.size() >= 8);
        for (size_t k = 0; k < expected.size(); ++k) {
            const QJsonObject file = files[static_cast<qsizetype>(k)].toObject();
            const auto& [name, answer] = expected[k];
            QCOMPARE(file["file"].toString(), name);
            QCOMPARE(file["timestep"].toDouble(), double(k));
            QCOMPARE(CellTypes(file), QList<int>(3, 3)); // three bars as lines
            const QJsonObject points = file["pointData"].toObject();
            CompareMotion(answer["displacements"].toArray(), components, points, name);
            if (QTest::currentTestFailed())
                return;
            // Reactions: forces Fx Fz and the moment My where the components are ux uz ry.
            for (const QJsonValue& row : answer["reactions"].toArray()) {
                const int node = row[0].toInt() - 1;
                QVERIFY(Near(At(points, "Reaction", node, 0), row[1].toDouble()));
                QVERIFY(Near(At(points, "Reaction", node, 2), row[2].toDouble()));
                QVERIFY(Near(At(points, "Reaction moment", node, 1), row[3].toDouble()));
            }
            CompareColumns(answer["forces"].toArray(), forces, file["cellData"].toObject(), true,
                           name);
            if (QTest::currentTestFailed())
                return;
        }
    }

    // Continuum fields: a plane stress panel and a solid of bricks and a wedge, with the
    // stresses at the element centres as cell data and at the nodes as point data.
    void continuumFields_data() {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("example");
        QTest::addColumn<QList<int>>("types");
        QTest::newRow("plane stress")
            << QStringLiteral(OMBERI_PROGRAM) << "panel.d09" << QList<int>{};
        QTest::newRow("solid") << QStringLiteral(FENTAR_PROGRAM) << "block.d17"
                               << QList<int>{12, 12, 13};
    }
    void continuumFields() {
        QFETCH(QString, program);
        QFETCH(QString, example);
        QFETCH(QList<int>, types);
        const QJsonObject json = Solve(program, example);
        const QJsonArray files = Exported(example);
        if (files.isEmpty())
            QSKIP("neither python3-vtk9 nor python3-meshio is installed");
        const QJsonArray cases = json["cases"].toArray();
        QCOMPARE(files.size(), cases.size());
        const QStringList names = Strings(json["stressNames"]);
        for (qsizetype k = 0; k < cases.size(); ++k) {
            const QJsonObject file = files[k].toObject();
            const QJsonObject answer = cases[k].toObject();
            if (!types.isEmpty())
                QCOMPARE(CellTypes(file), types);
            QCOMPARE(file["cells"].toArray().size(), answer["stresses"].toArray().size());
            CompareMotion(answer["displacements"].toArray(), Strings(json["components"]),
                          file["pointData"].toObject(), example);
            CompareColumns(answer["stresses"].toArray(), names, file["cellData"].toObject(), true,
                           example);
            CompareColumns(answer["nodeStresses"].toArray(), names, file["pointData"].toObject(),
                           false, example);
        }
    }

    // Natural modes of a plane frame: one file per mode in order, its frequency with it, the
    // nodes' shape as the JSON gives it and the bars cut at the inner points the solver adds.
    void modes() {
        const QJsonObject json = Solve(QStringLiteral(LIRTAG_PROGRAM), "twostorey.d08");
        const QJsonArray files = Exported(QStringLiteral("twostorey.d08"));
        if (files.isEmpty())
            QSKIP("neither python3-vtk9 nor python3-meshio is installed");
        const QJsonArray modes = json["modes"].toArray();
        QCOMPARE(files.size(), modes.size());
        for (qsizetype k = 0; k < modes.size(); ++k) {
            const QJsonObject file = files[k].toObject();
            QCOMPARE(file["file"].toString(), QStringLiteral("twostorey-mode%1.vtu").arg(k + 1));
            const QJsonArray frequency = file["fieldData"]["Frequency [Hz]"].toArray();
            QVERIFY(!frequency.isEmpty());
            const QJsonValue value = frequency.at(0);
            QVERIFY(Near(value.isArray() ? value[0].toDouble() : value.toDouble(),
                         modes[k]["frequency"].toDouble()));
            QVERIFY(file["cells"].toArray().size() > 6); // six bars, cut
            CompareMotion(modes[k]["shape"].toArray(), {"ux", "uz", "ry"},
                          file["pointData"].toObject(), file["file"].toString());
        }
    }

    // The tables as CSV: the header names each column with its unit, and every number reads
    // back as the solver gave it.
    void csvRoundTrip() {
        const QJsonObject json = Solve(QStringLiteral(PELGON_PROGRAM), "portal.d05");
        const ViewerLaunch::Outcome outcome = ViewerLaunch::Prepare(
            {QStringLiteral("--csv"), QStringLiteral("portal.d05")}, scratch_.path());
        QCOMPARE(outcome.ExitCode, 0);
        QVERIFY(outcome.Verdict.contains("portal-element-end-forces.csv"));
        QFile file(scratch_.filePath("portal-element-end-forces.csv"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QStringList lines =
            QString::fromUtf8(file.readAll()).split("\r\n", Qt::SkipEmptyParts);
        QCOMPARE(lines.value(0),
                 QStringLiteral("Entry,Element,Ni [kN],Vi [kN],Mi [kNm],Nj [kN],Vj [kN],Mj [kNm]"));
        const QJsonArray rows = json["cases"][0]["forces"].toArray();
        for (qsizetype r = 0; r < rows.size(); ++r) {
            const QStringList fields = lines.value(r + 1).split(u',');
            QCOMPARE(fields.value(0), QStringLiteral("Load case 1"));
            for (qsizetype c = 0; c < rows[r].toArray().size(); ++c)
                QCOMPARE(fields.value(c + 1).toDouble(), rows[r][c].toDouble());
        }
        // Text that holds the separator, a quote or a line break is quoted.
        QStandardItemModel table(1, 2);
        table.setHorizontalHeaderLabels({"say \"hi\"", "a,b"});
        table.setData(table.index(0, 0), 0.1, Qt::UserRole);
        QCOMPARE(CsvTable::Of(table), QStringLiteral("\"say \"\"hi\"\"\",\"a,b\"\r\n0.1,\r\n"));
        QCOMPARE(CsvTable::Field("two\nlines"), QStringLiteral("\"two\nlines\""));
    }

    // Command lines that cannot be served are refused with the usage or the reason, write
    // nothing and open no window; help and version answer.
    void commandLines_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("says");
        QTest::newRow("help") << QStringList{"--help"} << 0 << "--vtu";
        QTest::newRow("version") << QStringList{"--version"} << 0 << "Kaddle 0.";
        QTest::newRow("no data file") << QStringList{"--vtu"} << 2 << "usage";
        QTest::newRow("two data files") << QStringList{"--csv", "a.d05", "b.d05"} << 2 << "usage";
        QTest::newRow("both exports")
            << QStringList{"--csv", "--vtu", "portal.d05"} << 2 << "usage";
        QTest::newRow("unknown option") << QStringList{"--png", "portal.d05"} << 2 << "png";
        QTest::newRow("no results") << QStringList{"--vtu", "nothing.d05"} << 1 << "Error";
        QTest::newRow("not solved") << QStringList{"--vtu", "unsolved.d05"} << 1 << "unsolved.bin";
    }
    void commandLines() {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, says);
        QFile::remove(scratch_.filePath("unsolved.d05"));
        QVERIFY(QFile::copy(QStringLiteral(QV_EXAMPLES "/portal.d05"),
                            scratch_.filePath("unsolved.d05")));
        const ViewerLaunch::Outcome outcome =
            ViewerLaunch::Prepare(arguments, scratch_.path(), QStringLiteral("Kaddle"));
        QCOMPARE(outcome.ExitCode, exitCode);
        QVERIFY(!outcome.ShowWindow);
        QVERIFY2(outcome.Verdict.contains(says), qPrintable(outcome.Verdict));
        QVERIFY(!QFile::exists(scratch_.filePath("unsolved.pvd")));
    }
};

QTEST_GUILESS_MAIN(ViewerExportTest)
#include "tst_viewerexport.moc"
