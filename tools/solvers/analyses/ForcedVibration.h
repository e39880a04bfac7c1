#pragma once

#include "DesignAcceleration.h"
#include "DirectIntegration.h"
#include "ModalResponse.h"

#include <array>
#include <functional>
#include <map>
#include <optional>
#include <variant>
#include <vector>

// The forced vibration of a model whose natural modes are known, for every family alike: the
// excitations of the dynamic tables (harmonic loads, load histories and ground accelerations,
// design spectra) turned into loads on the equations and solved by the modes. A family gives
// its equations, masses and modes, and lists what comes back at its nodes and elements.
namespace ForcedVibration {

using SparseMatrix = ModalResponse::SparseMatrix;

// What excites the model, as the dynamic tables give it.
struct NodeLoad {
    int Excitation = 1;
    int Node = 0;                   // counted from 0
    std::array<double, 6> Values{}; // per component: Fx Fy Fz Mx My Mz
};
struct GroundMotion {
    int Excitation = 1;
    int Direction = 0; // 0 x, 1 y, 2 z
    int Source = 0;    // a function (histories) or a spectrum (spectra)
    double Factor = 1; // of g
};
struct Harmonic {
    double From = 0, To = 0; // Hz
    int Steps = 1;
};
struct History {
    int Function = 0; // of the node loads; 0: ground motions only
    double Duration = 0, Step = 0;
    bool Direct = false; // integrated step by step on all equations instead of by the modes
};
struct Spectrum {
    ModalResponse::Rule Modes = ModalResponse::Rule::Cqc;
    ModalResponse::Directions Directions = ModalResponse::Directions::Srss;
};
struct Excitation {
    int Number = 1;
    std::variant<Harmonic, History, Spectrum> Kind;
};
struct Excitations {
    std::vector<Excitation> List;
    std::vector<NodeLoad> Loads;
    std::vector<GroundMotion> Ground;
    std::vector<double> Damping;              // per mode kept
    std::function<double(int, double)> Value; // function `f` at time t
    std::map<int, DesignAcceleration> Spectra;
    double Gravity = 9.80665; // g in the model's units
    // The damping of direct integration; none: fitted to the modal ratios of the two lowest
    // modes (RayleighOf).
    std::optional<DirectIntegration::Rayleigh> Rayleigh;
};

// What a family gives: its equations, stiffness and mass (upper triangles), its modes, and
// where its nodes' components are.
struct Model {
    const SparseMatrix* Stiffness = nullptr;
    const SparseMatrix* Mass = nullptr;
    ModalResponse::Basis Modes;
    int Nodes = 0;
    // The equation of a node's component (0..5), -1 where it has none.
    std::function<int(int, int)> Equation;
    // The structure is free to move: the modes, all elastic, are orthogonal to its rigid-body
    // motions, so that a motion by the modes is the one relative to them and the element
    // results are whole; a history integrated directly moves it as a body too.
    bool Free = false;
    // The element results of a motion, one value per element and column, row by row (a
    // bar's section forces at its ends, a plate's moments at its centre); empty where the
    // family gives none. They are linear in the motion, so that a motion made of modes has
    // them from each mode's, found once (ElementModes).
    std::function<Eigen::VectorXd(const Eigen::VectorXd&)> ElementValues;
    Eigen::MatrixXd ElementModes; // values x modes, ElementModes(model) when there are values
};

// Each mode's element results, one column per mode.
Eigen::MatrixXd ElementModes(const Model& model);

// The largest and smallest value of each quantity over time, with the instant of each.
struct Extremes {
    Eigen::VectorXd Max, Min, MaxAt, MinAt;
    // Takes the values of instants `times[first]` on, one column per instant.
    void Take(const Eigen::MatrixXd& values, const std::vector<double>& times, size_t first);
};

// The steady state at each forcing frequency: each mode's complex coordinate.
struct HarmonicResponse {
    std::vector<double> Frequencies; // Hz
    std::vector<Eigen::VectorXcd> Coordinates;
    // The complex amplitudes of the equations, and of the element values, at frequency k.
    Eigen::VectorXcd Amplitudes(const Model& model, size_t k) const;
    Eigen::VectorXcd ElementAmplitudes(const Model& model, size_t k) const;
};
// The motion at each instant (relative to the ground): by the modes, each mode's coordinate;
// integrated directly, every equation's value. The peaks of the equations and of the element
// values over time.
struct HistoryResponse {
    std::vector<double> Times;
    Eigen::MatrixXd Coordinates;   // modes x instants, by the modes
    Eigen::MatrixXd Displacements; // equations x instants, integrated directly only
    Extremes Peaks, ElementPeaks;
    bool Direct() const { return Displacements.size() > 0; }
    Eigen::VectorXd Motion(const Model& model, size_t k) const;
};
// A spectrum's peaks: per direction excited, each mode's peak coordinate (its shape times it
// is the mode's peak motion) and the base shear each mode gives; the motion and the element
// values combined over the modes and the directions.
struct SpectrumResponse {
    std::vector<int> Directions;
    std::vector<Eigen::VectorXd> ModeFactors;
    std::vector<Eigen::VectorXd> ModeShears;
    std::vector<double> BaseShear; // per direction, combined over the modes
    Eigen::VectorXd Displacements; // combined, signed as CombinePeaks signs them
    Eigen::VectorXd ElementPeaks;  // the same
};
struct Response {
    int Excitation = 1;
    std::variant<HarmonicResponse, HistoryResponse, SpectrumResponse> Result;
};

// The participation of the modes in a ground motion along `direction`.
ModalResponse::Participation Participation(const Model& model, int direction);

// The damping of direct integration: the data's, or the modal ratios of the two lowest modes
// (of the lowest alone, proportional to the mass, when there is one).
DirectIntegration::Rayleigh RayleighOf(const Model& model, const Excitations& excitations);

// Solves every excitation by the modes, or a history marked Direct step by step.
std::vector<Response> Solve(const Model& model, const Excitations& excitations);

// A quantity that is linear in the motion (a displacement, an element's force), from its
// value in each mode's peak, combined as the spectrum's excitation asks: over the modes,
// then over the directions; the size of the combination with the sign of the mode that
// gives the largest part of it. `values`: per direction, one row per quantity, one column
// per mode.
Eigen::VectorXd CombinePeaks(const std::vector<Eigen::MatrixXd>& values, const Model& model,
                             const Excitations& excitations, const Spectrum& spectrum);

} // namespace ForcedVibration
