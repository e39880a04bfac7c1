#pragma once

#include "EdgeCondition.h"
#include "Mesh.h"
#include "MeshRegion.h"

#include <QWidget>
#include <vector>

// The mesh as the regions give it: elements in grey, the regions' outlines in blue with their
// numbers, fitted into the widget with the second coordinate upwards. Supported sides are
// drawn in green with small triangles at their ends, supported corners as a green triangle,
// and loaded sides carry red arrows along them, as long as the load at that point (the
// largest load of all as 30 pixels).
class MeshView : public QWidget {
    Q_OBJECT

public:
    explicit MeshView(QWidget* parent = nullptr);

    // `conditions` must name regions of `regions`.
    void SetMesh(const Mesh& mesh, const std::vector<MeshRegion>& regions,
                 const std::vector<EdgeCondition>& conditions);
    QSize sizeHint() const override { return {480, 360}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Mesh mesh_;
    std::vector<MeshRegion> regions_;
    std::vector<EdgeCondition> conditions_;
};
