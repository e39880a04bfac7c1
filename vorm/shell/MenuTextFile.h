#pragma once

#include <QString>
#include <QStringView>

class MenuTexts;

// Reads the section "MAINMENU" of the localised text file "MESSW.TXT" (Windows-1251 text).
// The section starts at a line that begins with "*" and names MAINMENU, and ends at the first
// line that begins with "&". Each line between is an entry: three characters of entry number,
// one separator, and the text up to but not including the line's last character.
class MenuTextFile {
public:
    static constexpr const char* FileName = "MESSW.TXT";

    // Reads the section of the file into `texts`. Returns false, with nothing stored, when the
    // first line that begins with "*" or names MAINMENU opens another section. Throws
    // VormError when the file cannot be read ("Cannot open file ..."), when no section header
    // is found, or when the section has no end line; texts read before the missing end line
    // stay stored.
    static bool Read(const QString& path, MenuTexts& texts);

    // The same on text already decoded; `fileName` names the file in error messages.
    static bool Parse(const QString& text, MenuTexts& texts, const QString& fileName);

    // The entry number of a line: the first three characters, leading blanks skipped, digits
    // read up to the first other character; 0 when no digit comes first.
    static int EntryNumber(QStringView line);
    // The entry text: from the fifth character up to but not including the last.
    static QString EntryText(QStringView line);
};
