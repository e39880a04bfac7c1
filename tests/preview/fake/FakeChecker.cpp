// Stands in for the input checker in the preview's tests: with "XYZ" it copies the model
// files prepared beside the data file (<file>.xyz, <file>.j1j2) into the current directory,
// and it notes every run in "checker.log" beside itself (its working directory is the run's own).
#include <QCoreApplication>
#include <QFile>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments().mid(1);
    QFile log(QCoreApplication::applicationDirPath() + QStringLiteral("/checker.log"));
    if (log.open(QIODevice::Append))
        log.write(arguments.join(u' ').toUtf8() + '\n');
    if (arguments.size() < 2 || arguments[1] != QLatin1String("XYZ"))
        return 0;
    for (const auto& [suffix, target] : {std::pair{".xyz", "XYZ"}, std::pair{".j1j2", "J1J2"}}) {
        QFile::remove(QLatin1String(target));
        QFile::copy(arguments[0] + QLatin1String(suffix), QLatin1String(target));
    }
    return 0;
}
