#include "BarOrdinates.h"

#include "BarArc.h"

namespace {

BarAxes::Vec3 ToVec(const ViewerModel::Point& p) {
    return {p[0], p[1], p[2]};
}

} // namespace

std::vector<BarAxes::Vec3> BarOrdinates::Loads(const ViewerModel& model, int loadCase) {
    std::vector<BarAxes::Vec3> loads(model.Bars.size(), BarAxes::Vec3{0, 0, 0});
    for (const ViewerModel::Load& load : model.Loads) {
        if (load.Case != loadCase || !load.Distributed || load.Element < 0 ||
            load.Element >= static_cast<int>(loads.size()))
            continue;
        BarAxes::Vec3& sum = loads[static_cast<size_t>(load.Element)];
        sum = BarAxes::Sum(sum, load.Force);
    }
    return loads;
}

std::vector<BarAxes::Vec3> BarOrdinates::Loads(const ViewerModel& model,
                                               const StaticResults::Case& loadCase) {
    if (loadCase.Terms.empty())
        return Loads(model, loadCase.Number);
    std::vector<BarAxes::Vec3> loads(model.Bars.size(), BarAxes::Vec3{0, 0, 0});
    for (const auto& [number, factor] : loadCase.Terms) {
        const std::vector<BarAxes::Vec3> term = Loads(model, number);
        for (size_t e = 0; e < loads.size(); ++e)
            for (size_t k = 0; k < 3; ++k)
                loads[e][k] += factor * term[e][k];
    }
    return loads;
}

std::vector<BarOrdinates> BarOrdinates::Of(const ViewerModel& model, const ProblemType& type,
                                           const StaticResults& statics,
                                           const StaticResults::Case& loadCase,
                                           const ResultQuantity& quantity) {
    const ProblemType::Layout frame = type.Lies;
    const std::vector<BarAxes::Vec3> loads = Loads(model, loadCase);
    const size_t width = static_cast<size_t>(statics.ForceCount());
    std::vector<BarOrdinates> list(model.Bars.size());
    for (size_t e = 0; e < model.Bars.size(); ++e) {
        const ViewerModel::Bar& bar = model.Bars[e];
        const BarAxes axes = BarAxes::Of(frame, ToVec(model.Nodes[static_cast<size_t>(bar.I)]),
                                         ToVec(model.Nodes[static_cast<size_t>(bar.J)]), bar.Beta);
        BarOrdinates& o = list[e];
        if ((e + 1) * width > loadCase.Forces.size())
            break;
        o.I = loadCase.Forces[e * width + static_cast<size_t>(quantity.ColumnI)];
        o.J = loadCase.Forces[e * width + static_cast<size_t>(quantity.ColumnJ)];
        o.Length = axes.Length;
        if (bar.Radius != 0) {
            // N, V and M at end i give the section forces all along the arc.
            const auto at = [&](const char* name) {
                const int column = statics.Forces.IndexOf(QLatin1String(name));
                return column < 0 ? 0.0 : loadCase.Forces[e * width + static_cast<size_t>(column)];
            };
            const std::vector<BarAxes::Vec3> points =
                BarArc::Points(ToVec(model.Nodes[static_cast<size_t>(bar.I)]),
                               ToVec(model.Nodes[static_cast<size_t>(bar.J)]), bar.Radius);
            for (const BarArc::Section& s :
                 BarArc::Sections(points, {at("Ni"), at("Vi"), at("Mi")}, loads[e]))
                o.Arc.push_back(quantity.Name == QLatin1String("N")   ? s.N
                                : quantity.Name == QLatin1String("V") ? s.V
                                                                      : s.M);
        } else if (quantity.BulgeAxis >= 0) {
            o.Bulge = quantity.BulgeSign *
                      axes.ToLocal(loads[e])[static_cast<size_t>(quantity.BulgeAxis)];
        }
    }
    return list;
}
