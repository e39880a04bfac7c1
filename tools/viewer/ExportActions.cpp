#include "ExportActions.h"

#include "CsvTable.h"
#include "ExportFiles.h"
#include "ResultTableModel.h"
#include "VtuExport.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QSaveFile>

ExportActions::ExportActions(QMainWindow* window, const ViewerModel& model,
                             const ViewerResults& results, const QString& dataPath,
                             std::function<Table()> table)
    : QObject(window), window_(window), model_(model), results_(results), dataPath_(dataPath),
      table_(std::move(table)) {
    // Under File, beside whatever else that menu holds.
    QMenu* file = window->menuBar()->findChild<QMenu*>(QStringLiteral("file"));
    if (!file) {
        file = window->menuBar()->addMenu(QStringLiteral("&File"));
        file->setObjectName(QStringLiteral("file"));
    }
    QMenu* exports = file->addMenu(QStringLiteral("&Export"));
    vtu_ = exports->addAction(QStringLiteral("ParaView (VTU)..."));
    vtu_->setToolTip(QStringLiteral("Every result as VTU files and a PVD series"));
    csv_ = exports->addAction(QStringLiteral("Table as CSV..."));
    vtu_->setEnabled(results_.Ok());
    csv_->setEnabled(table_().Model != nullptr);
    connect(vtu_, &QAction::triggered, this, &ExportActions::AskVtu);
    connect(csv_, &QAction::triggered, this, &ExportActions::AskCsv);
}

QString ExportActions::ExportVtu(const QString& pvdPath) const {
    if (!results_.Ok())
        return QStringLiteral("There are no results to export.");
    const QFileInfo pvd(pvdPath);
    return ExportFiles::Write(VtuExport::Files(model_, results_, pvd.completeBaseName()),
                              pvd.absolutePath())
        .Error;
}

QString ExportActions::ExportCsv(const QString& path) const {
    const Table table = table_();
    if (!table.Model)
        return QStringLiteral("There is no table to export.");
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(CsvTable::Of(*table.Model).toUtf8()) < 0 ||
        !file.commit())
        return QStringLiteral("The table could not be saved as %1: %2")
            .arg(QDir::toNativeSeparators(path), file.errorString());
    return {};
}

void ExportActions::AskVtu() {
    // Beside the data file and named after it; the ".vtu" files go beside the series.
    const QFileInfo data(dataPath_);
    const QString path = QFileDialog::getSaveFileName(
        window_, QStringLiteral("Export the results for ParaView"),
        data.dir().filePath(data.completeBaseName() + QStringLiteral(".pvd")),
        QStringLiteral("ParaView series (*.pvd)"));
    if (path.isEmpty())
        return;
    const QString error = ExportVtu(path);
    if (!error.isEmpty())
        QMessageBox::warning(window_, window_->windowTitle(), error);
}

void ExportActions::AskCsv() {
    const Table table = table_();
    const QFileInfo data(dataPath_);
    const QString suggested =
        data.dir().filePath(QStringLiteral("%1 %2 %3.csv")
                                .arg(data.completeBaseName(), table.Name, table.Entry)
                                .replace(u':', u' ')
                                .simplified());
    const QString path =
        QFileDialog::getSaveFileName(window_, QStringLiteral("Export the table as CSV"), suggested,
                                     QStringLiteral("CSV files (*.csv)"));
    if (path.isEmpty())
        return;
    const QString error = ExportCsv(path);
    if (!error.isEmpty())
        QMessageBox::warning(window_, window_->windowTitle(), error);
}
