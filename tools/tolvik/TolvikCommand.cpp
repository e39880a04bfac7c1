#include "TolvikCommand.h"

#include "DataChecker.h"
#include "ExchangeFile.h"
#include "FormatCatalogue.h"
#include "InputText.h"
#include "ModelExport.h"
#include "ProblemNumber.h"
#include "Verdict.h"

#include <QDir>
#include <cstdio>
#include <new>

namespace {

struct Checked {
    QString Verdict;
    bool Ok = false;
    ModelExport::Files Model;
};

Checked CheckFile(const QString& path, bool exportModel) {
    Checked checked;
    const ProblemNumber number = ProblemNumber::FromFileName(path);
    if (!number.Valid) {
        checked.Verdict = Verdict::Fault({0, number.Error});
        return checked;
    }
    const InputText::Result text = InputText::Read(path);
    if (!text.Ok) {
        checked.Verdict = Verdict::Fault({0, text.Error});
        return checked;
    }
    const std::optional<DataFormat> format = FormatCatalogue::For(number.Problem, number.Dynamics);
    if (!format) {
        checked.Verdict = Verdict::Fault(
            {0, QStringLiteral("problem %1 has no input format").arg(number.Problem)});
        return checked;
    }
    const DataChecker::Result result = DataChecker::Check(text.Lines, *format);
    if (!result.Ok) {
        checked.Verdict = Verdict::Fault(result.Fault);
        return checked;
    }
    checked.Ok = true;
    checked.Verdict = Verdict::Accepted(format->Name);
    if (exportModel) {
        checked.Model = ModelExport::Build(*format, result.Data);
        if (!checked.Model.Ok) {
            checked.Ok = false;
            checked.Verdict = Verdict::Fault({0, checked.Model.Error});
        }
    }
    return checked;
}

// Writes the file and reports a failure on standard error; true when written.
bool Write(const QDir& directory, const QString& name, const QByteArray& bytes) {
    const QString error = ExchangeFile::Write(directory.filePath(name), bytes);
    if (error.isEmpty())
        return true;
    std::fprintf(stderr, "Tolvik: %s\n", qPrintable(error));
    return false;
}

} // namespace

TolvikCommand::Outcome TolvikCommand::Run(const QStringList& arguments,
                                          const QString& workDirectory) {
    const QDir directory(workDirectory);
    Outcome outcome;
    const bool exportModel = arguments.size() == 2 &&
                             arguments[1].compare(QLatin1String("XYZ"), Qt::CaseInsensitive) == 0;
    Checked checked;
    if (arguments.size() != 1 && !exportModel) {
        checked.Verdict = Verdict::Fault({0, QStringLiteral("usage: Tolvik DATAFILE [XYZ]")});
        outcome.ExitCode = 2;
    } else {
        try {
            checked = CheckFile(directory.filePath(arguments[0]), exportModel);
        } catch (const std::bad_alloc&) {
            checked = {};
            checked.Verdict = Verdict::Fault(
                {0, QStringLiteral("not enough memory to check %1").arg(arguments[0])});
        }
        outcome.ExitCode = checked.Ok ? 0 : 1;
    }
    outcome.Verdict = checked.Verdict;

    bool written = true;
    if (exportModel) {
        // Without a model the files are written empty, so that the preview shows nothing
        // rather than the model of an earlier file.
        const bool model = checked.Ok;
        written &=
            Write(directory, QStringLiteral("XYZ"), model ? checked.Model.Xyz : QByteArray());
        written &=
            Write(directory, QStringLiteral("J1J2"), model ? checked.Model.J1J2 : QByteArray());
        written &=
            Write(directory, QStringLiteral("MARKS"), model ? checked.Model.Marks : QByteArray());
    }
    written &= Write(directory, QStringLiteral("Error.txt"), Verdict::ErrorFile(outcome.Verdict));
    if (!written)
        outcome.ExitCode = 3;
    return outcome;
}
