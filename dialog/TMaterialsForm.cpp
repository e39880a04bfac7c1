#include "TMaterialsForm.h"

#include "ItemButtons.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

TMaterialsForm::TMaterialsForm(const StandardTable& table, const UnitScale& units,
                               const QStringList& lines, QWidget* parent)
    : QDialog(parent), table(table), units(units), block(lines) {
    setObjectName(QStringLiteral("MaterialsForm"));
    setWindowTitle(QStringLiteral("Materials"));
    groupBox = new QComboBox(this);
    for (const StandardTable::Group& group : table.Groups())
        groupBox->addItem(group.Title, group.Key);
    materialBox = new QComboBox(this);
    materialBox->setMinimumContentsLength(14);
    auto* unitText = new QLabel(QStringLiteral("Units: E in %1/%2\u00b2, gamma in %1/%2\u00b3")
                                    .arg(units.ForceName(), units.LengthName()),
                                this);
    grid = new QTableWidget(0, 6, this);
    grid->setHorizontalHeaderLabels({QStringLiteral("No"), QStringLiteral("E"),
                                     QStringLiteral("nu"), QStringLiteral("gamma"),
                                     QStringLiteral("alpha"), QStringLiteral("Remark")});
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->verticalHeader()->hide();
    grid->horizontalHeader()->setStretchLastSection(true);

    auto* choosers = new QHBoxLayout;
    choosers->addWidget(new QLabel(QStringLiteral("Group:"), this));
    choosers->addWidget(groupBox, 1);
    choosers->addWidget(new QLabel(QStringLiteral("Material:"), this));
    choosers->addWidget(materialBox);
    const ItemButtons buttons = ItemButtons::Make(this);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(choosers);
    layout->addWidget(unitText);
    layout->addWidget(grid, 1);
    layout->addLayout(buttons.Row);
    resize(760, 360);

    connect(groupBox, &QComboBox::currentIndexChanged, this, &TMaterialsForm::FillMaterials);
    connect(buttons.Insert, &QPushButton::clicked, this, &TMaterialsForm::InsertClick);
    connect(buttons.Delete, &QPushButton::clicked, this, &TMaterialsForm::DeleteClick);
    FillMaterials();
    FillGrid();
}

void TMaterialsForm::Choose(const QString& groupKey, const QString& name) {
    const int group = groupBox->findData(groupKey);
    if (group >= 0)
        groupBox->setCurrentIndex(group);
    const int material = materialBox->findText(name);
    if (material >= 0)
        materialBox->setCurrentIndex(material);
}

void TMaterialsForm::FillMaterials() {
    materialBox->clear();
    if (const StandardTable::Group* group = table.Find(groupBox->currentData().toString()))
        for (const StandardTable::Row& row : group->Rows)
            materialBox->addItem(row.Name);
}

void TMaterialsForm::FillGrid() {
    const QList<TableBlock::Item> items = block.Items();
    grid->setRowCount(int(items.size()));
    for (int row = 0; row < items.size(); ++row) {
        const TableBlock::Item& item = items[row];
        grid->setItem(row, 0, new QTableWidgetItem(QString::number(item.Number)));
        for (int k = 0; k < item.Values.size() && k < 4; ++k)
            grid->setItem(row, k + 1, new QTableWidgetItem(item.Values[k]));
        grid->setItem(row, 5, new QTableWidgetItem(item.Remark));
    }
}

void TMaterialsForm::InsertClick() {
    const StandardTable::Group* group = table.Find(groupBox->currentData().toString());
    const int index = materialBox->currentIndex();
    if (!group || index < 0 || index >= group->Rows.size())
        return;
    const StandardTable::Row& row = group->Rows[index];
    auto value = [&](const char* column) {
        return group->Value(row, QString::fromLatin1(column)).value_or(0.0);
    };
    block.Append({units.FromMegapascals(value("E")), value("nu"),
                  units.FromKilonewtonsPerCubicMetre(value("gamma")), value("alpha")},
                 row.Name);
    FillGrid();
    grid->selectRow(grid->rowCount() - 1);
}

void TMaterialsForm::DeleteClick() {
    const int row = grid->currentRow();
    if (row < 0)
        return;
    block.RemoveItem(row);
    FillGrid();
}
