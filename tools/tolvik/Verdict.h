#pragma once

#include "CheckFault.h"

#include <QByteArray>
#include <QString>

// The first line of "Error.txt", which the editor reads after a check: "OK" when the data is
// sound; otherwise a five-character label and, from the sixth character, the number of the
// faulty line: "Line 12: node 7 is not defined". Faults of the file as a whole carry the
// label "Error" and no number, so the editor selects nothing.
namespace Verdict {

QString Accepted(const QString& formatName);
QString Fault(const CheckFault& fault);

// The bytes of "Error.txt": the verdict in Windows-1251 with a CR LF line end.
QByteArray ErrorFile(const QString& verdict);
// Writes that file into `directory`, the run's working folder; returns what went wrong, or an
// empty text.
QString WriteErrorFile(const QString& directory, const QString& verdict);

} // namespace Verdict
