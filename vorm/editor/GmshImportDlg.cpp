#include "GmshImportDlg.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

constexpr GroupMap::Role Roles[] = {GroupMap::Role::Support, GroupMap::Role::Load,
                                    GroupMap::Role::Spring, GroupMap::Role::Material};

QTableWidgetItem* Fixed(const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(item->flags() & ~Qt::ItemIsEditable);
    return item;
}

} // namespace

GmshImportDlg::GmshImportDlg(const std::vector<GroupChoices::Row>& rows, QWidget* parent)
    : QDialog(parent), rows(rows) {
    setObjectName(QStringLiteral("GmshImportDlg"));
    setWindowTitle(QStringLiteral("Import a Gmsh mesh"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(
        QStringLiteral("Give each physical group its role; values are separated by blanks."),
        this));
    table = new QTableWidget(int(rows.size()), 5, this);
    table->setHorizontalHeaderLabels({QStringLiteral("Group"), QStringLiteral("Dimension"),
                                      QStringLiteral("Elements"), QStringLiteral("Role"),
                                      QStringLiteral("Values")});
    table->horizontalHeader()->setStretchLastSection(true);
    for (int r = 0; r < int(rows.size()); ++r) {
        const GroupChoices::Row& row = rows[r];
        table->setItem(
            r, 0, Fixed(row.Name.isEmpty() ? GroupMap::Key(row.Dimension, row.Tag) : row.Name));
        table->setItem(r, 1, Fixed(QString::number(row.Dimension)));
        table->setItem(r, 2, Fixed(QString::number(row.Count)));
        auto* role = new QComboBox(table);
        role->addItem(QStringLiteral("none"));
        for (GroupMap::Role kind : Roles)
            role->addItem(GroupMap::RoleName(kind));
        if (row.Role)
            role->setCurrentIndex(int(*row.Role) + 1);
        table->setCellWidget(r, 3, role);
        QStringList values;
        for (double value : row.Values)
            values << QString::number(value, 'g', 12);
        table->setItem(r, 4, new QTableWidgetItem(values.join(u' ')));
    }
    table->resizeColumnsToContents();
    layout->addWidget(table, 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(560, 360);
}

std::vector<GroupChoices::Row> GmshImportDlg::Rows() const {
    std::vector<GroupChoices::Row> chosen = rows;
    for (int r = 0; r < int(chosen.size()); ++r) {
        const int index = static_cast<QComboBox*>(table->cellWidget(r, 3))->currentIndex();
        chosen[r].Role = index > 0 ? std::optional(Roles[index - 1]) : std::nullopt;
        chosen[r].Values.clear();
        // A word that is no number is refused in accept(); it is never read as zero.
        for (const QString& word : table->item(r, 4)->text().split(u' ', Qt::SkipEmptyParts)) {
            bool ok = false;
            const double value = word.toDouble(&ok);
            if (ok)
                chosen[r].Values.push_back(value);
        }
    }
    return chosen;
}

void GmshImportDlg::accept() {
    for (int r = 0; r < table->rowCount(); ++r)
        for (const QString& word : table->item(r, 4)->text().split(u' ', Qt::SkipEmptyParts)) {
            bool ok = false;
            word.toDouble(&ok);
            if (!ok) {
                QMessageBox::warning(this, windowTitle(),
                                     QStringLiteral("Group %1: \"%2\" is no number.")
                                         .arg(table->item(r, 0)->text(), word));
                table->setCurrentCell(r, 4);
                return;
            }
        }
    QDialog::accept();
}

bool GmshImportDlg::Choose(QWidget* parent, std::vector<GroupChoices::Row>& rows) {
    GmshImportDlg dialog(rows, parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    rows = dialog.Rows();
    return true;
}
