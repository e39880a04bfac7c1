#pragma once

#include <QByteArray>
#include <QString>

// The editor's help page: one section cut out of the package help file and framed as a page
// of its own, with links back to the full help.
class HelpPage {
public:
    // The page for the section that starts at the anchor "<A NAME="<anchor>"; the section
    // ends at the next anchor of a problem section.
    static QByteArray Build(const QByteArray& helpSource, const QByteArray& anchor);

    // Reads the help file of `startDir`, or else the one unpacked into `userDir`, writes
    // "Help.htm" into `userDir` (beside the help it links to) and returns its path.
    // Throws SectionError "Cannot open file <path>" (the path in `startDir`) or "Cannot
    // create file <path>".
    static QString Write(const QString& startDir, const QByteArray& anchor, const QString& userDir);
};
