#include "Verdict.h"

#include "ExchangeFile.h"

#include <QDir>
#include <QStringEncoder>

namespace Verdict {

QString Accepted(const QString& formatName) {
    return QStringLiteral("OK - no errors found (%1)").arg(formatName);
}

QString Fault(const CheckFault& fault) {
    if (fault.Line > 0)
        return QStringLiteral("Line %1: %2").arg(fault.Line).arg(fault.Message);
    return QStringLiteral("Error: %1").arg(fault.Message);
}

QByteArray ErrorFile(const QString& verdict) {
    QStringEncoder encoder("windows-1251", QStringConverter::Flag::Default);
    QByteArray bytes = encoder.encode(verdict);
    bytes.append("\r\n");
    return bytes;
}

QString WriteErrorFile(const QString& directory, const QString& verdict) {
    return ExchangeFile::Write(QDir(directory).filePath(QStringLiteral("Error.txt")),
                               ErrorFile(verdict));
}

} // namespace Verdict
