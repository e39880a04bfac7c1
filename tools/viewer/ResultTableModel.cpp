#include "ResultTableModel.h"

#include "FieldLayout.h"
#include "ProblemType.h"
#include "ResultChoice.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace {

using Kind = ResultFile::Kind;

QString ReactionName(const QString& component) {
    if (component == QLatin1String("rot"))
        return QStringLiteral("M");
    return (component.startsWith(u'u') ? QStringLiteral("R") : QStringLiteral("M")) +
           component.mid(1);
}

} // namespace

ResultTableModel::ResultTableModel(const ViewerResults& results, const ProblemType& type,
                                   const QString& forceUnit, const QString& lengthUnit,
                                   QObject* parent)
    : QAbstractTableModel(parent), results_(results), type_(&type), forceUnit_(forceUnit),
      lengthUnit_(lengthUnit) {
    table_ = Tables().empty() ? Table::Displacements : Tables().front();
    Build();
}

std::vector<ResultTableModel::Table> ResultTableModel::Tables() const {
    if (!results_.Ok())
        return {};
    if (results_.Contents().Type == Kind::Statics)
        return {Table::Displacements, Table::Reactions, Table::Forces};
    if (results_.Contents().Type == Kind::Field)
        return {Table::Displacements, Table::Reactions, Table::CentreStresses, Table::NodeStresses};
    if (results_.Contents().Type == Kind::Torsion)
        return {Table::TorsionConstants, Table::CentreStresses, Table::NodeStresses,
                Table::Displacements};
    if (results_.Contents().Type == Kind::Modes && !results_.Contents().Vibrations.Empty()) {
        std::vector<Table> tables{Table::Values, Table::Shape, Table::ForcedNodes};
        if (!results_.Contents().Vibrations.Columns.Empty())
            tables.push_back(Table::ForcedElements);
        tables.push_back(Table::Response);
        return tables;
    }
    return {Table::Values, Table::Shape};
}

QString ResultTableModel::TitleOf(Table table) const {
    const Kind kind = results_.Contents().Type;
    switch (table) {
    case Table::Displacements:
        return kind == Kind::Torsion ? QStringLiteral("Warping") : QStringLiteral("Displacements");
    case Table::CentreStresses:
    case Table::NodeStresses: {
        // Plates and shells give forces and moments per width (and a shell its faces'
        // stresses).
        const ProblemType::Mesh mesh = type_->Meshes;
        const QString what =
            mesh == ProblemType::Mesh::Plate   ? QStringLiteral("Moments and shear forces")
            : mesh == ProblemType::Mesh::Shell ? QStringLiteral("Forces, moments and stresses")
                                               : QStringLiteral("Stresses");
        return what + (table == Table::CentreStresses ? QStringLiteral(" at element centres")
                                                      : QStringLiteral(" at nodes"));
    }
    case Table::TorsionConstants:
        return QStringLiteral("Torsion constants");
    case Table::Reactions:
        return QStringLiteral("Reactions");
    case Table::Forces:
        return QStringLiteral("Element end forces");
    case Table::Values:
        return kind == Kind::Modes ? QStringLiteral("Frequencies")
                                   : QStringLiteral("Critical factors");
    case Table::Shape:
        return kind == Kind::Modes ? QStringLiteral("Mode shape")
                                   : QStringLiteral("Buckling shape");
    case Table::ForcedNodes:
        return QStringLiteral("Forced vibration at nodes");
    case Table::ForcedElements:
        return QStringLiteral("Forced vibration of elements");
    case Table::Response:
        return QStringLiteral("Response curve");
    }
    return {};
}

void ResultTableModel::Show(Table table, int entry) {
    beginResetModel();
    table_ = table;
    entry_ = entry;
    Build();
    endResetModel();
}

QStringList ResultTableModel::Titled(const QStringList& names,
                                     const std::vector<ResultColumn::Quantity>& quantities) const {
    QStringList titles;
    for (qsizetype k = 0; k < names.size(); ++k)
        titles << QStringLiteral("%1 [%2]").arg(
            names[k],
            ResultLayout::UnitOf(quantities[static_cast<size_t>(k)], forceUnit_, lengthUnit_));
    return titles;
}

QStringList ResultTableModel::Titled(const ResultLayout& columns) const {
    std::vector<ResultColumn::Quantity> quantities;
    for (const ResultColumn& column : columns.Columns)
        quantities.push_back(column.What);
    return Titled(columns.Names(), quantities);
}

QStringList ResultTableModel::ComponentTitles(const QStringList& components) const {
    std::vector<ResultColumn::Quantity> quantities;
    for (const QString& name : components)
        quantities.push_back(ResultLayout::OfComponent(name));
    return Titled(components, quantities);
}

// Named as the components they hold; a force, or a moment where a rotation is held. A shell
// of revolution gives them per unit length of its circumference, a slice of plane strain or a
// body of revolution per unit length too.
QStringList ResultTableModel::ReactionTitles(const QStringList& components, bool perLength) const {
    QStringList names;
    std::vector<ResultColumn::Quantity> quantities;
    for (const QString& component : components) {
        names << ReactionName(component);
        quantities.push_back(ResultLayout::OfReaction(component, perLength));
    }
    return Titled(names, quantities);
}

void ResultTableModel::Build() {
    headers_.clear();
    rows_.clear();
    if (!results_.Ok())
        return;
    const ResultFile::Contents& contents = results_.Contents();
    if (contents.Type == Kind::Field || contents.Type == Kind::Torsion) {
        BuildField();
        return;
    }
    // A shell of revolution gives its reactions per unit length of its circumference; the
    // element forces are measured as the file says.
    const bool perLength = type_->Kind == ProblemType::Family::AxisymmetricShells;
    // One row per node from a list of node values.
    const auto nodeRows = [this](const std::vector<double>& values, qsizetype width) {
        const size_t w = static_cast<size_t>(width);
        for (size_t first = 0; w > 0 && first + w <= values.size(); first += w) {
            std::vector<double> row{double(first / w + 1)};
            row.insert(row.end(), values.begin() + static_cast<std::ptrdiff_t>(first),
                       values.begin() + static_cast<std::ptrdiff_t>(first + w));
            rows_.push_back(std::move(row));
        }
    };
    if (contents.Type == Kind::Statics) {
        const StaticResults& r = contents.Statics;
        const StaticResults::Case* entry = results_.StaticEntry(entry_);
        if (!entry)
            return;
        const StaticResults::Case& c = *entry;
        switch (table_) {
        case Table::Displacements:
            headers_ = QStringList{QStringLiteral("Node")} + ComponentTitles(r.Components);
            nodeRows(c.Displacements, r.Components.size());
            break;
        case Table::Reactions: {
            headers_ =
                QStringList{QStringLiteral("Node")} + ReactionTitles(r.Components, perLength);
            for (const StaticResults::Reaction& reaction : c.Reactions) {
                std::vector<double> row{double(reaction.Node)};
                row.insert(row.end(), reaction.Values.begin(), reaction.Values.end());
                rows_.push_back(std::move(row));
            }
            break;
        }
        default:
            headers_ = QStringList{QStringLiteral("Element")} + Titled(r.Forces);
            nodeRows(c.Forces, r.ForceCount());
            break;
        }
        return;
    }
    if (table_ == Table::ForcedNodes || table_ == Table::ForcedElements ||
        table_ == Table::Response) {
        BuildForced();
        return;
    }
    const ResultFile::Shapes& shapes = contents.Modes;
    if (table_ == Table::Values) {
        if (contents.Type == Kind::Modes) {
            headers_ = {QStringLiteral("Mode"), QStringLiteral("f [Hz]"), QStringLiteral("T [s]"),
                        QStringLiteral("\u03c9 [1/s]")};
            for (size_t k = 0; k < shapes.List.size(); ++k) {
                const double f = shapes.List[k].Value;
                rows_.push_back(
                    {double(k + 1), f, f > 0 ? 1 / f : 0, 2 * 3.14159265358979323846 * f});
            }
        } else {
            headers_ = {QStringLiteral("Load case"), QStringLiteral("Shape"),
                        QStringLiteral("Critical factor")};
            std::map<int, int> perCase;
            for (const ResultFile::Shapes::Shape& shape : shapes.List)
                rows_.push_back({double(shape.Case), double(++perCase[shape.Case]), shape.Value});
        }
        return;
    }
    if (entry_ < 0 || entry_ >= static_cast<int>(shapes.List.size()))
        return;
    headers_ = QStringList{QStringLiteral("Node")} + shapes.Components;
    nodeRows(shapes.List[static_cast<size_t>(entry_)].Displacements, shapes.Components.size());
}

void ResultTableModel::BuildForced() {
    const ResultFile::Contents& contents = results_.Contents();
    const ForcedMotion* motion = forced_.Motion;
    if (table_ == Table::Response) {
        if (!motion || !motion->Valid() || forced_.Curve.Values.empty())
            return;
        const bool harmonic = motion->Type() == ForcedMotion::Kind::Harmonic;
        headers_ = {harmonic ? QStringLiteral("f [Hz]") : QStringLiteral("t [s]"),
                    harmonic ? QStringLiteral("Amplitude of ") + forced_.CurveName
                             : forced_.CurveName};
        if (harmonic)
            headers_ << QStringLiteral("Phase [\u00b0]");
        for (size_t k = 0; k < forced_.Curve.Values.size(); ++k) {
            std::vector<double> row{motion->Abscissa(static_cast<int>(k)), forced_.Curve.Values[k]};
            if (harmonic && k < forced_.Curve.Phases.size())
                row.push_back(forced_.Curve.Phases[k] * 180 / 3.14159265358979323846);
            rows_.push_back(std::move(row));
        }
        return;
    }
    const std::optional<ViewerResults::ForcedEntry> entry = results_.ForcedOf(entry_);
    if (!entry)
        return;
    const bool nodes = table_ == Table::ForcedNodes;
    const QStringList titles =
        nodes ? ComponentTitles(contents.Modes.Components) : Titled(contents.Vibrations.Columns);
    const size_t width = static_cast<size_t>(titles.size());
    headers_ = QStringList{nodes ? QStringLiteral("Node") : QStringLiteral("Element")};
    const auto numbered = [this](const std::vector<double>& values, size_t w) {
        for (size_t first = 0; w > 0 && first + w <= values.size(); first += w) {
            std::vector<double> row{double(first / w + 1)};
            row.insert(row.end(), values.begin() + static_cast<std::ptrdiff_t>(first),
                       values.begin() + static_cast<std::ptrdiff_t>(first + w));
            rows_.push_back(std::move(row));
        }
    };
    const ResultFile::Forced::Excitation& x = contents.Vibrations.List[entry->Excitation];
    const std::vector<double>& peaks = nodes ? x.NodePeaks : x.ElementPeaks;
    // A sum over the modes leaves 1e-18 where symmetry makes a value 0: below a billionth of
    // its column's largest it shows as 0.
    const auto quiet = [this] {
        for (size_t column = 1; !rows_.empty() && column < rows_.front().size(); ++column) {
            double largest = 0;
            for (const std::vector<double>& row : rows_)
                largest = std::max(largest, std::abs(row[column]));
            for (std::vector<double>& row : rows_)
                if (std::abs(row[column]) < 1e-9 * largest)
                    row[column] = 0;
        }
    };
    switch (entry->View) {
    case ViewerResults::ForcedView::Motion: {
        if (!motion || !motion->Valid())
            return;
        if (motion->Type() == ForcedMotion::Kind::Harmonic) {
            // A steady motion's sizes at the frequency, whatever its phase: |U|, from the
            // motion at phase 0 (the real part) and a quarter period before (the imaginary).
            for (const QString& title : titles) {
                const qsizetype unit = title.indexOf(QStringLiteral(" ["));
                headers_ << u'|' + title.left(unit) + u'|' + title.mid(unit);
            }
            ForcedMotion::Frame real = motion->At(forced_.Point, 0);
            const ForcedMotion::Frame imaginary =
                motion->At(forced_.Point, -3.14159265358979323846 / 2);
            std::vector<double>& sizes = nodes ? real.Nodes : real.Elements;
            const std::vector<double>& other = nodes ? imaginary.Nodes : imaginary.Elements;
            for (size_t k = 0; k < sizes.size() && k < other.size(); ++k)
                sizes[k] = std::hypot(sizes[k], other[k]);
            numbered(sizes, width);
            quiet();
            return;
        }
        headers_ += titles;
        const ForcedMotion::Frame frame = motion->At(forced_.Point, forced_.Phase);
        numbered(nodes ? frame.Nodes : frame.Elements, width);
        quiet();
        return;
    }
    case ViewerResults::ForcedView::Peaks:
        headers_ += titles;
        numbered(peaks, width);
        quiet();
        return;
    case ViewerResults::ForcedView::Max:
    case ViewerResults::ForcedView::Min: {
        // Each value beside the instant it occurs at.
        const size_t offset = entry->View == ViewerResults::ForcedView::Max ? 0 : 2;
        for (const QString& title : titles)
            headers_ << title << QStringLiteral("at t [s]");
        for (size_t first = 0; width > 0 && first + 4 * width <= peaks.size(); first += 4 * width) {
            std::vector<double> row{double(first / (4 * width) + 1)};
            for (size_t c = 0; c < width; ++c) {
                row.push_back(peaks[first + 4 * c + offset]);
                row.push_back(peaks[first + 4 * c + offset + 1]);
            }
            rows_.push_back(std::move(row));
        }
        quiet();
        return;
    }
    }
}

bool ResultTableModel::Whole(int column) const {
    return (column == 0 && table_ != Table::TorsionConstants && table_ != Table::Response) ||
           (table_ == Table::Values && results_.Contents().Type == Kind::Buckling && column == 1);
}

void ResultTableModel::BuildField() {
    const FieldResults& r = results_.Contents().Field;
    const auto numbered = [this](const std::vector<double>& values, qsizetype width) {
        const size_t w = static_cast<size_t>(width);
        for (size_t first = 0; w > 0 && first + w <= values.size(); first += w) {
            std::vector<double> row{double(first / w + 1)};
            row.insert(row.end(), values.begin() + static_cast<std::ptrdiff_t>(first),
                       values.begin() + static_cast<std::ptrdiff_t>(first + w));
            rows_.push_back(std::move(row));
        }
    };
    if (table_ == Table::TorsionConstants) {
        const QString stress =
            ResultLayout::UnitOf(ResultColumn::Quantity::Stress, forceUnit_, lengthUnit_);
        headers_ = {QStringLiteral("T [%1%2]").arg(forceUnit_, lengthUnit_),
                    QStringLiteral("G [%1]").arg(stress),
                    QStringLiteral("J [%1%2]").arg(lengthUnit_, QStringLiteral("\u2074")),
                    QStringLiteral("Rate of twist [rad/%1]").arg(lengthUnit_),
                    QStringLiteral("tau max [%1]").arg(stress),
                    QStringLiteral("at y [%1]").arg(lengthUnit_),
                    QStringLiteral("at z [%1]").arg(lengthUnit_)};
        if (const auto& t = r.Twist)
            rows_.push_back({t->Moment, t->G, t->J, t->Twist, t->TauMax, t->AtY, t->AtZ});
        return;
    }
    const FieldResults::Case* entry = results_.FieldEntry(entry_);
    if (!entry)
        return;
    const FieldResults::Case& c = *entry;
    switch (table_) {
    case Table::Displacements:
        headers_ = QStringList{QStringLiteral("Node")} + ComponentTitles(r.Components);
        numbered(c.Displacements, r.Components.size());
        break;
    case Table::Reactions: {
        // Per length of the slice (plane strain) or of the circumference (bodies of
        // revolution); the supports of plates and shells hold moments too.
        headers_ = QStringList{QStringLiteral("Node")} +
                   ReactionTitles(r.Components, type_->PerUnitLength());
        for (const FieldResults::Reaction& reaction : c.Reactions) {
            std::vector<double> row{double(reaction.Node)};
            row.insert(row.end(), reaction.Values.begin(), reaction.Values.end());
            rows_.push_back(std::move(row));
        }
        break;
    }
    case Table::CentreStresses:
        headers_ = QStringList{QStringLiteral("Element")} + Titled(r.Columns);
        numbered(c.Stresses, r.Columns.Count());
        break;
    default:
        headers_ = QStringList{QStringLiteral("Node")} + Titled(r.Columns);
        numbered(c.NodeStresses, r.Columns.Count());
        break;
    }
}

int ResultTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int ResultTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(headers_.size());
}

QVariant ResultTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount())
        return {};
    const std::vector<double>& row = rows_[static_cast<size_t>(index.row())];
    const size_t column = static_cast<size_t>(index.column());
    if (column >= row.size())
        return {};
    const double value = row[column];
    // Numbers of nodes, elements, cases and shapes are whole.
    const bool whole = Whole(index.column());
    switch (role) {
    case Qt::DisplayRole:
        return whole ? QString::number(static_cast<long long>(value)) : ResultChoice::Number(value);
    case Qt::UserRole:
        return value;
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    default:
        return {};
    }
}

QVariant ResultTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 ||
        section >= headers_.size())
        return {};
    return headers_[section];
}

QString ResultTableModel::Text(const QModelIndexList& indexes) const {
    if (indexes.isEmpty())
        return {};
    int top = rowCount(), bottom = -1, left = columnCount(), right = -1;
    for (const QModelIndex& index : indexes) {
        if (!index.isValid() || index.model() != this)
            return {};
        top = std::min(top, index.row());
        bottom = std::max(bottom, index.row());
        left = std::min(left, index.column());
        right = std::max(right, index.column());
    }
    // Which cells of the bounding box are chosen: a whole table selected holds hundreds of
    // thousands of indexes, too many to search one by one.
    const int width = right - left + 1;
    std::vector<char> chosenCells(static_cast<size_t>(bottom - top + 1) * width, 0);
    for (const QModelIndex& index : indexes)
        chosenCells[static_cast<size_t>(index.row() - top) * width + (index.column() - left)] = 1;
    return Lines(top, bottom, left, right, &chosenCells);
}

QString ResultTableModel::Text() const {
    if (headers_.isEmpty())
        return {};
    return Lines(0, rowCount() - 1, 0, columnCount() - 1, nullptr);
}

QString ResultTableModel::Cell(int row, int column) const {
    const std::vector<double>& values = rows_[static_cast<size_t>(row)];
    if (static_cast<size_t>(column) >= values.size())
        return {};
    const double value = values[static_cast<size_t>(column)];
    return column == 0 && Whole(column) ? QString::number(static_cast<long long>(value))
                                        : QString::number(value, 'g', 10);
}

QString ResultTableModel::Lines(int top, int bottom, int left, int right,
                                const std::vector<char>* chosen) const {
    const int width = right - left + 1;
    QStringList lines;
    QStringList titles;
    for (int c = left; c <= right; ++c)
        titles << headers_.value(c);
    lines << titles.join(u'\t');
    for (int r = top; r <= bottom; ++r) {
        QStringList cells;
        for (int c = left; c <= right; ++c) {
            const bool on =
                !chosen || (*chosen)[static_cast<size_t>(r - top) * width + (c - left)] != 0;
            cells << (on ? Cell(r, c) : QString());
        }
        lines << cells.join(u'\t');
    }
    return lines.join(u'\n') + u'\n';
}

QString ResultTableModel::Html(const QString& heading) const {
    QString html = QStringLiteral("<h3>%1</h3><table border=\"1\" cellspacing=\"0\" "
                                  "cellpadding=\"3\"><tr>")
                       .arg(heading.toHtmlEscaped());
    for (const QString& title : headers_)
        html += QStringLiteral("<th>%1</th>").arg(title.toHtmlEscaped());
    html += QStringLiteral("</tr>");
    for (int r = 0; r < rowCount(); ++r) {
        html += QStringLiteral("<tr>");
        for (int c = 0; c < columnCount(); ++c)
            html += QStringLiteral("<td align=\"right\">%1</td>")
                        .arg(data(index(r, c)).toString().toHtmlEscaped());
        html += QStringLiteral("</tr>");
    }
    return html + QStringLiteral("</table>");
}
