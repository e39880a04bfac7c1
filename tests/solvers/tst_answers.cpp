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

// Principal directions are lines: an angle and the angle 180 degrees from it are one
// direction, and where the two principal values are equal every direction is principal, so
// rounding noise may give any angle there.
bool AnglesAgree(double a, double b, double firstA, double secondA, double firstB, double secondB,
                 double relative, double scale) {
    const double turn = std::remainder(a - b, 180.0);
    return std::abs(turn) <= relative * 180 || Agree(firstA, secondA, relative, scale) ||
           Agree(firstB, secondB, relative, scale);
}

// The first place where two JSON values differ, as a path ("cases[0].displacements[4][2]");
// empty when they agree. Rows of a table (arrays of number arrays) are judged column by
// column against the largest value of the column.
class JsonComparison {
public:
    // `angle`: the column of the principal angle among the stress names, after the two
    // principal values; -1 where there is none. `names`: how many stress names there are.
    JsonComparison(int angle, qsizetype names) : angle_(angle), names_(names) {}

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
            // Rows of stresses may begin with the node's number.
            const bool stresses = path.endsWith(QLatin1String("tresses"));
            const qsizetype angle = stresses && angle_ >= 0 && !a.isEmpty() && a[0].isArray()
                                        ? angle_ + a[0].toArray().size() - names_
                                        : -1;
            const double table = TableScale(a, angle);
            for (qsizetype i = 0; i < a.size(); ++i) {
                const QString at = QStringLiteral("%1[%2]").arg(path).arg(i);
                if (a[i].isArray() && table >= 0) {
                    const QJsonArray ra = a[i].toArray(), rb = b[i].toArray();
                    if (ra.size() != rb.size())
                        return at + QStringLiteral(": the row's length changed");
                    for (qsizetype c = 0; c < ra.size(); ++c) {
                        const double s = table;
                        if (c == angle && angle >= 2 &&
                            AnglesAgree(ra[c].toDouble(), rb[c].toDouble(), ra[c - 2].toDouble(),
                                        ra[c - 1].toDouble(), rb[c - 2].toDouble(),
                                        rb[c - 1].toDouble(), 1e-9, s))
                            continue;
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
    // The largest magnitude in `rows` when it is a table of numbers, leaving out the columns
    // of whole numbers (node and element numbers) and of angles; -1 when it is not a table. A
    // column of rounding noise (the reactions across a symmetric model's plane) is judged
    // against the table, not against itself.
    static double TableScale(const QJsonArray& rows, qsizetype angle) {
        std::vector<double> largest;
        std::vector<bool> whole;
        for (const QJsonValue row : rows) {
            if (!row.isArray())
                return -1;
            const QJsonArray values = row.toArray();
            if (largest.size() < static_cast<size_t>(values.size())) {
                largest.resize(static_cast<size_t>(values.size()), 0);
                whole.resize(static_cast<size_t>(values.size()), true);
            }
            for (qsizetype c = 0; c < values.size(); ++c) {
                const double v = values[c].toDouble();
                const auto k = static_cast<size_t>(c);
                largest[k] = std::max(largest[k], std::abs(v));
                whole[k] = whole[k] && v == std::round(v);
            }
        }
        double scale = 0;
        for (size_t c = 0; c < largest.size(); ++c)
            if (!whole[c] && static_cast<qsizetype>(c) != angle)
                scale = std::max(scale, largest[c]);
        return rows.isEmpty() ? -1 : scale;
    }

    int angle_ = -1;
    qsizetype names_ = 0;
};

// The first line where two protocols differ; empty when they agree. Words must be the same;
// numbers, printed to about five digits, agree to a unit of the last one, or as rounding noise
// beside the largest number of their paragraph.
QString TextDifference(const QString& was, const QString& is) {
    static const QRegularExpression number(
        QStringLiteral("^[-+]?(\\d+\\.?\\d*|\\.\\d+)([eE][-+]?\\d+)?[,;:)%]*$"));
    static const QRegularExpression governing(QStringLiteral("^\\(\\d+\\)$"));
    const auto paragraphScale = [](const QStringList& lines, qsizetype at) {
        if (at >= lines.size())
            return 0.0;
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
    // The column of a principal angle in the paragraph of line `at`: where its heading
    // (units in brackets left out) names "angle"; -1 where none does.
    const auto angleColumn = [](const QStringList& lines, qsizetype at) {
        for (qsizetype i = std::min(at, lines.size() - 1); i >= 0 && !lines[i].trimmed().isEmpty();
             --i) {
            QStringList names = lines[i].split(u' ', Qt::SkipEmptyParts);
            names.removeIf([](const QString& word) { return word.startsWith(u'['); });
            if (const qsizetype column = names.indexOf(QStringLiteral("angle")); column >= 0)
                return column;
        }
        return qsizetype{-1};
    };
    // A refusal of a model that cannot be solved names its likely cause; which check trips
    // first on it is rounding noise.
    const QString cause = QStringLiteral("; likely cause: ");
    const QStringList a = was.split(u'\n'), b = is.split(u'\n');
    for (qsizetype i = 0; i < std::max(a.size(), b.size()); ++i) {
        const QString la = i < a.size() ? a[i] : QString(), lb = i < b.size() ? b[i] : QString();
        if (la == lb)
            continue;
        if (i == 0 && la.startsWith(QLatin1String("Error: ")) &&
            lb.startsWith(QLatin1String("Error: ")) && la.contains(cause) &&
            la.mid(la.indexOf(cause)) == lb.mid(std::max(qsizetype{0}, lb.indexOf(cause))))
            continue;
        const QStringList wa = la.split(u' ', Qt::SkipEmptyParts);
        const QStringList wb = lb.split(u' ', Qt::SkipEmptyParts);
        bool same = wa.size() == wb.size();
        const double scale = std::max(paragraphScale(a, i), paragraphScale(b, i));
        const qsizetype angle = same ? angleColumn(a, i) : -1;
        for (qsizetype w = 0; same && w < wa.size(); ++w) {
            if (wa[w] == wb[w])
                continue;
            const auto strip = [](QString word) {
                while (!word.isEmpty() && !word.back().isDigit() && word.back() != u'.')
                    word.chop(1);
                return word;
            };
            const auto value = [&](const QStringList& words, qsizetype k) {
                return strip(words[k]).toDouble();
            };
            // The combination that governs an envelope's value of rounding noise is noise.
            if (w > 0 && governing.match(wa[w]).hasMatch() && governing.match(wb[w]).hasMatch() &&
                number.match(wa[w - 1]).hasMatch() && number.match(wb[w - 1]).hasMatch() &&
                std::max(std::abs(value(wa, w - 1)), std::abs(value(wb, w - 1))) <= 1e-9 * scale)
                continue;
            same = number.match(wa[w]).hasMatch() && number.match(wb[w]).hasMatch() &&
                   (Agree(value(wa, w), value(wb, w), 1.1e-4, scale) ||
                    (w == angle && w >= 2 &&
                     AnglesAgree(value(wa, w), value(wb, w), value(wa, w - 2), value(wa, w - 1),
                                 value(wb, w - 2), value(wb, w - 1), 1.1e-4, scale)));
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
        const QJsonObject wasObject = QJsonDocument::fromJson(wasJson).object();
        const QJsonArray names = wasObject[QStringLiteral("stressNames")].toArray();
        const JsonComparison comparison(
            static_cast<int>(names.toVariantList().indexOf(QStringLiteral("angle"))), names.size());
        const QString jsonChange = comparison.Difference(
            wasObject, QJsonDocument::fromJson(json).object(), QStringLiteral("json"));
        QVERIFY2(jsonChange.isEmpty(), qPrintable(jsonChange));
    }
};

QTEST_GUILESS_MAIN(TestAnswers)
#include "tst_answers.moc"
