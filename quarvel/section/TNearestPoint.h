#pragma once

#include <QColor>

class ShapeHost;

// The green square that shows, while the pointer moves, the node or guide a click would snap
// to. It is a transient mark: the paint handler draws it while Visible is set.
class TNearestPoint {
public:
    explicit TNearestPoint(ShapeHost& host);
    virtual ~TNearestPoint() = default;
    TNearestPoint(const TNearestPoint&) = delete;
    TNearestPoint& operator=(const TNearestPoint&) = delete;

    virtual void Track(int X, int Y);
    virtual QColor Colour() const { return {0, 128, 0}; }

    int X = 0;
    int Y = 0;
    bool Visible = false;

protected:
    ShapeHost& host_;
};
