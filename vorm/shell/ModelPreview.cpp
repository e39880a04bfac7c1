#include "ModelPreview.h"

#include <QtEndian>
#include <algorithm>
#include <cmath>
#include <utility>

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

// The plane of the drawing and the model's place in the frame.
struct Fitted {
    bool Axonometric = false;
    double UMin = 0, VMin = 0, K = 1;
    int Left = 0, Bottom = 0;

    void Plane(double x, double y, double z, double& u, double& v) const {
        constexpr double a = 0.5235987755982989; // 30 degrees, as Project
        if (Axonometric) {
            u = x * std::cos(a) + y * std::sin(a);
            v = (y * std::cos(a) - x * std::sin(a)) * std::sin(a) + z * std::cos(a);
        } else {
            u = x;
            v = z;
        }
    }
    QPointF Point(const std::array<float, 3>& p) const {
        double u = 0, v = 0;
        Plane(p[0], p[1], p[2], u, v);
        return {(u - UMin) * K + Left, Bottom - (v - VMin) * K};
    }
    // The screen direction of a world direction, one pixel long; one pointing at the viewer
    // goes down to the right.
    QPointF Direction(const std::array<float, 3>& d) const {
        double u = 0, v = 0;
        Plane(d[0], d[1], d[2], u, v);
        const double length = std::hypot(u, v);
        return length > 0.15 ? QPointF(u / length, -v / length) : QPointF(0.7, 0.7);
    }
};

using Kind = ModelPreview::Mark::Kind;

void Arrow(QVector<QLineF>& out, const QPointF& tail, const QPointF& head) {
    const QPointF d = head - tail;
    const double length = std::hypot(d.x(), d.y());
    if (!(length > 0))
        return;
    const QPointF unit = d / length, side(-unit.y(), unit.x());
    out << QLineF(tail, head) << QLineF(head, head - unit * 4 + side * 2.5)
        << QLineF(head, head - unit * 4 - side * 2.5);
}

void Ring(QVector<QLineF>& out, const QPointF& at, double radius) {
    for (int k = 0; k < 8; ++k) {
        const double a = k * 0.7853981633974483, b = (k + 1) * 0.7853981633974483;
        out << QLineF(at + QPointF(radius * std::cos(a), radius * std::sin(a)),
                      at + QPointF(radius * std::cos(b), radius * std::sin(b)));
    }
}

void Hatched(QVector<QLineF>& out, const QPointF& from, const QPointF& to) {
    const QPointF d = to - from;
    const double length = std::hypot(d.x(), d.y());
    const QPointF unit = length > 1 ? d / length : QPointF(1, 0);
    QPointF below(-unit.y(), unit.x());
    if (below.y() < 0)
        below = -below;
    const QPointF a = (length > 1 ? from : from - unit * 5) + below * 3;
    const QPointF b = (length > 1 ? to : from + unit * 5) + below * 3;
    out << QLineF(a, b);
    const int count = std::max(2, static_cast<int>(QLineF(a, b).length() / 4));
    for (int k = 0; k <= count; ++k) {
        const QPointF at = a + (b - a) * (double(k) / count);
        out << QLineF(at, at + below * 3 - unit * 2);
    }
}

void Spring(QVector<QLineF>& out, const QPointF& node, const QPointF& axis) {
    const QPointF side(-axis.y(), axis.x());
    QPointF last = node;
    for (int k = 1; k <= 5; ++k) {
        const QPointF next = node - axis * (2.0 * k + 1) + side * (k == 5 ? 0 : k % 2 ? 3 : -3);
        out << QLineF(last, next);
        last = next;
    }
    out << QLineF(last, node - axis * 14)
        << QLineF(node - axis * 14 - side * 4, node - axis * 14 + side * 4);
}

void DrawMark(ModelPreview::Picture& picture, const ModelPreview::Mark& mark, const Fitted& fit,
              const QRect& frame) {
    const QPointF at = fit.Point(mark.At), to = fit.Point(mark.To);
    const QPointF d = fit.Direction(mark.Direction);
    switch (mark.Type) {
    case Kind::Spring:
        Spring(picture.Supports, at, d);
        break;
    case Kind::TurnSpring:
        Ring(picture.Supports, at, 4);
        break;
    case Kind::Foundation:
        Hatched(picture.Supports, at, to);
        break;
    case Kind::Shift:
        Arrow(picture.Loads, at + d * 2, at + d * 14);
        break;
    case Kind::Turn:
    case Kind::Moment:
        Ring(picture.Loads, at, 5);
        break;
    case Kind::Force:
        Arrow(picture.Loads, at - d * 14, at);
        break;
    case Kind::PartialLoad:
        for (int k = 0; k <= 2; ++k) {
            const QPointF head = at + (to - at) * (k / 2.0);
            Arrow(picture.Loads, head - d * 10, head);
        }
        picture.Loads << QLineF(at - d * 10, to - d * 10);
        break;
    case Kind::Gravity: {
        const QPointF corner(frame.left() + 12, frame.top() + 12);
        Arrow(picture.Loads, corner - d * 10, corner + d * 10);
        break;
    }
    case Kind::Heat:
        picture.Heat << at;
        break;
    }
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

ModelPreview::Model ModelPreview::Read(const QByteArray& xyz, const QByteArray& j1j2,
                                       const QByteArray& marks) {
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
    const auto* records = reinterpret_cast<const uchar*>(marks.constData());
    for (qsizetype at = 0; at + 40 <= marks.size(); at += 40) {
        const quint16 kind = qFromLittleEndian<quint16>(records + at);
        if (kind < 1 || kind > static_cast<quint16>(Mark::Kind::PartialLoad))
            continue;
        Mark mark;
        mark.Type = static_cast<Mark::Kind>(kind);
        for (std::size_t c = 0; c < 3; ++c) {
            mark.At[c] = qFromLittleEndian<float>(records + at + 4 + 4 * c);
            mark.To[c] = qFromLittleEndian<float>(records + at + 16 + 4 * c);
            mark.Direction[c] = qFromLittleEndian<float>(records + at + 28 + 4 * c);
        }
        model.Marks.push_back(mark);
    }
    return model;
}

QVector<QLine> ModelPreview::Lines(const Model& model, int problemNumber, const QRect& frame) {
    return Draw(model, problemNumber, frame).Lines;
}

ModelPreview::Picture ModelPreview::Draw(const Model& model, int problemNumber,
                                         const QRect& frame) {
    Picture picture;
    if (model.Nodes.empty())
        return picture;
    bool axonometric = IsAxonometric(problemNumber);
    Projected p = Project(model, axonometric);
    // A flat model seen from the front has no height; the oblique view gives it one.
    if (p.UExtent() == 0 || p.VExtent() == 0) {
        axonometric = true;
        p = Project(model, true);
    }
    if (p.UExtent() == 0 || p.VExtent() == 0 || !std::isfinite(p.UExtent()) ||
        !std::isfinite(p.VExtent()))
        return picture;

    const double kx = frame.width() / p.UExtent();
    const double ky = frame.height() / p.VExtent();
    Fitted fit;
    fit.Axonometric = axonometric;
    fit.UMin = p.uMin;
    fit.VMin = p.vMin;
    fit.K = kx < ky ? kx : ky;
    const double frameRight = frame.left() + frame.width();
    const double frameBottom = frame.top() + frame.height();
    fit.Left = Nearest((frame.left() + frameRight - p.UExtent() * fit.K) / 2);
    fit.Bottom = Nearest((frame.top() + frameBottom + p.VExtent() * fit.K) / 2);
    const auto point = [&](std::size_t node) {
        return QPoint(Nearest((p.u[node] - p.uMin) * fit.K + fit.Left),
                      Nearest(fit.Bottom - (p.v[node] - p.vMin) * fit.K));
    };

    const std::size_t count = model.Nodes.size();
    picture.Lines.reserve(static_cast<qsizetype>(model.Elements.size()));
    for (const auto& [first, second] : model.Elements) {
        if (first < 1 || first > count || second < 1 || second > count)
            continue;
        picture.Lines.push_back(QLine(point(first - 1u), point(second - 1u)));
    }
    bool gravity = false;
    for (const Mark& mark : model.Marks) {
        // Self-weight once, whatever the number of cases that carry it.
        if (mark.Type == Mark::Kind::Gravity && std::exchange(gravity, true))
            continue;
        DrawMark(picture, mark, fit, frame);
    }
    return picture;
}
