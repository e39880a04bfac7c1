#include "SystemCalculator.h"

#include <QProcess>
#include <QStandardPaths>

QStringList SystemCalculator::Candidates() {
#ifdef Q_OS_WIN
    return {QStringLiteral("calc.exe")};
#else
    return {QStringLiteral("gnome-calculator"), QStringLiteral("kcalc"),
            QStringLiteral("galculator"),       QStringLiteral("mate-calc"),
            QStringLiteral("qalculate-gtk"),    QStringLiteral("xcalc")};
#endif
}

QString SystemCalculator::Find(const QStringList& searchPaths) {
    for (const QString& name : Candidates()) {
        const QString found = QStandardPaths::findExecutable(name, searchPaths);
        if (!found.isEmpty())
            return found;
    }
    return {};
}

QString SystemCalculator::NoneFoundMessage() {
    return QStringLiteral("No calculator is installed. Install one of ") +
           Candidates().join(QStringLiteral(", ")) + QStringLiteral(".");
}

QString SystemCalculator::Start() {
    const QString program = Find();
    if (program.isEmpty())
        return NoneFoundMessage();
    if (!QProcess::startDetached(program, {}))
        return QStringLiteral("The calculator ") + program +
               QStringLiteral(" could not be started.");
    return {};
}
