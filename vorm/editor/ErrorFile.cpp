#include "ErrorFile.h"

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
