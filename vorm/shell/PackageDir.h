#pragma once

#include <QString>

// The package directory: the launcher's working directory at start. Every executable, help
// file, language pack and exchange file of the package lies here, and is found without regard
// to the case of its name.
class PackageDir {
public:
    // The directory, kept absolute and without a trailing separator.
    explicit PackageDir(const QString& path);
    static PackageDir FromCurrentDirectory();

    const QString& Path() const { return path; }

    // The path of a package file; when no file of that name exists in any case, the path with
    // the name as given.
    QString FilePath(const QString& name) const;

    // The path of a package executable given its base name: ".exe" is added on Windows only.
    QString ExecutablePath(const QString& baseName) const;
    bool HasExecutable(const QString& baseName) const;

    // ".exe" on Windows, nothing elsewhere.
    static QString ExecutableSuffix();

private:
    QString path;
};
