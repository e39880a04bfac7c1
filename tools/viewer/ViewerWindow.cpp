#include "ViewerWindow.h"

#include "ModelView.h"

#include <QAction>
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QStatusBar>
#include <QToolBar>
#include <QVBoxLayout>

ViewerWindow::ViewerWindow(const QString& title, const ViewerLaunch::Outcome& launch,
                           QWidget* parent)
    : QMainWindow(parent), model_(launch.Model), view_(new ModelView(model_, this)),
      loadCase_(new QComboBox(this)), notice_(new QLabel(this)) {
    setWindowTitle(QStringLiteral("%1 - %2").arg(title, QFileInfo(launch.DataPath).fileName()));

    auto* tools = addToolBar(QStringLiteral("View"));
    tools->setMovable(false);
    tools->addWidget(new QLabel(QStringLiteral(" Load case: "), this));
    loadCase_->addItem(QStringLiteral("none"), 0);
    for (int c = 1; c <= model_.LoadCases; ++c)
        loadCase_->addItem(QString::number(c), c);
    loadCase_->setCurrentIndex(model_.LoadCases > 0 ? 1 : 0);
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
    if (model_.Space) {
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

    notice_->setWordWrap(true);
    notice_->setStyleSheet(QStringLiteral("QLabel { background: #fff4c4; padding: 6px; }"));
    notice_->setVisible(launch.ViewMode == ViewerLaunch::Mode::Results);
    notice_->setText(ViewerLaunch::NoResultsText());
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(notice_);
    layout->addWidget(view_, 1);
    setCentralWidget(central);

    const QString counts = QStringLiteral("%1: %2 nodes, %3 elements, %4 supports")
                               .arg(model_.Name)
                               .arg(model_.Nodes.size())
                               .arg(model_.ElementCentres.size())
                               .arg(model_.Supports.size());
    const QString hint = model_.Space ? QStringLiteral("wheel: zoom, drag: move, right drag or "
                                                       "arrow keys: turn, Home: fit")
                                      : QStringLiteral("wheel: zoom, drag: move, Home: fit");
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
    view_->setFocus();
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
}
