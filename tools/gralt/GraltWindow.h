#pragma once

#include "MeshRegion.h"

#include <QDialog>
#include <vector>

class MeshView;
class QLabel;
class QTableWidget;
class UserDialogs;

// The region mesher's window: a table of quadrilateral regions (four corners, the divisions
// of their sides, material and section), the mesh they make, and OK, which writes the project
// and the mesh into the toolset's data folder, or Cancel, which writes nothing.
class GraltWindow : public QDialog {
    Q_OBJECT

public:
    // `problem` (9, 10, 11, 13 or 16) names the coordinates; problems without sections hide
    // the section column. The regions come from the project in `dataFolder`, or, without
    // one, from the mesh the data file already holds.
    GraltWindow(const QString& dataFolder, int problem, const QString& dataFile,
                UserDialogs& dialogs, QWidget* parent = nullptr);

    QTableWidget* RegionTable() const { return table_; }
    QString Status() const;
    // The regions as the table gives them; none when a cell is not a number.
    std::vector<MeshRegion> Regions(QString* error = nullptr) const;

    void AddRegion();
    void RemoveRegion();
    void done(int result) override;

private:
    void Load();
    void SetRegions(const std::vector<MeshRegion>& regions);
    // Reads the cells of one row again after an edit; the other rows keep what was read.
    void ReadRow(int row);
    void Remesh();

    // Each row of the table as read: its region, or why its cells make none.
    struct Row {
        MeshRegion Region;
        QString Error;
    };

    QString dataFolder_;
    QString dataFile_;
    UserDialogs& dialogs_;
    QStringList headings_;
    QTableWidget* table_;
    MeshView* view_;
    QLabel* status_;
    std::vector<Row> rows_;
    bool filling_ = false;
};
