#pragma once

#include "EdgeCondition.h"
#include "Mesh.h"
#include "MeshRegion.h"

#include <QWidget>
#include <optional>
#include <vector>

class QPainter;

// The mesh as the regions give it: elements in grey, the regions' outlines in blue with their
// numbers, fitted into the widget with the second coordinate upwards. Supported sides are
// drawn in green with a support at their ends, supported corners as a support alone: a filled
// triangle where every displacement is fixed, a hollow one over a line (a roller) where some
// are free. Loads are red: on plane regions arrows along the loaded sides, as long as the load
// there (the largest load of all as 30 pixels); on a plate, whose loads act across it, a
// loaded side carries circles as large as the load, with a cross where it points away from
// the viewer (down, along -z) and a dot where it points towards them, and a region under
// pressure is tinted and carries the circle and its value.
class MeshView : public QWidget {
    Q_OBJECT

public:
    // `plate`: the loads act across the drawing (along z) instead of in its plane.
    explicit MeshView(bool plate = false, QWidget* parent = nullptr);

    // `conditions` must name regions of `regions`.
    void SetMesh(const Mesh& mesh, const std::vector<MeshRegion>& regions,
                 const std::vector<EdgeCondition>& conditions);
    QSize sizeHint() const override { return {480, 360}; }
    // Where a point of the model is drawn in the widget.
    QPointF Map(const QPointF& point) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // The model's box fitted into the widget: model point `Centre` lands on `Middle`.
    struct Fit {
        QPointF Centre;
        QPointF Middle;
        double Scale = 1;
        QPointF operator()(const QPointF& p) const {
            return {Middle.x() + (p.x() - Centre.x()) * Scale,
                    Middle.y() - (p.y() - Centre.y()) * Scale};
        }
    };
    std::optional<Fit> Fitted() const;
    void DrawSupports(QPainter& painter, const Fit& map) const;
    void DrawPlaneLoads(QPainter& painter, const Fit& map) const;
    void DrawPlateLoads(QPainter& painter, const Fit& map) const;

    bool plate_;
    Mesh mesh_;
    std::vector<MeshRegion> regions_;
    std::vector<EdgeCondition> conditions_;
};
