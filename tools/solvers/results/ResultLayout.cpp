#include "ResultLayout.h"

#include <algorithm>
#include <array>
#include <utility>

namespace {

using Quantity = ResultColumn::Quantity;

// The title of a stress or force of a file before layouts; `first` names the principal value
// the angle belongs to.
QString OldTitle(const QString& name, const QString& first) {
    // A shell's stresses on its faces: "sxTop", "txyBottom".
    for (const auto& [face, words] :
         {std::pair{QStringLiteral("Top"), QStringLiteral("top")},
          std::pair{QStringLiteral("Bottom"), QStringLiteral("bottom")}}) {
        if (name.endsWith(face) && name.size() > face.size())
            return QStringLiteral("%1, %2 face")
                .arg(OldTitle(name.chopped(face.size()), first), words);
    }
    if (name == QLatin1String("angle"))
        return QStringLiteral("Angle of ") + first;
    if (name == QLatin1String("s1") || name == QLatin1String("s2") || name == QLatin1String("s3"))
        return QStringLiteral("Principal stress ") + name;
    if (name == QLatin1String("mises"))
        return QStringLiteral("Von Mises stress");
    if (name == QLatin1String("m1") || name == QLatin1String("m2"))
        return QStringLiteral("Principal moment ") + name;
    if (name == QLatin1String("mxy"))
        return QStringLiteral("Twisting moment mxy");
    if (name.startsWith(u'm'))
        return QStringLiteral("Moment ") + name;
    if (name.startsWith(u'q'))
        return QStringLiteral("Shear force ") + name;
    if (name == QLatin1String("nxy"))
        return QStringLiteral("Membrane shear nxy");
    if (name.startsWith(u'n'))
        return QStringLiteral("Membrane force ") + name;
    if (name == QLatin1String("tau"))
        return QStringLiteral("Resultant shear stress tau");
    if (name.startsWith(u't'))
        return QStringLiteral("Shear stress ") + name;
    return QStringLiteral("Stress ") + name;
}

// Every stress and force name that files of versions 1 to 3 held: plane, axisymmetric and
// solid stresses, a profile's shear stresses, a plate's moments and shear forces, a shell's
// forces, moments and face stresses.
constexpr std::array<const char*, 30> OldNames = {
    "sx", "sy", "sz", "txy",   "tyz",   "tzx", "txz",   "sr",    "trz",    "st",
    "s1", "s2", "s3", "mises", "angle", "tau", "mx",    "my",    "mxy",    "m1",
    "m2", "qx", "qy", "nx",    "ny",    "nxy", "sxTop", "syTop", "txyTop", "sxBottom"};

bool OldName(const QString& name) {
    if (name == QLatin1String("syBottom") || name == QLatin1String("txyBottom"))
        return true;
    return std::any_of(OldNames.begin(), OldNames.end(),
                       [&name](const char* old) { return name == QLatin1String(old); });
}

Quantity OldQuantity(const QString& name) {
    if (name == QLatin1String("angle"))
        return Quantity::Angle;
    if (name.startsWith(u'm') && name != QLatin1String("mises"))
        return Quantity::MomentPerLength;
    if (name.startsWith(u'q') || name.startsWith(u'n'))
        return Quantity::ForcePerLength;
    return Quantity::Stress;
}

// The section forces bars and walls of revolution named in files before their layouts, with
// the titles they were shown by.
constexpr std::array<std::pair<const char*, const char*>, 13> OldForces = {{
    {"N", "Normal force N"},
    {"V", "Shear force V"},
    {"Vy", "Shear force Vy"},
    {"Vz", "Shear force Vz"},
    {"T", "Twisting moment T"},
    {"M", "Bending moment M"},
    {"My", "Bending moment My"},
    {"Mz", "Bending moment Mz"},
    {"Ns", "Meridional force Ns"},
    {"Nt", "Hoop force Nt"},
    {"Ms", "Meridional moment Ms"},
    {"Mt", "Hoop moment Mt"},
    {"Q", "Shear force Q"},
}};

std::optional<ResultColumn> OldForce(const QString& name, bool perLength) {
    for (const auto& [old, title] : OldForces) {
        if (name != QLatin1String(old))
            continue;
        const bool moment = name.startsWith(u'M') || name.startsWith(u'T');
        return ResultColumn{name, QString::fromLatin1(title),
                            moment ? (perLength ? Quantity::MomentPerLength : Quantity::Moment)
                                   : (perLength ? Quantity::ForcePerLength : Quantity::Force)};
    }
    return std::nullopt;
}

} // namespace

QStringList ResultLayout::Names() const {
    QStringList names;
    names.reserve(Count());
    for (const ResultColumn& column : Columns)
        names << column.Name;
    return names;
}

int ResultLayout::IndexOf(const QString& name) const {
    for (int k = 0; k < Count(); ++k)
        if (Columns[static_cast<size_t>(k)].Name == name)
            return k;
    return -1;
}

ResultLayout& ResultLayout::operator+=(const ResultLayout& more) {
    Columns.insert(Columns.end(), more.Columns.begin(), more.Columns.end());
    return *this;
}

ResultLayout ResultLayout::operator+(const ResultLayout& more) const {
    ResultLayout sum = *this;
    return sum += more;
}

QString ResultLayout::UnitOf(Quantity what, const QString& force, const QString& length,
                             Notation notation) {
    const bool screen = notation == Notation::Screen;
    const QString squared = length + (screen ? QStringLiteral("\u00b2") : QStringLiteral("2"));
    const QString moment =
        notation == Notation::PlainStarred ? force + u'*' + length : force + length;
    switch (what) {
    case Quantity::None:
        return {};
    case Quantity::Length:
        return length;
    case Quantity::LengthSquared:
        return squared;
    case Quantity::Rotation:
        return QStringLiteral("rad");
    case Quantity::Angle:
        return screen ? QStringLiteral("\u00b0") : QStringLiteral("deg");
    case Quantity::Force:
        return force;
    case Quantity::ForcePerLength:
        return force + u'/' + length;
    case Quantity::Moment:
        return moment;
    case Quantity::MomentPerLength:
        return moment + u'/' + length;
    case Quantity::Stress:
        return force + u'/' + squared;
    }
    return {};
}

Quantity ResultLayout::OfComponent(const QString& component) {
    if (component == QLatin1String("w"))
        return Quantity::LengthSquared;
    if (component == QLatin1String("rot") || (component.size() == 2 && component.startsWith(u'r')))
        return Quantity::Rotation;
    return component.startsWith(u'u') ? Quantity::Length : Quantity::None;
}

Quantity ResultLayout::OfReaction(const QString& component, bool perLength) {
    if (OfComponent(component) == Quantity::Rotation)
        return perLength ? Quantity::MomentPerLength : Quantity::Moment;
    return perLength ? Quantity::ForcePerLength : Quantity::Force;
}

ResultLayout ResultLayout::OfForceNames(const QStringList& names, bool perLength) {
    ResultLayout layout;
    for (const QString& name : names) {
        ResultColumn column;
        column.Name = name;
        column.Title = name;
        const bool moment = name.startsWith(u'M') || name.startsWith(u'T');
        column.What = moment ? (perLength ? Quantity::MomentPerLength : Quantity::Moment)
                             : (perLength ? Quantity::ForcePerLength : Quantity::Force);
        column.At = name.size() > 1 && name.endsWith(u'i')   ? ResultColumn::Where::EndI
                    : name.size() > 1 && name.endsWith(u'j') ? ResultColumn::Where::EndJ
                                                             : ResultColumn::Where::Centre;
        layout.Columns.push_back(column);
    }
    return layout;
}

ResultLayout ResultLayout::AtEnds(const ResultLayout& section) {
    ResultLayout ends;
    for (const ResultColumn::Where end : {ResultColumn::Where::EndI, ResultColumn::Where::EndJ}) {
        for (ResultColumn column : section.Columns) {
            column.Name += end == ResultColumn::Where::EndI ? u'i' : u'j';
            column.At = end;
            ends.Columns.push_back(std::move(column));
        }
    }
    return ends;
}

std::optional<ResultLayout> ResultLayout::OfOldForceNames(const QStringList& names,
                                                          bool perLength) {
    // A truss bar's one normal force, the same all along it.
    if (names.size() == 1)
        if (const std::optional<ResultColumn> n = OldForce(names[0], perLength);
            n && n->Name == QLatin1String("N"))
            return ResultLayout{{*n}};
    // The forces at end i, then the same at end j.
    ResultLayout section;
    for (qsizetype k = 0; k < names.size() / 2; ++k) {
        const QString& end = names[k];
        std::optional<ResultColumn> column;
        if (end.size() > 1 && end.endsWith(u'i'))
            column = OldForce(end.chopped(1), perLength);
        if (!column)
            return std::nullopt;
        section.Columns.push_back(*column);
    }
    // No forces at all name nothing wrongly: there is nothing to show of them.
    ResultLayout ends = AtEnds(section);
    if (ends.Names() != names)
        return std::nullopt;
    return ends;
}

std::optional<ResultLayout> ResultLayout::OfOldNames(const QStringList& names) {
    // The angle is that of the first principal value: a plate's moment m1, else the stress s1.
    const QString first =
        names.contains(QLatin1String("m1")) ? QStringLiteral("m1") : QStringLiteral("s1");
    ResultLayout layout;
    for (const QString& name : names) {
        if (!OldName(name))
            return std::nullopt;
        layout.Columns.push_back({name, OldTitle(name, first), OldQuantity(name)});
    }
    return layout;
}
