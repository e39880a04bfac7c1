#include "ProblemMenuItems.h"

#include "ProblemCatalogue.h"

#include <QAction>
#include <QMap>
#include <QMenu>
#include <QMenuBar>

namespace {

const char* const ImageIndexProperty = "imageIndex";

void CollectItems(const QList<QAction*>& items, QList<QAction*>& all) {
    for (QAction* item : items) {
        all << item;
        if (const QMenu* menu = item->menu<QMenu*>())
            CollectItems(menu->actions(), all);
    }
}

} // namespace

std::unique_ptr<QMenuBar> ProblemMenuItems::Build(const QList<QIcon>& images) {
    auto bar = std::make_unique<QMenuBar>();
    QMap<int, QMenu*> groups;
    for (const ProblemEntry& entry : ProblemCatalogue::Entries()) {
        QAction* item = nullptr;
        if (entry.Kind == MenuItemKind::Group) {
            QMenu* menu = bar->addMenu(entry.Caption);
            groups.insert(entry.Tag, menu);
            item = menu->menuAction();
        } else {
            item = groups.value(entry.GroupTag)->addAction(entry.Caption);
        }
        item->setData(entry.Tag);
        SetImageIndex(item, entry.Kind == MenuItemKind::DataFiles ? 0 : -1, images);
    }
    return bar;
}

int ProblemMenuItems::Tag(const QAction* item) {
    return item->data().toInt();
}

int ProblemMenuItems::ImageIndex(const QAction* item) {
    const QVariant index = item->property(ImageIndexProperty);
    return index.isValid() ? index.toInt() : -1;
}

void ProblemMenuItems::SetImageIndex(QAction* item, int index, const QList<QIcon>& images) {
    item->setProperty(ImageIndexProperty, index);
    item->setIcon(index >= 0 && index < images.size() ? images[index] : QIcon());
}

void ProblemMenuItems::ShowImages(const QMenuBar& menu, const QList<QIcon>& images) {
    for (QAction* item : AllItems(menu))
        SetImageIndex(item, ImageIndex(item), images);
}

QList<QAction*> ProblemMenuItems::AllItems(const QMenuBar& menu) {
    QList<QAction*> all;
    CollectItems(menu.actions(), all);
    return all;
}

QAction* ProblemMenuItems::Find(const QMenuBar& menu, int tag) {
    for (QAction* item : AllItems(menu))
        if (Tag(item) == tag)
            return item;
    return nullptr;
}
