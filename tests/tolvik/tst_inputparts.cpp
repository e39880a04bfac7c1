#include "InputText.h"
#include "ProblemNumber.h"
#include "ValueRule.h"

#include <QTest>

class TestInputParts : public QObject {
    Q_OBJECT

private slots:
    void problemNumber_data();
    void problemNumber();
    void numbers_data();
    void numbers();
    void lines_data();
    void lines();
};

void TestInputParts::problemNumber_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("problem"); // 0: no problem number
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<bool>("dynamics");
    QTest::newRow("accepted") << "/data/frame.d05" << 5 << true << false;
    QTest::newRow("not yet accepted") << "/data/frame.d55" << 5 << false << false;
    QTest::newRow("upper case") << "C:/DATA/FRAME.D77" << 27 << false << false;
    QTest::newRow("dot in a directory") << "/my.files/plate.p13" << 13 << true << true;
    QTest::newRow("dynamics of space frames") << "x.p57" << 7 << false << true;
    QTest::newRow("first") << "x.d01" << 1 << true << false;
    QTest::newRow("last") << "x.d27" << 27 << true << false;
    QTest::newRow("without a type, still checked") << "x.d68" << 18 << false << false;
    QTest::newRow("zero") << "x.d00" << 0 << false << false;
    QTest::newRow("between the ranges") << "x.d28" << 0 << false << false;
    QTest::newRow("fifty") << "x.d50" << 0 << false << false;
    QTest::newRow("above the ranges") << "x.d78" << 0 << false << false;
    QTest::newRow("p of a statics type") << "x.p55" << 0 << false << false;
    QTest::newRow("other letter") << "x.e05" << 0 << false << false;
    QTest::newRow("letters") << "data.dat" << 0 << false << false;
    QTest::newRow("no extension") << "frame" << 0 << false << false;
    QTest::newRow("long extension") << "x.d055" << 0 << false << false;
    QTest::newRow("non-ASCII digits")
        << QString::fromUtf8("x.d\u0665\u0665") << 0 << false << false;
}

void TestInputParts::problemNumber() {
    QFETCH(QString, path);
    QFETCH(int, problem);
    QFETCH(bool, accepted);
    QFETCH(bool, dynamics);
    const ProblemNumber number = ProblemNumber::FromFileName(path);
    QCOMPARE(number.Valid, problem != 0);
    QCOMPARE(number.Valid, number.Error.isEmpty());
    if (number.Valid) {
        QCOMPARE(number.Problem, problem);
        QCOMPARE(number.Accepted, accepted);
        QCOMPARE(number.Dynamics, dynamics);
    }
}

void TestInputParts::numbers_data() {
    QTest::addColumn<QString>("token");
    QTest::addColumn<bool>("real");
    QTest::addColumn<bool>("whole");
    QTest::addColumn<double>("value");
    QTest::newRow("whole") << "12" << true << true << 12.0;
    QTest::newRow("signed") << "-3" << true << true << -3.0;
    QTest::newRow("plus") << "+3" << true << true << 3.0;
    QTest::newRow("decimal") << "2.5" << true << false << 2.5;
    QTest::newRow("leading point") << ".5" << true << false << 0.5;
    QTest::newRow("trailing point") << "5." << true << false << 5.0;
    QTest::newRow("exponent") << "2.1E8" << true << false << 2.1e8;
    QTest::newRow("three-digit exponent") << "1.2e-005" << true << false << 1.2e-5;
    QTest::newRow("comma") << "2,5" << false << false << 0.0;
    QTest::newRow("point only") << "." << false << false << 0.0;
    QTest::newRow("exponent without digits") << "1E" << false << false << 0.0;
    QTest::newRow("infinity") << "inf" << false << false << 0.0;
    QTest::newRow("not a number") << "nan" << false << false << 0.0;
    QTest::newRow("hexadecimal") << "0x1A" << false << false << 0.0;
    QTest::newRow("overflow") << "1E999" << false << false << 0.0;
    QTest::newRow("two points") << "1.2.3" << false << false << 0.0;
    QTest::newRow("sixteen digits") << "1234567890123456" << true << false << 1234567890123456.0;
}

void TestInputParts::numbers() {
    QFETCH(QString, token);
    QFETCH(bool, real);
    QFETCH(bool, whole);
    QFETCH(double, value);
    double read = 0;
    QCOMPARE(ValueRule::ParseReal(token, read), real);
    if (real)
        QCOMPARE(read, value);
    QCOMPARE(ValueRule::ParseWhole(token, read), whole);
}

void TestInputParts::lines_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("CR LF") << QByteArray("a\r\nb\r\n") << QStringList{"a", "b"};
    QTest::newRow("LF") << QByteArray("a\nb") << QStringList{"a", "b"};
    QTest::newRow("CR") << QByteArray("a\rb\r") << QStringList{"a", "b"};
    QTest::newRow("blank lines count")
        << QByteArray("a\r\n\r\n\nb") << QStringList{"a", "", "", "b"};
    QTest::newRow("byte order mark") << QByteArray("\xEF\xBB\xBF*1\r\n") << QStringList{"*1"};
    QTest::newRow("Windows-1251") << QByteArray("\xCA\xCD\r\n") << QStringList{"\u041A\u041D"};
    QTest::newRow("empty") << QByteArray() << QStringList{};
}

// Line numbers in the verdict must be the editor's line numbers, whatever the line ends.
void TestInputParts::lines() {
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, lines);
    QCOMPARE(InputText::Lines(bytes), lines);
}

QTEST_GUILESS_MAIN(TestInputParts)
#include "tst_inputparts.moc"
