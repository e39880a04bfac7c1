#pragma once

#include <QColor>
#include <QString>
#include <vector>

// The colour scale of a field drawn as filled contours: 6 to 14 bands of a round width
// (1, 2, 2.5 or 5 times a power of ten) from below the smallest value to above the largest,
// coloured from blue (low) through green to red (high). A field of one value has one band.
class ContourScale {
public:
    static constexpr int TargetBands = 11;
    static constexpr int MaxBands = 14;

    ContourScale() = default;
    ContourScale(double low, double high, QString unit);

    // The band limits, ascending: one more than the bands.
    const std::vector<double>& Limits() const { return limits_; }
    int Bands() const { return static_cast<int>(limits_.size()) - 1; }
    const QString& Unit() const { return unit_; }
    // The band a value falls in; values beyond the ends count to the outer bands.
    int BandOf(double value) const;
    QColor ColourOf(int band) const;

private:
    std::vector<double> limits_{0, 0};
    QString unit_;
};
