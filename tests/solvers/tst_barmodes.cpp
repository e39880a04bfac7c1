#include "ResultFile.h"
#include "SolverFiles.h"

#include <QJsonArray>
#include <QRegularExpression>
#include <algorithm>
#include <array>
#include <cmath>
#include <complex>
#include <numbers>

using SolverFiles::Run;
using SolverFiles::Structure;

// Natural modes and buckling against closed-form answers.
class TestBarModes : public QObject {
    Q_OBJECT

private:
    static constexpr double E = 2.1e8, I = 1.0e-4, A = 0.01, L = 4.0;

    // A straight bar from (0, 0) to (L, 0) or (0, L) in `pieces` elements, for plane types.
    static std::pair<QStringList, QStringList> Bar(int pieces, bool upright, int lastColumns) {
        QStringList nodes, elements;
        for (int i = 0; i <= pieces; ++i) {
            const double s = L * i / pieces;
            nodes << (upright ? QStringLiteral("0 %1") : QStringLiteral("%1 0")).arg(s, 0, 'g', 17);
        }
        for (int i = 1; i <= pieces; ++i)
            elements << QStringLiteral("%1 %2 1 1%3")
                            .arg(i)
                            .arg(i + 1)
                            .arg(lastColumns > 0 ? QStringLiteral(" 0") : QString());
        return {nodes, elements};
    }

    // A pinned column 4 m high drawn as one member, pressed at its top by the nodal load given.
    static QByteArray PinnedColumn(int cases, const QString& load, int factors) {
        return Structure(cases,
                         {{2, {QStringLiteral("2.1E8 0.3 78.5 1.2E-5")}},
                          {3, {QStringLiteral("0.01 1.0E-4")}},
                          {4, {QStringLiteral("0 0"), QStringLiteral("0 4")}},
                          {5, {QStringLiteral("1 2 1 1 0")}},
                          {6, {QStringLiteral("1 1 1 0"), QStringLiteral("2 1 0 0")}},
                          {7, {load}},
                          {8, {}}},
                         QString::number(factors));
    }

    static double Frequency(const Run& run, int mode) {
        return run.Json()[QStringLiteral("modes")][mode][QStringLiteral("frequency")].toDouble();
    }
    static double Factor(const Run& run, int loadCase, int mode) {
        return run.Json()[QStringLiteral("critical")][loadCase - 1][QStringLiteral("factors")][mode]
            .toDouble();
    }

private slots:
    void cantileverFrequencies();
    void tipMassesOfSpaceModels();
    void eulerLoads();
    void oneMemberBars();
    void portalAgainstDividedCopy();
    void manyCasesFewLoads();
    void shapesFileRoundTrip();
    void damagedResultFilesRefused();
    void noMassRefused(); // and no finite frequency
    void freeFreeBeam();
    void harmonicLoadOnABeam();
};

void TestBarModes::cantileverFrequencies() {
    // A cantilever of unit weight gamma: f_n = (beta_n L)^2 / (2 pi L^2) sqrt(EI / m), with
    // beta L = 1.87510, 4.69409 and 7.85476 and m = gamma A / g. 40 elements (120 equations,
    // the dense solver) and 150 elements (450 equations, the Lanczos iteration on the sparse
    // factors) with lumped masses reach 1e-3 for the first two and 2e-3 for the third.
    const double gamma = 78.5, m = gamma * A / 9.80665;
    const double base = std::sqrt(E * I / m) / (2 * std::numbers::pi * L * L);
    for (const int pieces : {40, 150}) {
        const auto [nodes, elements] = Bar(pieces, false, 1);
        const Run run(QStringLiteral("Lirtag"), QStringLiteral("cantilever.d08"),
                      Structure(0,
                                {{2, {QStringLiteral("2.1E8 0.3 78.5 0")}},
                                 {3, {QStringLiteral("0.01 1.0E-4")}},
                                 {4, nodes},
                                 {5, elements},
                                 {6, {QStringLiteral("1 1 1 1")}},
                                 {9, {}}},
                                QStringLiteral("3")));
        QVERIFY2(run.Ok(), qPrintable(run.Error()));
        QV_COMPARE_NEAR(Frequency(run, 0), 1.8751040687 * 1.8751040687 * base, 1e-3);
        QV_COMPARE_NEAR(Frequency(run, 1), 4.6940911330 * 4.6940911330 * base, 1e-3);
        QV_COMPARE_NEAR(Frequency(run, 2), 7.8547574382 * 7.8547574382 * base, 2e-3);
        const QJsonObject first = run.Json()[QStringLiteral("modes")][0].toObject();
        QV_COMPARE_NEAR(first[QStringLiteral("period")].toDouble(), 1 / Frequency(run, 0), 1e-12);
        // The first shape: the tip moves most, scaled to 1.
        QV_COMPARE_NEAR(first[QStringLiteral("shape")][pieces][2].toDouble(), 1, 1e-12);
    }
}

void TestBarModes::tipMassesOfSpaceModels() {
    // Weightless bars with one mass: a space frame cantilever, f = sqrt(3 EI / (M L^3)) / 2 pi
    // (exact with one element; Iz = Iy so both bending modes coincide); a truss bar along x
    // with the free node held across, f = sqrt(EA / (M L)) / 2 pi. Tolerance 1e-9.
    const double M = 2;
    const Run frame(QStringLiteral("Quendo"), QStringLiteral("tip.p07"),
                    Structure(1,
                              {{2, {QStringLiteral("2.1E8 0.3 0 0")}},
                               {3, {QStringLiteral("0.01 1.0E-5 1.0E-4 1.0E-4")}},
                               {4, {QStringLiteral("0 0 0"), QStringLiteral("4 0 0")}},
                               {5, {QStringLiteral("1 2 1 1 0")}},
                               {6, {QStringLiteral("1 1 1 1 1 1 1")}},
                               {7, {}},
                               {8, {}},
                               {9, {QStringLiteral("2 2")}}},
                              QStringLiteral("1")));
    QVERIFY2(frame.Ok(), qPrintable(frame.Error()));
    QV_COMPARE_NEAR(Frequency(frame, 0),
                    std::sqrt(3 * E * I / (M * L * L * L)) / (2 * std::numbers::pi), 1e-9);

    const Run truss(QStringLiteral("Mirbek"), QStringLiteral("bar.p04"),
                    Structure(1,
                              {{2, {QStringLiteral("2.1E8 0.3 0 0")}},
                               {3, {QStringLiteral("0.01")}},
                               {4, {QStringLiteral("0 0 0"), QStringLiteral("4 0 0")}},
                               {5, {QStringLiteral("1 2 1 1")}},
                               {6, {QStringLiteral("1 1 1 1"), QStringLiteral("2 0 1 1")}},
                               {7, {}},
                               {9, {QStringLiteral("2 2")}}},
                              QStringLiteral("1")));
    QVERIFY2(truss.Ok(), qPrintable(truss.Error()));
    QV_COMPARE_NEAR(Frequency(truss, 0), std::sqrt(E * A / (M * L)) / (2 * std::numbers::pi), 1e-9);
    // Truss bars are never divided: their inner points would have nothing across them but
    // their own string modes.
    const std::optional<ResultFile::Contents> file = ResultFile::Read(truss.Outcome().ResultFile);
    QVERIFY(file);
    QCOMPARE(file->Modes.Pieces, std::vector<int>{1});
    QVERIFY(file->Modes.List.at(0).Inner.empty());
}

void TestBarModes::eulerLoads() {
    // A pinned column of 20 elements under P = 100: factor pi^2 EI / L^2 / P; a cantilever
    // column: pi^2 EI / (4 L^2) / P. The consistent geometric stiffness reaches 1e-6.
    const auto [nodes, elements] = Bar(20, true, 1);
    const auto column = [&](const QString& top) {
        return Structure(2,
                         {{2, {QStringLiteral("2.1E8 0.3 78.5 1.2E-5")}},
                          {3, {QStringLiteral("0.01 1.0E-4")}},
                          {4, nodes},
                          {5, elements},
                          {6, {QStringLiteral("1 1 1 0"), top}},
                          {7, {QStringLiteral("1 21 0 -100 0"), QStringLiteral("2 21 0 -50 0")}},
                          {8, {}}},
                         QStringLiteral("2"));
    };
    const double euler = std::numbers::pi * std::numbers::pi * E * I / (L * L);
    const Run pinned(QStringLiteral("Wempel"), QStringLiteral("pinned.d15"),
                     column(QStringLiteral("21 1 0 0")));
    QVERIFY2(pinned.Ok(), qPrintable(pinned.Error()));
    QV_COMPARE_NEAR(Factor(pinned, 1, 0), euler / 100, 1e-6);
    QV_COMPARE_NEAR(Factor(pinned, 2, 0), euler / 50, 1e-6);
    QV_COMPARE_NEAR(Factor(pinned, 1, 1), 4 * euler / 100, 1e-4); // second mode: 4 times

    // The cantilever: fixed foot, free top.
    QByteArray cantilever = column(QStringLiteral("21 1 0 0"));
    cantilever.replace("# 1 1 1 1 0\r\n# 2 21 1 0 0", "# 1 1 1 1 1");
    const Run free(QStringLiteral("Wempel"), QStringLiteral("free.d15"), cantilever);
    QVERIFY2(free.Ok(), qPrintable(free.Error()));
    QV_COMPARE_NEAR(Factor(free, 1, 0), euler / 4 / 100, 1e-6);

    // A pinned column of 4 bars whose end bars are hinged at the supports: the released ends
    // carry the condensed consistent geometric stiffness (0.1 %), where a string's stiffness
    // made it 0.8 % too strong (a fifth with two bars).
    auto [shortNodes, hinged] = Bar(4, true, 1);
    hinged.first().replace(QRegularExpression(QStringLiteral(" 0$")), QStringLiteral(" 1"));
    hinged.last().replace(QRegularExpression(QStringLiteral(" 0$")), QStringLiteral(" 2"));
    const Run released(QStringLiteral("Wempel"), QStringLiteral("hinged.d15"),
                       Structure(2,
                                 {{2, {QStringLiteral("2.1E8 0.3 78.5 1.2E-5")}},
                                  {3, {QStringLiteral("0.01 1.0E-4")}},
                                  {4, shortNodes},
                                  {5, hinged},
                                  {6, {QStringLiteral("1 1 1 0"), QStringLiteral("5 1 0 0")}},
                                  {7, {QStringLiteral("1 5 0 -100 0")}},
                                  {8, {}}},
                                 QStringLiteral("1")));
    QVERIFY2(released.Ok(), qPrintable(released.Error()));
    QV_COMPARE_NEAR(Factor(released, 1, 0), euler / 100, 1e-3);

    // Greenhill's heavy column: a cantilever drawn as one member under an even load q along
    // it buckles at q L^3 / EI = 7.837347. Each piece takes the mean of a normal force that
    // varies along it: the members must be cut until that is within the tolerance too (8
    // pieces left it 0.64 % low).
    const Run heavy(QStringLiteral("Wempel"), QStringLiteral("heavy.d15"),
                    Structure(1,
                              {{2, {QStringLiteral("2.1E8 0.3 78.5 1.2E-5")}},
                               {3, {QStringLiteral("0.01 1.0E-4")}},
                               {4, {QStringLiteral("0 0"), QStringLiteral("0 4")}},
                               {5, {QStringLiteral("1 2 1 1 0")}},
                               {6, {QStringLiteral("1 1 1 1")}},
                               {7, {}},
                               {8, {QStringLiteral("1 1 0 -1")}}},
                              QStringLiteral("1")));
    QVERIFY2(heavy.Ok(), qPrintable(heavy.Error()));
    QV_COMPARE_NEAR(Factor(heavy, 1, 0), 7.837347 * E * I / (L * L * L), 1e-4);

    // Tension does not buckle: no factor at all.
    QByteArray pulled = column(QStringLiteral("21 1 0 0"));
    pulled.replace("1 21 0 -100 0", "1 21 0 100 0");
    const Run tension(QStringLiteral("Wempel"), QStringLiteral("pulled.d15"), pulled);
    QVERIFY2(tension.Ok(), qPrintable(tension.Error()));
    QVERIFY(tension.Json()[QStringLiteral("critical")][0][QStringLiteral("factors")]
                .toArray()
                .isEmpty());
}

void TestBarModes::oneMemberBars() {
    // Drawn as one member each, as engineers draw them: a pinned column (Euler loads
    // pi^2 EI / L^2 and four times that) and a simply supported beam with its own mass
    // (f_n = n^2 pi / (2 L^2) sqrt(EI / m)). The solver divides the members; the answers agree
    // in the fourth digit and the shapes are given at the drawn nodes.
    const double euler = std::numbers::pi * std::numbers::pi * E * I / (L * L);
    const Run column(QStringLiteral("Wempel"), QStringLiteral("column.d15"),
                     PinnedColumn(1, QStringLiteral("1 2 0 -100 0"), 2));
    QVERIFY2(column.Ok(), qPrintable(column.Error()));
    QV_COMPARE_NEAR(Factor(column, 1, 0), euler / 100, 1e-4);
    QV_COMPARE_NEAR(Factor(column, 1, 1), 4 * euler / 100, 1e-4);
    QCOMPARE(
        column.Json()[QStringLiteral("critical")][0][QStringLiteral("shapes")][0].toArray().size(),
        2);

    // The result file lists how the member was divided and the shape at its inner points:
    // half a sine, 1 at mid-height, from i to j.
    const std::optional<ResultFile::Contents> file = ResultFile::Read(column.Outcome().ResultFile);
    QVERIFY(file);
    const ResultFile::Shapes& shapes = file->Modes;
    QCOMPARE(shapes.Elements, 1);
    const int pieces = shapes.Pieces.at(0);
    QVERIFY2(pieces >= 8, qPrintable(QString::number(pieces)));
    QCOMPARE(shapes.List.size(), size_t(2));
    const std::vector<double>& inner = shapes.List[0].Inner;
    QCOMPARE(inner.size(), size_t(3 * (pieces - 1)));
    for (int point = 1; point < pieces; ++point) {
        const double ux = inner[static_cast<size_t>(3 * (point - 1))];
        QV_COMPARE_NEAR(ux, std::sin(std::numbers::pi * point / pieces), 1e-4);
    }
    QV_COMPARE_NEAR(shapes.List[0].Displacements[0], 0, 1e-12); // the foot stays

    // The promise of the division: every frequency within 5e-5. A beam drawn as one member,
    // simply supported (f_n = n^2 pi / (2 L^2) sqrt(EI / m)) and clamped (beta_n L = 1.87510,
    // 4.69409, ...), with its lengthwise modes among them: the free end moves along the bar,
    // f = (2n - 1) / 4L sqrt(EA / m); eight modes each, up to the third lengthwise one.
    const double gamma = 78.5, m = gamma * A / 9.80665;
    const double first = std::numbers::pi / (2 * L * L) * std::sqrt(E * I / m);
    for (const bool clamped : {false, true}) {
        std::vector<double> expected;
        for (int n = 1; n <= 3; ++n)
            expected.push_back((2 * n - 1) / (4 * L) * std::sqrt(E * A / m));
        const double clampedBetaL[] = {1.8751040687,  4.6940911330,  7.8547574382,  10.9955407349,
                                       14.1371683910, 17.2787595321, 20.4203522456, 23.5619449020};
        for (int n = 1; n <= 8; ++n) {
            const double betaL = clampedBetaL[n - 1];
            expected.push_back(
                (clamped ? betaL * betaL / (std::numbers::pi * std::numbers::pi) : n * n) * first);
        }
        std::sort(expected.begin(), expected.end());
        const Run beam(QStringLiteral("Lirtag"), QStringLiteral("beam.d08"),
                       Structure(0,
                                 {{2, {QStringLiteral("2.1E8 0.3 78.5 0")}},
                                  {3, {QStringLiteral("0.01 1.0E-4")}},
                                  {4, {QStringLiteral("0 0"), QStringLiteral("4 0")}},
                                  {5, {QStringLiteral("1 2 1 1 0")}},
                                  {6, clamped ? QStringList{QStringLiteral("1 1 1 1")}
                                              : QStringList{QStringLiteral("1 1 1 0"),
                                                            QStringLiteral("2 0 1 0")}},
                                  {9, {}}},
                                 QStringLiteral("8")));
        QVERIFY2(beam.Ok(), qPrintable(beam.Error()));
        for (int mode = 0; mode < 8; ++mode)
            QV_COMPARE_NEAR(Frequency(beam, mode), expected[static_cast<size_t>(mode)], 5e-5);
        QVERIFY(
            beam.Outcome().Protocol.contains(QStringLiteral("divided as their modes bend them")));
    }

    // The two-storey frame of the examples, whose beams the columns carry sideways: its second
    // mode was 6.0e-5 high. Against an independent solver on members cut in 16.
    const Run frame(
        QStringLiteral("Lirtag"), QStringLiteral("twostorey.d08"),
        Structure(0,
                  {{2, {QStringLiteral("3.0E7 0.2 25.0 1.0E-5")}},
                   {3, {QStringLiteral("0.16 2.133E-3"), QStringLiteral("0.18 5.4E-3")}},
                   {4,
                    {QStringLiteral("0 0"), QStringLiteral("6 0"), QStringLiteral("0 3.5"),
                     QStringLiteral("6 3.5"), QStringLiteral("0 7"), QStringLiteral("6 7")}},
                   {5,
                    {QStringLiteral("1 3 1 1 0"), QStringLiteral("3 5 1 1 0"),
                     QStringLiteral("2 4 1 1 0"), QStringLiteral("4 6 1 1 0"),
                     QStringLiteral("3 4 1 2 0"), QStringLiteral("5 6 1 2 0")}},
                   {6, {QStringLiteral("1 1 1 1"), QStringLiteral("2 1 1 1")}},
                   {9,
                    {QStringLiteral("3 10 0"), QStringLiteral("4 10 0"), QStringLiteral("5 8 0"),
                     QStringLiteral("6 8 0")}}},
                  QStringLiteral("2")));
    QVERIFY2(frame.Ok(), qPrintable(frame.Error()));
    QV_COMPARE_NEAR(Frequency(frame, 0), 3.120424, 5e-5);
    QV_COMPARE_NEAR(Frequency(frame, 1), 9.179381, 5e-5);
}

void TestBarModes::portalAgainstDividedCopy() {
    // The example portal drawn with one member per bar against the same portal drawn with
    // 16 bars per member: the first two critical factors agree in the fourth digit.
    const auto portal = [](int pieces) {
        const std::vector<std::array<double, 2>> corners{{0, 0}, {0, 4}, {6, 4}, {6, 0}};
        QStringList nodes, elements;
        for (const auto& corner : corners)
            nodes << QStringLiteral("%1 %2").arg(corner[0]).arg(corner[1]);
        for (int member = 0; member < 3; ++member) {
            int previous = member + 1;
            for (int piece = 1; piece <= pieces; ++piece) {
                int next = member + 2;
                if (piece < pieces) {
                    const double t = static_cast<double>(piece) / pieces;
                    const auto& a = corners[static_cast<size_t>(member)];
                    const auto& b = corners[static_cast<size_t>(member) + 1];
                    nodes << QStringLiteral("%1 %2")
                                 .arg(a[0] + t * (b[0] - a[0]), 0, 'g', 17)
                                 .arg(a[1] + t * (b[1] - a[1]), 0, 'g', 17);
                    next = static_cast<int>(nodes.size());
                }
                elements << QStringLiteral("%1 %2 1 1 0").arg(previous).arg(next);
                previous = next;
            }
        }
        return Structure(1,
                         {{2, {QStringLiteral("2.1E8 0.3 78.5 1.2E-5")}},
                          {3, {QStringLiteral("0.00538 3.692E-5")}},
                          {4, nodes},
                          {5, elements},
                          {6, {QStringLiteral("1 1 1 0"), QStringLiteral("4 1 1 0")}},
                          {7, {QStringLiteral("1 2 0 -500 0"), QStringLiteral("1 3 0 -500 0")}},
                          {8, {}}},
                         QStringLiteral("2"));
    };
    const Run drawn(QStringLiteral("Wempel"), QStringLiteral("portal.d15"), portal(1));
    const Run fine(QStringLiteral("Wempel"), QStringLiteral("fine.d15"), portal(16));
    QVERIFY2(drawn.Ok(), qPrintable(drawn.Error()));
    QVERIFY2(fine.Ok(), qPrintable(fine.Error()));
    for (int mode = 0; mode < 2; ++mode)
        QV_COMPARE_NEAR(Factor(drawn, 1, mode), Factor(fine, 1, mode), 1e-4);
    // The sway mode of the portal is well below the second, symmetric one.
    QVERIFY(Factor(drawn, 1, 1) > 2 * Factor(drawn, 1, 0));
}

void TestBarModes::manyCasesFewLoads() {
    // A thousand load cases of which one has loads: the others have no buckling and cost
    // nothing; the work follows the loads the file holds, not the count it claims.
    const Run run(QStringLiteral("Wempel"), QStringLiteral("cases.d15"),
                  PinnedColumn(1000, QStringLiteral("700 2 0 -100 0"), 1));
    QVERIFY2(run.Ok(), qPrintable(run.Error()));
    const QJsonArray critical = run.Json()[QStringLiteral("critical")].toArray();
    QCOMPARE(critical.size(), 1000);
    QV_COMPARE_NEAR(Factor(run, 700, 0),
                    std::numbers::pi * std::numbers::pi * E * I / (L * L) / 100, 1e-4);
    QVERIFY(critical[0][QStringLiteral("factors")].toArray().isEmpty());
    QVERIFY(critical[999][QStringLiteral("factors")].toArray().isEmpty());
}

void TestBarModes::shapesFileRoundTrip() {
    // Two elements, the first cut into 3 pieces: 2 inner points of 3 components per shape.
    ResultFile::Contents contents;
    contents.Type = ResultFile::Kind::Buckling;
    contents.Problem = 15;
    contents.Modes.Nodes = 3;
    contents.Modes.Elements = 2;
    contents.Modes.Pieces = {3, 1};
    contents.Modes.Components = {QStringLiteral("ux"), QStringLiteral("uz"), QStringLiteral("ry")};
    contents.Modes.List.push_back({1, 2.5, {1, 2, 3, 4, 5, 6, 7, 8, 9}, {10, 11, 12, 13, 14, 15}});
    const QByteArray bytes = ResultFile::Write(contents);
    const std::optional<ResultFile::Contents> read = ResultFile::Read(bytes);
    QVERIFY(read);
    QCOMPARE(read->Modes.Pieces, contents.Modes.Pieces);
    QCOMPARE(read->Modes.InnerPoints(), qint64{2});
    QCOMPARE(read->Modes.List.at(0).Inner, contents.Modes.List[0].Inner);
    QCOMPARE(read->Modes.List.at(0).Displacements, contents.Modes.List[0].Displacements);
    // Cut short, or an element of no pieces: not a result file.
    QVERIFY(!ResultFile::Read(bytes.left(bytes.size() - 8)));
    QByteArray none = bytes;
    const qsizetype firstPieces = 8 + 3 * 4 + 2 * 4; // magic, version kind problem, nodes elements
    none[firstPieces] = 0;
    QVERIFY(!ResultFile::Read(none));
}

void TestBarModes::damagedResultFilesRefused() {
    // 52 bytes of statics of the second version that claim 50 million supports in their one
    // load case: refused by the count against the bytes left, before anything that size is set
    // aside or read for.
    QByteArray many;
    {
        QDataStream out(&many, QIODevice::WriteOnly);
        out.setByteOrder(QDataStream::LittleEndian);
        out.writeRawData("QVRESULT", 8);
        // version, kind, problem; nodes, elements, arc points, no names, 1 case numbered 1
        for (qint32 value : {2, 1, 5, 5, 5, 4, 0, 0, 1, 1, 50'000'000})
            out << value;
    }
    QCOMPARE(many.size(), 52);
    const ResultFile::ReadOutcome supports = ResultFile::ReadChecked(many);
    QVERIFY(!supports.Read);
    QCOMPARE(supports.Version, 2);
    QCOMPARE(supports.Fault, QStringLiteral("claims 50000000 supports in load case 1 of the file, "
                                            "more than its remaining 0 bytes can hold"));
    QVERIFY(!ResultFile::Read(many));

    // Bytes after the end and a name of no characters are not what a solver writes.
    ResultFile::Contents contents;
    contents.Type = ResultFile::Kind::Modes;
    contents.Problem = 5;
    contents.Modes.Nodes = 1;
    contents.Modes.Elements = 1;
    contents.Modes.Pieces = {1};
    contents.Modes.Components = {QStringLiteral("ux")};
    contents.Modes.List.push_back({0, 2.5, {1}, {}});
    const QByteArray sound = ResultFile::Write(contents);
    QVERIFY(ResultFile::Read(sound));
    QCOMPARE(ResultFile::ReadChecked(sound + "abc").Fault,
             QStringLiteral("has 3 bytes after its end"));
    contents.Modes.Components = {QString()};
    QCOMPARE(ResultFile::ReadChecked(ResultFile::Write(contents)).Fault,
             QStringLiteral("has a component name of 0 characters"));
}

void TestBarModes::noMassRefused() {
    const Run run(QStringLiteral("Lirtag"), QStringLiteral("light.d08"),
                  Structure(0,
                            {{2, {QStringLiteral("2.1E8 0.3 0 0")}},
                             {3, {QStringLiteral("0.01 1.0E-4")}},
                             {4, {QStringLiteral("0 0"), QStringLiteral("4 0")}},
                             {5, {QStringLiteral("1 2 1 1 0")}},
                             {6, {QStringLiteral("1 1 1 1")}},
                             {9, {}}},
                            QStringLiteral("1")));
    QVERIFY(!run.Ok());
    QVERIFY2(run.Error().contains(QStringLiteral("mass")), qPrintable(run.Error()));

    // A mass that is all but none: its frequency is beyond any number, which is refused
    // rather than written as infinity.
    const Run tiny(QStringLiteral("Lirtag"), QStringLiteral("tiny.d08"),
                   Structure(0,
                             {{2, {QStringLiteral("2.1E8 0.3 0 0")}},
                              {3, {QStringLiteral("0.01 1.0E-4")}},
                              {4, {QStringLiteral("0 0"), QStringLiteral("4 0")}},
                              {5, {QStringLiteral("1 2 1 1 0")}},
                              {6, {QStringLiteral("1 1 1 1")}},
                              {9, {QStringLiteral("2 1E-320 0")}}},
                             QStringLiteral("1")));
    QVERIFY(!tiny.Ok());
    QVERIFY2(tiny.Error().contains(QStringLiteral("not a finite number")),
             qPrintable(tiny.Error()));
    QVERIFY(tiny.Outcome().ResultFile.isEmpty());
}

void TestBarModes::freeFreeBeam() {
    // A plane frame beam without supports: three rigid-body modes at 0 Hz, counted, then
    // f_n = (beta_n L)^2 / (2 pi L^2) sqrt(EI / m), beta L = 4.7300408 and 7.8532046, within
    // 1e-4 (the members are divided as the modes ask). Without mass it is a mechanism, refused
    // with the node and the component that move.
    const double m = 78.5 * A / 9.80665;
    const double base = std::sqrt(E * I / m) / (2 * std::numbers::pi * L * L);
    const auto [nodes, elements] = Bar(16, false, 1);
    const auto file = [&](const QString& gamma) {
        return Structure(0,
                         {{2, {QStringLiteral("2.1E8 0.3 %1 0").arg(gamma)}},
                          {3, {QStringLiteral("0.01 1.0E-4")}},
                          {4, nodes},
                          {5, elements},
                          {6, {}},
                          {9, {}}},
                         QStringLiteral("2"));
    };
    const Run run(QStringLiteral("Lirtag"), QStringLiteral("free.d08"),
                  file(QStringLiteral("78.5")));
    QVERIFY2(run.Ok(), qPrintable(run.Error()));
    QCOMPARE(run.Json()[QStringLiteral("rigidModes")].toInt(), 3);
    QCOMPARE(run.Json()[QStringLiteral("modes")].toArray().size(), 2);
    QV_COMPARE_NEAR(Frequency(run, 0), 4.7300408 * 4.7300408 * base, 1e-4);
    QV_COMPARE_NEAR(Frequency(run, 1), 7.8532046 * 7.8532046 * base, 1e-4);
    QVERIFY(run.Outcome().Protocol.contains(QStringLiteral("3 rigid-body modes at 0 Hz")));

    const Run light(QStringLiteral("Lirtag"), QStringLiteral("light.d08"),
                    file(QStringLiteral("0")));
    QVERIFY(!light.Ok());
    QVERIFY2(light.Error().contains(QStringLiteral("mechanism")) &&
                 light.Error().contains(QStringLiteral("node ")),
             qPrintable(light.Error()));
}

void TestBarModes::harmonicLoadOnABeam() {
    // A simply supported steel beam of 6 m, two members, under 10 kN at midspan turning at
    // 0.8 times its first frequency, every mode damped 2 %. The modal series of the beam:
    // u(L/2) = sum over the odd modes of (2 / m L) P / (w_n^2 - W^2 + 2 i zeta w_n W), w_n =
    // (n pi / L)^2 sqrt(EI / m); with the four modes found (bending 1, 2, 3 and the first
    // along the beam) modes 1 and 3 carry it. Within 1e-6, amplitude and phase.
    const double gamma = 78.5, m = gamma * A / 9.80665, length = 6, P = 10, zeta = 0.02;
    const double root = std::sqrt(E * I / m);
    const auto omega = [&](int n) { return std::pow(n * std::numbers::pi / length, 2) * root; };
    const double forcing = 0.8 * omega(1), hertz = forcing / (2 * std::numbers::pi);
    const Run run(
        QStringLiteral("Lirtag"), QStringLiteral("shaken.d08"),
        Structure(
            0,
            {{2, {QStringLiteral("2.1E8 0.3 78.5 0")}},
             {3, {QStringLiteral("0.01 1.0E-4")}},
             {4, {QStringLiteral("0 0"), QStringLiteral("3 0"), QStringLiteral("6 0")}},
             {5, {QStringLiteral("1 2 1 1 0"), QStringLiteral("2 3 1 1 0")}},
             {6, {QStringLiteral("1 1 1 0"), QStringLiteral("3 0 1 0")}},
             {9, {}},
             {20, {QStringLiteral("0 %1").arg(zeta)}},
             {23, {QStringLiteral("1 SIN 1 %1 0 0").arg(hertz, 0, 'g', 17)}},
             {24,
              {QStringLiteral("1 2 0 %1 0").arg(-P), QStringLiteral("2 2 0 %1 0").arg(-P),
               QStringLiteral("3 2 0 %1 0").arg(-P)}},
             {26, {QStringLiteral("1 %1 %1 1").arg(hertz, 0, 'g', 17)}},
             {27,
              {QStringLiteral("2 1 0.5 0.0002 MODAL"), QStringLiteral("3 1 0.5 0.0002 DIRECT")}}},
            QStringLiteral("4")));
    QVERIFY2(run.Ok(), qPrintable(run.Error()));
    std::complex<double> series = 0;
    for (const int n : {1, 3})
        series += 2 / (m * length) * -P /
                  std::complex<double>(omega(n) * omega(n) - forcing * forcing,
                                       2 * zeta * omega(n) * forcing);
    // Below resonance the beam follows the load (down, as the load), behind it by
    // atan(2 zeta r / (1 - r^2)) of its first mode, 5.08 degrees.
    const QJsonObject forced = run.Json()[QStringLiteral("forced")][0].toObject();
    const double amplitude = forced[QStringLiteral("amplitudes")][0][1][2].toDouble();
    const double phase = forced[QStringLiteral("phases")][0][1][2].toDouble();
    QV_COMPARE_NEAR(amplitude, -std::abs(series), 1e-6);
    QV_COMPARE_NEAR(phase, std::arg(-series) * 180 / std::numbers::pi, 1e-6);
    QVERIFY(phase < -5 && phase > -5.2);
    // The moment at midspan, end j of the first member, from the same modes: the series times
    // -EI (n pi / L)^2 sin(n pi / 2) for each mode; sagging, so positive, within 0.1 %.
    std::complex<double> moment = 0;
    for (const int n : {1, 3})
        moment += -E * I * std::pow(n * std::numbers::pi / length, 2) *
                  std::sin(n * std::numbers::pi / 2) * 2 / (m * length) *
                  std::sin(n * std::numbers::pi / 2) * -P /
                  std::complex<double>(omega(n) * omega(n) - forcing * forcing,
                                       2 * zeta * omega(n) * forcing);
    QV_COMPARE_NEAR(forced[QStringLiteral("elementAmplitudes")][0][6].toDouble(), std::abs(moment),
                    1e-3);
    QVERIFY(run.Outcome().Protocol.contains(QStringLiteral("Damping: as table 20 gives it")));
    // The same load as a sine from rest for half a second, by the modes and by Newmark's steps
    // on every equation: the peaks of the midspan agree within 1 %.
    const QJsonArray all = run.Json()[QStringLiteral("forced")].toArray();
    const QJsonArray modal = all[1][QStringLiteral("peaks")][1].toArray();
    const QJsonArray direct = all[2][QStringLiteral("peaks")][1].toArray();
    QV_COMPARE_NEAR(direct[5].toDouble(), modal[5].toDouble(), 1e-2);
    QV_COMPARE_NEAR(direct[7].toDouble(), modal[7].toDouble(), 1e-2);
    QVERIFY(direct[5].toDouble() != modal[5].toDouble()); // two ways, not one twice
    QVERIFY(run.Outcome().Protocol.contains(QStringLiteral("integrated directly")));

    // The result file rebuilds the same motions from its shapes: the harmonic amplitude and
    // the midspan moment from each shape's coordinate, the modal history's peaks from its
    // coordinates at every instant, the direct one's from its frames (to rounding).
    const std::optional<ResultFile::Contents> file = ResultFile::Read(run.Outcome().ResultFile);
    QVERIFY(file && file->Vibrations.List.size() == 3);
    const ResultFile::Shapes& shapes = file->Modes;
    const ResultFile::Forced& v = file->Vibrations;
    const size_t count = shapes.List.size(), width = 3, uz = 1 * width + 1;
    const int mjAt = v.Columns.IndexOf(QStringLiteral("Mj"));
    QCOMPARE(mjAt, 5);
    std::complex<double> u = 0, mj = 0;
    for (size_t i = 0; i < count; ++i) {
        const std::complex<double> c(v.List[0].Coordinates[2 * i],
                                     v.List[0].Coordinates[2 * i + 1]);
        u += shapes.List[i].Displacements[uz] * c;
        mj += v.ShapeElements[i][static_cast<size_t>(mjAt)] * c;
    }
    QV_COMPARE_NEAR(std::abs(u), std::abs(series), 1e-6);
    QV_COMPARE_NEAR(std::abs(mj), std::abs(moment), 1e-3);
    double high = 0, low = 0;
    const ResultFile::Forced::Excitation& byModes = v.List[1];
    for (size_t k = 0; k < byModes.Abscissae.size(); ++k) {
        double at = 0;
        for (size_t i = 0; i < count; ++i)
            at += shapes.List[i].Displacements[uz] * byModes.Coordinates[k * count + i];
        high = std::max(high, at), low = std::min(low, at);
    }
    QV_COMPARE_NEAR(high, modal[5].toDouble(), 1e-9);
    QV_COMPARE_NEAR(low, modal[7].toDouble(), 1e-9);
    QCOMPARE(byModes.NodePeaks[uz * 4], modal[5].toDouble());
    const ResultFile::Forced::Excitation& step = v.List[2];
    QVERIFY(step.Direct());
    const size_t frame = (size_t(shapes.Nodes) + size_t(shapes.InnerPoints())) * width +
                         size_t(shapes.Elements) * size_t(v.Columns.Count());
    double directHigh = 0;
    for (size_t k = 0; k < step.Abscissae.size(); ++k)
        directHigh = std::max(directHigh, step.Frames[k * frame + uz]);
    QV_COMPARE_NEAR(directHigh, direct[5].toDouble(), 1e-12);

    // Free to move: two masses on a weightless truss bar, held across only, one pushed along
    // it at half the bar's frequency. The bar stretches by d = F / (2k - M W^2 + 2 i zeta w M
    // W), k = EA / L, w^2 = 2k / M, whatever the pair drifts; N = k d.
    const double M = 2, k = E * A / L, w = std::sqrt(2 * k / M), W = 0.5 * w;
    const Run pair(
        QStringLiteral("Mirbek"), QStringLiteral("pair.p04"),
        Structure(1,
                  {{2, {QStringLiteral("2.1E8 0.3 0 0")}},
                   {3, {QStringLiteral("0.01")}},
                   {4, {QStringLiteral("0 0 0"), QStringLiteral("4 0 0")}},
                   {5, {QStringLiteral("1 2 1 1")}},
                   {6, {QStringLiteral("1 0 1 1"), QStringLiteral("2 0 1 1")}},
                   {7, {}},
                   {9, {QStringLiteral("1 2"), QStringLiteral("2 2")}},
                   {20, {QStringLiteral("0 %1").arg(zeta)}},
                   {24, {QStringLiteral("1 1 %1 0 0").arg(P)}},
                   {26, {QStringLiteral("1 %1 %1 1").arg(W / (2 * std::numbers::pi), 0, 'g', 17)}}},
                  QStringLiteral("1")));
    QVERIFY2(pair.Ok(), qPrintable(pair.Error()));
    const double stretch =
        std::abs(P / std::complex<double>(2 * k - M * W * W, 2 * zeta * w * M * W));
    const QJsonObject free = pair.Json()[QStringLiteral("forced")][0].toObject();
    QV_COMPARE_NEAR(std::abs(free[QStringLiteral("elementAmplitudes")][0][1].toDouble()),
                    k * stretch, 1e-9);
    QVERIFY(pair.Outcome().Protocol.contains(QStringLiteral("free to move: the modes leave out")));
}

QTEST_GUILESS_MAIN(TestBarModes)
#include "tst_barmodes.moc"
