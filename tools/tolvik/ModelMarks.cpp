#include "ModelMarks.h"

#include <QtEndian>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

namespace {

using Vec3 = ModelMark::Vec3;
using Kind = ModelMark::Kind;

Vec3 Sum(const Vec3& a, const Vec3& b, double factor = 1) {
    return {a[0] + b[0] * factor, a[1] + b[1] * factor, a[2] + b[2] * factor};
}

Vec3 Cross(const Vec3& a, const Vec3& b) {
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

double Length(const Vec3& v) {
    return std::hypot(v[0], v[1], v[2]);
}

Vec3 Unit(const Vec3& v) {
    const double length = Length(v);
    if (!(length > 0) || !std::isfinite(length))
        return {0, 0, 0};
    return {v[0] / length, v[1] / length, v[2] / length};
}

// What a column of displacements or loads names: a translation along, or a turn about, a world
// axis (0 x, 1 y, 2 z). The radius of the axisymmetric types lies along x; "rot" and "M" of
// the x-z plane turn about y.
struct Component {
    bool Turn = false;
    int Axis = -1;
};

int AxisOf(QChar letter) {
    switch (letter.toLower().unicode()) {
    case u'x':
    case u'r':
        return 0;
    case u'y':
        return 1;
    case u'z':
        return 2;
    default:
        return -1;
    }
}

Component ComponentOf(const QString& name) {
    if (name == QLatin1String("rot") || name == QLatin1String("M"))
        return {true, 1};
    if (name.size() == 2 && (name[0] == u'r' || name[0] == u'M'))
        return {true, AxisOf(name[1])};
    return {false, name.isEmpty() ? -1 : AxisOf(name.back())};
}

// The names of the columns of a table from `from` on.
QStringList Names(const DataFormat& format, int table, size_t from) {
    QStringList names;
    if (const TableFormat* columns = format.Table(table)) {
        for (size_t c = from; c < columns->Columns.size(); ++c)
            names << columns->Columns[c].Name;
    }
    return names;
}

// The local axes of a bar as the solvers take them: x from i to j; plane types keep the
// global y (local z to the left of the bar seen with x to the right and z up), grillages the
// global z, space frames put local z in the vertical plane through the bar (a vertical bar
// takes the global y as its local y), turned by beta about the bar.
std::array<Vec3, 3> BarAxes(int problem, const Vec3& i, const Vec3& j, double betaDegrees) {
    const Vec3 x = Unit(Sum(j, i, -1));
    Vec3 y{0, 1, 0}, z{0, 0, 1};
    if (problem == 6) {
        y = Cross(z, x);
    } else if (problem == 4 || problem == 7) {
        const Vec3 side = Cross({0, 0, 1}, x);
        y = Length(side) > 1e-9 ? Unit(side) : Vec3{0, 1, 0};
        z = Cross(x, y);
        const double beta = betaDegrees * std::numbers::pi / 180;
        const Vec3 turned = Sum(Sum({0, 0, 0}, y, std::cos(beta)), z, std::sin(beta));
        z = Sum(Sum({0, 0, 0}, y, -std::sin(beta)), z, std::cos(beta));
        y = turned;
    } else {
        z = Cross(x, y);
    }
    return {x, y, z};
}

class MarkBuilder {
public:
    MarkBuilder(const DataFormat& format, const ParsedData& data) : format_(format), data_(data) {
        const ParsedTable* nodes = data.Table(4);
        const int axes[3] = {format.Model.X, format.Model.Y, format.Model.Z};
        for (int row = 0; nodes && row < nodes->Rows(); ++row) {
            Vec3 p{0, 0, 0};
            for (int a = 0; a < 3; ++a) {
                if (axes[a] >= 0 && axes[a] < nodes->Width)
                    p[a] = nodes->At(row, axes[a]);
            }
            nodes_.push_back(p);
        }
        for (const QString& name : Names(format, 6, 1))
            codes_.push_back(ComponentOf(name));
    }

    std::vector<ModelMark> Build() {
        Gravity();
        Heat();
        NodeValues(12);
        NodeValues(13);
        Foundations();
        MemberLoads();
        return std::move(marks_);
    }

private:
    const ParsedTable* Items(int table) const {
        const ParsedTable* items = data_.Table(table);
        return items && items->Rows() > 0 ? items : nullptr;
    }

    bool NodeOf(double number, Vec3& at) const {
        const auto n = static_cast<long long>(number);
        if (n < 1 || n > static_cast<long long>(nodes_.size()))
            return false;
        at = nodes_[static_cast<size_t>(n - 1)];
        return true;
    }

    // The corners of element `number` (counted from 1) that name nodes.
    std::vector<Vec3> Corners(double number) const {
        std::vector<Vec3> corners;
        const ParsedTable* elements = data_.Table(5);
        const auto row = static_cast<long long>(number) - 1;
        if (!elements || row < 0 || row >= elements->Rows())
            return corners;
        using Shape = ModelShape::Elements;
        const int count = format_.Model.Kind == Shape::Bars       ? 2
                          : format_.Model.Kind == Shape::Polygons ? 4
                                                                  : 8;
        for (int c = 0; c < count && c < elements->Width; ++c) {
            Vec3 at;
            if (NodeOf(elements->At(static_cast<int>(row), c), at))
                corners.push_back(at);
        }
        return corners;
    }

    static Vec3 Centre(const std::vector<Vec3>& corners) {
        Vec3 centre{0, 0, 0};
        for (const Vec3& c : corners)
            centre = Sum(centre, c, 1.0 / static_cast<double>(corners.size()));
        return centre;
    }

    void Gravity() {
        const ParsedTable* weights = Items(10);
        if (!weights || nodes_.empty())
            return;
        std::vector<int> axes; // the gravity axes: the translations of the type, no radius
        for (const QString& name : Names(format_, 6, 1)) {
            const Component c = ComponentOf(name);
            if (!c.Turn && c.Axis >= 0 && !name.endsWith(u'r'))
                axes.push_back(c.Axis);
        }
        Vec3 low = nodes_.front(), high = nodes_.front();
        for (const Vec3& p : nodes_) {
            for (int a = 0; a < 3; ++a) {
                low[a] = std::min(low[a], p[a]);
                high[a] = std::max(high[a], p[a]);
            }
        }
        for (int row = 0; row < weights->Rows(); ++row) {
            ModelMark mark;
            mark.Type = Kind::Gravity;
            mark.Case = static_cast<int>(weights->At(row, 0));
            mark.At = mark.To = Sum(low, Sum(high, low, -1), 0.5);
            for (size_t k = 0; k < axes.size() && 1 + static_cast<int>(k) < weights->Width; ++k)
                mark.Vector[static_cast<size_t>(axes[k])] = weights->At(row, 1 + int(k));
            marks_.push_back(mark);
        }
    }

    // Plane, axisymmetric and solid bodies take a change per node; the others per element, a
    // uniform change and (bars, shells, plates) a difference across the depth, in the order
    // the type gives them.
    void Heat() {
        const ParsedTable* heat = Items(11);
        if (!heat || heat->Width < 3)
            return;
        const int p = format_.Problem;
        const bool perNode = p == 9 || p == 10 || p == 11 || p == 17;
        const bool uniform = p != 6 && p != 13;
        const bool across = !perNode && p != 3 && p != 4;
        for (int row = 0; row < heat->Rows(); ++row) {
            ModelMark mark;
            mark.Type = Kind::Heat;
            mark.Case = static_cast<int>(heat->At(row, 0));
            if (perNode) {
                if (!NodeOf(heat->At(row, 1), mark.At))
                    continue;
            } else {
                const std::vector<Vec3> corners = Corners(heat->At(row, 1));
                if (corners.empty())
                    continue;
                mark.At = Centre(corners);
            }
            mark.To = mark.At;
            mark.Value = uniform ? heat->At(row, 2) : 0;
            const int difference = uniform ? 3 : 2;
            if (across && difference < heat->Width)
                mark.Difference = heat->At(row, difference);
            marks_.push_back(mark);
        }
    }

    // Imposed displacements (12: case, node, one value per code) and springs (13: node, one
    // stiffness per code).
    void NodeValues(int table) {
        const ParsedTable* items = Items(table);
        if (!items)
            return;
        const int first = table == 12 ? 2 : 1;
        for (int row = 0; row < items->Rows(); ++row) {
            Vec3 at;
            if (!NodeOf(items->At(row, first - 1), at))
                continue;
            ModelMark shift, turn;
            shift.Type = table == 12 ? Kind::Shift : Kind::Spring;
            turn.Type = table == 12 ? Kind::Turn : Kind::TurnSpring;
            shift.Case = turn.Case = table == 12 ? static_cast<int>(items->At(row, 0)) : 0;
            shift.At = shift.To = turn.At = turn.To = at;
            for (size_t c = 0; c < codes_.size() && first + int(c) < items->Width; ++c) {
                const Component code = codes_[c];
                const double value = items->At(row, first + static_cast<int>(c));
                if (code.Axis < 0 || value == 0)
                    continue;
                if (table == 13) {
                    // One spring per component, drawn along (or about) its axis.
                    ModelMark spring = code.Turn ? turn : shift;
                    spring.Vector[static_cast<size_t>(code.Axis)] = 1;
                    spring.Value = value;
                    marks_.push_back(spring);
                    continue;
                }
                (code.Turn ? turn : shift).Vector[static_cast<size_t>(code.Axis)] += value;
            }
            if (table == 12) {
                for (const ModelMark& mark : {shift, turn}) {
                    if (Length(mark.Vector) > 0)
                        marks_.push_back(mark);
                }
            }
        }
    }

    void Foundations() {
        const ParsedTable* items = Items(14);
        if (!items || items->Width < 2)
            return;
        for (int row = 0; row < items->Rows(); ++row) {
            const std::vector<Vec3> corners = Corners(items->At(row, 0));
            if (corners.empty())
                continue;
            ModelMark mark;
            mark.Type = Kind::Foundation;
            const bool bar =
                format_.Model.Kind == ModelShape::Elements::Bars && corners.size() == 2;
            mark.At = bar ? corners[0] : Centre(corners);
            mark.To = bar ? corners[1] : mark.At;
            mark.Value = items->At(row, 1);
            marks_.push_back(mark);
        }
    }

    // A vector of components named by `names` (local or global) in world axes.
    static Vec3 World(const double* values, const QStringList& names, bool turns, bool local,
                      const std::array<Vec3, 3>& axes) {
        Vec3 v{0, 0, 0};
        for (qsizetype k = 0; k < names.size(); ++k) {
            const Component c = ComponentOf(names[k]);
            if (c.Axis < 0 || c.Turn != turns)
                continue;
            if (local)
                v = Sum(v, axes[static_cast<size_t>(c.Axis)], values[k]);
            else
                v[static_cast<size_t>(c.Axis)] += values[k];
        }
        return v;
    }

    // Point loads (15: case, element, axes, a, the components of table 7) and partial loads
    // (16: case, element, axes, a1, a2, the components of table 8 at a1 then at a2).
    void MemberLoads() {
        const QStringList point = Names(format_, 7, 2), line = Names(format_, 8, 2);
        for (int table : {15, 16}) {
            const ParsedTable* items = Items(table);
            const QStringList& names = table == 15 ? point : line;
            const int first = table == 15 ? 4 : 5;
            if (!items || items->Width < first + static_cast<int>(names.size()) * (table - 14))
                continue;
            for (int row = 0; row < items->Rows(); ++row) {
                const double* values = items->Row(row);
                const std::vector<Vec3> ends = Corners(values[1]);
                if (ends.size() != 2)
                    continue;
                const Vec3 d = Sum(ends[1], ends[0], -1);
                const double length = Length(d);
                if (!(length > 0))
                    continue;
                const std::array<Vec3, 3> axes =
                    BarAxes(format_.Problem, ends[0], ends[1], Beta(values[1]));
                const bool local = Local(table, values[2]);
                ModelMark mark;
                mark.Case = static_cast<int>(values[0]);
                mark.Element = static_cast<int>(values[1]) - 1;
                mark.At = mark.To = Sum(ends[0], d, values[3] / length);
                if (table == 16) {
                    mark.Type = Kind::PartialLoad;
                    mark.To = Sum(ends[0], d, values[4] / length);
                    mark.Vector = World(values + first, names, false, local, axes);
                    mark.VectorTo = World(values + first + names.size(), names, false, local, axes);
                    marks_.push_back(mark);
                    continue;
                }
                mark.Type = Kind::Force;
                mark.Vector = World(values + first, names, false, local, axes);
                if (Length(mark.Vector) > 0)
                    marks_.push_back(mark);
                mark.Type = Kind::Moment;
                mark.Vector = World(values + first, names, true, local, axes);
                if (Length(mark.Vector) > 0)
                    marks_.push_back(mark);
            }
        }
    }

    // The word of the axes column: "L", the member's own axes, or "G".
    bool Local(int table, double word) const {
        const TableFormat* items = format_.Table(table);
        if (items && items->Columns.size() > 2) {
            const QStringList& words = items->Columns[2].Words;
            const qsizetype local = words.indexOf(QStringLiteral("L"));
            if (local >= 0)
                return static_cast<qsizetype>(word) == local;
        }
        return word == 1;
    }

    double Beta(double element) const {
        const ParsedTable* elements = data_.Table(5);
        const TableFormat* columns = format_.Table(5);
        const auto row = static_cast<long long>(element) - 1;
        if (!elements || !columns || row < 0 || row >= elements->Rows())
            return 0;
        for (size_t c = 0; c < columns->Columns.size() && int(c) < elements->Width; ++c) {
            if (columns->Columns[c].Name == QLatin1String("beta"))
                return elements->At(static_cast<int>(row), static_cast<int>(c));
        }
        return 0;
    }

    const DataFormat& format_;
    const ParsedData& data_;
    std::vector<Vec3> nodes_;
    std::vector<Component> codes_;
    std::vector<ModelMark> marks_;
};

void PutFloat(double value, char*& at) {
    const float single = std::isfinite(value) && std::abs(value) <= 3.4e38 ? float(value) : 0.0f;
    std::uint32_t bits = 0;
    std::memcpy(&bits, &single, sizeof bits);
    qToLittleEndian(bits, at);
    at += 4;
}

} // namespace

std::vector<ModelMark> ModelMarks::Of(const DataFormat& format, const ParsedData& data) {
    if (format.Model.Kind == ModelShape::Elements::None || !data.Table(4) || !data.Table(5))
        return {};
    return MarkBuilder(format, data).Build();
}

QByteArray ModelMarks::Bytes(const std::vector<ModelMark>& marks) {
    QByteArray bytes(static_cast<qsizetype>(marks.size()) * RecordSize, '\0');
    char* at = bytes.data();
    for (const ModelMark& mark : marks) {
        qToLittleEndian(static_cast<std::uint16_t>(mark.Type), at);
        qToLittleEndian(static_cast<std::uint16_t>(std::clamp(mark.Case, 0, 65535)), at + 2);
        at += 4;
        const bool toEnd =
            mark.Type == Kind::PartialLoad && Length(mark.VectorTo) > Length(mark.Vector);
        const Vec3 direction = Unit(toEnd ? mark.VectorTo : mark.Vector);
        for (const Vec3* v : {&mark.At, &mark.To, &direction}) {
            for (double value : *v)
                PutFloat(value, at);
        }
    }
    return bytes;
}
