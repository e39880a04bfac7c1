#pragma once

#include <QFontMetricsF>
#include <QHash>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <optional>
#include <vector>

// Finds free spots for the values written over a drawing: a label goes centred at its point,
// or a step or a few further along a direction away from what it labels, where it keeps a gap
// to every label placed before and stays inside the area; the same text close by is left out,
// since it says nothing new (two bars meeting at a joint). The placed boxes are kept in a
// uniform grid, so that a label is tested only against its neighbours: placing n labels takes
// time in proportion to n, whatever their number.
class LabelPlacer {
public:
    LabelPlacer(const QRectF& area, const QFontMetricsF& metrics);

    // The box of `text` (its size plus a little margin), or nothing when no spot is free among
    // the first `attempts`.
    std::optional<QRectF> Place(const QString& text, const QPointF& at, const QPointF& away,
                                int attempts = Attempts);
    // Keeps labels off a box (the caption).
    void Reserve(const QRectF& box);
    // Whether a box meets nothing placed or reserved.
    bool Free(const QRectF& box) const;
    const QRectF& Area() const { return area_; }
    int Count() const { return placed_; }

    static constexpr double Gap = 6;       // between neighbours, so that values never read as one
    static constexpr double SameText = 60; // pixels within which the same text is left out
    static constexpr int Attempts = 5;

private:
    struct Cell {
        std::vector<QRectF> Boxes;
        std::vector<std::pair<QString, QPointF>> Texts;
    };
    void Add(const QRectF& box);
    // The cells that a box touches, clipped to the grid.
    void Range(const QRectF& box, int& left, int& top, int& right, int& bottom) const;
    Cell& At(int column, int row) { return cells_[static_cast<size_t>(row * columns_ + column)]; }
    const Cell& At(int column, int row) const {
        return cells_[static_cast<size_t>(row * columns_ + column)];
    }

    QRectF area_;
    QFontMetricsF metrics_;
    double cellWidth_ = 64, cellHeight_ = 64;
    int columns_ = 1, rows_ = 1;
    std::vector<Cell> cells_;
    // The width of a text from its characters' advances, each measured once: values are
    // mostly different texts of a few characters.
    double Width(const QString& text);
    QHash<QChar, double> advances_;
    double height_ = 0;
    int placed_ = 0;
};
