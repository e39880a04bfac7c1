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
    return problem >= 9 && problem <= 11;
}

QString Check(const EdgeCondition& condition, int regionCount, int problem) {
    if (condition.Region < 1 || condition.Region > regionCount)
        return QStringLiteral("there is no region %1").arg(condition.Region);
    const QStringList codes = SupportCodes(problem);
    if (codes.isEmpty())
        return QStringLiteral("a torsion profile takes no supports or loads; its contours are "
                              "found from the mesh");
    if (condition.Type == EdgeCondition::Kind::Support) {
        if (condition.Values.size() != static_cast<size_t>(codes.size()))
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
        return QStringLiteral("a plate takes no edge loads; give its loads in the data file");
    const size_t values = condition.Type == EdgeCondition::Kind::Pressure ? 2 : 4;
    if (condition.Values.size() != values || condition.Corner)
        return QStringLiteral("a load lies on a side and has %1 values").arg(values);
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
