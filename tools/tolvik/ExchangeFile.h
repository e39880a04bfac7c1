#pragma once

#include <QByteArray>
#include <QString>

// Writes a file for the launcher in one piece: a reader never finds half a file, and a
// failed write leaves the old file, not a truncated one.
namespace ExchangeFile {

// Returns what went wrong, or an empty text.
QString Write(const QString& path, const QByteArray& bytes);

} // namespace ExchangeFile
