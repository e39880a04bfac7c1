#include "ViewerWindow.h"

#include "ExportActions.h"
#include "FieldPicker.h"
#include "ModelView.h"
#include "PictureActions.h"
#include "ProblemType.h"
#include "ResponsePlot.h"
#include "ResultScale.h"
#include "ResultTableModel.h"
#include "SolidPainter.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QDockWidget>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QSaveFile>
#include <QScrollBar>
#include <QSlider>
#include <QSpinBox>
#include <QStatusBar>
#include <QTableView>
#include <QTextDocument>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QToolTip>
#include <QVBoxLayout>
#include <numeric>

namespace {

// Steps a choice by one entry, if it can.
void Step(QComboBox* box, int step) {
    if (box && box->count() > 0)
        box->setCurrentIndex(std::clamp(box->currentIndex() + step, 0, box->count() - 1));
}

} // namespace

ViewerWindow::ViewerWindow(const QString& title, const ViewerLaunch::Outcome& launch,
                           QWidget* parent)
    : QMainWindow(parent), model_(launch.Model), results_(launch.Results), type_(launch.Type),
      view_(new ModelView(model_, this)), loadCase_(new QComboBox(this)), notice_(new QLabel(this)),
      dataPath_(launch.DataPath) {
    setWindowTitle(QStringLiteral("%1 - %2").arg(title, QFileInfo(launch.DataPath).fileName()));
    const bool resultMode = launch.ViewMode == ViewerLaunch::Mode::Results;

    if (resultMode && results_.Ok()) {
        // The results' choices on a row of their own above the view's.
        auto* results = addToolBar(QStringLiteral("Results"));
        results->setMovable(false);
        BuildResultControls(results);
        addToolBarBreak();
        loadCase_->setVisible(false);
    }
    auto* tools = addToolBar(QStringLiteral("View"));
    tools->setMovable(false);
    if (!(resultMode && results_.Ok()))
        tools->addWidget(new QLabel(QStringLiteral(" Load case: "), this));
    loadCase_->addItem(QStringLiteral("none"), 0);
    for (int c = 1; c <= model_.LoadCases; ++c)
        loadCase_->addItem(QString::number(c), c);
    loadCase_->setCurrentIndex(model_.LoadCases > 0 && !results_.Ok() ? 1 : 0);
    if (!(resultMode && results_.Ok()))
        tools->addWidget(loadCase_);
    tools->addSeparator();
    supports_ = tools->addAction(QStringLiteral("Supports"));
    supports_->setCheckable(true);
    supports_->setChecked(true);
    nodeNumbers_ = tools->addAction(QStringLiteral("Node numbers"));
    nodeNumbers_->setCheckable(true);
    nodeNumbers_->setShortcut(QKeySequence(Qt::Key_N));
    elementNumbers_ = tools->addAction(QStringLiteral("Element numbers"));
    elementNumbers_->setCheckable(true);
    elementNumbers_->setShortcut(QKeySequence(Qt::Key_E));
    tools->addSeparator();
    QAction* zoomIn = tools->addAction(QStringLiteral("Zoom in"));
    QAction* zoomOut = tools->addAction(QStringLiteral("Zoom out"));
    QAction* fit = tools->addAction(QStringLiteral("Fit"));
    // A plate's results are drawn in plan, which does not turn.
    const FieldLayout* field = choice_ ? choice_->Field() : nullptr;
    const bool turns = model_.Space && !(field && field->Flat());
    if (turns) {
        tools->addSeparator();
        QAction* left = tools->addAction(QStringLiteral("Turn left"));
        QAction* right = tools->addAction(QStringLiteral("Turn right"));
        QAction* up = tools->addAction(QStringLiteral("Tilt up"));
        QAction* down = tools->addAction(QStringLiteral("Tilt down"));
        connect(left, &QAction::triggered, this, [this] { view_->Turn(-15, 0); });
        connect(right, &QAction::triggered, this, [this] { view_->Turn(15, 0); });
        connect(up, &QAction::triggered, this, [this] { view_->Turn(0, 15); });
        connect(down, &QAction::triggered, this, [this] { view_->Turn(0, -15); });
    }
    if (!model_.Solids.empty())
        BuildSectionControls();
    if (entry_)
        BuildMotionControls();

    notice_->setWordWrap(true);
    notice_->setStyleSheet(QStringLiteral("QLabel { background: #fff4c4; padding: 6px; }"));
    notice_->setText(results_.Message());
    notice_->setVisible(resultMode && !results_.Message().isEmpty());
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(notice_);
    layout->addWidget(view_, 1);
    setCentralWidget(central);

    // A profile in torsion has the nodes of its contours where other types have supports.
    QString counts =
        QStringLiteral("%1: %2, %3")
            .arg(model_.Name,
                 ResultChoice::Counted(qint64(model_.Nodes.size()), QStringLiteral("node")),
                 ResultChoice::Counted(qint64(model_.ElementCentres.size()),
                                       QStringLiteral("element")));
    if (!type_->ContourNodes)
        counts += QStringLiteral(", ") +
                  ResultChoice::Counted(qint64(model_.Supports.size()), QStringLiteral("support"));
    QString hint = turns ? QStringLiteral("wheel: zoom, drag: move, right drag or "
                                          "arrow keys: turn, Home: fit")
                         : QStringLiteral("wheel: zoom, drag: move, Home: fit");
    if (entry_ && field)
        hint += QStringLiteral(", PgUp/PgDn: %1, Ctrl+PgUp/PgDn: what is shown, "
                               "%2click: values, T: table")
                    .arg(field->Modes() ? QStringLiteral("mode") : QStringLiteral("load case"),
                         field->Torsion() ? QStringLiteral("P: shear arrows, ")
                         : field->Modes() ? QString()
                         : !arrows_       ? QStringLiteral("R: reactions, ")
                         : field->Flat()  ? QStringLiteral("R: reactions, P: principal moments, ")
                                         : QStringLiteral("R: reactions, P: principal stresses, "));
    else if (entry_ && choice_->Statics())
        hint += QStringLiteral(", PgUp/PgDn: load case, Ctrl+PgUp/PgDn: what is shown, "
                               "R: reactions, V: values, T: table, Ctrl+S/Ctrl+P: save/print it");
    else if (entry_)
        hint += QStringLiteral(", PgUp/PgDn: shape, T: table, Ctrl+S/Ctrl+P: save/print it");
    if (sectionAxis_)
        hint += QStringLiteral(", S: section, [ ]: move it, F: the other side");
    if (motionBar_)
        hint += results_.ForcedEntries() > 0
                    ? QStringLiteral(", Space: play/pause, comma/period: step, C: response curve")
                    : QStringLiteral(", Space: play/pause, comma/period: step");
    statusBar()->showMessage(counts + QStringLiteral("   |   ") + hint);
    connect(view_, &ModelView::Painted, this, [this, counts, hint](bool leftOut) {
        statusBar()->showMessage(
            counts + QStringLiteral("   |   ") +
            (leftOut ? QStringLiteral("too many numbers to show: zoom in") : hint));
    });

    connect(loadCase_, &QComboBox::currentIndexChanged, this, &ViewerWindow::UpdateOptions);
    for (QAction* toggle : {supports_, nodeNumbers_, elementNumbers_})
        connect(toggle, &QAction::toggled, this, &ViewerWindow::UpdateOptions);
    connect(zoomIn, &QAction::triggered, this, [this] { view_->Zoom(1.25); });
    connect(zoomOut, &QAction::triggered, this, [this] { view_->Zoom(0.8); });
    connect(fit, &QAction::triggered, view_, &ModelView::FitModel);
    UpdateOptions();
    exports_ = new ExportActions(this, model_, results_, dataPath_, [this] {
        return ExportActions::Table{tableModel_, tables_ ? tables_->currentText() : QString(),
                                    entry_ ? entry_->currentText() : QString()};
    });
    view_->setFocus();
    BuildPictureMenu();
}

void ViewerWindow::BuildPictureMenu() {
    const QFileInfo data(dataPath_);
    pictures_ = new PictureActions(
        view_, [this](QPainter& painter, const QSize& size) { view_->PaintTo(painter, size); },
        [data] { return data.dir().filePath(data.completeBaseName()); }, this);
    // The File menu, shared with what else it offers.
    QMenu* file = menuBar()->findChild<QMenu*>(QStringLiteral("file"));
    if (!file) {
        file = menuBar()->addMenu(QStringLiteral("&File"));
        file->setObjectName(QStringLiteral("file"));
    }
    file->addActions({pictures_->SaveAction(), pictures_->PrintAction()});
}

// The response curve saves and prints as the model does, beside its own choices.
void ViewerWindow::AddPlotPictures(QHBoxLayout* row) {
    const QFileInfo data(dataPath_);
    plotPictures_ = new PictureActions(
        plot_, PictureWriter::OfWidget(plot_),
        [data] {
            return data.dir().filePath(data.completeBaseName() + QStringLiteral("-response"));
        },
        this);
    for (QAction* action : {plotPictures_->SaveAction(), plotPictures_->PrintAction()}) {
        auto* button = new QToolButton(plot_->parentWidget());
        action->setShortcut(QKeySequence());
        button->setDefaultAction(action);
        row->addWidget(button);
    }
}

ViewerWindow::~ViewerWindow() = default;

void ViewerWindow::BuildResultControls(QToolBar* tools) {
    choice_ = std::make_unique<ResultChoice>(results_, *type_, model_);
    entry_ = new QComboBox(this);
    entry_->addItems(choice_->Entries());
    entry_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    const ResultFile::Kind kind = results_.Contents().Type;
    const bool cases = kind == ResultFile::Kind::Statics || kind == ResultFile::Kind::Field ||
                       kind == ResultFile::Kind::Torsion;
    // A free structure's rigid-body modes are not in the list: the label counts them.
    const QString modes =
        results_.RigidModes() > 0
            ? QStringLiteral(" Mode (after %1 rigid-body at 0 Hz): ").arg(results_.RigidModes())
            : QStringLiteral(" Mode: ");
    tools->addWidget(new QLabel(cases                             ? QStringLiteral(" Results: ")
                                : kind == ResultFile::Kind::Modes ? modes
                                                                  : QStringLiteral(" Shape: "),
                                this));
    tools->addWidget(entry_);
    connect(entry_, &QComboBox::currentIndexChanged, this, &ViewerWindow::UpdateOptions);
    if (const FieldLayout* field = choice_->Field()) {
        show_ = new QComboBox(this);
        show_->addItems(choice_->Shows());
        show_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
        // A body or shell opens on its first stress, a profile on its resultant shear stress,
        // a plate and a plate's mode on the deflection.
        const bool deformedFirst = !field->Shows.empty() &&
                                   field->Shows.front().From == FieldLayout::Show::Source::Deformed;
        show_->setCurrentIndex(deformedFirst ? std::min(1, int(show_->count()) - 1) : 0);
        tools->addWidget(new QLabel(QStringLiteral(" Show: "), this));
        tools->addWidget(show_);
        connect(show_, &QComboBox::currentIndexChanged, this, &ViewerWindow::UpdateOptions);
        if (!field->Torsion() && !field->Modes()) {
            reactions_ = tools->addAction(QStringLiteral("Reactions"));
            reactions_->setCheckable(true);
            reactions_->setChecked(ResultPainter::ReactionsAtFirst(model_, field));
            reactions_->setShortcut(QKeySequence(Qt::Key_R));
            connect(reactions_, &QAction::toggled, this, &ViewerWindow::UpdateOptions);
        }
        if (field->Torsion() || (!field->Principal.isEmpty() && !field->Modes())) {
            arrows_ = tools->addAction(field->Torsion() ? QStringLiteral("Shear arrows")
                                       : field->Flat()  ? QStringLiteral("Principal moments")
                                                        : QStringLiteral("Principal stresses"));
            arrows_->setCheckable(true);
            arrows_->setShortcut(QKeySequence(Qt::Key_P));
            connect(arrows_, &QAction::toggled, this, &ViewerWindow::UpdateOptions);
        }
        connect(view_, &ModelView::Clicked, this, &ViewerWindow::ShowValuesAt);
    }
    if (choice_->Statics()) {
        show_ = new QComboBox(this);
        show_->addItems(choice_->Shows());
        show_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
        // A frame opens on its bending moments, a truss on its normal forces.
        const int moments = show_->findText(QStringLiteral("Bending moment"), Qt::MatchStartsWith);
        show_->setCurrentIndex(moments >= 0 ? moments : std::min(1, show_->count() - 1));
        tools->addWidget(new QLabel(QStringLiteral(" Show: "), this));
        tools->addWidget(show_);
        connect(show_, &QComboBox::currentIndexChanged, this, &ViewerWindow::UpdateOptions);
        reactions_ = tools->addAction(QStringLiteral("Reactions"));
        reactions_->setCheckable(true);
        // Hundreds of supports would bury the drawing under arrows: on request then.
        reactions_->setChecked(ResultPainter::ReactionsAtFirst(model_, nullptr));
        reactions_->setShortcut(QKeySequence(Qt::Key_R));
        connect(reactions_, &QAction::toggled, this, &ViewerWindow::UpdateOptions);
    } else if (!choice_->Field() && !choice_->Quantities().empty()) {
        // A bar structure's forced vibrations: the motion, or a section force's diagram at
        // the instant, over time or of a spectrum; the modes themselves are shapes only.
        show_ = new QComboBox(this);
        show_->addItems(choice_->Shows());
        show_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
        show_->setEnabled(false);
        tools->addWidget(new QLabel(QStringLiteral(" Show: "), this));
        tools->addWidget(show_);
        connect(show_, &QComboBox::currentIndexChanged, this, &ViewerWindow::UpdateOptions);
        connect(entry_, &QComboBox::currentIndexChanged, this, [this](int entry) {
            const auto forced = results_.ForcedOf(entry);
            show_->setEnabled(forced.has_value());
            // A bound or a spectrum's peaks have no shape: their moments then.
            if (forced && forced->View != ViewerResults::ForcedView::Motion &&
                show_->currentIndex() == 0) {
                const int moments =
                    show_->findText(QStringLiteral("Bending moment"), Qt::MatchStartsWith);
                show_->setCurrentIndex(moments >= 0 ? moments : std::min(1, show_->count() - 1));
            }
        });
    }
    if (choice_->Statics() || (show_ && !choice_->Field())) {
        values_ = tools->addAction(QStringLiteral("Values"));
        values_->setCheckable(true);
        values_->setChecked(true);
        values_->setShortcut(QKeySequence(Qt::Key_V));
        connect(values_, &QAction::toggled, this, &ViewerWindow::UpdateOptions);
    }

    QAction* previous = new QAction(this);
    previous->setShortcut(QKeySequence(Qt::Key_PageUp));
    QAction* next = new QAction(this);
    next->setShortcut(QKeySequence(Qt::Key_PageDown));
    QAction* previousShow = new QAction(this);
    previousShow->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_PageUp));
    QAction* nextShow = new QAction(this);
    nextShow->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_PageDown));
    addActions({previous, next, previousShow, nextShow});
    connect(previous, &QAction::triggered, this, [this] { Step(entry_, -1); });
    connect(next, &QAction::triggered, this, [this] { Step(entry_, 1); });
    connect(previousShow, &QAction::triggered, this, [this] { Step(show_, -1); });
    connect(nextShow, &QAction::triggered, this, [this] { Step(show_, 1); });

    // The numbers, on request.
    tableModel_ = new ResultTableModel(results_, *type_, model_.ForceUnit, model_.LengthUnit, this);
    tableDock_ = new QDockWidget(QStringLiteral("Numbers"), this);
    tableDock_->setObjectName(QStringLiteral("numbers"));
    auto* panel = new QWidget(tableDock_);
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(4, 4, 4, 4);
    tables_ = new QComboBox(panel);
    for (ResultTableModel::Table table : tableModel_->Tables())
        tables_->addItem(tableModel_->TitleOf(table), static_cast<int>(table));
    table_ = new QTableView(panel);
    table_->setModel(tableModel_);
    table_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    table_->verticalHeader()->setVisible(false);
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 6);
    // Each column as wide as its title and its numbers ("Rate of twist [rad/m]" whole), and
    // what is left shared among them; refitted as the table changes or the dock is resized.
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    table_->viewport()->installEventFilter(this);
    connect(tableModel_, &QAbstractItemModel::modelReset, this, &ViewerWindow::FitColumns);
    table_->horizontalHeader()->setMinimumSectionSize(
        table_->fontMetrics().horizontalAdvance(QStringLiteral("-0.0000000")));
    auto* copy = new QAction(QStringLiteral("Copy"), table_);
    copy->setShortcut(QKeySequence::Copy);
    copy->setShortcutContext(Qt::WidgetShortcut);
    table_->addAction(copy);
    table_->setContextMenuPolicy(Qt::ActionsContextMenu);
    connect(copy, &QAction::triggered, this, &ViewerWindow::CopyTable);
    // Save and print the table as it is chosen; window-wide shortcuts.
    saveTable_ = new QAction(QStringLiteral("Save..."), this);
    saveTable_->setShortcut(QKeySequence::Save);
    saveTable_->setToolTip(QStringLiteral("Save the table as tab-separated text (Ctrl+S)"));
    printTable_ = new QAction(QStringLiteral("Print..."), this);
    printTable_->setShortcut(QKeySequence::Print);
    printTable_->setToolTip(QStringLiteral("Print the table (Ctrl+P)"));
    addActions({saveTable_, printTable_});
    connect(saveTable_, &QAction::triggered, this, &ViewerWindow::SaveTableAs);
    connect(printTable_, &QAction::triggered, this, &ViewerWindow::PrintTableWithDialog);
    auto* row = new QHBoxLayout;
    row->addWidget(tables_, 1);
    for (QAction* action : {saveTable_, printTable_}) {
        auto* button = new QToolButton(panel);
        button->setDefaultAction(action);
        row->addWidget(button);
    }
    layout->addLayout(row);
    layout->addWidget(table_, 1);
    tableDock_->setWidget(panel);
    addDockWidget(Qt::RightDockWidgetArea, tableDock_);
    tableDock_->hide();
    connect(tableDock_, &QDockWidget::visibilityChanged, this, [this](bool visible) {
        // Wide enough for the numbers of six components, or for all the columns of the
        // table while they take at most half the window.
        if (visible)
            resizeDocks({tableDock_}, {std::min(std::max(560, TableWidth()), width() / 2)},
                        Qt::Horizontal);
    });
    QAction* showTable = tableDock_->toggleViewAction();
    showTable->setText(QStringLiteral("Table"));
    showTable->setShortcut(QKeySequence(Qt::Key_T));
    tools->addSeparator();
    tools->addAction(showTable);
    connect(tables_, &QComboBox::currentIndexChanged, this, &ViewerWindow::UpdateTable);
}

void ViewerWindow::BuildSectionControls() {
    addToolBarBreak();
    auto* tools = addToolBar(QStringLiteral("Section"));
    tools->setMovable(false);
    tools->addWidget(new QLabel(QStringLiteral(" Section: "), this));
    sectionAxis_ = new QComboBox(this);
    sectionAxis_->addItems(
        {QStringLiteral("none"), QStringLiteral("x"), QStringLiteral("y"), QStringLiteral("z")});
    sectionAxis_->setFocusPolicy(Qt::NoFocus);
    tools->addWidget(sectionAxis_);
    sectionSlider_ = new QSlider(Qt::Horizontal, this);
    sectionSlider_->setRange(0, SectionSteps);
    sectionSlider_->setValue(SectionSteps / 2);
    sectionSlider_->setMinimumWidth(160);
    sectionSlider_->setEnabled(false);
    // The arrow keys turn the model, not the plane.
    sectionSlider_->setFocusPolicy(Qt::NoFocus);
    tools->addWidget(sectionSlider_);
    sectionPosition_ = new QLabel(this);
    sectionPosition_->setMinimumWidth(
        sectionPosition_->fontMetrics().horizontalAdvance(QStringLiteral(" x = -0000.000 mm ")));
    tools->addWidget(sectionPosition_);
    flipSection_ = tools->addAction(QStringLiteral("Other side"));
    flipSection_->setCheckable(true);
    flipSection_->setEnabled(false);
    flipSection_->setShortcut(QKeySequence(Qt::Key_F));
    flipSection_->setToolTip(QStringLiteral("Hide the part on the other side of the plane (F)"));

    QAction* nextAxis = new QAction(this);
    nextAxis->setShortcut(QKeySequence(Qt::Key_S));
    QAction* back = new QAction(this);
    back->setShortcut(QKeySequence(Qt::Key_BracketLeft));
    QAction* forward = new QAction(this);
    forward->setShortcut(QKeySequence(Qt::Key_BracketRight));
    addActions({nextAxis, back, forward});
    connect(nextAxis, &QAction::triggered, this,
            [this] { sectionAxis_->setCurrentIndex((sectionAxis_->currentIndex() + 1) % 4); });
    connect(back, &QAction::triggered, this,
            [this] { sectionSlider_->setValue(sectionSlider_->value() - SectionSteps / 40); });
    connect(forward, &QAction::triggered, this,
            [this] { sectionSlider_->setValue(sectionSlider_->value() + SectionSteps / 40); });
    connect(sectionAxis_, &QComboBox::currentIndexChanged, this, [this](int axis) {
        // A new axis is cut so that its cut faces the viewer.
        SectionPlane plane;
        plane.Axis = axis - 1;
        const bool faces = plane.Active() && SolidPainter::CutFacesViewer(plane, view_->Camera());
        const QSignalBlocker blocker(flipSection_);
        flipSection_->setChecked(plane.Active() && !faces);
        UpdateSection();
    });
    connect(sectionSlider_, &QSlider::valueChanged, this, &ViewerWindow::UpdateSection);
    connect(flipSection_, &QAction::toggled, this, &ViewerWindow::UpdateSection);
    UpdateSection();
}

void ViewerWindow::BuildMotionControls() {
    addToolBarBreak();
    motionBar_ = addToolBar(QStringLiteral("Motion"));
    motionBar_->setMovable(false);
    play_ = motionBar_->addAction(QStringLiteral("Play"));
    play_->setCheckable(true);
    play_->setShortcut(QKeySequence(Qt::Key_Space));
    play_->setToolTip(QStringLiteral("Play or pause the motion (Space)"));
    motionSlider_ = new QSlider(Qt::Horizontal, this);
    motionSlider_->setMinimumWidth(240);
    // The arrow keys turn the model, not the motion.
    motionSlider_->setFocusPolicy(Qt::NoFocus);
    motionBar_->addWidget(motionSlider_);
    motionPosition_ = new QLabel(this);
    motionPosition_->setMinimumWidth(
        motionPosition_->fontMetrics().horizontalAdvance(QStringLiteral(" t = -0000.000 s ")));
    motionBar_->addWidget(motionPosition_);
    motionBar_->addWidget(new QLabel(QStringLiteral(" Frequency: "), this));
    frequencies_ = new QComboBox(this);
    frequencies_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    frequencies_->setFocusPolicy(Qt::NoFocus);
    motionBar_->addWidget(frequencies_);
    motionBar_->addWidget(new QLabel(QStringLiteral(" Speed: "), this));
    speed_ = new QComboBox(this);
    // A history in its own time times this; a harmonic's period in two seconds times this.
    for (const double speed : {0.1, 0.25, 0.5, 1.0, 2.0, 5.0})
        speed_->addItem(QStringLiteral("\u00d7 %1").arg(speed), speed);
    speed_->setCurrentIndex(3);
    speed_->setToolTip(QStringLiteral("A history in its own time times this; a harmonic motion's "
                                      "period in two seconds times this"));
    speed_->setFocusPolicy(Qt::NoFocus);
    motionBar_->addWidget(speed_);
    timer_ = new QTimer(this);
    timer_->setInterval(33);
    // The motion keeps to the clock: a frame that takes longer to draw than the timer's
    // interval skips instants rather than slowing the history down.
    connect(timer_, &QTimer::timeout, this, [this] {
        const double seconds = sinceStep_.isValid() ? sinceStep_.nsecsElapsed() / 1e9 : 0.04;
        sinceStep_.restart();
        AdvanceMotion(std::min(seconds, 0.5) * speed_->currentData().toDouble());
    });
    connect(play_, &QAction::toggled, this, [this](bool on) {
        play_->setText(on ? QStringLiteral("Pause") : QStringLiteral("Play"));
        sinceStep_.invalidate();
        if (on)
            timer_->start();
        else
            timer_->stop();
    });
    connect(motionSlider_, &QSlider::valueChanged, this, [this](int value) {
        if (animation_.Type() != ShapeAnimation::Kind::None) {
            animation_.SetStep(value);
            UpdateOptions();
            return;
        }
        if (!motion_)
            return;
        if (motion_->Type() == ForcedMotion::Kind::Harmonic) {
            phase_ = 2 * 3.14159265358979323846 * value / PhaseSteps;
            UpdateOptions();
        } else {
            clock_ = motion_->Abscissa(value);
            SetPoint(value);
        }
    });
    connect(frequencies_, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (motion_ && motion_->Type() == ForcedMotion::Kind::Harmonic && index >= 0)
            SetPoint(index);
    });

    // The response: a curve of one node component or element column over the excitation.
    responseDock_ = new QDockWidget(QStringLiteral("Response"), this);
    responseDock_->setObjectName(QStringLiteral("response"));
    auto* panel = new QWidget(responseDock_);
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(4, 4, 4, 4);
    auto* row = new QHBoxLayout;
    responseKind_ = new QComboBox(panel);
    responseKind_->addItem(QStringLiteral("Node"));
    if (!results_.Contents().Vibrations.Columns.Empty())
        responseKind_->addItem(QStringLiteral("Element"));
    responseNumber_ = new QSpinBox(panel);
    responseColumn_ = new QComboBox(panel);
    responseColumn_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    row->addWidget(responseKind_);
    row->addWidget(responseNumber_);
    row->addWidget(responseColumn_);
    row->addWidget(new QLabel(QStringLiteral("(or click the model)"), panel));
    row->addStretch(1);
    layout->addLayout(row);
    plot_ = new ResponsePlot(panel);
    layout->addWidget(plot_, 1);
    AddPlotPictures(row);
    responseDock_->setWidget(panel);
    addDockWidget(Qt::BottomDockWidgetArea, responseDock_);
    responseDock_->hide();
    QAction* showResponse = responseDock_->toggleViewAction();
    showResponse->setText(QStringLiteral("Response"));
    showResponse->setShortcut(QKeySequence(Qt::Key_C));
    motionBar_->addSeparator();
    motionBar_->addAction(showResponse);
    showResponse->setVisible(results_.ForcedEntries() > 0);
    const auto chosen = [this] {
        const bool element = responseKind_->currentIndex() == 1;
        if (responseColumn_->property("element").toBool() != element) {
            // The choice of columns follows the kind: components of nodes, results of elements.
            const QSignalBlocker blocker(responseColumn_);
            responseColumn_->clear();
            responseColumn_->addItems(element ? choice_->ColumnNames() : choice_->ComponentNames());
            responseColumn_->setProperty("element", element);
            const QSignalBlocker numbers(responseNumber_);
            const int count = element ? static_cast<int>(model_.ElementCentres.size())
                                      : static_cast<int>(model_.Nodes.size());
            responseNumber_->setRange(1, std::max(1, count));
        }
        quantity_ = {element, responseNumber_->value() - 1,
                     std::max(0, responseColumn_->currentIndex())};
        UpdateResponse();
    };
    connect(responseKind_, &QComboBox::currentIndexChanged, this, chosen);
    connect(responseNumber_, &QSpinBox::valueChanged, this, chosen);
    connect(responseColumn_, &QComboBox::currentIndexChanged, this, chosen);
    // , and . step one instant (or a harmonic's phase) back and on.
    QAction* back = new QAction(this);
    back->setShortcut(QKeySequence(Qt::Key_Comma));
    QAction* on = new QAction(this);
    on->setShortcut(QKeySequence(Qt::Key_Period));
    addActions({back, on});
    connect(back, &QAction::triggered, this, [this] {
        if (motionBar_->isEnabled())
            motionSlider_->setValue(motionSlider_->value() - 1);
    });
    connect(on, &QAction::triggered, this, [this] {
        if (motionBar_->isEnabled())
            motionSlider_->setValue(motionSlider_->value() + 1);
    });
    connect(plot_, &ResponsePlot::PointClicked, this, [this](int point) {
        if (!motion_)
            return;
        if (motion_->Type() == ForcedMotion::Kind::Harmonic) {
            frequencies_->setCurrentIndex(point);
        } else {
            motionSlider_->setValue(point);
        }
    });
    connect(view_, &ModelView::Clicked, this, &ViewerWindow::PickResponse);
    // The table follows between a mode's shape and a vibration's nodes; a bound or peaks,
    // which are tables, open it.
    connect(entry_, &QComboBox::currentIndexChanged, this, [this](int entry) {
        const auto forced = results_.ForcedOf(entry);
        // A mesh's components are a mode's shape, or a motion in the model's units.
        if (const FieldLayout* field = choice_->Field(); field && show_) {
            for (size_t k = 0; k < field->Shows.size() && int(k) < show_->count(); ++k)
                show_->setItemText(int(k), !forced ? field->Shows[k].Title
                                           : forced->View == ViewerResults::ForcedView::Motion
                                               ? QStringLiteral("Motion ") + field->Shows[k].Name
                                               : field->Shows[k].Name);
        }
        const auto current = static_cast<ResultTableModel::Table>(tables_->currentData().toInt());
        const ResultTableModel::Table wanted =
            forced && current == ResultTableModel::Table::Shape
                ? ResultTableModel::Table::ForcedNodes
            : !forced && (current == ResultTableModel::Table::ForcedNodes ||
                          current == ResultTableModel::Table::ForcedElements)
                ? ResultTableModel::Table::Shape
                : current;
        tables_->setCurrentIndex(tables_->findData(static_cast<int>(wanted)));
        if (forced && forced->View != ViewerResults::ForcedView::Motion) {
            if (!tableDock_->isVisible())
                tables_->setCurrentIndex(
                    tables_->findData(static_cast<int>(ResultTableModel::Table::ForcedNodes)));
            tableDock_->show();
        }
    });
    motionBar_->setEnabled(false);
}

void ViewerWindow::UpdateMotion() {
    const std::optional<ViewerResults::ForcedEntry> forced =
        results_.ForcedOf(entry_->currentIndex());
    const bool moves = forced && forced->View == ViewerResults::ForcedView::Motion;
    const ShapeAnimation::Kind kind = AnimationKind();
    if (kind != animation_.Type() || entry_->currentIndex() != animatedEntry_) {
        // A new shape opens at its full size.
        animation_.Start(kind);
        animatedEntry_ = entry_->currentIndex();
        if (kind != ShapeAnimation::Kind::None) {
            const QSignalBlocker slider(motionSlider_);
            motionSlider_->setRange(0, ShapeAnimation::Steps - 1);
            motionSlider_->setValue(animation_.Step());
            frequencies_->setEnabled(false);
            motion_.reset(); // its slider is set up again when it is chosen
        }
    }
    const bool animates = moves || kind != ShapeAnimation::Kind::None;
    if (!animates && play_ && play_->isChecked())
        play_->setChecked(false);
    if (motionBar_) {
        motionBar_->setEnabled(animates);
        play_->setEnabled(animates);
    }
    if (!forced || (motion_ && motionExcitation_ == forced->Excitation))
        return;
    motion_ = std::make_unique<ForcedMotion>(results_.Contents(), forced->Excitation);
    motionExcitation_ = forced->Excitation;
    ranges_.clear();
    // A harmonic opens at the frequency and a history at the instant of its largest motion.
    point_ = motion_->PeakPoint();
    phase_ = 0;
    clock_ = motion_->Abscissa(point_);
    const bool harmonic = motion_->Type() == ForcedMotion::Kind::Harmonic;
    {
        const QSignalBlocker slider(motionSlider_);
        const QSignalBlocker frequencies(frequencies_);
        frequencies_->clear();
        if (harmonic) {
            for (int k = 0; k < motion_->Points(); ++k)
                frequencies_->addItem(
                    QStringLiteral("%1 Hz").arg(ResultChoice::Number(motion_->Abscissa(k))));
            frequencies_->setCurrentIndex(point_);
            motionSlider_->setRange(0, PhaseSteps - 1);
            motionSlider_->setValue(0);
        } else {
            motionSlider_->setRange(0, std::max(0, motion_->Points() - 1));
            motionSlider_->setValue(point_);
        }
        frequencies_->setEnabled(harmonic);
    }
    // The curve of the node that moves most, as its component.
    const ForcedMotion::Quantity strongest = motion_->Strongest();
    {
        const QSignalBlocker kind(responseKind_);
        const QSignalBlocker number(responseNumber_);
        const QSignalBlocker column(responseColumn_);
        responseKind_->setCurrentIndex(0);
        responseColumn_->clear();
        responseColumn_->addItems(choice_->ComponentNames());
        responseColumn_->setProperty("element", false);
        responseNumber_->setRange(1, std::max(1, static_cast<int>(model_.Nodes.size())));
        responseNumber_->setValue(strongest.Index + 1);
        responseColumn_->setCurrentIndex(strongest.Column);
    }
    quantity_ = strongest;
    UpdateResponse();
    if (harmonic && static_cast<size_t>(point_) < curve_.Phases.size()) {
        // At the phase where the node that moves most is furthest out: at resonance the motion
        // lags the force by a quarter period, and phase 0 would show it at rest.
        constexpr double Turn = 2 * 3.14159265358979323846;
        phase_ = std::fmod(Turn - curve_.Phases[static_cast<size_t>(point_)], Turn);
        const QSignalBlocker slider(motionSlider_);
        motionSlider_->setValue(static_cast<int>(std::lround(phase_ / Turn * PhaseSteps)) %
                                PhaseSteps);
    }
    if (moves && !responseShown_) {
        responseShown_ = true;
        responseDock_->show();
    }
}

void ViewerWindow::SetPoint(int point) {
    if (!motion_ || point < 0 || point >= motion_->Points())
        return;
    point_ = point;
    UpdateOptions();
}

ShapeAnimation::Kind ViewerWindow::AnimationKind() const {
    const int entry = entry_->currentIndex(), show = show_ ? show_->currentIndex() : 0;
    if (results_.ForcedOf(entry) || results_.BoundOf(entry))
        return ShapeAnimation::Kind::None;
    if (const FieldLayout* field = choice_->Field())
        return show >= 0 && show < int(field->Shows.size()) &&
                       field->Shows[size_t(show)].From == FieldLayout::Show::Source::Deformed &&
                       !field->Modes()
                   ? ShapeAnimation::Kind::Grow
                   : ShapeAnimation::Kind::None;
    return show > 0             ? ShapeAnimation::Kind::None
           : choice_->Statics() ? ShapeAnimation::Kind::Grow
                                : ShapeAnimation::Kind::Swing;
}

void ViewerWindow::AdvanceMotion(double seconds) {
    if (animation_.Type() != ShapeAnimation::Kind::None && motionBar_->isEnabled()) {
        animation_.Advance(seconds);
        const QSignalBlocker blocker(motionSlider_);
        motionSlider_->setValue(animation_.Step());
        UpdateOptions();
        return;
    }
    if (!motion_ || motion_->Points() == 0 || !motionBar_->isEnabled())
        return;
    if (motion_->Type() == ForcedMotion::Kind::Harmonic) {
        // One period in two seconds at speed 1, whatever the frequency.
        phase_ = std::fmod(phase_ + 3.14159265358979323846 * seconds, 2 * 3.14159265358979323846);
        const QSignalBlocker blocker(motionSlider_);
        motionSlider_->setValue(
            static_cast<int>(std::lround(phase_ / (2 * 3.14159265358979323846) * PhaseSteps)) %
            PhaseSteps);
        UpdateOptions();
        return;
    }
    const double first = motion_->Abscissa(0), last = motion_->Abscissa(motion_->Points() - 1);
    clock_ += seconds;
    if (clock_ > last || clock_ < first)
        clock_ = first;
    // The last instant not after the clock.
    const auto& instants = motion_->Excitation().Abscissae;
    const int point =
        std::max(0, static_cast<int>(std::upper_bound(instants.begin(), instants.end(), clock_) -
                                     instants.begin()) -
                        1);
    if (point == point_)
        return;
    const QSignalBlocker blocker(motionSlider_);
    motionSlider_->setValue(point);
    SetPoint(point);
}

void ViewerWindow::UpdateResponse() {
    if (!motion_ || !plot_)
        return;
    curve_ = motion_->CurveOf(quantity_);
    const bool harmonic = motion_->Type() == ForcedMotion::Kind::Harmonic;
    const QString name = choice_->QuantityName(quantity_);
    std::vector<double> x(curve_.Values.size());
    for (size_t k = 0; k < x.size(); ++k)
        x[k] = motion_->Abscissa(static_cast<int>(k));
    plot_->SetCurve(x, curve_.Values, harmonic ? QStringLiteral("f [Hz]") : QStringLiteral("t [s]"),
                    harmonic ? QStringLiteral("Amplitude of ") + name : name);
    plot_->SetMarker(point_);
    UpdateTable();
}

void ViewerWindow::PickResponse(const QPointF& point) {
    const std::optional<ViewerResults::ForcedEntry> forced =
        results_.ForcedOf(entry_->currentIndex());
    if (!motion_ || !forced)
        return;
    const FieldPicker::Pick pick = FieldPicker::At(model_, view_->Camera(), point);
    int element = -1;
    if (pick.Node < 0 && responseKind_->count() > 1) {
        // A bar has no area to hit: the element whose centre is nearest within reach.
        double nearest = 3 * FieldPicker::Reach;
        for (size_t e = 0; e < model_.ElementCentres.size(); ++e) {
            const double distance =
                QLineF(view_->Camera().Project(model_.ElementCentres[e]), point).length();
            if (distance < nearest) {
                nearest = distance;
                element = static_cast<int>(e);
            }
        }
        if (element < 0 && pick.Element >= 0)
            element = pick.Element;
    }
    if (pick.Node < 0 && element < 0)
        return;
    responseKind_->setCurrentIndex(pick.Node >= 0 ? 0 : 1);
    responseNumber_->setValue((pick.Node >= 0 ? pick.Node : element) + 1);
    responseDock_->show();
}

void ViewerWindow::UpdateSection() {
    SectionPlane plane;
    plane.Axis = sectionAxis_->currentIndex() - 1;
    plane.KeepAbove = !flipSection_->isChecked();
    sectionSlider_->setEnabled(plane.Active());
    flipSection_->setEnabled(plane.Active());
    if (plane.Active()) {
        const std::array<double, 2> range = SolidSection::Range(model_.Nodes, plane.Axis);
        plane.At = range[0] + (range[1] - range[0]) * sectionSlider_->value() / SectionSteps;
        sectionPosition_->setText(QStringLiteral(" %1 = %2 %3 ")
                                      .arg(sectionAxis_->currentText(),
                                           ResultChoice::Number(plane.At), model_.LengthUnit));
    } else {
        sectionPosition_->clear();
    }
    view_->SetSection(plane);
}

void ViewerWindow::ShowValuesAt(const QPointF& point) {
    const FieldLayout* field = choice_ ? choice_->Field() : nullptr;
    if (!field)
        return;
    FieldPicker::Pick pick;
    if (!model_.Solids.empty() && !field->Modes()) {
        // On the solid as it is drawn: cut open, and displaced when its shape is shown.
        std::vector<ViewerModel::Point> nodes = model_.Nodes;
        const double factor = view_->LastResults().Deformation;
        const FieldResults::Case* shown = results_.FieldEntry(entry_->currentIndex());
        if (factor > 0 && shown) {
            const FieldResults& r = results_.Contents().Field;
            const ViewerResults::Places places = ViewerResults::PlacesOf(r.Components);
            for (size_t n = 0; n < nodes.size(); ++n) {
                const auto move = ViewerResults::NodeMotion(shown->Displacements, places,
                                                            r.ComponentCount(), int(n))
                                      .Move;
                for (size_t a = 0; a < 3; ++a)
                    nodes[n][a] += float(move[a] * factor);
            }
        }
        pick = FieldPicker::AtSolid(model_, view_->Camera(), point, view_->Section(), nodes);
    } else {
        pick = FieldPicker::At(model_, view_->Camera(), point);
    }
    const auto forced = results_.ForcedOf(entry_->currentIndex());
    if (forced && forced->View == ViewerResults::ForcedView::Motion && motion_) {
        // A mesh's motion at the instant drawn, told as a mode's shape is.
        ResultFile::Shapes frame;
        frame.Nodes = results_.Contents().Modes.Nodes;
        frame.Components = results_.Contents().Modes.Components;
        frame.List = {{0, 0, drawing_.Frame.Nodes, {}}};
        lastPick_ = FieldPicker::Describe(pick, model_, frame, 0, false);
        if (!lastPick_.isEmpty())
            lastPick_ += motion_->Type() == ForcedMotion::Kind::Harmonic
                             ? QStringLiteral(" at f = %1 Hz, phase %2\u00b0")
                                   .arg(ResultChoice::Number(motion_->Abscissa(point_)))
                                   .arg(std::lround(phase_ * 180 / 3.14159265358979323846) % 360)
                             : QStringLiteral(" at t = %1 s")
                                   .arg(ResultChoice::Number(motion_->Abscissa(point_)));
    } else {
        lastPick_ = field->Modes() ? FieldPicker::Describe(pick, model_, results_.Contents().Modes,
                                                           entry_->currentIndex())
                                   : FieldPicker::Describe(pick, model_, results_.Contents().Field,
                                                           *field, entry_->currentIndex());
    }
    if (lastPick_.isEmpty())
        return;
    statusBar()->showMessage(lastPick_);
    QToolTip::showText(view_->mapToGlobal(point.toPoint()), lastPick_, view_);
}

QString ViewerWindow::Notice() const {
    return notice_->isHidden() ? QString() : notice_->text();
}

void ViewerWindow::UpdateOptions() {
    ModelPainter::Options options;
    options.LoadCase = loadCase_->currentData().toInt();
    options.Supports = supports_->isChecked();
    options.NodeNumbers = nodeNumbers_->isChecked();
    options.ElementNumbers = elementNumbers_->isChecked();
    view_->SetOptions(options);
    if (!choice_)
        return;
    ResultPainter::Options results;
    results.Entry = entry_->currentIndex();
    results.Show = show_ ? show_->currentIndex() : 0;
    results.Reactions = reactions_ && reactions_->isChecked();
    results.Values = values_ && values_->isChecked();
    results.Arrows = arrows_ && arrows_->isChecked();
    if (motionBar_) {
        UpdateMotion();
        const auto forced = results_.ForcedOf(results.Entry);
        if (forced && forced->View == ViewerResults::ForcedView::Motion && motion_) {
            // The frame at the point chosen, to the excitation's one scale.
            // A diagram needs the section forces at the instant; a shape does not.
            drawing_.Frame =
                motion_->At(point_, phase_, choice_->DiagramOf(results.Show) != nullptr);
            drawing_.LargestMove = motion_->LargestMove();
            const FieldLayout* field = choice_->Field();
            if (field && results.Show >= 0 && results.Show < int(field->Shows.size())) {
                const int column = field->Shows[size_t(results.Show)].Column;
                auto found = std::find_if(ranges_.begin(), ranges_.end(),
                                          [column](const auto& r) { return r.first == column; });
                if (found == ranges_.end())
                    found = ranges_.insert(ranges_.end(), {column, motion_->Range(column)});
                drawing_.Range = found->second;
            }
            const double factor = ResultScale::Deformation(motion_->LargestMove(),
                                                           ResultScale::ModelSize(model_.Nodes));
            drawing_.Caption = choice_->MotionCaption(results.Entry, results.Show, *motion_, point_,
                                                      phase_, factor);
            results.Forced = &drawing_;
            const bool harmonic = motion_->Type() == ForcedMotion::Kind::Harmonic;
            motionPosition_->setText(
                harmonic ? QStringLiteral(" phase %1\u00b0 ")
                               .arg(std::lround(phase_ * 180 / 3.14159265358979323846) % 360)
                         : QStringLiteral(" t = %1 s ")
                               .arg(ResultChoice::Number(motion_->Abscissa(point_))));
            plot_->SetMarker(point_);
        }
        if (animation_.Type() != ShapeAnimation::Kind::None) {
            results.Amplitude = animation_.Amplitude();
            motionPosition_->setText(QStringLiteral(" phase %1\u00b0 ")
                                         .arg(animation_.Step() * 360 / ShapeAnimation::Steps));
        }
    }
    view_->SetResults(&results_, choice_.get(), *type_, results);
    // While the motion plays the table follows it only where it is seen.
    if (!(play_ && play_->isChecked()) ||
        (tableDock_->isVisible() && animation_.Type() == ShapeAnimation::Kind::None))
        UpdateTable();
}

void ViewerWindow::UpdateTable() {
    if (!tableModel_ || tables_->currentIndex() < 0)
        return;
    if (motion_)
        tableModel_->SetForced(
            {motion_.get(), point_, phase_, curve_, choice_->QuantityName(quantity_)});
    tableModel_->Show(static_cast<ResultTableModel::Table>(tables_->currentData().toInt()),
                      entry_->currentIndex());
}

std::vector<int> ViewerWindow::ColumnWidths() const {
    const QHeaderView* header = table_->horizontalHeader();
    const QAbstractItemView* view = table_;
    std::vector<int> widths;
    for (int column = 0; column < header->count(); ++column)
        widths.push_back(std::max({header->sectionSizeHint(column), view->sizeHintForColumn(column),
                                   header->minimumSectionSize()}));
    return widths;
}

int ViewerWindow::TableWidth() const {
    const std::vector<int> widths = ColumnWidths();
    // The frames of the table and the dock, their margins, and a vertical scroll bar.
    return std::accumulate(widths.begin(), widths.end(), 0) + 2 * table_->frameWidth() +
           table_->verticalScrollBar()->sizeHint().width() + 32;
}

void ViewerWindow::FitColumns() {
    std::vector<int> widths = ColumnWidths();
    if (widths.empty())
        return;
    const int count = static_cast<int>(widths.size());
    const int spare =
        std::max(0, table_->viewport()->width() - std::accumulate(widths.begin(), widths.end(), 0));
    for (int column = 0; column < count; ++column)
        table_->horizontalHeader()->resizeSection(
            column, widths[static_cast<size_t>(column)] + spare / count +
                        (column + 1 == count ? spare % count : 0));
}

bool ViewerWindow::eventFilter(QObject* watched, QEvent* event) {
    if (table_ && watched == table_->viewport() && event->type() == QEvent::Resize)
        FitColumns();
    return QMainWindow::eventFilter(watched, event);
}

void ViewerWindow::CopyTable() {
    const QString text = tableModel_->Text(table_->selectionModel()->selectedIndexes());
    if (!text.isEmpty())
        QApplication::clipboard()->setText(text);
}

QString ViewerWindow::TableHeading() const {
    if (!tableModel_)
        return {};
    return QStringLiteral("%1 - %2 - %3")
        .arg(QFileInfo(dataPath_).fileName(), tables_->currentText(), entry_->currentText());
}

QString ViewerWindow::SaveTable(const QString& path) const {
    if (!tableModel_)
        return QStringLiteral("There is no table to save.");
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(tableModel_->Text().toUtf8()) < 0 ||
        !file.commit())
        return QStringLiteral("The table could not be saved as %1: %2")
            .arg(QDir::toNativeSeparators(path), file.errorString());
    return {};
}

void ViewerWindow::PrintTable(QPrinter& printer) const {
    if (!tableModel_)
        return;
    QTextDocument document;
    document.setHtml(tableModel_->Html(TableHeading()));
    document.print(&printer);
}

void ViewerWindow::SaveTableAs() {
    if (!tableModel_)
        return;
    // Beside the data file, named after it and the table.
    const QFileInfo data(dataPath_);
    const QString suggested = data.dir().filePath(
        QStringLiteral("%1 %2 %3.txt")
            .arg(data.completeBaseName(), tables_->currentText(), entry_->currentText())
            .replace(u':', u' ')
            .simplified());
    const QString path =
        QFileDialog::getSaveFileName(this, QStringLiteral("Save the table"), suggested,
                                     QStringLiteral("Text files (*.txt);;All files (*)"));
    if (path.isEmpty())
        return;
    const QString error = SaveTable(path);
    if (!error.isEmpty())
        QMessageBox::warning(this, windowTitle(), error);
}

void ViewerWindow::PrintTableWithDialog() {
    if (!tableModel_)
        return;
    QPrinter printer;
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle(QStringLiteral("Print the table"));
    if (dialog.exec() == QDialog::Accepted)
        PrintTable(printer);
}
