#include "PackageSettings.h"

#include "UserFolders.h"

#include <QDir>
#include <stdexcept>

std::unique_ptr<QSettings> PackageSettings::Open() {
#ifdef Q_OS_WIN
    return std::make_unique<QSettings>(QStringLiteral("HKEY_CURRENT_USER\\Software\\VORM"),
                                       QSettings::NativeFormat);
#else
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                       QStringLiteral("VORM"));
#endif
}

QString PackageSettings::ReadString(const QString& name) {
    const auto settings = Open();
    const QVariant value = settings->value(name);
    if (!value.isValid())
        return {};
    if (value.typeId() != QMetaType::QString && value.typeId() != QMetaType::QByteArray)
        throw std::runtime_error(
            QStringLiteral("Invalid data type for '%1'").arg(name).toStdString());
    return value.toString();
}

void PackageSettings::WriteString(const QString& name, const QString& value) {
    const auto settings = Open();
    settings->setValue(name, value);
    settings->sync();
}

QString PackageSettings::ToolsetDirectory(const QString& packageDirectory) {
    QString directory = ReadString(QStringLiteral("YornikDirectory")).trimmed();
    if (directory.isEmpty())
        directory = QDir(packageDirectory).filePath(QStringLiteral("Yornik"));
    while (directory.size() > 1 && (directory.endsWith(u'/') || directory.endsWith(u'\\')))
        directory.chop(1);
    return directory;
}

QString PackageSettings::ToolsetDataDirectory(const QString& packageDirectory) {
    if (ReadString(QStringLiteral("YornikDirectory")).trimmed().isEmpty())
        return UserFolders::MesherDataDirectory();
    return QDir(ToolsetDirectory(packageDirectory)).filePath(QStringLiteral("data"));
}

void PackageSettings::SetLocationForTests(const QString& directory) {
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, directory);
}
