#pragma once

// An MDI child window with help of its own: while it is the active child, F1 in the main
// window shows its help instead of the main help file.
class MdiChildHelp {
public:
    virtual ~MdiChildHelp() = default;
    virtual void ChildHelp() = 0;
};
