#include "FindReplaceDialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

FindReplaceDialog::FindReplaceDialog(Kind kind, QWidget* parent) : QDialog(parent) {
    const bool replacing = kind == Kind::Replace;
    setObjectName(replacing ? QStringLiteral("ReplaceDlg") : QStringLiteral("FindDialog"));
    setWindowTitle(replacing ? QStringLiteral("Replace") : QStringLiteral("Find"));
    setModal(false);

    auto* fields = new QGridLayout;
    findText = new QLineEdit(this);
    auto* findLabel = new QLabel(QStringLiteral("Fi&nd what:"), this);
    findLabel->setBuddy(findText);
    fields->addWidget(findLabel, 0, 0);
    fields->addWidget(findText, 0, 1);
    if (replacing) {
        replaceText = new QLineEdit(this);
        auto* replaceLabel = new QLabel(QStringLiteral("Re&place with:"), this);
        replaceLabel->setBuddy(replaceText);
        fields->addWidget(replaceLabel, 1, 0);
        fields->addWidget(replaceText, 1, 1);
    }
    wholeWord = new QCheckBox(QStringLiteral("Match &whole word only"), this);
    matchCase = new QCheckBox(QStringLiteral("Match &case"), this);
    auto* options = new QVBoxLayout;
    options->addLayout(fields);
    auto* lower = new QHBoxLayout;
    auto* boxes = new QVBoxLayout;
    boxes->addWidget(wholeWord);
    boxes->addWidget(matchCase);
    lower->addLayout(boxes);
    up = new QRadioButton(QStringLiteral("&Up"), this);
    down = new QRadioButton(QStringLiteral("&Down"), this);
    down->setChecked(true);
    if (!replacing) {
        auto* direction = new QGroupBox(QStringLiteral("Direction"), this);
        auto* row = new QHBoxLayout(direction);
        row->addWidget(up);
        row->addWidget(down);
        lower->addWidget(direction);
    } else {
        up->hide();
        down->hide();
    }
    options->addLayout(lower);
    options->addStretch(1);

    auto* actions = new QVBoxLayout;
    findNext = new QPushButton(QStringLiteral("&Find Next"), this);
    findNext->setDefault(true);
    actions->addWidget(findNext);
    connect(findNext, &QPushButton::clicked, this, &FindReplaceDialog::FindNext);
    if (replacing) {
        replace = new QPushButton(QStringLiteral("&Replace"), this);
        replaceAll = new QPushButton(QStringLiteral("Replace &All"), this);
        actions->addWidget(replace);
        actions->addWidget(replaceAll);
        connect(replace, &QPushButton::clicked, this, &FindReplaceDialog::ReplaceRequested);
        connect(replaceAll, &QPushButton::clicked, this, &FindReplaceDialog::ReplaceRequested);
    }
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    connect(cancel, &QPushButton::clicked, this, &QDialog::hide);
    actions->addWidget(cancel);
    actions->addStretch(1);

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(options, 1);
    layout->addLayout(actions);
}

SearchRequest FindReplaceDialog::Request() const {
    SearchRequest request;
    request.FindText = findText->text();
    request.ReplaceText = replaceText ? replaceText->text() : QString();
    request.WholeWord = wholeWord->isChecked();
    request.MatchCase = matchCase->isChecked();
    request.Down = !up->isChecked();
    return request;
}

void FindReplaceDialog::SetFindText(const QString& text) {
    findText->setText(text);
    findText->selectAll();
}
