#pragma once

// The tool buttons as the drawing logic drives them; the window implements it with its tool
// bar, tests with a fake.
class ToolButtons {
public:
    virtual ~ToolButtons() = default;
    // Releases the six shape tools (not Select).
    virtual void AllUp() = 0;
    // Releases the filled and the blank tool of one kind (1 quadrangle, 2 triangle, 3 sector).
    virtual void ReleaseKind(int kind) = 0;
    // Presses the tool of a kind and fill.
    virtual void PressTool(int kind, bool filled) = 0;
    virtual void SetSelectDown(bool down) = 0;
    virtual bool SelectDown() const = 0;
};
