#pragma once

#include <QString>
#include <array>
#include <optional>

// A stress state at a point: normal stresses and shear stresses in the x, y, z axes.
struct StressState {
    double Sx = 0, Sy = 0, Sz = 0;
    double Txy = 0, Tyz = 0, Tzx = 0;
};

// One principal stress and its direction as a unit vector (direction cosines l, m, n).
struct PrincipalStress {
    double Value = 0;
    std::array<double, 3> Direction{};
};

// Principal stresses in falling order, the greatest shear stress, and for a plane state the
// angle from the x axis to the direction of the first principal stress.
struct PrincipalResult {
    bool Plane = false;
    std::array<PrincipalStress, 3> Stresses{};
    double MaxShear = 0;
    double AngleDegrees = 0; // plane states only
};

// Principal stresses and directions of a plane or spatial stress state.
class PrincipalStresses {
public:
    // Plane state in the x-y plane: two principal stresses, the angle in (-90, 90].
    static PrincipalResult Plane(double sx, double sy, double txy);
    // Spatial state: the eigenvalues and eigenvectors of the symmetric stress tensor.
    static PrincipalResult Spatial(const StressState& state);

    // The result as the tool shows it, numbers with four decimals.
    static QString Report(const PrincipalResult& result);

    // A number typed by the user: "." or "," as decimal separator, blanks around ignored.
    static std::optional<double> ParseNumber(const QString& text);
};
