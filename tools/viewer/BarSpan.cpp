#include "BarSpan.h"

#include <algorithm>

namespace {

using Vec3 = BarSpan::Vec3;

Vec3 ToVec(const ViewerModel::Point& p) {
    return {p[0], p[1], p[2]};
}

Vec3 Scaled(const Vec3& v, double factor) {
    return BarAxes::Scaled(v, factor);
}

// The spans of one load case, unscaled.
std::vector<BarSpan> CaseSpans(const ViewerModel& model, ProblemType::Layout frame, int loadCase) {
    std::vector<BarSpan> spans(model.Bars.size());
    std::vector<BarAxes> axes;
    axes.reserve(model.Bars.size());
    for (size_t e = 0; e < model.Bars.size(); ++e) {
        const ViewerModel::Bar& bar = model.Bars[e];
        axes.push_back(BarAxes::Of(frame, ToVec(model.Nodes[static_cast<size_t>(bar.I)]),
                                   ToVec(model.Nodes[static_cast<size_t>(bar.J)]), bar.Beta));
        spans[e].Length = axes.back().Length;
    }
    const auto local = [&](size_t e, const Vec3& global) {
        // An arc's load stays global: its diagram follows the arc, not a local axis.
        return model.Bars[e].Radius != 0 ? global : axes[e].ToLocal(global);
    };
    for (const ViewerModel::Load& load : model.Loads) {
        if (load.Case != loadCase || !load.Distributed || load.Element < 0 ||
            load.Element >= static_cast<int>(spans.size()))
            continue;
        const auto e = static_cast<size_t>(load.Element);
        spans[e].Even = BarAxes::Sum(spans[e].Even, local(e, load.Force));
    }
    for (const ViewerModel::MemberLoad& load : model.MemberLoads) {
        if (load.Case != loadCase || load.Element < 0 ||
            load.Element >= static_cast<int>(spans.size()) ||
            model.Bars[static_cast<size_t>(load.Element)].Radius != 0)
            continue;
        const auto e = static_cast<size_t>(load.Element);
        const Vec3 start = ToVec(model.Nodes[static_cast<size_t>(model.Bars[e].I)]);
        const auto distance = [&](const ViewerModel::Vector& at) {
            return std::clamp(BarAxes::Dot(BarAxes::Sum(at, Scaled(start, -1)), axes[e].X), 0.0,
                              spans[e].Length);
        };
        if (load.Partial)
            spans[e].Partials.push_back({distance(load.At), distance(load.To), local(e, load.Force),
                                         local(e, load.ForceTo)});
        else
            spans[e].Points.push_back(
                {distance(load.At), local(e, load.Force), local(e, load.Moment)});
    }
    return spans;
}

// The integrals over the stretch of a linear load before x: of the load, and of the load
// times its lever arm (x - s) about x.
struct Integrals {
    Vec3 Load{}, Lever{};
};

Integrals Before(const BarSpan::Partial& p, double x) {
    Integrals sums;
    const double t = std::min(x, p.B) - p.A; // the loaded stretch before x
    const double width = p.B - p.A;
    if (t <= 0 || width <= 0)
        return sums;
    const double d = x - p.A;
    for (size_t k = 0; k < 3; ++k) {
        const double q = p.From[k], slope = (p.To[k] - p.From[k]) / width;
        sums.Load[k] = q * t + slope * t * t / 2;
        sums.Lever[k] = q * (d * t - t * t / 2) + slope * (d * t * t / 2 - t * t * t / 3);
    }
    return sums;
}

} // namespace

void BarSpan::Add(const BarSpan& other, double factor) {
    Even = BarAxes::Sum(Even, Scaled(other.Even, factor));
    for (const Point& p : other.Points)
        Points.push_back({p.At, Scaled(p.Force, factor), Scaled(p.Moment, factor)});
    for (const Partial& p : other.Partials)
        Partials.push_back({p.A, p.B, Scaled(p.From, factor), Scaled(p.To, factor)});
}

std::vector<BarSpan> BarSpan::Of(const ViewerModel& model, ProblemType::Layout frame,
                                 const StaticResults::Case& loadCase) {
    if (loadCase.Terms.empty())
        return CaseSpans(model, frame, loadCase.Number);
    std::vector<BarSpan> spans = CaseSpans(model, frame, 0);
    for (const auto& [number, factor] : loadCase.Terms) {
        const std::vector<BarSpan> term = CaseSpans(model, frame, number);
        for (size_t e = 0; e < spans.size(); ++e)
            spans[e].Add(term[e], factor);
    }
    return spans;
}

double BarSpan::Particular(int component, double x, bool after) const {
    // The equilibrium of the part from end i to x: each force beyond end i takes its share
    // off the section's force, and its lever arm about the section (along local x, so
    // e_x × F = (0, -Fz, Fy)) off the section's moments about y and z.
    Vec3 force{}, moment{}, lever{};
    const auto add = [&](const Integrals& sums) {
        force = BarAxes::Sum(force, sums.Load);
        lever = BarAxes::Sum(lever, sums.Lever);
    };
    add(Before({0, Length, Even, Even}, x));
    for (const Partial& p : Partials)
        add(Before(p, x));
    for (const Point& p : Points) {
        if (p.At > x || (p.At == x && !after))
            continue;
        force = BarAxes::Sum(force, p.Force);
        moment = BarAxes::Sum(moment, p.Moment);
        lever = BarAxes::Sum(lever, Scaled(p.Force, x - p.At));
    }
    switch (component) {
    case 0:
    case 1:
    case 2:
        return -force[static_cast<size_t>(component)];
    case 3:
        return -moment[0];
    case 4:
        return -moment[1] - lever[2];
    case 5:
        return -moment[2] + lever[1];
    default:
        return 0;
    }
}

std::vector<double> BarSpan::Breaks() const {
    std::vector<double> at;
    for (const Point& p : Points)
        at.push_back(p.At);
    for (const Partial& p : Partials) {
        at.push_back(p.A);
        at.push_back(p.B);
    }
    std::sort(at.begin(), at.end());
    at.erase(std::unique(at.begin(), at.end()), at.end());
    std::erase_if(at, [&](double x) { return x <= 0 || x >= Length; });
    return at;
}
