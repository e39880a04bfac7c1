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
    Found found{Masses(system, points), {}, {}};
    // Also refuses masses that are not finite numbers.
    if (!(found.B.diagonal().sum() > 0))
        found.Error = massless;
    else
        found.Modes = PencilModes::Lowest(system, found.B, count, found.Error);
    return found;
}

ModalAnalysis::Found ModalAnalysis::Buckling(const EquationSystem& system,
                                             const Eigen::VectorXd& state, int count) {
    Found found{GeometricStiffness(system, state), {}, {}};
    found.Modes = PencilModes::Lowest(system, found.B, count, found.Error);
    return found;
}

SolverOutcome ModalAnalysis::Write(const std::vector<PencilModes::Mode>& modes, int wanted,
                                   const Listing& listing, bool json) {
    SolverOutcome outcome;
    outcome.Ok = true;
    ResultFile::Contents contents = listing.File;
    QJsonArray list;
    QString text = listing.Heading;
    if (const int bad = ModeReport::FrequencyTable(modes, wanted, text); bad >= 0)
        return SolverOutcome::Failure(
            listing.NotFinite(QStringLiteral("frequency of mode %1").arg(bad + 1)));
    const auto width = static_cast<int>(listing.Components.size());
    for (size_t k = 0; k < modes.size(); ++k) {
        const double omega = std::sqrt(modes[k].Lambda);
        const double frequency = omega / (2 * std::numbers::pi);
        ResultFile::Shapes::Shape shape{0, frequency, {}, {}};
        listing.Scale(modes[k].Shape, shape.Displacements, shape.Inner);
        if (!Finite(shape.Displacements) || !Finite(shape.Inner))
            return SolverOutcome::Failure(
                listing.NotFinite(QStringLiteral("shape of mode %1").arg(k + 1)));
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
