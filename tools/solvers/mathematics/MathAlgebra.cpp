// The algebraic mathematics problems: linear systems (21), characteristic values (22) and the
// inverse matrix (23).
#include "MathSolvers.h"
#include "StaticReport.h"

#include <Eigen/Eigenvalues>
#include <Eigen/LU>
#include <algorithm>
#include <complex>

namespace {

bool Switch(const ParsedData& data, int item) {
    return data.GeneralNumber(item) != 0;
}

// A matrix whose LU factors have a pivot this small against its largest entry is singular
// for all practical purposes.
bool Singular(const Eigen::FullPivLU<Eigen::MatrixXd>& lu, const Eigen::MatrixXd& a) {
    const double scale = a.cwiseAbs().maxCoeff();
    return scale == 0 || lu.matrixLU().diagonal().cwiseAbs().minCoeff() <=
                             1e-13 * scale * static_cast<double>(a.rows());
}

QJsonArray Complex(std::complex<double> value) {
    return {value.real(), value.imag()};
}

} // namespace

SolverOutcome MathSolvers::LinearSystem(const ParsedData& data) {
    const Eigen::MatrixXd a = TableMatrix(data, 2);
    const Eigen::MatrixXd b = TableMatrix(data, 3).transpose(); // one column per right side
    const Eigen::FullPivLU<Eigen::MatrixXd> lu(a);
    if (Singular(lu, a))
        throw SolverError(QStringLiteral("the matrix is singular: the system has no "
                                         "unique solution (determinant %1)")
                              .arg(lu.determinant()));
    const Eigen::MatrixXd x = lu.solve(b);
    const Eigen::MatrixXd residuals = a * x - b;
    const double determinant = lu.determinant();

    SolverOutcome outcome;
    outcome.Json = {{QStringLiteral("x"), Rows(x.transpose())},
                    {QStringLiteral("determinant"), determinant},
                    {QStringLiteral("residuals"), Rows(residuals.transpose())}};
    QString& text = outcome.Protocol;
    text += QStringLiteral("%1 equations, %2 right-hand sides\n").arg(a.rows()).arg(b.cols());
    for (Eigen::Index s = 0; s < x.cols(); ++s) {
        text += QStringLiteral("\nSolution %1\n").arg(s + 1) + VectorText(x.col(s));
        if (Switch(data, 4))
            text += QStringLiteral("Residuals A x - b\n") + VectorText(residuals.col(s));
    }
    if (Switch(data, 3))
        text += QStringLiteral("\nDeterminant %1\n").arg(determinant, 0, 'g', 12);
    return outcome;
}

SolverOutcome MathSolvers::Inverse(const ParsedData& data) {
    const Eigen::MatrixXd a = TableMatrix(data, 2);
    const Eigen::FullPivLU<Eigen::MatrixXd> lu(a);
    const double determinant = lu.determinant();
    const bool singular = Singular(lu, a);
    const bool wantInverse = Switch(data, 2);
    if (singular && wantInverse)
        throw SolverError(
            QStringLiteral("the matrix is singular (determinant %1): it has no inverse")
                .arg(determinant));

    SolverOutcome outcome;
    outcome.Json = {{QStringLiteral("determinant"), singular ? 0.0 : determinant}};
    QString& text = outcome.Protocol;
    text += QStringLiteral("Matrix of order %1\n").arg(a.rows());
    if (wantInverse) {
        const Eigen::MatrixXd inverse = lu.inverse();
        outcome.Json[QStringLiteral("inverse")] = Rows(inverse);
        text += QStringLiteral("\nInverse\n") + MatrixText(inverse);
        if (Switch(data, 4)) {
            const Eigen::MatrixXd product = a * inverse;
            outcome.Json[QStringLiteral("product")] = Rows(product);
            text += QStringLiteral("\nCheck: the matrix times its inverse\n") + MatrixText(product);
        }
    }
    if (Switch(data, 3))
        text += QStringLiteral("\nDeterminant %1\n").arg(singular ? 0.0 : determinant, 0, 'g', 12);
    return outcome;
}

namespace {

// The characteristic values and vectors found, as listed in the protocol and the JSON.
struct Listing {
    QJsonArray Values, Vectors;
    QString Text;

    SolverOutcome Outcome(bool vectors) const {
        SolverOutcome outcome;
        outcome.Json = {{QStringLiteral("values"), Values}};
        if (vectors)
            outcome.Json[QStringLiteral("vectors")] = Vectors;
        outcome.Protocol = Text;
        return outcome;
    }
};

// Symmetric A and positive definite B: real values, B-normalised vectors.
SolverOutcome SymmetricValues(const Eigen::MatrixXd& a, const Eigen::MatrixXd& b, int wanted,
                              bool vectors) {
    const Eigen::LLT<Eigen::MatrixXd> llt(b);
    if (llt.info() != Eigen::Success)
        throw SolverError(
            QStringLiteral("matrix B is not positive definite, which the symmetric problem "
                           "needs; write 0 for symmetric matrices to solve it as general"));
    const Eigen::GeneralizedSelfAdjointEigenSolver<Eigen::MatrixXd> solver(
        a, b, vectors ? Eigen::ComputeEigenvectors : Eigen::EigenvaluesOnly);
    Listing listing;
    listing.Text = QStringLiteral("Symmetric problem of order %1, the %2 lowest values\n")
                       .arg(a.rows())
                       .arg(wanted);
    for (int k = 0; k < wanted; ++k) {
        listing.Values.append(solver.eigenvalues()[k]);
        listing.Text +=
            QStringLiteral("\nValue %1: %2\n").arg(k + 1).arg(solver.eigenvalues()[k], 0, 'g', 12);
        if (vectors) {
            const Eigen::VectorXd v = solver.eigenvectors().col(k);
            listing.Vectors.append(MathSolvers::Values(v));
            listing.Text += MathSolvers::VectorText(v);
        }
    }
    return listing.Outcome(vectors);
}

// The indices of the values by ascending real part, then imaginary part.
std::vector<Eigen::Index> Ascending(const Eigen::VectorXcd& lambda) {
    std::vector<Eigen::Index> order(static_cast<size_t>(lambda.size()));
    for (Eigen::Index i = 0; i < lambda.size(); ++i)
        order[static_cast<size_t>(i)] = i;
    std::sort(order.begin(), order.end(), [&lambda](Eigen::Index p, Eigen::Index q) {
        return lambda[p].real() < lambda[q].real() ||
               (lambda[p].real() == lambda[q].real() && lambda[p].imag() < lambda[q].imag());
    });
    return order;
}

// A value of the general problem, real when its imaginary part is rounding.
void ListValue(int k, std::complex<double> value, bool real, Listing& listing) {
    listing.Values.append(real ? QJsonValue(value.real()) : QJsonValue(Complex(value)));
    listing.Text +=
        real ? QStringLiteral("\nValue %1: %2\n").arg(k + 1).arg(value.real(), 0, 'g', 12)
             : QStringLiteral("\nValue %1: %2 %3 %4 i\n")
                   .arg(k + 1)
                   .arg(value.real(), 0, 'g', 12)
                   .arg(QChar(value.imag() < 0 ? u'-' : u'+'))
                   .arg(std::abs(value.imag()), 0, 'g', 12);
}

// A vector of the general problem, scaled so that its largest component is 1.
void ListVector(Eigen::VectorXcd v, bool real, Listing& listing) {
    Eigen::Index largest = 0;
    v.cwiseAbs().maxCoeff(&largest);
    v /= v[largest];
    QJsonArray vector;
    for (Eigen::Index c = 0; c < v.size(); ++c) {
        vector.append(real ? QJsonValue(v[c].real()) : QJsonValue(Complex(v[c])));
        listing.Text += real ? StaticReport::Number(v[c].real())
                             : QStringLiteral(" (%1, %2)")
                                   .arg(v[c].real(), 0, 'g', 6)
                                   .arg(v[c].imag(), 0, 'g', 6);
    }
    listing.Text += u'\n';
    listing.Vectors.append(vector);
}

// Any A and a regular B: the values of B^-1 A, complex where they are.
SolverOutcome GeneralValues(const Eigen::MatrixXd& a, const Eigen::MatrixXd& b, int wanted,
                            bool vectors) {
    const Eigen::FullPivLU<Eigen::MatrixXd> lu(b);
    if (Singular(lu, b))
        throw SolverError(
            QStringLiteral("matrix B is singular: some characteristic values are infinite"));
    const Eigen::EigenSolver<Eigen::MatrixXd> solver(lu.solve(a), vectors);
    const Eigen::VectorXcd lambda = solver.eigenvalues();
    const std::vector<Eigen::Index> order = Ascending(lambda);
    Listing listing;
    listing.Text = QStringLiteral("General problem of order %1, %2 values by ascending real part\n")
                       .arg(a.rows())
                       .arg(wanted);
    for (int k = 0; k < wanted; ++k) {
        const Eigen::Index i = order[static_cast<size_t>(k)];
        const std::complex<double> value = lambda[i];
        const bool real = std::abs(value.imag()) <= 1e-12 * std::max(1.0, std::abs(value));
        ListValue(k, value, real, listing);
        if (vectors)
            ListVector(solver.eigenvectors().col(i), real, listing);
    }
    return listing.Outcome(vectors);
}

} // namespace

SolverOutcome MathSolvers::Characteristic(const ParsedData& data) {
    const Eigen::MatrixXd a = TableMatrix(data, 2);
    const Eigen::Index n = a.rows();
    Eigen::MatrixXd b = TableMatrix(data, 3);
    if (b.size() == 0)
        b = Eigen::MatrixXd::Identity(n, n);
    const int wanted = std::clamp(static_cast<int>(data.GeneralNumber(2)), 1, static_cast<int>(n));
    const bool vectors = Switch(data, 3);
    return Switch(data, 4) ? SymmetricValues(a, b, wanted, vectors)
                           : GeneralValues(a, b, wanted, vectors);
}
