#include "GraltWindow.h"

#include "EdgeTexts.h"
#include "InputText.h"
#include "MeshConditions.h"
#include "MeshOutline.h"
#include "MeshOutput.h"
#include "MeshView.h"
#include "PictureActions.h"
#include "RegionMesher.h"
#include "RegionTexts.h"
#include "UserDialogs.h"
#include "VosherCommand.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSplitter>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

// The names of the two coordinates of table 4 for the mesher's problem types.
std::pair<QString, QString> Axes(int problem) {
    switch (problem) {
    case 11:
        return {QStringLiteral("r"), QStringLiteral("z")};
    case 13:
        return {QStringLiteral("x"), QStringLiteral("y")};
    case 16:
        return {QStringLiteral("y"), QStringLiteral("z")};
    default:
        return {QStringLiteral("x"), QStringLiteral("z")};
    }
}

MeshRegion ExampleRegion() {
    return {{QPointF(0, 0), QPointF(4, 0), QPointF(4, 2), QPointF(0, 2)}, 8, 4, 1, 1};
}

} // namespace

GraltWindow::GraltWindow(const QString& dataFolder, int problem, const QString& dataFile,
                         UserDialogs& dialogs, QWidget* parent)
    : QDialog(parent), dataFolder_(dataFolder), dataFile_(dataFile), problem_(problem),
      dialogs_(dialogs), tabs_(new QTabWidget(this)),
      table_(new QTableWidget(0, RegionTexts::Columns, this)),
      edgeTable_(new QTableWidget(0, EdgeTexts::Columns, this)),
      view_(new MeshView(problem == 13, this)), status_(new QLabel(this)) {
    setWindowTitle(QStringLiteral("Gralt - regions of %1").arg(QFileInfo(dataFile).fileName()));
    const auto [first, second] = Axes(problem);
    headings_ = RegionTexts::Headings(first, second);
    table_->setHorizontalHeaderLabels(headings_);
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    const bool sections = problem == 9 || problem == 13;
    table_->setColumnHidden(RegionTexts::Columns - 1, !sections);

    auto* add = new QPushButton(QStringLiteral("&Add region"), this);
    auto* remove = new QPushButton(QStringLiteral("&Remove region"), this);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto* rowButtons = new QHBoxLayout;
    rowButtons->addWidget(add);
    rowButtons->addWidget(remove);
    rowButtons->addStretch();

    auto* hint = new QLabel(
        QStringLiteral("Corners in order around each region. Sides 1-2 and 4-3 are divided into "
                       "\"Parts 1-2\", sides 2-3 and 1-4 into \"Parts 2-3\". Regions that share "
                       "an edge share its nodes."),
        this);
    hint->setWordWrap(true);
    auto* regionsPage = new QWidget(this);
    auto* regionsLayout = new QVBoxLayout(regionsPage);
    regionsLayout->addWidget(hint);
    regionsLayout->addWidget(table_);
    regionsLayout->addLayout(rowButtons);

    edgeTable_->setHorizontalHeaderLabels(EdgeTexts::Headings(problem == 13));
    edgeTable_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    const QStringList codes = EdgeConditions::SupportCodes(problem);
    QString edgeHint;
    if (codes.isEmpty()) {
        edgeHint = QStringLiteral("A torsion profile takes no supports or loads: its contours "
                                  "are found from the mesh and written as table 6.");
    } else {
        edgeHint = QStringLiteral("Per row a side (1-2, 2-3, 3-4, 4-1) or corner (1 to 4) of a "
                                  "region. support: the codes %1 (1 fixed) in the values.")
                       .arg(codes.join(QStringLiteral(" ")));
        if (problem == 13)
            edgeHint += QStringLiteral(" Loads act along z, as the pressure p of table 8 does: "
                                       "pressure on a side, per unit length, q1 q2 from its "
                                       "first corner to its second; pressure over the area "
                                       "(place \"area\"), per unit area, p.");
        else if (EdgeConditions::TakesEdgeLoads(problem))
            edgeHint += QStringLiteral(" Loads per unit length of a side, from its first corner "
                                       "to its second: pressure q1 q2 (positive into the "
                                       "region); global q%1 q%2 at the first corner, then at "
                                       "the second.")
                            .arg(Axes(problem).first, Axes(problem).second);
    }
    auto* edgesHint = new QLabel(edgeHint, this);
    edgesHint->setWordWrap(true);
    auto* addEdge = new QPushButton(QStringLiteral("A&dd edge row"), this);
    auto* removeEdge = new QPushButton(QStringLiteral("Re&move edge row"), this);
    addEdge->setEnabled(!codes.isEmpty());
    auto* edgeButtons = new QHBoxLayout;
    edgeButtons->addWidget(addEdge);
    edgeButtons->addWidget(removeEdge);
    edgeButtons->addStretch();
    auto* edgesPage = new QWidget(this);
    auto* edgesLayout = new QVBoxLayout(edgesPage);
    edgesLayout->addWidget(edgesHint);
    edgesLayout->addWidget(edgeTable_);
    edgesLayout->addLayout(edgeButtons);

    tabs_->addTab(regionsPage, QStringLiteral("Regions"));
    tabs_->addTab(edgesPage, QStringLiteral("Edges"));
    auto* top = tabs_;
    auto* splitter = new QSplitter(Qt::Vertical, this);
    splitter->addWidget(top);
    splitter->addWidget(view_);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({220, 400});

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(splitter);
    layout->addWidget(status_);
    layout->addWidget(buttons);
    resize(760, 620);

    connect(add, &QPushButton::clicked, this, &GraltWindow::AddRegion);
    connect(remove, &QPushButton::clicked, this, &GraltWindow::RemoveRegion);
    AddPictureButtons(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(addEdge, &QPushButton::clicked, this, &GraltWindow::AddEdge);
    connect(removeEdge, &QPushButton::clicked, this, &GraltWindow::RemoveEdge);
    connect(table_, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
        if (filling_)
            return;
        ReadRow(item->row());
        Remesh();
    });
    connect(edgeTable_, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
        if (filling_)
            return;
        if (item->column() == 1 || item->column() == 2)
            RetypeEdgeRow(item->row());
        ReadEdgeRow(item->row());
        Remesh();
    });
    Load();
}

void GraltWindow::Load() {
    const MeshProject::Result project = MeshOutput::Load(dataFolder_);
    if (!project.Ok)
        dialogs_.ShowWarning(this, QStringLiteral("The project cannot be read and is not used: "
                                                  "%1")
                                       .arg(project.Error));
    if (project.Ok && !project.Regions.empty()) {
        SetConditions(project.Conditions);
        SetRegions(project.Regions);
        return;
    }
    // Without a project, the mesh the data file already holds gives the regions.
    MeshOutline::Regions outline;
    QFile data(dataFile_);
    if (data.open(QIODevice::ReadOnly) && data.size() <= InputText::MaxBytes)
        outline = MeshOutline::FromDataFile(data.readAll());
    fromTheFile_ = !outline.List.empty();
    aroundTheMesh_ = fromTheFile_ && !outline.Outline;
    SetRegions(!outline.List.empty() ? outline.List : std::vector{ExampleRegion()});
}

void GraltWindow::SetRegions(const std::vector<MeshRegion>& regions) {
    filling_ = true;
    table_->setUpdatesEnabled(false);
    table_->setRowCount(static_cast<int>(regions.size()));
    for (int row = 0; row < table_->rowCount(); ++row) {
        const QStringList cells = RegionTexts::ToTexts(regions[static_cast<size_t>(row)]);
        for (int column = 0; column < RegionTexts::Columns; ++column)
            table_->setItem(row, column, new QTableWidgetItem(cells[column]));
    }
    table_->setUpdatesEnabled(true);
    filling_ = false;
    rows_.assign(regions.size(), {});
    for (size_t row = 0; row < regions.size(); ++row)
        rows_[row].Region = regions[row];
    Remesh();
}

void GraltWindow::SetConditions(const std::vector<EdgeCondition>& conditions) {
    filling_ = true;
    edgeTable_->setRowCount(static_cast<int>(conditions.size()));
    for (int row = 0; row < edgeTable_->rowCount(); ++row)
        FillEdgeRow(row, conditions[static_cast<size_t>(row)]);
    filling_ = false;
    edgeRows_.assign(conditions.size(), {});
    for (size_t row = 0; row < conditions.size(); ++row)
        edgeRows_[row].Condition = conditions[row];
}

void GraltWindow::FillEdgeRow(int row, const EdgeCondition& condition) {
    const QStringList cells = EdgeTexts::ToTexts(condition);
    for (int column = 0; column < EdgeTexts::Columns; ++column)
        edgeTable_->setItem(row, column, new QTableWidgetItem(cells[column]));
}

void GraltWindow::ReadEdgeRow(int row) {
    if (row < 0 || row >= static_cast<int>(edgeRows_.size()))
        return;
    QStringList cells;
    for (int column = 0; column < EdgeTexts::Columns; ++column)
        cells << (edgeTable_->item(row, column) ? edgeTable_->item(row, column)->text()
                                                : QString());
    EdgeRow& read = edgeRows_[static_cast<size_t>(row)];
    read.Error.clear();
    const std::optional<EdgeCondition> condition =
        EdgeTexts::FromTexts(cells, read.Error, problem_ == 13);
    if (condition)
        read.Condition = *condition;
}

std::vector<EdgeCondition> GraltWindow::Conditions(QString* error) const {
    std::vector<EdgeCondition> conditions;
    for (size_t row = 0; row < edgeRows_.size(); ++row) {
        if (!edgeRows_[row].Error.isEmpty()) {
            if (error)
                *error = QStringLiteral("Edge row %1, %2").arg(row + 1).arg(edgeRows_[row].Error);
            return {};
        }
        conditions.push_back(edgeRows_[row].Condition);
    }
    return conditions;
}

void GraltWindow::AddEdge() {
    EdgeCondition condition;
    condition.Region = std::max(1, table_->currentRow() + 1);
    condition.Values.assign(static_cast<size_t>(EdgeConditions::SupportCodes(problem_).size()), 1);
    filling_ = true;
    const int row = edgeTable_->rowCount();
    edgeTable_->insertRow(row);
    FillEdgeRow(row, condition);
    filling_ = false;
    edgeRows_.push_back({condition, {}});
    Remesh();
    // The keyboard goes to the new row, so that it can be typed at once, cell by cell with Tab.
    edgeTable_->setCurrentCell(row, 0);
    edgeTable_->setFocus();
}

void GraltWindow::RetypeEdgeRow(int row) {
    QStringList cells;
    for (int column = 0; column < EdgeTexts::Columns; ++column)
        cells << (edgeTable_->item(row, column) ? edgeTable_->item(row, column)->text()
                                                : QString());
    const QStringList retyped = EdgeTexts::Retyped(cells, problem_);
    filling_ = true;
    for (int column = 0; column < EdgeTexts::Columns; ++column) {
        if (retyped[column] == cells[column])
            continue;
        if (QTableWidgetItem* item = edgeTable_->item(row, column))
            item->setText(retyped[column]);
        else
            edgeTable_->setItem(row, column, new QTableWidgetItem(retyped[column]));
    }
    filling_ = false;
}

void GraltWindow::RemoveEdge() {
    const int row = edgeTable_->currentRow();
    if (row < 0)
        return;
    edgeTable_->removeRow(row);
    edgeRows_.erase(edgeRows_.begin() + row);
    Remesh();
}

void GraltWindow::ReadRow(int row) {
    if (row < 0 || row >= static_cast<int>(rows_.size()))
        return;
    QStringList cells;
    for (int column = 0; column < RegionTexts::Columns; ++column)
        cells << (table_->item(row, column) ? table_->item(row, column)->text() : QString());
    Row& read = rows_[static_cast<size_t>(row)];
    read.Error.clear();
    const std::optional<MeshRegion> region = RegionTexts::FromTexts(cells, headings_, read.Error);
    if (region)
        read.Region = *region;
}

std::vector<MeshRegion> GraltWindow::Regions(QString* error) const {
    std::vector<MeshRegion> regions;
    regions.reserve(rows_.size());
    for (size_t row = 0; row < rows_.size(); ++row) {
        if (!rows_[row].Error.isEmpty()) {
            if (error)
                *error = QStringLiteral("Region %1, %2").arg(row + 1).arg(rows_[row].Error);
            return {};
        }
        regions.push_back(rows_[row].Region);
    }
    return regions;
}

void GraltWindow::AddRegion() {
    QString error;
    std::vector<MeshRegion> regions = Regions(&error);
    if (!error.isEmpty()) {
        dialogs_.ShowError(this, error);
        return;
    }
    // The new region continues the last one to the right, sharing its side 2-3, so that a
    // strip of regions is typed by changing only the new corners.
    MeshRegion next = regions.empty() ? ExampleRegion() : regions.back();
    if (!regions.empty()) {
        const QPointF shift = next.Corners[1] - next.Corners[0];
        next.Corners = {next.Corners[1], next.Corners[1] + shift, next.Corners[2] + shift,
                        next.Corners[2]};
    }
    // Only the new row is filled; the others keep their items.
    filling_ = true;
    const int row = table_->rowCount();
    table_->insertRow(row);
    const QStringList cells = RegionTexts::ToTexts(next);
    for (int column = 0; column < RegionTexts::Columns; ++column)
        table_->setItem(row, column, new QTableWidgetItem(cells[column]));
    filling_ = false;
    rows_.push_back({next, {}});
    Remesh();
    table_->setCurrentCell(row, 0);
    table_->setFocus();
}

void GraltWindow::RemoveRegion() {
    const int row = table_->currentRow();
    if (row < 0)
        return;
    table_->removeRow(row);
    rows_.erase(rows_.begin() + row);
    // The region's own edge rows go with it; the others follow their region's new number.
    // While a row cannot be read, the rows stay as typed.
    QString error;
    const std::vector<EdgeCondition> conditions = Conditions(&error);
    if (error.isEmpty())
        SetConditions(EdgeConditions::AfterRegionRemoved(conditions, row + 1));
    Remesh();
}

// The mesh as drawn, saved or printed; the dialogs are the window's own, so tests answer them.
void GraltWindow::AddPictureButtons(QDialogButtonBox* buttons) {
    const QFileInfo data(dataFile_);
    auto* pictures = new PictureActions(
        view_, PictureWriter::OfWidget(view_),
        [data] { return data.dir().filePath(data.completeBaseName() + QStringLiteral("-mesh")); },
        this);
    pictures->SetDialogs(dialogs_);
    for (QAction* action : {pictures->SaveAction(), pictures->PrintAction()}) {
        auto* button = new QToolButton(this);
        button->setDefaultAction(action);
        buttons->addButton(button, QDialogButtonBox::ActionRole);
        addAction(action);
    }
}

QString GraltWindow::Status() const {
    return status_->text();
}

void GraltWindow::MarkRow(QTableWidget* table, int row, const QString& fault, bool& marked) {
    const bool faulty = !fault.isEmpty();
    const QTableWidgetItem* first = table->item(row, 0);
    if (faulty == marked && (!faulty || (first && first->toolTip() == fault)))
        return;
    marked = faulty;
    filling_ = true;
    for (int column = 0; column < table->columnCount(); ++column) {
        if (QTableWidgetItem* item = table->item(row, column)) {
            item->setBackground(faulty ? QBrush(QColor(255, 215, 215)) : QBrush());
            item->setToolTip(fault);
        }
    }
    filling_ = false;
}

void GraltWindow::Remesh() {
    // A row that cannot be read keeps the region it gave last, and an edge row that cannot be
    // read or used is left out: the mesh stays in view, the faulty rows are marked, and the
    // line under the mesh says what is wrong with the first of them.
    QString fault;
    std::vector<MeshRegion> regions;
    regions.reserve(rows_.size());
    for (size_t row = 0; row < rows_.size(); ++row) {
        Row& read = rows_[row];
        regions.push_back(read.Region);
        if (!read.Error.isEmpty() && fault.isEmpty())
            fault = QStringLiteral("Region %1, %2").arg(row + 1).arg(read.Error);
        MarkRow(table_, int(row), read.Error, read.Marked);
    }
    QString edgeFault;
    std::vector<EdgeCondition> conditions;
    for (size_t row = 0; row < edgeRows_.size(); ++row) {
        EdgeRow& read = edgeRows_[row];
        QString error = read.Error;
        QString line =
            error.isEmpty() ? QString() : QStringLiteral("Edge row %1, %2").arg(row + 1).arg(error);
        if (error.isEmpty()) {
            error = EdgeConditions::Check(read.Condition, int(regions.size()), problem_);
            if (!error.isEmpty())
                line = QStringLiteral("Edge row %1: %2").arg(row + 1).arg(error);
        }
        if (error.isEmpty())
            conditions.push_back(read.Condition);
        else if (edgeFault.isEmpty())
            edgeFault = line;
        MarkRow(edgeTable_, int(row), error, read.Marked);
    }
    const RegionMesher::Result meshed = RegionMesher::Build(regions);
    if (!meshed.Ok) {
        status_->setText(fault.isEmpty() ? meshed.Error : fault);
        view_->SetMesh(meshed.Mesh_, regions, {});
        return;
    }
    const MeshConditions::Result tables =
        MeshConditions::Build(problem_, regions, meshed, conditions);
    QString text = QStringLiteral("%1 regions: %2 nodes, %3 elements")
                       .arg(regions.size())
                       .arg(meshed.Mesh_.Nodes.size())
                       .arg(meshed.Mesh_.Elements.size());
    if (!tables.Ok) {
        text = tables.Error;
    } else {
        for (const Mesh::Table& table : tables.Tables) {
            const bool contours = problem_ == 16;
            text += QStringLiteral(", %1 %2")
                        .arg(table.Items.size())
                        .arg(table.Number == 7   ? QStringLiteral("nodal loads")
                             : table.Number == 8 ? QStringLiteral("element loads")
                             : contours          ? QStringLiteral("contour nodes")
                                                 : QStringLiteral("supports"));
        }
    }
    status_->setText(!fault.isEmpty() ? fault : !edgeFault.isEmpty() ? edgeFault : text);
    view_->SetMesh(meshed.Mesh_, regions, tables.Ok ? conditions : std::vector<EdgeCondition>{});
}

bool GraltWindow::ConfirmReplacement(const Mesh& mesh) {
    if (!QFileInfo(dataFile_).isFile())
        return true;
    const MeshTransfer::Result transfer = VosherCommand::Preview(dataFile_, mesh);
    if (!transfer.Error.isEmpty()) {
        dialogs_.ShowError(this, QStringLiteral("The mesh is not written: %1 cannot take it: %2")
                                     .arg(QFileInfo(dataFile_).fileName(), transfer.Error));
        return false;
    }
    QStringList notes;
    if (aroundTheMesh_)
        notes << QStringLiteral("The regions are the rectangle around the mesh of %1, not its "
                                "outline: the new mesh changes the shape of the model.")
                     .arg(QFileInfo(dataFile_).fileName());
    // Items that the mesh's own tables replace are asked about only when they were given by
    // hand; after an earlier run they are that run's, made again from the rows.
    const QStringList lost = fromTheFile_ ? transfer.Replaced + transfer.Removed : transfer.Removed;
    if (!lost.isEmpty())
        notes << QStringLiteral("The new mesh replaces the mesh of %1, and these items, which "
                                "name its nodes or elements, go with it:")
                         .arg(QFileInfo(dataFile_).fileName()) +
                     QStringLiteral("\n") + lost.join(QStringLiteral("\n"));
    if (notes.isEmpty())
        return true;
    return dialogs_.AskYesNo(this, notes.join(QStringLiteral("\n\n")) +
                                       QStringLiteral("\n\nWrite the mesh?"));
}

void GraltWindow::done(int result) {
    if (result == QDialog::Accepted) {
        QString error;
        const std::vector<MeshRegion> regions = Regions(&error);
        const std::vector<EdgeCondition> conditions =
            error.isEmpty() ? Conditions(&error) : std::vector<EdgeCondition>{};
        MeshOutput::Built built;
        if (error.isEmpty()) {
            built = MeshOutput::Build(regions, conditions, problem_);
            error = built.Error;
        }
        if (error.isEmpty() && !ConfirmReplacement(built.Mesh_))
            return;
        if (error.isEmpty())
            error = MeshOutput::Write(dataFolder_, regions, conditions, built.Mesh_);
        if (!error.isEmpty()) {
            dialogs_.ShowError(this, QStringLiteral("The mesh is not written: %1").arg(error));
            return;
        }
    }
    QDialog::done(result);
}
