#include "MeshFamily.h"

#include "MeridianFamily.h"
#include "PlaneFamily.h"
#include "SolidFamily.h"
#include "SurfaceFamily.h"

std::unique_ptr<MeshFamily> MeshFamily::Of(const MeshModel& model) {
    switch (model.Kind) {
    case ProblemType::Mesh::Plate:
    case ProblemType::Mesh::Shell:
        return std::make_unique<SurfaceFamily>(model.Kind == ProblemType::Mesh::Plate);
    case ProblemType::Mesh::Solid:
        return std::make_unique<SolidFamily>();
    case ProblemType::Mesh::Meridian:
        return std::make_unique<MeridianFamily>();
    default:
        return std::make_unique<PlaneFamily>(model.Kind);
    }
}

DofNumbering::Wording MeshFamily::Wording() const {
    DofNumbering::Wording wording;
    wording.Whole = QStringLiteral("model");
    wording.Part = QStringLiteral("element");
    return wording;
}

Element::Vector MeshFamily::ElementLoad(const MeshModel::ElementLoad& /*load*/) const {
    return {};
}

void MeshFamily::AddCorner(size_t /*e*/, size_t /*a*/, const double* row, int own,
                           double* into) const {
    for (int s = 0; s < own; ++s)
        into[s] += row[s];
}
