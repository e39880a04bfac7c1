#include "MenuTextFile.h"

#include "MenuTexts.h"
#include "PackageTextFile.h"
#include "VormError.h"

#include <QDir>

bool MenuTextFile::Read(const QString& path, MenuTexts& texts) {
    return Parse(PackageTextFile::Read(path), texts, QDir::toNativeSeparators(path));
}

bool MenuTextFile::Parse(const QString& text, MenuTexts& texts, const QString& fileName) {
    const QStringList lines = PackageTextFile::SplitLines(text);
    const QString section = QStringLiteral("MAINMENU");
    qsizetype index = 0;
    while (index < lines.size() && !lines[index].startsWith(u'*') &&
           !lines[index].contains(section))
        ++index;
    // Running past the last line here would read outside the file's lines: name the problem.
    if (index == lines.size())
        throw VormError(QStringLiteral("No section \"*MAINMENU\" in file %1").arg(fileName));
    if (!lines[index].startsWith(u'*') || !lines[index].contains(section))
        return false;

    for (++index; index < lines.size(); ++index) {
        const QString& line = lines[index];
        if (line.startsWith(u'&'))
            return true;
        if (line.isEmpty())
            continue;
        texts.Set(EntryNumber(line), EntryText(line));
    }
    throw VormError(
        QStringLiteral("Section MAINMENU of file %1 has no end line beginning with \"&\"")
            .arg(fileName));
}

int MenuTextFile::EntryNumber(QStringView line) {
    const QStringView digits = line.left(3);
    qsizetype i = 0;
    while (i < digits.size() && digits[i] == u' ')
        ++i;
    int number = 0;
    for (; i < digits.size() && digits[i] >= u'0' && digits[i] <= u'9'; ++i)
        number = number * 10 + (digits[i].unicode() - u'0');
    return number;
}

QString MenuTextFile::EntryText(QStringView line) {
    if (line.size() < 5)
        return {};
    return line.mid(4, line.size() - 5).toString();
}
