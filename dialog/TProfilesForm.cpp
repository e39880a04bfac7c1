#include "TProfilesForm.h"

#include "ItemButtons.h"
#include "SectionFileCharacteristics.h"
#include "TStandardProfiles.h"
#include "UserDialogs.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <stdexcept>

TProfilesForm::TProfilesForm(UserDialogs& dialogs, const StandardTable& table, int problem,
                             const UnitScale& units, const QStringList& lines, QWidget* parent)
    : QDialog(parent), dialogs(dialogs), table(table), problem(problem), units(units),
      block(lines) {
    setObjectName(QStringLiteral("ProfilesForm"));
    setWindowTitle(QStringLiteral("Profiles"));
    auto* kinds = new QHBoxLayout;
    for (const StandardTable::Group& group : table.Groups()) {
        auto* button = new QPushButton(group.Key, this);
        button->setObjectName(group.Key);
        button->setToolTip(group.Title);
        button->setAutoDefault(false);
        const QString key = group.Key;
        connect(button, &QPushButton::clicked, this, [this, key] { KindClick(key); });
        kinds->addWidget(button);
    }
    auto* geo = new QPushButton(QStringLiteral("Section &file..."), this);
    geo->setObjectName(QStringLiteral("SectionFile"));
    geo->setToolTip(QStringLiteral("A section drawn in the section editor (.geo)"));
    geo->setAutoDefault(false);
    connect(geo, &QPushButton::clicked, this, &TProfilesForm::SectionFileClick);
    kinds->addWidget(geo);
    kinds->addStretch(1);
    if (!table.Groups().isEmpty())
        lastKind = table.Groups().first().Key;

    QStringList headings{QStringLiteral("No")};
    headings << ProfileValues::Columns(problem) << QStringLiteral("Remark");
    grid = new QTableWidget(0, int(headings.size()), this);
    grid->setHorizontalHeaderLabels(headings);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->verticalHeader()->hide();
    grid->horizontalHeader()->setStretchLastSection(true);

    const ItemButtons buttons = ItemButtons::Make(this);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(kinds);
    layout->addWidget(grid, 1);
    layout->addLayout(buttons.Row);
    resize(760, 380);

    connect(buttons.Insert, &QPushButton::clicked, this, [this] { KindClick(lastKind); });
    connect(buttons.Delete, &QPushButton::clicked, this, &TProfilesForm::DeleteClick);
    FillGrid();
}

void TProfilesForm::FillGrid() {
    const QList<TableBlock::Item> items = block.Items();
    grid->setRowCount(int(items.size()));
    const int remarkColumn = grid->columnCount() - 1;
    for (int row = 0; row < items.size(); ++row) {
        const TableBlock::Item& item = items[row];
        grid->setItem(row, 0, new QTableWidgetItem(QString::number(item.Number)));
        for (int k = 0; k < item.Values.size() && k + 1 < remarkColumn; ++k)
            grid->setItem(row, k + 1, new QTableWidgetItem(item.Values[k]));
        grid->setItem(row, remarkColumn, new QTableWidgetItem(item.Remark));
    }
}

void TProfilesForm::InsertSections(const QList<SectionValues>& sections) {
    for (const SectionValues& section : sections) {
        const auto values = ProfileValues::ItemValues(problem, section);
        if (!values) {
            dialogs.ShowWarning(this, QStringLiteral("%1 does not suit the sections of this "
                                                     "problem type.")
                                          .arg(section.Name));
            continue;
        }
        block.Append(*values, section.Name);
    }
    FillGrid();
    grid->selectRow(grid->rowCount() - 1);
}

void TProfilesForm::InsertSectionFile(const QString& path) {
    try {
        InsertSections({SectionFileCharacteristics::Read(path, units)});
    } catch (const std::exception& error) {
        dialogs.ShowError(this, QString::fromUtf8(error.what()));
    }
}

void TProfilesForm::DeleteClick() {
    const int row = grid->currentRow();
    if (row < 0)
        return;
    block.RemoveItem(row);
    FillGrid();
}

void TProfilesForm::KindClick(const QString& key) {
    lastKind = key;
    TStandardProfiles standard(table, units, key, this);
    if (standard.exec() == QDialog::Accepted)
        InsertSections(standard.Chosen());
}

void TProfilesForm::SectionFileClick() {
    FileDialogRequest request;
    request.Title = QStringLiteral("Section file");
    request.Filter = QStringLiteral("Section files (*.geo)|*.geo|All files|*.*");
    request.DefaultExtension = QStringLiteral("geo");
    const QString path = dialogs.GetOpenFileName(this, request);
    if (!path.isEmpty())
        InsertSectionFile(path);
}
