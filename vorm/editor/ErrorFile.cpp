#include "ErrorFile.h"

#include "TextLines.h"

#include <QFile>
#include <QStringDecoder>

std::optional<QString> ErrorFile::Take(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray first = file.readLine();
    file.close();
    QFile::remove(path);
    while (first.endsWith('\n') || first.endsWith('\r'))
        first.chop(1);
    QStringDecoder decoder("windows-1251");
    return decoder.decode(first);
}

std::optional<QStringList> ErrorFile::TakeAll(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.readAll();
    file.close();
    QFile::remove(path);
    QStringDecoder decoder("windows-1251");
    QStringList lines = TextLines::Split(QString(decoder(bytes)));
    while (!lines.isEmpty() && lines.last().trimmed().isEmpty())
        lines.removeLast();
    return lines;
}
