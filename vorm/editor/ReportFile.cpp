#include "ReportFile.h"

#include "EditorDocument.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

QString ReportFile::PathOf(const EditorDocument& document) {
    const qsizetype dot = document.FileName.lastIndexOf(u'.');
    const QString base = dot < 0 ? document.FileName + u'.' : document.FileName.left(dot + 1);
    return document.FileDir + base +
           (document.DynamicsVariant() ? QStringLiteral("rp0") : QStringLiteral("rpt"));
}

std::optional<QByteArray> ReportFile::Read(const QString& path) {
    QFile file(path);
    if (QFileInfo(path).isDir() || !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.readAll();
}

QString ReportFile::Text(const QByteArray& bytes) {
    QStringDecoder decoder("windows-1251");
    QString text = decoder(bytes);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    return text;
}

QString ReportFile::MissingText(const QString& path) {
    return QStringLiteral("No report yet: %1 is written by Calculate (F9)")
        .arg(QFileInfo(path).fileName());
}
