#pragma once

#include "ProfileValues.h"
#include "TableBlock.h"

#include <QDialog>

class QTableWidget;
class UserDialogs;

// "Profiles": a row of profile-kind buttons (one per kind of the standard table, and one for
// a section file drawn in the section editor), the grid of the table's items with the values
// the problem type needs, "&Insert", "&Delete" and OK. A kind button or "&Insert" opens the
// standard profiles of that kind; the chosen ones become new items.
class TProfilesForm : public QDialog {
    Q_OBJECT

public:
    TProfilesForm(UserDialogs& dialogs, const StandardTable& table, int problem,
                  const UnitScale& units, const QStringList& block, QWidget* parent);

    const TableBlock& Block() const { return block; }
    QTableWidget* Grid() const { return grid; }

    // Adds each section as a new item, when the problem type can take it.
    void InsertSections(const QList<SectionValues>& sections);
    // Adds the characteristics of a ".geo" file; errors are shown, nothing is added then.
    void InsertSectionFile(const QString& path);
    void DeleteClick();
    // Opens the standard profiles of a kind (the last one used for "&Insert").
    void KindClick(const QString& key);
    void SectionFileClick();

private:
    void FillGrid();

    UserDialogs& dialogs;
    const StandardTable& table;
    int problem;
    UnitScale units;
    TableBlock block;
    QString lastKind;
    QTableWidget* grid = nullptr;
};
