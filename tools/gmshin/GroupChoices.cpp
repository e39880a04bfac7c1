#include "GroupChoices.h"

std::vector<GroupChoices::Row> GroupChoices::FromListing(const QStringList& lines,
                                                         const GroupMap& previous) {
    std::vector<Row> rows;
    for (const QString& line : lines) {
        const QStringList fields = line.split(u'\t');
        if (fields.size() != 4)
            continue;
        bool dimensionOk = false, tagOk = false, countOk = false;
        Row row;
        row.Dimension = fields[0].toInt(&dimensionOk);
        row.Tag = fields[1].toInt(&tagOk);
        row.Name = fields[2];
        row.Count = fields[3].toInt(&countOk);
        if (!dimensionOk || !tagOk || !countOk)
            continue;
        for (const GroupMap::Entry& entry : previous.Entries) {
            const bool same = entry.Named ? !row.Name.isEmpty() && entry.Group == row.Name
                                          : entry.Group == GroupMap::Key(row.Dimension, row.Tag);
            if (same) {
                row.Role = entry.Kind;
                row.Values = entry.Values;
            }
        }
        rows.push_back(row);
    }
    return rows;
}

GroupMap GroupChoices::ToMap(const std::vector<Row>& rows) {
    GroupMap map;
    for (const Row& row : rows) {
        if (!row.Role)
            continue;
        GroupMap::Entry entry;
        entry.Named = !row.Name.isEmpty();
        entry.Group = entry.Named ? row.Name : GroupMap::Key(row.Dimension, row.Tag);
        entry.Kind = *row.Role;
        entry.Values = row.Values;
        map.Entries.push_back(entry);
    }
    return map;
}
