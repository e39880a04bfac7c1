#include "ProfileValues.h"
#include "ScriptedDialogs.h"
#include "SectionFileCharacteristics.h"
#include "StandardTable.h"
#include "TMaterialsForm.h"
#include "TProfilesForm.h"
#include "TStandardProfiles.h"
#include "TableBlock.h"

#include <QComboBox>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

namespace {

const StandardTable& Profiles() {
    static const StandardTable table =
        StandardTable::Read(QStringLiteral(PACKAGE_SOURCE "/StdProf.dat"));
    return table;
}

const StandardTable& Materials() {
    static const StandardTable table =
        StandardTable::Read(QStringLiteral(PACKAGE_SOURCE "/StdMat.dat"));
    return table;
}

const StandardTable::Row* RowOf(const StandardTable& table, const QString& group,
                                const QString& name) {
    const StandardTable::Group* g = table.Find(group);
    if (!g)
        return nullptr;
    for (const StandardTable::Row& row : g->Rows)
        if (row.Name == name)
            return &row;
    return nullptr;
}

bool Near(double a, double b, double relative) {
    return qAbs(a - b) <= relative * qAbs(b);
}

} // namespace

class TestDialogLibrary : public QObject {
    Q_OBJECT

private slots:
    void profilesMatchThePublishedTables_data();
    void profilesMatchThePublishedTables();
    void materialsMatchTheStandards();
    void badTablesNameTheLine();
    void unitsOfTheFile();
    void itemValuesPerProblemType();
    void blockAppendsAndRenumbers();
    void sectionFileGivesTheReportsValues();
    void profilesWindowInsertsAndDeletes();
    void materialsWindowInsertsInTheFilesUnits();
};

void TestDialogLibrary::profilesMatchThePublishedTables_data() {
    QTest::addColumn<QString>("group");
    QTest::addColumn<QString>("name");
    QTest::addColumn<double>("A");
    QTest::addColumn<double>("Iy");
    QTest::addColumn<double>("Iz");
    // Published values (cm², cm⁴) of the European series; the hollow sections are computed
    // from their dimensions and must agree with the tables to 1 %.
    QTest::newRow("IPE 200") << "IPE"
                             << "IPE200" << 28.48 << 1943.0 << 142.4;
    QTest::newRow("IPE 600") << "IPE"
                             << "IPE600" << 156.0 << 92080.0 << 3387.0;
    QTest::newRow("HE 200 A") << "HEA"
                              << "HEA200" << 53.83 << 3692.0 << 1336.0;
    QTest::newRow("HE 300 B") << "HEB"
                              << "HEB300" << 149.1 << 25170.0 << 8563.0;
    QTest::newRow("UPN 200") << "UPN"
                             << "UPN200" << 32.2 << 1910.0 << 148.0;
    QTest::newRow("L 100x10") << "L"
                              << "L100x10" << 19.15 << 176.7 << 176.7;
    QTest::newRow("SHS 100x100x5") << "SHS"
                                   << "SHS100x100x5" << 18.7 << 279.0 << 279.0;
    QTest::newRow("CHS 168.3x8") << "CHS"
                                 << "CHS168.3x8" << 40.3 << 1297.0 << 1297.0;
}

void TestDialogLibrary::profilesMatchThePublishedTables() {
    QFETCH(QString, group);
    QFETCH(QString, name);
    QFETCH(double, A);
    QFETCH(double, Iy);
    QFETCH(double, Iz);
    const StandardTable::Group* g = Profiles().Find(group);
    QVERIFY(g);
    const StandardTable::Row* row = RowOf(Profiles(), group, name);
    QVERIFY(row);
    QVERIFY2(Near(*g->Value(*row, "A"), A, 0.01), "A");
    QVERIFY2(Near(*g->Value(*row, "Iy"), Iy, 0.01), "Iy");
    QVERIFY2(Near(*g->Value(*row, "Iz"), Iz, 0.01), "Iz");
    QVERIFY(*g->Value(*row, "It") > 0);
}

void TestDialogLibrary::materialsMatchTheStandards() {
    QCOMPARE(QStringList({"STEEL", "CONCRETE", "TIMBER", "ALUMINIUM"}).size(),
             Materials().Groups().size());
    const StandardTable::Group* steel = Materials().Find("STEEL");
    QCOMPARE(*steel->Value(*RowOf(Materials(), "STEEL", "S355"), "E"), 210000.0);
    QCOMPARE(*steel->Value(*RowOf(Materials(), "STEEL", "S355"), "gamma"), 78.5);
    const StandardTable::Group* concrete = Materials().Find("CONCRETE");
    QCOMPARE(*concrete->Value(*RowOf(Materials(), "CONCRETE", "C30/37"), "E"), 33000.0);
    QCOMPARE(*concrete->Value(*RowOf(Materials(), "CONCRETE", "C30/37"), "nu"), 0.2);
    QCOMPARE(*Materials().Find("TIMBER")->Value(*RowOf(Materials(), "TIMBER", "C24"), "E"),
             11000.0);
    QCOMPARE(*Materials()
                  .Find("ALUMINIUM")
                  ->Value(*RowOf(Materials(), "ALUMINIUM", "EN-AW-6082-T6"), "alpha"),
             2.3e-5);
}

void TestDialogLibrary::badTablesNameTheLine() {
    try {
        StandardTable::Parse("[IPE] I\r\ncolumns: A Iy\r\nIPE80 7.64\r\n", "x.dat");
        QFAIL("a short row must fail");
    } catch (const std::runtime_error& error) {
        QCOMPARE(QString::fromUtf8(error.what()),
                 QStringLiteral("x.dat, line 3: 2 values expected"));
    }
    // Values that are no finite number would land in the data file as NAN or INF.
    for (const char* value : {"nan", "NaN", "inf", "-inf", "+INF"}) {
        try {
            StandardTable::Parse(QByteArray("; materials\n[STEEL] Steels\ncolumns: E nu\n"
                                            "S235 210000 0.3\nS275 ") +
                                     value + " 0.3\n",
                                 "StdMat.dat");
            QFAIL(qPrintable(QStringLiteral("%1 must fail").arg(value)));
        } catch (const std::runtime_error& error) {
            QCOMPARE(QString::fromUtf8(error.what()),
                     QStringLiteral("StdMat.dat, line 5: \"%1\" is no finite number").arg(value));
        }
    }
    try {
        StandardTable::Read(QStringLiteral("/nonexistent/StdProf.dat"));
        QFAIL("a missing table must fail");
    } catch (const std::runtime_error& error) {
        QVERIFY(QString::fromUtf8(error.what()).startsWith("Cannot open file "));
    }
}

void TestDialogLibrary::unitsOfTheFile() {
    // 1 cm² is 1E-4 m², 100 mm²; 1 cm⁴ is 1E-8 m⁴.
    QCOMPARE(UnitScale(0).FromSquareCentimetres(28.48), 28.48e-4);
    QCOMPARE(UnitScale(1).FromSquareCentimetres(28.48), 28.48);
    QVERIFY(Near(UnitScale(2).FromSquareCentimetres(28.48), 2848, 1e-12));
    QVERIFY(Near(UnitScale(0).FromQuarticCentimetres(1943), 1.943e-5, 1e-12));
    QVERIFY(Near(UnitScale(2).FromQuarticCentimetres(1), 1e4, 1e-12));
    // 210000 N/mm² in kN/m² is 2.1E8, in kN/cm² 21000, in MN/m² 210000, in N/mm² as it is.
    QVERIFY(Near(UnitScale(0, 1).FromMegapascals(210000), 2.1e8, 1e-12));
    QVERIFY(Near(UnitScale(1, 1).FromMegapascals(210000), 21000, 1e-12));
    QVERIFY(Near(UnitScale(0, 2).FromMegapascals(210000), 210000, 1e-12));
    QVERIFY(Near(UnitScale(2, 0).FromMegapascals(210000), 210000, 1e-12));
    QVERIFY(Near(UnitScale(0, 4).FromMegapascals(210000), 2.1e8 / 9.80665, 1e-12));
    // 78.5 kN/m³ is 78.5 kN/m³, 7.85E-5 N/mm³, 8.005 T/m³.
    QVERIFY(Near(UnitScale(0, 1).FromKilonewtonsPerCubicMetre(78.5), 78.5, 1e-12));
    QVERIFY(Near(UnitScale(2, 0).FromKilonewtonsPerCubicMetre(78.5), 7.85e-5, 1e-12));
    QVERIFY(Near(UnitScale(0, 4).FromKilonewtonsPerCubicMetre(78.5), 8.0048, 1e-4));
    QCOMPARE(UnitScale(7, 9).LengthName() + UnitScale(7, 9).ForceName(), QStringLiteral("mN"));
}

void TestDialogLibrary::itemValuesPerProblemType() {
    const StandardTable::Group* chs = Profiles().Find("CHS");
    const SectionValues tube =
        ProfileValues::FromRow(*chs, *RowOf(Profiles(), "CHS", "CHS168.3x8"), UnitScale(2));
    QCOMPARE(*ProfileValues::ItemValues(12, tube), QList<double>({168.3, 152.3}));
    SectionValues s;
    s.A = 1;
    s.Iy = 2;
    s.Iz = 3;
    s.It = 4;
    QCOMPARE(*ProfileValues::ItemValues(5, s), QList<double>({1, 2}));
    QCOMPARE(*ProfileValues::ItemValues(3, s), QList<double>({1}));
    QCOMPARE(*ProfileValues::ItemValues(6, s), QList<double>({2, 4}));
    QCOMPARE(*ProfileValues::ItemValues(7, s), QList<double>({1, 4, 2, 3}));
    QVERIFY(!ProfileValues::ItemValues(12, s));   // a shaft needs a tube
    QVERIFY(ProfileValues::Columns(9).isEmpty()); // thicknesses
    QVERIFY(!ProfileValues::ItemValues(9, s));
}

void TestDialogLibrary::blockAppendsAndRenumbers() {
    TableBlock block({"   No     A          I", "#  1   0.00538    5.79E-5   ; HEA 200",
                      "#  2   0.00395    3.892E-5"});
    QCOMPARE(block.ItemCount(), 2);
    QCOMPARE(block.Items()[0].Values, QStringList({"0.00538", "5.79E-5"}));
    QCOMPARE(block.Items()[0].Remark, QStringLiteral("HEA 200"));
    block.Append({0.002848, 1.943e-5}, "IPE200");
    QCOMPARE(block.Lines().last(), QStringLiteral("#  3  0.002848    1.943E-5   ; IPE200"));
    block.RemoveItem(0);
    QCOMPARE(block.Lines(), QStringList({"   No     A          I", "#  1   0.00395    3.892E-5",
                                         "#  2  0.002848    1.943E-5   ; IPE200"}));
    QCOMPARE(TableBlock::FormatNumber(2.1e8), QStringLiteral("2.1E8"));
    QCOMPARE(TableBlock::FormatNumber(1.2e-5), QStringLiteral("1.2E-5"));
    QCOMPARE(TableBlock::FormatNumber(0.3), QStringLiteral("0.3"));
    TableBlock empty({"   No     A"});
    empty.Append({1.5}, {});
    QCOMPARE(empty.Lines().last(), QStringLiteral("#  1  1.5"));
}

void TestDialogLibrary::sectionFileGivesTheReportsValues() {
    // rectangle.geo: 3 wide and 2 high, in cm. A = 6 cm², I1 = 3·2³/12... the larger one is
    // 2·3³/12 = 4.5 cm⁴, the smaller 3·2³/12 = 2 cm⁴.
    const SectionValues s = SectionFileCharacteristics::Read(
        QStringLiteral(QV_SAMPLES_DIR "/rectangle.geo"), UnitScale(0));
    QVERIFY(Near(s.A, 6e-4, 1e-9));
    QVERIFY(Near(s.Iy, 4.5e-8, 1e-9));
    QVERIFY(Near(s.Iz, 2e-8, 1e-9));
    QCOMPARE(s.Name, QStringLiteral("rectangle"));
    const SectionValues mm = SectionFileCharacteristics::Read(
        QStringLiteral(QV_SAMPLES_DIR "/rectangle.geo"), UnitScale(2));
    QVERIFY(Near(mm.A, 600, 1e-9));
    try {
        SectionFileCharacteristics::Read(QStringLiteral("/nonexistent/x.geo"), UnitScale(0));
        QFAIL("a missing section file must fail");
    } catch (const std::runtime_error&) {
    }
}

void TestDialogLibrary::profilesWindowInsertsAndDeletes() {
    ScriptedDialogs dialogs;
    TProfilesForm form(dialogs, Profiles(), 5, UnitScale(0),
                       {"   No     A          I", "#  1   0.00538    5.79E-5   ; HEA 200"},
                       nullptr);
    QCOMPARE(form.windowTitle(), QStringLiteral("Profiles"));
    QCOMPARE(form.Grid()->rowCount(), 1);
    QCOMPARE(form.Grid()->item(0, 3)->text(), QStringLiteral("HEA 200"));

    // The standard profiles window picks IPE 240 in the file's units.
    TStandardProfiles standard(Profiles(), UnitScale(0), "IPE", &form);
    standard.ChooseType("IPE240");
    standard.InsertClick();
    standard.ChooseKind("HEB");
    standard.ChooseType("HEB200");
    standard.InsertClick();
    standard.DeleteClick();
    QCOMPARE(standard.Chosen().size(), 1);
    QCOMPARE(standard.Grid()->item(0, 0)->text(), QStringLiteral("IPE240"));
    QCOMPARE(standard.Grid()->item(0, 1)->text(), QStringLiteral("0.24"));
    form.InsertSections(standard.Chosen());
    QCOMPARE(form.Block().Lines().last(), QStringLiteral("#  2  0.003912    3.892E-5   ; IPE240"));

    // A section file too; a bad one is reported and adds nothing.
    form.InsertSectionFile(QStringLiteral(QV_SAMPLES_DIR "/rectangle.geo"));
    QCOMPARE(form.Block().ItemCount(), 3);
    QCOMPARE(form.Block().Items().last().Remark, QStringLiteral("rectangle"));
    form.InsertSectionFile(QStringLiteral("/nonexistent/x.geo"));
    QCOMPARE(dialogs.Texts("error").size(), 1);
    QCOMPARE(form.Block().ItemCount(), 3);

    form.Grid()->setCurrentCell(0, 0);
    form.DeleteClick();
    QCOMPARE(form.Block().Items().first().Remark, QStringLiteral("IPE240"));
    QCOMPARE(form.Block().Items().first().Number, 1);

    // A grillage's shaft-less types take no tube check; a shaft refuses an I-beam.
    TProfilesForm shaft(dialogs, Profiles(), 12, UnitScale(0), {}, nullptr);
    shaft.InsertSections(standard.Chosen());
    QCOMPARE(shaft.Block().ItemCount(), 0);
    QCOMPARE(dialogs.Texts("warning").size(), 1);
}

void TestDialogLibrary::materialsWindowInsertsInTheFilesUnits() {
    TMaterialsForm form(Materials(), UnitScale(0, 1), {"   No     E        nu     gamma    alpha"},
                        nullptr);
    QCOMPARE(form.windowTitle(), QStringLiteral("Materials"));
    form.Choose("STEEL", "S235");
    form.InsertClick();
    form.Choose("CONCRETE", "C25/30");
    form.InsertClick();
    QCOMPARE(form.Block().Lines().mid(1),
             QStringList({"#  1  2.1E8       0.3         78.5        1.2E-5     ; S235",
                          "#  2  3.1E7       0.2         25          1E-5       ; C25/30"}));
    QCOMPARE(form.Grid()->rowCount(), 2);
    form.Grid()->setCurrentCell(0, 0);
    form.DeleteClick();
    QCOMPARE(form.Block().Items().first().Remark, QStringLiteral("C25/30"));
}

QTEST_MAIN(TestDialogLibrary)
#include "tst_dialoglibrary.moc"
