#include "LanguagePacks.h"

#include "PackageDir.h"

#include <QFileInfo>

QList<LanguagePack> LanguagePacks::All() {
    return {
        {QStringLiteral("English"), QStringLiteral("VORMEW.ZIP")},
        {QStringLiteral("Bulgarian"), QStringLiteral("VORMBW.ZIP")},
        {QStringLiteral("Russian"), QStringLiteral("VORMRW.ZIP")},
    };
}

QList<LanguagePack> LanguagePacks::Present(const PackageDir& packageDir) {
    QList<LanguagePack> present;
    for (const LanguagePack& pack : All()) {
        const QFileInfo file(packageDir.FilePath(pack.PackFile));
        if (file.isFile())
            present.push_back({pack.Language, file.fileName()});
    }
    return present;
}
