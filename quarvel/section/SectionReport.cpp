#include "SectionReport.h"

#include "NumberFormat.h"

#include <exception>

using NumberFormat::fixed;
using NumberFormat::scientific;

std::array<double, 8> SectionReport::OrderedCorners(const ShapeGeometry& shape) {
    const auto& p = shape.Points;
    bool keep = true;
    if (shape.Kind == 1) {
        // The whole outline decides, so that a quadrangle with a reflex corner is not turned
        // the wrong way by looking at three of its corners only.
        long double area2 = 0;
        for (std::size_t i = 0; i < 4; ++i) {
            const auto& a = p[i];
            const auto& b = p[(i + 1) % 4];
            area2 += static_cast<long double>(a.Y) * b.Z - static_cast<long double>(b.Y) * a.Z;
        }
        keep = area2 > 0;
    } else if (shape.Kind == 2) {
        const long double s = static_cast<long double>(p[2].Y) * (p[3].Z - p[1].Z) +
                              static_cast<long double>(p[1].Y) * (p[2].Z - p[3].Z) +
                              static_cast<long double>(p[3].Y) * (p[1].Z - p[2].Z);
        keep = s > 0;
    }
    std::array<double, 8> corners{};
    for (std::size_t i = 0; i < 4; ++i) {
        const auto& q = keep ? p[i] : p[3 - i];
        corners[2 * i] = q.Y;
        corners[2 * i + 1] = q.Z;
    }
    return corners;
}

bool SectionReport::Recalc(const ShapeGeometry& shape, int index, char mode, const QString& unit,
                           QChar dp, const AxesPainter& drawAxes, SectorialWork work) {
    const int kind = shape.Filled ? shape.Kind : -shape.Kind;
    const char effectiveMode = mode == 'S' ? 'S' : 'G';
    try {
        values_ = integrals_.SectionIntegrals(effectiveMode, kind, index + 1, OrderedCorners(shape),
                                              work);
        snapshot_.reset();
        linesCurrent_ = false;
        if (drawAxes)
            drawAxes(index);
        snapshot_ = Snapshot{values_, unit, dp, effectiveMode == 'S'};
        lastError_.clear();
        return true;
    } catch (const std::exception& error) {
        ClearLines();
        lastError_ = QString::fromUtf8(error.what());
        return false;
    }
}

void SectionReport::ClearLines() {
    snapshot_.reset();
    lines_.clear();
    linesCurrent_ = true;
}

const QStringList& SectionReport::Lines() const {
    if (linesCurrent_)
        return lines_;
    linesCurrent_ = true;
    lines_.clear();
    if (!snapshot_)
        return lines_;
    const SectionResults& v = snapshot_->values;
    const QChar dp = snapshot_->decimalPoint;
    lines_ << QStringLiteral("Dimension: ") + snapshot_->unit
           << QStringLiteral("Yc= ") + fixed(v.Yc, 12, 4, dp)
           << QStringLiteral("Zc= ") + fixed(v.Zc, 12, 4, dp)
           << QStringLiteral(" F= ") + scientific(v.F, 12, 4, dp)
           << QStringLiteral("I1= ") + scientific(v.I1, 12, 4, dp)
           << QStringLiteral("I2= ") + scientific(v.I2, 12, 4, dp)
           << QStringLiteral("Alpha= ") + fixed(v.Alpha, 12, 4, dp) + QStringLiteral(" deg");
    if (snapshot_->sectorial) {
        lines_ << QStringLiteral("Yo= ") + fixed(v.Yo, 12, 4, dp)
               << QStringLiteral("Zo= ") + fixed(v.Zo, 12, 4, dp)
               << QStringLiteral("Jw= ") + scientific(v.Jw, 12, 4, dp);
    }
    return lines_;
}
