// A program for the runner's tests: runner-probe RECORD LABEL SLEEP_MS [ARG...]
// Appends to RECORD what it found at its start (working directory, exchange files, its
// arguments), sleeps, leaves LABEL as its "Error.txt" and appends its end.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QThread>

namespace {

void Append(const QString& record, const QString& line) {
    QFile file(record);
    if (file.open(QIODevice::Append | QIODevice::Text))
        file.write((line + u'\n').toUtf8());
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() < 4)
        return 2;
    const QString& record = arguments[1];
    const QString& label = arguments[2];
    Append(record, label + QStringLiteral(" start"));
    Append(record, label + QStringLiteral(" cwd=") + QDir::currentPath());
    Append(record, label + QStringLiteral(" error-file=") +
                       (QFile::exists(QStringLiteral("Error.txt")) ? "present" : "absent"));
    Append(record, label + QStringLiteral(" prot-file=") +
                       (QFile::exists(QStringLiteral("PROT.TXT")) ? "present" : "absent"));
    for (const QString& argument : arguments.mid(4))
        Append(record, label + QStringLiteral(" arg=") + argument);
    QThread::msleep(arguments[3].toULong());
    // A verdict of its own in its working directory, as the package's programs leave one.
    QFile verdict(QStringLiteral("Error.txt"));
    if (verdict.open(QIODevice::WriteOnly))
        verdict.write(label.toUtf8());
    Append(record, label + QStringLiteral(" end"));
    return 0;
}
