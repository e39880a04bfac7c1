#include "IoErrorText.h"
#include "NumberFormat.h"

#include <QTest>
#include <cerrno>
#include <limits>

class TestNumberFormat : public QObject {
    Q_OBJECT

private slots:
    void fixedAndScientific_data();
    void fixedAndScientific();
    void fileReal_data();
    void fileReal();
    void general_data();
    void general();
    void parseUserReal_data();
    void parseUserReal();
    void ioErrorTexts();
};

void TestNumberFormat::fixedAndScientific_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<double>("value");
    QTest::addColumn<QChar>("point");
    QTest::addColumn<QString>("expected");

    QTest::newRow("fixed 1.5") << "f" << 1.5 << QChar(u'.') << "      1.5000";
    QTest::newRow("fixed comma") << "f" << -90.0 << QChar(u',') << "    -90,0000";
    QTest::newRow("fixed wider than field")
        << "f" << 123456789.0 << QChar(u'.') << "123456789.0000";
    QTest::newRow("fixed noise below the last digit")
        << "f" << -2.2e-16 << QChar(u'.') << "      0.0000";
    QTest::newRow("fixed small negative kept")
        << "f" << -0.00005001 << QChar(u'.') << "     -0.0001";
    QTest::newRow("sci negative zero") << "e" << -0.0 << QChar(u'.') << "  0.000E+000";
    QTest::newRow("sci 6") << "e" << 6.0 << QChar(u'.') << "  6.000E+000";
    QTest::newRow("sci negative small") << "e" << -0.00125 << QChar(u'.') << " -1.250E-003";
    QTest::newRow("sci comma") << "e" << 4.5 << QChar(u',') << "  4,500E+000";
    QTest::newRow("sci zero") << "e" << 0.0 << QChar(u'.') << "  0.000E+000";
    QTest::newRow("sci big exponent") << "e" << 1.5e123 << QChar(u'.') << "  1.500E+123";
    QTest::newRow("sci rounds up a decade") << "e" << 9.99996 << QChar(u'.') << "  1.000E+001";
}

void TestNumberFormat::fixedAndScientific() {
    QFETCH(QString, kind);
    QFETCH(double, value);
    QFETCH(QChar, point);
    QFETCH(QString, expected);
    const QString text = kind == "f" ? NumberFormat::fixed(value, 12, 4, point)
                                     : NumberFormat::scientific(value, 12, 4, point);
    QCOMPARE(text, expected);
}

void TestNumberFormat::fileReal_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("12.5") << 12.5 << " 1.25000000000000E+0001";
    QTest::newRow("0.25") << 0.25 << " 2.50000000000000E-0001";
    QTest::newRow("zero") << 0.0 << " 0.00000000000000E+0000";
    QTest::newRow("negative zero") << -0.0 << " 0.00000000000000E+0000";
    QTest::newRow("negative") << -3.1416 << "-3.14160000000000E+0000";
    QTest::newRow("tiny") << 1e-300 << " 1.00000000000000E-0300";
    QTest::newRow("15 digits") << 0.1 << " 1.00000000000000E-0001";
}

void TestNumberFormat::fileReal() {
    QFETCH(double, value);
    QFETCH(QString, expected);
    const QString text = NumberFormat::fileReal(value);
    QCOMPARE(text, expected);
    QCOMPARE(text.size(), 23);
}

void TestNumberFormat::general_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<QChar>("point");
    QTest::addColumn<QString>("expected");
    QTest::newRow("one") << 1.0 << QChar(u'.') << "1";
    QTest::newRow("half dot") << 0.5 << QChar(u'.') << "0.5";
    QTest::newRow("half comma") << 0.5 << QChar(u',') << "0,5";
    QTest::newRow("15 digits") << 1.0 / 3.0 << QChar(u'.') << "0.333333333333333";
    QTest::newRow("small") << 1.5e-7 << QChar(u'.') << "1.5E-7";
    QTest::newRow("large") << 2e20 << QChar(u'.') << "2E20";
    QTest::newRow("negative") << -150.5 << QChar(u'.') << "-150.5";
}

void TestNumberFormat::general() {
    QFETCH(double, value);
    QFETCH(QChar, point);
    QFETCH(QString, expected);
    QCOMPARE(NumberFormat::general(value, point), expected);
}

void TestNumberFormat::parseUserReal_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QChar>("point");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<double>("value");
    QTest::newRow("plain") << "1" << QChar(u'.') << true << 1.0;
    QTest::newRow("blanks and sign") << "  +2.5 " << QChar(u'.') << true << 2.5;
    QTest::newRow("comma") << "0,25" << QChar(u',') << true << 0.25;
    QTest::newRow("dot refused under comma") << "0.25" << QChar(u',') << false << 0.0;
    QTest::newRow("exponent") << "1.5e-3" << QChar(u'.') << true << 0.0015;
    QTest::newRow("leading point") << ".5" << QChar(u'.') << true << 0.5;
    QTest::newRow("trailing point") << "5." << QChar(u'.') << true << 5.0;
    QTest::newRow("letters") << "abc" << QChar(u'.') << false << 0.0;
    QTest::newRow("empty") << "" << QChar(u'.') << false << 0.0;
    QTest::newRow("inf") << "inf" << QChar(u'.') << false << 0.0;
    QTest::newRow("overflow") << "1e999" << QChar(u'.') << false << 0.0;
    QTest::newRow("two points") << "1.2.3" << QChar(u'.') << false << 0.0;
}

void TestNumberFormat::parseUserReal() {
    QFETCH(QString, text);
    QFETCH(QChar, point);
    QFETCH(bool, ok);
    QFETCH(double, value);
    double parsed = -1.0;
    QCOMPARE(NumberFormat::parseUserReal(text, point, parsed), ok);
    if (ok)
        QCOMPARE(parsed, value);
    else
        QCOMPARE(parsed, -1.0);
}

void TestNumberFormat::ioErrorTexts() {
    QCOMPARE(IoErrorText(ENOENT), QStringLiteral("File not found"));
    QCOMPARE(IoErrorText(ENOSPC), QStringLiteral("Disk full"));
    QCOMPARE(IoErrorText(EACCES), QStringLiteral("File access denied"));
    QCOMPARE(IoErrorText(EIO), QStringLiteral("I/O error %1").arg(EIO));
}

QTEST_APPLESS_MAIN(TestNumberFormat)
#include "tst_numberformat.moc"
