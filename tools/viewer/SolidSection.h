#pragma once

#include "SolidSurface.h"

#include <array>
#include <cstddef>
#include <unordered_map>
#include <vector>

// Where a solid is cut open: a plane square to the x, y or z axis at a coordinate; the part
// on one side of it is hidden.
struct SectionPlane {
    int Axis = -1;         // 0 x, 1 y, 2 z; -1 no section
    double At = 0;         // the plane's coordinate along the axis
    bool KeepAbove = true; // the part at larger coordinates stays
    bool Active() const { return Axis >= 0 && Axis < 3; }
    // Whether a point stays in view: on the kept side or on the plane; all without a plane.
    bool Keeps(const std::array<float, 3>& p) const {
        return !Active() || (KeepAbove ? p[std::size_t(Axis)] >= At : p[std::size_t(Axis)] <= At);
    }
    bool operator==(const SectionPlane&) const = default;
};

// A solid cut open by a plane: the cut itself, as polygons that fill the section of each
// element the plane crosses, and the outer surface on the kept side, its faces that cross
// the plane clipped to it. Each element is split into tetrahedra (a brick into six about its
// diagonal from n1 to n7, a wedge into three), whose section by a plane is a triangle or a
// quadrilateral; a field taken linear along each edge gives the values on the cut, exact for
// a field linear over the element. The corners of all polygons are points on edges between
// two nodes, so that the same cut serves the undeformed and the deformed body and every
// field: found once per plane, evaluated for each drawing.
class SolidSection {
public:
    using Point = SolidSurface::Point;
    // A point at `T` of the way from node `A` to node `B` (a node itself when A == B); on a
    // crossed edge A is the end on the kept side, B the hidden one.
    struct Vertex {
        int A = 0, B = 0;
        double T = 0;
    };

    SolidSection() = default;
    SolidSection(const std::vector<Point>& nodes,
                 const std::vector<SolidSurface::Corners>& elements, const SolidSurface& surface,
                 const SectionPlane& plane);

    const SectionPlane& Plane() const { return plane_; }
    const std::vector<Vertex>& Vertices() const { return vertices_; }
    // The polygons of the cut (3 or 4 vertices, the fourth -1 for a triangle) and the element
    // each lies in.
    const std::vector<std::array<int, 4>>& Cut() const { return cut_; }
    const std::vector<int>& CutElements() const { return cutElements_; }
    // The outer faces on the kept side, as polygons of vertices, and their elements.
    const std::vector<std::array<int, 4>>& Faces() const { return faces_; }
    const std::vector<int>& FaceElements() const { return faceElements_; }
    // Per kept face, the edge (from its corner k to the next) that only splits a face cut
    // into five corners in two, or -1: not an edge of the solid, so not drawn.
    const std::vector<signed char>& FaceSeams() const { return faceSeams_; }
    // Each crossed element's outline on the plane, as pairs of vertices.
    const std::vector<std::array<int, 2>>& Outline() const { return outline_; }

    // The vertices' places for the nodes at `nodes` (deformed or not), and a field's values.
    void Points(const std::vector<Point>& nodes, std::vector<Point>& points) const;
    std::vector<double> Values(const std::vector<double>& nodeValues) const;
    // The node in view nearest a vertex: the vertex's own node, or the kept end of its edge
    // (the other end is hidden, however near).
    int KeptNode(int vertex) const;

    // The extent of the nodes along an axis: where a plane can lie.
    static std::array<double, 2> Range(const std::vector<Point>& nodes, int axis);
    // The tetrahedra an element of `corners` corners is split into, as positions among them.
    static const std::vector<std::array<int, 4>>& Tetrahedra(int corners);

private:
    int NodeVertex(int node);
    // The point where the plane crosses the edge from kept node `a` (at `sa` >= 0 from the
    // plane) to hidden node `b` (at `sb` < 0).
    int EdgeVertex(int a, int b, double sa, double sb);
    void CutElement(const std::vector<Point>& nodes, const SolidSurface::Corners& element,
                    int corners, int index, const std::vector<double>& side);
    void ClipFace(const std::array<int, 4>& face, int element, const std::vector<double>& side);

    SectionPlane plane_;
    std::vector<Vertex> vertices_;
    std::vector<std::array<int, 4>> cut_, faces_;
    std::vector<int> cutElements_, faceElements_;
    std::vector<signed char> faceSeams_;
    std::vector<std::array<int, 2>> outline_;
    std::vector<int> nodeVertex_;
    std::unordered_map<long long, int> edgeVertex_;
};
