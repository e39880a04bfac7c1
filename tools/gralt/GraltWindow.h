#pragma once

#include "EdgeCondition.h"
#include "Mesh.h"
#include "MeshRegion.h"

#include <QDialog>
#include <vector>

class MeshView;
class QDialogButtonBox;
class QLabel;
class QTableWidget;
class QTabWidget;
class UserDialogs;

// The region mesher's window: a table of quadrilateral regions (four corners, the divisions
// of their sides, material and section), a table of edge conditions (supports and edge loads
// on the regions' sides and corners), the mesh they make with its supports and loads marked,
// and OK, which writes the project and the mesh into the toolset's data folder, or Cancel,
// which writes nothing.
class GraltWindow : public QDialog {
    Q_OBJECT

public:
    // `problem` (9, 10, 11, 13 or 16) names the coordinates; problems without sections hide
    // the section column. The regions come from the project in `dataFolder`, or, without
    // one, from the mesh the data file already holds.
    GraltWindow(const QString& dataFolder, int problem, const QString& dataFile,
                UserDialogs& dialogs, QWidget* parent = nullptr);

    QTableWidget* RegionTable() const { return table_; }
    QTableWidget* EdgeTable() const { return edgeTable_; }
    QTabWidget* Tabs() const { return tabs_; }
    QString Status() const;
    // The regions as the table gives them; none when a cell is not a number.
    std::vector<MeshRegion> Regions(QString* error = nullptr) const;
    // The edge conditions as their table gives them; none when a row cannot be read.
    std::vector<EdgeCondition> Conditions(QString* error = nullptr) const;

    void AddRegion();
    void RemoveRegion();
    // A support of side 1-2 of the current region, fixed in every displacement.
    void AddEdge();
    void RemoveEdge();
    void done(int result) override;

private:
    void Load();
    void SetRegions(const std::vector<MeshRegion>& regions);
    void SetConditions(const std::vector<EdgeCondition>& conditions);
    void FillEdgeRow(int row, const EdgeCondition& condition);
    // Reads the cells of one row again after an edit; the other rows keep what was read.
    void ReadRow(int row);
    void ReadEdgeRow(int row);
    // A kind or place typed anew leaves no values of the old kind behind.
    void RetypeEdgeRow(int row);
    void Remesh();
    // Shows whether a row is at fault: tinted, with the fault as its tooltip.
    void AddPictureButtons(QDialogButtonBox* buttons);
    void MarkRow(QTableWidget* table, int row, const QString& fault, bool& marked);
    // Whether the mesh may replace the data file's: asks when it removes items of the file
    // or changes its outline, and refuses a mesh the follow-up would not take.
    bool ConfirmReplacement(const Mesh& mesh);

    // Each row of the table as read: the region it gave last, and why its cells make none
    // now.
    struct Row {
        MeshRegion Region;
        QString Error;
        bool Marked = false;
    };
    struct EdgeRow {
        EdgeCondition Condition;
        QString Error;
        bool Marked = false;
    };

    QString dataFolder_;
    QString dataFile_;
    int problem_;
    UserDialogs& dialogs_;
    QStringList headings_;
    QTabWidget* tabs_;
    QTableWidget* table_;
    QTableWidget* edgeTable_;
    MeshView* view_;
    QLabel* status_;
    std::vector<Row> rows_;
    std::vector<EdgeRow> edgeRows_;
    bool filling_ = false;
    // The regions came from the data file's own mesh, not from a project: its supports and
    // loads were given by hand, not by an earlier run of the mesher.
    bool fromTheFile_ = false;
    // The regions are the rectangle around the data file's mesh, not its outline.
    bool aroundTheMesh_ = false;
};
