#include "SolverFiles.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <cmath>
#include <numbers>

using SolverFiles::Run;

// The mathematics solvers on problems with known answers, each with its tolerance.
class TestMathSolvers : public QObject {
    Q_OBJECT

private:
    // A mathematics file: items 2 to 4 (and 9) of table 1, tables 2 and 3.
    static QByteArray Math(const QStringList& parameters, const QStringList& table2,
                           const QStringList& table3, const QString& ninth = {},
                           bool hasTable3 = true) {
        QString text = QStringLiteral("*1 General data\r\n# 1 Title = test\r\n");
        for (int i = 0; i < 3; ++i)
            text += QStringLiteral("# %1 Parameter = %2\r\n").arg(i + 2).arg(parameters[i]);
        text += QStringLiteral("# 5 x = 0\r\n# 6 x = 0\r\n# 7 x = %1\r\n# 8 x = %2\r\n")
                    .arg(table2.size())
                    .arg(table3.size());
        if (!ninth.isEmpty())
            text += QStringLiteral("# 9 x = %1\r\n").arg(ninth);
        text += QStringLiteral("*2 Table\r\n");
        for (int i = 0; i < table2.size(); ++i)
            text += QStringLiteral("# %1 %2\r\n").arg(i + 1).arg(table2[i]);
        if (hasTable3)
            text += QStringLiteral("*3 Table\r\n");
        for (int i = 0; i < table3.size(); ++i)
            text += QStringLiteral("# %1 %2\r\n").arg(i + 1).arg(table3[i]);
        return (text + QStringLiteral("&\r\n")).toLatin1();
    }
    static QByteArray Repro(const QString& name) {
        QFile file(QStringLiteral(QV_TEST_DATA "/") + name);
        if (!file.open(QIODevice::ReadOnly))
            qFatal("cannot read %s", qPrintable(file.fileName()));
        return file.readAll();
    }
    static double At(const QJsonObject& json, const QString& key, int i, int j = -1) {
        const QJsonValue value = json[key][i];
        return j < 0 ? value.toDouble() : value[j].toDouble();
    }

private slots:
    void linearSystem();
    void characteristicValues();
    void inverseAndDeterminant();
    void fourierCoefficients();
    void polynomialRoots();
    void differentialEquations();
    void sturmLiouville();
    void nonFiniteAnswersFail_data();
    void nonFiniteAnswersFail();
    void rootsOnHugeIntervals();
};

void TestMathSolvers::linearSystem() {
    // x = (1, 2, 3) for the first right-hand side; tolerance 1e-12.
    const Run run(QStringLiteral("Pomrak"), QStringLiteral("s.d21"),
                  Math({"0", "1", "1"}, {"2 1 1", "1 3 2", "1 0 0"}, {"7 13 1", "1 0 0"}));
    QVERIFY2(run.Ok(), qPrintable(run.Error()));
    const QJsonObject json = run.Json();
    for (int i = 0; i < 3; ++i)
        QV_COMPARE_NEAR(At(json, "x", 0, i), i + 1.0, 1e-12);
    QV_COMPARE_NEAR(json["determinant"].toDouble(), -1, 1e-12);
    QV_COMPARE_NEAR(At(json, "residuals", 1, 0), 0, 1e-12);
    QVERIFY(run.Outcome().Protocol.contains(QStringLiteral("Determinant")));

    const Run singular(QStringLiteral("Pomrak"), QStringLiteral("z.d21"),
                       Math({"0", "1", "1"}, {"1 2", "2 4"}, {"1 1"}));
    QVERIFY(!singular.Ok());
    QVERIFY(singular.Error().contains(QStringLiteral("singular")));
}

void TestMathSolvers::characteristicValues() {
    // The chain 2, -1: values 2 - sqrt 2, 2, 2 + sqrt 2 (1e-12); with B = diag(2, 2, 2) half
    // of them. A rotation has the values -i and +i.
    const QStringList chain{"2 -1 0", "-1 2 -1", "0 -1 2"};
    const Run symmetric(QStringLiteral("Sarvel"), QStringLiteral("c.d22"),
                        Math({"3", "1", "1"}, chain, {}));
    QVERIFY2(symmetric.Ok(), qPrintable(symmetric.Error()));
    QV_COMPARE_NEAR(At(symmetric.Json(), "values", 0), 2 - std::sqrt(2.0), 1e-12);
    QV_COMPARE_NEAR(At(symmetric.Json(), "values", 2), 2 + std::sqrt(2.0), 1e-12);
    // The first vector is (1, sqrt 2, 1) / 2 up to its sign.
    QV_COMPARE_NEAR(std::abs(At(symmetric.Json(), "vectors", 0, 1)), std::sqrt(0.5), 1e-12);

    const Run general(QStringLiteral("Sarvel"), QStringLiteral("g.d22"),
                      Math({"3", "0", "0"}, chain, {"2 0 0", "0 2 0", "0 0 2"}));
    QVERIFY2(general.Ok(), qPrintable(general.Error()));
    QV_COMPARE_NEAR(At(general.Json(), "values", 1), 1, 1e-12);

    const Run rotation(QStringLiteral("Sarvel"), QStringLiteral("r.d22"),
                       Math({"2", "1", "0"}, {"0 -1", "1 0"}, {}));
    QVERIFY2(rotation.Ok(), qPrintable(rotation.Error()));
    QV_COMPARE_NEAR(At(rotation.Json(), "values", 0, 1), -1, 1e-12);
    QV_COMPARE_NEAR(At(rotation.Json(), "values", 1, 1), 1, 1e-12);
    QV_COMPARE_NEAR(At(rotation.Json(), "values", 1, 0), 0, 1e-12);
    QVERIFY(rotation.Outcome().Protocol.contains(QStringLiteral("+ 1 i")));
}

void TestMathSolvers::inverseAndDeterminant() {
    // The manual's example: determinant 9, and the product with the inverse is the unit
    // matrix to 1e-12.
    const Run run(QStringLiteral("Tekru"), QStringLiteral("i.d23"),
                  Math({"1", "1", "1"}, {"4 7 2", "3 6 1", "2 5 3"}, {}, {}, false));
    QVERIFY2(run.Ok(), qPrintable(run.Error()));
    QV_COMPARE_NEAR(run.Json()["determinant"].toDouble(), 9, 1e-12);
    QV_COMPARE_NEAR(At(run.Json(), "inverse", 0, 0), 13.0 / 9, 1e-12);
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j)
            QV_COMPARE_NEAR(At(run.Json(), "product", i, j), i == j ? 1 : 0, 1e-12);
    }
    const Run singular(QStringLiteral("Tekru"), QStringLiteral("z.d23"),
                       Math({"1", "1", "0"}, {"1 2", "2 4"}, {}, {}, false));
    QVERIFY(!singular.Ok());
    // Only the determinant: 0, and no failure.
    const Run determinant(QStringLiteral("Tekru"), QStringLiteral("d.d23"),
                          Math({"0", "1", "0"}, {"1 2", "2 4"}, {}, {}, false));
    QVERIFY2(determinant.Ok(), qPrintable(determinant.Error()));
    QCOMPARE(determinant.Json()["determinant"].toDouble(), 0.0);
}

void TestMathSolvers::fourierCoefficients() {
    // f = 1 + 2 cos x + 3 sin 2x sampled at 8 points of [0, 2 pi): recovered to 1e-12.
    QStringList points;
    for (int i = 0; i < 8; ++i) {
        const double x = i * std::numbers::pi / 4;
        points << QStringLiteral("%1 %2")
                      .arg(x, 0, 'g', 17)
                      .arg(1 + 2 * std::cos(x) + 3 * std::sin(2 * x), 0, 'g', 17);
    }
    const Run run(
        QStringLiteral("Ulvant"), QStringLiteral("f.d24"),
        Math({"0", QString::number(2 * std::numbers::pi, 'g', 17), "3"}, points, {}, {}, false));
    QVERIFY2(run.Ok(), qPrintable(run.Error()));
    QV_COMPARE_NEAR(run.Json()["a0"].toDouble(), 1, 1e-12);
    QV_COMPARE_NEAR(At(run.Json(), "a", 0), 2, 1e-12);
    QV_COMPARE_NEAR(At(run.Json(), "b", 1), 3, 1e-12);
    QV_COMPARE_NEAR(At(run.Json(), "a", 2), 0, 1e-12);
    QV_COMPARE_NEAR(At(run.Json(), "b", 0), 0, 1e-12);
}

void TestMathSolvers::polynomialRoots() {
    // Newton's cubic x^3 - 2x - 5 has its real root at 2.0945514815423265; x^2 - 2 has
    // -sqrt 2 and sqrt 2 in two intervals. Tolerance 1e-10 as the file asks.
    const Run cubic(QStringLiteral("Jastro"), QStringLiteral("c.d25"),
                    Math({"1.0E-10", "50", "10"}, {"3 1", "1 -2", "0 -5"}, {"-3 3"}));
    QVERIFY2(cubic.Ok(), qPrintable(cubic.Error()));
    QCOMPARE(cubic.Json()["roots"].toArray().size(), 1);
    QV_COMPARE_NEAR(At(cubic.Json(), "roots", 0), 2.0945514815423265, 1e-10);

    const Run square(QStringLiteral("Jastro"), QStringLiteral("s.d25"),
                     Math({"1.0E-10", "60", "3"}, {"2 1", "0 -2"}, {"0 5", "-5 0"}));
    QVERIFY2(square.Ok(), qPrintable(square.Error()));
    QCOMPARE(square.Json()["roots"].toArray().size(), 2);
    QV_COMPARE_NEAR(At(square.Json(), "roots", 0), -std::sqrt(2.0), 1e-10);
    QV_COMPARE_NEAR(At(square.Json(), "roots", 1), std::sqrt(2.0), 1e-10);

    // Roots where the sign does not change, inside a single part: (x - 1)^2 (x + 2) =
    // x^3 - 3x + 2 touches 0 at 1 (tolerance 1e-8); (x - 0.3)^4 has one root of multiplicity
    // four, which rounding only fixes to about 1e-5; x^2 + 1 has none.
    const Run touching(QStringLiteral("Jastro"), QStringLiteral("t.d25"),
                       Math({"1.0E-10", "60", "1"}, {"3 1", "1 -3", "0 2"}, {"-3 3"}));
    QVERIFY2(touching.Ok(), qPrintable(touching.Error()));
    QCOMPARE(touching.Json()["roots"].toArray().size(), 2);
    QV_COMPARE_NEAR(At(touching.Json(), "roots", 0), -2, 1e-10);
    QV_COMPARE_NEAR(At(touching.Json(), "roots", 1), 1, 1e-8);
    QVERIFY(touching.Outcome().Protocol.contains(QLatin1String("even multiplicity")));

    const Run fourfold(QStringLiteral("Jastro"), QStringLiteral("q.d25"),
                       Math({"1.0E-12", "80", "2"},
                            {"4 1", "3 -1.2", "2 0.54", "1 -0.108", "0 0.0081"}, {"-1 2"}));
    QVERIFY2(fourfold.Ok(), qPrintable(fourfold.Error()));
    QCOMPARE(fourfold.Json()["roots"].toArray().size(), 1);
    QV_COMPARE_NEAR(At(fourfold.Json(), "roots", 0), 0.3, 1e-5);

    const Run none(QStringLiteral("Jastro"), QStringLiteral("n.d25"),
                   Math({"1.0E-10", "60", "4"}, {"2 1", "0 1"}, {"-10 10"}));
    QVERIFY2(none.Ok(), qPrintable(none.Error()));
    QCOMPARE(none.Json()["roots"].toArray().size(), 0);
}

void TestMathSolvers::differentialEquations() {
    // y'' = -4 y, y(0) = 1: y = cos 2t; and y' = -y + 1, y(0) = 0: y = 1 - exp(-t). Both to
    // 1e-10 at every step end.
    const Run oscillator(QStringLiteral("Rendup"), QStringLiteral("o.d26"),
                         Math({"0", "3", "30"}, {"0 1", "-4 0"}, {"1 0", "0 0"}));
    QVERIFY2(oscillator.Ok(), qPrintable(oscillator.Error()));
    const QJsonArray t = oscillator.Json()["t"].toArray();
    QCOMPARE(t.size(), 31);
    for (int k = 0; k <= 30; ++k)
        QV_COMPARE_NEAR(At(oscillator.Json(), "y", k, 0), std::cos(2 * t[k].toDouble()), 1e-10);
    QV_COMPARE_NEAR(t[30].toDouble(), 3, 1e-15);

    const Run decay(QStringLiteral("Rendup"), QStringLiteral("d.d26"),
                    Math({"0", "2", "4"}, {"-1"}, {"0 1"}));
    QVERIFY2(decay.Ok(), qPrintable(decay.Error()));
    QV_COMPARE_NEAR(At(decay.Json(), "y", 4, 0), 1 - std::exp(-2.0), 1e-10);

    // From -1e308 to 1e308 the interval itself is beyond the range of numbers.
    const Run endless(QStringLiteral("Rendup"), QStringLiteral("e.d26"),
                      Math({"-1e308", "1e308", "10"}, {"-1"}, {"0 1"}));
    QVERIFY(!endless.Ok());
    QVERIFY2(endless.Error().startsWith(QLatin1String("Line 4: the interval from t0")),
             qPrintable(endless.Error()));
}

void TestMathSolvers::sturmLiouville() {
    // -y'' = lambda y on [0, pi]: y(0) = y(pi) = 0 gives k^2; y'(pi) = 0 gives (k - 1/2)^2.
    // 100 mesh intervals with the extrapolation reach 1e-6.
    const QString pi = QString::number(std::numbers::pi, 'g', 17);
    const Run fixed(QStringLiteral("Zorbek"), QStringLiteral("f.d27"),
                    Math({"0", pi, "4"}, {"P 0 1", "R 0 1"}, {"1 0", "1 0"}, "100"));
    QVERIFY2(fixed.Ok(), qPrintable(fixed.Error()));
    for (int k = 1; k <= 4; ++k)
        QV_COMPARE_NEAR(At(fixed.Json(), "values", k - 1), k * k, 1e-6);
    const Run free(QStringLiteral("Zorbek"), QStringLiteral("n.d27"),
                   Math({"0", pi, "3"}, {"P 0 1", "R 0 1"}, {"1 0", "0 1"}, "100"));
    QVERIFY2(free.Ok(), qPrintable(free.Error()));
    for (int k = 1; k <= 3; ++k)
        QV_COMPARE_NEAR(At(free.Json(), "values", k - 1), (k - 0.5) * (k - 0.5), 1e-6);
    // A few values are found by bisection, many by the QR iteration: on one mesh both give
    // the same lowest values of -((1 + x) y')' + x^2 y = lambda (2 + x) y, to the rounding of
    // a matrix whose largest values are about a million times the lowest (1e-9 of them).
    const QStringList terms{"P 0 1", "P 1 1", "Q 2 1", "R 0 2", "R 1 1"};
    const Run few(QStringLiteral("Zorbek"), QStringLiteral("a.d27"),
                  Math({"0", "2", "3"}, terms, {"1 0", "1 0.5"}, "400"));
    const Run many(QStringLiteral("Zorbek"), QStringLiteral("b.d27"),
                   Math({"0", "2", "300"}, terms, {"1 0", "1 0.5"}, "400"));
    QVERIFY2(few.Ok() && many.Ok(), qPrintable(few.Error() + many.Error()));
    QCOMPARE(many.Json()["values"].toArray().size(), 300);
    for (int k = 0; k < 3; ++k)
        QV_COMPARE_NEAR(At(few.Json(), "values", k), At(many.Json(), "values", k), 1e-9);
    // A negative R has no characteristic values of this kind.
    const Run negative(QStringLiteral("Zorbek"), QStringLiteral("x.d27"),
                       Math({"0", "1", "1"}, {"P 0 1", "R 0 -1"}, {"1 0", "1 0"}, "10"));
    QVERIFY(!negative.Ok());
}

// Data that drive the arithmetic beyond the range of numbers: the run fails, names the line
// of the value that is far out of range, and gives no answer rather than null.
void TestMathSolvers::nonFiniteAnswersFail_data() {
    QTest::addColumn<QString>("solver");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("message");
    QTest::newRow("right-hand side near the largest number")
        << "Pomrak"
        << "p.d21" << Repro(QStringLiteral("pomrak_entry_1.7e308.d21"))
        << "Line 18: the answer \"residuals\" is not a finite number, so nothing is given: the "
           "value 1.7e+308 on this line is too large";
    QTest::newRow("determinant beyond the largest number")
        << "Tekru"
        << "t.d23" << Math({"0", "1", "0"}, {"1.7e308 1", "1 1.7e308"}, {}, {}, false)
        << "Line 11: the answer \"determinant\" is not a finite number";
    QTest::newRow("function value near the largest number")
        << "Ulvant"
        << "u.d24" << Repro(QStringLiteral("ulvant_f_1.79e308.d24"))
        << "Line 14: the answer \"a\" is not a finite number";
    QTest::newRow("R below the smallest normal number")
        << "Zorbek"
        << "z.d27" << Repro(QStringLiteral("zorbek_R_1e-320.d27"))
        << "Line 15: the answer \"values\" is not a finite number, so nothing is given: the "
           "value 1e-320 on this line is too small";
}

void TestMathSolvers::nonFiniteAnswersFail() {
    QFETCH(QString, solver);
    QFETCH(QString, file);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, message);
    const Run run(solver, file, bytes);
    QVERIFY2(!run.Ok(), QJsonDocument(run.Json()).toJson().constData());
    QVERIFY2(run.Error().startsWith(message), qPrintable(run.Error()));
    QVERIFY(run.Json().isEmpty());
}

// Jastro lists only roots. On [2, 1e20] the iterations used to end far from the root of
// x^3 - 2x - 5, at a point where the polynomial is 4.8e29, and listed it; the interval is
// now clipped to the bound of the roots. Too few iterations for a root fail the run instead.
void TestMathSolvers::rootsOnHugeIntervals() {
    const Run wide(QStringLiteral("Jastro"), QStringLiteral("w.d25"),
                   Repro(QStringLiteral("jastro_interval_2_1e20.d25")));
    QVERIFY2(wide.Ok(), qPrintable(wide.Error()));
    QCOMPARE(wide.Json()["roots"].toArray().size(), 1);
    QV_COMPARE_NEAR(At(wide.Json(), "roots", 0), 2.0945514815423265, 1e-8);

    // Both roots of x^2 - 1e12 on a line a hundred orders wider than they lie apart; the
    // roots of a polynomial of high degree too.
    const Run both(QStringLiteral("Jastro"), QStringLiteral("b.d25"),
                   Math({"1.0E-6", "100", "1"}, {"2 1", "0 -1e12"}, {"-1e100 1e100"}));
    QVERIFY2(both.Ok(), qPrintable(both.Error()));
    QCOMPARE(both.Json()["roots"].toArray().size(), 2);
    QV_COMPARE_NEAR(At(both.Json(), "roots", 0), -1e6, 1e-12);
    QV_COMPARE_NEAR(At(both.Json(), "roots", 1), 1e6, 1e-12);
    const Run high(QStringLiteral("Jastro"), QStringLiteral("h.d25"),
                   Math({"1.0E-10", "100", "1"}, {"51 1", "0 -2"}, {"0 1e300"}));
    QVERIFY2(high.Ok(), qPrintable(high.Error()));
    QCOMPARE(high.Json()["roots"].toArray().size(), 1);
    QV_COMPARE_NEAR(At(high.Json(), "roots", 0), std::pow(2.0, 1.0 / 51), 1e-10);

    const Run short_(QStringLiteral("Jastro"), QStringLiteral("s.d25"),
                     Math({"1.0E-12", "2", "1"}, {"3 1", "1 -2", "0 -5"}, {"-100 100"}));
    QVERIFY(!short_.Ok());
    QVERIFY2(short_.Error().contains(QLatin1String("allow more iterations")),
             qPrintable(short_.Error()));
    // x^100 - 1e300 x^99 has a root at 1e300, where its terms overflow: said so, not listed.
    const Run huge(QStringLiteral("Jastro"), QStringLiteral("o.d25"),
                   Math({"1.0E-10", "100", "5"}, {"100 1", "99 -1e300"}, {"-1e300 1e300"}));
    QVERIFY(!huge.Ok());
    QVERIFY2(huge.Error().contains(QLatin1String("leaves the range of numbers")),
             qPrintable(huge.Error()));
}

QTEST_GUILESS_MAIN(TestMathSolvers)
#include "tst_mathsolvers.moc"
