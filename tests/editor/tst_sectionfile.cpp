#include "DrawingState.h"
#include "SectionError.h"
#include "SectionFile.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

namespace {

// The unit square of the file format's description, with CR LF line ends.
const QByteArray UnitSquare = "1\r\n1\r\n1\r\n"
                              " 0.00000000000000E+0000\r\n 0.00000000000000E+0000\r\n"
                              " 1.00000000000000E+0000\r\n 0.00000000000000E+0000\r\n"
                              " 1.00000000000000E+0000\r\n 1.00000000000000E+0000\r\n"
                              " 0.00000000000000E+0000\r\n 1.00000000000000E+0000\r\n"
                              " 1.00000000000000E+0000\r\nm\r\n";

// A square with a triangle on its top edge (two shared nodes) and a blank sector.
const QByteArray House = "0\n3\n1\n2\n-3\n"
                         "0\n0\n4\n0\n4\n4\n0\n4\n"
                         "0\n4\n4\n4\n2\n6\n0\n4\n"
                         "2\n2\n3\n2\n2\n3\n2\n2\n"
                         "2.5\ncm\n";

QString WriteFile(const QTemporaryDir& dir, const QString& name, const QByteArray& content) {
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
        qFatal("cannot write test file");
    return path;
}

QString ParseError(DrawingState& state, const QString& path) {
    try {
        SectionFile::Parse(state, path);
    } catch (const SectionError& error) {
        return QString::fromUtf8(error.what());
    }
    return {};
}

// Every shape left after reading, successful or not, must be complete and consistent.
void VerifyIntegrity(const DrawingState& state) {
    for (const auto& shape : state.Shapes) {
        QVERIFY(shape->IsComplete());
        for (int j = 0; j <= shape->MaxPoints; ++j)
            QVERIFY(shape->GetPoint(j) != nullptr);
        QCOMPARE(shape->GetPoint(shape->MaxPoints), shape->GetPoint(0));
    }
    int references = 0;
    for (const auto& node : state.Nodes) {
        QVERIFY(node->RefCount > 0);
        references += node->RefCount;
    }
    int points = 0;
    for (const auto& shape : state.Shapes)
        points += shape->MaxPoints;
    QCOMPARE(references, points);
    QCOMPARE(state.Grid.RowCount(), std::max<int>(2, int(state.Nodes.size()) + 1));
}

} // namespace

class TestSectionFile : public QObject {
    Q_OBJECT

private slots:
    void writesTheDocumentedLayout();
    void roundTrip();
    void readingJoinsNodesExactly();
    void tokenRules_data();
    void tokenRules();
    void readerErrors_data();
    void readerErrors();
    void writerNeverLosesTheOldFile();
    void randomAndTruncatedFilesDoNotCrash();
    void hostileTokens_data();
    void hostileTokens();
    void failedReadChangesNothing();

private:
    QTemporaryDir dir_;
};

void TestSectionFile::writesTheDocumentedLayout() {
    DrawingState state;
    QVERIFY(ParseError(state, WriteFile(dir_, "square.geo", UnitSquare)).isEmpty());
    QCOMPARE(SectionFile::Serialize(state), UnitSquare);

    // A triangle or sector is written with four points, the fourth its first again.
    DrawingState house;
    QVERIFY(ParseError(house, WriteFile(dir_, "house.geo", House)).isEmpty());
    const QList<QByteArray> lines = SectionFile::Serialize(house).split('\n');
    QCOMPARE(lines.at(0), QByteArray("0\r"));
    QCOMPARE(lines.at(4), QByteArray("-3\r"));
    const int triangle = 5 + 8;
    QCOMPARE(lines.at(triangle + 6), lines.at(triangle));
    QCOMPARE(lines.at(triangle + 7), lines.at(triangle + 1));
    QCOMPARE(lines.at(5 + 24), QByteArray(" 2.50000000000000E+0000\r"));
    QCOMPARE(lines.at(5 + 25), QByteArray("cm\r"));

    // An empty drawing: mode, 0, Max Width, unit.
    DrawingState empty;
    QCOMPARE(SectionFile::Serialize(empty),
             QByteArray("1\r\n0\r\n 1.00000000000000E+0000\r\nm\r\n"));
}

void TestSectionFile::roundTrip() {
    DrawingState original;
    QVERIFY(ParseError(original, WriteFile(dir_, "house.geo", House)).isEmpty());
    const QString saved = dir_.filePath("saved.geo");
    SectionFile::Write(original, saved);

    DrawingState copy;
    copy.SelectGeometricMode();
    QVERIFY(ParseError(copy, saved).isEmpty());
    QCOMPARE(copy.SectionMode, 'S');
    QVERIFY(!copy.ModeSwitchVisible);
    QCOMPARE(copy.Shapes.size(), original.Shapes.size());
    QCOMPARE(copy.Nodes.size(), original.Nodes.size());
    for (std::size_t i = 0; i < copy.Shapes.size(); ++i) {
        QCOMPARE(copy.Shapes[i]->Kind, original.Shapes[i]->Kind);
        QCOMPARE(copy.Shapes[i]->Filled, original.Shapes[i]->Filled);
        for (int j = 0; j < copy.Shapes[i]->MaxPoints; ++j) {
            const auto indexOf = [](const DrawingState& s, const TRegisteredNode* n) {
                for (std::size_t k = 0; k < s.Nodes.size(); ++k)
                    if (s.Nodes[k].get() == n)
                        return int(k);
                return -1;
            };
            QCOMPARE(indexOf(copy, copy.Shapes[i]->GetPoint(j)),
                     indexOf(original, original.Shapes[i]->GetPoint(j)));
        }
    }
    QCOMPARE(copy.MaxWidthText, QStringLiteral("2.5"));
    QCOMPARE(copy.UnitText, QStringLiteral("cm"));
    QCOMPARE(copy.StatusShapesText, QStringLiteral("Number of shapes: 3"));
    QCOMPARE(SectionFile::Serialize(copy), SectionFile::Serialize(original));
    VerifyIntegrity(copy);
}

void TestSectionFile::readingJoinsNodesExactly() {
    // House: the square's top corners are the triangle's base, and the sector's closing
    // copy is not a node of its own.
    DrawingState house;
    house.DecimalPoint = u',';
    QVERIFY(ParseError(house, WriteFile(dir_, "house.geo", House)).isEmpty());
    QCOMPARE(house.Nodes.size(), std::size_t(8));
    QCOMPARE(house.Nodes[2]->RefCount, 2);
    QCOMPARE(house.Grid.RowCount(), 9);
    QCOMPARE(house.Grid.At(5)[1], QStringLiteral("6"));
    QCOMPARE(house.Grid.CurrentRow(), 8);

    // Coordinates with more than four decimals are stored rounded, so equal texts no longer
    // meet an equal node.
    const QByteArray fine = "1\n1\n2\n0.00001\n0\n1\n0\n0.00001\n1\n0\n0\n1.5\nmm\n";
    DrawingState state;
    QVERIFY(ParseError(state, WriteFile(dir_, "fine.geo", fine)).isEmpty());
    QCOMPARE(state.Nodes.size(), std::size_t(3));
    QCOMPARE(state.Nodes[0]->Node->RealY, 0.0);
    QCOMPARE(state.MaxWidthText, QStringLiteral("1.5"));
}

void TestSectionFile::tokenRules_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("unit");
    QTest::addColumn<QString>("maxWidth");
    QTest::newRow("extra text after values")
        << QByteArray("1 geometric\n1 shape\n2 triangle\n0 y\n0 z\n1.5E0 y\n0\n0\n1e+000\n"
                      "9\n9\n  +1.25e-1  width\n  mm\t \n")
        << "mm"
        << "0.125";
    QTest::newRow("blank lines before numbers, LF ends")
        << QByteArray("\n\n1\n\n1\n2\n0\n0\n1\n0\n0\n1\n0\n0\n.5\ncm \n") << "cm"
        << "0.5";
    QTest::newRow("a mode outside 0 and 1 keeps the mode")
        << QByteArray("7\r\n0\r\n3.\r\nm\r\n") << "m"
        << "3";
}

void TestSectionFile::tokenRules() {
    QFETCH(QByteArray, content);
    QFETCH(QString, unit);
    QFETCH(QString, maxWidth);
    DrawingState state;
    QCOMPARE(ParseError(state, WriteFile(dir_, "tokens.geo", content)), QString());
    QCOMPARE(state.UnitText, unit);
    QCOMPARE(state.MaxWidthText, maxWidth);
    QCOMPARE(state.SectionMode, 'G');
    VerifyIntegrity(state);
}

void TestSectionFile::readerErrors_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("message");

    QTest::newRow("letters for a number") << QByteArray("1\nx\n") << "Invalid numeric input";
    QTest::newRow("bad shape code") << QByteArray("1\n2\n1\n4\n") << "Bad shape ID!";
    QTest::newRow("early end at the codes") << QByteArray("1\n2\n1\n") << "Bad shape ID!";
    QTest::newRow("bad coordinate in second shape")
        << QByteArray("1\n2\n2\n2\n0\n0\n1\n0\n0\n1\n0\n0\n5\n5\nbad\n") << "Invalid numeric input";
    QTest::newRow("end inside coordinates")
        << QByteArray("1\n1\n1\n0\n0\n1\n0\n") << "Wrong dimension identifier!";
    QTest::newRow("unit in upper case")
        << QByteArray("1\n0\n1\nCM\n") << "Wrong dimension identifier!";
    QTest::newRow("unit missing") << QByteArray("1\n0\n1\n") << "Wrong dimension identifier!";
    QTest::newRow("real as integer") << QByteArray("1.0\n") << "Invalid numeric input";
    QTest::newRow("overflowing real") << QByteArray("1\n1\n2\n1e999\n") << "Invalid numeric input";
}

void TestSectionFile::readerErrors() {
    QFETCH(QByteArray, content);
    QFETCH(QString, message);
    // Nothing of a bad file is taken: not even the shapes before the fault.
    DrawingState state;
    QCOMPARE(ParseError(state, WriteFile(dir_, "bad.geo", content)), message);
    QVERIFY(state.Shapes.empty() && state.Nodes.empty());
    QVERIFY(state.ModeSwitchVisible);
    QCOMPARE(state.MaxWidthText, QStringLiteral("1"));
    VerifyIntegrity(state);

    DrawingState missing;
    QCOMPARE(ParseError(missing, dir_.filePath("no such file.geo")),
             QStringLiteral("File not found"));
}

void TestSectionFile::writerNeverLosesTheOldFile() {
    DrawingState state;
    QVERIFY(ParseError(state, WriteFile(dir_, "square.geo", UnitSquare)).isEmpty());
    const QString target = WriteFile(dir_, "keep.geo", "old content");

    state.MaxWidthText = QStringLiteral("wide");
    try {
        SectionFile::Write(state, target);
        QFAIL("a Max Width that is no number must be refused");
    } catch (const SectionError& error) {
        QCOMPARE(QString::fromUtf8(error.what()),
                 QStringLiteral("'wide' is not a valid floating point value"));
    }
    QFile kept(target);
    QVERIFY(kept.open(QIODevice::ReadOnly));
    QCOMPARE(kept.readAll(), QByteArray("old content"));

    // A directory that does not exist cannot take the file.
    state.MaxWidthText = QStringLiteral("1");
    QVERIFY_THROWS_EXCEPTION(SectionError,
                             SectionFile::Write(state, dir_.filePath("missing/dir/x.geo")));
    SectionFile::Write(state, target);
    kept.seek(0);
    kept.close();
    QVERIFY(kept.open(QIODevice::ReadOnly));
    QCOMPARE(kept.readAll(), UnitSquare);
}

void TestSectionFile::randomAndTruncatedFilesDoNotCrash() {
    QRandomGenerator random(20261207);
    const QByteArray alphabet = "0123456789 -+.eE\n\r\t123x";
    const QByteArray valid = House;
    for (int round = 0; round < 400; ++round) {
        QByteArray content;
        if (round % 2 == 0) {
            content = valid.left(random.bounded(valid.size() + 1));
        } else {
            content = valid;
            for (int flips = random.bounded(1, 6); flips > 0; --flips)
                content[random.bounded(content.size())] = alphabet[random.bounded(alphabet.size())];
            if (round % 7 == 1)
                for (int i = 0; i < 200; ++i)
                    content += char(random.bounded(256));
        }
        DrawingState state;
        (void)ParseError(state, WriteFile(dir_, "random.geo", content));
        VerifyIntegrity(state);
        (void)state.RecalcAll();
    }
}

void TestSectionFile::hostileTokens_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("message");
    // Negating the most negative integer overflows; it is simply no shape code.
    QTest::newRow("shape code -2147483648") << "shape-code-int-min.geo"
                                            << "Bad shape ID!";
    QTest::newRow("shape code 2147483647") << "shape-code-int-max.geo"
                                           << "Bad shape ID!";
    // Tokens longer than a number may be were cut and read as other numbers (3, 1e63, 0).
    QTest::newRow("70-digit form of 30") << "max-width-70-digits.geo"
                                         << "Invalid numeric input";
    QTest::newRow("1 and 400 zeros") << "coordinate-401-digits.geo"
                                     << "Invalid numeric input";
    QTest::newRow("35-digit mode") << "mode-35-digits.geo"
                                   << "Invalid numeric input";
    QTest::newRow("tokens of 32 and 64 characters") << "tokens-at-the-limit.geo"
                                                    << "";
}

void TestSectionFile::hostileTokens() {
    QFETCH(QString, file);
    QFETCH(QString, message);
    DrawingState state;
    QCOMPARE(ParseError(state, QStringLiteral(QV_TEST_DATA "/") + file), message);
    if (message.isEmpty()) {
        QCOMPARE(state.SectionMode, 'G');
        QCOMPARE(state.MaxWidthText, QStringLiteral("30"));
        QCOMPARE(state.Nodes[2]->Node->RealZ, 1.0);
    } else {
        QVERIFY(state.Shapes.empty());
    }
}

void TestSectionFile::failedReadChangesNothing() {
    DrawingState state;
    QVERIFY(ParseError(state, WriteFile(dir_, "house.geo", House)).isEmpty());
    const QByteArray before = SectionFile::Serialize(state);
    const auto rows = state.Grid.RowCount();
    const QString unit = state.UnitText;
    // A fault anywhere, even in the last line, leaves the drawing as it was.
    for (const QByteArray& bad :
         {QByteArray("1\n1\n2\n0\n0\n1\n0\n0\n1\n0\n0\n7\nMM\n"),
          QByteArray("1\n2\n2\n2\n0\n0\n1\n0\n0\n1\n0\n0\n5\n5\nbad\n"), QByteArray("1\n1\n9\n")}) {
        QVERIFY(!ParseError(state, WriteFile(dir_, "bad.geo", bad)).isEmpty());
        QCOMPARE(SectionFile::Serialize(state), before);
        QCOMPARE(state.Grid.RowCount(), rows);
        QCOMPARE(state.UnitText, unit);
        QCOMPARE(state.SectionMode, 'S');
        VerifyIntegrity(state);
    }
}

QTEST_APPLESS_MAIN(TestSectionFile)
#include "tst_sectionfile.moc"
