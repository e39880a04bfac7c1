#pragma once

#include <QByteArray>
#include <QString>

class PackageDir;

// The editor's help page: the section of one help context cut out of the package's
// "EdHlp.htm" and framed as a small page of its own, "Help.htm", with links back to the full
// help. A section starts after the anchor "<A NAME="Problem<key>"...</A>" (the key matched
// as a prefix, the first such anchor in the file winning) and runs to the next problem
// anchor or to the end of the file.
class EditorHelpPage {
public:
    // The page for a help context, from the help file's bytes (Windows-1251, kept as they
    // are). A context without a section gives the text after the file's first "</A>" up to
    // its first problem anchor.
    static QByteArray Build(const QByteArray& helpSource, int helpContext);

    // Reads "EdHlp.htm" of the package, writes "Help.htm" into the user's folder beside the
    // unpacked help it links to, replacing any earlier page, and returns its path. Throws VormError
    // "Cannot open file <path>" or "Cannot create file <path>"; nothing is written when the help
    // file cannot be read.
    static QString Write(const PackageDir& package, int helpContext);

    // The warning when no browser takes the page: names it so that it can be opened by hand.
    static QString WithoutBrowserText(const QString& page);
};
