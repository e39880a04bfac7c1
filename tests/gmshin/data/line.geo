// A portal frame of two columns and a beam, each in two members.
Point(1) = {0, 0, 0, 2}; Point(2) = {0, 4, 0, 2}; Point(3) = {6, 4, 0, 3}; Point(4) = {6, 0, 0, 2};
Line(1) = {1, 2}; Line(2) = {2, 3}; Line(3) = {3, 4};
Physical Point("feet") = {1, 4}; Physical Point("top") = {2};
Physical Curve("columns") = {1, 3}; Physical Curve("beam") = {2};
