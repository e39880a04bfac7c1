#pragma once

#include <QString>

// The package directory: the launcher's working directory at start. Every executable, table,
// template and language pack of the package lies here, and is found without regard to the
// case of its name. The package directory may be installed read-only: what the launcher
// writes (the unpacked language packs, help pages) goes into the user's folder, where it is
// found after the package's own files.
class PackageDir {
public:
    // The directories, kept absolute and without a trailing separator; an empty `userPath`
    // stands for the user's data folder (UserFolders).
    explicit PackageDir(const QString& path, const QString& userPath = QString());
    // The working directory. When the package is installed, its programs lie there and its
    // data (templates, tables, packs, examples) in a folder of its own, found by the path
    // from the one to the other that the build gives.
    static PackageDir FromCurrentDirectory();

    // The programs' directory.
    const QString& Path() const { return path; }
    // The data's directory: the programs' directory itself, unless installed apart.
    const QString& DataPath() const { return dataPath; }
    const QString& UserPath() const { return userPath; }

    // The path of a package file, in the package directory (programs, then data) or else in
    // the user's folder; when no file of that name exists in any case, the path in the
    // package directory with the name as given.
    QString FilePath(const QString& name) const;
    // Where the launcher writes a file of its own: the user's folder.
    QString UserFilePath(const QString& name) const;

    // The path of a package executable given its base name: ".exe" is added on Windows only.
    QString ExecutablePath(const QString& baseName) const;
    bool HasExecutable(const QString& baseName) const;

    // ".exe" on Windows, nothing elsewhere.
    static QString ExecutableSuffix();

private:
    QString path;
    QString dataPath;
    QString userPath;
};
