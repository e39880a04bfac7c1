// A box of tetrahedra standing on its bottom face.
SetFactory("OpenCASCADE");
Box(1) = {0, 0, 0, 1, 1, 2};
Mesh.MeshSizeMin = 1; Mesh.MeshSizeMax = 1;
Physical Surface("bottom") = {5}; Physical Volume("body") = {1};
