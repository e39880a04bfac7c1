#include "TorsionAnalysis.h"

#include "LinearSolver.h"
#include "MeshModel.h"
#include "ResultFile.h"
#include "ScalarField.h"
#include "SolverError.h"
#include "SolverInput.h"
#include "TorsionReport.h"

#include <QElapsedTimer>
#include <algorithm>
#include <cmath>

namespace {

using Point = Eigen::Vector2d;

// The flux of the warping's boundary condition, q = (z, -y): f_i is the integral of
// grad N_i . q, and the shear stresses are G theta (grad w - q).
const Eigen::Matrix2d Flux = (Eigen::Matrix2d() << 0, 1, -1, 0).finished();

double Seconds(const QElapsedTimer& clock) {
    return static_cast<double>(clock.nsecsElapsed()) * 1e-9;
}

std::vector<ScalarField> ElementsOf(const TorsionMesh& mesh) {
    std::vector<ScalarField> elements;
    elements.reserve(mesh.Cells.size());
    for (const TorsionMesh::Cell& cell : mesh.Cells) {
        std::array<Point, 4> corners;
        for (int a = 0; a < cell.Count; ++a)
            corners[static_cast<size_t>(a)] = mesh.Nodes[static_cast<size_t>(cell.Corners[a])];
        elements.emplace_back(std::span<const int>(cell.Corners.data(), cell.Count),
                              std::span<const Point>(corners.data(), cell.Count), cell.Weight);
    }
    return elements;
}

Element::Vector Values(const ScalarField& element, const Eigen::VectorXd& w) {
    Element::Vector u(element.Count());
    for (int a = 0; a < element.Count(); ++a)
        u[a] = w[element.Nodes()[static_cast<size_t>(a)]];
    return u;
}

struct Solution {
    Eigen::VectorXd W; // per node of the mesh
    double J = 0;      // the integral of |grad w - q|^2, weighted
    double PolarMoment = 0;
    double Residual = 0;
    int Equations = 0;
};

// The warping's equations: one component per node, stiffened at every corner of an element,
// and fixed at one node, since adding a constant to it changes nothing (it moves the whole
// section along the bar).
LinearSolver::Problem WarpingProblem(const TorsionMesh& mesh,
                                     const std::vector<ScalarField>& elements) {
    LinearSolver::Problem problem;
    const size_t nodes = mesh.Nodes.size();
    problem.Nodes = static_cast<int>(nodes);
    problem.Elements.reserve(elements.size());
    for (const ScalarField& element : elements)
        problem.Elements.push_back(&element);
    problem.Wording.Whole = QStringLiteral("profile");
    problem.Wording.Part = QStringLiteral("element");
    problem.Wording.Components[0] = QStringLiteral("w");
    problem.Kept = {0};
    problem.Diagonal.assign(6 * nodes, 0.0);
    for (const TorsionMesh::Cell& cell : mesh.Cells)
        for (int a = 0; a < cell.Count; ++a)
            problem.Diagonal[6 * static_cast<size_t>(cell.Corners[a])] = 1;
    problem.Constraints = {std::vector<bool>(6 * nodes, false),
                           std::vector<bool>(6 * nodes, false)};
    problem.Constraints.Fixed[6 * static_cast<size_t>(mesh.Cells[0].Corners[0])] = true;
    return problem;
}

// J and Ip as sums over the elements' points of the warping solved.
void Integrate(const std::vector<ScalarField>& elements, Solution& solution) {
    for (const ScalarField& element : elements) {
        const Element::Vector u = Values(element, solution.W);
        for (int i = 0; i < element.SampleCount(true); ++i) {
            const ScalarField::Sample s = element.SampleAt(i, true);
            const Point shear = s.Grad.leftCols(element.Count()) * u - Flux * s.At;
            solution.J += element.Factor() * s.Weight * shear.squaredNorm();
            solution.PolarMoment += element.Factor() * s.Weight * s.At.squaredNorm();
        }
    }
}

Solution SolveMesh(const TorsionMesh& mesh, TorsionAnalysis::Timing& time) {
    const std::vector<ScalarField> elements = ElementsOf(mesh);
    LinearSolver solver;
    LinearSolver::Options direct;
    direct.Use = LinearSolver::Method::Direct;
    solver.Prepare(WarpingProblem(mesh, elements), direct);
    const EquationSystem& system = solver.System();
    time.Assembly += system.AssemblySeconds();
    time.Factor += system.FactorSeconds();

    Solution solution;
    solution.Equations = system.Equations();
    solution.W = Eigen::VectorXd::Zero(static_cast<Eigen::Index>(mesh.Nodes.size()));
    const auto fill = [&elements, &solver](int, Eigen::VectorXd& column) {
        for (const ScalarField& element : elements) {
            const Element::Vector fe = element.FluxLoad(Flux, Point::Zero());
            for (int a = 0; a < element.Count(); ++a) {
                const int e = solver.Equation(element.Nodes()[static_cast<size_t>(a)], 0);
                if (e >= 0)
                    column[e] += fe[a];
            }
        }
    };
    const auto take = [&](int, const Eigen::VectorXd* x) {
        Eigen::VectorXd f = Eigen::VectorXd::Zero(x->size());
        fill(1, f);
        solution.Residual = system.Residual(*x, f);
        for (Eigen::Index n = 0; n < solution.W.size(); ++n) {
            const int e = solver.Equation(static_cast<int>(n), 0);
            if (e >= 0)
                solution.W[n] = (*x)[e];
        }
    };
    solver.Solve(1, {1}, fill, take);
    Integrate(elements, solution);
    return solution;
}

// The stresses of the finest solution: the mean over each element of the data file, and at
// the nodes the average of the elements around them (a quadrilateral's four Gauss points
// extrapolated to its corners, a triangle's own value at the corner).
struct Recovery {
    std::vector<double> Elements, Nodes; // 3 per element of the data file, 3 per node
    double TauMax = 0;                   // away from re-entrant corners
    Point At = Point::Zero();
    std::vector<double> CornerTau; // per re-entrant corner, within its reach
    std::vector<Point> CornerAt;
    double Moment = 0; // of the stresses about the centroid
    double MeanW = 0;  // the mean warping over the area
    // The energy of the difference between the recovered stresses and the elements' own, in
    // the units of J: an estimate of how far J of this mesh lies above the exact one.
    double Energy = 0;
};

// The stresses summed over the elements of the data file and at the nodes of the mesh.
struct Sums {
    std::vector<double> Cell; // tx, ty and the area per element of the data file
    std::vector<double> Node; // tx, ty per node of the mesh
    std::vector<int> Count;   // the elements at each node
};

// The element's stresses at its corners: a triangle's own value there; a quadrilateral's Gauss
// points, where its gradient is most accurate, extrapolated.
std::array<Point, 4> CornerStresses(const ScalarField& element, const Element::Vector& u,
                                    double scale) {
    const double a = 1 + std::sqrt(3.0) / 2, b = -0.5, c = 1 - std::sqrt(3.0) / 2;
    std::array<Point, 4> tau, at;
    if (element.Count() == 4)
        for (int i = 0; i < 4; ++i) {
            const ScalarField::Sample s = element.SampleAt(i);
            tau[static_cast<size_t>(i)] =
                scale * (s.Grad.leftCols(element.Count()) * u - Flux * s.At);
        }
    for (size_t k = 0; k < static_cast<size_t>(element.Count()); ++k) {
        if (element.Count() == 4)
            // Gauss point k lies nearest corner k; the one across from it is k + 2.
            at[k] = a * tau[k] + b * tau[(k + 1) % 4] + c * tau[(k + 2) % 4] + b * tau[(k + 3) % 4];
        else
            at[k] = scale * (element.Gradient(u, 1.0 / 3, 1.0 / 3) -
                             Flux * element.Corner(static_cast<int>(k)));
    }
    return at;
}

// Sums the elements' stresses into their cells of the data file and their corners, and the
// moment and the mean warping exactly (three points in a triangle, whose stress varies
// linearly with q).
Sums Sweep(const TorsionMesh& mesh, const std::vector<ScalarField>& elements,
           const Eigen::VectorXd& w, double gTheta, int dataCells, Recovery& r) {
    Sums sums{std::vector<double>(3 * static_cast<size_t>(dataCells), 0.0),
              std::vector<double>(2 * mesh.Nodes.size(), 0.0),
              std::vector<int>(mesh.Nodes.size(), 0)};
    double area = 0, integralW = 0;
    for (size_t e = 0; e < elements.size(); ++e) {
        const ScalarField& element = elements[e];
        const Element::Vector u = Values(element, w);
        const double scale = gTheta * element.Factor();
        double* sum = &sums.Cell[3 * static_cast<size_t>(mesh.Cells[e].Parent)];
        for (int i = 0; i < element.SampleCount(true); ++i) {
            const ScalarField::Sample s = element.SampleAt(i, true);
            const Point t = scale * (s.Grad.leftCols(element.Count()) * u - Flux * s.At);
            sum[0] += s.Weight * t.x();
            sum[1] += s.Weight * t.y();
            sum[2] += s.Weight;
            r.Moment += s.Weight * (s.At.x() * t.y() - s.At.y() * t.x());
            area += s.Weight;
            integralW += s.Weight * s.N.head(element.Count()).dot(u);
        }
        const std::array<Point, 4> at = CornerStresses(element, u, scale);
        for (int k = 0; k < element.Count(); ++k) {
            const auto node = static_cast<size_t>(element.Nodes()[static_cast<size_t>(k)]);
            sums.Node[2 * node] += at[static_cast<size_t>(k)].x();
            sums.Node[2 * node + 1] += at[static_cast<size_t>(k)].y();
            ++sums.Count[node];
        }
    }
    r.MeanW = integralW / area;
    return sums;
}

// The energy of the recovered stresses interpolated over each element against its own.
double Energy(const std::vector<ScalarField>& elements, const Eigen::VectorXd& w, double gTheta,
              const Sums& sums) {
    double energy = 0;
    for (const ScalarField& element : elements) {
        const Element::Vector u = Values(element, w);
        const double scale = gTheta * element.Factor();
        for (int i = 0; i < element.SampleCount(true); ++i) {
            const ScalarField::Sample s = element.SampleAt(i, true);
            Point recovered = Point::Zero();
            for (int k = 0; k < element.Count(); ++k) {
                const auto node = static_cast<size_t>(element.Nodes()[static_cast<size_t>(k)]);
                recovered +=
                    s.N[k] * Point(sums.Node[2 * node], sums.Node[2 * node + 1]) / sums.Count[node];
            }
            const Point own = scale * (s.Grad.leftCols(element.Count()) * u - Flux * s.At);
            energy += s.Weight * (recovered - own).squaredNorm() / (gTheta * scale);
        }
    }
    return energy;
}

// The nodes' mean stresses, the largest away from re-entrant corners and the largest near
// each; the data file's nodes come first in the mesh, the corners among them.
void NodeStresses(const TorsionMesh& mesh, const Sums& sums, int dataNodes,
                  const std::vector<TorsionMesh::Corner>& corners, Recovery& r) {
    r.Nodes.resize(3 * static_cast<size_t>(dataNodes));
    for (size_t n = 0; n < mesh.Nodes.size(); ++n) {
        if (sums.Count[n] == 0)
            continue;
        const Point t(sums.Node[2 * n] / sums.Count[n], sums.Node[2 * n + 1] / sums.Count[n]);
        const double tau = t.norm();
        bool near = false;
        for (size_t k = 0; k < corners.size(); ++k) {
            const Point& corner = mesh.Nodes[static_cast<size_t>(corners[k].Node)];
            if ((mesh.Nodes[n] - corner).norm() >= corners[k].Reach)
                continue;
            near = true;
            if (tau > r.CornerTau[k]) {
                r.CornerTau[k] = tau;
                r.CornerAt[k] = mesh.Nodes[n];
            }
        }
        if (!near && tau > r.TauMax) {
            r.TauMax = tau;
            r.At = mesh.Nodes[n];
        }
        if (n < static_cast<size_t>(dataNodes)) {
            r.Nodes[3 * n] = t.x();
            r.Nodes[3 * n + 1] = t.y();
            r.Nodes[3 * n + 2] = tau;
        }
    }
}

Recovery Recover(const TorsionMesh& mesh, const Eigen::VectorXd& w, double gTheta, int dataCells,
                 int dataNodes, const std::vector<TorsionMesh::Corner>& corners) {
    Recovery r;
    r.CornerTau.assign(corners.size(), 0.0);
    r.CornerAt.assign(corners.size(), Point::Zero());
    const std::vector<ScalarField> elements = ElementsOf(mesh);
    const Sums sums = Sweep(mesh, elements, w, gTheta, dataCells, r);
    r.Energy = Energy(elements, w, gTheta, sums);
    r.Elements.resize(3 * static_cast<size_t>(dataCells));
    for (size_t e = 0; e < static_cast<size_t>(dataCells); ++e) {
        const double* sum = &sums.Cell[3 * e];
        const Point t(sum[0] / sum[2], sum[1] / sum[2]);
        r.Elements[3 * e] = t.x();
        r.Elements[3 * e + 1] = t.y();
        r.Elements[3 * e + 2] = t.norm();
    }
    NodeStresses(mesh, sums, dataNodes, corners, r);
    return r;
}

SolverError NotFinite() {
    return SolverError(QStringLiteral("the answers are not finite numbers: the moment or the "
                                      "coordinates are too large or too small to compute with"));
}

bool AllFinite(const std::vector<double>& values) {
    return std::all_of(values.begin(), values.end(), [](double v) { return std::isfinite(v); });
}

// One mesh of the divisions solved: its warping; throws when it cannot be had.
Solution SolveLevel(const TorsionMesh& mesh, int division, TorsionAnalysis::Timing& time,
                    SolverProgress* progress) {
    QString text = QStringLiteral("Assembling and factorising %1 equations")
                       .arg(SolverProgress::Count(static_cast<qsizetype>(mesh.Nodes.size()) - 1));
    if (division > 1)
        text += QStringLiteral(" (elements divided %1 x %1)").arg(division);
    SolverProgress::Report(progress, text);
    Solution next = SolveMesh(mesh, time);
    if (!(next.J > 0) || !std::isfinite(next.J) || !next.W.allFinite())
        throw SolverError(QStringLiteral("the torsion constant cannot be calculated (it came out "
                                         "as %1); the coordinates may be too large or too small "
                                         "to compute with")
                              .arg(next.J));
    return next;
}

// How far J of the meshes so far may be from the exact one, and when to stop dividing.
class Convergence {
public:
    Convergence(TorsionAnalysis::Answer& answer, double tolerance, long long budget)
        : answer_(answer), tolerance_(tolerance), budget_(budget) {}

    // Takes the J of a new level against the last one's (`last`, 0 for the first).
    void Take(double last, double j, double indicator) {
        limitError_ = -1;
        answer_.Extrapolated = false;
        answer_.MeshJ = j;
        if (answer_.Levels.size() < 2) {
            answer_.ErrorEstimate = indicator;
            answer_.EstimatedFromStresses = true;
            return;
        }
        // Nested meshes give J from above, falling by a steady ratio per halving: 1/4 for a
        // smooth warping, more near a re-entrant corner. What is left is the last change times
        // q / (1 - q), q taken from the last two changes (1/2 before there are two).
        const double change = std::abs(last - j) / j;
        const double q = lastChange_ > 0 ? std::clamp(change / lastChange_, 0.25, 0.8) : 0.5;
        answer_.ErrorEstimate = change * q / (1 - q);
        // The limit those changes point to, and how far it moved since the last one that a
        // measured ratio gave.
        if (lastChange_ > 0) {
            const double limit = j - (last - j) * q / (1 - q);
            if (lastLimit_ > 0)
                limitError_ = std::abs(limit - lastLimit_) / limit;
            lastLimit_ = limit;
        }
        lastChange_ = change;
    }

    // Whether J is known well enough after the level just taken, or the next would be too
    // large.
    bool Stop(const TorsionMesh& base, int division, double lastTau) {
        const TorsionAnalysis::Level& level = answer_.Levels.back();
        const bool refined = answer_.Levels.size() > 1;
        const bool corners = !answer_.Profile.Reentrant.empty();
        // A profile with re-entrant corners may stop at the limit of J, long before J itself
        // settles, but not before the stresses away from the corners have; one without has J
        // settle as soon as its stresses do.
        const bool stressesSettled =
            !corners || (refined && std::abs(level.TauMax - lastTau) <=
                                        TorsionAnalysis::StressTolerance * level.TauMax);
        if (refined && stressesSettled && answer_.ErrorEstimate <= tolerance_)
            return true;
        if (corners && stressesSettled && limitError_ >= 0 && limitError_ <= tolerance_) {
            answer_.Extrapolated = true;
            answer_.ErrorEstimate = limitError_;
            return true;
        }
        // On the mesh as given only the stresses tell the error, and they tell it far too low
        // on a coarse mesh (nothing at all on a rectangle's 2 x 2) and low near a re-entrant
        // corner: only a large mesh, whose division would cost most, is taken as it is, and
        // only when they leave a wide margin.
        if (!refined && level.Indicator <= tolerance_ / 4 &&
            16 * static_cast<long long>(level.Nodes) >= budget_)
            return true;
        answer_.EstimatedFromStresses = false;
        if (division > (1 << 14) || base.DividedNodes(2 * division) > budget_) {
            answer_.EstimatedFromStresses = !refined;
            return true;
        }
        return false;
    }

    double Limit() const { return lastLimit_; }

private:
    TorsionAnalysis::Answer& answer_;
    double tolerance_;
    long long budget_;
    double lastChange_ = -1, lastLimit_ = -1, limitError_ = -1;
};

// The answer of the finest mesh at the nodes and elements of the data file.
void Fill(const MeshModel& model, const Solution& solution, const Recovery& r,
          FieldResults::Torsion twist, TorsionAnalysis::Answer& answer) {
    const std::vector<TorsionMesh::Corner>& corners = answer.Profile.Reentrant;
    const Point centroid = answer.Profile.Centroid;
    twist.TauMax = r.TauMax;
    twist.AtY = r.At.x() + centroid.x();
    twist.AtZ = r.At.y() + centroid.y();
    for (size_t k = 0; k < corners.size(); ++k)
        answer.Corners.push_back({corners[k], r.CornerTau[k], r.CornerAt[k].x() + centroid.x(),
                                  r.CornerAt[k].y() + centroid.y()});
    answer.PolarMoment = solution.PolarMoment;
    answer.Residual = solution.Residual;
    answer.MomentError = std::abs(r.Moment - model.Moment) / model.Moment;

    FieldResults& results = answer.Results;
    results.Nodes = static_cast<int>(model.Nodes.size());
    results.Elements = static_cast<int>(model.Cells.size());
    results.Components = {QStringLiteral("w")};
    constexpr auto stress = ResultColumn::Quantity::Stress;
    results.Columns = {{{"txy", "Shear stress txy", stress},
                        {"txz", "Shear stress txz", stress},
                        {"tau", "Resultant shear stress tau", stress}}};
    FieldResults::Case c;
    c.Number = 1;
    c.Displacements.resize(model.Nodes.size());
    for (size_t n = 0; n < model.Nodes.size(); ++n)
        c.Displacements[n] = solution.W[static_cast<Eigen::Index>(n)] - r.MeanW;
    c.Stresses = r.Elements;
    c.NodeStresses = r.Nodes;
    results.Cases.push_back(std::move(c));
    results.Twist = twist;
}

// Refuses an answer that is not finite or does not carry the moment.
void CheckAnswer(const TorsionAnalysis::Answer& answer) {
    const FieldResults::Torsion& twist = *answer.Results.Twist;
    const std::vector<double> summary = {
        twist.Moment,        twist.G,         twist.J,           twist.Twist,
        twist.TauMax,        twist.AtY,       twist.AtZ,         answer.PolarMoment,
        answer.Profile.Area, answer.Residual, answer.MomentError};
    const FieldResults::Case& only = answer.Results.Cases.front();
    if (!AllFinite(summary) || !AllFinite(only.Displacements) || !AllFinite(only.Stresses) ||
        !AllFinite(only.NodeStresses))
        throw NotFinite();
    // A solution that does not carry the moment is no solution.
    if (answer.Residual > 1e-6 || answer.MomentError > 1e-6)
        throw SolverError(QStringLiteral("the warping equations cannot be solved accurately "
                                         "enough (|K w - f| is %1 of the loads, the stresses "
                                         "carry the moment to %2); the elements may be far too "
                                         "different in size")
                              .arg(answer.Residual, 0, 'g', 3)
                              .arg(answer.MomentError, 0, 'g', 3));
}

} // namespace

TorsionAnalysis::Answer TorsionAnalysis::Analyse(const MeshModel& model, SolverProgress* progress,
                                                 double tolerance, long long budget) {
    QElapsedTimer clock;
    clock.start();
    SolverProgress::Report(progress, QStringLiteral("Checking the mesh of %1 elements")
                                         .arg(SolverProgress::Count(model.Cells.size())));
    Answer answer;
    const TorsionMesh base = TorsionMesh::FromModel(model, answer.Profile);
    answer.Time.Mesh += Seconds(clock);

    Solution solution;
    Recovery r;
    FieldResults::Torsion twist;
    twist.Moment = model.Moment;
    twist.G = answer.Profile.ReferenceG;
    Convergence convergence(answer, tolerance, budget);
    for (int division = 1;; division *= 2) {
        clock.restart();
        const TorsionMesh mesh = base.Divided(division);
        answer.Time.Mesh += Seconds(clock);
        Solution next = SolveLevel(mesh, division, answer.Time, progress);
        const double levelSeconds = Seconds(clock);
        clock.restart();
        twist.J = next.J;
        twist.Twist = model.Moment / (twist.G * twist.J);
        r = Recover(mesh, next.W, twist.G * twist.Twist, static_cast<int>(model.Cells.size()),
                    static_cast<int>(model.Nodes.size()), answer.Profile.Reentrant);
        answer.Time.Recovery += Seconds(clock);
        // Stresses beyond the range of numbers stay so on any finer mesh.
        if (!std::isfinite(twist.Twist) || !std::isfinite(r.TauMax) || !std::isfinite(r.Moment))
            throw NotFinite();
        const double indicator = r.Energy / next.J;
        const double lastTau = answer.Levels.empty() ? 0 : answer.Levels.back().TauMax;
        answer.Levels.push_back({division, static_cast<int>(mesh.Nodes.size()),
                                 static_cast<int>(mesh.Cells.size()), next.Equations, next.J,
                                 indicator, r.TauMax, levelSeconds});
        convergence.Take(solution.J, next.J, indicator);
        solution = std::move(next);
        if (convergence.Stop(base, division, lastTau))
            break;
    }
    clock.restart();
    // The stresses of the finest mesh carry the moment with its own J; the rate of twist is
    // that of the J reported.
    if (answer.Extrapolated) {
        twist.J = convergence.Limit();
        twist.Twist = model.Moment / (twist.G * twist.J);
    }
    Fill(model, solution, r, twist, answer);
    answer.Time.Recovery += Seconds(clock);
    CheckAnswer(answer);
    return answer;
}

SolverOutcome TorsionAnalysis::Solve(const SolverInput& input, SolverProgress* progress) {
    const MeshModel model = MeshModel::FromData(input.Problem, input.Data);
    const Answer answer = Analyse(model, progress);
    SolverOutcome result;
    if (input.WantJson)
        result.Json = TorsionReport::Json(answer);
    result.Protocol = TorsionReport::Protocol(model, answer);
    ResultFile::Contents contents;
    contents.Type = ResultFile::Kind::Torsion;
    contents.Problem = input.Problem;
    contents.Field = answer.Results;
    result.ResultFile = ResultFile::Write(contents);
    return result;
}
