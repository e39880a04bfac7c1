#pragma once

#include "ShapeHost.h"
#include "TRegisteredNode.h"

#include <QList>
#include <QPainter>
#include <memory>
#include <vector>

// A host that registers every placed point as a new node and records what shapes ask of it.
class FakeShapeHost : public ShapeHost {
public:
    const ViewValues& View() const override { return view; }
    int EditMode() const override { return editMode; }
    bool NewShapeFilled() const override { return filled; }
    QColor BackgroundColor() const override { return background; }
    TRegisteredNode* AddPointToList(QPoint p) override {
        nodes.push_back(std::make_unique<TRegisteredNode>(view, p));
        nodes.back()->RefCount = 1;
        return nodes.back().get();
    }
    bool FindNearestPoint(int x, int y) override {
        snapFound = snapTarget.has_value() && (QPoint(x, y) - *snapTarget).manhattanLength() < 8;
        return snapFound;
    }
    bool SnapFound() const override { return snapFound; }
    QPoint SnapPoint() const override { return snapTarget.value_or(QPoint()); }
    void ToggleCross(QPoint p) override { crosses << p; }
    void Repaint() override { ++repaints; }
    void WriteGuide(QPainter&, GuideBar bar, int x, int y) override {
        guideLines << QLine(x, y, bar == GuideBar::Left ? x : 9999,
                            bar == GuideBar::Left ? 9999 : y);
    }

    ViewValues view;
    int editMode = 0;
    bool filled = true;
    QColor background = Qt::white;
    bool snapFound = false;
    std::optional<QPoint> snapTarget;
    std::vector<std::unique_ptr<TRegisteredNode>> nodes;
    QList<QPoint> crosses;
    QList<QLine> guideLines;
    int repaints = 0;
};
