#include "SolverCatalogue.h"
#include "SolverCommand.h"
#include "SolverFiles.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QtTest>
#include <algorithm>
#include <cmath>
#include <optional>

// The answers of every example and model of the package and of the test data, recorded once
// and held to: the protocol and the JSON of each file must stay what they were while the code
// beneath them is rearranged. A deliberate change is recorded anew with QV_RECORD_ANSWERS=1
// and explained where it is committed.
namespace {

// Numbers agree to the digits that carry meaning: to `relative` of their own size, or both
// within rounding noise of the largest value beside them (`scale`): a reaction moment of
// 3e-18 next to 75 kN is 0 either way.
bool Agree(double a, double b, double relative, double scale) {
    if (a == b)
        return true;
    if (!std::isfinite(a) || !std::isfinite(b))
        return false;
    const double difference = std::abs(a - b);
    return difference <= relative * std::max(std::abs(a), std::abs(b)) ||
           difference <= 1e-9 * scale || std::max(std::abs(a), std::abs(b)) < 1e-11;
}

// The first place where two JSON values differ, as a path ("cases[0].displacements[4][2]");
// empty when they agree. Rows of a table (arrays of number arrays) are judged column by
// column against the largest value of the column.
class JsonComparison {
public:
    QString Difference(const QJsonValue& was, const QJsonValue& is, const QString& path,
                       double scale = 0) const {
        if (was.isDouble() && is.isDouble()) {
            if (Agree(was.toDouble(), is.toDouble(), 1e-9, scale))
                return {};
            return QStringLiteral("%1: %2 was %3")
                .arg(path)
                .arg(is.toDouble(), 0, 'g', 17)
                .arg(was.toDouble(), 0, 'g', 17);
        }
        if (was.type() != is.type())
            return path + QStringLiteral(": the kind of value changed");
        if (was.isObject()) {
            const QJsonObject a = was.toObject(), b = is.toObject();
            if (a.keys() != b.keys())
                return path + QStringLiteral(": keys %1 were %2")
                                  .arg(b.keys().join(u','), a.keys().join(u','));
            for (const QString& key : a.keys()) {
                if (QString d = Difference(a[key], b[key], path + u'.' + key); !d.isEmpty())
                    return d;
            }
            return {};
        }
        if (was.isArray()) {
            const QJsonArray a = was.toArray(), b = is.toArray();
            if (a.size() != b.size())
                return path + QStringLiteral(": %1 items were %2").arg(b.size()).arg(a.size());
            const std::vector<double> columns = ColumnScales(a);
            for (qsizetype i = 0; i < a.size(); ++i) {
                const QString at = QStringLiteral("%1[%2]").arg(path).arg(i);
                if (a[i].isArray() && !columns.empty()) {
                    const QJsonArray ra = a[i].toArray(), rb = b[i].toArray();
                    if (ra.size() != rb.size())
                        return at + QStringLiteral(": the row's length changed");
                    for (qsizetype c = 0; c < ra.size(); ++c) {
                        const double s = c < static_cast<qsizetype>(columns.size())
                                             ? columns[static_cast<size_t>(c)]
                                             : 0;
                        if (QString d = Difference(ra[c], rb[c],
                                                   QStringLiteral("%1[%2]").arg(at).arg(c), s);
                            !d.isEmpty())
                            return d;
                    }
                } else if (QString d = Difference(a[i], b[i], at, scale); !d.isEmpty()) {
                    return d;
                }
            }
            return {};
        }
        return was == is ? QString() : path + QStringLiteral(": changed");
    }

private:
    // The largest magnitude of each column when `rows` is a table of numbers; else empty.
    static std::vector<double> ColumnScales(const QJsonArray& rows) {
        std::vector<double> scales;
        for (const QJsonValue row : rows) {
            if (!row.isArray())
                return {};
            const QJsonArray values = row.toArray();
            if (scales.size() < static_cast<size_t>(values.size()))
                scales.resize(static_cast<size_t>(values.size()), 0);
            for (qsizetype c = 0; c < values.size(); ++c)
                scales[static_cast<size_t>(c)] =
                    std::max(scales[static_cast<size_t>(c)], std::abs(values[c].toDouble()));
        }
        return scales;
    }
};

// The first line where two protocols differ; empty when they agree. Words must be the same;
// numbers, printed to about five digits, agree to a unit of the last one, or as rounding noise
// beside the largest number of their paragraph.
QString TextDifference(const QString& was, const QString& is) {
    static const QRegularExpression number(
        QStringLiteral("^[-+]?(\\d+\\.?\\d*|\\.\\d+)([eE][-+]?\\d+)?[,;:)%]*$"));
    const auto paragraphScale = [](const QStringList& lines, qsizetype at) {
        qsizetype from = at, to = at;
        while (from > 0 && !lines[from - 1].trimmed().isEmpty())
            --from;
        while (to + 1 < lines.size() && !lines[to + 1].trimmed().isEmpty())
            ++to;
        double scale = 0;
        for (qsizetype i = from; i <= to; ++i) {
            for (const QString& word : lines[i].split(u' ', Qt::SkipEmptyParts)) {
                if (number.match(word).hasMatch())
                    scale = std::max(scale, std::abs(word.toDouble()));
            }
        }
        return scale;
    };
    const QStringList a = was.split(u'\n'), b = is.split(u'\n');
    for (qsizetype i = 0; i < std::max(a.size(), b.size()); ++i) {
        const QString la = i < a.size() ? a[i] : QString(), lb = i < b.size() ? b[i] : QString();
        if (la == lb)
            continue;
        const QStringList wa = la.split(u' ', Qt::SkipEmptyParts);
        const QStringList wb = lb.split(u' ', Qt::SkipEmptyParts);
        bool same = wa.size() == wb.size();
        for (qsizetype w = 0; same && w < wa.size(); ++w) {
            if (wa[w] == wb[w])
                continue;
            const auto strip = [](QString word) {
                while (!word.isEmpty() && !word.back().isDigit() && word.back() != u'.')
                    word.chop(1);
                return word;
            };
            same = number.match(wa[w]).hasMatch() && number.match(wb[w]).hasMatch() &&
                   Agree(strip(wa[w]).toDouble(), strip(wb[w]).toDouble(), 1.1e-4,
                         std::max(paragraphScale(a, i), paragraphScale(b, i)));
        }
        if (!same)
            return QStringLiteral("line %1 is\n%2\nwas\n%3").arg(i + 1).arg(lb, la);
    }
    return {};
}

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

} // namespace

class TestAnswers : public QObject {
    Q_OBJECT

private slots:
    void answersStayAsRecorded_data() {
        QTest::addColumn<QString>("path");
        const QStringList folders{QStringLiteral(PACKAGE_SOURCE "/examples"),
                                  QStringLiteral(PACKAGE_SOURCE "/models"),
                                  QStringLiteral(SOLVER_TEST_DATA)};
        for (const QString& folder : folders) {
            for (const QFileInfo& file : QDir(folder).entryInfoList(QDir::Files, QDir::Name)) {
                if (SolverEntry::ForFile(file.fileName()))
                    QTest::newRow(qPrintable(file.fileName())) << file.filePath();
            }
        }
    }

    void answersStayAsRecorded() {
        QFETCH(QString, path);
        const QString name = QFileInfo(path).fileName();
        const SolverEntry solver = *SolverEntry::ForFile(name);
        // A refused model's record is the refusal as the program prints it.
        SolverOutcome solved;
        const QString refusal =
            SolverFiles::Refusal([&] { solved = SolverCommand::Solve(solver, path); });
        const bool ok = refusal.isEmpty();
        QString protocol = ok ? solved.Protocol : refusal;
        const QByteArray json =
            ok ? QJsonDocument(solved.Json).toJson(QJsonDocument::Compact) : QByteArray("{}");
        const QString record = QStringLiteral(ANSWERS_SOURCE "/") + name;
        if (qEnvironmentVariableIsSet("QV_RECORD_ANSWERS")) {
            WriteAll(record + QStringLiteral(".txt"), protocol.toUtf8());
            WriteAll(record + QStringLiteral(".json"), json + '\n');
            return;
        }
        const QByteArray wasText = ReadAll(record + QStringLiteral(".txt"));
        const QByteArray wasJson = ReadAll(record + QStringLiteral(".json"));
        QVERIFY2(!wasText.isEmpty(), qPrintable(record + QStringLiteral(".txt is not recorded")));
        const QString textChange = TextDifference(QString::fromUtf8(wasText), protocol);
        QVERIFY2(textChange.isEmpty(), qPrintable(textChange));
        const QString jsonChange = JsonComparison().Difference(
            QJsonDocument::fromJson(wasJson).object(), QJsonDocument::fromJson(json).object(),
            QStringLiteral("json"));
        QVERIFY2(jsonChange.isEmpty(), qPrintable(jsonChange));
    }
};

QTEST_GUILESS_MAIN(TestAnswers)
#include "tst_answers.moc"
