#include "TemplateBlocks.h"

#include "PackageDir.h"
#include "PackageTextFile.h"

TemplateBlocks::Source TemplateBlocks::SourceFor(int problemCode) {
    if (problemCode < 70)
        return {QStringLiteral("Tablesw.dat"), 51};
    return {QStringLiteral("Mattabw.dat"), 71};
}

QStringList TemplateBlocks::Block(const QStringList& lines, int problemCode, int baseCode) {
    const int skip = problemCode < baseCode ? 0 : problemCode - baseCode;
    qsizetype at = 0;
    for (int skipped = 0; skipped < skip && at < lines.size(); ++at)
        if (lines[at].contains(u'&'))
            ++skipped;
    QStringList block;
    for (; at < lines.size(); ++at) {
        block << lines[at];
        if (lines[at].contains(u'&'))
            break;
    }
    return block;
}

int TemplateBlocks::TemplateCode(int problemCode) {
    return problemCode >= 1 && problemCode <= 27 ? problemCode + 50 : problemCode;
}

QStringList TemplateBlocks::Read(const PackageDir& package, int problemCode) {
    problemCode = TemplateCode(problemCode);
    const Source source = SourceFor(problemCode);
    const QString text = PackageTextFile::Read(package.FilePath(source.FileName));
    return Block(PackageTextFile::SplitLines(text), problemCode, source.BaseCode);
}
