#include "ScriptedDialogs.h"
#include "SearchEngine.h"
#include "TextFinder.h"

#include <QPlainTextEdit>
#include <QTest>

namespace {

// A text of `length` dots with `word` written at each of the given positions.
QString TextWith(qsizetype length, const QString& word, std::initializer_list<qsizetype> at) {
    QString text(length, u'.');
    for (qsizetype position : at)
        text.replace(position, word.size(), word);
    return text;
}

void Select(QPlainTextEdit& field, int start, int length = 0) {
    QTextCursor cursor(field.document());
    cursor.setPosition(start);
    cursor.setPosition(start + length, QTextCursor::KeepAnchor);
    field.setTextCursor(cursor);
}

SearchRequest Request(const QString& text, bool down = true) {
    SearchRequest request;
    request.FindText = text;
    request.Down = down;
    return request;
}

const QString NotFound = QStringLiteral("Search text not found!");

} // namespace

class TestSearch : public QObject {
    Q_OBJECT

private slots:
    void simpleSearchKeepsToTheRange_data();
    void simpleSearchKeepsToTheRange();
    void binarySearchFindsTheNearestMatchBeforeTheEnd_data();
    void binarySearchFindsTheNearestMatchBeforeTheEnd();
    void wholeWordAndCase();
    void downwardSearchWrapsOnce();
    void upwardSearchWrapsFromTheEnd();
    void matchCaseCanBeSwitchedOff();
    void replaceAsksForEachMatch();
    void replaceAllWithEmptyText();
};

void TestSearch::simpleSearchKeepsToTheRange_data() {
    QTest::addColumn<qsizetype>("from");
    QTest::addColumn<qsizetype>("to");
    QTest::addColumn<qsizetype>("found");
    // "abc" at 10 and 40 in 60 characters.
    QTest::newRow("whole text") << qsizetype(0) << qsizetype(59) << qsizetype(10);
    QTest::newRow("from the match") << qsizetype(10) << qsizetype(59) << qsizetype(10);
    QTest::newRow("past the first") << qsizetype(11) << qsizetype(59) << qsizetype(40);
    QTest::newRow("last character outside") << qsizetype(0) << qsizetype(11) << qsizetype(-1);
    QTest::newRow("last character inside") << qsizetype(0) << qsizetype(12) << qsizetype(10);
    QTest::newRow("empty range") << qsizetype(30) << qsizetype(29) << qsizetype(-1);
    QTest::newRow("beyond the text") << qsizetype(41) << qsizetype(500) << qsizetype(-1);
}

void TestSearch::simpleSearchKeepsToTheRange() {
    QFETCH(qsizetype, from);
    QFETCH(qsizetype, to);
    QFETCH(qsizetype, found);
    const QString text = TextWith(60, QStringLiteral("abc"), {10, 40});
    const QString word = QStringLiteral("abc");
    QCOMPARE(SearchEngine(text, word, {}).SimpleSearch(from, to), found);
}

void TestSearch::binarySearchFindsTheNearestMatchBeforeTheEnd_data() {
    QTest::addColumn<qsizetype>("length");
    QTest::addColumn<QList<qsizetype>>("matches");
    QTest::addColumn<qsizetype>("to");
    QTest::addColumn<qsizetype>("found");
    QTest::newRow("10 and 200, from 500")
        << qsizetype(1000) << QList<qsizetype>{10, 200} << qsizetype(500) << qsizetype(200);
    // The halving as first written lost this one: it begins before the middle of 0..501
    // (250) and ends after it, so neither half held it wholly.
    QTest::newRow("across the middle")
        << qsizetype(600) << QList<qsizetype>{248} << qsizetype(501) << qsizetype(248);
    QTest::newRow("across the middle, an earlier one too")
        << qsizetype(600) << QList<qsizetype>{5, 249} << qsizetype(501) << qsizetype(249);
    QTest::newRow("only at the start")
        << qsizetype(600) << QList<qsizetype>{0} << qsizetype(599) << qsizetype(0);
    QTest::newRow("ends on the last character")
        << qsizetype(600) << QList<qsizetype>{595} << qsizetype(598) << qsizetype(595);
    QTest::newRow("one character too short")
        << qsizetype(600) << QList<qsizetype>{595} << qsizetype(597) << qsizetype(-1);
    QTest::newRow("none") << qsizetype(600) << QList<qsizetype>{} << qsizetype(599)
                          << qsizetype(-1);
}

void TestSearch::binarySearchFindsTheNearestMatchBeforeTheEnd() {
    QFETCH(qsizetype, length);
    QFETCH(QList<qsizetype>, matches);
    QFETCH(qsizetype, to);
    QFETCH(qsizetype, found);
    const QString word = QStringLiteral("Beam");
    QString text(length, u'.');
    for (qsizetype at : matches)
        text.replace(at, word.size(), word);
    QCOMPARE(SearchEngine(text, word, {}).BinarySearch(0, to), found);
    // Every end of the range gives the last match that fits, as a backward scan would.
    const SearchEngine engine(text, word, {});
    for (qsizetype end = 0; end < length; end += 7) {
        qsizetype expected = -1;
        for (qsizetype at : matches)
            if (at + word.size() - 1 <= end)
                expected = std::max(expected, at);
        QCOMPARE(engine.BinarySearch(0, end), expected);
    }
}

void TestSearch::wholeWordAndCase() {
    const QString text = QStringLiteral("Beams beam; BEAM beam_1 beam");
    const QString word = QStringLiteral("beam");
    QCOMPARE(SearchEngine(text, word, {}).SimpleSearch(0, 100), 0);
    QCOMPARE(SearchEngine(text, word, {false, true}).SimpleSearch(0, 100), 6);
    QCOMPARE(SearchEngine(text, word, {true, false}).SimpleSearch(0, 100), 6);
    QCOMPARE(SearchEngine(text, word, {true, false}).SimpleSearch(7, 100), 12);
    QCOMPARE(SearchEngine(text, word, {true, true}).SimpleSearch(7, 100), 24);
    QCOMPARE(SearchEngine(text, word, {true, true}).BinarySearch(0, 23), 6);
    // Overlapping candidates: the nearest to the end wins.
    QCOMPARE(SearchEngine(QStringLiteral("aaaa"), QStringLiteral("aa"), {}).BinarySearch(0, 3), 2);
}

void TestSearch::downwardSearchWrapsOnce() {
    ScriptedDialogs dialogs;
    QPlainTextEdit field;
    field.setPlainText(QStringLiteral("*3 Sections\n#  1  0.01\n#  2  0.02\n"));
    TextFinder finder(field, dialogs, &field);

    // From the start with no match: no wrap question.
    finder.Find(Request(QStringLiteral("IPE")));
    QCOMPARE(dialogs.Texts("question"), QStringList());
    QCOMPARE(dialogs.Texts("information"), QStringList{NotFound});

    // From the middle: the wrap question, then from the start, and a second failure.
    dialogs.shown.clear();
    Select(field, 15);
    dialogs.answers = {UserDialogs::Answer::Yes};
    finder.Find(Request(QStringLiteral("IPE")));
    QCOMPARE(dialogs.Texts("question"),
             QStringList{"Finished searching the document!\r\n  Continue from the beginning?"});
    QCOMPARE(dialogs.Texts("information"), QStringList{NotFound});
    QCOMPARE(field.textCursor().position(), 0);

    // A match before the caret is found after the wrap.
    dialogs.shown.clear();
    Select(field, 15);
    dialogs.answers = {UserDialogs::Answer::Yes};
    finder.Find(Request(QStringLiteral("sections")));
    QCOMPARE(field.textCursor().selectionStart(), 3);
    QCOMPARE(field.textCursor().selectedText(), QStringLiteral("Sections"));

    // No keeps the selection.
    Select(field, 15, 2);
    dialogs.answers = {UserDialogs::Answer::No};
    finder.Find(Request(QStringLiteral("sections")));
    QCOMPARE(field.textCursor().selectionStart(), 15);
    QCOMPARE(field.textCursor().selectionEnd(), 17);
}

void TestSearch::upwardSearchWrapsFromTheEnd() {
    ScriptedDialogs dialogs;
    QPlainTextEdit field;
    field.setPlainText(TextWith(1000, QStringLiteral("HEA"), {10, 200}));
    TextFinder finder(field, dialogs, &field);

    Select(field, 500);
    finder.Find(Request(QStringLiteral("hea"), false));
    QCOMPARE(field.textCursor().selectionStart(), 200);
    finder.Find(Request(QStringLiteral("hea"), false));
    QCOMPARE(field.textCursor().selectionStart(), 10);

    // Past the first match: wrap to the end and find the last one.
    dialogs.answers = {UserDialogs::Answer::Yes};
    finder.Find(Request(QStringLiteral("hea"), false));
    QCOMPARE(dialogs.Texts("question"),
             QStringList{"Finished searching the document!\r\n     Continue from the end?"});
    QCOMPARE(field.textCursor().selectionStart(), 200);

    // A one-character text moves on instead of finding its own selection again.
    field.setPlainText(QStringLiteral("x.x.x"));
    Select(field, 4, 1);
    finder.Find(Request(QStringLiteral("x"), false));
    QCOMPARE(field.textCursor().selectionStart(), 2);

    // From the end of the text a failure needs no question.
    dialogs.shown.clear();
    field.moveCursor(QTextCursor::End);
    finder.Find(Request(QStringLiteral("none"), false));
    QCOMPARE(dialogs.Texts("question"), QStringList());
    QCOMPARE(dialogs.Texts("information"), QStringList{NotFound});
}

void TestSearch::matchCaseCanBeSwitchedOff() {
    ScriptedDialogs dialogs;
    QPlainTextEdit field;
    field.setPlainText(QStringLiteral("steel STEEL"));
    TextFinder finder(field, dialogs, &field);
    SearchRequest request = Request(QStringLiteral("STEEL"));
    request.MatchCase = true;
    finder.Find(request);
    QCOMPARE(field.textCursor().selectionStart(), 6);
    QVERIFY(finder.SearchOptions().MatchCase);
    field.moveCursor(QTextCursor::Start);
    request.MatchCase = false;
    finder.Find(request);
    QCOMPARE(field.textCursor().selectionStart(), 0);
    QVERIFY(!finder.SearchOptions().MatchCase);
    QCOMPARE(finder.SearchText(), QStringLiteral("STEEL"));
}

void TestSearch::replaceAsksForEachMatch() {
    ScriptedDialogs dialogs;
    QPlainTextEdit field;
    field.setPlainText(QStringLiteral("IPE 200, IPE 220, IPE 240"));
    field.document()->setModified(false);
    TextFinder finder(field, dialogs, &field);
    SearchRequest request = Request(QStringLiteral("IPE"));
    request.ReplaceText = QStringLiteral("HEA");
    int replaced = 0;
    auto count = [&replaced] { ++replaced; };

    // Nothing selected: a search first, then the question; Yes replaces and selects the next.
    dialogs.replaceAnswers = {UserDialogs::ReplaceAnswer::Yes};
    finder.Replace(request, count);
    QCOMPARE(dialogs.Texts("question"), QStringList{"Replce this occurence?"});
    QCOMPARE(field.toPlainText(), QStringLiteral("HEA 200, IPE 220, IPE 240"));
    QCOMPARE(field.textCursor().selectionStart(), 9);
    QVERIFY(field.document()->isModified());
    QCOMPARE(replaced, 1);

    // Cancel changes nothing.
    dialogs.replaceAnswers = {UserDialogs::ReplaceAnswer::Cancel};
    finder.Replace(request, count);
    QCOMPARE(field.toPlainText(), QStringLiteral("HEA 200, IPE 220, IPE 240"));
    QCOMPARE(replaced, 1);

    // No match anywhere: no question at all.
    dialogs.shown.clear();
    field.moveCursor(QTextCursor::Start);
    finder.Replace(Request(QStringLiteral("UPN")), count);
    QCOMPARE(dialogs.Texts("question"), QStringList());
    QCOMPARE(dialogs.Texts("information"), QStringList{NotFound});
}

void TestSearch::replaceAllWithEmptyText() {
    ScriptedDialogs dialogs;
    QPlainTextEdit field;
    field.setPlainText(QStringLiteral("a; b; c; d;"));
    TextFinder finder(field, dialogs, &field);
    Select(field, 2);
    SearchRequest request = Request(QStringLiteral(";"));
    dialogs.replaceAnswers = {UserDialogs::ReplaceAnswer::All};
    dialogs.answers = {UserDialogs::Answer::No};
    finder.Replace(request, {});
    // Every match from the caret on is gone, the one before it stays, and the end asked
    // whether to go on from the beginning.
    QCOMPARE(field.toPlainText(), QStringLiteral("a; b c d"));
    QCOMPARE(dialogs.Texts("question"),
             QStringList({"Replce this occurence?",
                          "Finished searching the document!\r\n  Continue from the beginning?"}));
    QVERIFY(!field.textCursor().hasSelection());
}

QTEST_MAIN(TestSearch)
#include "tst_search.moc"
