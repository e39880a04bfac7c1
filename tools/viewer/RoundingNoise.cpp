#include "RoundingNoise.h"

#include <algorithm>
#include <cmath>

namespace {

double Length(const ViewerModel::Vector& v) {
    return std::hypot(v[0], v[1], v[2]);
}

// Reaction components that are moments: those that hold a rotation (rx, rot).
bool IsMoment(const QString& component) {
    return !component.startsWith(u'u');
}

// Which of the reactions' components, or of the columns of element forces, are moments.
std::vector<bool> Moments(const QStringList& components) {
    std::vector<bool> moments;
    for (const QString& component : components)
        moments.push_back(IsMoment(component));
    return moments;
}

std::vector<bool> Moments(const ResultLayout& forces) {
    std::vector<bool> moments;
    for (const ResultColumn& column : forces.Columns)
        moments.push_back(column.What == ResultColumn::Quantity::Moment ||
                          column.What == ResultColumn::Quantity::MomentPerLength);
    return moments;
}

// The sizes of a force and a moment of one load case.
struct Sizes {
    double Force = 0, Moment = 0;
};

template <typename Reaction>
Sizes SizesOf(const ViewerModel& model, const ProblemType& type, int number,
              const std::vector<Reaction>& reactions, const QStringList& components) {
    Sizes sizes;
    for (const Reaction& r : reactions) {
        for (size_t k = 0; k < r.Values.size() && k < size_t(components.size()); ++k) {
            double& size = IsMoment(components[qsizetype(k)]) ? sizes.Moment : sizes.Force;
            size = std::max(size, std::abs(r.Values[k]));
        }
    }
    const double length = model.Nodes.empty() ? 0 : ViewerModel::BoxAround(model.Nodes).Diagonal();
    const ProblemType::Mesh mesh = type.Meshes;
    const double area = mesh == ProblemType::Mesh::Plate || mesh == ProblemType::Mesh::Shell
                            ? length * length
                            : length;
    for (const ViewerModel::Load& load : model.Loads) {
        if (load.Case != number)
            continue;
        sizes.Force = std::max(sizes.Force, Length(load.Force) * (load.Distributed ? area : 1));
        sizes.Moment = std::max(sizes.Moment, Length(load.Moment));
    }
    sizes.Moment = std::max(sizes.Moment, sizes.Force * length);
    return sizes;
}

// Sets `values`, rows of columns one after another, that are noise to 0; `moments` says which
// columns are moments.
void ClearRows(std::vector<double>& values, const std::vector<bool>& moments, const Sizes& sizes) {
    const size_t width = moments.size();
    for (size_t k = 0; width > 0 && k < values.size(); ++k) {
        const bool moment = moments[k % width];
        if (std::abs(values[k]) < RoundingNoise::Share * (moment ? sizes.Moment : sizes.Force))
            values[k] = 0;
    }
}

} // namespace

void RoundingNoise::Clear(ResultFile::Contents& contents, const ProblemType& type,
                          const ViewerModel& model) {
    if (contents.Type == ResultFile::Kind::Statics) {
        StaticResults& r = contents.Statics;
        const std::vector<bool> reactionMoments = Moments(r.Components);
        const std::vector<bool> forceMoments = Moments(r.Forces);
        for (StaticResults::Case& c : r.Cases) {
            const Sizes sizes = SizesOf(model, type, c.Number, c.Reactions, r.Components);
            for (StaticResults::Reaction& reaction : c.Reactions)
                ClearRows(reaction.Values, reactionMoments, sizes);
            ClearRows(c.Forces, forceMoments, sizes);
        }
    } else if (contents.Type == ResultFile::Kind::Field) {
        FieldResults& r = contents.Field;
        const std::vector<bool> reactionMoments = Moments(r.Components);
        for (FieldResults::Case& c : r.Cases) {
            const Sizes sizes = SizesOf(model, type, c.Number, c.Reactions, r.Components);
            for (FieldResults::Reaction& reaction : c.Reactions)
                ClearRows(reaction.Values, reactionMoments, sizes);
        }
    }
}
