#pragma once

#include <QString>

// The About text: the part of the main help file that follows the bookmark
// <A NAME="ProblemH37"> up to the next anchor, with its tags removed.
class AboutText {
public:
    static constexpr const char* HelpFileName = "mmhlp.htm";
    static constexpr const char* Bookmark = "<A NAME=\"ProblemH37\">";
    static constexpr int MaxTagDeletions = 2000;

    // Reads the help file (Windows-1251) as one text, its lines joined by CR LF, and cuts the
    // About text from it. Throws VormError "Cannot open file ..." when it cannot be read.
    static QString Load(const QString& path);

    // The About text of a help file's whole text. A section whose tags cannot be removed
    // within 2000 deletions gives the message that names the bookmark instead.
    static QString Extract(const QString& helpText);

    static QString BookmarkMessage();
};
