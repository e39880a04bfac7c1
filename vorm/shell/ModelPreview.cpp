#include "ModelPreview.h"

#include <QtEndian>
#include <algorithm>
#include <cmath>

namespace {

struct Projected {
    std::vector<double> u;
    std::vector<double> v;
    double uMin = 0, uMax = 0, vMin = 0, vMax = 0;

    double UExtent() const { return uMax - uMin; }
    double VExtent() const { return vMax - vMin; }
};

Projected Project(const ModelPreview::Model& model, bool axonometric) {
    constexpr double a = 0.5235987755982989; // 30 degrees
    const double ca = std::cos(a);
    const double sa = std::sin(a);
    Projected p;
    p.u.reserve(model.Nodes.size());
    p.v.reserve(model.Nodes.size());
    for (const auto& [x, y, z] : model.Nodes) {
        if (axonometric) {
            const double w = y * ca - x * sa;
            p.u.push_back(x * ca + y * sa);
            p.v.push_back(w * sa + z * ca);
        } else {
            p.u.push_back(x);
            p.v.push_back(z);
        }
    }
    const auto [uMin, uMax] = std::minmax_element(p.u.begin(), p.u.end());
    const auto [vMin, vMax] = std::minmax_element(p.v.begin(), p.v.end());
    p.uMin = *uMin;
    p.uMax = *uMax;
    p.vMin = *vMin;
    p.vMax = *vMax;
    return p;
}

// Halves go to the even integer.
int Nearest(double value) {
    return static_cast<int>(std::nearbyint(value));
}

} // namespace

int ModelPreview::ProblemNumber(const QString& fileName) {
    if (fileName.size() < 2)
        return -1;
    bool ok = false;
    const int number = fileName.right(2).toInt(&ok);
    return ok ? number : -1;
}

bool ModelPreview::IsPreviewed(int p) {
    return p != 12 && !(p >= 21 && p <= 27) && p != -1 && p < 50;
}

bool ModelPreview::IsAxonometric(int p) {
    return p == 4 || p == 6 || p == 7 || p == 13 || p == 14 || p == 17;
}

ModelPreview::Model ModelPreview::Read(const QByteArray& xyz, const QByteArray& j1j2) {
    Model model;
    const auto* nodes = reinterpret_cast<const uchar*>(xyz.constData());
    model.Nodes.resize(static_cast<std::size_t>(xyz.size() / 12));
    for (std::size_t i = 0; i < model.Nodes.size(); ++i)
        for (std::size_t c = 0; c < 3; ++c)
            model.Nodes[i][c] = qFromLittleEndian<float>(nodes + 12 * i + 4 * c);
    const auto* elements = reinterpret_cast<const uchar*>(j1j2.constData());
    model.Elements.resize(static_cast<std::size_t>(j1j2.size() / 4));
    for (std::size_t i = 0; i < model.Elements.size(); ++i) {
        model.Elements[i][0] = qFromLittleEndian<quint16>(elements + 4 * i);
        model.Elements[i][1] = qFromLittleEndian<quint16>(elements + 4 * i + 2);
    }
    return model;
}

QVector<QLine> ModelPreview::Lines(const Model& model, int problemNumber, const QRect& frame) {
    QVector<QLine> lines;
    if (model.Nodes.empty())
        return lines;
    Projected p = Project(model, IsAxonometric(problemNumber));
    // A flat model seen from the front has no height; the oblique view gives it one.
    if (p.UExtent() == 0 || p.VExtent() == 0)
        p = Project(model, true);
    if (p.UExtent() == 0 || p.VExtent() == 0 || !std::isfinite(p.UExtent()) ||
        !std::isfinite(p.VExtent()))
        return lines;

    const double kx = frame.width() / p.UExtent();
    const double ky = frame.height() / p.VExtent();
    const double k = kx < ky ? kx : ky;
    const double frameRight = frame.left() + frame.width();
    const double frameBottom = frame.top() + frame.height();
    const int left = Nearest((frame.left() + frameRight - p.UExtent() * k) / 2);
    const int bottom = Nearest((frame.top() + frameBottom + p.VExtent() * k) / 2);
    const auto point = [&](std::size_t node) {
        return QPoint(Nearest((p.u[node] - p.uMin) * k + left),
                      Nearest(bottom - (p.v[node] - p.vMin) * k));
    };

    const std::size_t count = model.Nodes.size();
    lines.reserve(static_cast<qsizetype>(model.Elements.size()));
    for (const auto& [first, second] : model.Elements) {
        if (first < 1 || first > count || second < 1 || second > count)
            continue;
        lines.push_back(QLine(point(first - 1u), point(second - 1u)));
    }
    return lines;
}
