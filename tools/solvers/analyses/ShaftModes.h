#pragma once

#include "ShaftModel.h"

#include <QString>
#include <QStringList>
#include <vector>

// The natural modes of a shaft line: bending in one plane through the axis (the shaft is round,
// so the other plane repeats the same frequencies) by Euler-Bernoulli beam elements with
// consistent masses, and torsion by linear elements with consistent polar inertia. Discs add
// their mass and diametral inertia to bending and their polar inertia to torsion; bearings are
// radial springs, or hold the node when rigid. Motions without strain (the free turning of the
// shaft, the tilting of a piece with fewer than two bearings) have no frequency and are not
// listed.
namespace ShaftModes {

enum class Kind { Bending, Torsion };

struct Mode {
    Kind Type = Kind::Bending;
    double Lambda = 0; // omega^2
    // Per node: v and theta for bending, phi for torsion; scaled so that the largest |v|
    // (|phi| in torsion) is 1 and positive.
    std::vector<double> Shape;

    int Width() const { return Type == Kind::Bending ? 2 : 1; }
};

struct Result {
    std::vector<Mode> Modes; // lowest first, of both kinds
    // Rigid motions found and left out, and what the model lacks for a family to have modes.
    int RigidBending = 0, RigidTorsion = 0;
    QStringList Notes;
};

// Up to `count` modes, lowest first; throws SolverError when none can be found.
Result Lowest(const ShaftModel& model, int count);

// The most a mode's lambda may move, relative, when its shape is rounded to double: the
// shapes carry up to a hundred times that rounding, which moves lambda by up to 1e4 times as
// much, so a mode listed keeps its frequency to 5e-5 (sound ones move by 1e-20 or less).
inline constexpr double ModeNoise = 1e-8;

} // namespace ShaftModes
