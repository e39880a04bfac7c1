#include "ModalAnalysis.h"

#include "ModeReport.h"

#include <QJsonArray>
#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

bool Finite(const std::vector<double>& values) {
    return std::all_of(values.begin(), values.end(), [](double v) { return std::isfinite(v); });
}

using Pencil = PencilModes::Extended;
using Real = Pencil::Real;

// Adds points (springs, masses) to the diagonal of a matrix of the system's pattern.
void AddPoints(const EquationSystem& system, EquationSystem::ExtendedMatrix& matrix,
               const std::vector<ModalAnalysis::Point>& points) {
    for (const ModalAnalysis::Point& point : points) {
        const int e = system.Equation(point.Node, point.Component);
        if (e >= 0 && point.Value != 0)
            matrix.coeffRef(e, e) += point.Value;
    }
}

// Each element's mass with the equations of its unknowns, and each point mass: what lets the
// eigen-solver work on the few unknowns that carry mass (discs on a light shaft). None when
// their free unknowns are more than it would work on.
std::vector<Pencil::Block> MassBlocks(const EquationSystem& system,
                                      const std::vector<ModalAnalysis::Point>& points) {
    int rank = 0;
    for (const Element* element : system.Elements())
        if (element->TotalMass() > 0)
            for (int node : element->Nodes())
                for (int c : element->Components())
                    rank += system.Equation(node, c) >= 0 ? 1 : 0;
    for (const ModalAnalysis::Point& point : points)
        rank += point.Value != 0 && system.Equation(point.Node, point.Component) >= 0 ? 1 : 0;
    if (rank > PencilModes::ReducedLimit)
        return {};
    std::vector<Pencil::Block> blocks;
    for (const Element* element : system.Elements()) {
        if (!(element->TotalMass() > 0))
            continue;
        Pencil::Block& block = blocks.emplace_back();
        block.Values = element->Mass();
        for (int node : element->Nodes())
            for (int c : element->Components())
                block.Equations.push_back(system.Equation(node, c));
    }
    for (const ModalAnalysis::Point& point : points)
        if (point.Value != 0)
            blocks.push_back({{system.Equation(point.Node, point.Component)},
                              Eigen::MatrixXd::Constant(1, 1, point.Value)});
    return blocks;
}

// The shifted pencil of the system in extended precision: K (the springs, then the elements)
// and M (the elements, then the points), both triangles.
Pencil ShiftedPencil(const EquationSystem& system, const std::vector<ModalAnalysis::Point>& points,
                     const ModalAnalysis::Shifted& shifted, EquationSystem::ExtendedMatrix& mass) {
    Pencil pencil;
    EquationSystem::ExtendedMatrix k = system.EmptyExtended();
    AddPoints(system, k, shifted.Springs);
    system.AddExtended(k, [&](size_t e) { return system.Elements()[e]->ExtendedStiffness(); });
    mass = system.EmptyExtended();
    system.AddExtended(mass, [&](size_t e) {
        const Element& element = *system.Elements()[e];
        return element.TotalMass() > 0 ? element.Mass() : Element::Matrix();
    });
    AddPoints(system, mass, points);
    pencil.K = k.selfadjointView<Eigen::Upper>();
    pencil.M = mass.selfadjointView<Eigen::Upper>();
    pencil.Masses = MassBlocks(system, points);
    pencil.Product = [&system, springs = shifted.Springs,
                      equations = system.ElementEquations()](const Pencil::Vector& x) {
        Pencil::Vector out = system.ExtendedProduct(x, equations);
        for (const ModalAnalysis::Point& spring : springs)
            if (const int e = system.Equation(spring.Node, spring.Component); e >= 0)
                out[e] += Real(spring.Value) * x[e];
        return out;
    };
    pencil.Rigid = shifted.Rigid;
    pencil.OutOfRange = shifted.OutOfRange;
    pencil.Unsolvable = shifted.Unsolvable;
    return pencil;
}

// The first finite positive Rayleigh quotient of the guesses (the last one tried when none
// is).
double ShiftOf(const Pencil& pencil, const std::vector<Eigen::VectorXd>& guesses) {
    double shift = 0;
    for (const Eigen::VectorXd& guess : guesses) {
        const Pencil::Vector x = guess.cast<Real>();
        shift = static_cast<double>(x.dot(pencil.Product(x)) / x.dot(pencil.M * x));
        if (std::isfinite(shift) && shift > 0)
            break;
    }
    return shift;
}

} // namespace

ModalAnalysis::SparseMatrix ModalAnalysis::Masses(const EquationSystem& system,
                                                  const std::vector<Point>& points) {
    SparseMatrix b = system.Assemble([&](size_t e) {
        const Element& element = *system.Elements()[e];
        return element.TotalMass() > 0 ? element.Mass() : Element::Matrix();
    });
    for (const Point& point : points) {
        const int e = system.Equation(point.Node, point.Component);
        if (e >= 0 && point.Value != 0)
            EquationSystem::AddDiagonal(b, e, point.Value);
    }
    return b;
}

ModalAnalysis::SparseMatrix ModalAnalysis::GeometricStiffness(const EquationSystem& system,
                                                              const Eigen::VectorXd& state) {
    return system.Assemble([&](size_t e) {
        const Element& element = *system.Elements()[e];
        return Element::Matrix(-element.GeometricStiffness(system.Gather(element, state)));
    });
}

ModalAnalysis::Found ModalAnalysis::Natural(const EquationSystem& system,
                                            const std::vector<Point>& points, int count,
                                            const QString& massless) {
    Found found{Masses(system, points), {}};
    // Also refuses masses that are not finite numbers.
    if (!(found.B.diagonal().sum() > 0))
        throw SolverError(massless);
    found.Modes = PencilModes::Lowest(system, found.B, count);
    return found;
}

ModalAnalysis::ShiftedFound ModalAnalysis::Natural(const EquationSystem& system,
                                                   const std::vector<Point>& points, int count,
                                                   const Shifted& shifted) {
    ShiftedFound found;
    EquationSystem::ExtendedMatrix mass;
    Pencil pencil = ShiftedPencil(system, points, shifted, mass);
    found.B = mass.cast<double>();
    // Also refuses masses that are not finite numbers.
    if (system.Equations() == 0 || !(mass.diagonal().sum() > 0)) {
        found.Massless = true;
        return found;
    }
    pencil.Shift = ShiftOf(pencil, shifted.Guesses);
    for (PencilModes::ExtendedMode& mode : PencilModes::Lowest(pencil, count)) {
        found.Modes.push_back({mode.Lambda, std::move(mode.Shape)});
        found.Noise.push_back(mode.Noise);
    }
    return found;
}

ModalAnalysis::Found ModalAnalysis::Buckling(const EquationSystem& system,
                                             const Eigen::VectorXd& state, int count) {
    Found found{GeometricStiffness(system, state), {}};
    found.Modes = PencilModes::Lowest(system, found.B, count);
    return found;
}

SolverOutcome ModalAnalysis::Write(const std::vector<PencilModes::Mode>& modes, int wanted,
                                   const Listing& listing, bool json) {
    SolverOutcome outcome;
    ResultFile::Contents contents = listing.File;
    QJsonArray list;
    QString text = listing.Heading;
    if (const int bad = ModeReport::FrequencyTable(modes, wanted, text); bad >= 0)
        throw SolverError(listing.NotFinite(QStringLiteral("frequency of mode %1").arg(bad + 1)));
    const auto width = static_cast<int>(listing.Components.size());
    for (size_t k = 0; k < modes.size(); ++k) {
        const double omega = std::sqrt(modes[k].Lambda);
        const double frequency = omega / (2 * std::numbers::pi);
        ResultFile::Shapes::Shape shape{0, frequency, {}, {}};
        listing.Scale(modes[k].Shape, shape.Displacements, shape.Inner);
        if (!Finite(shape.Displacements) || !Finite(shape.Inner))
            throw SolverError(listing.NotFinite(QStringLiteral("shape of mode %1").arg(k + 1)));
        if (json)
            list.append(QJsonObject{
                {QStringLiteral("frequency"), frequency},
                {QStringLiteral("period"), 1 / frequency},
                {QStringLiteral("circular"), omega},
                {QStringLiteral("shape"), ModeReport::ShapeJson(shape.Displacements, width)}});
        text += QStringLiteral("\nMode %1, %2 Hz (largest %3 1)\n")
                    .arg(k + 1)
                    .arg(frequency, 0, 'g', 6)
                    .arg(listing.Largest) +
                ModeReport::ShapeText(shape.Displacements, listing.Components);
        contents.Modes.List.push_back(std::move(shape));
    }
    if (json)
        outcome.Json = {{QStringLiteral("modes"), list}};
    outcome.Protocol = text;
    outcome.ResultFile = ResultFile::Write(contents);
    return outcome;
}
