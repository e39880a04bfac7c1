#pragma once

#include "ViewerModel.h"
#include "ViewerResults.h"

#include <QObject>
#include <QString>
#include <functional>

class QAction;
class QMainWindow;
class ResultTableModel;

// The viewer's File > Export menu: every result for ParaView (a ".pvd" series and its ".vtu"
// files) and the table as it is chosen as CSV, each asked for a file name first. The writing
// itself is here too, without a dialog, so that it is tested without a display.
class ExportActions : public QObject {
    Q_OBJECT

public:
    // The table as the window shows it, and what names it in a suggested file name.
    struct Table {
        const ResultTableModel* Model = nullptr;
        QString Name, Entry;
    };
    ExportActions(QMainWindow* window, const ViewerModel& model, const ViewerResults& results,
                  const QString& dataPath, std::function<Table()> table);

    QAction* Vtu() const { return vtu_; }
    QAction* Csv() const { return csv_; }
    // An error message, or empty when written.
    QString ExportVtu(const QString& pvdPath) const;
    QString ExportCsv(const QString& path) const;

private:
    void AskVtu();
    void AskCsv();

    QMainWindow* window_;
    const ViewerModel& model_;
    const ViewerResults& results_;
    QString dataPath_;
    std::function<Table()> table_;
    QAction* vtu_;
    QAction* csv_;
};
