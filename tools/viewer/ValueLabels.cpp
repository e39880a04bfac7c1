#include "ValueLabels.h"

#include "ResultChoice.h"

#include <QPainter>
#include <algorithm>
#include <cmath>
#include <map>

ValueLabels::ValueLabels(QPainter& painter, const QRect& area)
    : painter_(painter), placer_(QRectF(area), QFontMetricsF(painter.font())),
      values_(QRectF(area), QFontMetricsF(painter.font())), metrics_(painter.font()) {}

void ValueLabels::Reserve(const QRectF& box) {
    placer_.Reserve(box);
    values_.Reserve(box);
}

std::vector<QRectF> ValueLabels::Boxes(const Mark& mark) {
    constexpr double Piece = 10, Pen = 1.5;
    std::vector<QRectF> boxes;
    for (const QLineF& line : mark.Lines) {
        const int pieces = std::max(1, int(std::ceil(line.length() / Piece)));
        for (int k = 0; k < pieces; ++k) {
            const QPointF a = line.pointAt(double(k) / pieces);
            const QPointF b = line.pointAt(double(k + 1) / pieces);
            boxes.push_back(QRectF(a, b).normalized().adjusted(-Pen, -Pen, Pen, Pen));
        }
    }
    for (const QPolygonF& head : mark.Heads)
        boxes.push_back(head.boundingRect().adjusted(-Pen, -Pen, Pen, Pen));
    return boxes;
}

void ValueLabels::Place(std::vector<Text>& texts) {
    const auto larger = [](const Text& a, const Text& b) {
        return std::abs(a.Value) > std::abs(b.Value);
    };
    const size_t tries = std::min(texts.size(), size_t(Tries));
    const auto last = texts.begin() + static_cast<std::ptrdiff_t>(tries);
    std::nth_element(texts.begin(), last == texts.end() ? texts.begin() : last, texts.end(),
                     larger);
    std::sort(texts.begin(), last, larger);
    struct Written {
        QRectF Box;
        QString Text;
        QColor Colour;
    };
    std::vector<Written> written;
    // The marks of one colour in one call: thousands of arrows.
    std::map<QRgb, Mark> marks;
    const QRectF area = placer_.Area();
    for (size_t k = 0; k < tries; ++k) {
        const Text& t = texts[k];
        const QString text = t.Prefix + ResultChoice::Number(t.Value);
        const std::vector<QRectF> boxes = Boxes(t.With);
        if (!std::all_of(boxes.begin(), boxes.end(),
                         [this](const QRectF& box) { return values_.Free(box); }))
            continue;
        QPointF at = t.At;
        if (!t.Along.isNull()) {
            const double width = metrics_.horizontalAdvance(text) + 4;
            at += t.Along * (std::abs(t.Along.x()) * width / 2 +
                             std::abs(t.Along.y()) * metrics_.height() / 2);
        }
        const std::optional<QRectF> box = placer_.Place(text, at, t.Away, t.Tries);
        if (!box)
            continue;
        values_.Reserve(*box);
        written_.push_back(*box);
        for (const QRectF& piece : boxes) {
            placer_.Reserve(piece);
            if (piece.intersects(area))
                marked_.push_back(piece.intersected(area));
        }
        written.push_back({*box, text, t.Colour});
        Mark& mark = marks[t.Colour.rgba()];
        mark.Lines += t.With.Lines;
        mark.Heads.insert(mark.Heads.end(), t.With.Heads.begin(), t.With.Heads.end());
    }
    for (const auto& [colour, mark] : marks)
        Draw(painter_, mark, QColor::fromRgba(colour));
    for (const Written& w : written) {
        painter_.setPen(Qt::NoPen);
        painter_.setBrush(QColor(255, 255, 255, 200));
        painter_.drawRect(w.Box);
        painter_.setPen(w.Colour);
        painter_.drawText(w.Box, Qt::AlignCenter, w.Text);
    }
}

ValueLabels::Text ValueLabels::Force(double value, const QPointF& node, const QPointF& direction,
                                     const QString& prefix, const QColor& colour) {
    const QPointF head = node - direction * 22, tail = head - direction * 36;
    Text text{value, tail - direction * 6, -direction, prefix, colour, {}};
    // Beyond the tail, and nowhere else: further on it would belong to no arrow.
    text.Along = -direction;
    text.Tries = 1;
    text.With.Lines.append(QLineF(tail, head));
    text.With.Heads.push_back(Head(head, direction));
    return text;
}

QPolygonF ValueLabels::Head(const QPointF& tip, const QPointF& unit) {
    const QPointF side(-unit.y(), unit.x());
    return QPolygonF{tip, tip - unit * 9 + side * 3.5, tip - unit * 9 - side * 3.5};
}

void ValueLabels::Draw(QPainter& painter, const Mark& mark, const QColor& colour) {
    painter.setPen(QPen(colour, 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawLines(mark.Lines);
    painter.setBrush(colour);
    for (const QPolygonF& head : mark.Heads)
        painter.drawConvexPolygon(head);
}
