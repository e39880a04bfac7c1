#include "ReportCommand.h"

#include "DrawingState.h"
#include "SectionError.h"
#include "SectionFile.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace {

const char* const Usage = "usage: quarvel-report [--json] FILE.geo [FILE.geo ...]\n";

QString JsonString(const QString& text) {
    const QByteArray array = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(array.mid(1, array.size() - 2));
}

QString JsonNumber(double value) {
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

QString JsonLine(const QString& file, const DrawingState& state) {
    const GeomCW& integrals = state.Report.Integrals();
    const SectionResults& r = state.Report.Values();
    QStringList fields{
        QStringLiteral("\"file\":") + JsonString(file),
        QStringLiteral("\"mode\":") + JsonString(QString(QChar::fromLatin1(state.SectionMode))),
        QStringLiteral("\"unit\":") + JsonString(state.UnitText),
    };
    const auto add = [&fields](const char* key, double value) {
        fields << QStringLiteral("\"%1\":%2").arg(QLatin1String(key), JsonNumber(value));
    };
    add("F", r.F);
    add("Yc", r.Yc);
    add("Zc", r.Zc);
    add("Iy", integrals.Iy());
    add("Iz", integrals.Iz());
    add("Iyz", integrals.Iyz());
    add("I1", r.I1);
    add("I2", r.I2);
    add("Alpha", r.Alpha);
    if (state.SectionMode == 'S') {
        add("Yo", r.Yo);
        add("Zo", r.Zo);
        add("Jw", r.Jw);
    }
    return u'{' + fields.join(u',') + u'}';
}

// Reads and calculates one file; throws SectionError with the message for the user.
void Calculate(DrawingState& state, const QString& file) {
    SectionFile::Parse(state, file);
    if (state.Shapes.empty())
        throw SectionError("The section has no shapes.");
    if (!state.RecalcAll())
        throw SectionError(state.Report.LastError().toStdString());
}

} // namespace

int RunReportCommand(const QStringList& arguments, QTextStream& out, QTextStream& err) {
    bool json = false;
    QStringList files;
    for (const QString& argument : arguments) {
        if (argument == QLatin1String("--json")) {
            json = true;
        } else if (argument == QLatin1String("--help") || argument == QLatin1String("-h")) {
            out << Usage;
            return 0;
        } else if (argument.startsWith(u'-') && argument.size() > 1) {
            err << "quarvel-report: unknown option " << argument << '\n' << Usage;
            return 2;
        } else {
            files << argument;
        }
    }
    if (files.isEmpty()) {
        err << Usage;
        return 2;
    }

    int status = 0;
    for (const QString& file : files) {
        DrawingState state;
        try {
            Calculate(state, file);
        } catch (const SectionError& error) {
            out.flush();
            err << file << ": " << QString::fromUtf8(error.what()) << '\n';
            err.flush();
            status = 1;
            continue;
        }
        if (json) {
            out << JsonLine(file, state) << '\n';
        } else {
            if (files.size() > 1)
                out << file << ":\n";
            for (const QString& line : state.Report.Lines())
                out << line << '\n';
        }
        out.flush();
    }
    return status;
}
