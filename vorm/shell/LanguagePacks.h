#pragma once

#include <QList>
#include <QString>

class PackageDir;

// A language the package can be used in, and the pack that brings its texts.
struct LanguagePack {
    QString Language; // as listed in the language window
    QString PackFile; // file name in the package directory
};

// The language packs: "English", "Bulgarian" and "Russian", in this order.
class LanguagePacks {
public:
    static QList<LanguagePack> All();
    // The packs present in the package directory, in the table's order; each with the file
    // name as it lies on disk.
    static QList<LanguagePack> Present(const PackageDir& packageDir);
};
