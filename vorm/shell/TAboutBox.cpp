#include "TAboutBox.h"

#include "AboutText.h"
#include "HandlerGuard.h"
#include "VormIcons.h"

#include <QFocusEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

TAboutBox::TAboutBox(const PackageDir& packageDir, UserDialogs& dialogs, QWidget* parent,
                     HelpFileErrors errors)
    : QDialog(parent), packageDir(packageDir), dialogs(dialogs), errors(errors) {
    setWindowTitle(QStringLiteral("About"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    auto* panel = new QFrame(this);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    programIcon = new QLabel(panel);
    programIcon->setPixmap(VormIcons::ProgramPixmap(32));
    programIcon->setFixedSize(36, 36);
    programIcon->setAlignment(Qt::AlignCenter);
    productName = new QLabel(QStringLiteral("Product Name: VORM"), panel);
    version = new QLabel(panel);
    comments = new QLabel(QStringLiteral("Comments"), panel);
    richEdit1 = new QPlainTextEdit(panel);
    richEdit1->setReadOnly(true);
    richEdit1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    richEdit1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    richEdit1->setLineWrapMode(QPlainTextEdit::NoWrap);
    richEdit1->setPlainText(QStringLiteral(
        "VORM - static and dynamic analysis of structures and numerical mathematics."));
    richEdit1->installEventFilter(this);

    auto* labels = new QVBoxLayout;
    labels->setSpacing(2);
    labels->addWidget(productName);
    labels->addWidget(version);
    auto* head = new QHBoxLayout;
    head->addWidget(programIcon, 0, Qt::AlignTop);
    head->addLayout(labels, 1);
    auto* panelLayout = new QVBoxLayout(panel);
    panelLayout->setContentsMargins(8, 8, 8, 8);
    panelLayout->setSpacing(4);
    panelLayout->addLayout(head);
    panelLayout->addWidget(comments);
    panelLayout->addWidget(richEdit1, 1);

    okButton = new QPushButton(QStringLiteral("OK"), this);
    okButton->setDefault(true);
    connect(okButton, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addWidget(panel, 1);
    layout->addWidget(okButton, 0, Qt::AlignHCenter);
    setFixedSize(298, 213);

    FormCreate();
    okButton->setFocus();
}

void TAboutBox::FormCreate() {
    const auto load = [this] {
        const QString text =
            AboutText::Load(packageDir.FilePath(QString::fromLatin1(AboutText::HelpFileName)));
        // The text keeps its CR LF line breaks; the field wants plain line feeds.
        richEdit1->setPlainText(
            QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    };
    if (errors == HelpFileErrors::Show) {
        HandlerGuard::Run(dialogs, this, load);
        return;
    }
    try {
        load();
    } catch (const std::exception&) {
        // The hidden start-up box keeps its initial text.
    }
}

void TAboutBox::SetVersion(const QString& text) {
    version->setText(text);
}

void TAboutBox::MoveCaretToStart() {
    richEdit1->moveCursor(QTextCursor::Start);
}

QString TAboutBox::VersionText() const {
    return version->text();
}

QString TAboutBox::AboutTextShown() const {
    return richEdit1->toPlainText();
}

bool TAboutBox::eventFilter(QObject* watched, QEvent* event) {
    if (watched == richEdit1 && event->type() == QEvent::FocusIn) {
        // Focus that comes back when the box is activated again (after an error box, say) is
        // not the user entering the field.
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            FormCreate();
    }
    return QDialog::eventFilter(watched, event);
}
