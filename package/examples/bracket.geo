// A steel bracket plate of 400 x 200 mm with a hole of 80 mm, in plane stress: held along its
// left edge, hanging a load from its right edge. Mesh it with
//   gmsh -2 bracket.geo -format msh41 -o bracket.msh
// and import it with "Gmshin bracket.msh bracket.d59" (the group map bracket.gmi beside it).
h = 0.08; // element size in m
Point(1) = {0, 0, 0, h}; Point(2) = {0.4, 0, 0, h}; Point(3) = {0.4, 0.2, 0, h};
Point(4) = {0, 0.2, 0, h};
Point(5) = {0.2, 0.1, 0, h}; Point(6) = {0.24, 0.1, 0, h}; Point(7) = {0.16, 0.1, 0, h};
Line(1) = {1, 2}; Line(2) = {2, 3}; Line(3) = {3, 4}; Line(4) = {4, 1};
Circle(5) = {6, 5, 7}; Circle(6) = {7, 5, 6};
Curve Loop(1) = {1, 2, 3, 4}; Curve Loop(2) = {5, 6};
Plane Surface(1) = {1, 2};
Physical Curve("fixed edge") = {4};
Physical Curve("loaded edge") = {2};
Physical Surface("plate") = {1};
