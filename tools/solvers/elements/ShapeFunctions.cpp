#include "ShapeFunctions.h"

ShapeFunctions::Values ShapeFunctions::Triangle3(double xi, double eta) {
    Values v;
    v.N.resize(3);
    v.N << 1 - xi - eta, xi, eta;
    v.Derived.resize(2, 3);
    v.Derived << -1, 1, 0, //
        -1, 0, 1;
    return v;
}

ShapeFunctions::Values ShapeFunctions::Quad4(double xi, double eta) {
    static constexpr double Corner[4][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
    Values v;
    v.N.resize(4);
    v.Derived.resize(2, 4);
    for (int a = 0; a < 4; ++a) {
        const double xa = Corner[a][0], ea = Corner[a][1];
        v.N[a] = (1 + xa * xi) * (1 + ea * eta) / 4;
        v.Derived(0, a) = xa * (1 + ea * eta) / 4;
        v.Derived(1, a) = ea * (1 + xa * xi) / 4;
    }
    return v;
}
