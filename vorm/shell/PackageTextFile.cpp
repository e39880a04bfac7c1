#include "PackageTextFile.h"

#include "VormError.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>

QString PackageTextFile::Read(const QString& path) {
    QFile file(path);
    QByteArray bytes;
    if (file.open(QIODevice::ReadOnly))
        bytes = file.readAll();
    if (!file.isOpen() || file.error() != QFileDevice::NoError)
        throw VormError(QStringLiteral("Cannot open file %1").arg(QDir::toNativeSeparators(path)));
    QStringDecoder decoder("windows-1251");
    return decoder(bytes);
}

QStringList PackageTextFile::SplitLines(const QString& text) {
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != u'\r' && text[i] != u'\n')
            continue;
        lines << text.mid(start, i - start);
        if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines << text.mid(start);
    return lines;
}
