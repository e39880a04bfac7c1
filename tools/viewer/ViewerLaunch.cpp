#include "ViewerLaunch.h"

#include "CsvTable.h"
#include "DataChecker.h"
#include "ExchangeFile.h"
#include "FormatCatalogue.h"
#include "InputText.h"
#include "ProblemNumber.h"
#include "ProblemType.h"
#include "ResultChoice.h"
#include "Verdict.h"
#include "VtuExport.h"

#include <QCommandLineParser>
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

// The help names the program as it was started, not the path it runs from.
QString UsageNamed(QString help, const QString& program) {
    const qsizetype options = help.indexOf(QLatin1String(" [options]"));
    if (help.startsWith(QLatin1String("Usage: ")) && options > 0)
        help.replace(7, options - 7, program);
    return help;
}

// The command line's options and words; false with the verdict and exit code set when it is
// wrong or only asks for help or the version.
bool ParseOptions(const QStringList& arguments, const QString& program, const QDir& directory,
                  Outcome& outcome) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Shows the model of a data file (E, the default) or the solver's results "
                       "over it (R), or writes the results beside the data file for ParaView "
                       "(--vtu) or as CSV tables (--csv)."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Shows this help and stops."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Shows the version and stops."));
    const QCommandLineOption vtu(
        QStringLiteral("vtu"),
        QStringLiteral("Writes every result as DATANAME-*.vtu and DATANAME.pvd beside the "
                       "data file, without a window."));
    const QCommandLineOption csv(
        QStringLiteral("csv"),
        QStringLiteral("Writes every result table as DATANAME-*.csv beside the data file, "
                       "without a window."));
    parser.addOptions({help, version, vtu, csv});
    parser.addPositionalArgument(QStringLiteral("DATAFILE"), QStringLiteral("The data file."));
    parser.addPositionalArgument(QStringLiteral("E|R"),
                                 QStringLiteral("E shows the model, R the results."),
                                 QStringLiteral("[E|R]"));
    const QString exits =
        QStringLiteral("\nExit status: 0 shown or written, 1 the data or its results refused "
                       "or a file not written, 2 wrong command line, 3 Error.txt not written.\n"
                       "Without --vtu or --csv the verdict is also the first line of Error.txt "
                       "in the current directory.");
    outcome.ExitCode = 2;
    if (!parser.parse(QStringList{program} + arguments)) {
        outcome.Verdict = Verdict::Fault({0, parser.errorText()});
        return false;
    }
    if (parser.isSet(help) || parser.isSet(version)) {
        outcome.ExitCode = 0;
        outcome.Verdict = parser.isSet(help)
                              ? UsageNamed(parser.helpText(), program) + exits
                              : QStringLiteral("%1 %2").arg(program, QStringLiteral(QV_VERSION));
        return false;
    }
    if (parser.isSet(vtu) && parser.isSet(csv))
        return false;
    outcome.Exporting = parser.isSet(vtu)   ? ViewerLaunch::Export::Vtu
                        : parser.isSet(csv) ? ViewerLaunch::Export::Csv
                                            : ViewerLaunch::Export::None;
    const QStringList words = parser.positionalArguments();
    if (outcome.Exporting != ViewerLaunch::Export::None && words.size() != 1)
        return false;
    if (!ParseArguments(words, directory, outcome))
        return false;
    outcome.ExitCode = 0;
    return true;
}

// Writes the results of a loaded data file beside it; the verdict lists the files written.
void ExportResults(Outcome& outcome) {
    outcome.ShowWindow = false;
    if (outcome.ExitCode != 0)
        return;
    if (!outcome.Results.Ok()) {
        outcome.ExitCode = 1;
        // Nothing is shown here, whatever the viewer's message adds about the model.
        QString message = outcome.Results.Message();
        message.remove(QLatin1String(" The model is shown."));
        outcome.Verdict = Verdict::Fault({0, message});
        return;
    }
    const QFileInfo data(outcome.DataPath);
    const std::vector<ExportFiles::File> files =
        outcome.Exporting == ViewerLaunch::Export::Vtu
            ? VtuExport::Files(outcome.Model, outcome.Results, data.completeBaseName())
            : CsvTable::Files(outcome.Results, *outcome.Type, outcome.Model.ForceUnit,
                              outcome.Model.LengthUnit, data.completeBaseName());
    const ExportFiles::Outcome written = ExportFiles::Write(files, data.absolutePath());
    outcome.Verdict = written.Written.join(u'\n');
    if (!written.Error.isEmpty()) {
        outcome.ExitCode = 1;
        outcome.Verdict += (outcome.Verdict.isEmpty() ? QString() : QStringLiteral("\n")) +
                           Verdict::Fault({0, written.Error});
    }
}

} // namespace

bool ViewerLaunch::Headless(int argc, const char* const* argv) {
    for (int k = 1; k < argc; ++k) {
        const QByteArray word(argv[k]);
        if (word == "--vtu" || word == "--csv" || word == "--help" || word == "-h" ||
            word == "--version" || word == "-v")
            return true;
    }
    return false;
}

ViewerLaunch::Outcome ViewerLaunch::Prepare(const QStringList& arguments,
                                            const QString& workDirectory, const QString& program) {
    const QDir directory(workDirectory);
    Outcome outcome;
    if (!ParseOptions(arguments, program, directory, outcome)) {
        // The launcher's own command line keeps the message it always had.
        if (outcome.ExitCode == 2 && outcome.Verdict.isEmpty())
            outcome.Verdict = Verdict::Fault(
                {0, outcome.Exporting == Export::None
                        ? QStringLiteral("usage: viewer DATAFILE [E|R]")
                        : QStringLiteral("usage: %1 --vtu DATAFILE or %1 --csv DATAFILE (see "
                                         "--help)")
                              .arg(program)});
        // Help, the version and an export's wrong command line leave no verdict file.
        if (outcome.ExitCode == 0 || outcome.Exporting != Export::None)
            return outcome;
    } else {
        if (outcome.Exporting != Export::None)
            outcome.ViewMode = Mode::Results;
        try {
            Load(outcome);
        } catch (const std::bad_alloc&) {
            const Export exporting = outcome.Exporting;
            outcome = {};
            outcome.Exporting = exporting;
            outcome.ExitCode = 1;
            outcome.Verdict = Verdict::Fault(
                {0, QStringLiteral("not enough memory to show %1").arg(arguments.value(0))});
        }
        if (outcome.Exporting != Export::None) {
            ExportResults(outcome);
            return outcome;
        }
    }
    const QString error = Verdict::WriteErrorFile(directory.path(), outcome.Verdict);
    if (!error.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        if (outcome.ExitCode == 0)
            outcome.ExitCode = 3;
    }
    return outcome;
}
