#pragma once

#include <QSettings>
#include <QString>
#include <memory>

// The package's settings: the registry key "\Software\VORM" of the current user on Windows,
// an INI file named VORM in the user's configuration folder elsewhere. Each access opens the
// store, reads or writes and closes it again, so both programs see each other's changes at
// once. Tests redirect the store with SetLocationForTests.
class PackageSettings {
public:
    static std::unique_ptr<QSettings> Open();

    // Reads a string value; a missing value reads as the empty string. A value of another
    // type fails with "Invalid data type for '<name>'".
    static QString ReadString(const QString& name);
    static void WriteString(const QString& name, const QString& value);

    // The directory of the data file opened last by either program, with trailing separator.
    static QString ReadDataDirectory() { return ReadString(QStringLiteral("DataDirectory")); }
    static void WriteDataDirectory(const QString& directory) {
        WriteString(QStringLiteral("DataDirectory"), directory);
    }

    // The directory of the toolset of mesh generators: the value "YornikDirectory", or, when
    // it is not set, the folder "Yornik" of the package directory, so that plate generation
    // works on a fresh installation. Without a trailing separator.
    static QString ToolsetDirectory(const QString& packageDirectory);
    // The folder of the region mesher's project and mesh files: "data" of the toolset the
    // user set, or, for the package's own toolset, a folder in the user's data folder, since
    // the package directory may be read-only. Without a trailing separator.
    static QString ToolsetDataDirectory(const QString& packageDirectory);

    // Points the INI store into the given directory (tests only).
    static void SetLocationForTests(const QString& directory);
};
