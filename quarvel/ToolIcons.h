#pragma once

#include <QPixmap>
#include <QVector>

// The editor's image list, drawn at start: the tool images and the two red arrows that head
// the node grid's columns. The indices are those the actions and the grid refer to.
class ToolIcons {
public:
    enum Index {
        QuadrangleBlank = 0,
        TriangleBlank = 1,
        SectorBlank = 2,
        Open = 3,
        Save = 4,
        Select = 5,
        ArrowUp = 9,
        ArrowRight = 10,
        QuadrangleFilled = 11,
        SectorFilled = 12,
        TriangleFilled = 13,
        Undo = 14,
        Print = 15,
        Help = 16,
        Count = 17
    };

    static QVector<QPixmap> Create();
};
