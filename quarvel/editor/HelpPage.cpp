#include "HelpPage.h"

#include "FileLookup.h"
#include "SectionError.h"
#include "TextLines.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QSaveFile>

QByteArray HelpPage::Build(const QByteArray& source, const QByteArray& anchor) {
    // The help file is read as lines joined with CR LF, as it was always searched.
    QByteArray text;
    for (const QByteArray& line : TextLines::Split(source))
        text += line + "\r\n";

    const qsizetype start = text.indexOf("<A NAME=\"" + anchor + '"');
    if (start >= 0)
        text = text.mid(start);
    const qsizetype anchorEnd = text.indexOf("</A>");
    if (anchorEnd >= 0)
        text = text.mid(anchorEnd + 4);
    const qsizetype next = text.indexOf("<A NAME=\"Problem");
    if (next >= 0)
        text = text.left(next);

    const QByteArray button = "<A href=\"edhlp.htm\"><img src=\"HelpBtn.bmp\" align=center></A>";
    QByteArray page = "<HTML><BODY>\r\n" + button + "\r\n";
    for (const QByteArray& line : TextLines::Split(text))
        page += line + "\r\n";
    page += "<p>" + button + "\r\n</BODY></HTML>\r\n";
    return page;
}

QString HelpPage::Write(const QString& startDir, const QByteArray& anchor, const QString& userDir) {
    const QString sourcePath = FileLookup::FindNoCase(startDir, QStringLiteral("MmHlp.htm"));
    const QString unpacked = FileLookup::FindNoCase(userDir, QStringLiteral("MmHlp.htm"));
    QFile source(QFileInfo::exists(sourcePath) ? sourcePath : unpacked);
    if (!source.open(QIODevice::ReadOnly))
        throw SectionError(QStringLiteral("Cannot open file %1")
                               .arg(QDir::toNativeSeparators(sourcePath))
                               .toStdString());
    const QByteArray page = Build(source.readAll(), anchor);

    QDir().mkpath(userDir);
    const QString pagePath = QDir(userDir).filePath(QStringLiteral("Help.htm"));
    QSaveFile out(pagePath);
    if (!out.open(QIODevice::WriteOnly) || out.write(page) != page.size() || !out.commit())
        throw SectionError(QStringLiteral("Cannot create file %1")
                               .arg(QDir::toNativeSeparators(pagePath))
                               .toStdString());
    return pagePath;
}
