#pragma once

#include "ResultLayout.h"

#include <QString>
#include <QStringList>
#include <utility>
#include <vector>

// The answers of a static analysis for the nodes and elements of the data file.
// Displacements and reactions have one value per kept component of the type (global axes);
// element forces are section forces at the two ends (Forces, for end i then end j; a truss
// bar has its normal force only). Normal forces are positive in tension. For plane
// frames, beams and grillages V and M follow the beam convention: M positive when the fibres
// on the right of the bar, looking from i to j, are in tension (sagging for a bar drawn from
// left to right), and dM/dx = V.
struct StaticResults {
    struct Reaction {
        int Node = 0; // counted from 1
        std::vector<double> Values;
    };
    struct Case {
        int Number = 1;
        std::vector<double> Displacements; // Nodes x Components
        // The inner points of the curved members (type 1), which the data does not list:
        // ArcPoints x Components, element by element, each arc's points from i to j.
        std::vector<double> ArcDisplacements;
        std::vector<Reaction> Reactions; // one per support item
        std::vector<double> Forces;      // Elements x ForceCount()
        // A combination's terms: case and factor (none for a load case).
        std::vector<std::pair<int, double>> Terms;
    };

    int Nodes = 0;
    int Elements = 0;
    int ArcPoints = 0;
    QStringList Components; // "ux", "uz", "ry"
    QStringList Reactions;  // "Fx", "Fz", "My"
    ResultLayout Forces;    // "Ni", "Vi", "Mi", "Nj", "Vj", "Mj", as the elements give them
    std::vector<Case> Cases;
    // The load combinations as cases numbered as their combination, and the envelopes of
    // combinations: as FieldResults has them.
    std::vector<Case> Combinations;
    struct Envelope {
        int Number = 1;
        std::vector<int> Combinations;
        Case Max, Min, MaxBy, MinBy; // MaxBy, MinBy: the governing combination of each value
    };
    std::vector<Envelope> Envelopes;
    // How well the answer checks, over all cases: the largest residual |K u - f| of the
    // equations and the largest resultant of loads and reactions, each relative to the loads.
    double Residual = 0;
    double Imbalance = 0;
    // The largest and the smallest load that is not zero, over all cases (as forces; moments
    // over the model's size), for the likely cause of an answer that does not check.
    double LargestLoad = 0, SmallestLoad = 0;

    int ComponentCount() const { return static_cast<int>(Components.size()); }
    int ForceCount() const { return Forces.Count(); }
};
