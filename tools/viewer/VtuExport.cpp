#include "VtuExport.h"

#include "BarArc.h"
#include "VtuFile.h"

#include <algorithm>

namespace {

using Kind = ResultFile::Kind;
using Point = VtuFile::Point;

QString UnitOf(ResultColumn::Quantity what, const ViewerModel& model) {
    return ResultLayout::UnitOf(what, model.ForceUnit, model.LengthUnit,
                                ResultLayout::Notation::Plain);
}

// "sx [kN/m2]": a column's name with its unit, as the tables title it.
QString Titled(const QString& name, ResultColumn::Quantity what, const ViewerModel& model) {
    const QString unit = UnitOf(what, model);
    return unit.isEmpty() ? name : QStringLiteral("%1 [%2]").arg(name, unit);
}

Point ToDouble(const ViewerModel::Point& p) {
    return {p[0], p[1], p[2]};
}

// The points and cells of the model, with the inner points of the bars the results divide
// after the nodes (element by element, each from i to j, as the results list their values).
// A bar is cut into lines at its inner points; each cell knows its element, whose results
// are its cell data.
struct Grid {
    VtuFile File;
    int Nodes = 0;
    std::vector<int> Elements; // per cell, counted from 0; empty: the cells are not elements
};

Grid GridOf(const ViewerModel& model, const std::vector<std::vector<Point>>& inner) {
    Grid grid;
    std::vector<Point> points;
    for (const ViewerModel::Point& p : model.Nodes)
        points.push_back(ToDouble(p));
    grid.Nodes = static_cast<int>(points.size());
    VtuFile& file = grid.File;
    if (!model.Solids.empty()) {
        for (const SolidSurface::Corners& corners : model.Solids) {
            const int count = SolidSurface::CornersOf(corners);
            const VtuFile::CellType type = count == 8   ? VtuFile::Hexahedron
                                           : count == 6 ? VtuFile::Wedge
                                                        : VtuFile::Tetra;
            grid.Elements.push_back(file.CellCount());
            file.AddCell(type, std::vector<int>(corners.begin(), corners.begin() + count));
        }
    } else if (!model.Polygons.empty()) {
        for (const std::array<int, 4>& corners : model.Polygons) {
            const int count = corners[3] < 0 ? 3 : 4;
            grid.Elements.push_back(file.CellCount());
            file.AddCell(count == 3 ? VtuFile::Triangle : VtuFile::Quad,
                         std::vector<int>(corners.begin(), corners.begin() + count));
        }
    } else if (!model.Bars.empty()) {
        for (size_t e = 0; e < model.Bars.size(); ++e) {
            int from = model.Bars[e].I;
            const std::vector<Point> none;
            for (const Point& p : e < inner.size() ? inner[e] : none) {
                const int to = static_cast<int>(points.size());
                points.push_back(p);
                grid.Elements.push_back(static_cast<int>(e));
                file.AddCell(VtuFile::Line, {from, to});
                from = to;
            }
            grid.Elements.push_back(static_cast<int>(e));
            file.AddCell(VtuFile::Line, {from, model.Bars[e].J});
        }
    } else {
        for (const std::array<int, 2>& edge : model.Edges)
            file.AddCell(VtuFile::Line, {edge[0], edge[1]});
    }
    if (grid.Elements.size() != static_cast<size_t>(file.CellCount()))
        grid.Elements.clear();
    file.SetPoints(std::move(points));
    if (!grid.Elements.empty()) {
        std::vector<double> numbers;
        for (const int e : grid.Elements)
            numbers.push_back(e + 1);
        file.AddCellData(QStringLiteral("Element"), 1, std::move(numbers));
    }
    return grid;
}

// The arcs' inner points of type 1, where the results carry them.
std::vector<std::vector<Point>> ArcPoints(const ViewerModel& model, int resultPoints) {
    std::vector<std::vector<Point>> inner(model.Bars.size());
    size_t arc = 0;
    qint64 total = 0;
    for (size_t e = 0; e < model.Bars.size(); ++e) {
        if (model.Bars[e].Radius == 0 || arc >= model.Curves.size())
            continue;
        const std::vector<ViewerModel::Point>& curve = model.Curves[arc++];
        for (size_t k = 1; k + 1 < curve.size(); ++k)
            inner[e].push_back(ToDouble(curve[k]));
        total += static_cast<qint64>(inner[e].size());
    }
    return total == resultPoints ? inner : std::vector<std::vector<Point>>{};
}

// The inner points of the straight bars modes and buckling divide, equally spaced.
std::vector<std::vector<Point>> PiecePoints(const ViewerModel& model,
                                            const ResultFile::Shapes& shapes) {
    if (shapes.Pieces.size() != model.Bars.size())
        return {};
    std::vector<std::vector<Point>> inner(model.Bars.size());
    for (size_t e = 0; e < model.Bars.size(); ++e) {
        const Point i = ToDouble(model.Nodes[static_cast<size_t>(model.Bars[e].I)]);
        const Point j = ToDouble(model.Nodes[static_cast<size_t>(model.Bars[e].J)]);
        const int pieces = shapes.Pieces[e];
        for (int m = 1; m < pieces; ++m) {
            const double t = double(m) / pieces;
            inner[e].push_back(
                {i[0] + t * (j[0] - i[0]), i[1] + t * (j[1] - i[1]), i[2] + t * (j[2] - i[2])});
        }
    }
    return inner;
}

// The point data of node values in the file's components (nodes, then inner points): the
// translations as "Displacement" and the turns as "Rotation" in global axes, and any other
// component (a profile's warping) as a scalar of its own. Reactions come the same way, as
// forces and moments.
void AddMotion(VtuFile& file, const std::vector<double>& values, const QStringList& components,
               const ViewerModel& model, const QString& vectorName, const QString& turnName) {
    const ViewerResults::Places places = ViewerResults::PlacesOf(components);
    const int width = static_cast<int>(components.size());
    const int points = file.PointCount();
    const bool moves = places[0] >= 0 || places[1] >= 0 || places[2] >= 0;
    const bool turns = places[3] >= 0 || places[4] >= 0 || places[5] >= 0;
    std::vector<double> move, turn;
    for (int p = 0; p < points; ++p) {
        const ViewerResults::Motion motion = ViewerResults::NodeMotion(values, places, width, p);
        move.insert(move.end(), motion.Move.begin(), motion.Move.end());
        turn.insert(turn.end(), motion.Turn.begin(), motion.Turn.end());
    }
    if (moves)
        file.AddPointData(vectorName, 3, std::move(move));
    if (turns && !turnName.isEmpty())
        file.AddPointData(turnName, 3, std::move(turn));
    for (int c = 0; c < width; ++c) {
        if (std::find(places.begin(), places.end(), c) != places.end())
            continue;
        std::vector<double> scalar(static_cast<size_t>(points), 0.0);
        for (int p = 0; p < points; ++p) {
            const size_t at = static_cast<size_t>(p) * static_cast<size_t>(width) + size_t(c);
            if (at < values.size())
                scalar[static_cast<size_t>(p)] = values[at];
        }
        file.AddPointData(Titled(components[c], ResultLayout::OfComponent(components[c]), model), 1,
                          std::move(scalar));
    }
}

// Node values of a list given node by node only (the inner points get none), padded with 0
// for the grid's inner points.
std::vector<double> Padded(std::vector<double> values, int width, int points) {
    values.resize(static_cast<size_t>(points) * static_cast<size_t>(width), 0.0);
    return values;
}

// The columns of a block (count x layout) as one scalar array each, at the points (the inner
// points get 0) or at the cells (each its element's).
void AddColumns(Grid& grid, const std::vector<double>& block, const ResultLayout& layout,
                const ViewerModel& model, bool points, const QString& suffix = {}) {
    VtuFile& file = grid.File;
    if (!points && grid.Elements.empty())
        return;
    const int width = layout.Count();
    const int count = points ? file.PointCount() : file.CellCount();
    for (int c = 0; c < width; ++c) {
        std::vector<double> column(static_cast<size_t>(count), 0.0);
        for (int k = 0; k < count; ++k) {
            const int row = points ? k : grid.Elements[static_cast<size_t>(k)];
            const size_t at = static_cast<size_t>(row) * static_cast<size_t>(width) + size_t(c);
            if (at < block.size())
                column[static_cast<size_t>(k)] = block[at];
        }
        const QString name = Titled(layout[c].Name + suffix, layout[c].What, model);
        if (points)
            file.AddPointData(name, 1, std::move(column));
        else
            file.AddCellData(name, 1, std::move(column));
    }
}

// The reactions of the support items summed at their nodes, as forces and moments in global
// axes.
template <typename Reaction>
std::vector<double> ReactionValues(const std::vector<Reaction>& reactions, int width, int nodes) {
    std::vector<double> values(static_cast<size_t>(nodes) * static_cast<size_t>(width), 0.0);
    for (const Reaction& reaction : reactions) {
        if (reaction.Node < 1 || reaction.Node > nodes)
            continue;
        for (size_t c = 0; c < reaction.Values.size() && c < size_t(width); ++c)
            values[static_cast<size_t>(reaction.Node - 1) * size_t(width) + c] +=
                reaction.Values[c];
    }
    return values;
}

class Builder {
public:
    Builder(const ViewerModel& model, const ViewerResults& results, const QString& base)
        : model_(model), results_(results), contents_(results.Contents()), base_(base) {}

    std::vector<VtuExport::File> Build() {
        if (contents_.Type == Kind::Statics)
            Statics();
        else if (contents_.Type == Kind::Field || contents_.Type == Kind::Torsion)
            Field();
        else
            Shapes();
        std::vector<VtuExport::File> files = std::move(files_);
        if (!series_.empty())
            files.push_back({base_ + QStringLiteral(".pvd"), VtuFile::Collection(series_)});
        if (!forced_.empty())
            files.push_back({base_ + QStringLiteral("-forced.pvd"), VtuFile::Collection(forced_)});
        return files;
    }

private:
    // "case1", "combination2", "envelope1-max".
    QString EntryName(int entry, size_t cases, size_t combinations) const {
        const size_t at = static_cast<size_t>(entry);
        if (at < cases)
            return QStringLiteral("case%1");
        if (at < cases + combinations)
            return QStringLiteral("combination%1");
        return (at - cases - combinations) % 2 == 0 ? QStringLiteral("envelope%1-max")
                                                    : QStringLiteral("envelope%1-min");
    }

    void Add(std::vector<std::pair<double, QString>>& series, const QString& name,
             const VtuFile& file) {
        const QString fileName = QStringLiteral("%1-%2.vtu").arg(base_, name);
        series.push_back({double(series.size()), fileName});
        files_.push_back({fileName, file.Text()});
    }

    int EntryNumber(int entry, size_t cases, size_t combinations, int number) const {
        const size_t at = static_cast<size_t>(entry);
        if (at < cases + combinations)
            return number;
        return contents_.Type == Kind::Statics
                   ? contents_.Statics.Envelopes[(at - cases - combinations) / 2].Number
                   : contents_.Field.Envelopes[(at - cases - combinations) / 2].Number;
    }

    void Statics() {
        const StaticResults& r = contents_.Statics;
        const std::vector<std::vector<Point>> inner = ArcPoints(model_, r.ArcPoints);
        const int width = r.ComponentCount();
        for (int entry = 0; entry < results_.StaticEntries(); ++entry) {
            const StaticResults::Case& c = *results_.StaticEntry(entry);
            Grid grid = GridOf(model_, inner);
            std::vector<double> values = c.Displacements;
            if (!inner.empty())
                values.insert(values.end(), c.ArcDisplacements.begin(), c.ArcDisplacements.end());
            AddMotion(grid.File, Padded(values, width, grid.File.PointCount()), r.Components,
                      model_, QStringLiteral("Displacement"), QStringLiteral("Rotation"));
            AddMotion(grid.File, ReactionValues(c.Reactions, width, grid.File.PointCount()),
                      r.Components, model_, QStringLiteral("Reaction"),
                      QStringLiteral("Reaction moment"));
            AddColumns(grid, c.Forces, r.Forces, model_, false);
            Add(series_, Named(entry, r.Cases.size(), r.Combinations.size(), c.Number), grid.File);
        }
    }

    QString Named(int entry, size_t cases, size_t combinations, int number) const {
        return EntryName(entry, cases, combinations)
            .arg(EntryNumber(entry, cases, combinations, number));
    }

    void Field() {
        const FieldResults& r = contents_.Field;
        const int width = r.ComponentCount();
        for (int entry = 0; entry < results_.StaticEntries(); ++entry) {
            const FieldResults::Case& c = *results_.FieldEntry(entry);
            Grid grid = GridOf(model_, {});
            AddMotion(grid.File, c.Displacements, r.Components, model_,
                      QStringLiteral("Displacement"), QStringLiteral("Rotation"));
            if (!c.Reactions.empty())
                AddMotion(grid.File, ReactionValues(c.Reactions, width, grid.Nodes), r.Components,
                          model_, QStringLiteral("Reaction"), QStringLiteral("Reaction moment"));
            AddColumns(grid, c.NodeStresses, r.Columns, model_, true);
            AddColumns(grid, c.Stresses, r.Columns, model_, false);
            Add(series_, Named(entry, r.Cases.size(), r.Combinations.size(), c.Number), grid.File);
        }
    }

    void Shapes() {
        const ResultFile::Shapes& shapes = contents_.Modes;
        const bool modes = contents_.Type == Kind::Modes;
        const std::vector<std::vector<Point>> inner = PiecePoints(model_, shapes);
        const int width = static_cast<int>(shapes.Components.size());
        const ResultFile::Forced& forced = contents_.Vibrations;
        for (size_t s = 0; s < shapes.List.size(); ++s) {
            const ResultFile::Shapes::Shape& shape = shapes.List[s];
            Grid grid = GridOf(model_, inner);
            std::vector<double> values = shape.Displacements;
            if (!inner.empty())
                values.insert(values.end(), shape.Inner.begin(), shape.Inner.end());
            AddMotion(grid.File, Padded(values, width, grid.File.PointCount()), shapes.Components,
                      model_, QStringLiteral("Displacement"), QStringLiteral("Rotation"));
            if (s < forced.ShapeElements.size())
                AddColumns(grid, forced.ShapeElements[s], forced.Columns, model_, false);
            if (modes) {
                grid.File.AddFieldValue(QStringLiteral("Frequency [Hz]"), shape.Value);
            } else {
                grid.File.AddFieldValue(QStringLiteral("Critical factor"), shape.Value);
                grid.File.AddFieldValue(QStringLiteral("Load case"), shape.Case);
            }
            Add(series_,
                QString::fromLatin1(modes ? "mode%1" : "buckling%1").arg(qulonglong(s + 1)),
                grid.File);
        }
        for (const ResultFile::Forced::Excitation& excitation : forced.List)
            Vibration(excitation, shapes.Components);
    }

    // A history's largest and smallest values over time, or a spectrum's combined peaks; a
    // harmonic sweep has no single shape to show and is left out.
    void Vibration(const ResultFile::Forced::Excitation& excitation,
                   const QStringList& components) {
        using FK = ResultFile::Forced::Kind;
        const ResultLayout& columns = contents_.Vibrations.Columns;
        const QString name = QStringLiteral("excitation%1").arg(excitation.Number);
        if (excitation.Type == FK::Spectrum) {
            Grid grid = GridOf(model_, {});
            AddMotion(grid.File, excitation.NodePeaks, components, model_,
                      QStringLiteral("Displacement"), QStringLiteral("Rotation"));
            AddColumns(grid, excitation.ElementPeaks, columns, model_, false);
            Add(forced_, name + QStringLiteral("-peaks"), grid.File);
            return;
        }
        if (excitation.Type != FK::History)
            return;
        for (const int bound : {0, 2}) {
            Grid grid = GridOf(model_, {});
            AddMotion(grid.File, Every(excitation.NodePeaks, bound), components, model_,
                      QStringLiteral("Displacement"), QStringLiteral("Rotation"));
            AddColumns(grid, Every(excitation.ElementPeaks, bound), columns, model_, false);
            AddColumns(grid, Every(excitation.ElementPeaks, bound + 1), InstantsOf(columns), model_,
                       false, QStringLiteral(" time [s]"));
            Add(forced_, name + (bound == 0 ? QStringLiteral("-max") : QStringLiteral("-min")),
                grid.File);
        }
    }

    // Every fourth value from `first`: a history's bounds and their instants, one of the four.
    static std::vector<double> Every(const std::vector<double>& values, int first) {
        std::vector<double> picked;
        for (size_t k = static_cast<size_t>(first); k < values.size(); k += 4)
            picked.push_back(values[k]);
        return picked;
    }

    static ResultLayout InstantsOf(const ResultLayout& columns) {
        ResultLayout instants = columns;
        for (ResultColumn& column : instants.Columns)
            column.What = ResultColumn::Quantity::None;
        return instants;
    }

    const ViewerModel& model_;
    const ViewerResults& results_;
    const ResultFile::Contents& contents_;
    QString base_;
    std::vector<VtuExport::File> files_;
    std::vector<std::pair<double, QString>> series_, forced_;
};

} // namespace

std::vector<VtuExport::File> VtuExport::Files(const ViewerModel& model,
                                              const ViewerResults& results, const QString& base) {
    if (!results.Ok())
        return {};
    return Builder(model, results, base).Build();
}
