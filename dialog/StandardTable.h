#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// A standard table of the package ("StdProf.dat", "StdMat.dat"): groups that start with
// "[KEY] title", a "columns:" line naming the values of the group's rows, and rows of a name
// without blanks followed by its values. Lines starting with ";" and blank lines are ignored.
class StandardTable {
public:
    struct Row {
        QString Name;
        QList<double> Values;
    };
    struct Group {
        QString Key;
        QString Title;
        QStringList Columns;
        QList<Row> Rows;
        // The value of a named column; nothing when the group has no such column.
        std::optional<double> Value(const Row& row, const QString& column) const;
    };

    // Throws std::runtime_error with a message naming the file (and the line of a bad row).
    static StandardTable Read(const QString& path);
    static StandardTable Parse(const QByteArray& bytes, const QString& path);

    const QList<Group>& Groups() const { return groups; }
    const Group* Find(const QString& key) const;

private:
    QList<Group> groups;
};
