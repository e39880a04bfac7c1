#include "MeshProject.h"

#include "EdgeTexts.h"
#include "ItemLine.h"
#include "ValueRule.h"

namespace {

const QString Heading = QStringLiteral("Gralt project 2");
// Projects of regions only, written before edge conditions could be given.
const QString FirstHeading = QStringLiteral("Gralt project 1");

} // namespace

QByteArray MeshProject::Write(const std::vector<MeshRegion>& regions,
                              const std::vector<EdgeCondition>& conditions) {
    QString text =
        Heading + QStringLiteral("\r\n; x1 y1 x2 y2 x3 y3 x4 y4 divisions12 divisions23 material "
                                 "section\r\n");
    for (const MeshRegion& region : regions) {
        text += QStringLiteral("region");
        for (const QPointF& corner : region.Corners)
            text +=
                u' ' + ItemLine::NumberText(corner.x()) + u' ' + ItemLine::NumberText(corner.y());
        text += QStringLiteral(" %1 %2 %3 %4\r\n")
                    .arg(region.Divisions12)
                    .arg(region.Divisions23)
                    .arg(region.Material)
                    .arg(region.Section);
    }
    if (!conditions.empty())
        text += QStringLiteral("; support region side-or-corner codes; pressure region side case "
                               "q1 q2; global region side case qx1 qz1 qx2 qz2\r\n");
    for (const EdgeCondition& condition : conditions)
        text += EdgeTexts::ToLine(condition) + QStringLiteral("\r\n");
    return text.toUtf8();
}

MeshProject::Result MeshProject::Read(const QByteArray& bytes) {
    Result result;
    const QStringList lines = QString::fromUtf8(bytes).split(u'\n');
    if (lines.isEmpty() || (lines[0].trimmed() != Heading && lines[0].trimmed() != FirstHeading)) {
        result.Error =
            QStringLiteral("line 1: not a project of the mesher (\"%1\" expected)").arg(Heading);
        return result;
    }
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QString line = lines[i].trimmed();
        if (line.isEmpty() || line.startsWith(u';'))
            continue;
        const auto fail = [&](const QString& message) {
            result.Error = QStringLiteral("line %1: %2").arg(i + 1).arg(message);
            result.Regions.clear();
            result.Conditions.clear();
            return result;
        };
        const std::vector<QStringView> words = ItemLine::SplitWords(line);
        if (EdgeTexts::IsLine(words.front())) {
            QString error;
            const std::optional<EdgeCondition> condition = EdgeTexts::FromLine(words, error);
            if (!condition)
                return fail(error);
            result.Conditions.push_back(*condition);
            continue;
        }
        if (words.front() != QLatin1String("region") || words.size() != 13)
            return fail(QStringLiteral("a region line is \"region\" and 12 numbers"));
        double values[12];
        for (int v = 0; v < 12; ++v) {
            const bool whole = v >= 8;
            if (!(whole ? ValueRule::ParseWhole(words[v + 1], values[v])
                        : ValueRule::ParseReal(words[v + 1], values[v])) ||
                (whole && (values[v] < 1 || values[v] > 1e6)))
                return fail(QStringLiteral("\"%1\" is not %2")
                                .arg(words[v + 1])
                                .arg(whole ? QStringLiteral("a whole number of 1 or more")
                                           : QStringLiteral("a number")));
        }
        result.Regions.push_back(MeshRegion::FromValues(values));
    }
    result.Ok = true;
    return result;
}
