#include "SolverInput.h"

#include "DataChecker.h"
#include "FormatCatalogue.h"
#include "InputText.h"
#include "ProblemNumber.h"

SolverInput SolverInput::Read(const QString& path) {
    SolverInput input;
    const ProblemNumber number = ProblemNumber::FromFileName(path);
    if (!number.Valid) {
        input.Fault = {0, number.Error};
        return input;
    }
    input.Problem = number.Problem;
    input.Dynamics = number.Dynamics;
    const InputText::Result text = InputText::Read(path);
    if (!text.Ok) {
        input.Fault = {0, text.Error};
        return input;
    }
    const std::optional<DataFormat> format = FormatCatalogue::For(number.Problem, number.Dynamics);
    if (!format) {
        input.Fault = {0, QStringLiteral("problem %1 has no input format").arg(number.Problem)};
        return input;
    }
    input.FormatName = format->Name;
    DataChecker::Result checked = DataChecker::Check(text.Lines, *format);
    if (!checked.Ok) {
        input.Fault = checked.Fault;
        return input;
    }
    input.Data = std::move(checked.Data);
    input.Ok = true;
    return input;
}

QString SolverInput::FaultText() const {
    return Fault.Line > 0 ? QStringLiteral("Line %1: %2").arg(Fault.Line).arg(Fault.Message)
                          : QStringLiteral("Error: %1").arg(Fault.Message);
}
