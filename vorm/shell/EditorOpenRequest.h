#pragma once

#include "UserDialogs.h"

#include <QString>

class MenuTexts;

// How the open dialog is set up when a problem type or "Data files" is chosen from the menu.
class EditorOpenRequest {
public:
    // The menu text of the item's tag followed by the item's file patterns: for tag 1, entry 1
    // and "|*.d51;*.d01".
    static QString FilterPrefix(int tag, const MenuTexts& texts);

    // The prefix, then "Data files" and "All files".
    static QString Filter(const QString& prefix);

    // The whole set-up: an empty file name, the filter, the item's menu text as title, the
    // default extension, and as starting directory the package directory for "Data files",
    // the directory of the data file opened last for every other entry.
    static FileDialogRequest Build(int tag, const QString& prefix, const QString& defaultExtension,
                                   const MenuTexts& texts, const QString& packageDir,
                                   const QString& dataDirectory);

    // The menu entry whose file patterns take the file's extension (any case); "Data files"
    // when none does.
    static int TagForFile(const QString& fileName);

    // Whether a file chosen for this tag opens in an editor window: problem types and
    // "Data files".
    static bool OpensEditor(int tag);
};
