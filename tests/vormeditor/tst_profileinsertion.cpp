#include "BlockExchange.h"
#include "DataChecker.h"
#include "EditorFixture.h"
#include "FormatCatalogue.h"
#include "InputText.h"
#include "ProblemNumber.h"
#include "StandardDialogs.h"
#include "TMaterialsForm.h"
#include "TProfilesForm.h"
#include "TStandardProfiles.h"
#include "UnitCodes.h"

#include <QTest>
#include <stdexcept>

namespace {

// The library's choosers answered by the real windows' logic, without showing them: the
// profiles and materials named by the test are inserted into the block handed over.
class FormDialogs : public StandardDialogs {
public:
    bool Profiles(QWidget*, const QString& tablePath, int problem, int count,
                  std::unique_ptr<QBuffer>& stream, int lengthUnit) override {
        Record(tablePath, count, stream, lengthUnit);
        Problem = problem;
        if (Throw)
            throw std::runtime_error("broken stream");
        if (!Confirm)
            return false;
        const StandardTable table = StandardTable::Read(tablePath);
        ScriptedDialogs dialogs;
        TProfilesForm form(dialogs, table, problem, UnitScale(lengthUnit), Received, nullptr);
        for (const auto& [kind, name] : Picks) {
            TStandardProfiles standard(table, UnitScale(lengthUnit), kind, &form);
            standard.ChooseType(name);
            standard.InsertClick();
            form.InsertSections(standard.Chosen());
        }
        stream = BlockExchange::ToStream(form.Block().Lines());
        return true;
    }
    bool Materials(QWidget*, const QString& tablePath, int count, std::unique_ptr<QBuffer>& stream,
                   int lengthUnit, int forceUnit) override {
        Record(tablePath, count, stream, lengthUnit);
        ForceUnit = forceUnit;
        if (Throw)
            throw std::runtime_error("broken stream");
        if (!Confirm)
            return false;
        const StandardTable table = StandardTable::Read(tablePath);
        TMaterialsForm form(table, UnitScale(lengthUnit, forceUnit), Received, nullptr);
        for (const auto& [group, name] : Picks) {
            form.Choose(group, name);
            form.InsertClick();
        }
        stream->buffer() = BlockExchange::ToStream(form.Block().Lines())->data();
        return true;
    }

    QList<std::pair<QString, QString>> Picks;
    bool Confirm = true;
    bool Throw = false;
    int Calls = 0;
    QString TablePath;
    int Count = -1, Problem = -1, LengthUnit = -1, ForceUnit = -1;
    qint64 PositionHandedOver = -1;
    QStringList Received;

private:
    void Record(const QString& path, int count, std::unique_ptr<QBuffer>& stream, int length) {
        ++Calls;
        TablePath = path;
        Count = count;
        LengthUnit = length;
        PositionHandedOver = stream->pos();
        Received = BlockExchange::FromStream(*stream);
    }
};

QString CheckerVerdict(const QString& text, const QString& fileName) {
    const ProblemNumber number = ProblemNumber::FromFileName(fileName);
    const DataFormat format = *FormatCatalogue::For(number.Problem, number.Dynamics);
    const DataChecker::Result result =
        DataChecker::Check(InputText::Lines(text.toLatin1()), format);
    return result.Ok
               ? QStringLiteral("ok")
               : QStringLiteral("line %1: %2").arg(result.Fault.Line).arg(result.Fault.Message);
}

} // namespace

class TestProfileInsertion : public QObject {
    Q_OBJECT

private slots:
    void unitCodes_data();
    void unitCodes();
    void blockOfFourItemsWithBlankLines();
    void missingUnitsOrTableChangeNothing();
    void emptyTablesTakeTheirOwnItems();
    void failuresOfTheLibrary();
    void insertedBlocksPassTheChecker_data();
    void insertedBlocksPassTheChecker();

private:
    FormDialogs* Install(TEditForm* editor) {
        auto dialogs = std::make_unique<FormDialogs>();
        FormDialogs* raw = dialogs.get();
        editor->SetStandardDialogs(std::move(dialogs));
        return raw;
    }
};

void TestProfileInsertion::unitCodes_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("force");
    QTest::newRow("cm") << "#  3  Length unit = cm" << 1 << 0;
    QTest::newRow("Mm with blanks") << "#  3  Length unit =   Mm  " << 2 << 0;
    QTest::newRow("mN") << "#  2  Force unit = mN" << 0 << 2;
    QTest::newRow("m") << "#  3  Length unit = m" << 0 << 0;
    QTest::newRow("kN") << "#  2  Force unit = kN" << 0 << 1;
    QTest::newRow("t") << "#  2  Force unit = t" << 0 << 4;
    QTest::newRow("kg") << "#  2  Force unit = kg" << 0 << 3;
    QTest::newRow("N") << "#  2  Force unit = N" << 0 << 0;
    QTest::newRow("second = belongs to the value") << "#  2  F = k=N" << 0 << 0;
}

void TestProfileInsertion::unitCodes() {
    QFETCH(QString, line);
    QFETCH(int, length);
    QFETCH(int, force);
    const QString value = UnitCodes::UnitValue(line);
    QCOMPARE(UnitCodes::LengthUnitCode(value), length);
    QCOMPARE(UnitCodes::ForceUnitCode(value), force);
    QStringList lines{"a", "#  1", "b", "  ", ""};
    QCOMPARE(UnitCodes::CountItems(lines), 1);
    QCOMPARE(lines, QStringList({"a", "#  1", "b"}));
    QStringList none{"x", "y"};
    QCOMPARE(UnitCodes::CountItems(none), 0);
}

void TestProfileInsertion::blockOfFourItemsWithBlankLines() {
    EditorFixture f;
    f.WriteData("frame.d55", "Frame\r\n*1 General data\r\n#  1  Title = f\r\n"
                             "#  2  Force unit = kN\r\n#  3  Length unit = m\r\n"
                             "#  7  Materials = 1\r\n#  8  Sections = 4\r\n*2 Materials\r\n"
                             "#  1  2.1E8 0.3 78.5 1.2E-5\r\n*3 Sections\r\n   No  A  I\r\n"
                             "#  1  1 1\r\n#  2  2 2\r\n#  3  3 3\r\n#  4  4 4\r\n\r\n\r\n"
                             "*4 Nodes\r\n&\r\n");
    QVERIFY(QFile::copy(QStringLiteral(PACKAGE_SOURCE "/StdProf.dat"),
                        f.package.filePath("StdProf.dat")));
    TEditForm* editor = f.Open("frame.d55");
    FormDialogs* dialogs = Install(editor);
    dialogs->Picks = {{"IPE", "IPE200"}};
    QTest::mouseClick(editor->Button(QStringLiteral("InsertProfDat")), Qt::LeftButton);
    QCOMPARE(dialogs->Calls, 1);
    QCOMPARE(dialogs->Count, 4);
    QCOMPARE(dialogs->Problem, 5);
    QCOMPARE(dialogs->LengthUnit, 0);
    QCOMPARE(dialogs->TablePath, f.package.filePath("StdProf.dat"));
    QCOMPARE(dialogs->Received, QStringList({"#  1  1 1", "#  2  2 2", "#  3  3 3", "#  4  4 4"}));
    QVERIFY(dialogs->PositionHandedOver > 0);
    // The new item is in its place, the blank lines stay and item 8 counts it.
    const QString text = editor->Field()->toPlainText();
    QVERIFY2(text.contains("#  4  4 4\n#  5  0.002848    1.943E-5   ; IPE200\n\n\n*4 Nodes"),
             qPrintable(text));
    QVERIFY(text.contains("#  8  Sections =5\n"));
    QVERIFY(EditorFixture::Enabled(editor, "SaveBtn"));

    // Cancelled: nothing changes.
    dialogs->Confirm = false;
    editor->MenuItem(QStringLiteral("Profiles"))->trigger();
    QCOMPARE(editor->Field()->toPlainText(), text);
}

void TestProfileInsertion::missingUnitsOrTableChangeNothing() {
    EditorFixture f;
    f.WriteData("nounit.d55", "*1 General data\r\n#  1  Title = f\r\n#  2  Force unit =\r\n"
                              "#  3  Length unit = m\r\n*2 Materials\r\n*3 Sections\r\n&\r\n");
    TEditForm* editor = f.Open("nounit.d55");
    FormDialogs* dialogs = Install(editor);
    const QString before = editor->Field()->toPlainText();
    editor->MatBtnClick();
    QCOMPARE(f.dialogs.Texts("warning"), QStringList{"Force and linear dimensions MUST be given!"});
    QCOMPARE(dialogs->Calls, 0);
    QCOMPARE(editor->Field()->toPlainText(), before);

    // Units given but no table 2: said plainly, the text stays.
    f.WriteData("notable.d55", "*1 General data\r\n#  1  Title = f\r\n#  2  Force unit = kN\r\n"
                               "#  3  Length unit = m\r\n*3 Sections\r\n&\r\n");
    editor = f.Open("notable.d55");
    dialogs = Install(editor);
    f.dialogs.shown.clear();
    editor->MatBtnClick();
    QCOMPARE(dialogs->Calls, 0);
    QCOMPARE(f.dialogs.Texts("warning").size(), 1);
    QVERIFY(f.dialogs.Texts("warning").first().contains("no table 2"));
    QVERIFY(!editor->Field()->toPlainText().contains("#  1  2.1E8"));
}

void TestProfileInsertion::emptyTablesTakeTheirOwnItems() {
    EditorFixture f;
    for (const char* table : {"StdProf.dat", "StdMat.dat"})
        QVERIFY(QFile::copy(QStringLiteral(PACKAGE_SOURCE "/") + table, f.package.filePath(table)));
    // Tables 2 and 3 with neither headings nor items, table 3 the last line of the file.
    const QString start = "*1 General data\r\n#  1  Title = f\r\n#  2  Force unit = kN\r\n"
                          "#  3  Length unit = m\r\n#  7  Materials = 0\r\n"
                          "#  8  Sections = 0\r\n*2 Materials\r\n*3 Sections";
    f.WriteData("empty.d55", start.toLatin1());
    TEditForm* editor = f.Open("empty.d55");
    FormDialogs* dialogs = Install(editor);
    dialogs->Picks = {{"STEEL", "S355"}};
    editor->MatBtnClick();
    QCOMPARE(dialogs->Received, QStringList());
    QCOMPARE(dialogs->Count, 0);
    dialogs->Picks = {{"IPE", "IPE200"}};
    editor->InsertProfDatClick();
    const QStringList lines = editor->Field()->toPlainText().split(u'\n');
    // Each item lands under its own header, and each count is its own table's.
    QCOMPARE(lines.size(), 10);
    QCOMPARE(lines[6], QStringLiteral("*2 Materials"));
    QVERIFY2(lines[7].startsWith("#  1 ") && lines[7].endsWith("; S355"), qPrintable(lines[7]));
    QCOMPARE(lines[8], QStringLiteral("*3 Sections"));
    QVERIFY2(lines[9].startsWith("#  1 ") && lines[9].endsWith("; IPE200"), qPrintable(lines[9]));
    QCOMPARE(lines[4], QStringLiteral("#  7  Materials =1"));
    QCOMPARE(lines[5], QStringLiteral("#  8  Sections =1"));

    // Table 1 without the unit items: the units are missing, whatever the line above says.
    f.WriteData("nounits.d55", "*1 General data = kN\r\n#  1  Title = f\r\n*2 Materials\r\n"
                               "#  1  2.1E8 0.3 78.5 1.2E-5\r\n*3 Sections\r\n#  1  1 1\r\n");
    editor = f.Open("nounits.d55");
    dialogs = Install(editor);
    f.dialogs.shown.clear();
    editor->MatBtnClick();
    editor->InsertProfDatClick();
    QCOMPARE(f.dialogs.Texts("warning"),
             QStringList(2, QStringLiteral("Force and linear dimensions MUST be given!")));
    QCOMPARE(dialogs->Calls, 0);
}

void TestProfileInsertion::failuresOfTheLibrary() {
    EditorFixture f;
    QFile::copy(QStringLiteral(PACKAGE_SOURCE "/examples/gable.d05"), f.DataPath("gable.d05"));
    TEditForm* editor = f.Open("gable.d05");
    FormDialogs* dialogs = Install(editor);
    const QString before = editor->Field()->toPlainText();
    dialogs->Throw = true;
    editor->MatBtnClick();
    QCOMPARE(f.dialogs.Texts("warning"), QStringList{"Error executing materials dialog!"});
    editor->InsertProfDatClick();
    QCOMPARE(f.dialogs.Texts("warning").size(), 2);
    QCOMPARE(f.dialogs.Texts("warning").last(), QStringLiteral("broken stream"));
    QCOMPARE(editor->Field()->toPlainText(), before);
    QVERIFY(!EditorFixture::Enabled(editor, "SaveBtn"));
}

void TestProfileInsertion::insertedBlocksPassTheChecker_data() {
    QTest::addColumn<QString>("example");
    QTest::addColumn<QString>("profile");
    QTest::addColumn<QString>("countLine");
    QTest::newRow("plane frame") << "gable.d05"
                                 << "IPE300"
                                 << "#  8  Sections     =3";
    QTest::newRow("space frame") << "storey.d07"
                                 << "HEB200"
                                 << "#  8  Sections      =3";
    QTest::newRow("plane truss") << "warren.d03"
                                 << "L80x8"
                                 << "#  8  Sections     =2";
}

void TestProfileInsertion::insertedBlocksPassTheChecker() {
    QFETCH(QString, example);
    QFETCH(QString, profile);
    QFETCH(QString, countLine);
    EditorFixture f;
    for (const char* table : {"StdProf.dat", "StdMat.dat"})
        QVERIFY(QFile::copy(QStringLiteral(PACKAGE_SOURCE "/") + table, f.package.filePath(table)));
    QVERIFY(
        QFile::copy(QStringLiteral(PACKAGE_SOURCE "/examples/") + example, f.DataPath(example)));
    TEditForm* editor = f.Open(example);
    FormDialogs* dialogs = Install(editor);
    const QString kind = profile.startsWith("L") ? "L" : profile.left(3);
    dialogs->Picks = {{kind, profile}};
    editor->InsertProfDatClick();
    dialogs->Picks = {{"STEEL", "S355"}};
    editor->MatBtnClick();
    const QString text = editor->Field()->toPlainText();
    QVERIFY2(text.contains("; " + profile), qPrintable(text));
    QVERIFY2(text.contains("; S355"), qPrintable(text));
    QVERIFY2(text.contains(countLine), qPrintable(text));
    QCOMPARE(CheckerVerdict(text, example), QStringLiteral("ok"));
}

QTEST_MAIN(TestProfileInsertion)
#include "tst_profileinsertion.moc"
