#include "ResponsePlot.h"

#include "ResultChoice.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace {

// A tick's number as short as it is round: "0.0005", "12.5", "2e-05".
QString Tick(double value) {
    return QString::number(value, 'g', 6);
}

} // namespace

ResponsePlot::ResponsePlot(QWidget* parent) : QWidget(parent) {
    setMinimumSize(260, 160);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ResponsePlot::SetCurve(std::vector<double> x, std::vector<double> y, const QString& xTitle,
                            const QString& yTitle) {
    x_ = std::move(x);
    y_ = std::move(y);
    y_.resize(x_.size());
    xTitle_ = xTitle;
    yTitle_ = yTitle;
    if (x_.empty()) {
        xAxis_ = PlotAxis();
        yAxis_ = PlotAxis();
    } else {
        xAxis_ = PlotAxis(x_.front(), x_.back(), 6);
        const auto [low, high] = std::minmax_element(y_.begin(), y_.end());
        // An amplitude or a motion about rest: 0 stays on the axis.
        yAxis_ = PlotAxis(std::min(*low, 0.0), std::max(*high, 0.0), 5);
    }
    marker_ = std::clamp(marker_, -1, static_cast<int>(x_.size()) - 1);
    update();
}

void ResponsePlot::SetMarker(int point) {
    if (point == marker_)
        return;
    marker_ = point;
    update();
}

QRectF ResponsePlot::PlotArea() const {
    const QFontMetrics metrics(font());
    const double left = metrics.horizontalAdvance(QStringLiteral("-0.0000e-00")) + 10;
    return QRectF(left, metrics.height() + 10, width() - left - 14,
                  height() - 3 * metrics.height() - 22);
}

void ResponsePlot::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    const QRectF area = PlotArea();
    const QFontMetrics metrics(font());
    painter.setPen(QColor(20, 20, 20));
    if (x_.empty() || area.width() < 20 || area.height() < 20) {
        painter.drawText(rect(), Qt::AlignCenter,
                         QStringLiteral("Choose an excitation of forced vibrations\n"
                                        "and a node or an element"));
        return;
    }
    const auto at = [&](double x, double y) {
        return QPointF(area.left() + xAxis_.Share(x) * area.width(),
                       area.bottom() - yAxis_.Share(y) * area.height());
    };
    // The grid and the ticks' numbers.
    for (double tick : xAxis_.Ticks()) {
        const QPointF p = at(tick, yAxis_.Low());
        painter.setPen(QColor(225, 225, 225));
        painter.drawLine(QPointF(p.x(), area.top()), QPointF(p.x(), area.bottom()));
        painter.setPen(QColor(20, 20, 20));
        painter.drawLine(p, p + QPointF(0, 4));
        // Centred under its tick; the last kept inside the widget.
        const QString label = Tick(tick);
        const double labelWidth = metrics.horizontalAdvance(label) + 2;
        painter.drawText(QRectF(std::min(p.x() - labelWidth / 2, width() - labelWidth - 2),
                                area.bottom() + 5, labelWidth, metrics.height()),
                         Qt::AlignHCenter | Qt::AlignTop, label);
    }
    for (double tick : yAxis_.Ticks()) {
        const QPointF p = at(xAxis_.Low(), tick);
        painter.setPen(tick == 0 ? QColor(150, 150, 150) : QColor(225, 225, 225));
        painter.drawLine(QPointF(area.left(), p.y()), QPointF(area.right(), p.y()));
        painter.setPen(QColor(20, 20, 20));
        painter.drawLine(p, p - QPointF(4, 0));
        painter.drawText(
            QRectF(0, p.y() - metrics.height() / 2.0, area.left() - 7, metrics.height()),
            Qt::AlignRight | Qt::AlignVCenter, Tick(tick));
    }
    painter.setPen(QColor(60, 60, 60));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(area);
    painter.setPen(QColor(20, 20, 20));
    painter.drawText(
        QRectF(area.left(), area.bottom() + metrics.height() + 8, area.width(), metrics.height()),
        Qt::AlignHCenter, xTitle_);
    painter.drawText(QRectF(area.left(), 3, area.width(), metrics.height()), Qt::AlignLeft,
                     yTitle_);
    // The curve: one point per pixel column at most where there are many.
    QPolygonF curve;
    curve.reserve(static_cast<qsizetype>(x_.size()));
    for (size_t k = 0; k < x_.size(); ++k)
        curve << at(x_[k], y_[k]);
    painter.setRenderHint(QPainter::Antialiasing, x_.size() < 5000);
    painter.setClipRect(area.adjusted(-1, -1, 1, 1));
    painter.setPen(QPen(QColor(0, 90, 200), 1.5));
    painter.drawPolyline(curve);
    if (marker_ >= 0 && marker_ < static_cast<int>(x_.size())) {
        const QPointF m = at(x_[static_cast<size_t>(marker_)], y_[static_cast<size_t>(marker_)]);
        painter.setPen(QPen(QColor(205, 110, 0), 1, Qt::DashLine));
        painter.drawLine(QPointF(m.x(), area.top()), QPointF(m.x(), area.bottom()));
        painter.setPen(QPen(QColor(205, 110, 0), 7, Qt::SolidLine, Qt::RoundCap));
        painter.drawPoint(m);
        painter.setClipping(false);
        painter.setPen(QColor(20, 20, 20));
        // "f = 11.50 Hz: 0.001947" from the abscissa's title "f [Hz]".
        const qsizetype bracket = xTitle_.indexOf(QStringLiteral(" ["));
        const QString unit = bracket < 0 ? QString() : u' ' + xTitle_.mid(bracket + 2).chopped(1);
        const QString text = QStringLiteral("%1 = %2%3: %4")
                                 .arg(bracket < 0 ? xTitle_ : xTitle_.left(bracket),
                                      ResultChoice::Number(x_[static_cast<size_t>(marker_)]), unit,
                                      ResultChoice::Number(y_[static_cast<size_t>(marker_)]));
        painter.drawText(QRectF(area.left(), 3, area.width() - 4, metrics.height()), Qt::AlignRight,
                         text);
    }
}

void ResponsePlot::mousePressEvent(QMouseEvent* event) {
    const QRectF area = PlotArea();
    if (x_.empty() || area.width() <= 0)
        return;
    const double x = xAxis_.Low() + (event->position().x() - area.left()) / area.width() *
                                        (xAxis_.High() - xAxis_.Low());
    const auto after = std::lower_bound(x_.begin(), x_.end(), x);
    size_t k = static_cast<size_t>(after - x_.begin());
    if (k == x_.size() || (k > 0 && x - x_[k - 1] < x_[k] - x))
        k = k == 0 ? 0 : k - 1;
    emit PointClicked(static_cast<int>(k));
}
