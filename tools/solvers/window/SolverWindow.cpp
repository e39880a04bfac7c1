#include "SolverWindow.h"

#include "ExchangeFile.h"
#include "ReportFont.h"
#include "SolverCommand.h"
#include "SolverRunState.h"
#include "UserDialogs.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>

namespace {

constexpr int TickMilliseconds = 200;

QLabel* PlainLabel(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    return label;
}

} // namespace

SolverWindow::SolverWindow(const QString& solverName, const QString& dataPath,
                           SolverRunState& state, UserDialogs& dialogs, QWidget* parent)
    : QWidget(parent, Qt::Window), solverName(solverName), dataPath(dataPath), state(state),
      dialogs(dialogs), progressPage(new QWidget(this)), endPage(new QWidget(this)),
      ticker(new QTimer(this)) {
    setWindowTitle(QStringLiteral("%1 - %2").arg(solverName, QFileInfo(dataPath).fileName()));
    // Escape does what the close button does: Stop while working, Close at the end.
    auto* escape = new QShortcut(QKeySequence::Cancel, this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);

    auto* title = PlainLabel(solverName, this);
    QFont bold = title->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.2);
    title->setFont(bold);
    auto* file = PlainLabel(QDir::toNativeSeparators(dataPath), this);
    file->setTextInteractionFlags(Qt::TextSelectableByMouse);

    // The progress page: the bar only says that the solver is busy, the stage says with what.
    auto* progress = progressPage;
    // One line: the window widens for a long stage rather than cut its second line.
    stageLabel = PlainLabel(QString(), progress);
    auto* busy = new QProgressBar(progress);
    busy->setRange(0, 0);
    busy->setTextVisible(false);
    elapsedLabel = PlainLabel(QString(), progress);
    stopButton = new QPushButton(QStringLiteral("Stop"), progress);
    stopButton->setObjectName(QStringLiteral("StopButton"));
    auto* progressLayout = new QVBoxLayout(progress);
    progressLayout->setContentsMargins(0, 0, 0, 0);
    progressLayout->addWidget(stageLabel);
    progressLayout->addWidget(busy);
    auto* progressRow = new QHBoxLayout;
    progressRow->addWidget(elapsedLabel, 1);
    progressRow->addWidget(stopButton);
    progressLayout->addLayout(progressRow);

    // The page shown at the end: a report or an error.
    auto* end = endPage;
    endHeading = PlainLabel(QString(), end);
    endHeading->setWordWrap(true);
    reportView = new QPlainTextEdit(end);
    reportView->setObjectName(QStringLiteral("ReportView"));
    reportView->setReadOnly(true);
    reportView->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    reportView->setLineWrapMode(QPlainTextEdit::NoWrap);
    reportView->setFont(ReportFont::Choose());
    saveButton = new QPushButton(QStringLiteral("Save..."), end);
    saveButton->setObjectName(QStringLiteral("SaveButton"));
    auto* closeButton = new QPushButton(QStringLiteral("Close"), end);
    closeButton->setObjectName(QStringLiteral("CloseButton"));
    auto* endLayout = new QVBoxLayout(end);
    endLayout->setContentsMargins(0, 0, 0, 0);
    endLayout->addWidget(endHeading);
    endLayout->addWidget(reportView, 1);
    auto* endRow = new QHBoxLayout;
    endRow->addStretch(1);
    endRow->addWidget(saveButton);
    endRow->addWidget(closeButton);
    endLayout->addLayout(endRow);

    endPage->hide();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(title);
    layout->addWidget(file);
    layout->addSpacing(6);
    layout->addWidget(progressPage);
    layout->addWidget(endPage, 1);

    connect(stopButton, &QPushButton::clicked, this, &SolverWindow::Stop);
    connect(saveButton, &QPushButton::clicked, this, &SolverWindow::SaveReport);
    connect(closeButton, &QPushButton::clicked, this, &QWidget::close);
    connect(ticker, &QTimer::timeout, this, &SolverWindow::UpdateProgress);
    ticker->start(TickMilliseconds);
    UpdateProgress();
    setMinimumWidth(480);
    resize(520, sizeHint().height());
}

void SolverWindow::UpdateProgress() {
    stageLabel->setText(state.CurrentStage());
    elapsedLabel->setText(QStringLiteral("Elapsed ") +
                          SolverRunState::ElapsedText(state.ElapsedMilliseconds()));
    stopButton->setEnabled(state.CanStop());
}

void SolverWindow::Stop() {
    if (state.RequestStop()) {
        UpdateProgress();
        emit StopRequested();
    }
}

void SolverWindow::ShowEnd(const QString& heading, const QString& text, bool saveable) {
    ended = true;
    ticker->stop();
    endHeading->setText(heading);
    reportView->setPlainText(text);
    // A report keeps its columns; a message is read whole.
    reportView->setLineWrapMode(saveable ? QPlainTextEdit::NoWrap : QPlainTextEdit::WidgetWidth);
    saveButton->setVisible(saveable);
    progressPage->hide();
    endPage->show();
    setMinimumWidth(0);
    // Room for a report's longest line where the screen allows; a short error needs less
    // height.
    int widest = 0;
    const QFontMetrics metrics(reportView->font());
    for (const QString& line : text.split(u'\n'))
        widest = std::max(widest, metrics.horizontalAdvance(line));
    // The window's and the view's margins and a vertical scroll bar.
    const int frame = style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 48;
    const int fits = screen() ? screen()->availableGeometry().width() * 9 / 10 : 1000;
    resize(std::clamp(widest + frame, 720, std::max(720, fits)), saveable ? 560 : 260);
}

void SolverWindow::ShowReport(const QString& protocol) {
    ShowEnd(QStringLiteral("Solved in %1.")
                .arg(SolverRunState::ElapsedText(state.ElapsedMilliseconds())),
            protocol, true);
}

void SolverWindow::ShowError(const QString& message) {
    ShowEnd(QStringLiteral("The solver ended with an error:"), message, false);
}

void SolverWindow::SaveReport() {
    const QFileInfo data(dataPath);
    FileDialogRequest request;
    request.Title = QStringLiteral("Save the report");
    request.Filter = QStringLiteral("Text files (*.txt)|*.txt|All files|*.*");
    request.DefaultExtension = QStringLiteral("txt");
    request.InitialDirectory = data.absolutePath();
    request.FileName = data.completeBaseName() + QStringLiteral(".txt");
    const QString path = dialogs.GetSaveFileName(this, request);
    if (path.isEmpty())
        return;
    // As PROT.TXT is written: the package's text files are Windows-1251 with CR LF.
    const QString error =
        ExchangeFile::Write(path, SolverCommand::ProtocolBytes(reportView->toPlainText()));
    if (!error.isEmpty()) {
        dialogs.ShowError(this, QStringLiteral("The report was not saved: ") + error);
        return;
    }
    endHeading->setText(QStringLiteral("Saved as %1").arg(QDir::toNativeSeparators(path)));
}

QString SolverWindow::StageText() const {
    return stageLabel->text();
}

QString SolverWindow::ReportText() const {
    return reportView->toPlainText();
}

bool SolverWindow::StopEnabled() const {
    return stopButton->isEnabled() && !ended;
}

void SolverWindow::closeEvent(QCloseEvent* event) {
    if (ended) {
        event->accept();
        emit Closed();
        return;
    }
    // While working the close button is Stop; while the files are written the run finishes
    // in a moment and closes the window itself.
    event->ignore();
    Stop();
}
