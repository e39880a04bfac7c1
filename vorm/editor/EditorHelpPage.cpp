#include "EditorHelpPage.h"

#include "PackageDir.h"
#include "TextLines.h"
#include "VormError.h"

#include <QDir>
#include <QFile>
#include <QList>
#include <QSaveFile>

namespace {

const QByteArray ProblemAnchor = "<A NAME=\"Problem";
const QByteArray HelpLink = "<A href=\"edhlp.htm\"><img src=\"HelpBtn.bmp\" align=center></A>";

} // namespace

QByteArray EditorHelpPage::Build(const QByteArray& helpSource, int helpContext) {
    // The help file is searched as its lines joined with CR LF.
    QByteArray text;
    for (const QByteArray& line : TextLines::Split(helpSource))
        text += line + "\r\n";

    const qsizetype from = text.indexOf(ProblemAnchor + QByteArray::number(helpContext));
    if (from >= 0)
        text = text.mid(from);
    const qsizetype anchorEnd = text.indexOf("</A>");
    if (anchorEnd >= 0)
        text = text.mid(anchorEnd + 4);
    const qsizetype next = text.indexOf(ProblemAnchor);
    if (next >= 0)
        text = text.left(next);

    QByteArray page = "<HTML><BODY>\r\n" + HelpLink + "\r\n";
    for (const QByteArray& line : TextLines::Split(text))
        page += line + "\r\n";
    page += "<p>" + HelpLink + "\r\n</BODY></HTML>\r\n";
    return page;
}

QString EditorHelpPage::Write(const PackageDir& package, int helpContext) {
    const QString sourcePath = package.FilePath(QStringLiteral("EdHlp.htm"));
    QFile source(sourcePath);
    if (!source.open(QIODevice::ReadOnly))
        throw VormError(
            QStringLiteral("Cannot open file %1").arg(QDir::toNativeSeparators(sourcePath)));
    const QByteArray page = Build(source.readAll(), helpContext);

    const QString pagePath = package.UserFilePath(QStringLiteral("Help.htm"));
    QSaveFile out(pagePath);
    if (!out.open(QIODevice::WriteOnly) || out.write(page) != page.size() || !out.commit())
        throw VormError(
            QStringLiteral("Cannot create file %1").arg(QDir::toNativeSeparators(pagePath)));
    return pagePath;
}

QString EditorHelpPage::WithoutBrowserText(const QString& page) {
    return QStringLiteral("No web browser could be started to show the help.\r\n"
                          "Open this page by hand:\r\n") +
           QDir::toNativeSeparators(page);
}
