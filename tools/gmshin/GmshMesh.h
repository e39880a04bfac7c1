#pragma once

#include <QString>
#include <array>
#include <map>
#include <utility>
#include <vector>

// A mesh as a Gmsh file holds it: nodes by their own tags, first-order elements with the
// entity they belong to, and the physical groups. In files of format 4 an element belongs to
// the groups of its entity; in format 2 each element carries one group tag of its own.
struct GmshMesh {
    // The element types read; every other type (second order, pyramids, ...) is refused.
    enum Type {
        Line = 1,
        Triangle = 2,
        Quadrangle = 3,
        Tetrahedron = 4,
        Hexahedron = 5,
        Prism = 6,
        Point = 15
    };

    struct Node {
        long long Tag = 0;
        std::array<double, 3> At{};
    };
    struct Element {
        int Type = 0;
        int Count = 0;              // nodes used of Nodes
        std::array<int, 8> Nodes{}; // indices into GmshMesh::Nodes
        int Dimension = 0;          // of the entity
        int Entity = 0;
        int Physical = 0; // format 2: its group tag (0 none); format 4: 0
        int Line = 0;     // its line in an ASCII file, 0 in a binary one
    };
    struct Group {
        int Dimension = 0;
        int Tag = 0;
        QString Name; // empty when the file names it not
    };

    int Version = 0; // 2 or 4
    bool Binary = false;
    std::vector<Node> Nodes;
    std::vector<Element> Elements;
    std::vector<Group> Groups; // in order of dimension and tag
    // Format 4: the physical groups of each entity, by (dimension, entity tag).
    std::map<std::pair<int, int>, std::vector<int>> EntityGroups;

    // Whether the element belongs to group `tag` of its own dimension.
    bool InGroup(const Element& element, int dimension, int tag) const {
        if (element.Dimension != dimension)
            return false;
        if (Version == 2)
            return element.Physical == tag;
        const auto found = EntityGroups.find({element.Dimension, element.Entity});
        if (found == EntityGroups.end())
            return false;
        for (int group : found->second)
            if (group == tag)
                return true;
        return false;
    }
    static int NodeCount(int type) {
        switch (type) {
        case Line:
            return 2;
        case Triangle:
            return 3;
        case Quadrangle:
            return 4;
        case Tetrahedron:
            return 4;
        case Hexahedron:
            return 8;
        case Prism:
            return 6;
        case Point:
            return 1;
        default:
            return 0;
        }
    }
    static int DimensionOf(int type) {
        switch (type) {
        case Point:
            return 0;
        case Line:
            return 1;
        case Triangle:
        case Quadrangle:
            return 2;
        default:
            return 3;
        }
    }
};
