#include "ProblemNumber.h"

#include <QFileInfo>

ProblemNumber ProblemNumber::FromFileName(const QString& path) {
    ProblemNumber result;
    const QString name = QFileInfo(path).fileName();
    const qsizetype dot = name.lastIndexOf(u'.');
    const QString extension = dot < 0 ? QString() : name.mid(dot + 1);
    const QChar letter = extension.isEmpty() ? QChar() : extension[0].toLower();
    const bool digits = extension.size() == 3 && extension[1].isDigit() && extension[2].isDigit() &&
                        extension[1].unicode() < 128 && extension[2].unicode() < 128;
    if (!digits || (letter != u'd' && letter != u'p')) {
        result.Error = QStringLiteral("the name %1 gives no problem number; data files end in "
                                      ".d or .p and two digits, like frame.d55")
                           .arg(name);
        return result;
    }
    const int number = extension.mid(1).toInt();
    const int problem = number > 50 ? number - 50 : number;
    if (number < 1 || problem > 27 || (number > 27 && number < 51)) {
        result.Error = QStringLiteral("the extension .%1 names no problem type; the numbers are "
                                      "01 to 27, and 51 to 77 before the check")
                           .arg(extension);
        return result;
    }
    result.Dynamics = letter == u'p';
    if (result.Dynamics && problem != 4 && problem != 7 && problem != 13) {
        result.Error = QStringLiteral("the extension .%1 names no problem type; .p files are the "
                                      "dynamic analyses of space trusses (04), space frames (07) "
                                      "and plates (13)")
                           .arg(extension);
        return result;
    }
    result.Valid = true;
    result.Problem = problem;
    result.Accepted = number <= 27;
    return result;
}
