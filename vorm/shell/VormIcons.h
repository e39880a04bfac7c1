#pragma once

#include <QIcon>
#include <QPixmap>

// The launcher's pictures, drawn at run time so that the package carries no image files of
// its own: the program icon and the mark of an installed solver in the problem menu.
class VormIcons {
public:
    static QPixmap ProgramPixmap(int size);
    static QIcon ProgramIcon();
    static QIcon SolverMark();
};
