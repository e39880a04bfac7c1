#pragma once

#include "Mesh.h"
#include "MeshRegion.h"

#include <QWidget>
#include <vector>

// The mesh as the regions give it: elements in grey, the regions' outlines in blue with their
// numbers, fitted into the widget with the second coordinate upwards.
class MeshView : public QWidget {
    Q_OBJECT

public:
    explicit MeshView(QWidget* parent = nullptr);

    void SetMesh(const Mesh& mesh, const std::vector<MeshRegion>& regions);
    QSize sizeHint() const override { return {480, 360}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Mesh mesh_;
    std::vector<MeshRegion> regions_;
};
