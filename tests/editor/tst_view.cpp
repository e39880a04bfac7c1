#include "HelpPage.h"
#include "RulerTicks.h"
#include "SectionError.h"
#include "ViewScaler.h"

#include <QFile>
#include <QMap>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

class TestView : public QObject {
    Q_OBJECT

private slots:
    void scaleFigures_data();
    void scaleFigures();
    void refusedMaxWidths_data();
    void refusedMaxWidths();
    void rulerTicks();
    void rulerLabelsNeverCollide_data();
    void rulerLabelsNeverCollide();
    void helpPage_data();
    void helpPage();
    void helpPageFiles();
};

void TestView::scaleFigures_data() {
    QTest::addColumn<int>("drawWidth");
    QTest::addColumn<QString>("maxWidth");
    QTest::addColumn<double>("decade");
    QTest::addColumn<int>("tickStep");
    QTest::addColumn<double>("scale");
    QTest::newRow("1 over 600") << 600 << "1" << 1.0 << 6 << 1.0 / 600;
    QTest::newRow("1000 over 800") << 800 << "1000" << 10.0 << 8 << 1.25;
    QTest::newRow("150 keeps decade 1") << 600 << "150" << 1.0 << 4 << 0.25;
    QTest::newRow("150.5 gives decade 10") << 600 << "150.5" << 10.0 << 40 << 0.25;
    // A quotient by 5 that leaves less than 2 ends on a factor of five.
    QTest::newRow("factor five") << 600 << "20" << 1.0 << 6 << 1.0 / 5 / 6;
    QTest::newRow("tiny") << 600 << "0.001" << 1.0 << 6 << 1e-5 / 6;
}

void TestView::scaleFigures() {
    QFETCH(int, drawWidth);
    QFETCH(QString, maxWidth);
    QFETCH(double, decade);
    QFETCH(int, tickStep);
    QFETCH(double, scale);
    const ViewFigures figures = ViewScaler::Compute(drawWidth, maxWidth, u'.');
    QCOMPARE(figures.Decade, decade);
    QCOMPARE(figures.TickStep, tickStep);
    QVERIFY2(qAbs(figures.Scale - scale) < 1e-12 * scale,
             qPrintable(QString::number(figures.Scale)));
}

void TestView::refusedMaxWidths_data() {
    QTest::addColumn<int>("drawWidth");
    QTest::addColumn<QString>("maxWidth");
    QTest::addColumn<QString>("message");
    QTest::newRow("letters") << 600 << "abc"
                             << "'abc' is not a valid floating point value";
    // Zero is refused like any other width that is not positive.
    QTest::newRow("zero") << 600 << "0"
                          << "The Max Width must be greater than 0; '0' is refused.";
    QTest::newRow("negative") << 600 << "-5"
                              << "The Max Width must be greater than 0";
    QTest::newRow("too wide for the area") << 100 << "149"
                                           << "less than a pixel apart";
    QTest::newRow("vanishing") << 600 << "1e-300"
                               << "too small";
    QTest::newRow("comma where point is used") << 600 << "1,5"
                                               << "is not a valid floating";
}

void TestView::refusedMaxWidths() {
    QFETCH(int, drawWidth);
    QFETCH(QString, maxWidth);
    QFETCH(QString, message);
    try {
        ViewScaler::Compute(drawWidth, maxWidth, u'.');
        QFAIL("the Max Width must be refused");
    } catch (const SectionError& error) {
        QVERIFY2(QString::fromUtf8(error.what()).contains(message), error.what());
    }
}

void TestView::rulerTicks() {
    // Max Width 1 over 600 pixels: a tick every 6 pixels, a label every 0.1.
    const QList<RulerTick> top = RulerTicks::Top(71, 6, 1.0 / 600, 671, 41, u',');
    QCOMPARE(top.first().Position, 71);
    QCOMPARE(top.first().Label, QStringLiteral("0,00"));
    QVERIFY(!top.at(1).Long && top.at(1).Label.isEmpty());
    QCOMPARE(top.at(10).Label, QStringLiteral("0,10"));
    QCOMPARE(top.at(10).Position, 131);
    // The origin's tick comes again at the start of the leftward run.
    const auto leftward = std::find_if(top.begin() + 1, top.end(),
                                       [](const RulerTick& t) { return t.Position == 71; });
    QVERIFY(leftward != top.end());
    QCOMPARE(top.last().Position, 47); // the last tick right of the vertical ruler
    for (const RulerTick& tick : top)
        QVERIFY(tick.Position > 41 && tick.Position < 671);

    const QList<RulerTick> left = RulerTicks::Left(500, 24, 560, 6, 1.0 / 600, u'.');
    QCOMPARE(left.first().Position, 476);
    QCOMPARE(left.at(10).Label, QStringLiteral("-0.10")); // below the origin
    const auto upward = std::find_if(left.begin(), left.end(),
                                     [](const RulerTick& t) { return t.Label == "0.10"; });
    QVERIFY(upward != left.end());
    QCOMPARE(upward->Position, 416);
    QVERIFY(RulerTicks::Top(71, 0, 1, 671, 41, u'.').isEmpty());
}

void TestView::rulerLabelsNeverCollide_data() {
    QTest::addColumn<QString>("maxWidth");
    QTest::addColumn<QString>("topLabel");
    QTest::addColumn<QString>("leftLabel");
    // Two decimals where they tell the labels apart and fit; the step's own decimals or the
    // exponent form where they do not.
    QTest::newRow("1") << "1"
                       << "0.10"
                       << "0.10";
    QTest::newRow("1000") << "1000"
                          << "100.00"
                          << "100.00";
    QTest::newRow("0.001") << "0.001"
                           << "0.0001"
                           << "0.0001";
    QTest::newRow("0.00002") << "0.00002"
                             << "0.000002"
                             << "2e-6";
    QTest::newRow("1e9") << "1e9"
                         << "100000000.00"
                         << "1e8";
    QTest::newRow("123456789") << "123456789"
                               << "10000000"
                               << "1e7";
    QTest::newRow("3e-9") << "3e-9"
                          << "2e-10"
                          << "2e-10";
    QTest::newRow("1e300") << "1e300"
                           << "1e299"
                           << "1e299";
}

void TestView::rulerLabelsNeverCollide() {
    QFETCH(QString, maxWidth);
    QFETCH(QString, topLabel);
    QFETCH(QString, leftLabel);
    // A font of 6 pixels a character and 13 pixels a line; the left ruler is 41 wide.
    const RulerTicks::TextSize size = [](const QString& text) {
        return QSize(6 * int(text.size()), 13);
    };
    const int originX = 71, panelLeft = 871, originY = 600, barTop = 24, barHeight = 650;
    const ViewFigures f = ViewScaler::Compute(panelLeft - originX, maxWidth, u'.');
    const auto check = [&](const QList<RulerTick>& ticks, bool top, int end) {
        const QString someLabel = top ? topLabel : leftLabel;
        QMap<int, QString> labels; // by position; the origin's comes twice
        for (const RulerTick& t : ticks)
            if (!t.Label.isEmpty())
                labels.insert(t.Position, t.Label);
        QVERIFY2(labels.size() >= 3, qPrintable(QStringList(labels.values()).join(' ')));
        QVERIFY2(QStringList(labels.values()).contains(someLabel) ||
                     QStringList(labels.values()).contains("-" + someLabel),
                 qPrintable(QStringList(labels.values()).join(' ')));
        QSet<QString> seen;
        for (auto it = labels.begin(); it != labels.end(); ++it) {
            const QSize s = size(it.value());
            const int length = top ? s.width() : s.height();
            QVERIFY2(!seen.contains(it.value()), qPrintable(it.value()));
            seen.insert(it.value());
            QVERIFY(it.key() + 1 + length <= end);
            if (!top)
                QVERIFY2(3 + s.width() <= 41, qPrintable(it.value()));
            const auto next = std::next(it);
            if (next != labels.end())
                QVERIFY2(it.key() + 1 + length < next.key(),
                         qPrintable(it.value() + " runs into " + next.value()));
        }
    };
    check(RulerTicks::Top(originX, f.TickStep, f.Scale, panelLeft, 41, u'.', size), true,
          panelLeft);
    check(RulerTicks::Left(originY, barTop, barHeight, f.TickStep, f.Scale, u'.', size, 41), false,
          barHeight);
}

void TestView::helpPage_data() {
    QTest::addColumn<QByteArray>("source");
    QTest::addColumn<QByteArray>("body");
    const QByteArray head = "<HTML><BODY>\r\n<A href=\"edhlp.htm\"><img src=\"HelpBtn.bmp\" "
                            "align=center></A>\r\n";
    QTest::newRow("section between anchors")
        << QByteArray("<p>intro\n<A NAME=\"ProblemH36\">Section editor</A><h2>Draw</h2>\n"
                      "Use the tools.\n<A NAME=\"ProblemH37\">About</A>rest\n")
        << head + "<h2>Draw</h2>\r\nUse the tools.\r\n";
    QTest::newRow("last section runs to the end")
        << QByteArray("<A NAME=\"ProblemH36\">x</A>\r\nonly\r\n") << head + "\r\nonly\r\n";
    QTest::newRow("missing anchor searches the whole file")
        << QByteArray("<b>top</b></A>tail\r\n<A NAME=\"Problem9\">") << head + "tail\r\n";
}

void TestView::helpPage() {
    QFETCH(QByteArray, source);
    QFETCH(QByteArray, body);
    const QByteArray page = HelpPage::Build(source, "ProblemH36");
    QCOMPARE(page, body + "<p><A href=\"edhlp.htm\"><img src=\"HelpBtn.bmp\" align=center></A>\r\n"
                          "</BODY></HTML>\r\n");
}

void TestView::helpPageFiles() {
    QTemporaryDir dir;
    QTemporaryDir user;
    try {
        HelpPage::Write(dir.path(), "ProblemH36", user.path());
        QFAIL("a missing help file must be reported");
    } catch (const SectionError& error) {
        QVERIFY(QString::fromUtf8(error.what()).startsWith("Cannot open file "));
        QVERIFY(QString::fromUtf8(error.what()).endsWith("MmHlp.htm"));
    }
    // The help file is found whatever the case of its name.
    QFile source(dir.filePath("mmhlp.htm"));
    QVERIFY(source.open(QIODevice::WriteOnly));
    source.write("<A NAME=\"ProblemH36\">x</A>body\n");
    source.close();
    // The page goes into the user's folder, never beside the help file, which may be
    // installed read-only.
    const QString page = HelpPage::Write(dir.path(), "ProblemH36", user.path());
    QCOMPARE(page, user.filePath("Help.htm"));
    QVERIFY(!QFile::exists(dir.filePath("Help.htm")));
    QFile written(page);
    QVERIFY(written.open(QIODevice::ReadOnly));
    QVERIFY(written.readAll().contains("body\r\n"));
    written.close();
    // Quarvel started away from the package finds the help the launcher unpacked.
    QVERIFY(QFile::rename(dir.filePath("mmhlp.htm"), user.filePath("MmHlp.htm")));
    QTemporaryDir elsewhere;
    QCOMPARE(HelpPage::Write(elsewhere.path(), "ProblemH36", user.path()), page);
}

QTEST_APPLESS_MAIN(TestView)
#include "tst_view.moc"
