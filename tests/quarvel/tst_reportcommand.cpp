#include "ReportCommand.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

namespace {

struct Run {
    int status = 0;
    QString out;
    QString err;
};

Run Report(const QStringList& arguments) {
    Run run;
    QTextStream out(&run.out);
    QTextStream err(&run.err);
    run.status = RunReportCommand(arguments, out, err);
    out.flush();
    err.flush();
    return run;
}

QString Sample(const char* name) {
    return QStringLiteral(QV_SAMPLES_DIR "/") + name;
}

} // namespace

class TestReportCommand : public QObject {
    Q_OBJECT

private slots:
    void textReportOfSamples();
    void jsonReportOfThinWalledSamples_data();
    void jsonReportOfThinWalledSamples();
    void badFilesAreReportedAndOthersStillRun();
    void commandLineErrors();
};

void TestReportCommand::textReportOfSamples() {
    const Run run = Report({Sample("rectangle.geo")});
    QCOMPARE(run.status, 0);
    QCOMPARE(run.out, QStringLiteral("Dimension: cm\nYc=       1.5000\nZc=       1.0000\n"
                                     " F=   6.000E+000\nI1=   4.500E+000\nI2=   2.000E+000\n"
                                     "Alpha=     -90.0000 deg\n"));

    const Run plate = Report({Sample("plate-with-hole.geo"), Sample("rectangle.geo")});
    QCOMPARE(plate.status, 0);
    const QStringList lines = plate.out.split(u'\n');
    QCOMPARE(lines.at(0), Sample("plate-with-hole.geo") + u':');
    QCOMPARE(lines.at(4), QStringLiteral(" F=   1.200E+001"));
    QCOMPARE(lines.at(5), QStringLiteral("I1=   2.000E+001"));
    // Equal principal moments: every axis is principal, and the angle is 0, not noise.
    QCOMPARE(lines.at(7), QStringLiteral("Alpha=       0.0000 deg"));
    QCOMPARE(lines.at(8), Sample("rectangle.geo") + u':');
}

void TestReportCommand::jsonReportOfThinWalledSamples_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<double>("yo");
    QTest::addColumn<double>("jw");
    // The samples lie 12 units right of and above the origin, so that they show in the
    // editor; the shear centre moves with them, on their axis of symmetry z = 12, and the
    // warping constant stays.
    QTest::newRow("channel") << Sample("channel.geo") << 12 - 3.7499 << 5833.3;
    QTest::newRow("lipped channel") << Sample("lipped-channel.geo") << 12 - 4.0877 << 4001.1;
}

void TestReportCommand::jsonReportOfThinWalledSamples() {
    QFETCH(QString, file);
    QFETCH(double, yo);
    QFETCH(double, jw);
    const Run run = Report({"--json", file});
    QCOMPARE(run.status, 0);
    QVERIFY(run.out.endsWith(u'\n'));
    QJsonParseError error;
    const QJsonObject object = QJsonDocument::fromJson(run.out.toUtf8(), &error).object();
    QCOMPARE(error.error, QJsonParseError::NoError);
    QCOMPARE(object.value("file").toString(), file);
    QCOMPARE(object.value("mode").toString(), QStringLiteral("S"));
    QCOMPARE(object.value("unit").toString(), QStringLiteral("cm"));
    QVERIFY2(qAbs(object.value("Yo").toDouble() - yo) < 5e-5, qPrintable(run.out));
    QVERIFY2(qAbs(object.value("Zo").toDouble() - 12) < 1e-9 * 12, qPrintable(run.out));
    // Symmetric about a horizontal axis: the principal axes are along Y and Z.
    QCOMPARE(object.value("Alpha").toDouble(), 0.0);
    QVERIFY2(qAbs(object.value("Jw").toDouble() - jw) < 0.05, qPrintable(run.out));
    for (const char* key : {"F", "Yc", "Zc", "Iy", "Iz", "Iyz", "I1", "I2", "Alpha"})
        QVERIFY2(object.contains(key), key);
}

void TestReportCommand::badFilesAreReportedAndOthersStillRun() {
    const QString missing = QStringLiteral(QV_TEST_DATA "/no-such-section.geo");
    const Run run = Report({"--json", missing, Sample("rectangle.geo")});
    QCOMPARE(run.status, 1);
    QCOMPARE(run.err, missing + QStringLiteral(": File not found\n"));
    const QJsonObject object = QJsonDocument::fromJson(run.out.toUtf8()).object();
    QCOMPARE(object.value("F").toDouble(), 6.0);
    QCOMPARE(object.value("Alpha").toDouble(), -90.0);
    QVERIFY(!object.contains("Jw")); // geometric mode has no sectorial values
}

void TestReportCommand::commandLineErrors() {
    QCOMPARE(Report({}).status, 2);
    const Run unknown = Report({"--xml", Sample("rectangle.geo")});
    QCOMPARE(unknown.status, 2);
    QVERIFY(unknown.err.contains("usage"));
    QVERIFY(unknown.out.isEmpty());
}

QTEST_APPLESS_MAIN(TestReportCommand)
#include "tst_reportcommand.moc"
