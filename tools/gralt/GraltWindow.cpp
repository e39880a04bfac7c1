#include "GraltWindow.h"

#include "InputText.h"
#include "MeshOutline.h"
#include "MeshOutput.h"
#include "MeshView.h"
#include "RegionMesher.h"
#include "RegionTexts.h"
#include "UserDialogs.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSplitter>
#include <QTableWidget>
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
    : QDialog(parent), dataFolder_(dataFolder), dataFile_(dataFile), dialogs_(dialogs),
      table_(new QTableWidget(0, RegionTexts::Columns, this)), view_(new MeshView(this)),
      status_(new QLabel(this)) {
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
    auto* top = new QWidget(this);
    auto* topLayout = new QVBoxLayout(top);
    topLayout->setContentsMargins(0, 0, 0, 0);
    topLayout->addWidget(hint);
    topLayout->addWidget(table_);
    topLayout->addLayout(rowButtons);
    auto* splitter = new QSplitter(Qt::Vertical, this);
    splitter->addWidget(top);
    splitter->addWidget(view_);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({180, 420});

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(splitter);
    layout->addWidget(status_);
    layout->addWidget(buttons);
    resize(760, 620);

    connect(add, &QPushButton::clicked, this, &GraltWindow::AddRegion);
    connect(remove, &QPushButton::clicked, this, &GraltWindow::RemoveRegion);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(table_, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
        if (filling_)
            return;
        ReadRow(item->row());
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
        SetRegions(project.Regions);
        return;
    }
    // Without a project, the mesh the data file already holds gives the regions.
    std::vector<MeshRegion> outline;
    QFile data(dataFile_);
    if (data.open(QIODevice::ReadOnly) && data.size() <= InputText::MaxBytes)
        outline = MeshOutline::FromDataFile(data.readAll());
    SetRegions(!outline.empty() ? outline : std::vector{ExampleRegion()});
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
}

void GraltWindow::RemoveRegion() {
    const int row = table_->currentRow();
    if (row < 0)
        return;
    table_->removeRow(row);
    rows_.erase(rows_.begin() + row);
    Remesh();
}

QString GraltWindow::Status() const {
    return status_->text();
}

void GraltWindow::Remesh() {
    QString error;
    const std::vector<MeshRegion> regions = Regions(&error);
    if (!error.isEmpty()) {
        status_->setText(error);
        view_->SetMesh({}, {});
        return;
    }
    const RegionMesher::Result meshed = RegionMesher::Build(regions);
    status_->setText(meshed.Ok ? QStringLiteral("%1 regions: %2 nodes, %3 elements")
                                     .arg(regions.size())
                                     .arg(meshed.Mesh_.Nodes.size())
                                     .arg(meshed.Mesh_.Elements.size())
                               : meshed.Error);
    view_->SetMesh(meshed.Mesh_, meshed.Ok ? regions : std::vector<MeshRegion>{});
}

void GraltWindow::done(int result) {
    if (result == QDialog::Accepted) {
        QString error;
        const std::vector<MeshRegion> regions = Regions(&error);
        if (error.isEmpty())
            error = MeshOutput::Save(dataFolder_, regions);
        if (!error.isEmpty()) {
            dialogs_.ShowError(this, QStringLiteral("The mesh is not written: %1").arg(error));
            return;
        }
    }
    QDialog::done(result);
}
