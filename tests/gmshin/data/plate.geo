// A square slab of 6 x 6 m in 4 x 4 quadrangles, on its edges, under an even pressure.
Point(1) = {0, 0, 0}; Point(2) = {6, 0, 0}; Point(3) = {6, 6, 0}; Point(4) = {0, 6, 0};
Line(1) = {1, 2}; Line(2) = {2, 3}; Line(3) = {3, 4}; Line(4) = {4, 1};
Curve Loop(1) = {1, 2, 3, 4}; Plane Surface(1) = {1};
Transfinite Curve{1, 2, 3, 4} = 5; Transfinite Surface{1}; Recombine Surface{1};
Physical Curve("edges") = {1, 2, 3, 4}; Physical Surface("slab") = {1};
