// The editor's Gmsh import: the mesh comes into a new data file with the roles the user gave
// its groups, and a second import keeps those answers.

#include "DataFileText.h"
#include "EditorFixture.h"
#include "GmshImportPlan.h"

#include <QFileInfo>
#include <QLabel>
#include <QTest>

class TestGmshImport : public QObject {
    Q_OBJECT

private slots:
    void importsIntoNewFileAndKeepsTheRoles() {
        EditorFixture fixture;
        QVERIFY(QFile::copy(QStringLiteral(GMSHIN_PROGRAM),
                            fixture.package.filePath(QFileInfo(GMSHIN_PROGRAM).fileName())));
        const QString mesh = QStringLiteral(PACKAGE_SOURCE "/examples/bracket.msh");
        TEditForm* editor = fixture.Open(QStringLiteral("bracket.d59"));
        QVERIFY(editor->MenuItem(QStringLiteral("ImportGmsh"))->isEnabled());
        int asked = 0;
        editor->SetGroupChooser([&](QWidget*, std::vector<GroupChoices::Row>& rows) {
            ++asked;
            for (GroupChoices::Row& row : rows) {
                if (row.Name == QLatin1String("fixed edge"))
                    row = {row.Dimension,           row.Tag, row.Name, row.Count,
                           GroupMap::Role::Support, {1, 1}};
                else if (row.Name == QLatin1String("loaded edge"))
                    row = {row.Dimension,        row.Tag,     row.Name, row.Count,
                           GroupMap::Role::Load, {1, 0, -100}};
                else
                    row = {row.Dimension, row.Tag, row.Name, row.Count, GroupMap::Role::Material,
                           {1, 1}};
            }
            return true;
        });

        fixture.dialogs.fileNames = {mesh};
        editor->ImportGmshClick();
        QCOMPARE(asked, 1);
        const QString status = editor->StatusText(1);
        QVERIFY2(status.startsWith(QStringLiteral("OK")), qPrintable(status));
        // The roles reached the data file: the fixed edge's nodes and the loaded edge's.
        QVERIFY2(status.contains(QStringLiteral("4 supports")) &&
                     status.contains(QStringLiteral("4 nodal loads")),
                 qPrintable(status));
        // The window shows what the importer wrote, and that is a mesh, not the template.
        const QByteArray written = fixture.ReadData(QStringLiteral("bracket.d59"));
        QCOMPARE(editor->Field()->Text(), DataFileText::Decode(written).Text);
        QVERIFY(written.size() > 2000);
        const QByteArray map = fixture.ReadData(QStringLiteral("bracket.gmi"));
        QVERIFY(map.contains("\"fixed edge\" support 1 1"));
        QVERIFY(map.contains("\"loaded edge\" load 1 0 -100"));

        // Again, keeping the roles: no table, the same file.
        fixture.dialogs.fileNames = {mesh};
        fixture.dialogs.answers = {UserDialogs::Answer::Yes};
        editor->ImportGmshClick();
        QCOMPARE(asked, 1);
        QVERIFY2(editor->StatusText(1).startsWith(QStringLiteral("OK")),
                 qPrintable(editor->StatusText(1)));
        QCOMPARE(fixture.ReadData(QStringLiteral("bracket.d59")), written);
        QCOMPARE(fixture.ReadData(QStringLiteral("bracket.gmi")), map);
        QVERIFY(fixture.dialogs.Texts(QStringLiteral("warning")).isEmpty());
    }
};

QTEST_MAIN(TestGmshImport)
#include "tst_gmshimport.moc"
