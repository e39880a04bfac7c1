#include "StandardTable.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>
#include <cmath>
#include <stdexcept>

std::optional<double> StandardTable::Group::Value(const Row& row, const QString& column) const {
    const qsizetype index = Columns.indexOf(column);
    if (index < 0 || index >= row.Values.size())
        return std::nullopt;
    return row.Values[index];
}

StandardTable StandardTable::Read(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error(QStringLiteral("Cannot open file %1")
                                     .arg(QDir::toNativeSeparators(path))
                                     .toStdString());
    return Parse(file.readAll(), path);
}

StandardTable StandardTable::Parse(const QByteArray& bytes, const QString& path) {
    QStringDecoder decode("windows-1251");
    const QString text = decode(bytes);
    StandardTable table;
    const QStringList lines = text.split(u'\n');
    auto fail = [&](qsizetype line, const QString& why) {
        throw std::runtime_error(QStringLiteral("%1, line %2: %3")
                                     .arg(QDir::toNativeSeparators(path))
                                     .arg(line + 1)
                                     .arg(why)
                                     .toStdString());
    };
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString line = lines[i].trimmed();
        if (line.isEmpty() || line.startsWith(u';'))
            continue;
        if (line.startsWith(u'[')) {
            const qsizetype close = line.indexOf(u']');
            if (close < 2)
                fail(i, QStringLiteral("a group needs a key in brackets"));
            Group group;
            group.Key = line.mid(1, close - 1).trimmed();
            group.Title = line.mid(close + 1).trimmed();
            table.groups << group;
            continue;
        }
        if (table.groups.isEmpty())
            fail(i, QStringLiteral("a row before the first group"));
        Group& group = table.groups.last();
        if (line.startsWith(QStringLiteral("columns:"))) {
            group.Columns = line.mid(8).split(u' ', Qt::SkipEmptyParts);
            continue;
        }
        const QStringList fields = line.split(u' ', Qt::SkipEmptyParts);
        if (fields.size() != group.Columns.size() + 1)
            fail(i, QStringLiteral("%1 values expected").arg(group.Columns.size()));
        Row row;
        row.Name = fields[0];
        for (qsizetype k = 1; k < fields.size(); ++k) {
            bool ok = false;
            const double value = fields[k].toDouble(&ok);
            if (!ok)
                fail(i, QStringLiteral("\"%1\" is no number").arg(fields[k]));
            if (!std::isfinite(value))
                fail(i, QStringLiteral("\"%1\" is no finite number").arg(fields[k]));
            row.Values << value;
        }
        group.Rows << row;
    }
    return table;
}

const StandardTable::Group* StandardTable::Find(const QString& key) const {
    for (const Group& group : groups)
        if (group.Key == key)
            return &group;
    return nullptr;
}
