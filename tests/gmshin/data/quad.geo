// A square of quadrangles, its left edge held, its right edge loaded.
Point(1) = {0, 0, 0, 0.5}; Point(2) = {1, 0, 0, 0.5}; Point(3) = {1, 1, 0, 0.5}; Point(4) = {0, 1, 0, 0.5};
Line(1) = {1, 2}; Line(2) = {2, 3}; Line(3) = {3, 4}; Line(4) = {4, 1};
Curve Loop(1) = {1, 2, 3, 4}; Plane Surface(1) = {1};
Physical Curve("fixed") = {4}; Physical Curve("load") = {2}; Physical Surface("body") = {1};
Recombine Surface{1};
Physical Point("corner") = {3};
