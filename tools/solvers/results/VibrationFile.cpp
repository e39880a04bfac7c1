#include "VibrationFile.h"

namespace VibrationFile {

namespace {

using Forced = ResultFile::Forced;

// A motion's values at the nodes and inner points, unscaled.
std::vector<double> Frame(const Eigen::VectorXd& u, const Scale& scale) {
    std::vector<double> nodes, inner;
    const double factor = scale(u, nodes, inner);
    nodes.insert(nodes.end(), inner.begin(), inner.end());
    for (double& v : nodes)
        v /= factor;
    return nodes;
}

Forced::Excitation History(const ForcedVibration::Model& model,
                           const ForcedVibration::HistoryResponse& h,
                           const VibrationReport::Layout& layout, const Scale& scale,
                           const Eigen::VectorXd& factors) {
    Forced::Excitation x;
    x.Type = Forced::Kind::History;
    x.Abscissae = h.Times;
    if (h.Direct()) {
        for (size_t k = 0; k < h.Times.size(); ++k) {
            const Eigen::VectorXd u = h.Motion(model, k);
            const std::vector<double> frame = Frame(u, scale);
            x.Frames.insert(x.Frames.end(), frame.begin(), frame.end());
            if (model.ElementValues) {
                const Eigen::VectorXd values = model.ElementValues(u);
                x.Frames.insert(x.Frames.end(), values.begin(), values.end());
            }
        }
    } else {
        // u = sum phi_i q_i = sum (f_i phi_i) (q_i / f_i): the file's shapes are f_i phi_i.
        const Eigen::MatrixXd q = factors.cwiseInverse().asDiagonal() * h.Coordinates;
        x.Coordinates.assign(q.data(), q.data() + q.size());
    }
    x.NodePeaks = VibrationReport::NodePeaks(h.Peaks, layout);
    if (model.ElementModes.size() > 0)
        x.ElementPeaks = VibrationReport::ElementPeaks(h.ElementPeaks);
    return x;
}

} // namespace

ResultFile::Forced Of(const ForcedVibration::Model& model,
                      const std::vector<ForcedVibration::Response>& responses,
                      const VibrationReport::Layout& layout, const Scale& scale) {
    Forced forced;
    const Eigen::Index modes = model.Modes.Count();
    Eigen::VectorXd factors(modes);
    for (Eigen::Index i = 0; i < modes; ++i) {
        std::vector<double> nodes, inner;
        factors[i] = scale(model.Modes.Shapes.col(i), nodes, inner);
    }
    if (model.ElementModes.size() > 0) {
        forced.Columns = layout.ElementColumns;
        for (Eigen::Index i = 0; i < modes; ++i) {
            const Eigen::VectorXd values = model.ElementModes.col(i) * factors[i];
            forced.ShapeElements.emplace_back(values.begin(), values.end());
        }
    } else {
        forced.ShapeElements.resize(static_cast<size_t>(modes));
    }
    for (const ForcedVibration::Response& r : responses) {
        Forced::Excitation x;
        if (const auto* h = std::get_if<ForcedVibration::HarmonicResponse>(&r.Result)) {
            x.Abscissae = h->Frequencies;
            for (const Eigen::VectorXcd& c : h->Coordinates)
                for (Eigen::Index i = 0; i < c.size(); ++i) {
                    x.Coordinates.push_back(c[i].real() / factors[i]);
                    x.Coordinates.push_back(c[i].imag() / factors[i]);
                }
        } else if (const auto* t = std::get_if<ForcedVibration::HistoryResponse>(&r.Result)) {
            x = History(model, *t, layout, scale, factors);
        } else {
            const auto& s = std::get<ForcedVibration::SpectrumResponse>(r.Result);
            x.Type = Forced::Kind::Spectrum;
            for (size_t d = 0; d < s.Directions.size(); ++d)
                x.BaseShears.emplace_back(s.Directions[d], s.BaseShear[d]);
            x.NodePeaks =
                VibrationReport::AtNodes(layout, [&](int e) { return s.Displacements[e]; });
            x.ElementPeaks.assign(s.ElementPeaks.begin(), s.ElementPeaks.end());
        }
        x.Number = r.Excitation;
        forced.List.push_back(std::move(x));
    }
    return forced;
}

} // namespace VibrationFile
