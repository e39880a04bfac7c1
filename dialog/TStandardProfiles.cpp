#include "TStandardProfiles.h"

#include "ItemButtons.h"
#include "TableBlock.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

// The grid's twelve columns: the dimensions of every kind, then the characteristics.
const char* const Columns[] = {"Profile", "h", "b", "tw", "tf", "t",
                               "r",       "D", "A", "Iy", "Iz", "It"};

} // namespace

TStandardProfiles::TStandardProfiles(const StandardTable& table, const UnitScale& units,
                                     const QString& kind, QWidget* parent)
    : QDialog(parent), table(table), units(units) {
    setObjectName(QStringLiteral("StandardProfiles"));
    setWindowTitle(QStringLiteral("Standard profiles"));
    kindBox = new QComboBox(this);
    for (const StandardTable::Group& group : table.Groups())
        kindBox->addItem(group.Key + QStringLiteral("  ") + group.Title, group.Key);
    typeBox = new QComboBox(this);
    typeBox->setMinimumContentsLength(14);
    dimension = new QLabel(QStringLiteral("Linear dimension: ") + units.LengthName(), this);
    grid = new QTableWidget(0, 12, this);
    QStringList headings;
    for (const char* column : Columns)
        headings << QString::fromLatin1(column);
    grid->setHorizontalHeaderLabels(headings);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->verticalHeader()->hide();
    grid->horizontalHeader()->setDefaultSectionSize(72);

    auto* choosers = new QHBoxLayout;
    choosers->addWidget(new QLabel(QStringLiteral("Kind:"), this));
    choosers->addWidget(kindBox, 1);
    choosers->addWidget(new QLabel(QStringLiteral("Type:"), this));
    choosers->addWidget(typeBox);
    choosers->addWidget(dimension);
    const ItemButtons buttons = ItemButtons::Make(this);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(choosers);
    layout->addWidget(grid, 1);
    layout->addLayout(buttons.Row);
    resize(980, 360);

    connect(kindBox, &QComboBox::currentIndexChanged, this, &TStandardProfiles::FillTypes);
    connect(buttons.Insert, &QPushButton::clicked, this, &TStandardProfiles::InsertClick);
    connect(buttons.Delete, &QPushButton::clicked, this, &TStandardProfiles::DeleteClick);
    ChooseKind(kind);
    FillTypes();
}

void TStandardProfiles::ChooseKind(const QString& key) {
    const int index = kindBox->findData(key);
    if (index >= 0)
        kindBox->setCurrentIndex(index);
}

void TStandardProfiles::ChooseType(const QString& name) {
    const int index = typeBox->findText(name);
    if (index >= 0)
        typeBox->setCurrentIndex(index);
}

const StandardTable::Group* TStandardProfiles::CurrentGroup() const {
    return table.Find(kindBox->currentData().toString());
}

void TStandardProfiles::FillTypes() {
    typeBox->clear();
    if (const StandardTable::Group* group = CurrentGroup())
        for (const StandardTable::Row& row : group->Rows)
            typeBox->addItem(row.Name);
}

void TStandardProfiles::InsertClick() {
    const StandardTable::Group* group = CurrentGroup();
    const int index = typeBox->currentIndex();
    if (!group || index < 0 || index >= group->Rows.size())
        return;
    const StandardTable::Row& row = group->Rows[index];
    chosen << ProfileValues::FromRow(*group, row, units);
    const int line = grid->rowCount();
    grid->insertRow(line);
    grid->setItem(line, 0, new QTableWidgetItem(row.Name));
    for (int column = 1; column < 12; ++column) {
        const QString name = QString::fromLatin1(Columns[column]);
        const auto value = group->Value(row, name);
        if (!value)
            continue;
        const double converted = column <= 7   ? units.FromMillimetres(*value)
                                 : column == 8 ? units.FromSquareCentimetres(*value)
                                               : units.FromQuarticCentimetres(*value);
        grid->setItem(line, column, new QTableWidgetItem(TableBlock::FormatNumber(converted)));
    }
    grid->selectRow(line);
}

void TStandardProfiles::DeleteClick() {
    const int line = grid->currentRow();
    if (line < 0 || line >= chosen.size())
        return;
    grid->removeRow(line);
    chosen.removeAt(line);
}
