#include "ViewerModel.h"

#include "BarArc.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <unordered_set>

namespace {

using Point = ViewerModel::Point;
using Kind = ModelShape::Elements;

// The world axis a load component names by its last letter: Fx, qz, Fr (radius along x) ...
int Axis(const QString& name) {
    const QChar axis = name.back().toLower();
    if (axis == u'x' || axis == u'r')
        return 0;
    if (axis == u'y')
        return 1;
    if (axis == u'z')
        return 2;
    return -1;
}

Point Add(Point a, const Point& b, float factor = 1) {
    for (int i = 0; i < 3; ++i)
        a[i] += b[i] * factor;
    return a;
}

Point Cross(const Point& a, const Point& b) {
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

// The unit normal of an element: of its plane for plane elements (turning n1 to n2 to n3
// about it); in the x-z plane, to the right of the bar, for bars. The bars that carry a
// pressure are the meridians of shells of revolution (r to the right, z up), whose pressure
// is positive outwards, on the right of the meridian from i to j: outside for a tank's
// meridian, which runs out from the axis along the bottom and then up the wall.
Point Normal(const std::vector<Point>& corners) {
    Point n{0, 0, 0};
    if (corners.size() == 2) {
        const Point d = Add(corners[1], corners[0], -1);
        n = {d[2], 0, -d[0]};
    } else if (corners.size() >= 3) {
        n = Cross(Add(corners[1], corners[0], -1), Add(corners[2], corners[0], -1));
    }
    const float length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
    if (length > 0)
        n = {n[0] / length, n[1] / length, n[2] / length};
    return n;
}

// The hinges, beta and arc radius of a bar, from the columns of that name where the type has
// them.
// The value of the column `name` of item `number` (counted from 1) of a table, or 0.
double ValueOf(const ParsedData& data, const DataFormat& format, int table, double number,
               const char* name) {
    const ParsedTable* items = data.Table(table);
    const TableFormat* columns = format.Table(table);
    const int row = static_cast<int>(number) - 1;
    if (!items || !columns || row < 0 || row >= items->Rows())
        return 0;
    for (int c = 0; c < items->Width && c < static_cast<int>(columns->Columns.size()); ++c) {
        if (columns->Columns[static_cast<size_t>(c)].Name == QLatin1String(name))
            return items->At(row, c);
    }
    return 0;
}

ViewerModel::Bar BarOf(int i, int j, const double* values, int width, const DataFormat& format,
                       const ParsedData& data) {
    ViewerModel::Bar bar;
    bar.I = i;
    bar.J = j;
    const TableFormat* elements = format.Table(5);
    double material = 0, section = 0;
    for (int c = 2; elements && c < width && c < static_cast<int>(elements->Columns.size()); ++c) {
        const QString& name = elements->Columns[static_cast<size_t>(c)].Name;
        if (name == QLatin1String("material"))
            material = values[c];
        else if (name == QLatin1String("section"))
            section = values[c];
        else if (name == QLatin1String("hinges"))
            bar.Hinges = static_cast<int>(values[c]);
        else if (name == QLatin1String("beta"))
            bar.Beta = values[c];
        else if (name == QLatin1String("R"))
            bar.Radius = values[c];
    }
    // The stiffness of the bending planes, for the deflection of a loaded bar between its ends.
    const double e = ValueOf(data, format, 2, material, "E");
    const double plane = ValueOf(data, format, 3, section, "I");
    bar.BendingY = e * (plane > 0 ? plane : ValueOf(data, format, 3, section, "Iy"));
    bar.BendingZ = e * ValueOf(data, format, 3, section, "Iz");
    return bar;
}

Point Single(const ModelMark::Vec3& v) {
    return {float(v[0]), float(v[1]), float(v[2])};
}

// The loads on members are drawn as loads (a partial load as a row of arrows along its stretch,
// by its larger end) and kept as member loads for the results' diagrams and bar shapes; the
// other marks are kept as they are.
void AddMarks(ViewerModel& model, std::vector<ModelMark> marks) {
    using MarkKind = ModelMark::Kind;
    for (ModelMark& mark : marks) {
        if (mark.Type != MarkKind::Force && mark.Type != MarkKind::Moment &&
            mark.Type != MarkKind::PartialLoad) {
            model.Marks.push_back(std::move(mark));
            continue;
        }
        if (mark.Element >= 0) {
            ViewerModel::MemberLoad member;
            member.Case = mark.Case;
            member.Element = mark.Element;
            member.Partial = mark.Type == MarkKind::PartialLoad;
            member.At = mark.At;
            member.To = mark.To;
            (mark.Type == MarkKind::Moment ? member.Moment : member.Force) = mark.Vector;
            member.ForceTo = mark.VectorTo;
            model.MemberLoads.push_back(member);
        }
        ViewerModel::Load load;
        load.Case = mark.Case;
        load.At = Single(mark.At);
        if (mark.Type == MarkKind::Moment) {
            load.Moment = mark.Vector;
        } else if (mark.Type == MarkKind::Force) {
            load.Force = mark.Vector;
        } else {
            const auto size = [](const ModelMark::Vec3& v) { return std::hypot(v[0], v[1], v[2]); };
            load.Force = size(mark.VectorTo) > size(mark.Vector) ? mark.VectorTo : mark.Vector;
            load.Distributed = true;
            load.AlongBar = true;
            load.Start = Single(mark.At);
            load.End = Single(mark.To);
            load.At = Single({(mark.At[0] + mark.To[0]) / 2, (mark.At[1] + mark.To[1]) / 2,
                              (mark.At[2] + mark.To[2]) / 2});
        }
        model.Loads.push_back(load);
    }
}

int CornersOf(Kind kind) {
    return kind == Kind::Bars ? 2 : kind == Kind::Polygons ? 4 : 8;
}

} // namespace

ViewerModel ViewerModel::FromData(const DataFormat& format, const ParsedData& data) {
    ViewerModel model;
    model.Name = format.Name;
    const ModelShape& shape = format.Model;
    model.Space = shape.Y >= 0;
    model.LoadCases = static_cast<int>(data.GeneralNumber(4));
    if (data.General.size() >= 3) {
        model.ForceUnit = data.General[1].Text;
        model.LengthUnit = data.General[2].Text;
    }
    const ParsedTable* nodes = data.Table(4);
    const ParsedTable* elements = data.Table(5);
    if (shape.Kind == Kind::None || !nodes || !elements)
        return model;

    const int axes[3] = {shape.X, shape.Y, shape.Z};
    model.Nodes.reserve(static_cast<size_t>(nodes->Rows()));
    for (int row = 0; row < nodes->Rows(); ++row) {
        Point p{0, 0, 0};
        for (int a = 0; a < 3; ++a) {
            if (axes[a] >= 0 && axes[a] < nodes->Width)
                p[a] = static_cast<float>(nodes->At(row, axes[a]));
        }
        model.Nodes.push_back(p);
    }
    const int nodeCount = nodes->Rows();
    const auto node = [nodeCount](double number) {
        const int n = static_cast<int>(number);
        return n >= 1 && n <= nodeCount ? n - 1 : -1;
    };

    // Edges, each once: bars give one, polygons their sides, solids the edges of the faces.
    static constexpr int tetrahedron[][2] = {{0, 1}, {1, 2}, {2, 0}, {0, 3}, {1, 3}, {2, 3}};
    static constexpr int wedge[][2] = {{0, 1}, {1, 2}, {2, 0}, {3, 4}, {4, 5},
                                       {5, 3}, {0, 3}, {1, 4}, {2, 5}};
    static constexpr int brick[][2] = {{0, 1}, {1, 2}, {2, 3}, {3, 0}, {4, 5}, {5, 6},
                                       {6, 7}, {7, 4}, {0, 4}, {1, 5}, {2, 6}, {3, 7}};
    std::unordered_set<long long> seen;
    const auto addEdge = [&](int a, int b) {
        if (a < 0 || b < 0 || a == b)
            return;
        if (shape.Kind != Kind::Bars) {
            const long long key = static_cast<long long>(std::min(a, b)) << 32 | std::max(a, b);
            if (!seen.insert(key).second)
                return;
        }
        model.Edges.push_back({a, b});
    };
    const int corners = CornersOf(shape.Kind);
    std::vector<std::vector<Point>> elementCorners;
    elementCorners.reserve(static_cast<size_t>(elements->Rows()));
    model.Edges.reserve(static_cast<size_t>(elements->Rows()) * (corners == 2 ? 1 : 2));
    for (int row = 0; row < elements->Rows(); ++row) {
        const double* values = elements->Row(row);
        std::vector<int> used;
        for (int c = 0; c < corners && c < elements->Width; ++c) {
            if (node(values[c]) >= 0)
                used.push_back(node(values[c]));
        }
        Point arcMiddle{};
        if (shape.Kind == Kind::Bars && used.size() == 2) {
            model.Bars.push_back(BarOf(used[0], used[1], values, elements->Width, format, data));
            if (model.Bars.back().Radius == 0) {
                addEdge(used[0], used[1]);
            } else {
                const auto toVec = [&](int n) {
                    const Point& p = model.Nodes[static_cast<size_t>(n)];
                    return BarAxes::Vec3{p[0], p[1], p[2]};
                };
                std::vector<Point> curve;
                for (const BarAxes::Vec3& p :
                     BarArc::Points(toVec(used[0]), toVec(used[1]), model.Bars.back().Radius))
                    curve.push_back({float(p[0]), float(p[1]), float(p[2])});
                arcMiddle = curve[curve.size() / 2];
                model.Curves.push_back(std::move(curve));
            }
        } else if (shape.Kind == Kind::Polygons) {
            for (size_t c = 0; c < used.size(); ++c)
                addEdge(used[c], used[(c + 1) % used.size()]);
            std::array<int, 4> polygon{-1, -1, -1, -1};
            for (size_t c = 0; c < used.size() && c < 4; ++c)
                polygon[c] = used[c];
            model.Polygons.push_back(polygon);
        } else if (shape.Kind == Kind::Solids) {
            const auto edges = [&](const auto& list) {
                for (const auto& edge : list) {
                    if (edge[0] < static_cast<int>(used.size()) &&
                        edge[1] < static_cast<int>(used.size()))
                        addEdge(used[edge[0]], used[edge[1]]);
                }
            };
            SolidSurface::Corners solid;
            solid.fill(-1);
            for (size_t c = 0; c < used.size() && c < solid.size(); ++c)
                solid[c] = used[c];
            model.Solids.push_back(solid);
            if (used.size() >= 8)
                edges(brick);
            else if (used.size() >= 6)
                edges(wedge);
            else
                edges(tetrahedron);
        }
        std::vector<Point> points;
        Point centre{0, 0, 0};
        for (int n : used) {
            points.push_back(model.Nodes[static_cast<size_t>(n)]);
            centre = Add(centre, model.Nodes[static_cast<size_t>(n)]);
        }
        if (!used.empty())
            centre = {centre[0] / used.size(), centre[1] / used.size(), centre[2] / used.size()};
        if (!model.Bars.empty() && model.Bars.size() == model.ElementCentres.size() + 1 &&
            model.Bars.back().Radius != 0)
            centre = arcMiddle; // an arc's number and loads at its middle
        model.ElementCentres.push_back(centre);
        elementCorners.push_back(std::move(points));
    }

    if (shape.Kind == Kind::Solids)
        model.Surface = SolidSurface::Of(model.Nodes, model.Solids);

    // Supports: a node and one 0/1 code per displacement.
    const ParsedTable* supports = data.Table(6);
    const TableFormat* supportFormat = format.Table(6);
    if (supportFormat && supportFormat->Title == QLatin1String("Supports")) {
        for (size_t c = 1; c < supportFormat->Columns.size(); ++c)
            model.Components << supportFormat->Columns[c].Name;
    }
    if (supports && supportFormat && supportFormat->Title == QLatin1String("Supports")) {
        for (int row = 0; row < supports->Rows(); ++row) {
            Support support;
            support.Node = node(supports->At(row, 0));
            if (support.Node < 0)
                continue;
            support.Fixed = true;
            for (int c = 1; c < supports->Width; ++c) {
                const bool fixed = supports->At(row, c) != 0;
                support.Codes += fixed ? u'1' : u'0';
                support.Fixed = support.Fixed && fixed;
            }
            model.Supports.push_back(support);
        }
    }

    // Loads: case, node or element, then components named after their axis.
    for (int table : {7, 8}) {
        const ParsedTable* loads = data.Table(table);
        const TableFormat* loadFormat = format.Table(table);
        if (!loads || !loadFormat)
            continue;
        for (int row = 0; row < loads->Rows(); ++row) {
            Load load;
            load.Case = static_cast<int>(loads->At(row, 0));
            load.Distributed = table == 8;
            const int target = static_cast<int>(loads->At(row, 1)) - 1;
            if (table == 7) {
                if (node(target + 1) < 0)
                    continue;
                load.At = model.Nodes[static_cast<size_t>(target)];
            } else {
                if (target < 0 || target >= static_cast<int>(model.ElementCentres.size()))
                    continue;
                load.At = model.ElementCentres[static_cast<size_t>(target)];
                load.Element = target;
                const std::vector<Point>& ends = elementCorners[static_cast<size_t>(target)];
                if (shape.Kind == Kind::Bars && ends.size() == 2) {
                    load.AlongBar = true;
                    load.Start = ends[0];
                    load.End = ends[1];
                }
            }
            for (int c = 2; c < loads->Width; ++c) {
                const QString& name = loadFormat->Columns[static_cast<size_t>(c)].Name;
                const double value = loads->At(row, c);
                if (name == QLatin1String("p")) {
                    // Pressure acts along the element's normal; on a plate along z.
                    const Point normal = shape.Z < 0
                                             ? Point{0, 0, 1}
                                             : Normal(elementCorners[static_cast<size_t>(target)]);
                    for (size_t a = 0; a < 3; ++a)
                        load.Force[a] += normal[a] * value;
                    continue;
                }
                // A moment without an axis turns in the x-z plane, about y.
                const int axis = name == QLatin1String("M") ? 1 : Axis(name);
                if (axis < 0)
                    continue;
                (name.startsWith(u'M') ? load.Moment : load.Force)[axis] += value;
            }
            model.Loads.push_back(load);
        }
    }
    AddMarks(model, ModelMarks::Of(format, data));
    return model;
}

ViewerModel::Box ViewerModel::BoxAround(const std::vector<Point>& points) {
    Box box;
    for (int a = 0; a < 3; ++a) {
        box.Low[a] = std::numeric_limits<double>::max();
        box.High[a] = -box.Low[a];
    }
    for (const Point& p : points) {
        for (int a = 0; a < 3; ++a) {
            box.Low[a] = std::min(box.Low[a], double(p[a]));
            box.High[a] = std::max(box.High[a], double(p[a]));
        }
    }
    return box;
}

double ViewerModel::Box::Diagonal() const {
    return std::hypot(High[0] - Low[0], High[1] - Low[1], High[2] - Low[2]);
}
