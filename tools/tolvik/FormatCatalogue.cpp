#include "FormatCatalogue.h"

#include "MathFormats.h"
#include "StructuralFormats.h"

namespace {

DataFormat Open(int problem) {
    DataFormat format;
    format.Problem = problem;
    format.Name = QStringLiteral("data of problem number %1").arg(problem);
    format.OpenTables = true;
    // Items 2 and 3 keep their names: the editor hands them to the material chooser.
    const QString labels[] = {QStringLiteral("Title"), QStringLiteral("Force unit"),
                              QStringLiteral("Length unit"), QStringLiteral("Load cases")};
    for (const QString& label : labels)
        format.General.push_back({label, GeneralItemFormat::Kind::Text, {}});
    const QString counts[] = {
        QStringLiteral("Items of table 4"), QStringLiteral("Items of table 5"),
        QStringLiteral("Items of table 2"), QStringLiteral("Items of table 3")};
    for (const QString& label : counts)
        format.General.push_back(
            {label, GeneralItemFormat::Kind::Value, ValueRule::Whole(label, 0)});
    return format;
}

} // namespace

namespace FormatCatalogue {

std::optional<DataFormat> For(int problem, bool dynamics) {
    if (problem >= 18 && problem <= 20)
        return Open(problem);
    if (problem >= 21)
        return MathFormats::For(problem);
    return StructuralFormats::For(problem, dynamics);
}

} // namespace FormatCatalogue
