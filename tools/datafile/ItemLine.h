#pragma once

#include <QString>
#include <QStringView>
#include <vector>

// One item line of a data file: "#", blanks, the item number, a blank and the values, up to
// a ";" that starts a remark.
struct ItemLine {
    bool Valid = false; // a "#", digits and a blank or the end of the line
    int Number = 0;
    std::vector<QStringView> Words; // views into the parsed text

    static ItemLine Parse(QStringView text);

    // The blank-separated words of `text` before a ";".
    static std::vector<QStringView> SplitWords(QStringView text);
    // "#", the number right-aligned in three characters and two blanks, as the editor
    // numbers a new item, then the values each right-aligned in `width` characters.
    static QString Format(int number, const QStringList& values, int width);
    // A number as a data file holds it: up to 12 significant digits, no "-0".
    static QString NumberText(double value);
};
