#pragma once

#include "ResultLayout.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <utility>
#include <vector>

// The answers of a continuum model (plane stress and strain, axisymmetric bodies, torsion of
// profiles and the types that follow them) for the nodes and elements of the data file: the
// displacement components at the nodes, the reactions of the supports, and per element a block
// of stresses (or forces per width) at its centre and, recovered from the elements around each
// node, at the nodes. Everything is in the units of the data file.
struct FieldResults {
    struct Reaction {
        int Node = 0;               // counted from 1
        std::vector<double> Values; // one per component, 0 where free
    };
    struct Case {
        int Number = 1;
        std::vector<double> Displacements; // Nodes x Components, node 1 first
        std::vector<Reaction> Reactions;   // one per support item
        std::vector<double> Stresses;      // Elements x Columns, at the centres
        std::vector<double> NodeStresses;  // Nodes x Columns
        // A combination's terms: case and factor (none for a load case).
        std::vector<std::pair<int, double>> Terms;
    };
    // Saint-Venant torsion of a profile: the twisting moment, the shear modulus, the torsion
    // constant, the rate of twist T / (G J) and the largest resultant shear stress with the
    // point (y, z) where it is.
    struct Torsion {
        double Moment = 0, G = 0, J = 0, Twist = 0, TauMax = 0, AtY = 0, AtZ = 0;
    };

    int Nodes = 0;
    int Elements = 0;
    QStringList Components; // "ux", "uz"; torsion: "w", the warping per unit twist
    // The element blocks' columns, as the elements and their family give them: "sx", "sz",
    // "txz", "s1", "s2", "angle" with their titles and quantities.
    ResultLayout Columns;
    std::vector<Case> Cases;
    // The load combinations, each as a case numbered as its combination: the sum of its
    // factors times its cases' results (the derived columns, principal values, from the
    // combined ones).
    std::vector<Case> Combinations;
    // The extremes of every value over the combinations an envelope names: Max and Min as
    // cases, and in MaxBy and MinBy, value for value, the number of the combination that gives
    // it.
    struct Envelope {
        int Number = 1;
        std::vector<int> Combinations;
        Case Max, Min, MaxBy, MinBy;
    };
    std::vector<Envelope> Envelopes;
    std::optional<Torsion> Twist; // torsion of profiles only
    // How well the answer checks over all cases (statics): the largest residual |K u - f| and
    // the largest resultant of loads and reactions, each relative to the loads.
    double Residual = 0;
    double Imbalance = 0;
    // The largest and the smallest load that is not zero, over all cases (as forces; moments
    // over the model's size), for the likely cause of an answer that does not check.
    double LargestLoad = 0, SmallestLoad = 0;

    int ComponentCount() const { return static_cast<int>(Components.size()); }
    int StressCount() const { return Columns.Count(); }
};
