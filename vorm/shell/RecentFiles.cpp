#include "RecentFiles.h"

#include "PackageSettings.h"

#include <QDir>

namespace {

const QString Name = QStringLiteral("RecentFiles");

QStringList Without(QStringList list, const QString& path) {
    const QString clean = QDir::cleanPath(path);
    list.removeIf([&](const QString& entry) { return QDir::cleanPath(entry) == clean; });
    return list;
}

void Store(const QStringList& list) {
    const auto settings = PackageSettings::Open();
    settings->setValue(Name, list);
    settings->sync();
}

} // namespace

QStringList RecentFiles::Read() {
    const auto settings = PackageSettings::Open();
    return settings->value(Name).toStringList();
}

QStringList RecentFiles::Added(QStringList list, const QString& path) {
    list = Without(std::move(list), path);
    list.prepend(QDir::cleanPath(path));
    while (list.size() > Limit)
        list.removeLast();
    return list;
}

void RecentFiles::Add(const QString& path) {
    Store(Added(Read(), path));
}

void RecentFiles::Rename(const QString& from, const QString& to) {
    Store(Renamed(Read(), from, to));
}

QStringList RecentFiles::Renamed(QStringList list, const QString& from, const QString& to) {
    return Added(Without(std::move(list), from), to);
}

void RecentFiles::Remove(const QString& path) {
    Store(Without(Read(), path));
}
