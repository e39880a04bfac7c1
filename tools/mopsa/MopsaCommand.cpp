#include "MopsaCommand.h"

#include "DataChecker.h"
#include "DataFileText.h"
#include "ExchangeFile.h"
#include "FormatCatalogue.h"
#include "FrameSeries.h"
#include "InputText.h"
#include "ProblemNumber.h"
#include "Verdict.h"

#include <QDir>
#include <QFile>
#include <cstdio>
#include <new>

namespace {

MopsaCommand::Outcome Rejected(const CheckFault& fault) {
    return {1, Verdict::Fault(fault)};
}

QString Generated(const FrameSeries::Outcome& series) {
    if (!series.Changed())
        return QStringLiteral("no series to expand");
    return QStringLiteral("%1 nodes and %2 elements generated")
        .arg(series.NewNodes)
        .arg(series.NewElements);
}

MopsaCommand::Outcome Generate(const QString& path) {
    const ProblemNumber number = ProblemNumber::FromFileName(path);
    if (!number.Valid)
        return Rejected({0, number.Error});
    if (!MopsaCommand::IsFrameProblem(number.Problem))
        return Rejected({0, QStringLiteral("Mopsa generates the data of beams, trusses and "
                                           "frames (problem numbers 1 to 8 and 15), not of "
                                           "problem %1")
                                .arg(number.Problem)});
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Rejected({0, QStringLiteral("cannot read %1: %2").arg(path, file.errorString())});
    if (file.size() > InputText::MaxBytes)
        return Rejected({0, QStringLiteral("%1 is too large to be a data file").arg(path)});
    const QByteArray bytes = file.readAll();
    file.close();

    DataFileText text = DataFileText::FromBytes(bytes);
    const DataFormat format = *FormatCatalogue::For(number.Problem, number.Dynamics);
    const FrameSeries::Outcome series = FrameSeries::Expand(text, format);
    if (!series.Ok)
        return Rejected(series.Fault);

    if (series.Changed()) {
        const QString error = ExchangeFile::Write(path, text.ToBytes());
        if (!error.isEmpty())
            return {3, Verdict::Fault({0, error})};
    }
    const DataChecker::Result checked = DataChecker::Check(text.Lines(), format);
    if (!checked.Ok)
        return Rejected(checked.Fault);
    return {0, QStringLiteral("OK - %1; no errors found (%2)").arg(Generated(series), format.Name)};
}

} // namespace

MopsaCommand::Outcome MopsaCommand::Run(const QStringList& arguments,
                                        const QString& workDirectory) {
    const QDir directory(workDirectory);
    Outcome outcome;
    if (arguments.size() != 1) {
        outcome = {2, Verdict::Fault({0, QStringLiteral("usage: Mopsa DATAFILE")})};
    } else {
        try {
            outcome = Generate(directory.filePath(arguments[0]));
        } catch (const std::bad_alloc&) {
            outcome =
                Rejected({0, QStringLiteral("not enough memory to generate %1").arg(arguments[0])});
        }
    }
    const QString error = ExchangeFile::Write(directory.filePath(QStringLiteral("Error.txt")),
                                              Verdict::ErrorFile(outcome.Verdict));
    if (!error.isEmpty()) {
        std::fprintf(stderr, "Mopsa: %s\n", qPrintable(error));
        outcome.ExitCode = 3;
    }
    return outcome;
}
