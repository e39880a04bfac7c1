#include "ProfileValues.h"

QStringList ProfileValues::Columns(int problem) {
    switch (problem) {
    case 1:
    case 5:
    case 8:
    case 15:
        return {QStringLiteral("A"), QStringLiteral("I")};
    case 3:
    case 4:
        return {QStringLiteral("A")};
    case 6:
        return {QStringLiteral("I"), QStringLiteral("It")};
    case 7:
        return {QStringLiteral("A"), QStringLiteral("It"), QStringLiteral("Iy"),
                QStringLiteral("Iz")};
    case 12:
        return {QStringLiteral("D"), QStringLiteral("d")};
    default:
        return {};
    }
}

std::optional<QList<double>> ProfileValues::ItemValues(int problem, const SectionValues& section) {
    switch (problem) {
    case 1:
    case 5:
    case 8:
    case 15:
        return QList<double>{section.A, section.Iy};
    case 3:
    case 4:
        return QList<double>{section.A};
    case 6:
        return QList<double>{section.Iy, section.It};
    case 7:
        return QList<double>{section.A, section.It, section.Iy, section.Iz};
    case 12:
        if (!section.D || !section.T)
            return std::nullopt;
        return QList<double>{*section.D, *section.D - 2 * *section.T};
    default:
        return std::nullopt;
    }
}

SectionValues ProfileValues::FromRow(const StandardTable::Group& group,
                                     const StandardTable::Row& row, const UnitScale& units) {
    SectionValues s;
    s.Name = row.Name;
    auto value = [&](const char* column) {
        return group.Value(row, QString::fromLatin1(column)).value_or(0.0);
    };
    s.A = units.FromSquareCentimetres(value("A"));
    s.Iy = units.FromQuarticCentimetres(value("Iy"));
    s.Iz = units.FromQuarticCentimetres(value("Iz"));
    s.It = units.FromQuarticCentimetres(value("It"));
    if (const auto d = group.Value(row, QStringLiteral("D"))) {
        s.D = units.FromMillimetres(*d);
        s.T = units.FromMillimetres(value("t"));
    }
    return s;
}
