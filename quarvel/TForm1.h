#pragma once

#include "DrawingInteraction.h"
#include "DrawingState.h"
#include "ToolButtons.h"

#include <QMainWindow>
#include <QPixmap>
#include <QVector>
#include <array>
#include <memory>

class QAction;
class QActionGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QSplitter;
class QTableWidget;
class QTextEdit;
class QToolBar;
class RulerBar;
class SectionCanvas;
class PrinterSource;
class UserDialogs;

// The section editor's window. It builds the controls, keeps them in step with the drawing
// state and forwards every event to the state and the plain classes that work on it.
class TForm1 : public QMainWindow, private ToolButtons {
    Q_OBJECT

public:
    // `arguments` are the program's arguments without the program name.
    TForm1(UserDialogs& dialogs, PrinterSource& printers, const QStringList& arguments,
           QWidget* parent = nullptr);
    ~TForm1() override;

    DrawingState& State() { return *state_; }
    SectionCanvas* Canvas() const { return canvas_; }
    QString StartDir() const { return startDir_; }

    // Handlers named after their controls and events.
    void InitAll();
    void FreeAll();
    void FormResize();
    void FormMouseMove(QPoint p);
    void LeftBarMouseDown();
    void TopBarMouseDown();
    void FormDragOver(QPoint p);
    void FormDragDrop(QPoint p);
    void EndDrag();
    void GeomRadioBtnClick();
    void SectRadioBtnClick();
    // Both return false when the user cancelled the dialog; errors are shown, and rethrown
    // to the caller only by the save when `rethrow` is set (closing needs to know).
    bool FileOpenExecute();
    bool FileSaveExecute(bool rethrow = false);
    void HelpActionExecute();
    // Reads a section file into the drawing, as File > Open does after its dialog. Throws
    // when the file cannot be read; the drawing then stays as it was.
    void OpenSectionFile(const QString& fileName);
    void ShapeToolExecute(int kind, bool filled);
    void ShapeToolReleased();
    void SelectExecute();
    void UndoExecute();
    void FormMouseUp(QPoint p);
    void FormMouseDown(QPoint p);
    void FormKeyUp(int key);
    void PrintBtnClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // ToolButtons
    void AllUp() override;
    void ReleaseKind(int kind) override;
    void PressTool(int kind, bool filled) override;
    void SetSelectDown(bool down) override;
    bool SelectDown() const override;

    void ApplyCurrentGridRow();
    void NodesGridItemChanged(int row);
    void NodesGridSelectCell(int row);
    void NodesGridExit();
    bool InGrid(const QWidget* widget) const;
    static bool IsTextField(const QWidget* widget);
    void BuildToolBar();
    void BuildPanel();
    void BuildStatusBar();
    void FormPaint(QPainter& canvas);
    void PlaceOrigin();
    // The file the drawing was last opened from or saved to: the title shows it, the save
    // dialog starts on it, and what it holds tells whether the drawing has changed since.
    void SetCurrentFile(const QString& fileName);
    QByteArray Content() const;
    bool DrawingChanged() const;
    void ShowError(const QString& message);
    void ShowErrorLater(const QString& message);
    void SyncControls();
    void SyncGrid();
    void SyncResults();
    void SyncStatusPointer(QPoint p);
    QAction* ShapeAction(int index) const { return shapeActions_.at(std::size_t(index)); }

    UserDialogs& dialogs_;
    PrinterSource& printers_;
    std::unique_ptr<DrawingState> state_;
    std::unique_ptr<DrawingInteraction> interaction_;
    QString startDir_;
    QVector<QPixmap> images_;
    QString pendingError_;
    QString currentFile_;
    QByteArray savedContent_;

    SectionCanvas* canvas_ = nullptr;
    RulerBar* topBar_ = nullptr;
    RulerBar* leftBar_ = nullptr;
    QWidget* panel_ = nullptr;
    QSplitter* splitter_ = nullptr;
    QTableWidget* nodesGrid_ = nullptr;
    QTextEdit* resultsEdit_ = nullptr;
    QToolBar* toolBar_ = nullptr;
    QComboBox* unitsCombo_ = nullptr;
    QLineEdit* scaleEdit_ = nullptr;
    QRadioButton* geomRadioBtn_ = nullptr;
    QRadioButton* sectRadioBtn_ = nullptr;
    QAction* geomRadioAction_ = nullptr;
    QAction* sectRadioAction_ = nullptr;
    QLabel* pointerPanel_ = nullptr;
    QLabel* shapesPanel_ = nullptr;
    QLabel* problemPanel_ = nullptr;
    std::array<QAction*, DrawingState::ShapeToolCount> shapeActions_{};
    QActionGroup* shapeGroup_ = nullptr;
    QAction* selectAction_ = nullptr;
    QAction* undoAction_ = nullptr;
    QStringList shownResults_;
    bool shownOnce_ = false;
};
