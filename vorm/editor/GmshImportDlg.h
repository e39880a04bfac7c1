#pragma once

#include "GroupChoices.h"

#include <QDialog>
#include <vector>

class QTableWidget;

// Lists a mesh's physical groups and lets the user give each one a role and its values.
class GmshImportDlg : public QDialog {
    Q_OBJECT

public:
    GmshImportDlg(const std::vector<GroupChoices::Row>& rows, QWidget* parent = nullptr);
    // The rows with the roles and values as the user left them.
    std::vector<GroupChoices::Row> Rows() const;
    // Shows the dialog; false when the user cancels, `rows` then unchanged.
    static bool Choose(QWidget* parent, std::vector<GroupChoices::Row>& rows);

protected:
    // Keeps the dialog open on a value that is no number, naming its group.
    void accept() override;

private:
    std::vector<GroupChoices::Row> rows;
    QTableWidget* table = nullptr;
};
