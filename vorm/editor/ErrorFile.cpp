#include "ErrorFile.h"

#include "FileLookup.h"
#include "TextLines.h"

#include <QFile>
#include <QStringDecoder>

namespace {

std::optional<QByteArray> ReadAndRemove(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.readAll();
    file.close();
    QFile::remove(path);
    return bytes;
}

} // namespace

std::optional<QString> ErrorFile::Take(const QString& path) {
    const auto bytes = ReadAndRemove(path);
    if (!bytes)
        return std::nullopt;
    return FirstLine(*bytes);
}

std::optional<QStringList> ErrorFile::TakeAll(const QString& path) {
    const auto bytes = ReadAndRemove(path);
    if (!bytes)
        return std::nullopt;
    return Lines(*bytes);
}

std::optional<QByteArray> ErrorFile::ReadIn(const QString& runDirectory) {
    return ReadAndRemove(FileLookup::FindNoCase(runDirectory, QStringLiteral("Error.txt")));
}

QString ErrorFile::FirstLine(QByteArray bytes) {
    const qsizetype end = bytes.indexOf('\n');
    if (end >= 0)
        bytes.truncate(end);
    while (bytes.endsWith('\r'))
        bytes.chop(1);
    QStringDecoder decoder("windows-1251");
    return decoder.decode(bytes);
}

QStringList ErrorFile::Lines(const QByteArray& bytes) {
    QStringDecoder decoder("windows-1251");
    QStringList lines = TextLines::Split(QString(decoder(bytes)));
    while (!lines.isEmpty() && lines.last().trimmed().isEmpty())
        lines.removeLast();
    return lines;
}
