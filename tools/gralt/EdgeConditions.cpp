#include "EdgeCondition.h"

#include <cmath>

namespace EdgeConditions {

QStringList SupportCodes(int problem) {
    switch (problem) {
    case 9:
    case 10:
        return {QStringLiteral("ux"), QStringLiteral("uz")};
    case 11:
        return {QStringLiteral("ur"), QStringLiteral("uz")};
    case 13:
        return {QStringLiteral("uz"), QStringLiteral("rx"), QStringLiteral("ry")};
    default:
        return {};
    }
}

bool TakesEdgeLoads(int problem) {
    return (problem >= 9 && problem <= 11) || problem == 13;
}

int ValueCount(EdgeCondition::Kind kind, EdgeCondition::Place place, int problem) {
    switch (kind) {
    case EdgeCondition::Kind::Support:
        return static_cast<int>(SupportCodes(problem).size());
    case EdgeCondition::Kind::Pressure:
        return place == EdgeCondition::Place::Area && problem == 13 ? 1 : 2;
    case EdgeCondition::Kind::Global:
        return 4;
    }
    return 0;
}

QString Check(const EdgeCondition& condition, int regionCount, int problem) {
    if (condition.Region < 1 || condition.Region > regionCount)
        return QStringLiteral("there is no region %1").arg(condition.Region);
    const QStringList codes = SupportCodes(problem);
    if (codes.isEmpty())
        return QStringLiteral("a torsion profile takes no supports or loads; its contours are "
                              "found from the mesh");
    const size_t values = size_t(ValueCount(condition.Type, condition.At, problem));
    if (condition.Type == EdgeCondition::Kind::Support) {
        if (condition.At == EdgeCondition::Place::Area)
            return QStringLiteral("a support lies on a side or at a corner");
        if (condition.Values.size() != values)
            return QStringLiteral("a support has %1 codes here: %2")
                .arg(codes.size())
                .arg(codes.join(QStringLiteral(" ")));
        for (double code : condition.Values) {
            if (code == 1)
                return {};
        }
        return QStringLiteral("a support must fix at least one displacement (a code 1)");
    }
    if (!TakesEdgeLoads(problem))
        return QStringLiteral("this problem type takes no loads in the mesher");
    const bool plate = problem == 13;
    if (plate && condition.Type == EdgeCondition::Kind::Global)
        return QStringLiteral("a plate's loads act across it, along z: give them as pressure");
    if (!plate && condition.At == EdgeCondition::Place::Area)
        return QStringLiteral("only a plate takes a pressure over the area; plane regions take "
                              "loads on their sides");
    if (condition.At == EdgeCondition::Place::Corner)
        return QStringLiteral("a load lies on a side or, on a plate, over the area");
    if (condition.Values.size() != values)
        return QStringLiteral("this load has %1 values").arg(values);
    for (double value : condition.Values) {
        if (!std::isfinite(value))
            return QStringLiteral("a load value is not a number");
    }
    return {};
}

QString CheckAll(const std::vector<EdgeCondition>& conditions, int regionCount, int problem) {
    for (size_t row = 0; row < conditions.size(); ++row) {
        const QString error = Check(conditions[row], regionCount, problem);
        if (!error.isEmpty())
            return QStringLiteral("Edge row %1: %2").arg(row + 1).arg(error);
    }
    return {};
}

std::vector<EdgeCondition> AfterRegionRemoved(const std::vector<EdgeCondition>& conditions,
                                              int removed) {
    std::vector<EdgeCondition> kept;
    for (EdgeCondition condition : conditions) {
        if (condition.Region == removed)
            continue;
        if (condition.Region > removed)
            --condition.Region;
        kept.push_back(condition);
    }
    return kept;
}

} // namespace EdgeConditions
