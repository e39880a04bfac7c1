#pragma once

#include "StandardTable.h"
#include "TableBlock.h"
#include "UnitScale.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QTableWidget;

// "Materials": a group and a material chooser, the units of the data file, the grid of the
// table's items (E nu gamma alpha), "&Insert" (the chosen material as a new item), "&Delete"
// and OK.
class TMaterialsForm : public QDialog {
    Q_OBJECT

public:
    TMaterialsForm(const StandardTable& table, const UnitScale& units, const QStringList& block,
                   QWidget* parent);

    const TableBlock& Block() const { return block; }
    QTableWidget* Grid() const { return grid; }
    void Choose(const QString& groupKey, const QString& name);
    void InsertClick();
    void DeleteClick();

private:
    void FillMaterials();
    void FillGrid();

    const StandardTable& table;
    UnitScale units;
    TableBlock block;
    QComboBox* groupBox = nullptr;
    QComboBox* materialBox = nullptr;
    QTableWidget* grid = nullptr;
};
