#pragma once

#include "ResultChoice.h"
#include "ResultPainter.h"
#include "ShapeAnimation.h"
#include "ViewerLaunch.h"

#include <QElapsedTimer>
#include <QMainWindow>
#include <memory>
#include <vector>

class ExportActions;
class ModelView;
class PictureActions;
class QAction;
class QComboBox;
class QPrinter;
class QSlider;
class QSpinBox;
class QTimer;
class ResponsePlot;
class QDockWidget;
class QHBoxLayout;
class QLabel;
class QTableView;
class ResultTableModel;

// The model viewer's window: the model fills it, a tool bar chooses the load case and what is
// shown. In result mode the tool bar chooses the load case, mode or buckling shape and what
// to draw of it (the deformed shape or a section force), a dock shows the numbers as a table,
// and a line above the model says why no results are shown when they cannot be.
class ViewerWindow : public QMainWindow {
    Q_OBJECT

public:
    // `title`: the name the program was started under ("Pantex").
    ViewerWindow(const QString& title, const ViewerLaunch::Outcome& launch,
                 QWidget* parent = nullptr);
    ~ViewerWindow() override;

    ModelView* View() const { return view_; }
    QComboBox* LoadCases() const { return loadCase_; }
    // Result mode: the load case or shape, and what is drawn of it (null without results).
    QComboBox* Entries() const { return entry_; }
    QComboBox* Shows() const { return show_; }
    QDockWidget* TableDock() const { return tableDock_; }
    QTableView* Table() const { return table_; }
    QComboBox* Tables() const { return tables_; }
    QAction* SaveTableAction() const { return saveTable_; }
    QAction* PrintTableAction() const { return printTable_; }
    QString Notice() const;
    // A solid: where it is cut open. The axis (none, x, y, z), the plane's place along it in
    // steps across the model, the words that give its coordinate, and the side kept.
    QComboBox* SectionAxis() const { return sectionAxis_; }
    QSlider* SectionSlider() const { return sectionSlider_; }
    QLabel* SectionPosition() const { return sectionPosition_; }
    QAction* FlipSectionAction() const { return flipSection_; }
    static constexpr int SectionSteps = 200;
    // A continuum: the toggle of the principal stresses (or a profile's shear arrows), and the
    // values of what a click last hit.
    QAction* ArrowsAction() const { return arrows_; }
    QAction* ReactionsAction() const { return reactions_; }
    const QString& PickedValues() const { return lastPick_; }
    void ShowValuesAt(const QPointF& point);

    // The table of the dock as it is chosen: saved as tab-separated text like a copy of all of
    // it (an error message, or empty), or printed under a heading that names what it holds.
    QString SaveTable(const QString& path) const;
    // File > Export: the results for ParaView, the table as CSV.
    ExportActions* Exports() const { return exports_; }

    // Forced vibrations: play and pause (Space), the slider over the instants of a history or
    // one period of a harmonic's phase, a harmonic's frequency, the speed; the response dock
    // with its plot and the node or element and the component or column it follows.
    QAction* PlayAction() const { return play_; }
    QSlider* MotionSlider() const { return motionSlider_; }
    QComboBox* Frequencies() const { return frequencies_; }
    QComboBox* Speeds() const { return speed_; }
    QDockWidget* ResponseDock() const { return responseDock_; }
    ResponsePlot* Plot() const { return plot_; }
    QComboBox* ResponseKind() const { return responseKind_; }
    QSpinBox* ResponseNumber() const { return responseNumber_; }
    QComboBox* ResponseColumn() const { return responseColumn_; }
    const ForcedMotion* Motion() const { return motion_.get(); }
    // A mode's, buckling shape's or load case's shape as the motion bar plays it.
    const ShapeAnimation& Animation() const { return animation_; }
    int MotionPoint() const { return point_; }
    double MotionPhase() const { return phase_; }
    // Steps of the slider over one period of a harmonic motion.
    static constexpr int PhaseSteps = 72;
    // One step of the animation: what its timer does.
    void AdvanceMotion(double seconds);
    void PrintTable(QPrinter& printer) const;
    QString TableHeading() const;
    // File: "Save picture..." and "Print picture..." of the model as it is drawn.
    PictureActions* Pictures() const { return pictures_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildResultControls(QToolBar* tools);
    void BuildSectionControls();
    void BuildMotionControls();
    // The motion of the entry chosen, its controls set for it; none for other entries.
    void UpdateMotion();
    // What the entry and the show chosen animate: a shape swings, a case's deformation grows.
    ShapeAnimation::Kind AnimationKind() const;
    void SetPoint(int point);
    // The response curve of the quantity chosen, into the plot and the table.
    void UpdateResponse();
    void PickResponse(const QPointF& point);
    void UpdateSection();
    void UpdateOptions();
    void UpdateTable();
    // The widths the table's columns ask for, each as wide as its title and numbers; all of
    // them with the frames round the table; the columns fitted to the table's width.
    std::vector<int> ColumnWidths() const;
    int TableWidth() const;
    void FitColumns();
    void CopyTable();
    void SaveTableAs();
    void PrintTableWithDialog();
    void BuildPictureMenu();
    void AddPlotPictures(QHBoxLayout* row);

    ViewerModel model_;
    ViewerResults results_;
    const ProblemType* type_ = &ProblemType::Of(0);
    std::unique_ptr<ResultChoice> choice_;
    ModelView* view_;
    QComboBox* loadCase_;
    QLabel* notice_;
    QAction* nodeNumbers_;
    QAction* elementNumbers_;
    QAction* supports_;
    QComboBox* entry_ = nullptr;
    QComboBox* show_ = nullptr;
    QAction* reactions_ = nullptr;
    QAction* values_ = nullptr;
    QAction* arrows_ = nullptr;
    QString lastPick_;
    QDockWidget* tableDock_ = nullptr;
    QComboBox* tables_ = nullptr;
    QTableView* table_ = nullptr;
    ResultTableModel* tableModel_ = nullptr;
    QAction* saveTable_ = nullptr;
    QAction* printTable_ = nullptr;
    ExportActions* exports_ = nullptr;
    QString dataPath_;
    QComboBox* sectionAxis_ = nullptr;
    QSlider* sectionSlider_ = nullptr;
    QLabel* sectionPosition_ = nullptr;
    QAction* flipSection_ = nullptr;

    std::unique_ptr<ForcedMotion> motion_;
    size_t motionExcitation_ = 0;
    int point_ = 0;
    double phase_ = 0;
    double clock_ = 0; // the time a history plays at
    ForcedMotion::Quantity quantity_;
    ForcedMotion::Curve curve_;
    ResultPainter::Options::Motion drawing_;
    std::vector<std::pair<int, std::pair<double, double>>> ranges_; // per component, as found
    QToolBar* motionBar_ = nullptr;
    QAction* play_ = nullptr;
    QSlider* motionSlider_ = nullptr;
    QLabel* motionPosition_ = nullptr;
    QComboBox* frequencies_ = nullptr;
    QComboBox* speed_ = nullptr;
    QTimer* timer_ = nullptr;
    QElapsedTimer sinceStep_; // since the timer's last step
    QDockWidget* responseDock_ = nullptr;
    ResponsePlot* plot_ = nullptr;
    QComboBox* responseKind_ = nullptr;
    QSpinBox* responseNumber_ = nullptr;
    QComboBox* responseColumn_ = nullptr;
    bool responseShown_ = false; // the dock opened once by itself
    PictureActions* pictures_ = nullptr;
    PictureActions* plotPictures_ = nullptr;
    ShapeAnimation animation_;
    int animatedEntry_ = -1;
};
