#include "TForm1.h"

#include "HelpPage.h"
#include "NumberFormat.h"
#include "PackageSettings.h"
#include "PrinterSource.h"
#include "RulerBar.h"
#include "SectionCanvas.h"
#include "SectionFile.h"
#include "SectionPainter.h"
#include "SectionPrinter.h"
#include "ToolIcons.h"
#include "UserDialogs.h"
#include "UserFolders.h"

#include <QAbstractSpinBox>
#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSplitter>
#include <QStatusBar>
#include <QTableWidget>
#include <QTextEdit>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

const QString ShapeFilter = QStringLiteral("Shape files (*.geo)|*.geo");

struct ShapeTool {
    const char* action;
    const char* button;
    const char* caption;
    int image;
    int kind;
    bool filled;
};

// In tool-bar order; the first is the one tool of sectorial mode.
constexpr std::array<ShapeTool, DrawingState::ShapeToolCount> ShapeTools{{
    {"DrawfourAnglesFilled", "QuadangleFilledBtn", "DrawfourAngles", ToolIcons::QuadrangleFilled, 1,
     true},
    {"DrawTriAngleFilled", "TriangleFilledBtn", "Draw Triangle", ToolIcons::TriangleFilled, 2,
     true},
    {"DrawSectorFilled", "SectorFilledBtn", "Draw Sector", ToolIcons::SectorFilled, 3, true},
    {"DrawfourAnglesBlank", "QuadangleEmptyBtn", "Draw Quadangles Blank",
     ToolIcons::QuadrangleBlank, 1, false},
    {"DrawTriAngleBlank", "TriangleEmptyBtn", "Draw TriAngle Blank", ToolIcons::TriangleBlank, 2,
     false},
    {"DrawSectorBlank", "SectorEmptyBtn", "Draw Sector Blank", ToolIcons::SectorBlank, 3, false},
}};

QString WithTrailingSeparator(const QString& directory) {
    QString native = QDir::toNativeSeparators(directory);
    if (!native.endsWith(QDir::separator()))
        native += QDir::separator();
    return native;
}

} // namespace

TForm1::TForm1(UserDialogs& dialogs, PrinterSource& printers, const QStringList& arguments,
               QWidget* parent)
    : QMainWindow(parent), dialogs_(dialogs), printers_(printers),
      state_(std::make_unique<DrawingState>()),
      interaction_(std::make_unique<DrawingInteraction>(*state_, static_cast<ToolButtons&>(*this))),
      startDir_(QDir::currentPath()), images_(ToolIcons::Create()) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Quarvel"));

    canvas_ = new SectionCanvas(this);
    setCentralWidget(canvas_);
    topBar_ = new RulerBar(RulerBar::Orientation::Top, canvas_);
    topBar_->setObjectName(QStringLiteral("TopBar"));
    leftBar_ = new RulerBar(RulerBar::Orientation::Left, canvas_);
    leftBar_->setObjectName(QStringLiteral("LeftBar"));
    BuildPanel();
    canvas_->SetRulers(topBar_, leftBar_, panel_);
    BuildToolBar();
    BuildStatusBar();

    state_->DecimalPoint = NumberFormat::systemDecimalPoint();
    state_->SetBackgroundColor(canvas_->palette().color(QPalette::Window));
    state_->SetRepaintHandler([this] { canvas_->update(); });

    canvas_->OnPaint = [this](QPainter& painter) { FormPaint(painter); };
    canvas_->OnResize = [this] { FormResize(); };
    // While a guide is dragged the pointer may be over the area itself (when the drag began
    // there, or without a mouse grab); the drag goes on wherever the events arrive.
    canvas_->OnMouseMove = [this](QPoint p) {
        if (state_->DragSource) {
            if (canvas_->IsOwnArea(p))
                FormDragOver(p);
        } else {
            FormMouseMove(p);
        }
    };
    canvas_->OnMouseUp = [this](QPoint p) {
        if (state_->DragSource) {
            if (canvas_->IsOwnArea(p))
                FormDragDrop(p);
            EndDrag();
        } else {
            FormMouseUp(p);
        }
    };
    canvas_->OnMouseDown = [this](QPoint p) { FormMouseDown(p); };

    // Labels are laid out in the rulers' own font, so that none runs into the next.
    const auto textSize = [](const QWidget* bar) {
        return [metrics = bar->fontMetrics()](const QString& text) {
            return QSize(metrics.horizontalAdvance(text), metrics.height());
        };
    };
    topBar_->SetTickSource([this, textSize] {
        return RulerTicks::Top(state_->View().OriginX, state_->TickStep, state_->View().Scale,
                               panel_->x(), leftBar_->width(), state_->DecimalPoint,
                               textSize(topBar_));
    });
    leftBar_->SetTickSource([this, textSize] {
        return RulerTicks::Left(state_->View().OriginY, leftBar_->y(), leftBar_->height(),
                                state_->TickStep, state_->View().Scale, state_->DecimalPoint,
                                textSize(leftBar_), leftBar_->width());
    });
    topBar_->SetMarkerSource([this] { return state_->LastMouseX - 2; });
    leftBar_->SetMarkerSource([this] { return state_->LastMouseY - leftBar_->y() - 2; });
    connect(topBar_, &RulerBar::DragStarted, this, &TForm1::TopBarMouseDown);
    connect(leftBar_, &RulerBar::DragStarted, this, &TForm1::LeftBarMouseDown);
    for (RulerBar* bar : {topBar_, leftBar_}) {
        connect(bar, &RulerBar::DragMoved, this, [this](QPoint p) {
            if (state_->DragSource && canvas_->IsOwnArea(p))
                FormDragOver(p);
        });
        connect(bar, &RulerBar::DragEnded, this, [this](QPoint p, bool cancelled) {
            if (!state_->DragSource)
                return;
            if (!cancelled && canvas_->IsOwnArea(p))
                FormDragDrop(p);
            EndDrag();
        });
    }

    // The form previews keys: Delete works wherever the focus is, and Enter in the node grid
    // applies the row even while a cell is being edited.
    qApp->installEventFilter(this);
    nodesGrid_->installEventFilter(this);
    connect(nodesGrid_, &QTableWidget::itemChanged, this,
            [this](QTableWidgetItem* item) { NodesGridItemChanged(item->row() + 1); });
    connect(nodesGrid_, &QTableWidget::currentCellChanged, this,
            [this](int row) { NodesGridSelectCell(row + 1); });

    resize(1024, 700);
    InitAll();

    // Only the first argument counts, compared exactly. Any argument hides the mode switch,
    // and anything but "S" draws geometrically, so the mode is always one the files and the
    // calculation know.
    if (!arguments.isEmpty() && arguments.first() == QLatin1String("S"))
        SectRadioBtnClick();
    else
        GeomRadioBtnClick();
    if (!arguments.isEmpty())
        state_->ModeSwitchVisible = false;
    SyncControls();
    savedContent_ = Content(); // the empty drawing needs no saving
}

TForm1::~TForm1() = default;

void TForm1::BuildToolBar() {
    toolBar_ = addToolBar(QStringLiteral("Tools"));
    toolBar_->setObjectName(QStringLiteral("ToolBar1"));
    toolBar_->setMovable(false);
    toolBar_->setIconSize(QSize(16, 16));

    const auto addAction = [this](const char* name, const QString& caption, int image) {
        auto* action = new QAction(QIcon(images_[image]), caption, this);
        action->setObjectName(QLatin1String(name));
        return action;
    };
    QAction* open = addAction("FileOpen", QStringLiteral("Open File"), ToolIcons::Open);
    open->setShortcut(QKeySequence::Open);
    connect(open, &QAction::triggered, this, [this] { FileOpenExecute(); });
    QAction* save = addAction("FileSave", QStringLiteral("Save"), ToolIcons::Save);
    save->setShortcut(QKeySequence::Save);
    connect(save, &QAction::triggered, this, [this] { FileSaveExecute(); });
    QAction* print = addAction("PrintBtn", QStringLiteral("Print"), ToolIcons::Print);
    print->setShortcut(QKeySequence::Print);
    connect(print, &QAction::triggered, this, &TForm1::PrintBtnClick);
    toolBar_->addAction(open);
    toolBar_->addAction(save);
    toolBar_->addAction(print);
    toolBar_->widgetForAction(open)->setObjectName(QStringLiteral("FileOpenBtn"));
    toolBar_->widgetForAction(save)->setObjectName(QStringLiteral("FileSaveBtn"));
    toolBar_->widgetForAction(print)->setObjectName(QStringLiteral("PrintBtn"));
    toolBar_->addSeparator();

    shapeGroup_ = new QActionGroup(this);
    shapeGroup_->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    for (std::size_t i = 0; i < ShapeTools.size(); ++i) {
        const ShapeTool& tool = ShapeTools[i];
        QAction* action = addAction(tool.action, QLatin1String(tool.caption), tool.image);
        action->setCheckable(true);
        shapeGroup_->addAction(action);
        toolBar_->addAction(action);
        toolBar_->widgetForAction(action)->setObjectName(QLatin1String(tool.button));
        // A click on the pressed tool releases it; the tool must then be disarmed too.
        connect(action, &QAction::triggered, this, [this, tool](bool checked) {
            if (checked)
                ShapeToolExecute(tool.kind, tool.filled);
            else
                ShapeToolReleased();
        });
        shapeActions_[i] = action;
    }
    toolBar_->addSeparator();
    selectAction_ = addAction("Select", QStringLiteral("Select"), ToolIcons::Select);
    selectAction_->setCheckable(true);
    connect(selectAction_, &QAction::triggered, this, &TForm1::SelectExecute);
    undoAction_ = addAction("Undo", QStringLiteral("Undo"), ToolIcons::Undo);
    undoAction_->setShortcut(QKeySequence::Undo);
    connect(undoAction_, &QAction::triggered, this, &TForm1::UndoExecute);
    toolBar_->addAction(selectAction_);
    toolBar_->addAction(undoAction_);
    toolBar_->widgetForAction(selectAction_)->setObjectName(QStringLiteral("SelectBtn"));
    toolBar_->addSeparator();

    toolBar_->addWidget(new QLabel(QStringLiteral("Units:"), toolBar_));
    unitsCombo_ = new QComboBox(toolBar_);
    unitsCombo_->setObjectName(QStringLiteral("UnitsCombo"));
    unitsCombo_->setEditable(true);
    unitsCombo_->addItems(DrawingState::UnitItems);
    unitsCombo_->setCurrentText(QStringLiteral("m"));
    connect(unitsCombo_, &QComboBox::currentTextChanged, this, [this](const QString& text) {
        state_->UnitText = text;
        canvas_->update();
    });
    toolBar_->addWidget(unitsCombo_);
    toolBar_->addWidget(new QLabel(QStringLiteral("    Max Width: "), toolBar_));
    scaleEdit_ = new QLineEdit(QStringLiteral("1"), toolBar_);
    scaleEdit_->setObjectName(QStringLiteral("ScaleEdit"));
    scaleEdit_->setMaximumWidth(90);
    connect(scaleEdit_, &QLineEdit::textChanged, this,
            [this](const QString& text) { state_->MaxWidthText = text; });
    connect(scaleEdit_, &QLineEdit::returnPressed, this, &TForm1::FormResize);
    toolBar_->addWidget(scaleEdit_);
    geomRadioBtn_ = new QRadioButton(QStringLiteral("Geom"), toolBar_);
    geomRadioBtn_->setObjectName(QStringLiteral("GeomRadioBtn"));
    sectRadioBtn_ = new QRadioButton(QStringLiteral("Sect"), toolBar_);
    sectRadioBtn_->setObjectName(QStringLiteral("SectRadioBtn"));
    // Each button is checked and unchecked by its handler, not by Qt's grouping.
    geomRadioBtn_->setAutoExclusive(false);
    sectRadioBtn_->setAutoExclusive(false);
    connect(geomRadioBtn_, &QRadioButton::clicked, this, &TForm1::GeomRadioBtnClick);
    connect(sectRadioBtn_, &QRadioButton::clicked, this, &TForm1::SectRadioBtnClick);
    geomRadioAction_ = toolBar_->addWidget(geomRadioBtn_);
    sectRadioAction_ = toolBar_->addWidget(sectRadioBtn_);
    toolBar_->addSeparator();
    QAction* help = addAction("HelpAction", QStringLiteral("Help"), ToolIcons::Help);
    help->setShortcut(QKeySequence(Qt::Key_F1));
    help->setShortcutContext(Qt::ApplicationShortcut);
    connect(help, &QAction::triggered, this, &TForm1::HelpActionExecute);
    toolBar_->addAction(help);
}

void TForm1::BuildPanel() {
    panel_ = new QWidget(canvas_);
    panel_->setObjectName(QStringLiteral("Panel1"));
    panel_->setAutoFillBackground(true);
    auto* layout = new QVBoxLayout(panel_);
    layout->setContentsMargins(0, 0, 0, 0);
    splitter_ = new QSplitter(Qt::Vertical, panel_);
    splitter_->setObjectName(QStringLiteral("Splitter1"));
    splitter_->setHandleWidth(3);
    layout->addWidget(splitter_);

    nodesGrid_ = new QTableWidget(1, 2, splitter_);
    nodesGrid_->setObjectName(QStringLiteral("NodesGrid"));
    nodesGrid_->verticalHeader()->hide();
    nodesGrid_->verticalHeader()->setDefaultSectionSize(16);
    nodesGrid_->verticalHeader()->setMinimumSectionSize(16);
    nodesGrid_->setColumnWidth(0, 61);
    nodesGrid_->setColumnWidth(1, 64);
    nodesGrid_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    nodesGrid_->setHorizontalHeaderItem(
        0, new QTableWidgetItem(QIcon(images_[ToolIcons::ArrowRight]), {}));
    nodesGrid_->setHorizontalHeaderItem(
        1, new QTableWidgetItem(QIcon(images_[ToolIcons::ArrowUp]), {}));
    nodesGrid_->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignTop);
    splitter_->addWidget(nodesGrid_);

    resultsEdit_ = new QTextEdit(splitter_);
    resultsEdit_->setObjectName(QStringLiteral("ResultsEdit"));
    resultsEdit_->setReadOnly(true);
    resultsEdit_->setLineWrapMode(QTextEdit::NoWrap);
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSize(std::max(7, font.pointSize() - 2));
    resultsEdit_->setFont(font);
    splitter_->addWidget(resultsEdit_);
    splitter_->setStretchFactor(0, 1);
    splitter_->setStretchFactor(1, 0);
    splitter_->setSizes({400, 143});
}

void TForm1::BuildStatusBar() {
    statusBar()->setObjectName(QStringLiteral("StatusBar"));
    pointerPanel_ = new QLabel(QStringLiteral("  0:  0"), statusBar());
    pointerPanel_->setObjectName(QStringLiteral("StatusPanel0"));
    pointerPanel_->setMinimumWidth(150);
    shapesPanel_ = new QLabel(QStringLiteral("Number of shapes: "), statusBar());
    shapesPanel_->setObjectName(QStringLiteral("StatusPanel1"));
    shapesPanel_->setMinimumWidth(50);
    // Why the section cannot be calculated, when it cannot: the results panel is then empty
    // or leaves a shape out.
    problemPanel_ = new QLabel(statusBar());
    problemPanel_->setObjectName(QStringLiteral("StatusPanel2"));
    statusBar()->addWidget(pointerPanel_);
    statusBar()->addWidget(shapesPanel_);
    statusBar()->addWidget(problemPanel_, 1);
}

void TForm1::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    // The window opens maximised: the origin belongs above the status bar of the window as
    // shown, not of the window as first created.
    if (!shownOnce_) {
        shownOnce_ = true;
        PlaceOrigin();
        FormResize();
    }
}

void TForm1::PlaceOrigin() {
    ViewValues& view = state_->MutableView();
    view.OriginX = leftBar_->x() + SectionCanvas::LeftBarWidth + 30;
    // 51 pixels above the status bar, where the design sizes of the bars put it.
    view.OriginY = canvas_->height() - 51;
}

void TForm1::InitAll() {
    state_->NearestMarker.Visible = false;
    state_->CurrentMarker.Visible = false;
    state_->Grid.Reset();
    PlaceOrigin();
    FormResize();
    SyncGrid();
}

void TForm1::FreeAll() {
    state_->Clear();
    SyncGrid();
}

void TForm1::FormResize() {
    state_->SetAreaSize(canvas_->size());
    // The origin keeps its distance from the bottom edge, as when the window was first shown,
    // so that a section drawn there stays in view when the window is made smaller.
    PlaceOrigin();
    const int drawWidth = canvas_->width() - state_->View().OriginX - SectionCanvas::PanelWidth;
    state_->DrawWidth = drawWidth;
    // A window squeezed narrower than the origin and the panel keeps its scale quietly; it is
    // not the Max Width's fault.
    bool placed = false;
    if (drawWidth >= 1) {
        try {
            state_->ApplyView(
                ViewScaler::Compute(drawWidth, state_->MaxWidthText, state_->DecimalPoint));
            placed = true;
        } catch (const std::exception& error) {
            ShowErrorLater(QString::fromUtf8(error.what()));
        }
    }
    if (!placed)
        state_->PlaceNodes();
    canvas_->update();
    topBar_->update();
    leftBar_->update();
}

void TForm1::FormPaint(QPainter& canvas) {
    state_->SetAreaSize(canvas_->size());
    SectionPainter::Paint(canvas, *state_);
    SyncResults();
}

void TForm1::FormMouseMove(QPoint p) {
    SyncStatusPointer(p);
    state_->LastMouseX = p.x();
    state_->LastMouseY = p.y();
    topBar_->update();
    leftBar_->update();
    interaction_->MouseMove(p);
}

void TForm1::SyncStatusPointer(QPoint p) {
    const ViewValues& view = state_->View();
    const QChar dp = state_->DecimalPoint;
    pointerPanel_->setText(NumberFormat::fixed((p.x() - view.OriginX) * view.Scale, 5, 2, dp) +
                           QStringLiteral(" : ") +
                           NumberFormat::fixed((view.OriginY - p.y()) * view.Scale, 5, 2, dp));
}

void TForm1::LeftBarMouseDown() {
    state_->SetEditMode(3);
    state_->DragSource = GuideBar::Left;
    state_->LastMouseX = 0;
    topBar_->update();
}

void TForm1::TopBarMouseDown() {
    state_->SetEditMode(3);
    state_->DragSource = GuideBar::Top;
    state_->LastMouseY = 0;
    leftBar_->update();
}

void TForm1::FormDragOver(QPoint p) {
    FormMouseMove(p);
    canvas_->update();
}

void TForm1::FormDragDrop(QPoint p) {
    if (!state_->DragSource)
        return;
    const bool vertical = *state_->DragSource == GuideBar::Left;
    state_->SetEditMode(selectAction_->isChecked() ? 2 : 0);
    auto node = std::make_unique<TRegisteredNode>(state_->View(),
                                                  vertical ? QPoint(p.x(), 0) : QPoint(0, p.y()));
    node->RefCount = 1;
    auto guide = std::make_unique<TGuide>(*state_);
    guide->Kind = vertical ? TGuide::Vertical : TGuide::Horizontal;
    guide->SetPoint(0, node.get());
    state_->GuideNodes.push_back(std::move(node));
    state_->Guides.push_back(std::move(guide));
    canvas_->update();
}

void TForm1::EndDrag() {
    state_->SetEditMode(selectAction_->isChecked() ? 2 : 0);
    state_->DragSource.reset();
    canvas_->update();
}

void TForm1::GeomRadioBtnClick() {
    state_->SelectGeometricMode();
    SyncControls();
}

void TForm1::SectRadioBtnClick() {
    state_->SelectSectorialMode();
    // A tool that is now disabled cannot stay pressed, nor armed.
    for (std::size_t i = 0; i < shapeActions_.size(); ++i)
        if (!state_->ShapeToolsEnabled[i] && shapeActions_[i]->isChecked()) {
            shapeActions_[i]->setChecked(false);
            ShapeToolReleased();
        }
    SyncControls();
}

void TForm1::ShapeToolExecute(int kind, bool filled) {
    interaction_->ShapeToolExecute(kind, filled);
}

void TForm1::ShapeToolReleased() {
    interaction_->ShapeToolReleased();
    SyncGrid();
}

void TForm1::SelectExecute() {
    interaction_->SelectExecute();
    SyncGrid();
    canvas_->update();
}

void TForm1::UndoExecute() {
    interaction_->UndoExecute();
    SyncGrid();
    SyncControls();
}

void TForm1::FormMouseUp(QPoint p) {
    try {
        interaction_->MouseUp(p);
    } catch (const std::exception& error) {
        ShowError(QString::fromUtf8(error.what()));
    }
    SyncGrid();
    SyncControls();
    if (interaction_->TakeGridFocusRequest()) {
        nodesGrid_->setFocus(Qt::MouseFocusReason);
        interaction_->TrackGridRow(state_->Grid.CurrentRow());
    }
}

void TForm1::FormMouseDown(QPoint p) {
    if (interaction_->MouseDown(p)) {
        SyncGrid();
        topBar_->update();
        leftBar_->update();
    }
}

void TForm1::FormKeyUp(int key) {
    if (key != Qt::Key_Delete)
        return;
    interaction_->DeleteSelected();
    SyncGrid();
    SyncControls();
    SyncResults();
}

void TForm1::PrintBtnClick() {
    try {
        const std::unique_ptr<QPrinter> printer = printers_.DefaultPrinter();
        printer->setPageOrientation(QPageLayout::Portrait);
        QPainter painter;
        if (!painter.begin(printer.get()))
            throw std::runtime_error("The printer could not start the document.");
        // The document is ended on every path, also when laying out the page fails.
        struct EndDocument {
            QPainter& painter;
            ~EndDocument() { painter.end(); }
        } end{painter};
        SectionPrinter::PrintPage(painter, painter.device()->width(), *state_);
    } catch (const std::exception& error) {
        ShowError(QString::fromUtf8(error.what()));
    }
}

void TForm1::AllUp() {
    for (QAction* action : shapeActions_)
        action->setChecked(false);
}

void TForm1::ReleaseKind(int kind) {
    for (std::size_t i = 0; i < ShapeTools.size(); ++i)
        if (ShapeTools[i].kind == kind)
            shapeActions_[i]->setChecked(false);
}

void TForm1::PressTool(int kind, bool filled) {
    for (std::size_t i = 0; i < ShapeTools.size(); ++i)
        if (ShapeTools[i].kind == kind && ShapeTools[i].filled == filled)
            shapeActions_[i]->setChecked(true);
}

void TForm1::SetSelectDown(bool down) {
    selectAction_->setChecked(down);
}

bool TForm1::SelectDown() const {
    return selectAction_->isChecked();
}

bool TForm1::IsTextField(const QWidget* widget) {
    if (const auto* line = qobject_cast<const QLineEdit*>(widget))
        return !line->isReadOnly();
    if (const auto* text = qobject_cast<const QTextEdit*>(widget))
        return !text->isReadOnly();
    if (const auto* plain = qobject_cast<const QPlainTextEdit*>(widget))
        return !plain->isReadOnly();
    return qobject_cast<const QAbstractSpinBox*>(widget) != nullptr;
}

bool TForm1::InGrid(const QWidget* widget) const {
    return widget != nullptr && (widget == nodesGrid_ || nodesGrid_->isAncestorOf(widget));
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    auto* widget = qobject_cast<QWidget*>(watched);
    const bool ours = widget != nullptr && widget->window() == this;
    if (ours && event->type() == QEvent::KeyRelease) {
        auto* key = static_cast<QKeyEvent*>(event);
        // A key travels up from the focus widget through its parents; act on it once, where
        // it arrives first.
        QWidget* first = QApplication::focusWidget() != nullptr ? QApplication::focusWidget()
                                                                : static_cast<QWidget*>(this);
        // In a text field (the Max Width, the unit, a node cell being edited) Delete edits the
        // text and nothing else: shapes deleted there could not be brought back.
        if (key->key() == Qt::Key_Delete && !key->isAutoRepeat() && watched == first &&
            !IsTextField(first))
            FormKeyUp(Qt::Key_Delete);
    } else if (ours && event->type() == QEvent::KeyPress && InGrid(widget) &&
               widget == QApplication::focusWidget()) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            // A cell being edited hands its text to the grid through a queued call of its
            // own; the row is applied after that has run.
            if (widget == nodesGrid_) {
                ApplyCurrentGridRow();
            } else {
                QMetaObject::invokeMethod(
                    this,
                    [this] {
                        QMetaObject::invokeMethod(this, &TForm1::ApplyCurrentGridRow,
                                                  Qt::QueuedConnection);
                    },
                    Qt::QueuedConnection);
            }
        }
    } else if (watched == nodesGrid_ && event->type() == QEvent::FocusOut &&
               !InGrid(QApplication::focusWidget())) {
        NodesGridExit();
    }
    return QMainWindow::eventFilter(watched, event);
}

void TForm1::ApplyCurrentGridRow() {
    const int row = nodesGrid_->currentRow();
    const QTableWidgetItem* y = nodesGrid_->item(row, 0);
    const QTableWidgetItem* z = nodesGrid_->item(row, 1);
    if (y == nullptr || z == nullptr)
        return;
    interaction_->ApplyGridRow(row + 1, y->text(), z->text());
    SyncGrid();
}

void TForm1::NodesGridItemChanged(int row) {
    // Typed text stays in the cell, confirmed or not.
    const QTableWidgetItem* y = nodesGrid_->item(row - 1, 0);
    const QTableWidgetItem* z = nodesGrid_->item(row - 1, 1);
    if (y != nullptr && z != nullptr)
        state_->Grid.SetRow(row, y->text(), z->text());
}

void TForm1::NodesGridSelectCell(int row) {
    if (row < 1)
        return;
    state_->Grid.SetCurrentRow(row);
    if (InGrid(QApplication::focusWidget()))
        interaction_->TrackGridRow(row);
}

void TForm1::NodesGridExit() {
    interaction_->TrackGridRow(nodesGrid_->currentRow() + 1);
}

bool TForm1::FileOpenExecute() {
    try {
        // A drawing changed since it was last saved or opened is not thrown away unasked.
        if (DrawingChanged()) {
            switch (dialogs_.AskYesNoCancel(this, QStringLiteral("Save?"))) {
            case UserDialogs::Answer::Yes:
                // A cancelled save dialog opens anyway; a failed save (its error shown) stays.
                try {
                    FileSaveExecute(true);
                } catch (const std::exception&) {
                    return false;
                }
                break;
            case UserDialogs::Answer::No:
                break;
            case UserDialogs::Answer::Cancel:
                return false;
            }
        }
        FileDialogRequest request{QStringLiteral("Open Shape File"),
                                  ShapeFilter,
                                  QStringLiteral("geo"),
                                  PackageSettings::ReadDataDirectory(),
                                  {}};
        const QString fileName = dialogs_.GetOpenFileName(this, request);
        if (fileName.isEmpty())
            return false;
        OpenSectionFile(fileName);
    } catch (const std::exception& error) {
        ShowError(QString::fromUtf8(error.what()));
    }
    return true;
}

void TForm1::OpenSectionFile(const QString& fileName) {
    // The whole file is read and checked before the drawing is touched: a file that cannot
    // be read leaves the drawing, the node table and the results as they were.
    const SectionContent content = SectionFile::Read(fileName);
    FreeAll();
    InitAll();
    SectionFile::Apply(*state_, content);
    FormResize();
    SyncGrid();
    SyncControls();
    SetCurrentFile(fileName);
    PackageSettings::WriteDataDirectory(WithTrailingSeparator(QFileInfo(fileName).absolutePath()));
}

bool TForm1::FileSaveExecute(bool rethrow) {
    try {
        QString directory = PackageSettings::ReadDataDirectory();
        // Saving a file that was opened or saved starts on that file.
        if (!currentFile_.isEmpty())
            directory = QFileInfo(currentFile_).absolutePath();
        FileDialogRequest request{
            QStringLiteral("Save Shape"), ShapeFilter, QStringLiteral("geo"), directory,
            currentFile_.isEmpty() ? QString() : QFileInfo(currentFile_).absoluteFilePath()};
        const QString fileName = dialogs_.GetSaveFileName(this, request);
        if (fileName.isEmpty())
            return false;
        SectionFile::Write(*state_, fileName);
        SetCurrentFile(fileName);
    } catch (const std::exception& error) {
        ShowError(QString::fromUtf8(error.what()));
        if (rethrow)
            throw;
    }
    return true;
}

void TForm1::SetCurrentFile(const QString& fileName) {
    currentFile_ = QFileInfo(fileName).absoluteFilePath();
    setWindowTitle(QDir::toNativeSeparators(currentFile_));
    savedContent_ = Content();
}

QByteArray TForm1::Content() const {
    try {
        return SectionFile::Serialize(*state_);
    } catch (const std::exception&) {
        return {}; // a Max Width that is no number cannot be saved as it stands
    }
}

bool TForm1::DrawingChanged() const {
    const QByteArray content = Content();
    return content.isEmpty() || content != savedContent_;
}

void TForm1::HelpActionExecute() {
    try {
        const QString page = HelpPage::Write(startDir_, "ProblemH36", UserFolders::DataDirectory());
        if (!dialogs_.OpenWithDesktop(QUrl::fromLocalFile(page)))
            ShowError(QStringLiteral("No web browser could be started to show the help page. "
                                     "Open it by hand: %1")
                          .arg(QDir::toNativeSeparators(page)));
    } catch (const std::exception& error) {
        ShowError(QString::fromUtf8(error.what()));
    }
}

void TForm1::closeEvent(QCloseEvent* event) {
    switch (dialogs_.AskYesNoCancel(this, QStringLiteral("Save?"))) {
    case UserDialogs::Answer::Yes:
        try {
            FileSaveExecute(true);
        } catch (const std::exception&) {
            // The error was shown; the drawing is not saved, so the window stays.
            event->ignore();
            return;
        }
        break;
    case UserDialogs::Answer::No:
        break;
    case UserDialogs::Answer::Cancel:
        event->ignore();
        return;
    }
    FreeAll();
    event->accept();
}

void TForm1::ShowError(const QString& message) {
    dialogs_.ShowError(this, message);
}

void TForm1::ShowErrorLater(const QString& message) {
    // A resize may fail many times in a row while the window is dragged; one box is enough,
    // and it must not open in the middle of the resize itself.
    if (!pendingError_.isEmpty())
        return;
    pendingError_ = message;
    QTimer::singleShot(0, this, [this] {
        const QString message = pendingError_;
        ShowError(message);
        pendingError_.clear();
    });
}

void TForm1::SyncControls() {
    if (scaleEdit_->text() != state_->MaxWidthText)
        scaleEdit_->setText(state_->MaxWidthText);
    if (unitsCombo_->currentText() != state_->UnitText)
        unitsCombo_->setCurrentText(state_->UnitText);
    shapesPanel_->setText(state_->StatusShapesText);
    geomRadioAction_->setVisible(state_->ModeSwitchVisible);
    sectRadioAction_->setVisible(state_->ModeSwitchVisible);
    geomRadioBtn_->setChecked(state_->SectionMode != 'S');
    sectRadioBtn_->setChecked(state_->SectionMode == 'S');
    for (std::size_t i = 0; i < shapeActions_.size(); ++i)
        shapeActions_[i]->setEnabled(state_->ShapeToolsEnabled[i]);
}

void TForm1::SyncGrid() {
    const QSignalBlocker blocker(nodesGrid_);
    const NodeGridRows& grid = state_->Grid;
    nodesGrid_->setRowCount(grid.RowCount() - 1);
    for (int row = 1; row < grid.RowCount(); ++row)
        for (int column = 0; column < 2; ++column) {
            const QString& text = grid.At(row)[std::size_t(column)];
            QTableWidgetItem* item = nodesGrid_->item(row - 1, column);
            if (item == nullptr)
                nodesGrid_->setItem(row - 1, column, new QTableWidgetItem(text));
            else if (item->text() != text)
                item->setText(text);
        }
    nodesGrid_->setCurrentCell(grid.CurrentRow() - 1, std::max(0, nodesGrid_->currentColumn()));
}

void TForm1::SyncResults() {
    const QString problem = state_->Shapes.empty() ? QString() : state_->CalcProblem();
    if (problemPanel_->text() != problem)
        problemPanel_->setText(problem);
    const QStringList& lines = state_->Report.Lines();
    if (lines == shownResults_)
        return;
    shownResults_ = lines;
    QStringList shown = lines;
    // The panel shows the warping constant as J-omega; the report text keeps "Jw".
    for (QString& line : shown)
        if (line.startsWith(QLatin1String("Jw=")))
            line.replace(1, 1, QChar(0x03C9));
    resultsEdit_->setPlainText(shown.join(u'\n'));
}
