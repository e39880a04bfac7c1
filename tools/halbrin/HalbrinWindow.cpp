#include "HalbrinWindow.h"

#include "PrincipalStresses.h"

#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

const std::array<const char*, 6> FieldNames = {"σx", "σy", "σz", "τxy", "τyz", "τzx"};

} // namespace

HalbrinWindow::HalbrinWindow(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Principal stresses and directions"));

    auto* modeBox = new QGroupBox(QStringLiteral("Stress state"), this);
    planeButton = new QRadioButton(QStringLiteral("&Plane (x-y)"), modeBox);
    spatialButton = new QRadioButton(QStringLiteral("&Spatial"), modeBox);
    planeButton->setChecked(true);
    auto* modeLayout = new QHBoxLayout(modeBox);
    modeLayout->addWidget(planeButton);
    modeLayout->addWidget(spatialButton);

    auto* inputBox = new QGroupBox(QStringLiteral("Stresses"), this);
    auto* grid = new QGridLayout(inputBox);
    for (size_t i = 0; i < fields.size(); ++i) {
        fields[i] = new QLineEdit(QStringLiteral("0"), inputBox);
        fields[i]->setAlignment(Qt::AlignRight);
        const int row = int(i % 3);
        const int column = int(i / 3) * 2;
        grid->addWidget(new QLabel(QString::fromUtf8(FieldNames[i]) + u' ', inputBox), row, column);
        grid->addWidget(fields[i], row, column + 1);
        connect(fields[i], &QLineEdit::returnPressed, this, &HalbrinWindow::Calculate);
    }

    results = new QPlainTextEdit(this);
    results->setReadOnly(true);
    results->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    results->setMinimumHeight(110);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* calculate =
        buttons->addButton(QStringLiteral("&Calculate"), QDialogButtonBox::ActionRole);
    buttons->addButton(QDialogButtonBox::Close);
    connect(calculate, &QPushButton::clicked, this, &HalbrinWindow::Calculate);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(modeBox);
    layout->addWidget(inputBox);
    layout->addWidget(results, 1);
    layout->addWidget(buttons);

    connect(planeButton, &QRadioButton::toggled, this, &HalbrinWindow::UpdateMode);
    UpdateMode();
    resize(460, 360);
}

void HalbrinWindow::UpdateMode() {
    const bool spatial = spatialButton->isChecked();
    for (size_t i : {size_t(2), size_t(4), size_t(5)})
        fields[i]->setEnabled(spatial);
    Calculate();
}

void HalbrinWindow::Calculate() {
    std::array<double, 6> values{};
    const bool spatial = spatialButton->isChecked();
    for (size_t i = 0; i < fields.size(); ++i) {
        if (!fields[i]->isEnabled())
            continue;
        const auto value = PrincipalStresses::ParseNumber(fields[i]->text());
        if (!value) {
            results->setPlainText(
                QStringLiteral("Enter a number for %1.").arg(QString::fromUtf8(FieldNames[i])));
            fields[i]->setFocus();
            return;
        }
        values[i] = *value;
    }
    const PrincipalResult result =
        spatial ? PrincipalStresses::Spatial(
                      {values[0], values[1], values[2], values[3], values[4], values[5]})
                : PrincipalStresses::Plane(values[0], values[1], values[3]);
    results->setPlainText(PrincipalStresses::Report(result));
}
