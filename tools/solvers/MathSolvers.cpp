#include "MathSolvers.h"

#include "StaticReport.h"

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
        return SolverOutcome::Failure(
            QStringLiteral("problem %1 is not a mathematics problem").arg(input.Problem));
    }
    if (outcome.Ok) {
        outcome.Protocol =
            QStringLiteral("%1: %2\n\n").arg(input.FormatName, input.Data.General[0].Text) +
            outcome.Protocol;
    }
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
