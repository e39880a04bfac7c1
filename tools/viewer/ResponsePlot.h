#pragma once

#include "PlotAxis.h"

#include <QString>
#include <QWidget>
#include <vector>

// A curve against its abscissa with axes, round ticks and their units, and a marker at the
// point drawn in the model: a time history, or the amplitudes of a frequency response. A click
// picks the point nearest it along the abscissa.
class ResponsePlot : public QWidget {
    Q_OBJECT

public:
    explicit ResponsePlot(QWidget* parent = nullptr);

    // The points (x ascending); the axes' titles with their units ("t [s]", "Node 5 uz [m]").
    void SetCurve(std::vector<double> x, std::vector<double> y, const QString& xTitle,
                  const QString& yTitle);
    void SetMarker(int point);
    int Marker() const { return marker_; }
    const PlotAxis& XAxis() const { return xAxis_; }
    const PlotAxis& YAxis() const { return yAxis_; }
    QSize sizeHint() const override { return {420, 240}; }

signals:
    void PointClicked(int point);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QRectF PlotArea() const;

    std::vector<double> x_, y_;
    QString xTitle_, yTitle_;
    PlotAxis xAxis_, yAxis_;
    int marker_ = -1;
};
