#include "ViewerLaunch.h"

#include "DataChecker.h"
#include "ExchangeFile.h"
#include "FormatCatalogue.h"
#include "InputText.h"
#include "ProblemNumber.h"
#include "ProblemType.h"
#include "ResultChoice.h"
#include "Verdict.h"

#include <QDir>
#include <QFileInfo>
#include <cstdio>
#include <new>

namespace {

using Outcome = ViewerLaunch::Outcome;

// Reads DATAFILE and the mode. A launcher that hands over the rest of its command line as
// one argument ("frame.d05 R") is understood too, as long as no file has that whole name.
bool ParseArguments(QStringList arguments, const QDir& directory, Outcome& outcome) {
    if (arguments.size() == 1) {
        const QString whole = arguments[0];
        const QString trimmed = whole.trimmed();
        if (!QFileInfo::exists(directory.filePath(whole)) && trimmed.size() > 2 &&
            trimmed[trimmed.size() - 2] == u' ')
            arguments = QStringList{trimmed.left(trimmed.size() - 2), trimmed.right(1)};
    }
    if (arguments.isEmpty() || arguments.size() > 2)
        return false;
    const QString mode = arguments.value(1, QStringLiteral("E")).trimmed().toUpper();
    if (mode != QLatin1String("E") && mode != QLatin1String("R"))
        return false;
    outcome.ViewMode =
        mode == QLatin1String("R") ? ViewerLaunch::Mode::Results : ViewerLaunch::Mode::Model;
    outcome.DataPath = directory.filePath(arguments[0].trimmed());
    return true;
}

void Load(Outcome& outcome) {
    outcome.ExitCode = 1;
    const ProblemNumber number = ProblemNumber::FromFileName(outcome.DataPath);
    if (!number.Valid) {
        outcome.Verdict = Verdict::Fault({0, number.Error});
        return;
    }
    const std::optional<DataFormat> format = FormatCatalogue::For(number.Problem, number.Dynamics);
    const ProblemType& type = ProblemType::Of(number.Problem);
    if (!format || format->Model.Kind == ModelShape::Elements::None || !type.HasModel) {
        outcome.Verdict = Verdict::Fault(
            {0, QStringLiteral("problem %1 has no model to show").arg(number.Problem)});
        return;
    }
    const InputText::Result text = InputText::Read(outcome.DataPath);
    if (!text.Ok) {
        outcome.Verdict = Verdict::Fault({0, text.Error});
        return;
    }
    const DataChecker::Result checked = DataChecker::Check(text.Lines, *format);
    if (!checked.Ok) {
        outcome.Verdict = Verdict::Fault(checked.Fault);
        return;
    }
    outcome.Type = &type;
    outcome.Dynamics = number.Dynamics;
    outcome.Model = ViewerModel::FromData(*format, checked.Data);
    outcome.ShowWindow = true;
    outcome.ExitCode = 0;
    if (outcome.ViewMode == ViewerLaunch::Mode::Model) {
        outcome.Verdict =
            QStringLiteral("OK - the model of %1 is shown: %2, %3")
                .arg(format->Name,
                     ResultChoice::Counted(qint64(outcome.Model.Nodes.size()),
                                           QStringLiteral("node")),
                     ResultChoice::Counted(qint64(outcome.Model.ElementCentres.size()),
                                           QStringLiteral("element")));
        return;
    }
    outcome.Results = ViewerResults::Load(outcome.DataPath, type, number.Dynamics, outcome.Model);
    outcome.Verdict = outcome.Results.Ok()
                          ? QStringLiteral("OK - the results of %1 are shown").arg(format->Name)
                          : QStringLiteral("OK - no results can be shown; the model of %1 is "
                                           "shown")
                                .arg(format->Name);
}

} // namespace

ViewerLaunch::Outcome ViewerLaunch::Prepare(const QStringList& arguments,
                                            const QString& workDirectory) {
    const QDir directory(workDirectory);
    Outcome outcome;
    if (!ParseArguments(arguments, directory, outcome)) {
        outcome.ExitCode = 2;
        outcome.Verdict = Verdict::Fault({0, QStringLiteral("usage: viewer DATAFILE [E|R]")});
    } else {
        try {
            Load(outcome);
        } catch (const std::bad_alloc&) {
            outcome = {};
            outcome.ExitCode = 1;
            outcome.Verdict = Verdict::Fault(
                {0, QStringLiteral("not enough memory to show %1").arg(arguments.value(0))});
        }
    }
    const QString error = ExchangeFile::Write(directory.filePath(QStringLiteral("Error.txt")),
                                              Verdict::ErrorFile(outcome.Verdict));
    if (!error.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        if (outcome.ExitCode == 0)
            outcome.ExitCode = 3;
    }
    return outcome;
}
