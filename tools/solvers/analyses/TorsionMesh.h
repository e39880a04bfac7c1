#pragma once

#include "CheckFault.h"

#include <Eigen/Dense>
#include <array>
#include <vector>

struct MeshModel;

// The mesh of a profile in torsion as the analysis works on it: corners counter-clockwise,
// coordinates relative to the centroid of the profile (the integrals of y^2 + z^2 then lose no
// digits to a profile far from the origin), each element weighted by its shear modulus over
// the reference one. A mesh is made from a data file's model, which it checks, and can be
// divided evenly into finer meshes that keep its nodes as their first ones.
struct TorsionMesh {
    struct Cell {
        std::array<int, 4> Corners{};
        int Count = 4;
        int Parent = 0;    // the element of the data file it lies in
        double Weight = 1; // G of its material over the reference G
    };

    std::vector<Eigen::Vector2d> Nodes;
    std::vector<Cell> Cells;

    // A node on a contour where the profile's material spans more than a straight angle (the
    // inside corner of an L or a box): the stress there is infinite in theory, and any mesh's
    // stress near it depends on the mesh.
    struct Corner {
        int Node = 0;     // of the data file, from 0
        double Angle = 0; // of the material around it, degrees
        double Reach = 0; // half its shortest element side: the stresses within depend on it
    };

    // What a model's check finds out besides the mesh.
    struct Profile {
        Eigen::Vector2d Centroid = Eigen::Vector2d::Zero(); // in the file's coordinates
        double Area = 0;
        double ReferenceG = 0;
        int ReferenceMaterial = 0; // counted from 0
        int Materials = 0;         // with a different G
        int Triangles = 0, Quadrilaterals = 0, Reversed = 0;
        int Holes = 0;
        std::vector<Corner> Reentrant;
    };

    // The checked mesh of a torsion model; throws SolverError at the line of the first fault:
    // elements without area, twisted or not convex, overlapping or sharing a side with more
    // than one other, a profile in pieces that do not touch, or a table 6 that does not match
    // the contours of the mesh.
    static TorsionMesh FromModel(const MeshModel& model, Profile& profile);

    // Every element divided into division x division: quadrilaterals along their own
    // bilinear map, triangles into division^2 similar ones. The nodes of this mesh come first,
    // in their order; the nodes on a side are shared by the elements on both sides of it.
    TorsionMesh Divided(int division) const;
    // The node count Divided(division) will have, without making it.
    long long DividedNodes(int division) const;

private:
    int sides_ = 0; // distinct sides of the elements
};
