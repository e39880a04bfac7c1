#include "TemplateBlocks.h"

#include "EditorDocument.h"
#include "EditorOpenRequest.h"
#include "MenuTexts.h"
#include "PackageDir.h"
#include "PackageTextFile.h"
#include "ProblemCatalogue.h"

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

int TemplateBlocks::BlockCode(int templateCode, bool dynamics) {
    if (!dynamics)
        return templateCode;
    switch (templateCode) {
    case 54:
        return 70;
    case 57:
        return 71;
    case 63:
        return 72;
    default:
        return templateCode;
    }
}

QStringList TemplateBlocks::Read(const PackageDir& package, int problemCode, bool dynamics) {
    problemCode = TemplateCode(problemCode);
    const Source source = SourceFor(problemCode);
    const QString text = PackageTextFile::Read(package.FilePath(source.FileName));
    return Block(PackageTextFile::SplitLines(text), BlockCode(problemCode, dynamics),
                 source.BaseCode);
}

QString TemplateBlocks::LocalTitle(const MenuTexts& texts, const QString& fileName) {
    const ProblemEntry* entry = ProblemCatalogue::Find(EditorOpenRequest::TagForFile(fileName));
    if (!entry || entry->Kind != MenuItemKind::Problem)
        return {};
    // The menu's mnemonics are no part of a title, and an "&" would read as the end of the
    // data.
    const QString group = texts.Text(entry->GroupTag).remove(u'&').trimmed();
    const QString name = texts.Text(entry->Tag).remove(u'&').trimmed();
    if (name.isEmpty())
        return {};
    return group.isEmpty() ? name : group + QStringLiteral(": ") + name;
}

QStringList TemplateBlocks::Titled(QStringList block, const QString& title) {
    if (!title.isEmpty() && !block.isEmpty() && !block.first().startsWith(u'*'))
        block.first() = title;
    return block;
}

QStringList TemplateBlocks::NewFile(const PackageDir& package, const MenuTexts& texts,
                                    const QString& fileName) {
    return Titled(Read(package, EditorDocument::ProblemCodeOf(fileName),
                       EditorDocument::IsDynamicsName(fileName)),
                  LocalTitle(texts, fileName));
}
