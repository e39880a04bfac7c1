#include "InputTables.h"
#include "LineRoleHighlighter.h"
#include "VormError.h"

#include <QTest>
#include <QTextDocument>

namespace {

// A plane-frame file cut short: table 2 holds items 1, 2 and 5, table 3 has headings only.
const char* const Frame = "Title line\n"      // 0
                          "*1 General data\n" // 1
                          "#  1  Title = t\n" // 2
                          "#  5  Nodes = 2\n" // 3
                          "#  6  Elements = 1\n"
                          "#  7  Materials = 1\n" // 5
                          "#  8  Sections = 0\n"  // 6
                          "*2 Materials\n"        // 7
                          "   No  E\n"            // 8
                          "#  1  2.1E8\n"         // 9
                          "#  2  2.1E8\n"         // 10
                          "#  5  2.1E8 ; last\n"  // 11
                          "*3 Sections\n"         // 12
                          "   No  A  I\n"         // 13
                          "   (none yet)\n"       // 14
                          "*4 Nodes\n"            // 15
                          "#  1  0 0\n"           // 16
                          "&";                    // 17

struct Text {
    explicit Text(const QString& text) { document.setPlainText(text); }
    QString Line(int line) const { return document.findBlockByNumber(line).text(); }
    QTextDocument document;
    InputTables tables{document};
};

} // namespace

class TestInputTables : public QObject {
    Q_OBJECT

private slots:
    void tablesAndItems();
    void onlyTheFirstDigitOfAHeaderCounts();
    void headerWithoutDigit();
    void itemNumbers_data();
    void itemNumbers();
    void updateTable1();
    void updateTable1RefusesWithoutItsItem();
    void numbering_data();
    void numbering();
    void lineRoles();
};

void TestInputTables::tablesAndItems() {
    Text t(QString::fromLatin1(Frame));
    QCOMPARE(t.tables.GetTable(0), 0);
    QCOMPARE(t.tables.GetTable(1), 2);
    QCOMPARE(t.tables.GetTable(3), 13);
    QCOMPARE(t.tables.GetTable(6), -1);
    QCOMPARE(t.tables.InTable(0), -1);
    QCOMPARE(t.tables.InTable(1), 1);
    QCOMPARE(t.tables.InTable(14), 3);
    QCOMPARE(t.tables.InTable(17), 4);
    QCOMPARE(t.tables.LastItem(2), 5);
    QCOMPARE(t.tables.LastItem(3), -1);
    QCOMPARE(t.tables.LastItem(7), -1);
    QCOMPARE(t.tables.GetTableItem(2, 2), 10);
    QCOMPARE(t.tables.GetTableItem(1, 7), 5);
    // A missing item: the line above the table's first item.
    QCOMPARE(t.tables.GetTableItem(2, 3), 8);
    QCOMPARE(t.tables.GetTableItem(1, 4), 1);
    // A table with headings but no items: the line above the next header.
    QCOMPARE(t.tables.GetTableItem(3, 1), 14);
    QCOMPARE(t.tables.GetTableItem(9, 1), -1);
    // A header on the last line: its table starts past the end and holds nothing.
    Text last(QStringLiteral("*1\n#  1  a = 1\n*2"));
    QCOMPARE(last.tables.GetTable(2), 3);
    QCOMPARE(last.tables.LastItem(2), -1);
    QCOMPARE(last.tables.GetTableItem(2, 1), 2);
}

void TestInputTables::onlyTheFirstDigitOfAHeaderCounts() {
    Text t(QStringLiteral("*1 General\n#  1  a\n*12 Twelve\n#  1  b\n"));
    QCOMPARE(t.tables.GetTable(2), -1);
    QCOMPARE(t.tables.GetTable(1), 1);
    QCOMPARE(t.tables.InTable(3), 1);
    // Without a digit before its last character, the last character is the number.
    Text tail(QStringLiteral("*Sections 3\n#  1"));
    QCOMPARE(tail.tables.InTable(1), 3);
}

void TestInputTables::headerWithoutDigit() {
    Text t(QStringLiteral("*1\n#  1  a = 1\n*Materials\n#  1  x\n"));
    try {
        t.tables.InTable(3);
        QFAIL("a header without a number was read");
    } catch (const VormError& error) {
        QCOMPARE(error.Message(),
                 QStringLiteral("The table header in line 3 holds no table number: *Materials"));
    }
    // The count update of that table fails the same way, changing nothing.
    QVERIFY_THROWS_EXCEPTION(VormError, t.tables.UpdateTable1(3));
    QCOMPARE(t.document.toPlainText(), QStringLiteral("*1\n#  1  a = 1\n*Materials\n#  1  x\n"));
}

void TestInputTables::itemNumbers_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("number");
    QTest::newRow("typed") << "#  7  x" << 7;
    QTest::newRow("letters before") << "#No.12 x 3" << 12;
    QTest::newRow("no digit") << "# x" << -1;
    QTest::newRow("hash alone") << "#" << -1;
    QTest::newRow("not an item") << " #  1" << -1;
    QTest::newRow("largest") << "#2147483647" << 2147483647;
    QTest::newRow("too large") << "#2147483648" << -1;
}

void TestInputTables::itemNumbers() {
    QFETCH(QString, line);
    QFETCH(int, number);
    QCOMPARE(InputTables::ItemNumberOf(line), number);
}

void TestInputTables::updateTable1() {
    Text t(QString::fromLatin1(Frame));
    // The highest item number, not the number of items.
    t.tables.UpdateTable1(10);
    QCOMPARE(t.Line(5), QStringLiteral("#  7  Materials =5"));
    // An empty table leaves its count alone.
    t.tables.UpdateTable1(t.tables.GetTable(3));
    QCOMPARE(t.Line(6), QStringLiteral("#  8  Sections = 0"));
    t.tables.UpdateTable1(16);
    QCOMPARE(t.Line(3), QStringLiteral("#  5  Nodes =1"));
    // Lines outside counted tables, and no line at all, change nothing.
    const QString before = t.document.toPlainText();
    t.tables.UpdateTable1(-1);
    t.tables.UpdateTable1(0);
    t.tables.UpdateTable1(3);
    QCOMPARE(t.document.toPlainText(), before);
    // A count item without "=" becomes the bare number.
    Text bare(QStringLiteral("*1\n#  7  materials\n#  8 x\n*2\n#  1\n#  2\n"));
    bare.tables.UpdateTable1(4);
    QCOMPARE(bare.Line(1), QStringLiteral("2"));
}

void TestInputTables::updateTable1RefusesWithoutItsItem() {
    // Table 1 lacks item 7: the count of table 2 must not land on the line above item 1.
    const QString text = QStringLiteral("Title\n*1 General\n   No  Value\n#  1  t = x\n"
                                        "#  8  s = 0\n*2 Materials\n#  1  a\n#  2  b\n");
    Text t(text);
    try {
        t.tables.UpdateTable1(7);
        QFAIL("the count was written without its item");
    } catch (const VormError& error) {
        QCOMPARE(error.Message(), QStringLiteral("Table 1 has no item 7, so the number of items "
                                                 "of table 2 cannot be written there"));
    }
    QCOMPARE(t.document.toPlainText(), text);
    QVERIFY(!t.document.isUndoAvailable());
}

void TestInputTables::numbering_data() {
    QTest::addColumn<QString>("above");
    QTest::addColumn<QString>("inserted");
    QTest::newRow("after item 7") << "#  7  Materials = 1"
                                  << "#  8  ";
    QTest::newRow("three places") << "#999"
                                  << "#1000  ";
    QTest::newRow("no digit") << "# x"
                              << "#  0  ";
    QTest::newRow("largest number") << "#2147483647"
                                    << "#2147483648  ";
    QTest::newRow("not an item") << "*2 Materials"
                                 << "";
    QTest::newRow("empty") << ""
                           << "";
}

void TestInputTables::numbering() {
    QFETCH(QString, above);
    QFETCH(QString, inserted);
    QCOMPARE(InputTables::NumberingAfter(above), inserted);
}

void TestInputTables::lineRoles() {
    using R = LineRoleHighlighter::Role;
    using S = LineRoleHighlighter::State;
    const QStringList lines = {"Title", "*1", "  No", "#  1 x", "&", "#  2", "*2"};
    const QList<R> roles = {R::Outside, R::Header,  R::Heading, R::Item,
                            R::EndMark, R::Outside, R::Outside};
    S state = S::BeforeTables;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        S next;
        QCOMPARE(LineRoleHighlighter::RoleOf(lines[i], state, &next), roles[i]);
        state = next;
    }
    QCOMPARE(state, S::AfterEnd);
}

QTEST_GUILESS_MAIN(TestInputTables)
#include "tst_inputtables.moc"
