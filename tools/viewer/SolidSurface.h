#pragma once

#include <array>
#include <vector>

// The outer surface of a mesh of solids: the faces that belong to one element only (a face
// two elements share lies inside the body). Bricks have six quadrilaterals, wedges two
// triangles and three quadrilaterals, tetrahedra four triangles. Each face keeps its element
// and its corners (the fourth -1 for a triangle), turned so that they run counter-clockwise
// seen from outside, whichever way the element's own corners run. The surface is found once
// per model; it is what a solid is drawn by, however many elements lie inside.
class SolidSurface {
public:
    using Point = std::array<float, 3>;
    // The corners of an element as the data gives them, node indices counted from 0; -1
    // where the type has no corner (n7 n8 of a wedge, n5 to n8 of a tetrahedron).
    using Corners = std::array<int, 8>;

    SolidSurface() = default;
    static SolidSurface Of(const std::vector<Point>& nodes, const std::vector<Corners>& elements);

    const std::vector<std::array<int, 4>>& Faces() const { return faces_; }
    // The element of each face, counted from 0.
    const std::vector<int>& Elements() const { return elements_; }

    // How many corners an element has: 8, 6 or 4; 0 for any other count, which makes no
    // solid (such an element has no faces).
    static int CornersOf(const Corners& element);
    // The faces of an element of `corners` corners as positions among them; -1 closes a
    // triangle and the list.
    static const std::vector<std::array<int, 4>>& LocalFaces(int corners);

private:
    std::vector<std::array<int, 4>> faces_;
    std::vector<int> elements_;
};
