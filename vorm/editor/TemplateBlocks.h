#pragma once

#include <QString>
#include <QStringList>

class PackageDir;

// New input files start from a blank template: "Tablesw.dat" holds one block per structural
// problem (numbers 51 on), "Mattabw.dat" one per mathematics problem (71 on). Each block ends
// with the first line that holds "&" anywhere.
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

    // Reads the template of the problem from the package. Throws VormError when the template
    // file cannot be read.
    static QStringList Read(const PackageDir& package, int problemCode);
};
