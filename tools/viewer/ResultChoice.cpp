#include "ResultChoice.h"

#include "ResultScale.h"

#include <algorithm>
#include <cmath>

ResultChoice::ResultChoice(const ViewerResults& results, const ProblemType& type,
                           const ViewerModel& model)
    : results_(results), forceUnit_(model.ForceUnit), lengthUnit_(model.LengthUnit),
      frame_(type.Lies) {
    statics_ = results.Contents().Type == ResultFile::Kind::Statics;
    const ResultFile::Kind kind = results.Contents().Type;
    if (results.Ok() && (kind == ResultFile::Kind::Field || kind == ResultFile::Kind::Torsion ||
                         kind == ResultFile::Kind::Modes)) {
        // A mesh's natural modes are fields too; a bar structure's are not.
        field_ = FieldLayout::Of(type, kind == ResultFile::Kind::Modes,
                                 results.Contents().Field.Columns);
        statics_ = statics_ && !field_;
    }
    curved_ = std::any_of(model.Bars.begin(), model.Bars.end(),
                          [](const ViewerModel::Bar& bar) { return bar.Radius != 0; });
    if (results.Ok() && statics_)
        quantities_ = ResultQuantity::For(results.Contents().Statics.Forces, type);
    // Forced vibrations of bars: their section forces drawn as the statics' are.
    else if (results.Ok() && !field_ && kind == ResultFile::Kind::Modes)
        quantities_ = ResultQuantity::For(results.Contents().Vibrations.Columns, type);
}

namespace {

// A combination's terms as a caption gives them: " (1.350 × case 1 − 0.8000 × case 2)".
QString Terms(const std::vector<std::pair<int, double>>& terms) {
    QString text;
    for (const auto& [loadCase, factor] : terms) {
        const QString size = ResultChoice::Number(std::abs(factor));
        text += text.isEmpty()
                    ? (factor < 0 ? QStringLiteral("\u2212") : QString()) + size
                    : (factor < 0 ? QStringLiteral(" \u2212 ") : QStringLiteral(" + ")) + size;
        text += QStringLiteral(" \u00d7 case %1").arg(loadCase);
    }
    return text.isEmpty() ? text : QStringLiteral(" (%1)").arg(text);
}

// An envelope's combinations as a caption gives them: " (over combinations 1, 2)".
QString Over(const std::vector<int>& combinations) {
    QStringList numbers;
    for (int c : combinations)
        numbers << QString::number(c);
    return QStringLiteral(" (over combination%1 %2)")
        .arg(numbers.size() == 1 ? QString() : QStringLiteral("s"),
             numbers.join(QStringLiteral(", ")));
}

// What an envelope's deformed shape is not.
const char* const NoShape = ": no deformed shape, as an envelope's values do not occur together";

} // namespace

QString ResultChoice::Head(int entry) const {
    const ResultFile::Contents& contents = results_.Contents();
    if (const auto bound = results_.BoundOf(entry))
        return results_.EntryTitle(entry) +
               Over(field_ ? contents.Field.Envelopes[bound->Envelope].Combinations
                           : contents.Statics.Envelopes[bound->Envelope].Combinations);
    if (field_)
        return results_.FieldEntry(entry)
                   ? results_.EntryTitle(entry) + Terms(results_.FieldEntry(entry)->Terms)
                   : QString();
    return results_.StaticEntry(entry)
               ? results_.EntryTitle(entry) + Terms(results_.StaticEntry(entry)->Terms)
               : QString();
}

QStringList ResultChoice::Entries() const {
    QStringList entries;
    if (!results_.Ok())
        return entries;
    const ResultFile::Contents& contents = results_.Contents();
    if (statics_ || (field_ && !field_->Modes())) {
        for (int entry = 0; entry < results_.StaticEntries(); ++entry)
            entries << results_.EntryTitle(entry);
        return entries;
    }
    int perCase = 0, lastCase = -1;
    for (size_t k = 0; k < contents.Modes.List.size(); ++k) {
        const ResultFile::Shapes::Shape& shape = contents.Modes.List[k];
        if (contents.Type == ResultFile::Kind::Modes) {
            entries << QStringLiteral("Mode %1: %2 Hz").arg(k + 1).arg(Number(shape.Value));
        } else {
            perCase = shape.Case == lastCase ? perCase + 1 : 1;
            lastCase = shape.Case;
            entries << QStringLiteral("Case %1, shape %2: factor %3")
                           .arg(shape.Case)
                           .arg(perCase)
                           .arg(Number(shape.Value));
        }
    }
    const int modes = static_cast<int>(contents.Modes.List.size());
    for (int entry = modes; entry < modes + results_.ForcedEntries(); ++entry)
        entries << results_.ForcedTitle(entry);
    return entries;
}

QStringList ResultChoice::Shows() const {
    if (field_) {
        QStringList shows;
        for (const FieldLayout::Show& show : field_->Shows)
            shows << show.Title;
        return shows;
    }
    if (!results_.Ok() || quantities_.empty())
        return statics_ && results_.Ok() ? QStringList{QStringLiteral("Deformed shape")}
                                         : QStringList();
    QStringList shows{QStringLiteral("Deformed shape")};
    for (const ResultQuantity& q : quantities_)
        shows << q.Title;
    return shows;
}

QString ResultChoice::UnitOf(const ResultQuantity& quantity) const {
    return ResultLayout::UnitOf(quantity.What, forceUnit_, lengthUnit_);
}

QStringList ResultChoice::Caption(int entry, int show) const {
    QStringList lines;
    if (!results_.Ok())
        return lines;
    const ResultFile::Contents& contents = results_.Contents();
    if (results_.ForcedOf(entry))
        return ForcedCaption(entry, show);
    if (field_ && field_->Modes()) {
        const auto& list = contents.Modes.List;
        if (entry < 0 || entry >= static_cast<int>(list.size()) || show < 0 ||
            show >= static_cast<int>(field_->Shows.size()))
            return lines;
        const double f = list[static_cast<size_t>(entry)].Value;
        lines << QStringLiteral("Mode %1 of %2: f = %3 Hz, T = %4 s, \u03c9 = %5 1/s")
                     .arg(entry + 1)
                     .arg(list.size())
                     .arg(Number(f), Number(f > 0 ? 1 / f : 0),
                          Number(2 * 3.14159265358979323846 * f));
        lines << QStringLiteral("%1, scaled so that the largest uz is 1")
                     .arg(field_->Shows[static_cast<size_t>(show)].Title);
        lines << QStringLiteral("Smooth from the values at the nodes");
        if (!RigidNote().isEmpty())
            lines << RigidNote();
        return lines;
    }
    if (field_) {
        const FieldResults::Case* c = results_.FieldEntry(entry);
        if (!c || show < 0 || show >= static_cast<int>(field_->Shows.size()))
            return lines;
        const FieldLayout::Show& s = field_->Shows[static_cast<size_t>(show)];
        const QString head = field_->Torsion() ? QStringLiteral("Torsion") : Head(entry);
        if (s.From == FieldLayout::Show::Source::Deformed)
            return {head + (results_.BoundOf(entry) ? QLatin1String(NoShape)
                                                    : QLatin1String(": deformed shape"))};
        lines << QStringLiteral("%1: %2 (%3)")
                     .arg(head, s.Title, field_->UnitOf(s, forceUnit_, lengthUnit_));
        if (field_->Flat() && s.From == FieldLayout::Show::Source::Stress && s.Name != "angle")
            lines << QStringLiteral("Per unit width; moments positive when they stretch the "
                                    "bottom face");
        else if (field_->Space() && s.From == FieldLayout::Show::Source::Stress)
            lines << QStringLiteral("In each element's axes: x from its first corner to the "
                                    "second, z its normal");
        if (const auto& t = contents.Field.Twist) {
            const QString stress =
                ResultLayout::UnitOf(ResultColumn::Quantity::Stress, forceUnit_, lengthUnit_);
            lines << QStringLiteral("T = %1 %2%3, G = %4 %5, J = %6 %3%7")
                         .arg(Number(t->Moment), forceUnit_, lengthUnit_, Number(t->G), stress,
                              Number(t->J), QStringLiteral("\u2074"));
            lines << QStringLiteral("Rate of twist %1 rad/%2; largest shear stress %3 %4 at "
                                    "y = %5, z = %6 %2")
                         .arg(Number(t->Twist), lengthUnit_, Number(t->TauMax), stress,
                              Number(t->AtY), Number(t->AtZ));
        }
        lines << QStringLiteral("Smooth from the values at the nodes");
        return lines;
    }
    if (statics_) {
        const StaticResults::Case* c = results_.StaticEntry(entry);
        if (!c)
            return lines;
        const QString head = Head(entry);
        if (show <= 0 || show > static_cast<int>(quantities_.size()))
            return {head + (results_.BoundOf(entry) ? QLatin1String(NoShape)
                                                    : QLatin1String(": deformed shape"))};
        const ResultQuantity& q = quantities_[static_cast<size_t>(show - 1)];
        lines << QStringLiteral("%1: %2 (%3)").arg(head, q.Title, UnitOf(q));
        if (const auto bound = results_.BoundOf(entry))
            lines << QStringLiteral("The %1 dashed; the values written are the %2")
                         .arg(bound->Largest ? QStringLiteral("smallest values")
                                             : QStringLiteral("largest values"),
                              bound->Largest ? QStringLiteral("largest")
                                             : QStringLiteral("smallest"));
        if (q.Name == QLatin1String("T"))
            lines << QStringLiteral("T positive drawn %1")
                         .arg(frame_ == ProblemType::Layout::Grillage
                                  ? QStringLiteral("upwards")
                                  : QStringLiteral("to the side of local z"));
        else if (q.Moment())
            lines << QStringLiteral("Drawn on the tension side");
        else if (frame_ == ProblemType::Layout::PlaneXZ)
            lines << QStringLiteral("Positive drawn on the left of i \u2192 j (above a bar "
                                    "drawn rightwards)");
        else if (frame_ == ProblemType::Layout::Grillage)
            lines << QStringLiteral("Positive drawn upwards");
        else
            lines << QStringLiteral("Positive drawn to the side of local %1")
                         .arg(q.Name == QLatin1String("Vy") ? QStringLiteral("y")
                                                            : QStringLiteral("z"));
        if (curved_)
            lines << QStringLiteral("Along arcs: from the forces at end i and the load, by "
                                    "equilibrium");
        if (q.Name == QLatin1String("N"))
            lines << QStringLiteral("Tension positive (blue), compression negative (red)");
        else
            lines << QStringLiteral("Positive blue, negative red");
        return lines;
    }
    const auto& list = contents.Modes.List;
    if (entry < 0 || entry >= static_cast<int>(list.size()))
        return lines;
    const ResultFile::Shapes::Shape& shape = list[static_cast<size_t>(entry)];
    if (contents.Type == ResultFile::Kind::Modes) {
        const double period = shape.Value > 0 ? 1 / shape.Value : 0;
        lines << QStringLiteral("Mode %1 of %2: f = %3 Hz, T = %4 s, \u03c9 = %5 1/s")
                     .arg(entry + 1)
                     .arg(list.size())
                     .arg(Number(shape.Value), Number(period),
                          Number(2 * 3.14159265358979323846 * shape.Value));
    } else {
        lines << QStringLiteral("Load case %1: buckling at %2 \u00d7 the loads (critical "
                                "factor)")
                     .arg(shape.Case)
                     .arg(Number(shape.Value));
    }
    lines << QStringLiteral("Shape scaled: its largest translation is a tenth of the model");
    if (contents.Type == ResultFile::Kind::Modes && !RigidNote().isEmpty())
        lines << RigidNote();
    return lines;
}

QStringList ResultChoice::ForcedCaption(int entry, int show) const {
    const std::optional<ViewerResults::ForcedEntry> forced = results_.ForcedOf(entry);
    const ResultFile::Forced::Excitation& x =
        results_.Contents().Vibrations.List[forced->Excitation];
    const QString title = results_.ForcedTitle(entry);
    QStringList lines;
    const QString what = field_ && show >= 0 && show < static_cast<int>(field_->Shows.size())
                             ? field_->Shows[static_cast<size_t>(show)].Name
                             : QString();
    const ResultQuantity* diagram = DiagramOf(show);
    switch (forced->View) {
    case ViewerResults::ForcedView::Motion:
        lines << title + QStringLiteral(": choose an instant or a frequency");
        break;
    case ViewerResults::ForcedView::Max:
    case ViewerResults::ForcedView::Min: {
        const bool max = forced->View == ViewerResults::ForcedView::Max;
        lines << QStringLiteral("%1: the %2 values over %3 to %4 s (table)")
                     .arg(title, max ? QStringLiteral("largest") : QStringLiteral("smallest"),
                          Number(x.Abscissae.empty() ? 0 : x.Abscissae.front()),
                          Number(x.Abscissae.empty() ? 0 : x.Abscissae.back()));
        lines << QStringLiteral("Each beside its instant; no deformed shape, as they do not "
                                "occur together");
        if (diagram)
            lines << QStringLiteral("%1 (%2): the %3 dashed")
                         .arg(diagram->Title, UnitOf(*diagram),
                              max ? QStringLiteral("smallest values")
                                  : QStringLiteral("largest values"));
        if (!what.isEmpty())
            lines << QStringLiteral("Contours: %1, %2 over time")
                         .arg(what, max ? QStringLiteral("max") : QStringLiteral("min"));
        break;
    }
    case ViewerResults::ForcedView::Peaks: {
        lines << title + QStringLiteral(" (table)");
        lines << QStringLiteral("Each signed as its dominant mode; no deformed shape, as the "
                                "modes' peaks do not occur together");
        static const char* const axes[] = {"x", "y", "z"};
        QStringList shears;
        for (const auto& [direction, shear] : x.BaseShears)
            shears << QStringLiteral("%1: %2 %3")
                          .arg(QLatin1String(axes[std::clamp(direction, 0, 2)]), Number(shear),
                               forceUnit_);
        if (!shears.isEmpty())
            lines << QStringLiteral("Base shear along ") + shears.join(QStringLiteral(", along "));
        if (diagram)
            lines << QStringLiteral("%1 (%2)").arg(diagram->Title, UnitOf(*diagram));
        if (!what.isEmpty())
            lines << QStringLiteral("Contours: %1, combined size").arg(what);
        break;
    }
    }
    return lines;
}

QStringList ResultChoice::MotionCaption(int entry, int show, const ForcedMotion& motion, int point,
                                        double phase, double factor) const {
    const std::optional<ViewerResults::ForcedEntry> forced = results_.ForcedOf(entry);
    if (!forced || forced->View != ViewerResults::ForcedView::Motion || !motion.Valid())
        return Caption(entry, show);
    const ResultFile::Forced::Excitation& x = motion.Excitation();
    const int points = motion.Points();
    QStringList lines;
    if (x.Type == ResultFile::Forced::Kind::Harmonic) {
        const double degrees = std::remainder(phase * 180 / 3.14159265358979323846, 360.0);
        lines << QStringLiteral("Excitation %1: harmonic at f = %2 Hz (%3 of %4), phase %5°")
                     .arg(x.Number)
                     .arg(Number(motion.Abscissa(point)))
                     .arg(point + 1)
                     .arg(points)
                     .arg(std::lround(degrees < 0 ? degrees + 360 : degrees));
        lines << QStringLiteral("The steady motion Re(U e^(iωt)) at that phase");
    } else {
        lines << QStringLiteral("Excitation %1: history at t = %2 s (instant %3 of %4)")
                     .arg(x.Number)
                     .arg(Number(motion.Abscissa(point)))
                     .arg(point + 1)
                     .arg(points);
        lines << (x.Direct() ? QStringLiteral("Integrated directly")
                             : QStringLiteral("Summed over %1")
                                   .arg(Counted(qint64(results_.Contents().Modes.List.size()),
                                                QStringLiteral("mode"))));
    }
    const QString largest =
        QStringLiteral("largest translation %1 %2 (at %3 %4)")
            .arg(Number(motion.LargestMove()), lengthUnit_)
            .arg(Number(motion.Abscissa(motion.PeakPoint())))
            .arg(x.Type == ResultFile::Forced::Kind::Harmonic ? QStringLiteral("Hz")
                                                              : QStringLiteral("s"));
    if (field_) {
        lines << QStringLiteral("%1: one colour scale for the whole excitation; %2")
                     .arg(show >= 0 && show < static_cast<int>(field_->Shows.size())
                              ? field_->Shows[static_cast<size_t>(show)].Name
                              : QString(),
                          largest);
    } else if (const ResultQuantity* diagram = DiagramOf(show)) {
        lines << QStringLiteral("%1 (%2) at that %3")
                     .arg(diagram->Title, UnitOf(*diagram),
                          x.Type == ResultFile::Forced::Kind::Harmonic ? QStringLiteral("phase")
                                                                       : QStringLiteral("instant"));
    } else if (factor > 0) {
        lines << QStringLiteral("%1, one scale for the whole excitation; %2")
                     .arg(ResultScale::Caption(factor), largest);
    } else {
        lines << QStringLiteral("No node moves");
    }
    return lines;
}

const ResultQuantity* ResultChoice::DiagramOf(int show) const {
    return !statics_ && !field_ && show > 0 && show <= static_cast<int>(quantities_.size())
               ? &quantities_[static_cast<size_t>(show - 1)]
               : nullptr;
}

QStringList ResultChoice::ComponentNames() const {
    return results_.Contents().Modes.Components;
}

QStringList ResultChoice::ColumnNames() const {
    return results_.Contents().Vibrations.Columns.Names();
}

QString ResultChoice::QuantityName(const ForcedMotion::Quantity& q) const {
    if (q.Element) {
        const ResultLayout& columns = results_.Contents().Vibrations.Columns;
        if (q.Column < 0 || q.Column >= columns.Count())
            return {};
        return QStringLiteral("Element %1 %2 [%3]")
            .arg(q.Index + 1)
            .arg(columns[q.Column].Name,
                 ResultLayout::UnitOf(columns[q.Column].What, forceUnit_, lengthUnit_));
    }
    const QStringList& components = results_.Contents().Modes.Components;
    if (q.Column < 0 || q.Column >= components.size())
        return {};
    return QStringLiteral("Node %1 %2 [%3]")
        .arg(q.Index + 1)
        .arg(components[q.Column],
             ResultLayout::UnitOf(ResultLayout::OfComponent(components[q.Column]), forceUnit_,
                                  lengthUnit_));
}

QString ResultChoice::RigidNote() const {
    const int rigid = results_.RigidModes();
    if (rigid <= 0)
        return {};
    return QStringLiteral("Free structure: %1 at 0 Hz before mode 1, not listed")
        .arg(Counted(rigid, QStringLiteral("rigid-body mode")));
}

QString ResultChoice::Counted(qint64 count, const QString& noun) {
    return QStringLiteral("%1 %2%3").arg(count).arg(noun,
                                                    count == 1 ? QString() : QStringLiteral("s"));
}

QString ResultChoice::Number(double value) {
    if (value == 0 || !std::isfinite(value))
        return QStringLiteral("0");
    const double size = std::abs(value);
    if (size >= 1e7 || size < 1e-4)
        return QString::number(value, 'e', 3);
    const int digits = static_cast<int>(std::floor(std::log10(size))) + 1;
    int decimals = std::max(0, 4 - digits);
    // 99.99996 rounds up to a number of one more digit: "100.0", not "100.00".
    const double scale = std::pow(10.0, decimals);
    if (decimals > 0 && std::round(size * scale) / scale >= std::pow(10.0, digits))
        --decimals;
    return QString::number(value, 'f', decimals);
}
