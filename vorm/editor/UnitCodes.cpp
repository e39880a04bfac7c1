#include "UnitCodes.h"

namespace {

// Upper-cases ASCII letters only, as the names were always compared.
QString AsciiUpper(const QString& text) {
    QString upper = text;
    for (QChar& c : upper)
        if (c >= u'a' && c <= u'z')
            c = QChar(c.unicode() - 'a' + 'A');
    return upper;
}

} // namespace

int UnitCodes::LengthUnitCode(const QString& name) {
    const QString upper = AsciiUpper(name);
    if (upper == QStringLiteral("CM"))
        return 1;
    if (upper == QStringLiteral("MM"))
        return 2;
    return 0;
}

int UnitCodes::ForceUnitCode(const QString& name) {
    const QString upper = AsciiUpper(name);
    if (upper == QStringLiteral("KN"))
        return 1;
    if (upper == QStringLiteral("MN"))
        return 2;
    if (upper == QStringLiteral("KG"))
        return 3;
    if (upper == QStringLiteral("T"))
        return 4;
    return 0;
}

QString UnitCodes::UnitValue(const QString& line) {
    return line.mid(line.indexOf(u'=') + 1).left(255).trimmed();
}

bool UnitCodes::IsBlank(const QString& text) {
    for (QChar c : text)
        if (c != u' ')
            return false;
    return true;
}

int UnitCodes::CountItems(QStringList& list) {
    int count = 0;
    for (const QString& line : list)
        if (line.startsWith(u'#'))
            ++count;
    while (!list.isEmpty() && IsBlank(list.last()))
        list.removeLast();
    return count;
}
