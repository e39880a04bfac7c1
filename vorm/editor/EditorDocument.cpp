#include "EditorDocument.h"

#include <QDir>
#include <QFileInfo>

void EditorDocument::SetPath(const QString& path) {
    const QFileInfo info(path);
    FileName = info.fileName();
    FileDir = QDir::toNativeSeparators(info.absolutePath());
    if (!FileDir.endsWith(QDir::separator()))
        FileDir += QDir::separator();
}

bool EditorDocument::IsDynamicsName(const QString& fileName) {
    const qsizetype dot = fileName.lastIndexOf(u'.');
    return dot >= 0 && dot + 1 < fileName.size() && fileName[dot + 1].toLower() == u'p';
}

int EditorDocument::ProblemCodeOf(const QString& fileName) {
    const QString tail = fileName.right(2);
    qsizetype at = 0;
    while (at < tail.size() && tail[at] == u' ')
        ++at;
    int code = 0;
    for (; at < tail.size() && tail[at] >= u'0' && tail[at] <= u'9'; ++at)
        code = code * 10 + (tail[at].unicode() - u'0');
    return code;
}

int EditorDocument::HelpContextOf(int problemCode) {
    const int code = problemCode > 50 ? problemCode - 50 : problemCode;
    switch (code) {
    case 1:
        return 2;
    case 2:
        return 3;
    case 3:
    case 4:
        return 4;
    case 5:
    case 6:
    case 7:
    case 15:
        return code;
    case 8:
        return 14;
    case 9:
    case 10:
        return 8;
    case 11:
        return 9;
    case 13:
        return 10;
    case 14:
        return 11;
    case 16:
        return 12;
    case 17:
        return 13;
    default:
        return 0;
    }
}

bool EditorDocument::ProfilesAllowed(int problemCode, bool hasTable3) {
    const bool structural =
        (problemCode >= 1 && problemCode <= 19) || (problemCode >= 51 && problemCode <= 69);
    return structural && hasTable3;
}

bool EditorDocument::MaterialsAllowed(int problemCode) {
    return !((problemCode >= 21 && problemCode <= 27) || (problemCode >= 71 && problemCode <= 77));
}

FileDialogRequest EditorDocument::SaveAsRequest(const FileDialogRequest& openDialog,
                                                const QString& fileName) {
    const QString suffix = QFileInfo(fileName).suffix();
    const QString extension = suffix.isEmpty() ? QString() : u'.' + suffix;
    FileDialogRequest request;
    request.Filter = openDialog.Filter;
    const qsizetype bar = request.Filter.indexOf(u'|');
    const int code = ProblemCodeOf(fileName);
    const bool numbered = suffix.size() == 3 && suffix[1].isDigit() && suffix[2].isDigit();
    if (bar >= 0 && numbered && code > 0) {
        // Both names of the problem type, the unchecked and the checked one, so that the
        // dialog lists the file's companions whichever state it is in.
        const int lower = code > 50 ? code - 50 : code;
        const QString letter = suffix.left(1);
        const QString patterns = QStringLiteral("*.%1%2;*.%1%3")
                                     .arg(letter)
                                     .arg(lower + 50)
                                     .arg(lower, 2, 10, QLatin1Char('0'));
        const qsizetype end = request.Filter.indexOf(u'|', bar + 1);
        request.Filter.replace(bar + 1, (end < 0 ? request.Filter.size() : end) - bar - 1,
                               patterns);
    } else if (bar >= 0) {
        request.Filter.replace(bar + 1, 5, u'*' + extension);
    }
    request.DefaultExtension = suffix.left(3);
    request.InitialDirectory = openDialog.InitialDirectory;
    request.FileName = fileName;
    return request;
}
