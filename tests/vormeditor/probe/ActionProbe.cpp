// Stands in for the editor's viewers and the region mesher in the editor's tests, since the
// real ones open windows that wait for a user. Installed under the program's name, it appends
// "NAME|ARG|ARG..." to the file $QV_PROBE_RECORD, writes $QV_PROBE_VERDICT as the verdict to
// "Error.txt" in the working directory when it is set, and, when $QV_PROBE_MESH names a
// file, copies it as the mesh "unnamed1.d13" into the mesher's data folder in the user's data
// folder (after noting the project "unnamed1.spj" it found there, and replacing it by
// $QV_PROBE_PROJECT). With
// $QV_PROBE_SLEEP_MS it takes that long before it ends, like a viewer the user looks at. It
// ends with the exit code $QV_PROBE_EXIT (0 when unset), as a solver that was stopped (4) or
// could not solve the data (1) does.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QThread>

namespace {

void Append(const QString& path, const QByteArray& line) {
    QFile file(path);
    if (file.open(QIODevice::Append))
        file.write(line + '\n');
}

QByteArray Contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll().simplified() : QByteArray("none");
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    const QString record = qEnvironmentVariable("QV_PROBE_RECORD");
    QStringList words{QFileInfo(QCoreApplication::applicationFilePath()).fileName()};
    words << QCoreApplication::arguments().mid(1);
    if (!record.isEmpty())
        Append(record, words.join(u'|').toUtf8());

    if (qEnvironmentVariableIsSet("QV_PROBE_VERDICT")) {
        QFile error(QStringLiteral("Error.txt"));
        if (error.open(QIODevice::WriteOnly))
            error.write(qgetenv("QV_PROBE_VERDICT") + "\r\n");
    }

    // The region mesher's data folder of the package's own toolset, in the user's data folder.
    const QDir data(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                    QStringLiteral("/VORM/Yornik/data"));
    const QString mesh = qEnvironmentVariable("QV_PROBE_MESH");
    if (!record.isEmpty())
        Append(record, "project=" + Contents(data.filePath(QStringLiteral("unnamed1.spj"))));
    if (!mesh.isEmpty()) {
        QFile::copy(mesh, data.filePath(QStringLiteral("unnamed1.d13")));
        QFile project(data.filePath(QStringLiteral("unnamed1.spj")));
        if (project.open(QIODevice::WriteOnly))
            project.write(qgetenv("QV_PROBE_PROJECT"));
    }
    if (const int sleep = qEnvironmentVariableIntValue("QV_PROBE_SLEEP_MS"); sleep > 0)
        QThread::msleep(static_cast<unsigned long>(sleep));
    return qEnvironmentVariableIntValue("QV_PROBE_EXIT");
}
