#pragma once

#include <QIcon>
#include <QList>
#include <memory>

class QAction;
class QMenuBar;

// The problem menu built from the catalogue, and the two values each of its items carries:
// its tag, and the index of its image in the menu images (-1 for none). The image index of a
// problem item tells a new editor window whether the problem's solver is installed.
class ProblemMenuItems {
public:
    // The whole menu with the design captions; "Data files" carries image 0 from the start.
    // `images` are the menu images (may be empty while they do not exist yet).
    static std::unique_ptr<QMenuBar> Build(const QList<QIcon>& images);

    static int Tag(const QAction* item);
    static int ImageIndex(const QAction* item);
    static void SetImageIndex(QAction* item, int index, const QList<QIcon>& images);
    // Shows each item's image again, for images that came after the menu.
    static void ShowImages(const QMenuBar& menu, const QList<QIcon>& images);

    // Every item of the menu, groups first, then their items, depth first.
    static QList<QAction*> AllItems(const QMenuBar& menu);
    static QAction* Find(const QMenuBar& menu, int tag);
};
