#include "CsvTable.h"

#include "ResultTableModel.h"

#include <QLocale>
#include <QRegularExpression>

namespace {

const QLatin1String LineEnd("\r\n");

} // namespace

QString CsvTable::Field(const QString& text) {
    if (!text.contains(u',') && !text.contains(u'"') && !text.contains(u'\n') &&
        !text.contains(u'\r'))
        return text;
    QString quoted = text;
    quoted.replace(u'"', QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

QString CsvTable::Header(const QAbstractItemModel& table, bool entry) {
    QStringList fields;
    if (entry)
        fields << QStringLiteral("Entry");
    for (int c = 0; c < table.columnCount(); ++c)
        fields << Field(table.headerData(c, Qt::Horizontal).toString());
    return fields.join(u',') + LineEnd;
}

QString CsvTable::Rows(const QAbstractItemModel& table, const QString& entry) {
    QString text;
    for (int r = 0; r < table.rowCount(); ++r) {
        QStringList fields;
        if (!entry.isEmpty())
            fields << Field(entry);
        for (int c = 0; c < table.columnCount(); ++c) {
            // The number in full; a cell without one stays empty.
            const QVariant value = table.data(table.index(r, c), Qt::UserRole);
            fields << (value.isValid()
                           ? QString::number(value.toDouble(), 'g', QLocale::FloatingPointShortest)
                           : QString());
        }
        text += fields.join(u',') + LineEnd;
    }
    return text;
}

std::vector<CsvTable::File> CsvTable::Files(const ViewerResults& results, const ProblemType& type,
                                            const QString& forceUnit, const QString& lengthUnit,
                                            const QString& base) {
    using Table = ResultTableModel::Table;
    std::vector<File> files;
    ResultTableModel model(results, type, forceUnit, lengthUnit);
    const ResultFile::Contents& contents = results.Contents();
    const bool shapes =
        contents.Type == ResultFile::Kind::Modes || contents.Type == ResultFile::Kind::Buckling;
    for (const Table table : model.Tables()) {
        if (table == Table::ForcedNodes || table == Table::ForcedElements ||
            table == Table::Response)
            continue;
        const bool single = table == Table::Values || table == Table::TorsionConstants;
        const int entries = single   ? 1
                            : shapes ? static_cast<int>(contents.Modes.List.size())
                                     : results.StaticEntries();
        QString text;
        for (int entry = 0; entry < entries; ++entry) {
            model.Show(table, entry);
            const QString title = single   ? QString()
                                  : shapes ? QStringLiteral("%1 %2")
                                                 .arg(contents.Type == ResultFile::Kind::Modes
                                                          ? QStringLiteral("Mode")
                                                          : QStringLiteral("Buckling shape"))
                                                 .arg(entry + 1)
                                           : results.EntryTitle(entry);
            if (text.isEmpty())
                text = Header(model, !single);
            text += Rows(model, title);
        }
        if (text.isEmpty())
            continue;
        // "Forces, moments and stresses at nodes" -> "forces-moments-and-stresses-at-nodes".
        const QString name = model.TitleOf(table).toLower().replace(
            QRegularExpression(QStringLiteral("[^a-z0-9]+")), QStringLiteral("-"));
        files.push_back({QStringLiteral("%1-%2.csv").arg(base, name), text.toUtf8()});
    }
    return files;
}
