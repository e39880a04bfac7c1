#include "MathSolvers.h"

#include "StaticReport.h"

#include <QJsonObject>
#include <QLocale>
#include <cmath>

namespace {

bool AllFinite(const QJsonValue& value) {
    if (value.isDouble())
        return std::isfinite(value.toDouble());
    if (value.isArray()) {
        for (const QJsonValue item : value.toArray()) {
            if (!AllFinite(item))
                return false;
        }
    }
    if (value.isObject()) {
        const QJsonObject object = value.toObject();
        for (auto it = object.begin(); it != object.end(); ++it) {
            if (!AllFinite(it.value()))
                return false;
        }
    }
    return true;
}

// The value of the data farthest from 1 in its order of magnitude, and its line: where an
// overflow or an underflow of the arithmetic most likely starts.
struct Extreme {
    double Value = 1;
    int Line = 0;
};

Extreme FarthestValue(const ParsedData& data) {
    Extreme extreme;
    double farthest = 0;
    const auto consider = [&](double value, int line) {
        if (value == 0 || !std::isfinite(value))
            return;
        const double distance = std::abs(std::log10(std::abs(value)));
        if (distance > farthest) {
            farthest = distance;
            extreme = {value, line};
        }
    };
    for (const ParsedData::GeneralItem& item : data.General)
        consider(item.Number, item.Line);
    for (const ParsedTable& table : data.Tables) {
        for (int row = 0; row < table.Rows(); ++row) {
            for (int column = 0; column < table.Width; ++column)
                consider(table.At(row, column), table.Lines[static_cast<size_t>(row)]);
        }
    }
    return extreme;
}

// Why answers that are not all finite numbers cannot be given: named after the answer and,
// where a value of the data lies far out of the ordinary range, after that value's line.
SolverError NotFinite(const QJsonObject& answers, const ParsedData& data) {
    QString key;
    for (auto it = answers.begin(); it != answers.end() && key.isEmpty(); ++it) {
        if (!AllFinite(it.value()))
            key = it.key();
    }
    const QString what =
        QStringLiteral("the answer \"%1\" is not a finite number, so nothing is given").arg(key);
    // Beyond 1e100 either way, the products and sums of a solution leave the range of numbers.
    constexpr double Far = 100;
    const Extreme extreme = FarthestValue(data);
    if (extreme.Line > 0 && std::abs(std::log10(std::abs(extreme.Value))) >= Far)
        return SolverError::AtLine(
            extreme.Line,
            QStringLiteral("%1: the value %2 on this line is too %3 to compute with; scale the "
                           "data to a moderate range")
                .arg(what, QString::number(extreme.Value, 'g', QLocale::FloatingPointShortest),
                     std::abs(extreme.Value) > 1 ? QStringLiteral("large")
                                                 : QStringLiteral("small")));
    return SolverError(what + QStringLiteral(": the calculation leaves the range of numbers; the "
                                             "problem is too ill-conditioned for the values "
                                             "given"));
}

} // namespace

QString MathSolvers::Stage(int problem) {
    switch (problem) {
    case 21:
        return QStringLiteral("Solving the linear system");
    case 22:
        return QStringLiteral("Characteristic values and vectors");
    case 23:
        return QStringLiteral("Inverting the matrix");
    case 24:
        return QStringLiteral("Fourier coefficients");
    case 25:
        return QStringLiteral("Roots of the polynomial");
    case 26:
        return QStringLiteral("Integrating the differential equations");
    case 27:
        return QStringLiteral("Characteristic values of the Sturm-Liouville problem");
    default:
        return QStringLiteral("Solving");
    }
}

SolverOutcome MathSolvers::Solve(const SolverInput& input, SolverProgress* progress) {
    SolverProgress::Report(progress, Stage(input.Problem));
    SolverOutcome outcome;
    switch (input.Problem) {
    case 21:
        outcome = LinearSystem(input.Data);
        break;
    case 22:
        outcome = Characteristic(input.Data);
        break;
    case 23:
        outcome = Inverse(input.Data);
        break;
    case 24:
        outcome = Fourier(input.Data);
        break;
    case 25:
        outcome = Polynomial(input.Data);
        break;
    case 26:
        outcome = Differential(input.Data);
        break;
    case 27:
        outcome = SturmLiouville(input.Data);
        break;
    default:
        throw SolverError(
            QStringLiteral("problem %1 is not a mathematics problem").arg(input.Problem));
    }
    // An answer of infinity or "not a number" is no answer: the run fails rather than printing
    // it as null or nan.
    if (!AllFinite(outcome.Json))
        throw NotFinite(outcome.Json, input.Data);
    outcome.Protocol =
        QStringLiteral("%1: %2\n\n").arg(input.FormatName, input.Data.General[0].Text) +
        outcome.Protocol;
    return outcome;
}

Eigen::MatrixXd MathSolvers::TableMatrix(const ParsedData& data, int table) {
    const ParsedTable* t = data.Table(table);
    if (!t || t->Rows() == 0)
        return {};
    Eigen::MatrixXd matrix(t->Rows(), t->Width);
    for (int r = 0; r < t->Rows(); ++r) {
        for (int c = 0; c < t->Width; ++c)
            matrix(r, c) = t->At(r, c);
    }
    return matrix;
}

QJsonArray MathSolvers::Values(const Eigen::VectorXd& vector) {
    QJsonArray values;
    for (Eigen::Index i = 0; i < vector.size(); ++i)
        values.append(vector[i]);
    return values;
}

QJsonArray MathSolvers::Rows(const Eigen::MatrixXd& matrix) {
    QJsonArray rows;
    for (Eigen::Index r = 0; r < matrix.rows(); ++r)
        rows.append(Values(matrix.row(r).transpose()));
    return rows;
}

QString MathSolvers::VectorText(const Eigen::VectorXd& vector) {
    QString text;
    for (Eigen::Index i = 0; i < vector.size(); ++i)
        text += StaticReport::Number(vector[i]);
    return text + u'\n';
}

QString MathSolvers::MatrixText(const Eigen::MatrixXd& matrix) {
    QString text;
    for (Eigen::Index r = 0; r < matrix.rows(); ++r)
        text += VectorText(matrix.row(r).transpose());
    return text;
}
