#pragma once

#include <QString>
#include <initializer_list>

// The editor window's tool bar and menus as designed: names, hints, captions and shortcuts.
// The window builds its controls from these tables.
namespace EditorDesign {

struct Button {
    const char* Name;
    const char* Hint;
    bool Enabled; // the state the window starts in
};

struct MenuItem {
    const char* Name; // empty for a separator
    const char* Caption;
    const char* Shortcut;
};

struct TopMenu {
    const char* Name;
    const char* Caption;
    std::initializer_list<MenuItem> Items;
};

// The tool bar from left to right.
extern const Button ToolBar[16];
extern const TopMenu MenuBar[5];

// The hint of a tool bar button; empty for an unknown name.
const char* HintOf(const QString& button);

} // namespace EditorDesign
