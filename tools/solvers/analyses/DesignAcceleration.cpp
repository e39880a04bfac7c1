#include "DesignAcceleration.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

// S, TB, TC and TD of ground types A to E: tables 3.2 (type 1) and 3.3 (type 2) of
// EN 1998-1:2004.
constexpr std::array<std::array<double, 4>, 5> TypeOne{{{1.0, 0.15, 0.4, 2.0},
                                                        {1.2, 0.15, 0.5, 2.0},
                                                        {1.15, 0.20, 0.6, 2.0},
                                                        {1.35, 0.20, 0.8, 2.0},
                                                        {1.4, 0.15, 0.5, 2.0}}};
constexpr std::array<std::array<double, 4>, 5> TypeTwo{{{1.0, 0.05, 0.25, 1.2},
                                                        {1.35, 0.05, 0.25, 1.2},
                                                        {1.5, 0.10, 0.25, 1.2},
                                                        {1.8, 0.10, 0.30, 1.2},
                                                        {1.6, 0.05, 0.25, 1.2}}};

} // namespace

DesignAcceleration DesignAcceleration::Table(std::vector<std::pair<double, double>> points,
                                             QString& fault) {
    DesignAcceleration spectrum;
    if (points.empty()) {
        fault = QStringLiteral("the spectrum has no points");
        return spectrum;
    }
    for (size_t k = 0; k < points.size(); ++k) {
        const auto [period, value] = points[k];
        if (!std::isfinite(period) || !std::isfinite(value) || period < 0 || value < 0) {
            fault = QStringLiteral("point %1 of the spectrum is not a period and an acceleration "
                                   "of 0 or more")
                        .arg(k + 1);
            return spectrum;
        }
        if (k > 0 && period <= points[k - 1].first) {
            fault = QStringLiteral("the periods of the spectrum do not increase at point %1")
                        .arg(k + 1);
            return spectrum;
        }
    }
    spectrum.points_ = std::move(points);
    return spectrum;
}

DesignAcceleration DesignAcceleration::Eurocode(const Code& code, QString& fault) {
    DesignAcceleration spectrum;
    const int ground = code.Ground - 'A';
    if (code.Type != 1 && code.Type != 2) {
        fault = QStringLiteral("the spectrum type is %1, not 1 or 2").arg(code.Type);
    } else if (ground < 0 || ground > 4) {
        fault = QStringLiteral("the ground type is not one of A, B, C, D and E");
    } else if (!(code.Ag > 0) || !std::isfinite(code.Ag)) {
        fault = QStringLiteral("the design ground acceleration is not above 0");
    } else if (!(code.Damping >= 0 && code.Damping < 1)) {
        fault = QStringLiteral("the damping ratio %1 is not from 0 to below 1").arg(code.Damping);
    }
    if (!fault.isEmpty())
        return spectrum;
    const std::array<double, 4>& row =
        (code.Type == 1 ? TypeOne : TypeTwo)[static_cast<size_t>(ground)];
    Parameters p;
    p.Ag = code.Ag;
    p.S = row[0];
    p.TB = row[1];
    p.TC = row[2];
    p.TD = row[3];
    p.Eta = std::max(0.55, std::sqrt(10 / (5 + 100 * code.Damping)));
    spectrum.code_ = p;
    return spectrum;
}

double DesignAcceleration::At(double period) const {
    if (code_) {
        const Parameters& p = *code_;
        const double plateau = p.Ag * p.S * p.Eta * 2.5;
        const double t = std::max(0.0, period);
        if (t <= p.TB)
            return p.Ag * p.S * (1 + t / p.TB * (p.Eta * 2.5 - 1));
        if (t <= p.TC)
            return plateau;
        if (t <= p.TD)
            return plateau * p.TC / t;
        return plateau * p.TC * p.TD / (t * t);
    }
    if (points_.empty())
        return 0;
    if (period <= points_.front().first)
        return points_.front().second;
    if (period >= points_.back().first)
        return points_.back().second;
    const auto after = std::upper_bound(
        points_.begin(), points_.end(), period,
        [](double t, const std::pair<double, double>& point) { return t < point.first; });
    const auto before = after - 1;
    const double share = (period - before->first) / (after->first - before->first);
    return before->second + share * (after->second - before->second);
}

bool DesignAcceleration::Covers(double period) const {
    if (code_)
        return period >= 0;
    return !points_.empty() && period >= points_.front().first && period <= points_.back().first;
}
