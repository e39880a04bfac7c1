#pragma once

#include <QString>

// The folders a user's session writes to, so that an installed package directory stays
// read-only and shared: the user's data folder (help pages, unpacked language packs, the
// region mesher's files) and the parent of each run's own exchange folder. Every program of
// the package agrees on them whatever its own application name.
class UserFolders {
public:
    // "<user data folder>/VORM", without a trailing separator; not created here.
    static QString DataDirectory();
    // Where each program run gets a fresh folder of its own: the user's runtime folder when
    // the system has one, the cache folder otherwise; created when missing.
    static QString RunsDirectory();
    // The region mesher's "data" folder of the package's own toolset; made by those who
    // write into it.
    static QString MesherDataDirectory();
};
