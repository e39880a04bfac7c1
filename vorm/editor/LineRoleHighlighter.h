#pragma once

#include <QSyntaxHighlighter>
#include <QTextCharFormat>

// Colours each line of an input-data file by its role: table headers "*", items "#" (their
// number and their remark after ";"), the end mark "&", headings inside the tables, and the
// lines outside the tables (a title before table 1, anything after the end mark).
//
// A line's colour depends only on its own text and on whether the tables have begun or ended
// above it, so an edit re-colours the edited lines and goes further only when it moves the
// start or the end of the tables.
class LineRoleHighlighter : public QSyntaxHighlighter {
    Q_OBJECT

public:
    enum class Role { Outside, Header, Item, EndMark, Heading };
    // Where a line stands: before the first header, among the tables, after the end mark.
    enum State { BeforeTables = 0, InTables = 1, AfterEnd = 2 };

    explicit LineRoleHighlighter(QTextDocument* document);

    // The role of a line given the state of the line above; `next` receives its own state.
    static Role RoleOf(const QString& text, State above, State* next);

protected:
    void highlightBlock(const QString& text) override;

private:
    QTextCharFormat header;
    QTextCharFormat itemNumber;
    QTextCharFormat remark;
    QTextCharFormat endMark;
    QTextCharFormat heading;
    QTextCharFormat outside;
};
