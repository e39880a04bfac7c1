#include "LabelPlacer.h"

#include <algorithm>
#include <cmath>

namespace {

bool Finite(const QPointF& p) {
    return std::isfinite(p.x()) && std::isfinite(p.y());
}

} // namespace

LabelPlacer::LabelPlacer(const QRectF& area, const QFontMetricsF& metrics)
    : area_(area), metrics_(metrics), height_(metrics.height()) {
    // Cells about the size of the text-distance rule: a label meets only its 3 x 3 cells.
    cellWidth_ = cellHeight_ = SameText;
    if (area_.isValid()) {
        columns_ = std::max(1, int(std::ceil(area_.width() / cellWidth_)));
        rows_ = std::max(1, int(std::ceil(area_.height() / cellHeight_)));
    }
    cells_.resize(static_cast<size_t>(columns_) * static_cast<size_t>(rows_));
}

void LabelPlacer::Range(const QRectF& box, int& left, int& top, int& right, int& bottom) const {
    // Clamped before the conversion, which a far point would overflow.
    const auto column = [this](double x) {
        return int(std::clamp(std::floor((x - area_.left()) / cellWidth_), 0.0, columns_ - 1.0));
    };
    const auto row = [this](double y) {
        return int(std::clamp(std::floor((y - area_.top()) / cellHeight_), 0.0, rows_ - 1.0));
    };
    left = column(box.left());
    right = column(box.right());
    top = row(box.top());
    bottom = row(box.bottom());
}

bool LabelPlacer::Free(const QRectF& box) const {
    int left = 0, top = 0, right = 0, bottom = 0;
    Range(box, left, top, right, bottom);
    for (int r = top; r <= bottom; ++r) {
        for (int c = left; c <= right; ++c) {
            for (const QRectF& other : At(c, r).Boxes) {
                if (other.intersects(box))
                    return false;
            }
        }
    }
    return true;
}

void LabelPlacer::Add(const QRectF& box) {
    int left = 0, top = 0, right = 0, bottom = 0;
    Range(box, left, top, right, bottom);
    for (int r = top; r <= bottom; ++r) {
        for (int c = left; c <= right; ++c)
            At(c, r).Boxes.push_back(box);
    }
}

void LabelPlacer::Reserve(const QRectF& box) {
    if (box.intersects(area_))
        Add(box.intersected(area_));
}

double LabelPlacer::Width(const QString& text) {
    double width = 0;
    for (const QChar c : text) {
        auto advance = advances_.constFind(c);
        if (advance == advances_.cend())
            advance = advances_.insert(c, metrics_.horizontalAdvance(c));
        width += *advance;
    }
    return width;
}

std::optional<QRectF> LabelPlacer::Place(const QString& text, const QPointF& at,
                                         const QPointF& away, int attempts) {
    if (!Finite(at) || !Finite(away))
        return std::nullopt;
    // The same text close by says nothing new.
    int left = 0, top = 0, right = 0, bottom = 0;
    Range(QRectF(at, at).adjusted(-SameText, -SameText, SameText, SameText), left, top, right,
          bottom);
    for (int r = top; r <= bottom; ++r) {
        for (int c = left; c <= right; ++c) {
            for (const auto& [other, centre] : At(c, r).Texts) {
                if (other == text &&
                    std::hypot(centre.x() - at.x(), centre.y() - at.y()) < SameText)
                    return std::nullopt;
            }
        }
    }
    const double width = Width(text);
    for (int attempt = 0; attempt < attempts; ++attempt) {
        QRectF box(0, 0, width + 4, height_);
        box.moveCenter(at + away * (attempt * (height_ + 2)));
        if (!area_.contains(box))
            continue;
        // A gap between neighbours, so that two values never read as one
        // ("My = -13.47Mx = 2.672").
        if (!Free(box.adjusted(-Gap, -1, Gap, 1)))
            continue;
        Add(box);
        int column = 0, row = 0, unused = 0;
        Range(QRectF(at, at), column, row, unused, unused);
        At(column, row).Texts.emplace_back(text, at);
        ++placed_;
        return box;
    }
    return std::nullopt;
}
