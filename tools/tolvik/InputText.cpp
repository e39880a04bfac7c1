#include "InputText.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

InputText::Result InputText::Read(const QString& path) {
    Result result;
    const QFileInfo info(path);
    if (info.isDir()) {
        result.Error = QStringLiteral("%1 is a directory, not a data file").arg(path);
        return result;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.Error = QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
        return result;
    }
    if (file.size() > MaxBytes) {
        result.Error = QStringLiteral("%1 is too large to be a data file (more than %2 MB)")
                           .arg(path)
                           .arg(MaxBytes / (1024 * 1024));
        return result;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        result.Error = QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
        return result;
    }
    result.Ok = true;
    result.Lines = Lines(bytes);
    return result;
}

QStringList InputText::Lines(const QByteArray& bytes) {
    QByteArrayView view(bytes);
    // A file saved as UTF-8 by another editor may start with a byte order mark; in Windows-1251
    // it would read as three letters in front of the first header.
    if (view.startsWith("\xEF\xBB\xBF"))
        view = view.sliced(3);
    QStringDecoder decoder("windows-1251");
    const QString text = decoder.decode(view);
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c != u'\n' && c != u'\r')
            continue;
        lines.append(text.mid(start, i - start));
        if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines.append(text.mid(start));
    return lines;
}
