#pragma once

#include <QPoint>
#include <QString>
#include <array>
#include <cstdint>

class QPainter;
class ShapeHost;
class TRegisteredNode;

// Base of every shape of a section. A shape collects its vertices one by one (AddPoint); when
// the last one is placed the first is copied behind it, so code may read one vertex past the
// last. Vertices are nodes of the editor's list, shared between shapes and counted there.
class TMasterShape {
public:
    static constexpr int PointSlots = 5;

    explicit TMasterShape(ShapeHost& host);
    virtual ~TMasterShape();
    TMasterShape(const TMasterShape&) = delete;
    TMasterShape& operator=(const TMasterShape&) = delete;

    virtual void Draw(QPainter& canvas) = 0;
    virtual void AddPoint(int X, int Y);
    virtual bool Contains(int X, int Y) const = 0;

    TRegisteredNode* GetPoint(int i) const { return Points.at(static_cast<std::size_t>(i)); }
    void SetPoint(int i, TRegisteredNode* node) { Points.at(static_cast<std::size_t>(i)) = node; }
    bool IsComplete() const { return PointCount == MaxPoints; }

    // Flips the selection; the host repaints, outlining selected shapes in blue.
    void ToggleSelected();
    // Draws on another canvas (the printer's); holes are then filled white.
    void DrawOn(QPainter& canvas);
    void MarkPoint(QPoint p);
    void MarkAllPoints();

    // Twice the signed area of (T0, T1, T2) decides containment; points on an edge and
    // degenerate triangles are outside.
    static bool InTriangle(int X, int Y, QPoint T0, QPoint T1, QPoint T2);

    QString Caption;
    std::uint8_t Kind = 0;
    bool Filled = true;
    bool Selected = false;
    bool Printing = false;
    std::array<TRegisteredNode*, PointSlots> Points{};
    int PointCount = 0;
    int MaxPoints = 0;

protected:
    // Pass 1 paints the background under the shape, pass 2 its visible outline and fill.
    void SetDrawStyle(QPainter& canvas, int pass) const;
    void DrawPolygon(QPainter& canvas, int corners);
    QPoint PixelOf(int i) const;

    ShapeHost& host_;
};
