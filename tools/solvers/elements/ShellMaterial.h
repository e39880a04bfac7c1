#pragma once

// An isotropic plate or shell of even thickness.
struct ShellMaterial {
    double E = 0, Nu = 0;
    double Thickness = 0;
    double Density = 0; // mass per unit volume (the analysis passes gamma / g)

    double ShearModulus() const { return E / (2 * (1 + Nu)); }
    // The plate's flexural rigidity E t^3 / (12 (1 - nu^2)).
    double Rigidity() const { return E * Thickness * Thickness * Thickness / (12 * (1 - Nu * Nu)); }
};
