#include "MathFormats.h"

#include "CheckFault.h"
#include "CountLimits.h"
#include "ParsedData.h"

#include <algorithm>
#include <cmath>
#include <set>
#include <utility>

namespace {

using Rule = ValueRule;

QString Number(double value) {
    return QString::number(value, 'g', 12);
}

GeneralItemFormat Value(const ValueRule& rule) {
    return {rule.Name, GeneralItemFormat::Kind::Value, rule};
}

// Table 1: the title, three parameters, the counts of items 5 to 8 (tables 4 and 5 are never
// there) and any further parameters.
std::vector<GeneralItemFormat> General(const Rule& second, const Rule& third, const Rule& fourth,
                                       const QString& table2Items, const QString& table3Items,
                                       std::vector<Rule> more = {}) {
    std::vector<GeneralItemFormat> items{
        {QStringLiteral("Title"), GeneralItemFormat::Kind::Text, {}},
        Value(second),
        Value(third),
        Value(fourth),
        Value(Rule::Whole(QStringLiteral("Items of table 4"), 0)),
        Value(Rule::Whole(QStringLiteral("Items of table 5"), 0)),
        Value(Rule::Whole(table2Items, 0)),
        Value(Rule::Whole(table3Items, 0))};
    for (const Rule& rule : more)
        items.push_back(Value(rule));
    return items;
}

TableFormat Table(int number, const QString& title, const QString& items,
                  std::vector<ValueRule> columns, int minItems) {
    return TableFormat::Make(number, title, items, std::move(columns), minItems);
}

// Fails unless the matrix is symmetric, when item `flag` of table 1 says it is.
void CheckSymmetric(const ParsedTable& matrix, const ParsedData& data, int flag) {
    if (data.GeneralNumber(flag) != 1)
        return;
    for (int row = 1; row < matrix.Rows(); ++row) {
        for (int column = 0; column < row && column < matrix.Width; ++column) {
            const double lower = matrix.At(row, column);
            const double upper = matrix.At(column, row);
            const double scale = std::max(std::abs(lower), std::abs(upper));
            if (std::abs(lower - upper) > 1e-9 * scale)
                throw CheckFault{matrix.Lines[row],
                                 QStringLiteral("the matrix is not symmetric: value %1 of this "
                                                "row is %2, value %3 of row %1 is %4 (item %5 "
                                                "of table 1 declares it symmetric)")
                                     .arg(column + 1)
                                     .arg(Number(lower))
                                     .arg(row + 1)
                                     .arg(Number(upper))
                                     .arg(flag)};
        }
    }
}

// A square matrix in table 2, one item per row; `symmetricFlag` is the item of table 1 that
// declares it symmetric, 0 when none does.
TableFormat Matrix(const QString& title, int symmetricFlag) {
    TableFormat table = Table(2, title, QStringLiteral("matrix rows"),
                              {Rule::Real(QStringLiteral("matrix value"))}, 1);
    table.Width = TableFormat::Widths::FirstRow;
    table.OnEnd = [symmetricFlag](const ParsedTable& matrix, const ParsedData& data) {
        if (matrix.Rows() != matrix.Width)
            throw CheckFault{matrix.HeaderLine,
                             QStringLiteral("the matrix has %1 rows of %2 values; it must be "
                                            "square")
                                 .arg(matrix.Rows())
                                 .arg(matrix.Width)};
        if (symmetricFlag > 0)
            CheckSymmetric(matrix, data, symmetricFlag);
    };
    return table;
}

// Rows as long as the matrix of table 2.
TableFormat MatrixWide(const QString& title, const QString& items, int minItems) {
    TableFormat table = Table(3, title, items, {Rule::Real(QStringLiteral("value"))}, minItems);
    table.Width = TableFormat::Widths::RowsOfTable;
    table.WidthTable = 2;
    return table;
}

DataFormat Format(int problem, const QString& name, std::vector<GeneralItemFormat> general,
                  std::vector<TableFormat> tables) {
    DataFormat format;
    format.Problem = problem;
    format.Name = name;
    format.General = std::move(general);
    format.Tables = std::move(tables);
    return format;
}

// Item `later` of table 1 must be greater than item `earlier`.
void CheckIncreasing(const ParsedData& data, int earlier, int later, const QString& what) {
    if (data.GeneralNumber(later) <= data.GeneralNumber(earlier))
        throw CheckFault{
            data.GeneralLine(later),
            QStringLiteral("%1 %2 must lie beyond the start %3")
                .arg(what, Number(data.GeneralNumber(later)), Number(data.GeneralNumber(earlier)))};
}

DataFormat LinearSystem() {
    return Format(
        21, QStringLiteral("systems of linear equations"),
        General(Rule::Flag(QStringLiteral("Symmetric matrix")),
                Rule::Flag(QStringLiteral("Determinant")), Rule::Flag(QStringLiteral("Residuals")),
                QStringLiteral("Matrix rows"), QStringLiteral("Right-hand sides")),
        {Matrix(QStringLiteral("Matrix"), 2),
         MatrixWide(QStringLiteral("Right-hand sides"), QStringLiteral("right-hand sides"), 1)});
}

DataFormat CharacteristicValues() {
    TableFormat b = MatrixWide(QStringLiteral("Matrix B"), QStringLiteral("rows of B"), 0);
    b.OnEnd = [](const ParsedTable& matrix, const ParsedData& data) {
        if (matrix.Rows() != 0 && matrix.Rows() != matrix.Width)
            throw CheckFault{matrix.HeaderLine,
                             QStringLiteral("matrix B has %1 rows; it takes none (B is the unit "
                                            "matrix) or %2, as many as A")
                                 .arg(matrix.Rows())
                                 .arg(matrix.Width)};
        CheckSymmetric(matrix, data, 4);
    };
    DataFormat format = Format(22, QStringLiteral("characteristic value problems"),
                               General(Rule::Whole(QStringLiteral("Values wanted"), 1),
                                       Rule::Flag(QStringLiteral("Vectors")),
                                       Rule::Flag(QStringLiteral("Symmetric matrices")),
                                       QStringLiteral("Rows of A"), QStringLiteral("Rows of B")),
                               {Matrix(QStringLiteral("Matrix A"), 4), b});
    format.OnEnd = [](const ParsedData& data) {
        const int order = data.ItemCount(2);
        if (data.GeneralNumber(2) > order)
            throw CheckFault{data.GeneralLine(2),
                             QStringLiteral("%1 values are wanted, but the matrix has only %2 "
                                            "rows")
                                 .arg(Number(data.GeneralNumber(2)))
                                 .arg(order)};
    };
    return format;
}

DataFormat InverseMatrix() {
    DataFormat format = Format(
        23, QStringLiteral("matrix inversions"),
        General(Rule::Flag(QStringLiteral("Inverse")), Rule::Flag(QStringLiteral("Determinant")),
                Rule::Flag(QStringLiteral("Check product")), QStringLiteral("Matrix rows"),
                QStringLiteral("Items of table 3")),
        {Matrix(QStringLiteral("Matrix"), 0)});
    format.OnEnd = [](const ParsedData& data) {
        if (data.GeneralNumber(2) == 0 && data.GeneralNumber(3) == 0)
            throw CheckFault{data.GeneralLine(2),
                             QStringLiteral("nothing to compute: items 2 (Inverse) and 3 "
                                            "(Determinant) are both 0")};
    };
    return format;
}

DataFormat Fourier() {
    TableFormat values =
        Table(2, QStringLiteral("Function values"), QStringLiteral("function values"),
              {Rule::Real(QStringLiteral("x")), Rule::Real(QStringLiteral("f"))}, 3);
    values.OnEnd = [](const ParsedTable& table, const ParsedData& data) {
        const double start = data.GeneralNumber(2);
        const double end = start + data.GeneralNumber(3);
        for (int row = 0; row < table.Rows(); ++row) {
            const double x = table.At(row, 0);
            if (x < start || x > end)
                throw CheckFault{table.Lines[row],
                                 QStringLiteral("x = %1 lies outside the period, %2 to %3")
                                     .arg(Number(x), Number(start), Number(end))};
            if (row > 0 && x <= table.At(row - 1, 0))
                throw CheckFault{table.Lines[row],
                                 QStringLiteral("x must grow from item to item: %1 follows %2")
                                     .arg(Number(x), Number(table.At(row - 1, 0)))};
        }
        const double harmonics = data.GeneralNumber(4);
        if (table.Rows() < 2 * harmonics + 1)
            throw CheckFault{table.HeaderLine,
                             QStringLiteral("%1 harmonics need at least %2 function values, the "
                                            "table has %3")
                                 .arg(Number(harmonics), Number(2 * harmonics + 1))
                                 .arg(table.Rows())};
    };
    return Format(24, QStringLiteral("Fourier analyses"),
                  General(Rule::Real(QStringLiteral("Period start")),
                          Rule::Positive(QStringLiteral("Period")),
                          Rule::Count(QStringLiteral("Harmonics"), 1, CountLimits::Harmonics),
                          QStringLiteral("Function values"), QStringLiteral("Items of table 3")),
                  {values});
}

DataFormat NonlinearEquation() {
    TableFormat terms =
        Table(2, QStringLiteral("Polynomial terms"), QStringLiteral("terms"),
              {Rule::Whole(QStringLiteral("power"), 0, 100), Rule::Real(QStringLiteral("a"))}, 1);
    terms.OnEnd = [](const ParsedTable& table, const ParsedData&) {
        std::set<double> powers;
        bool unknownAppears = false;
        for (int row = 0; row < table.Rows(); ++row) {
            if (!powers.insert(table.At(row, 0)).second)
                throw CheckFault{table.Lines[row],
                                 QStringLiteral("the power %1 appears a second time")
                                     .arg(Number(table.At(row, 0)))};
            unknownAppears |= table.At(row, 0) > 0 && table.At(row, 1) != 0;
        }
        if (!unknownAppears)
            throw CheckFault{table.HeaderLine,
                             QStringLiteral("no term holds x; there is no equation to solve")};
    };
    TableFormat intervals =
        Table(3, QStringLiteral("Search intervals"), QStringLiteral("search intervals"),
              {Rule::Real(QStringLiteral("from")), Rule::Real(QStringLiteral("to"))}, 1);
    intervals.OnRow = [](const ParsedTable& table, int row, const ParsedData&) {
        if (table.At(row, 1) <= table.At(row, 0))
            throw CheckFault{table.Lines[row],
                             QStringLiteral("the interval must end beyond its start")};
    };
    return Format(25, QStringLiteral("nonlinear equations"),
                  General(Rule::Positive(QStringLiteral("Tolerance")),
                          Rule::Count(QStringLiteral("Iterations"), 1, CountLimits::Iterations),
                          Rule::Count(QStringLiteral("Subdivisions"), 1, CountLimits::Subdivisions),
                          QStringLiteral("Polynomial terms"), QStringLiteral("Search intervals")),
                  {terms, intervals});
}

DataFormat DifferentialSystem() {
    TableFormat initial =
        Table(3, QStringLiteral("Initial values"), QStringLiteral("initial values"),
              {Rule::Real(QStringLiteral("y0")), Rule::Real(QStringLiteral("f"))}, 1);
    initial.OnEnd = [](const ParsedTable& table, const ParsedData& data) {
        if (table.Rows() != data.ItemCount(2))
            throw CheckFault{table.HeaderLine,
                             QStringLiteral("table 3 needs one item for each of the %1 "
                                            "equations, it has %2")
                                 .arg(data.ItemCount(2))
                                 .arg(table.Rows())};
    };
    DataFormat format =
        Format(26, QStringLiteral("systems of differential equations"),
               General(Rule::Real(QStringLiteral("Start")), Rule::Real(QStringLiteral("End")),
                       Rule::Count(QStringLiteral("Steps"), 1, CountLimits::Steps),
                       QStringLiteral("Matrix rows"), QStringLiteral("Initial values")),
               {Matrix(QStringLiteral("Matrix"), 0), initial});
    format.OnEnd = [](const ParsedData& data) {
        CheckIncreasing(data, 2, 3, QStringLiteral("the end"));
        const double steps = data.GeneralNumber(4);
        const int equations = data.ItemCount(2);
        if (steps * equations > CountLimits::StepValues)
            throw CheckFault{data.GeneralLine(4),
                             QStringLiteral("Steps: %1 steps of %2 equations give %3 values; a "
                                            "data file may ask for at most %4, so take at most "
                                            "%5 steps")
                                 .arg(Number(steps))
                                 .arg(equations)
                                 .arg(Number(steps * equations))
                                 .arg(CountLimits::StepValues)
                                 .arg(CountLimits::StepValues / equations)};
    };
    return format;
}

DataFormat DifferentialCharacteristicValues() {
    TableFormat terms =
        Table(2, QStringLiteral("Coefficient terms"), QStringLiteral("terms"),
              {Rule::OneOf(QStringLiteral("function"),
                           {QStringLiteral("P"), QStringLiteral("Q"), QStringLiteral("R")}),
               Rule::Whole(QStringLiteral("power"), 0, 100), Rule::Real(QStringLiteral("c"))},
              2);
    terms.OnEnd = [](const ParsedTable& table, const ParsedData&) {
        std::set<std::pair<double, double>> seen;
        bool hasP = false, hasR = false;
        for (int row = 0; row < table.Rows(); ++row) {
            if (!seen.insert({table.At(row, 0), table.At(row, 1)}).second)
                throw CheckFault{table.Lines[row],
                                 QStringLiteral("this function and power appear a second time")};
            hasP |= table.At(row, 0) == 0 && table.At(row, 2) != 0;
            hasR |= table.At(row, 0) == 2 && table.At(row, 2) != 0;
        }
        if (!hasP || !hasR)
            throw CheckFault{table.HeaderLine,
                             QStringLiteral("the coefficient %1 needs a term that is not 0")
                                 .arg(hasP ? QStringLiteral("R") : QStringLiteral("P"))};
    };
    TableFormat conditions =
        Table(3, QStringLiteral("Boundary conditions"), QStringLiteral("boundary conditions"),
              {Rule::Real(QStringLiteral("alpha")), Rule::Real(QStringLiteral("beta"))}, 2);
    conditions.OnRow = [](const ParsedTable& table, int row, const ParsedData&) {
        if (row >= 2)
            throw CheckFault{table.Lines[row],
                             QStringLiteral("table 3 takes two items: the conditions at the "
                                            "start and at the end of the interval")};
        if (table.At(row, 0) == 0 && table.At(row, 1) == 0)
            throw CheckFault{table.Lines[row],
                             QStringLiteral("alpha and beta are both 0: the condition says "
                                            "nothing")};
    };
    DataFormat format = Format(
        27, QStringLiteral("differential characteristic value problems"),
        General(Rule::Real(QStringLiteral("Interval start")),
                Rule::Real(QStringLiteral("Interval end")),
                Rule::Whole(QStringLiteral("Values wanted"), 1),
                QStringLiteral("Coefficient terms"), QStringLiteral("Boundary conditions"),
                {Rule::Count(QStringLiteral("Mesh intervals"), 2, CountLimits::MeshIntervals)}),
        {terms, conditions});
    format.OnEnd = [](const ParsedData& data) {
        CheckIncreasing(data, 2, 3, QStringLiteral("the interval end"));
        if (data.GeneralNumber(9) <= data.GeneralNumber(4))
            throw CheckFault{
                data.GeneralLine(9),
                QStringLiteral("%1 mesh intervals cannot give %2 characteristic "
                               "values; take more intervals")
                    .arg(Number(data.GeneralNumber(9)), Number(data.GeneralNumber(4)))};
    };
    return format;
}

} // namespace

namespace MathFormats {

std::optional<DataFormat> For(int problem) {
    switch (problem) {
    case 21:
        return LinearSystem();
    case 22:
        return CharacteristicValues();
    case 23:
        return InverseMatrix();
    case 24:
        return Fourier();
    case 25:
        return NonlinearEquation();
    case 26:
        return DifferentialSystem();
    case 27:
        return DifferentialCharacteristicValues();
    default:
        return std::nullopt;
    }
}

} // namespace MathFormats
