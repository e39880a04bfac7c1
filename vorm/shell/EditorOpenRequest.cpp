#include "EditorOpenRequest.h"

#include "MenuTexts.h"
#include "ProblemCatalogue.h"

#include <QFileInfo>

QString EditorOpenRequest::FilterPrefix(int tag, const MenuTexts& texts) {
    const ProblemEntry* entry = ProblemCatalogue::Find(tag);
    return texts.Text(tag) + (entry ? entry->Patterns : QString());
}

QString EditorOpenRequest::Filter(const QString& prefix) {
    const QString standard = QStringLiteral("Data files|*.dat|All files|*.*");
    return prefix.isEmpty() ? standard : prefix + u'|' + standard;
}

FileDialogRequest EditorOpenRequest::Build(int tag, const QString& prefix,
                                           const QString& defaultExtension, const MenuTexts& texts,
                                           const QString& packageDir,
                                           const QString& dataDirectory) {
    FileDialogRequest request;
    request.FileName.clear();
    request.Filter = Filter(prefix);
    request.Title = texts.Text(tag);
    request.DefaultExtension = defaultExtension;
    request.InitialDirectory = tag == ProblemCatalogue::DataFilesTag ? packageDir : dataDirectory;
    return request;
}

bool EditorOpenRequest::OpensEditor(int tag) {
    return tag < 41 || tag == ProblemCatalogue::DataFilesTag;
}

int EditorOpenRequest::TagForFile(const QString& fileName) {
    const QString suffix = QFileInfo(fileName).suffix();
    if (!suffix.isEmpty()) {
        const QString pattern = QStringLiteral("*.") + suffix;
        for (const ProblemEntry& entry : ProblemCatalogue::Entries()) {
            if (entry.Kind != MenuItemKind::Problem)
                continue;
            for (const QString& own : entry.Patterns.mid(1).split(u';'))
                if (own.compare(pattern, Qt::CaseInsensitive) == 0)
                    return entry.Tag;
        }
    }
    return ProblemCatalogue::DataFilesTag;
}
