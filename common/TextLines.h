#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// The lines of a package text file, whether its lines end in CR LF or LF; a final line end
// does not start another, empty line.
namespace TextLines {

QList<QByteArray> Split(QByteArray text);
QStringList Split(QString text);

} // namespace TextLines
