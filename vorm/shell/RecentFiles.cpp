#include "RecentFiles.h"

#include "PackageSettings.h"

#include <QDir>

namespace {

const QString Name = QStringLiteral("RecentFiles");

} // namespace

QStringList RecentFiles::Read() {
    const auto settings = PackageSettings::Open();
    return settings->value(Name).toStringList();
}

void RecentFiles::Add(const QString& path) {
    const auto settings = PackageSettings::Open();
    settings->setValue(Name, Added(settings->value(Name).toStringList(), path));
    settings->sync();
}

QStringList RecentFiles::Added(QStringList list, const QString& path) {
    const QString clean = QDir::cleanPath(path);
    list.removeIf([&](const QString& entry) { return QDir::cleanPath(entry) == clean; });
    list.prepend(clean);
    while (list.size() > Limit)
        list.removeLast();
    return list;
}
