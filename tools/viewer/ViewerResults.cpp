#include "ViewerResults.h"

#include "BarArc.h"
#include "FieldLayout.h"
#include "ResultChoice.h"
#include "RoundingNoise.h"
#include "SolverCatalogue.h"
#include "SolverCommand.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>
#include <set>

namespace {

QString Counted(qint64 count, const QString& noun) {
    return ResultChoice::Counted(count, noun);
}

using Kind = ResultFile::Kind;

std::optional<SolverEntry> SolverFor(const ProblemType& type, bool dynamics) {
    for (const SolverEntry& entry : SolverEntry::All()) {
        // Mathematics and shaft lines are answered by a report, with no file to show.
        if (entry.Problem == type.Number && entry.Dynamics == dynamics &&
            !entry.ResultExtension.isEmpty())
            return entry;
    }
    return std::nullopt;
}

Kind KindOf(SolverEntry::Analysis analysis) {
    return analysis == SolverEntry::Analysis::Modes      ? Kind::Modes
           : analysis == SolverEntry::Analysis::Buckling ? Kind::Buckling
                                                         : Kind::Statics;
}

QString KindName(Kind kind) {
    switch (kind) {
    case Kind::Modes:
        return QStringLiteral("natural modes");
    case Kind::Buckling:
        return QStringLiteral("buckling shapes");
    case Kind::Field:
        return QStringLiteral("stresses of a continuum");
    case Kind::Torsion:
        return QStringLiteral("the torsion of a profile");
    default:
        return QStringLiteral("static results");
    }
}

// The rigid-body modes of a free structure, which the result file leaves out: the count the
// solver's report gives ("3 rigid-body modes at 0 Hz"), near its top; 0 without a report.
int RigidModesIn(const QString& reportPath) {
    QFile report(reportPath);
    if (!report.open(QIODevice::ReadOnly))
        return 0;
    static const QRegularExpression line(
        QStringLiteral("(?:^|\\n)(\\d{1,6}) rigid-body modes? at 0 Hz"));
    const QRegularExpressionMatch match = line.match(QString::fromLatin1(report.read(1 << 16)));
    return match.hasMatch() ? match.captured(1).toInt() : 0;
}

bool Finite(const std::vector<double>& values) {
    return std::all_of(values.begin(), values.end(), [](double v) { return std::isfinite(v); });
}

// What a load case of a result file has that the data cannot: a number outside the data's
// cases or one given twice, a reaction at a node the data lacks or one that is not finite.
template <typename Case>
QString CaseFault(const Case& c, int loadCases, int nodes, std::set<int>& numbers) {
    if (c.Number < 1 || c.Number > std::max(1, loadCases))
        return QStringLiteral("it has load case %1, but the data has %2")
            .arg(c.Number)
            .arg(loadCases);
    if (!numbers.insert(c.Number).second)
        return QStringLiteral("it has load case %1 twice").arg(c.Number);
    for (const auto& reaction : c.Reactions) {
        if (reaction.Node < 1 || reaction.Node > nodes)
            return QStringLiteral("it has a reaction at node %1, which the data does not have")
                .arg(reaction.Node);
        if (!Finite(reaction.Values))
            return QStringLiteral("its reaction at node %1 in load case %2 is not a finite "
                                  "number")
                .arg(reaction.Node)
                .arg(c.Number);
    }
    return {};
}

// What a load combination of a result file has that the data cannot: a number given twice, a
// term of a case the data lacks, a reaction at a node it lacks, a value that is not finite.
template <typename Case>
QString CombinationFault(const Case& c, int loadCases, int nodes, std::set<int>& numbers) {
    if (c.Number < 1 || !numbers.insert(c.Number).second)
        return QStringLiteral("it has combination %1 twice or out of order").arg(c.Number);
    for (const auto& [loadCase, factor] : c.Terms)
        if (loadCase < 1 || loadCase > std::max(1, loadCases) || !std::isfinite(factor))
            return QStringLiteral("its combination %1 names load case %2, but the data has %3")
                .arg(c.Number)
                .arg(loadCase)
                .arg(loadCases);
    for (const auto& reaction : c.Reactions)
        if (reaction.Node < 1 || reaction.Node > nodes || !Finite(reaction.Values))
            return QStringLiteral("its combination %1 has a reaction at node %2 that cannot be "
                                  "shown")
                .arg(c.Number)
                .arg(reaction.Node);
    return {};
}

// What an envelope of a result file has that cannot be shown: a number given twice, a
// combination the file lacks, a reaction at a node the data lacks, a value that is not
// finite (`finite` says whether a case's values all are).
template <typename Envelope, typename Check>
QString EnvelopeFault(const Envelope& e, const std::set<int>& combined, int nodes,
                      std::set<int>& numbers, const Check& finite) {
    if (e.Number < 1 || !numbers.insert(e.Number).second)
        return QStringLiteral("it has envelope %1 twice or out of order").arg(e.Number);
    for (int combination : e.Combinations)
        if (!combined.contains(combination))
            return QStringLiteral("its envelope %1 takes combination %2, which it does not hold")
                .arg(e.Number)
                .arg(combination);
    for (const auto* bound : {&e.Max, &e.Min}) {
        for (const auto& reaction : bound->Reactions)
            if (reaction.Node < 1 || reaction.Node > nodes || !Finite(reaction.Values))
                return QStringLiteral("its envelope %1 has a reaction at node %2 that cannot be "
                                      "shown")
                    .arg(e.Number)
                    .arg(reaction.Node);
        if (!finite(*bound))
            return QStringLiteral("it holds numbers in envelope %1 that are not finite")
                .arg(e.Number);
    }
    return {};
}

// What of the static results does not fit the model or cannot be sound, or an empty text. The
// element forces are the file's own columns: it names them, their titles and quantities, and
// the reader has checked that they are sound.
QString StaticsMismatch(const StaticResults& r, const ViewerModel& model) {
    const int nodes = static_cast<int>(model.Nodes.size());
    const int elements = static_cast<int>(model.ElementCentres.size());
    if (r.Nodes != nodes || r.Elements != elements)
        return QStringLiteral("it is for %1 and %2, but the data has %3 and %4")
            .arg(Counted(r.Nodes, QStringLiteral("node")),
                 Counted(r.Elements, QStringLiteral("element")),
                 Counted(nodes, QStringLiteral("node")),
                 Counted(elements, QStringLiteral("element")));
    // Results of before the arcs' inner points were kept have none.
    const auto arcs = std::count_if(model.Bars.begin(), model.Bars.end(),
                                    [](const ViewerModel::Bar& bar) { return bar.Radius != 0; });
    if (r.ArcPoints != 0 && r.ArcPoints != arcs * (BarArc::Pieces - 1))
        return QStringLiteral("it has %1 of arcs, but the data's %2 have %3")
            .arg(Counted(r.ArcPoints, QStringLiteral("inner point")),
                 Counted(arcs, QStringLiteral("arc")))
            .arg(arcs * (BarArc::Pieces - 1));
    std::set<int> numbers;
    for (const StaticResults::Case& c : r.Cases) {
        if (QString fault = CaseFault(c, model.LoadCases, nodes, numbers); !fault.isEmpty())
            return fault;
        if (!Finite(c.Displacements) || !Finite(c.ArcDisplacements) || !Finite(c.Forces))
            return QStringLiteral("it holds numbers in load case %1 that are not finite")
                .arg(c.Number);
    }
    if (r.Cases.empty())
        return QStringLiteral("it holds no load case");
    std::set<int> combined;
    for (const StaticResults::Case& c : r.Combinations) {
        if (QString fault = CombinationFault(c, model.LoadCases, nodes, combined); !fault.isEmpty())
            return fault;
        if (!Finite(c.Displacements) || !Finite(c.ArcDisplacements) || !Finite(c.Forces))
            return QStringLiteral("it holds numbers in combination %1 that are not finite")
                .arg(c.Number);
    }
    std::set<int> enveloped;
    for (const StaticResults::Envelope& e : r.Envelopes)
        if (QString fault = EnvelopeFault(e, combined, nodes, enveloped,
                                          [](const StaticResults::Case& c) {
                                              return Finite(c.Displacements) &&
                                                     Finite(c.ArcDisplacements) && Finite(c.Forces);
                                          });
            !fault.isEmpty())
            return fault;
    return {};
}

// The same for natural modes and buckling shapes.
// Files before version 3 do not give the number of elements.
QString ShapesMismatch(const ResultFile::Shapes& s, int version, Kind kind,
                       const ViewerModel& model) {
    const int nodes = static_cast<int>(model.Nodes.size());
    const int elements = static_cast<int>(model.ElementCentres.size());
    if (s.Nodes != nodes)
        return QStringLiteral("it is for %1, but the data has %2")
            .arg(Counted(s.Nodes, QStringLiteral("node")), Counted(nodes, QStringLiteral("node")));
    if (version >= 3 && s.Elements != elements)
        return QStringLiteral("it is for %1, but the data has %2")
            .arg(Counted(s.Elements, QStringLiteral("element")),
                 Counted(elements, QStringLiteral("element")));
    const bool modes = kind == Kind::Modes;
    for (size_t k = 0; k < s.List.size(); ++k) {
        const ResultFile::Shapes::Shape& shape = s.List[k];
        if (!std::isfinite(shape.Value) || !Finite(shape.Displacements) || !Finite(shape.Inner))
            return QStringLiteral("it holds numbers in shape %1 that are not finite").arg(k + 1);
        if (modes && !(shape.Value > 0))
            return QStringLiteral("it has a natural mode of %1 Hz").arg(shape.Value);
        if (modes && shape.Case != 0)
            return QStringLiteral("it has a natural mode of load case %1").arg(shape.Case);
        if (!modes && (shape.Case < 1 || shape.Case > model.LoadCases))
            return QStringLiteral("it has a buckling shape of load case %1, but the data has %2")
                .arg(shape.Case)
                .arg(model.LoadCases);
    }
    if (s.List.empty())
        return QStringLiteral("it holds no %1")
            .arg(modes ? QStringLiteral("mode") : QStringLiteral("buckling shape"));
    return {};
}

// The same for the results of a continuum type: its components, the data's nodes, elements
// and load cases, and numbers that are all finite. Its columns are its own: the file names
// them, their titles and quantities, and the reader has checked that they are sound.
QString FieldMismatch(const FieldResults& r, const FieldLayout& layout, const ViewerModel& model) {
    const int nodes = static_cast<int>(model.Nodes.size());
    const int elements = static_cast<int>(model.ElementCentres.size());
    if (r.Components != layout.Components)
        return QStringLiteral("its displacements are %1, but the data's are %2")
            .arg(r.Components.join(u' '), layout.Components.join(u' '));
    if (r.Nodes != nodes || r.Elements != elements)
        return QStringLiteral("it is for %1 and %2, but the data has %3 and %4")
            .arg(Counted(r.Nodes, QStringLiteral("node")),
                 Counted(r.Elements, QStringLiteral("element")),
                 Counted(nodes, QStringLiteral("node")),
                 Counted(elements, QStringLiteral("element")));
    if (r.Twist) {
        const FieldResults::Torsion& t = *r.Twist;
        if (!Finite({t.Moment, t.G, t.J, t.Twist, t.TauMax, t.AtY, t.AtZ}))
            return QStringLiteral("its torsion constants are not all finite numbers");
    }
    std::set<int> numbers;
    for (const FieldResults::Case& c : r.Cases) {
        if (QString fault = CaseFault(c, model.LoadCases, nodes, numbers); !fault.isEmpty())
            return fault;
        if (!Finite(c.Displacements) || !Finite(c.Stresses) || !Finite(c.NodeStresses))
            return QStringLiteral("it holds numbers in load case %1 that are not finite")
                .arg(c.Number);
    }
    if (r.Cases.empty())
        return QStringLiteral("it holds no load case");
    std::set<int> combined;
    for (const FieldResults::Case& c : r.Combinations) {
        if (QString fault = CombinationFault(c, model.LoadCases, nodes, combined); !fault.isEmpty())
            return fault;
        if (!Finite(c.Displacements) || !Finite(c.Stresses) || !Finite(c.NodeStresses))
            return QStringLiteral("it holds numbers in combination %1 that are not finite")
                .arg(c.Number);
    }
    std::set<int> enveloped;
    for (const FieldResults::Envelope& e : r.Envelopes)
        if (QString fault = EnvelopeFault(e, combined, nodes, enveloped,
                                          [](const FieldResults::Case& c) {
                                              return Finite(c.Displacements) &&
                                                     Finite(c.Stresses) && Finite(c.NodeStresses);
                                          });
            !fault.isEmpty())
            return fault;
    if (layout.Solid())
        return model.Solids.size() == model.ElementCentres.size()
                   ? QString()
                   : QStringLiteral("the data's elements are not all solids");
    if (model.Polygons.size() != model.ElementCentres.size())
        return QStringLiteral("the data's elements are not all triangles and quadrilaterals");
    return {};
}

// The same for the natural modes of a mesh: its components, one piece per element (a mesh's
// elements are not divided), and elements that are all triangles and quadrilaterals.
QString MeshShapesMismatch(const ResultFile::Shapes& s, int version, const FieldLayout& layout,
                           const ViewerModel& model) {
    if (s.Components != layout.Components)
        return QStringLiteral("its displacements are %1, but the data's are %2")
            .arg(s.Components.join(u' '), layout.Components.join(u' '));
    if (QString mismatch = ShapesMismatch(s, version, Kind::Modes, model); !mismatch.isEmpty())
        return mismatch;
    if (std::any_of(s.Pieces.begin(), s.Pieces.end(), [](int pieces) { return pieces != 1; }))
        return QStringLiteral("it divides elements of a mesh into pieces");
    if (model.Polygons.size() != model.ElementCentres.size())
        return QStringLiteral("the data's elements are not all triangles and quadrilaterals");
    return {};
}

// What of the forced vibrations cannot be drawn: a number that is not finite poisons every
// frame and curve it enters. Their sizes the reader has checked against the shapes.
QString ForcedMismatch(const ResultFile::Forced& f) {
    for (const std::vector<double>& values : f.ShapeElements)
        if (!Finite(values))
            return QStringLiteral("it holds element results of modes that are not finite");
    for (const ResultFile::Forced::Excitation& x : f.List) {
        const bool shears =
            std::all_of(x.BaseShears.begin(), x.BaseShears.end(),
                        [](const std::pair<int, double>& s) { return std::isfinite(s.second); });
        if (!Finite(x.Abscissae) || !Finite(x.Coordinates) || !Finite(x.Frames) ||
            !Finite(x.NodePeaks) || !Finite(x.ElementPeaks) || !shears)
            return QStringLiteral("it holds numbers in excitation %1 that are not finite")
                .arg(x.Number);
    }
    return {};
}

// What of the file does not fit the model, or an empty text.
QString Mismatch(const ResultFile::Contents& contents, int version, const ProblemType& type,
                 Kind expected, const ViewerModel& model) {
    if (contents.Problem != type.Number)
        return QStringLiteral("it holds results of problem %1, not of problem %2")
            .arg(contents.Problem)
            .arg(type.Number);
    if (contents.Type != expected)
        return QStringLiteral("it holds %1, not %2")
            .arg(KindName(contents.Type), KindName(expected));
    const std::optional<FieldLayout> layout = FieldLayout::Of(type, expected == Kind::Modes);
    if (layout && !layout->Modes())
        return FieldMismatch(contents.Field, *layout, model);
    if (layout) {
        const QString mesh = MeshShapesMismatch(contents.Modes, version, *layout, model);
        return mesh.isEmpty() ? ForcedMismatch(contents.Vibrations) : mesh;
    }
    const QStringList& components =
        contents.Type == Kind::Statics ? contents.Statics.Components : contents.Modes.Components;
    if (components != model.Components)
        return QStringLiteral("its displacements are %1, but the data's are %2")
            .arg(components.join(u' '), model.Components.join(u' '));
    const QString mismatch = contents.Type == Kind::Statics
                                 ? StaticsMismatch(contents.Statics, model)
                                 : ShapesMismatch(contents.Modes, version, contents.Type, model);
    if (!mismatch.isEmpty())
        return mismatch;
    if (model.Bars.size() != model.ElementCentres.size())
        return QStringLiteral("the data's elements are not all bars");
    return ForcedMismatch(contents.Vibrations);
}

} // namespace

ViewerResults ViewerResults::Refused(Status status, const QString& path, const QString& message) {
    ViewerResults results;
    results.status_ = status;
    results.path_ = path;
    results.message_ = message;
    return results;
}

ViewerResults ViewerResults::Load(const QString& dataPath, const ProblemType& type, bool dynamics,
                                  const ViewerModel& model) {
    const std::optional<SolverEntry> solver = SolverFor(type, dynamics);
    if (!solver)
        return Refused(Status::NoSolver, QString(),
                       QStringLiteral("No results to show: this version has no solver for %1. "
                                      "The model is shown.")
                           .arg(model.Name));
    const QString path = SolverCommand::ResultPath(*solver, dataPath);
    const QString name = QFileInfo(path).fileName();
    QFile file(path);
    if (!file.exists())
        return Refused(Status::Missing, path,
                       QStringLiteral("No results: the result file %1 does not exist. Calculate "
                                      "the data first (F9 in the editor). The model is shown.")
                           .arg(name));
    if (!file.open(QIODevice::ReadOnly))
        return Refused(Status::Unreadable, path,
                       QStringLiteral("No results: the result file %1 cannot be read: %2. "
                                      "The model is shown.")
                           .arg(name, file.errorString()));
    ViewerResults results = FromBytes(file.readAll(), path, type, dynamics, model);
    if (results.Ok() && results.Contents().Type == Kind::Modes)
        results.rigidModes_ = RigidModesIn(SolverCommand::ReportPath(dataPath));
    const QFileInfo data(dataPath), result(path);
    if (results.Ok() && data.lastModified() > result.lastModified())
        results.message_ = QStringLiteral("The data file was changed after %1 was written: "
                                          "the results may not be those of this data. "
                                          "Calculate again (F9) to be sure.")
                               .arg(name);
    return results;
}

ViewerResults ViewerResults::FromBytes(const QByteArray& bytes, const QString& path,
                                       const ProblemType& type, bool dynamics,
                                       const ViewerModel& model) {
    const QString name = QFileInfo(path).fileName();
    const std::optional<SolverEntry> solver = SolverFor(type, dynamics);
    ResultFile::ReadOutcome read = ResultFile::ReadChecked(bytes);
    if (!read.Read)
        return Refused(Status::Unreadable, path,
                       QStringLiteral("No results: the result file %1 cannot be read: it %2. "
                                      "Calculate again (F9). The model is shown.")
                           .arg(name, read.Fault));
    const std::optional<FieldLayout> layout = FieldLayout::Of(type, dynamics);
    const Kind expected = layout ? layout->Kind : solver ? KindOf(solver->Kind) : Kind::Statics;
    const QString mismatch = Mismatch(*read.Read, read.Version, type, expected, model);
    if (!mismatch.isEmpty())
        return Refused(Status::Mismatch, path,
                       QStringLiteral("No results: the result file %1 does not belong to this "
                                      "data: %2. Calculate again (F9). The model is shown.")
                           .arg(name, mismatch));
    ViewerResults results;
    results.status_ = Status::Shown;
    results.path_ = path;
    results.contents_ = std::move(*read.Read);
    RoundingNoise::Clear(results.contents_, type, model);
    return results;
}

const std::vector<double>& ViewerResults::InnerShape(size_t shape) const {
    static const std::vector<double> none;
    const auto& shapes = contents_.Modes.List;
    return shape < shapes.size() ? shapes[shape].Inner : none;
}

ViewerResults::Places ViewerResults::PlacesOf(const QStringList& components) {
    static const QString names[6] = {QStringLiteral("ux"), QStringLiteral("uy"),
                                     QStringLiteral("uz"), QStringLiteral("rx"),
                                     QStringLiteral("ry"), QStringLiteral("rz")};
    Places places;
    for (int k = 0; k < 6; ++k)
        places[static_cast<size_t>(k)] = static_cast<int>(components.indexOf(names[k]));
    // A shell of revolution moves in its r-z plane as a plane frame in x-z: ur along x and its
    // turn rot about y.
    if (places[0] < 0)
        places[0] = static_cast<int>(components.indexOf(QLatin1String("ur")));
    if (places[4] < 0)
        places[4] = static_cast<int>(components.indexOf(QLatin1String("rot")));
    return places;
}

ViewerResults::Motion ViewerResults::NodeMotion(const std::vector<double>& values,
                                                const Places& places, int width, int node) {
    Motion motion;
    const size_t first = static_cast<size_t>(node) * static_cast<size_t>(width);
    if (node < 0 || width <= 0 || first + static_cast<size_t>(width) > values.size())
        return motion;
    for (size_t k = 0; k < 6; ++k) {
        if (places[k] >= 0)
            (k < 3 ? motion.Move : motion.Turn)[k % 3] =
                values[first + static_cast<size_t>(places[k])];
    }
    return motion;
}

ViewerResults::Motion ViewerResults::NodeMotion(const std::vector<double>& values,
                                                const QStringList& components, int node) {
    return NodeMotion(values, PlacesOf(components), static_cast<int>(components.size()), node);
}

namespace {

template <typename Results>
const auto* EntryOf(const Results& r, int entry) {
    const size_t at = static_cast<size_t>(std::max(entry, 0));
    const auto* none = static_cast<decltype(r.Cases.data())>(nullptr);
    if (entry < 0)
        return none;
    if (at < r.Cases.size())
        return &r.Cases[at];
    if (at - r.Cases.size() < r.Combinations.size())
        return &r.Combinations[at - r.Cases.size()];
    const size_t bound = at - r.Cases.size() - r.Combinations.size();
    if (bound / 2 >= r.Envelopes.size())
        return none;
    const auto& envelope = r.Envelopes[bound / 2];
    return bound % 2 == 0 ? &envelope.Max : &envelope.Min;
}

template <typename Results>
int EntriesOf(const Results& r) {
    return static_cast<int>(r.Cases.size() + r.Combinations.size() + 2 * r.Envelopes.size());
}

} // namespace

int ViewerResults::StaticEntries() const {
    const bool field = contents_.Type == Kind::Field || contents_.Type == Kind::Torsion;
    return field ? EntriesOf(contents_.Field) : EntriesOf(contents_.Statics);
}

const StaticResults::Case* ViewerResults::StaticEntry(int entry) const {
    return EntryOf(contents_.Statics, entry);
}

const FieldResults::Case* ViewerResults::FieldEntry(int entry) const {
    return EntryOf(contents_.Field, entry);
}

std::optional<ViewerResults::Bound> ViewerResults::BoundOf(int entry) const {
    const bool field = contents_.Type == Kind::Field || contents_.Type == Kind::Torsion;
    const size_t before =
        field ? contents_.Field.Cases.size() + contents_.Field.Combinations.size()
              : contents_.Statics.Cases.size() + contents_.Statics.Combinations.size();
    if (entry < 0 || static_cast<size_t>(entry) < before || entry >= StaticEntries())
        return std::nullopt;
    const size_t bound = static_cast<size_t>(entry) - before;
    return Bound{bound / 2, bound % 2 == 0};
}

QString ViewerResults::EntryTitle(int entry) const {
    const bool field = contents_.Type == Kind::Field || contents_.Type == Kind::Torsion;
    if (const std::optional<Bound> bound = BoundOf(entry)) {
        const int number = field ? contents_.Field.Envelopes[bound->Envelope].Number
                                 : contents_.Statics.Envelopes[bound->Envelope].Number;
        return QStringLiteral("Envelope %1 %2")
            .arg(number)
            .arg(bound->Largest ? QStringLiteral("max") : QStringLiteral("min"));
    }
    const size_t cases = field ? contents_.Field.Cases.size() : contents_.Statics.Cases.size();
    const int number = field ? (FieldEntry(entry) ? FieldEntry(entry)->Number : 0)
                             : (StaticEntry(entry) ? StaticEntry(entry)->Number : 0);
    return (static_cast<size_t>(std::max(entry, 0)) < cases ? QStringLiteral("Load case %1")
                                                            : QStringLiteral("Combination %1"))
        .arg(number);
}

int ViewerResults::CaseIndex(int number) const {
    const bool field = contents_.Type == Kind::Field || contents_.Type == Kind::Torsion;
    const size_t count = field ? contents_.Field.Cases.size() : contents_.Statics.Cases.size();
    for (size_t c = 0; c < count; ++c) {
        if ((field ? contents_.Field.Cases[c].Number : contents_.Statics.Cases[c].Number) == number)
            return static_cast<int>(c);
    }
    return -1;
}

int ViewerResults::ForcedEntries() const {
    if (contents_.Type != Kind::Modes)
        return 0;
    int entries = 0;
    for (const ResultFile::Forced::Excitation& x : contents_.Vibrations.List)
        entries += x.Type == ResultFile::Forced::Kind::History ? 3 : 1;
    return entries;
}

std::optional<ViewerResults::ForcedEntry> ViewerResults::ForcedOf(int entry) const {
    if (contents_.Type != Kind::Modes)
        return std::nullopt;
    int at = entry - static_cast<int>(contents_.Modes.List.size());
    if (at < 0)
        return std::nullopt;
    const auto& list = contents_.Vibrations.List;
    for (size_t k = 0; k < list.size(); ++k) {
        const ResultFile::Forced::Kind type = list[k].Type;
        const int views = type == ResultFile::Forced::Kind::History ? 3 : 1;
        if (at < views) {
            const ForcedView view = type == ResultFile::Forced::Kind::Spectrum ? ForcedView::Peaks
                                    : at == 0                                  ? ForcedView::Motion
                                    : at == 1                                  ? ForcedView::Max
                                                                               : ForcedView::Min;
            return ForcedEntry{k, view};
        }
        at -= views;
    }
    return std::nullopt;
}

QString ViewerResults::ForcedTitle(int entry) const {
    const std::optional<ForcedEntry> forced = ForcedOf(entry);
    if (!forced)
        return {};
    const ResultFile::Forced::Excitation& x = contents_.Vibrations.List[forced->Excitation];
    const auto span = [&x](const QString& unit) {
        return x.Abscissae.empty() ? QString()
                                   : QStringLiteral(", %1 to %2 %3")
                                         .arg(QString::number(x.Abscissae.front(), 'g', 4),
                                              QString::number(x.Abscissae.back(), 'g', 4), unit);
    };
    switch (forced->View) {
    case ForcedView::Max:
        return QStringLiteral("Excitation %1 max").arg(x.Number);
    case ForcedView::Min:
        return QStringLiteral("Excitation %1 min").arg(x.Number);
    case ForcedView::Peaks:
        return QStringLiteral("Excitation %1: spectrum, combined peaks").arg(x.Number);
    case ForcedView::Motion:
        break;
    }
    return x.Type == ResultFile::Forced::Kind::Harmonic
               ? QStringLiteral("Excitation %1: harmonic").arg(x.Number) +
                     span(QStringLiteral("Hz"))
               : QStringLiteral("Excitation %1: history").arg(x.Number) + span(QStringLiteral("s"));
}
