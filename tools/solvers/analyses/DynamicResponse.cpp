#include "DynamicResponse.h"

#include "ExcitationTables.h"
#include "ForcedVibration.h"
#include "FormatCatalogue.h"
#include "SolverError.h"

#include <optional>

void DynamicResponse::Append(const SolverInput& input, const EquationSystem& system,
                             const std::vector<ModalAnalysis::Point>& points,
                             const std::vector<PencilModes::Mode>& modes, bool free, double gravity,
                             VibrationReport::Layout layout, const VibrationFile::Scale& scale,
                             ResultFile::Contents file, SolverOutcome& outcome) {
    const std::optional<DataFormat> format = FormatCatalogue::For(input.Problem, input.Dynamics);
    const ExcitationTables tables =
        format ? ExcitationTables::Read(*format, input.Data, layout.Components)
               : ExcitationTables();
    if (!tables.Any()) {
        outcome.ResultFile = ResultFile::Write(file);
        return;
    }
    const ModalAnalysis::SparseMatrix mass = ModalAnalysis::Masses(system, points);
    std::vector<double> lambdas;
    std::vector<Eigen::VectorXd> shapes;
    for (const PencilModes::Mode& mode : modes) {
        lambdas.push_back(mode.Lambda);
        shapes.push_back(mode.Shape);
    }
    ForcedVibration::Model model;
    model.Stiffness = &system.Stiffness();
    model.Mass = &mass;
    model.Modes = ModalResponse::Basis::Of(lambdas, shapes, mass);
    model.Nodes = system.Numbering().Nodes();
    model.Free = free;
    model.Equation = [&system](int node, int c) { return system.Equation(node, c); };
    if (layout.ElementRows) {
        model.ElementValues = [&layout](const Eigen::VectorXd& u) {
            const Eigen::MatrixXd rows = layout.ElementRows(u);
            Eigen::VectorXd values(rows.size());
            Eigen::Map<Eigen::Matrix<double, Eigen::Dynamic, Eigen::Dynamic, Eigen::RowMajor>>(
                values.data(), rows.rows(), rows.cols()) = rows;
            return values;
        };
        model.ElementModes = ForcedVibration::ElementModes(model);
    }
    ForcedVibration::Excitations excitations =
        tables.Excitations(static_cast<int>(modes.size()), gravity);
    if (const auto& r = tables.Rayleigh()) {
        const DirectIntegration::Rayleigh::Fit fit =
            DirectIntegration::Rayleigh::From((*r)[0], (*r)[1], (*r)[2], (*r)[3]);
        if (!fit.Error.isEmpty())
            throw SolverError(fit.Error);
        excitations.Rayleigh = fit.Damping;
    }
    const std::vector<ForcedVibration::Response> responses =
        ForcedVibration::Solve(model, excitations);
    if (!layout.Equation)
        layout.Equation = model.Equation;
    const QJsonArray forced =
        VibrationReport::Write(model, tables, excitations, responses, layout, outcome.Protocol);
    if (input.WantJson)
        outcome.Json[QStringLiteral("forced")] = forced;
    file.Vibrations = VibrationFile::Of(model, responses, layout, scale);
    outcome.ResultFile = ResultFile::Write(file);
}
