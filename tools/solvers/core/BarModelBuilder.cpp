#include "BarModelBuilder.h"

#include "BarModelTables.h"
#include "CircularArc.h"
#include "ParsedData.h"
#include "ProblemType.h"
#include "SolverError.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

int Index(double number) {
    return static_cast<int>(number) - 1;
}

void ReadNodes(const ProblemType& type, const ParsedTable& nodes, BarModel& model) {
    for (int row = 0; row < nodes.Rows(); ++row) {
        const double* v = nodes.Row(row);
        switch (type.Lies) {
        case ProblemType::Layout::Space:
            model.Nodes.push_back({v[0], v[1], v[2]});
            break;
        case ProblemType::Layout::Grillage:
            model.Nodes.push_back({v[0], v[1], 0});
            break;
        case ProblemType::Layout::PlaneXZ:
            model.Nodes.push_back({v[0], 0, v[1]});
            break;
        }
    }
}

BarModel::Bar BarOf(const ProblemType& type, const double* item, const ParsedData& data) {
    BarModel::Bar bar;
    bar.I = Index(item[0]);
    bar.J = Index(item[1]);
    bar.Material = Index(item[2]);
    const double* material = data.Table(2)->Row(bar.Material);
    bar.E = material[0];
    bar.G = material[0] / (2 * (1 + material[1]));
    bar.Density = material[2];
    bar.Alpha = data.Table(2)->Width > 3 ? material[3] : 0;
    const double* section = data.Table(3)->Row(Index(item[3]));
    if (type.Truss) {
        bar.A = section[0];
        bar.Truss = true;
    } else if (type.Lies == ProblemType::Layout::Grillage) {
        bar.Iy = section[0];
        bar.It = section[1];
    } else if (type.Lies == ProblemType::Layout::Space) {
        bar.A = section[0];
        bar.It = section[1];
        bar.Iy = section[2];
        bar.Iz = section[3];
        bar.Beta = item[4];
    } else {
        bar.A = section[0];
        bar.Iy = section[1];
    }
    if (type.Hinges) {
        const int hinges = static_cast<int>(item[4]);
        bar.HingeI = hinges == 1 || hinges == 3;
        bar.HingeJ = hinges == 2 || hinges == 3;
    }
    return bar;
}

// Replaces a member by straight bars through `points` (its ends first and last), adding the
// inner points as nodes. Returns the bars' indices.
std::vector<int> AddChain(BarModel& model, const BarModel::Bar& member,
                          const std::vector<BarModel::Vector>& points) {
    const int pieces = static_cast<int>(points.size()) - 1;
    std::vector<int> bars;
    int previous = member.I;
    for (int piece = 1; piece <= pieces; ++piece) {
        int next = member.J;
        if (piece < pieces) {
            model.Nodes.push_back(points[static_cast<size_t>(piece)]);
            next = static_cast<int>(model.Nodes.size()) - 1;
        }
        BarModel::Bar bar = member;
        bar.I = previous;
        bar.J = next;
        bar.HingeI = piece == 1 && member.HingeI;
        bar.HingeJ = piece == pieces && member.HingeJ;
        bars.push_back(static_cast<int>(model.Bars.size()));
        model.Bars.push_back(bar);
        previous = next;
    }
    return bars;
}

// The points that cut a straight member into equal pieces, its ends first and last.
std::vector<BarModel::Vector> StraightPoints(const BarModel::Vector& a, const BarModel::Vector& b,
                                             int pieces) {
    std::vector<BarModel::Vector> points;
    points.reserve(static_cast<size_t>(pieces) + 1);
    for (int k = 0; k <= pieces; ++k) {
        const double t = static_cast<double>(k) / pieces;
        points.push_back(
            {a[0] + t * (b[0] - a[0]), a[1] + t * (b[1] - a[1]), a[2] + t * (b[2] - a[2])});
    }
    points.back() = b;
    return points;
}

// A member given twice, identical in every column, counts its stiffness twice: refused at the
// line of the later one. Members between the same nodes that differ in a column (a second
// section, another material, hinges) are members in parallel, as may be meant.
void CheckRepeatedMember(const ParsedTable& elements) {
    std::vector<int> order(static_cast<size_t>(elements.Rows()));
    for (size_t row = 0; row < order.size(); ++row)
        order[row] = static_cast<int>(row);
    const auto less = [&elements](int a, int b) {
        const double* x = elements.Row(a);
        const double* y = elements.Row(b);
        return std::lexicographical_compare(x, x + elements.Width, y, y + elements.Width);
    };
    std::sort(order.begin(), order.end(),
              [&less](int a, int b) { return less(a, b) || (!less(b, a) && a < b); });
    int earlier = -1, later = -1;
    for (size_t k = 1; k < order.size(); ++k) {
        // Equal rows ascend: the first two of a run are the pair that repeats first.
        const bool opens = k == 1 || less(order[k - 2], order[k - 1]);
        if (opens && !less(order[k - 1], order[k]) && (later < 0 || order[k] < later)) {
            earlier = order[k - 1];
            later = order[k];
        }
    }
    if (later >= 0)
        throw SolverError::AtLine(
            elements.Lines[static_cast<size_t>(later)],
            QStringLiteral("element %1 repeats element %2 (line %3) in every column: a member "
                           "given twice counts its stiffness twice (members in parallel differ "
                           "in their section, material or hinges)")
                .arg(later + 1)
                .arg(earlier + 1)
                .arg(elements.Lines[static_cast<size_t>(earlier)]));
}

// The bars of each element of the file: one, or the pieces of an arc or of a member the
// modes divide; returns the bars of each element, by which its element loads are spread.
std::vector<std::vector<int>> ReadMembers(const ProblemType& type, const ParsedData& data,
                                          const std::vector<int>& pieces, BarModel& model) {
    const ParsedTable& elements = *data.Table(5);
    model.DataElements = elements.Rows();
    CheckRepeatedMember(elements);
    std::vector<std::vector<int>> barsOf(static_cast<size_t>(elements.Rows()));
    for (int row = 0; row < elements.Rows(); ++row) {
        BarModel::Bar bar = BarOf(type, elements.Row(row), data);
        bar.Element = row;
        const double radius = type.CurvedMembers ? elements.At(row, 5) : 0;
        const BarModel::Vector a = model.Nodes[static_cast<size_t>(bar.I)];
        const BarModel::Vector b = model.Nodes[static_cast<size_t>(bar.J)];
        if (radius != 0) {
            barsOf[row] =
                AddChain(model, bar, CircularArc::Points(a, b, radius, BarModelBuilder::ArcPieces));
        } else if (const int cut = static_cast<size_t>(row) < pieces.size()
                                       ? pieces[static_cast<size_t>(row)]
                                       : 1;
                   cut > 1 && !bar.Truss && bar.I != bar.J) {
            barsOf[row] = AddChain(model, bar, StraightPoints(a, b, cut));
        } else {
            barsOf[row] = {static_cast<int>(model.Bars.size())};
            model.Bars.push_back(bar);
        }
        model.Pieces.push_back(static_cast<int>(barsOf[row].size()));
    }
    return barsOf;
}

void ReadMaterials(const ParsedTable& materials, BarModel& model) {
    for (int row = 0; row < materials.Rows(); ++row) {
        const double* v = materials.Row(row);
        model.Materials.push_back({v[0], v[1], v[2], materials.Width > 3 ? v[3] : 0});
    }
}

// Supports, nodal loads, element loads (on every bar of their element) and masses.
void ReadConditions(const ProblemType& type, const ParsedData& data,
                    const std::vector<std::vector<int>>& barsOf, BarModel& model) {
    const int components = static_cast<int>(model.Components.size());
    if (const ParsedTable* supports = data.Table(6)) {
        for (int row = 0; row < supports->Rows(); ++row) {
            BarModel::Support support;
            support.Node = Index(supports->At(row, 0));
            for (int c = 0; c < components; ++c)
                support.Fixed[model.Components[c]] = supports->At(row, 1 + c) != 0;
            model.Supports.push_back(support);
        }
    }
    if (const ParsedTable* loads = data.Table(7)) {
        for (int row = 0; row < loads->Rows(); ++row) {
            BarModel::NodalLoad load;
            load.Case = static_cast<int>(loads->At(row, 0));
            load.Node = Index(loads->At(row, 1));
            for (int c = 0; c < components; ++c)
                load.Load[model.Components[c]] = loads->At(row, 2 + c);
            model.NodalLoads.push_back(load);
        }
    }
    if (const ParsedTable* loads = data.Table(8)) {
        const std::vector<int>& axes = type.LoadAxes;
        for (int row = 0; row < loads->Rows(); ++row) {
            BarModel::ElementLoad load;
            load.Case = static_cast<int>(loads->At(row, 0));
            load.Line = loads->Lines[static_cast<size_t>(row)];
            for (size_t a = 0; a < axes.size(); ++a)
                load.Q[axes[a]] = loads->At(row, 2 + static_cast<int>(a));
            for (int bar : barsOf[Index(loads->At(row, 1))]) {
                load.Bar = bar;
                model.ElementLoads.push_back(load);
            }
        }
    }
    if (const ParsedTable* masses = data.Table(9)) {
        for (int row = 0; row < masses->Rows(); ++row) {
            BarModel::Mass mass;
            mass.Node = Index(masses->At(row, 0));
            mass.M = masses->At(row, 1);
            mass.J = masses->Width > 2 ? masses->At(row, 2) : 0;
            model.Masses.push_back(mass);
        }
    }
}

} // namespace

bool BarModelBuilder::Handles(int problem) {
    return ProblemType::Of(problem).IsBars();
}

BarModel BarModelBuilder::Build(int problem, const ParsedData& data,
                                const std::vector<int>& pieces) {
    const ProblemType& type = ProblemType::Of(problem);
    BarModel model;
    model.Problem = problem;
    model.Axes = type.Lies;
    model.Truss = type.Truss;
    model.Components = type.Components;
    model.ForceUnit = data.General.size() > 1 ? data.General[1].Text : QString();
    model.LengthUnit = data.General.size() > 2 ? data.General[2].Text : QString();
    model.LoadCases = static_cast<int>(data.GeneralNumber(4));
    model.Modes = static_cast<int>(data.GeneralNumber(9));

    ReadNodes(type, *data.Table(4), model);
    model.DataNodes = static_cast<int>(model.Nodes.size());

    ReadMaterials(*data.Table(2), model);
    const std::vector<std::vector<int>> barsOf = ReadMembers(type, data, pieces, model);
    ReadConditions(type, data, barsOf, model);
    BarModelTables::Read(type, data, barsOf, model);
    return model;
}

QStringList BarModel::ComponentNames() const {
    static const char* const names[6] = {"ux", "uy", "uz", "rx", "ry", "rz"};
    QStringList list;
    for (int c : Components)
        list << QString::fromLatin1(names[c]);
    return list;
}

QStringList BarModel::LoadNames() const {
    static const char* const names[6] = {"Fx", "Fy", "Fz", "Mx", "My", "Mz"};
    QStringList list;
    for (int c : Components)
        list << QString::fromLatin1(names[c]);
    return list;
}
