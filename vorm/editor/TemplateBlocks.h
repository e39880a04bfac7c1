#pragma once

#include <QString>
#include <QStringList>

class MenuTexts;
class PackageDir;

// New input files start from a blank template: "Tablesw.dat" holds one block per structural
// problem (numbers 51 on), then one per dynamics variant (.p54, .p57, .p63), "Mattabw.dat"
// one per mathematics problem (71 on). Each block ends with the first line that holds "&"
// anywhere; its first line is the file's title line.
class TemplateBlocks {
public:
    struct Source {
        QString FileName;
        int BaseCode = 0;
    };

    // "Tablesw.dat" with base 51 below 70, "Mattabw.dat" with base 71 from 70 on.
    static Source SourceFor(int problemCode);

    // The lines of block `problemCode` − base (block 0 for codes below the base) up to and
    // including its "&" line, or to the end of the text; empty when the text has fewer blocks.
    static QStringList Block(const QStringList& lines, int problemCode, int baseCode);

    // A new file named with an accepted number (x.d05, y.d21) takes the template of its
    // unaccepted form (55, 71); read by block position alone it would get another problem
    // type's tables.
    static int TemplateCode(int problemCode);

    // The block that serves a template code: the code itself, or for the dynamics variant of
    // 54, 57 and 63, which carry masses and modes instead of loads, the code of the block after
    // all numbered ones (70, 71, 72 of "Tablesw.dat").
    static int BlockCode(int templateCode, bool dynamics);

    // Reads the template of the problem from the package. Throws VormError when the template
    // file cannot be read.
    static QStringList Read(const PackageDir& package, int problemCode, bool dynamics = false);

    // The title line of a new file in the launcher's language: the group and the menu entry of
    // the file's problem type ("Statics: Plane stress"); empty when the texts hold none.
    static QString LocalTitle(const MenuTexts& texts, const QString& fileName);
    // The block with its title line replaced; unchanged for an empty title or a block that
    // starts with a table.
    static QStringList Titled(QStringList block, const QString& title);

    // The text a new file of this name starts with: its type's and variant's block, titled in
    // the launcher's language. Throws as Read does.
    static QStringList NewFile(const PackageDir& package, const MenuTexts& texts,
                               const QString& fileName);
};
