#include "StructuralFormats.h"

#include "ActionTables.h"
#include "CheckFault.h"
#include "CountLimits.h"
#include "DynamicTables.h"
#include "ModelRules.h"
#include "ParsedData.h"

namespace {

using Rule = ValueRule;
using Rules = std::vector<ValueRule>;

GeneralItemFormat Text(const QString& label) {
    return {label, GeneralItemFormat::Kind::Text, {}};
}

GeneralItemFormat Unit(const QString& label) {
    return {label, GeneralItemFormat::Kind::Unit, {}};
}

GeneralItemFormat Value(const ValueRule& rule) {
    return {rule.Name, GeneralItemFormat::Kind::Value, rule};
}

// Items 1 to 8 of table 1; `cases` bounds the number of load cases.
std::vector<GeneralItemFormat> General(int minCases, int maxCases) {
    return {Text(QStringLiteral("Title")),
            Unit(QStringLiteral("Force unit")),
            Unit(QStringLiteral("Length unit")),
            Value(Rule::Count(QStringLiteral("Load cases"), minCases, maxCases)),
            Value(Rule::Whole(QStringLiteral("Nodes"), 0)),
            Value(Rule::Whole(QStringLiteral("Elements"), 0)),
            Value(Rule::Whole(QStringLiteral("Materials"), 0)),
            Value(Rule::Whole(QStringLiteral("Sections"), 0))};
}

std::vector<GeneralItemFormat> Statics() {
    return General(1, CountLimits::LoadCases);
}

std::vector<GeneralItemFormat> With(std::vector<GeneralItemFormat> items, const ValueRule& ninth) {
    items.push_back(Value(ninth));
    return items;
}

TableFormat Table(int number, const QString& title, const QString& items,
                  std::vector<ValueRule> columns, int minItems) {
    return TableFormat::Make(number, title, items, std::move(columns), minItems);
}

TableFormat Materials() {
    return Table(
        2, QStringLiteral("Materials"), QStringLiteral("materials"),
        {Rule::Positive(QStringLiteral("E")), Rule::RealBelow(QStringLiteral("nu"), 0, 0.5),
         Rule::NonNegative(QStringLiteral("gamma")), Rule::NonNegative(QStringLiteral("alpha"))},
        1);
}

TableFormat Sections(const QStringList& names) {
    Rules columns;
    for (const QString& name : names)
        columns.push_back(Rule::Positive(name));
    return Table(3, QStringLiteral("Sections"), QStringLiteral("sections"), columns, 1);
}

// Shaft sections: outer diameter D and inner diameter d, 0 for a solid shaft.
TableFormat ShaftSections() {
    TableFormat table =
        Table(3, QStringLiteral("Sections"), QStringLiteral("sections"),
              {Rule::Positive(QStringLiteral("D")), Rule::NonNegative(QStringLiteral("d"))}, 1);
    table.OnRow = [](const ParsedTable& sections, int row, const ParsedData&) {
        if (sections.At(row, 1) >= sections.At(row, 0))
            throw CheckFault{sections.Lines[row],
                             QStringLiteral("the inner diameter d must be less than the outer "
                                            "diameter D")};
    };
    return table;
}

// `radial`: the first coordinate is a radius and cannot be negative.
TableFormat Nodes(const QStringList& coordinates, int minItems, bool radial = false) {
    Rules columns;
    for (const QString& name : coordinates)
        columns.push_back(Rule::Real(name));
    if (radial)
        columns[0] = Rule::NonNegative(coordinates[0]);
    // The preview's model file holds coordinates as 32-bit singles.
    for (Rule& column : columns)
        column.SingleRange = true;
    return Table(4, QStringLiteral("Nodes"), QStringLiteral("nodes"), columns, minItems);
}

Rules BarEnds() {
    return {Rule::Ref(QStringLiteral("node i"), 4), Rule::Ref(QStringLiteral("node j"), 4),
            Rule::Ref(QStringLiteral("material"), 2)};
}

Rules Corners(int count, int required) {
    Rules columns;
    for (int corner = 1; corner <= count; ++corner)
        columns.push_back(Rule::Ref(QStringLiteral("n%1").arg(corner), 4, corner > required));
    columns.push_back(Rule::Ref(QStringLiteral("material"), 2));
    return columns;
}

Rules Plus(Rules columns, const Rules& more) {
    columns.insert(columns.end(), more.begin(), more.end());
    return columns;
}

const Rule& SectionRef() {
    static const Rule section = Rule::Ref(QStringLiteral("section"), 3);
    return section;
}

const Rule& Hinges() {
    static const Rule hinges = Rule::Whole(QStringLiteral("hinges"), 0, 3);
    return hinges;
}

TableFormat Elements(Rules columns, RowCheck check) {
    TableFormat table =
        Table(5, QStringLiteral("Elements"), QStringLiteral("elements"), std::move(columns), 1);
    table.OnRow = std::move(check);
    return table;
}

// Elements of a continuum (plane, plate, shell, solid, a shell of revolution's meridian): one
// standing on the nodes of an earlier one is refused. Members of a frame or truss are not,
// since two may join the same nodes with other sections.
TableFormat Cells(Rules columns, RowCheck check, int corners) {
    TableFormat table = Elements(std::move(columns), std::move(check));
    table.OnEnd = ModelRules::DistinctElements(corners);
    return table;
}

// Natural modes (`free` true) may have no supports: a structure free to move has rigid-body
// modes at 0 Hz before its elastic ones. Statics needs at least one.
TableFormat Supports(const QStringList& codes, bool free = false) {
    Rules columns{Rule::Ref(QStringLiteral("node"), 4)};
    for (const QString& code : codes)
        columns.push_back(Rule::Flag(code));
    TableFormat table =
        Table(6, QStringLiteral("Supports"), QStringLiteral("supports"), columns, free ? 0 : 1);
    table.OnRow = ModelRules::FixesSomething();
    table.OnEnd = ModelRules::UniqueNodes();
    return table;
}

TableFormat Loads(int number, const QString& title, const Rule& target,
                  const QStringList& components) {
    Rules columns{Rule::LoadCase(), target};
    for (const QString& component : components)
        columns.push_back(Rule::Real(component));
    return Table(number, title, title.toLower(), columns, 0);
}

TableFormat NodalLoads(const QStringList& components) {
    return Loads(7, QStringLiteral("Nodal loads"), Rule::Ref(QStringLiteral("node"), 4),
                 components);
}

TableFormat ElementLoads(const QStringList& components) {
    return Loads(8, QStringLiteral("Element loads"), Rule::Ref(QStringLiteral("element"), 5),
                 components);
}

TableFormat Masses(const QStringList& components) {
    Rules columns{Rule::Ref(QStringLiteral("node"), 4)};
    for (const QString& component : components)
        columns.push_back(Rule::NonNegative(component));
    TableFormat table = Table(9, QStringLiteral("Masses"), QStringLiteral("masses"), columns, 0);
    table.OnEnd = ModelRules::UniqueNodes();
    return table;
}

DataFormat Format(int problem, const QString& name, std::vector<GeneralItemFormat> general,
                  std::vector<TableFormat> tables, ModelShape model) {
    DataFormat format;
    format.Problem = problem;
    format.Name = name;
    format.General = std::move(general);
    format.Tables = std::move(tables);
    format.Model = model;
    const int corners = model.Kind == ModelShape::Elements::Bars       ? 2
                        : model.Kind == ModelShape::Elements::Polygons ? 4
                                                                       : 8;
    format.OnEnd = ModelRules::AllNodesUsed(corners);
    return format;
}

using E = ModelShape::Elements;
constexpr ModelShape PlaneBars{E::Bars, 0, -1, 1}; // x and z: the vertical x-z plane
constexpr ModelShape SpaceBars{E::Bars, 0, 1, 2};  // x, y and z
constexpr ModelShape FloorBars{E::Bars, 0, 1, -1}; // x and y: the horizontal plane
constexpr ModelShape PlanePolygons{E::Polygons, 0, -1, 1};
constexpr ModelShape FloorPolygons{E::Polygons, 0, 1, -1};
constexpr ModelShape SpacePolygons{E::Polygons, 0, 1, 2};

// Torsion: the profile's contour nodes; the outer contour (0) must be there.
TableFormat ContourNodes() {
    TableFormat table =
        Table(6, QStringLiteral("Contour nodes"), QStringLiteral("contour nodes"),
              {Rule::Ref(QStringLiteral("node"), 4), Rule::Whole(QStringLiteral("contour"), 0)}, 3);
    table.OnEnd = [unique = ModelRules::UniqueNodes()](const ParsedTable& contour,
                                                       const ParsedData& data) {
        unique(contour, data);
        for (int row = 0; row < contour.Rows(); ++row) {
            if (contour.At(row, 1) == 0)
                return;
        }
        throw CheckFault{contour.HeaderLine,
                         QStringLiteral("no node lies on the outer contour (contour 0)")};
    };
    return table;
}

// Shaft lines: the bearings with their radial stiffness, 0 for a rigid bearing.
TableFormat Bearings() {
    TableFormat table =
        Table(6, QStringLiteral("Bearings"), QStringLiteral("bearings"),
              {Rule::Ref(QStringLiteral("node"), 4), Rule::NonNegative(QStringLiteral("k"))}, 1);
    table.OnEnd = ModelRules::UniqueNodes();
    return table;
}

// The format of `problem` with the tables of its own, 2 to 9.
std::optional<DataFormat> OwnTables(int problem, bool dynamics) {
    const QStringList planeLoads{QStringLiteral("Fx"), QStringLiteral("Fz"), QStringLiteral("My")};
    const QStringList planeCodes{QStringLiteral("ux"), QStringLiteral("uz"), QStringLiteral("ry")};
    const QStringList spaceLoads{QStringLiteral("Fx"), QStringLiteral("Fy"), QStringLiteral("Fz"),
                                 QStringLiteral("Mx"), QStringLiteral("My"), QStringLiteral("Mz")};
    const QStringList spaceCodes{QStringLiteral("ux"), QStringLiteral("uy"), QStringLiteral("uz"),
                                 QStringLiteral("rx"), QStringLiteral("ry"), QStringLiteral("rz")};
    const QStringList xz{QStringLiteral("x"), QStringLiteral("z")};
    const QStringList xyz{QStringLiteral("x"), QStringLiteral("y"), QStringLiteral("z")};
    const QStringList rz{QStringLiteral("r"), QStringLiteral("z")};
    const Rule modes =
        Rule::Count(QStringLiteral("Natural modes"), dynamics ? 1 : 0, CountLimits::Modes);

    switch (problem) {
    case 1:
        return Format(
            1, QStringLiteral("beams and frames"), Statics(),
            {Materials(), Sections({QStringLiteral("A"), QStringLiteral("I")}), Nodes(xz, 2),
             Elements(Plus(BarEnds(), {SectionRef(), Hinges(), Rule::Real(QStringLiteral("R"))}),
                      ModelRules::ArcBar(5)),
             Supports(planeCodes), NodalLoads(planeLoads),
             ElementLoads({QStringLiteral("qx"), QStringLiteral("qz")})},
            PlaneBars);
    case 2:
        return Format(
            2, QStringLiteral("axisymmetric shell systems"), Statics(),
            {Materials(), Sections({QStringLiteral("t")}), Nodes(rz, 2, true),
             Cells(Plus(BarEnds(), {SectionRef()}), ModelRules::Bar(), 2),
             Supports({QStringLiteral("ur"), QStringLiteral("uz"), QStringLiteral("rot")}),
             NodalLoads({QStringLiteral("Fr"), QStringLiteral("Fz"), QStringLiteral("M")}),
             ElementLoads({QStringLiteral("p")})},
            PlaneBars);
    case 3:
        return Format(3, QStringLiteral("plane trusses"), Statics(),
                      {Materials(), Sections({QStringLiteral("A")}), Nodes(xz, 2),
                       Elements(Plus(BarEnds(), {SectionRef()}), ModelRules::Bar()),
                       Supports({QStringLiteral("ux"), QStringLiteral("uz")}),
                       NodalLoads({QStringLiteral("Fx"), QStringLiteral("Fz")})},
                      PlaneBars);
    case 4:
        return Format(
            4, QStringLiteral("space trusses"), With(Statics(), modes),
            {Materials(), Sections({QStringLiteral("A")}), Nodes(xyz, 2),
             Elements(Plus(BarEnds(), {SectionRef()}), ModelRules::Bar()),
             Supports({QStringLiteral("ux"), QStringLiteral("uy"), QStringLiteral("uz")}, dynamics),
             NodalLoads({QStringLiteral("Fx"), QStringLiteral("Fy"), QStringLiteral("Fz")}),
             Masses({QStringLiteral("m")})},
            SpaceBars);
    case 5:
    case 15:
        return Format(problem,
                      problem == 5 ? QStringLiteral("plane frames")
                                   : QStringLiteral("stability problems of plane frames"),
                      problem == 5 ? Statics()
                                   : With(Statics(), Rule::Count(QStringLiteral("Buckling modes"),
                                                                 1, CountLimits::Modes)),
                      {Materials(), Sections({QStringLiteral("A"), QStringLiteral("I")}),
                       Nodes(xz, 2),
                       Elements(Plus(BarEnds(), {SectionRef(), Hinges()}), ModelRules::Bar()),
                       Supports(planeCodes), NodalLoads(planeLoads),
                       ElementLoads({QStringLiteral("qx"), QStringLiteral("qz")})},
                      PlaneBars);
    case 6:
        return Format(
            6, QStringLiteral("grillages"), Statics(),
            {Materials(), Sections({QStringLiteral("I"), QStringLiteral("It")}),
             Nodes({QStringLiteral("x"), QStringLiteral("y")}, 2),
             Elements(Plus(BarEnds(), {SectionRef()}), ModelRules::Bar()),
             Supports({QStringLiteral("uz"), QStringLiteral("rx"), QStringLiteral("ry")}),
             NodalLoads({QStringLiteral("Fz"), QStringLiteral("Mx"), QStringLiteral("My")}),
             ElementLoads({QStringLiteral("qz")})},
            FloorBars);
    case 7:
        return Format(
            7, QStringLiteral("space frames"), With(Statics(), modes),
            {Materials(),
             Sections({QStringLiteral("A"), QStringLiteral("It"), QStringLiteral("Iy"),
                       QStringLiteral("Iz")}),
             Nodes(xyz, 2),
             Elements(Plus(BarEnds(), {SectionRef(), Rule::Real(QStringLiteral("beta"))}),
                      ModelRules::Bar()),
             Supports(spaceCodes, dynamics), NodalLoads(spaceLoads),
             ElementLoads({QStringLiteral("qx"), QStringLiteral("qy"), QStringLiteral("qz")}),
             Masses({QStringLiteral("m")})},
            SpaceBars);
    case 8:
        return Format(
            8, QStringLiteral("complex plane frames and beams"),
            With(General(0, 0),
                 Rule::Count(QStringLiteral("Natural modes"), 1, CountLimits::Modes)),
            {Materials(), Sections({QStringLiteral("A"), QStringLiteral("I")}), Nodes(xz, 2),
             Elements(Plus(BarEnds(), {SectionRef(), Hinges()}), ModelRules::Bar()),
             Supports(planeCodes, true), Masses({QStringLiteral("m"), QStringLiteral("J")})},
            PlaneBars);
    case 9:
        return Format(9, QStringLiteral("plane stress problems"), Statics(),
                      {Materials(), Sections({QStringLiteral("t")}), Nodes(xz, 3),
                       Cells(Plus(Corners(4, 3), {SectionRef()}), ModelRules::Polygon(), 4),
                       Supports({QStringLiteral("ux"), QStringLiteral("uz")}),
                       NodalLoads({QStringLiteral("Fx"), QStringLiteral("Fz")})},
                      PlanePolygons);
    case 10:
        return Format(10, QStringLiteral("plane strain problems"), Statics(),
                      {Materials(), Nodes(xz, 3), Cells(Corners(4, 3), ModelRules::Polygon(), 4),
                       Supports({QStringLiteral("ux"), QStringLiteral("uz")}),
                       NodalLoads({QStringLiteral("Fx"), QStringLiteral("Fz")})},
                      PlanePolygons);
    case 11:
        return Format(11, QStringLiteral("axisymmetric bodies"), Statics(),
                      {Materials(), Nodes(rz, 3, true),
                       Cells(Corners(4, 3), ModelRules::Polygon(), 4),
                       Supports({QStringLiteral("ur"), QStringLiteral("uz")}),
                       NodalLoads({QStringLiteral("Fr"), QStringLiteral("Fz")})},
                      PlanePolygons);
    case 12:
        return Format(12, QStringLiteral("shaft lines"),
                      With(General(0, 0), Rule::Count(QStringLiteral("Natural frequencies"), 1,
                                                      CountLimits::Modes)),
                      {Materials(), ShaftSections(), Nodes({QStringLiteral("x")}, 2),
                       Elements(Plus(BarEnds(), {SectionRef()}), ModelRules::Bar()), Bearings(),
                       [] {
                           TableFormat discs = Masses(
                               {QStringLiteral("m"), QStringLiteral("Jp"), QStringLiteral("Jd")});
                           discs.Title = QStringLiteral("Discs");
                           discs.ItemsName = QStringLiteral("discs");
                           return discs;
                       }()},
                      ModelShape{E::Bars, 0, -1, -1});
    case 13:
        return Format(
            13, QStringLiteral("plates"), With(Statics(), modes),
            {Materials(), Sections({QStringLiteral("t")}),
             Nodes({QStringLiteral("x"), QStringLiteral("y")}, 3),
             Cells(Plus(Corners(4, 3), {SectionRef()}), ModelRules::Polygon(), 4),
             Supports({QStringLiteral("uz"), QStringLiteral("rx"), QStringLiteral("ry")}, dynamics),
             NodalLoads({QStringLiteral("Fz"), QStringLiteral("Mx"), QStringLiteral("My")}),
             ElementLoads({QStringLiteral("p")}), Masses({QStringLiteral("m")})},
            FloorPolygons);
    case 14:
        return Format(14, QStringLiteral("shells"), Statics(),
                      {Materials(), Sections({QStringLiteral("t")}), Nodes(xyz, 3),
                       Cells(Plus(Corners(4, 3), {SectionRef()}), ModelRules::Polygon(), 4),
                       Supports(spaceCodes), NodalLoads(spaceLoads),
                       ElementLoads({QStringLiteral("p")})},
                      SpacePolygons);
    case 16:
        return Format(16, QStringLiteral("torsion profiles"),
                      With(General(1, 1), Rule::Positive(QStringLiteral("Twisting moment"))),
                      {Materials(), Nodes({QStringLiteral("y"), QStringLiteral("z")}, 3),
                       Cells(Corners(4, 3), ModelRules::Polygon(), 4), ContourNodes()},
                      PlanePolygons);
    case 17:
        return Format(
            17, QStringLiteral("solids"), Statics(),
            {Materials(), Nodes(xyz, 4), Cells(Corners(8, 4), ModelRules::Solid(), 8),
             Supports({QStringLiteral("ux"), QStringLiteral("uy"), QStringLiteral("uz")}),
             NodalLoads({QStringLiteral("Fx"), QStringLiteral("Fy"), QStringLiteral("Fz")})},
            ModelShape{E::Solids, 0, 1, 2});
    default:
        return std::nullopt;
    }
}

} // namespace

namespace StructuralFormats {

std::optional<DataFormat> For(int problem, bool dynamics) {
    std::optional<DataFormat> format = OwnTables(problem, dynamics);
    if (format) {
        ActionTables::Add(*format, dynamics);
        DynamicTables::Add(*format, dynamics);
    }
    return format;
}

} // namespace StructuralFormats
