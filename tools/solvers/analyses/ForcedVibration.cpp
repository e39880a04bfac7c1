#include "ForcedVibration.h"

#include "SolverError.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace ForcedVibration {

namespace {

constexpr double TwoPi = 2 * std::numbers::pi;

Eigen::VectorXd Damping(const Model& model, const Excitations& excitations) {
    Eigen::VectorXd zeta = Eigen::VectorXd::Constant(model.Modes.Count(), 0.05);
    for (Eigen::Index i = 0;
         i < zeta.size() && i < static_cast<Eigen::Index>(excitations.Damping.size()); ++i)
        zeta[i] = excitations.Damping[static_cast<size_t>(i)];
    return zeta;
}

// The node loads of one excitation on the equations.
Eigen::VectorXd Loads(const Model& model, const Excitations& excitations, int excitation) {
    Eigen::VectorXd f = Eigen::VectorXd::Zero(model.Stiffness->rows());
    for (const NodeLoad& load : excitations.Loads) {
        if (load.Excitation != excitation)
            continue;
        for (int c = 0; c < 6; ++c) {
            const int e = model.Equation(load.Node, c);
            if (e >= 0)
                f[e] += load.Values[static_cast<size_t>(c)];
        }
    }
    return f;
}

// 1 on every translation along `direction`: the motion of the model carried by the ground.
Eigen::VectorXd Influence(const Model& model, int direction) {
    Eigen::VectorXd r = Eigen::VectorXd::Zero(model.Stiffness->rows());
    for (int node = 0; node < model.Nodes; ++node) {
        const int e = model.Equation(node, direction);
        if (e >= 0)
            r[e] = 1;
    }
    return r;
}

HarmonicResponse SolveHarmonic(const Model& model, const Excitations& excitations,
                               const Eigen::VectorXd& zeta, int number, const Harmonic& h) {
    HarmonicResponse response;
    const Eigen::VectorXd force = Loads(model, excitations, number);
    for (int k = 0; k < h.Steps; ++k) {
        const double f = h.Steps == 1 ? h.From : h.From + (h.To - h.From) * k / (h.Steps - 1);
        response.Frequencies.push_back(f);
        response.Coordinates.push_back(
            ModalResponse::HarmonicCoordinates(model.Modes, zeta, force, TwoPi * f));
    }
    return response;
}

// The peaks over time of `map` times each instant's coordinates, a few instants at a time so
// that a large model never holds its whole motion.
void PeaksOf(const Eigen::MatrixXd& map, const Eigen::MatrixXd& coordinates,
             const std::vector<double>& times, Extremes& peaks) {
    constexpr Eigen::Index Block = 64;
    for (Eigen::Index first = 0; first < coordinates.cols(); first += Block) {
        const Eigen::Index count = std::min(Block, coordinates.cols() - first);
        peaks.Take(map * coordinates.middleCols(first, count), times, static_cast<size_t>(first));
    }
}

int StepsOf(const History& h) {
    return std::max(1, static_cast<int>(std::lround(h.Duration / h.Step)));
}

// A history integrated on all the equations: the node loads times their function, and the
// inertia -M r a(t) of the masses carried by the accelerating ground.
HistoryResponse SolveDirectly(const Model& model, const Excitations& excitations, int number,
                              const History& h) {
    const Eigen::VectorXd force = Loads(model, excitations, number);
    std::vector<std::pair<Eigen::VectorXd, const GroundMotion*>> ground;
    for (const GroundMotion& g : excitations.Ground)
        if (g.Excitation == number)
            ground.emplace_back(
                model.Mass->selfadjointView<Eigen::Upper>() * Influence(model, g.Direction), &g);
    const auto load = [&](double t, Eigen::VectorXd& f) {
        if (h.Function > 0)
            f += force * excitations.Value(h.Function, t);
        for (const auto& [inertia, g] : ground)
            f -= inertia * (g->Factor * excitations.Gravity * excitations.Value(g->Source, t));
    };
    const int steps = StepsOf(h);
    HistoryResponse response;
    response.Displacements.resize(model.Stiffness->rows(), steps + 1);
    DirectIntegration::Newmark newmark(*model.Stiffness, *model.Mass,
                                       RayleighOf(model, excitations), h.Step);
    newmark.Run(steps, load, [&](int step, double t, const Eigen::VectorXd& u) {
        response.Times.push_back(t);
        response.Displacements.col(step) = u;
        if (model.ElementValues)
            response.ElementPeaks.Take(model.ElementValues(u), response.Times,
                                       response.Times.size() - 1);
    });
    response.Peaks.Take(response.Displacements, response.Times, 0);
    return response;
}

HistoryResponse SolveHistory(const Model& model, const Excitations& excitations,
                             const Eigen::VectorXd& zeta, int number, const History& h) {
    if (h.Direct)
        return SolveDirectly(model, excitations, number, h);
    const Eigen::MatrixXd& shapes = model.Modes.Shapes;
    // The modal loads: the node loads times their function, and the inertia of the masses
    // carried by the accelerating ground, -M r a(t), in each direction.
    const Eigen::VectorXd modalForce = shapes.transpose() * Loads(model, excitations, number);
    std::vector<std::pair<Eigen::VectorXd, const GroundMotion*>> ground;
    for (const GroundMotion& g : excitations.Ground)
        if (g.Excitation == number)
            ground.emplace_back(Participation(model, g.Direction).Factors, &g);
    const auto load = [&](double t, Eigen::VectorXd& p) {
        p = h.Function > 0 ? Eigen::VectorXd(modalForce * excitations.Value(h.Function, t))
                           : Eigen::VectorXd::Zero(shapes.cols());
        for (const auto& [factors, g] : ground)
            p -= factors * (g->Factor * excitations.Gravity * excitations.Value(g->Source, t));
    };
    const int steps = StepsOf(h);
    HistoryResponse response;
    response.Coordinates = ModalResponse::History(model.Modes, zeta, h.Step, steps, load);
    for (int k = 0; k <= steps; ++k)
        response.Times.push_back(k * h.Step);
    PeaksOf(shapes, response.Coordinates, response.Times, response.Peaks);
    if (model.ElementModes.size() > 0)
        PeaksOf(model.ElementModes, response.Coordinates, response.Times, response.ElementPeaks);
    return response;
}

SpectrumResponse SolveSpectrum(const Model& model, const Excitations& excitations,
                               const Eigen::VectorXd& zeta, int number, const Spectrum& s) {
    SpectrumResponse response;
    std::vector<Eigen::MatrixXd> displacements, elements;
    for (const GroundMotion& g : excitations.Ground) {
        if (g.Excitation != number)
            continue;
        const auto found = excitations.Spectra.find(g.Source);
        if (found == excitations.Spectra.end())
            continue;
        const ModalResponse::Participation p = Participation(model, g.Direction);
        const Eigen::Index modes = model.Modes.Count();
        Eigen::VectorXd factors(modes), shear(modes);
        for (Eigen::Index i = 0; i < modes; ++i) {
            const double w = model.Modes.Omega[i];
            // A mode at 0 Hz moves with the ground; its period is infinite.
            const double sa =
                w > 0 ? g.Factor * excitations.Gravity * found->second.At(TwoPi / w) : 0;
            factors[i] = w > 0 ? p.Factors[i] * sa / (w * w) : 0;
            shear[i] = p.Effective[i] * sa;
        }
        response.Directions.push_back(g.Direction);
        response.ModeFactors.push_back(factors);
        response.ModeShears.push_back(shear);
        response.BaseShear.push_back(ModalResponse::Combine(Eigen::MatrixXd(shear.transpose()),
                                                            model.Modes.Omega, zeta, s.Modes)[0]);
        displacements.push_back(model.Modes.Shapes * factors.asDiagonal());
        if (model.ElementModes.size() > 0)
            elements.push_back(model.ElementModes * factors.asDiagonal());
    }
    response.Displacements = CombinePeaks(displacements, model, excitations, s);
    if (model.ElementModes.size() > 0)
        response.ElementPeaks = elements.empty() ? Eigen::VectorXd::Zero(model.ElementModes.rows())
                                                 : CombinePeaks(elements, model, excitations, s);
    return response;
}

// Whether every number a response gives is finite: an undamped mode driven at its own
// frequency has no steady state, and nothing infinite may reach a protocol or a file.
bool Finite(const std::variant<HarmonicResponse, HistoryResponse, SpectrumResponse>& result) {
    if (const auto* h = std::get_if<HarmonicResponse>(&result))
        return std::all_of(h->Coordinates.begin(), h->Coordinates.end(),
                           [](const Eigen::VectorXcd& c) { return c.allFinite(); });
    if (const auto* t = std::get_if<HistoryResponse>(&result))
        return t->Coordinates.allFinite() && t->Displacements.allFinite() &&
               t->Peaks.Max.allFinite() && t->Peaks.Min.allFinite() &&
               t->ElementPeaks.Max.allFinite() && t->ElementPeaks.Min.allFinite();
    const auto& s = std::get<SpectrumResponse>(result);
    return s.Displacements.allFinite() && s.ElementPeaks.allFinite() &&
           std::all_of(s.BaseShear.begin(), s.BaseShear.end(),
                       [](double v) { return std::isfinite(v); });
}

} // namespace

void Extremes::Take(const Eigen::MatrixXd& values, const std::vector<double>& times, size_t first) {
    // From rest: the first instant's values are where the extremes start.
    if (Max.size() != values.rows()) {
        Max = Min = values.col(0);
        MaxAt = MinAt = Eigen::VectorXd::Constant(values.rows(), times[first]);
    }
    for (Eigen::Index k = 0; k < values.cols(); ++k) {
        const double t = times[first + static_cast<size_t>(k)];
        for (Eigen::Index e = 0; e < values.rows(); ++e) {
            const double u = values(e, k);
            if (u > Max[e])
                Max[e] = u, MaxAt[e] = t;
            if (u < Min[e])
                Min[e] = u, MinAt[e] = t;
        }
    }
}

Eigen::MatrixXd ElementModes(const Model& model) {
    if (!model.ElementValues || model.Modes.Count() == 0)
        return {};
    Eigen::MatrixXd modes;
    for (Eigen::Index i = 0; i < model.Modes.Count(); ++i) {
        const Eigen::VectorXd values = model.ElementValues(model.Modes.Shapes.col(i));
        if (i == 0)
            modes.resize(values.size(), model.Modes.Count());
        modes.col(i) = values;
    }
    return modes;
}

Eigen::VectorXcd HarmonicResponse::Amplitudes(const Model& model, size_t k) const {
    return model.Modes.Shapes.cast<std::complex<double>>() * Coordinates[k];
}

Eigen::VectorXcd HarmonicResponse::ElementAmplitudes(const Model& model, size_t k) const {
    return model.ElementModes.cast<std::complex<double>>() * Coordinates[k];
}

Eigen::VectorXd HistoryResponse::Motion(const Model& model, size_t k) const {
    const auto column = static_cast<Eigen::Index>(k);
    return Direct() ? Eigen::VectorXd(Displacements.col(column))
                    : Eigen::VectorXd(model.Modes.Shapes * Coordinates.col(column));
}

DirectIntegration::Rayleigh RayleighOf(const Model& model, const Excitations& excitations) {
    if (excitations.Rayleigh)
        return *excitations.Rayleigh;
    const Eigen::VectorXd zeta = Damping(model, excitations);
    const Eigen::VectorXd& w = model.Modes.Omega;
    DirectIntegration::Rayleigh c;
    if (w.size() >= 2 && w[0] > 0 && w[1] > w[0]) {
        // z_i = Mass / (2 w_i) + Stiffness w_i / 2 at the two lowest modes.
        c.Stiffness = 2 * (zeta[1] * w[1] - zeta[0] * w[0]) / (w[1] * w[1] - w[0] * w[0]);
        c.Mass = 2 * zeta[0] * w[0] - c.Stiffness * w[0] * w[0];
    } else if (w.size() >= 1 && w[0] > 0) {
        c.Mass = 2 * zeta[0] * w[0];
    }
    return c;
}

ModalResponse::Participation Participation(const Model& model, int direction) {
    return ModalResponse::Participate(model.Modes, *model.Mass, Influence(model, direction));
}

Eigen::VectorXd CombinePeaks(const std::vector<Eigen::MatrixXd>& values, const Model& model,
                             const Excitations& excitations, const Spectrum& spectrum) {
    const Eigen::VectorXd zeta = Damping(model, excitations);
    std::vector<Eigen::VectorXd> each;
    for (const Eigen::MatrixXd& v : values)
        each.push_back(ModalResponse::Combine(v, model.Modes.Omega, zeta, spectrum.Modes));
    if (each.empty())
        return Eigen::VectorXd::Zero(model.Stiffness->rows());
    Eigen::VectorXd combined = ModalResponse::Combine(each, spectrum.Directions);
    // The combination has no sign; the one of the mode that gives most of it shows which way
    // the peak goes, and keeps the peaks of neighbouring points consistent with each other.
    Eigen::VectorXd dominant = Eigen::VectorXd::Zero(combined.size());
    for (const Eigen::MatrixXd& v : values)
        for (Eigen::Index i = 0; i < v.cols(); ++i)
            for (Eigen::Index r = 0; r < v.rows(); ++r)
                if (std::abs(v(r, i)) > std::abs(dominant[r]))
                    dominant[r] = v(r, i);
    for (Eigen::Index r = 0; r < combined.size(); ++r)
        if (dominant[r] < 0)
            combined[r] = -combined[r];
    return combined;
}

std::vector<Response> Solve(const Model& model, const Excitations& excitations) {
    const Eigen::VectorXd zeta = Damping(model, excitations);
    std::vector<Response> responses;
    for (const Excitation& x : excitations.List) {
        Response r;
        r.Excitation = x.Number;
        if (const auto* h = std::get_if<Harmonic>(&x.Kind))
            r.Result = SolveHarmonic(model, excitations, zeta, x.Number, *h);
        else if (const auto* t = std::get_if<History>(&x.Kind))
            r.Result = SolveHistory(model, excitations, zeta, x.Number, *t);
        else
            r.Result =
                SolveSpectrum(model, excitations, zeta, x.Number, std::get<Spectrum>(x.Kind));
        if (!Finite(r.Result))
            throw SolverError(
                std::holds_alternative<HarmonicResponse>(r.Result)
                    ? QStringLiteral("the response to excitation %1 is not a finite number: a "
                                     "mode without damping is driven at its own frequency; give "
                                     "it damping in table 20")
                          .arg(x.Number)
                    : QStringLiteral("the response to excitation %1 is not a finite number; the "
                                     "data's values are out of proportion")
                          .arg(x.Number));
        responses.push_back(std::move(r));
    }
    return responses;
}

} // namespace ForcedVibration
