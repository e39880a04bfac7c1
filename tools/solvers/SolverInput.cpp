#include "SolverInput.h"

#include "DataChecker.h"
#include "FormatCatalogue.h"
#include "InputText.h"
#include "ProblemNumber.h"
#include "SolverError.h"

SolverInput SolverInput::Read(const QString& path) {
    SolverInput input;
    const ProblemNumber number = ProblemNumber::FromFileName(path);
    if (!number.Valid)
        throw SolverError(number.Error);
    input.Problem = number.Problem;
    input.Dynamics = number.Dynamics;
    const InputText::Result text = InputText::Read(path);
    if (!text.Ok)
        throw SolverError(text.Error);
    const std::optional<DataFormat> format = FormatCatalogue::For(number.Problem, number.Dynamics);
    if (!format)
        throw SolverError(QStringLiteral("problem %1 has no input format").arg(number.Problem));
    input.FormatName = format->Name;
    DataChecker::Result checked = DataChecker::Check(text.Lines, *format);
    if (!checked.Ok)
        throw SolverError::AtLine(checked.Fault.Line, checked.Fault.Message);
    input.Data = std::move(checked.Data);
    return input;
}
