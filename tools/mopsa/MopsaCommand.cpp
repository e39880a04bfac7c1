#include "MopsaCommand.h"

#include "DataChecker.h"
#include "DataFileText.h"
#include "ExchangeFile.h"
#include "FormatCatalogue.h"
#include "FrameSeries.h"
#include "InputText.h"
#include "ItemLine.h"
#include "ProblemNumber.h"
#include "Verdict.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
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

// A fault the check finds in the expanded text, told by the line of the file as it stands,
// which is the file the editor shows: a generated item is named by its series line.
CheckFault InFileAsItStands(CheckFault fault, const DataFileText& expanded,
                            const QStringList& original) {
    if (fault.Line < 1 || fault.Line > expanded.LineCount())
        return fault;
    const int index = fault.Line - 1;
    const int origin = expanded.OriginLine(index);
    if (origin < 1)
        return {0, fault.Message};
    if (FrameSeries::IsSeriesLine(original.value(origin - 1))) {
        const ItemLine item = ItemLine::Parse(expanded.Line(index));
        fault.Message = QStringLiteral("item %1 that this series makes: %2")
                            .arg(item.Number)
                            .arg(fault.Message);
    }
    fault.Line = origin;
    // A message may name another line too ("first given in line 32").
    static const QRegularExpression otherLine(QStringLiteral("\\bline (\\d+)"));
    QString message;
    qsizetype done = 0;
    for (QRegularExpressionMatchIterator it = otherLine.globalMatch(fault.Message); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        const int line = match.captured(1).toInt();
        if (line < 1 || line > expanded.LineCount() || expanded.OriginLine(line - 1) < 1)
            continue;
        message += QStringView(fault.Message).mid(done, match.capturedStart(1) - done);
        message += QString::number(expanded.OriginLine(line - 1));
        done = match.capturedEnd(1);
    }
    message.append(QStringView(fault.Message).mid(done));
    fault.Message = message;
    return fault;
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
    const InputText::Result read = InputText::Read(path);
    if (!read.Ok)
        return Rejected({0, read.Error});
    const DataFormat format = *FormatCatalogue::For(number.Problem, number.Dynamics);
    // The checker's reading above refuses what it refuses; the bytes are kept for the rewrite.
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Rejected({0, QStringLiteral("cannot read %1: %2").arg(path, file.errorString())});
    DataFileText text = DataFileText::FromBytes(file.readAll());
    file.close();

    // Without series there is nothing to generate: the verdict is the checker's own, word
    // for word and line for line.
    if (!FrameSeries::HasSeries(text)) {
        const DataChecker::Result checked = DataChecker::Check(read.Lines, format);
        if (!checked.Ok)
            return Rejected(checked.Fault);
        return {0,
                QStringLiteral("OK - no series to expand; no errors found (%1)").arg(format.Name)};
    }

    const FrameSeries::Outcome series = FrameSeries::Expand(text, format);
    if (!series.Ok)
        return Rejected(series.Fault);
    // The expanded text is checked before it is written: a rejected file stays as it was.
    const DataChecker::Result checked = DataChecker::Check(text.Lines(), format);
    if (!checked.Ok)
        return Rejected(InFileAsItStands(checked.Fault, text, read.Lines));
    const QString error = ExchangeFile::Write(path, text.ToBytes());
    if (!error.isEmpty())
        return {3, Verdict::Fault({0, error})};
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
    const QString error = Verdict::WriteErrorFile(directory.path(), outcome.Verdict);
    if (!error.isEmpty()) {
        std::fprintf(stderr, "Mopsa: %s\n", qPrintable(error));
        outcome.ExitCode = 3;
    }
    return outcome;
}
