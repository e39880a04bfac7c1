#pragma once

#include <QString>
#include <QStringList>
#include <vector>

// What a menu item of the problem menu does when chosen.
enum class MenuItemKind {
    Group, // a top-level group: "Статика", "Динамика", "Математика", "Други", "&Help"
    Problem,   // asks for a data file of its problem type
    Tool,      // runs a tool of the package
    DataFiles, // asks for any data file
    Help,      // opens the main help file
    About,     // shows the About box
};

// One item of the problem menu. The tag names the item in the menu text table and in the
// solver table; problem numbers are the last two digits of a data file's extension, the
// lower one for a file the input checker accepted, the upper one (50 more) for one not yet
// accepted.
struct ProblemEntry {
    int Tag;
    int GroupTag; // 0 for a top-level group
    MenuItemKind Kind;
    QString Handler; // the main window's handler of the item
    QString Caption; // shown until the language's menu texts replace it
    QString DefaultExtension;
    QString Patterns; // the file patterns after the menu text in the filter: "|*.d51;*.d01"
    int AcceptedNumber;
    int UnacceptedNumber;
    QString ToolProgram;       // base name of the tool's executable in the package directory
    QStringList ToolArguments; // its arguments
};

// The catalogue of everything the package can do, in menu order.
class ProblemCatalogue {
public:
    static const std::vector<ProblemEntry>& Entries();
    // nullptr for a tag that names no item.
    static const ProblemEntry* Find(int tag);

    // The solver executable's base name for tags 1 to 44; empty where the table has none.
    static QString SolverName(int tag);

    static constexpr int DataFilesTag = 111;
    static constexpr int TitleEntry = 71;
    static constexpr int DataFilesFilterEntry = 38;
};
