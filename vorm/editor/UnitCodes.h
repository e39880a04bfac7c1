#pragma once

#include <QString>
#include <QStringList>

// The unit names of a data file as the dialog library knows them, and the small list helpers
// of the insertions. Names are compared whole after ASCII upper-casing: length CM 1, MM 2,
// anything else 0; force KN 1, MN 2, KG 3, T 4, anything else 0.
class UnitCodes {
public:
    static int LengthUnitCode(const QString& name);
    static int ForceUnitCode(const QString& name);
    // The value of an item line of table 1: the text after its first "=" (the whole line when
    // it has none), cut to 255 characters, without blanks around it.
    static QString UnitValue(const QString& line);
    // True for an empty text or one of blanks only.
    static bool IsBlank(const QString& text);
    // The number of lines that start with "#"; drops the blank lines at the end of the list.
    static int CountItems(QStringList& list);
};
