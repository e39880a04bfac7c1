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
#include <QScreen>
#include <QStyle>
#include <QTextDocument>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

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
    // The text is wrapped and the box sized to it (FitToText), so no horizontal scrolling;
    // only a text taller than most of the screen scrolls.
    richEdit1->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    richEdit1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    richEdit1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
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
    layout->setSizeConstraint(QLayout::SetFixedSize);

    FitToText();
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
        FitToText();
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

void TAboutBox::FitToText() {
    const QString text = richEdit1->toPlainText();
    const QFontMetrics metrics(richEdit1->font());
    int longest = 0;
    for (const QString& line : text.split(u'\n'))
        longest = std::max(longest, metrics.horizontalAdvance(line));
    const int margin = int(std::ceil(richEdit1->document()->documentMargin()));
    const int lineWidth = std::clamp(longest + 1, MinTextWidth, MaxTextWidth);

    // The height the text takes when wrapped at that width.
    QTextDocument wrapped;
    wrapped.setDefaultFont(richEdit1->font());
    wrapped.setDocumentMargin(margin);
    wrapped.setPlainText(text);
    wrapped.setTextWidth(lineWidth + 2 * margin);
    const int textHeight = int(std::ceil(wrapped.size().height())) + metrics.descent();

    const QScreen* shown = screen();
    const int maxHeight = shown ? shown->availableSize().height() * 3 / 5 : 600;
    const int frame = 2 * richEdit1->frameWidth();
    int width = lineWidth + 2 * margin + frame;
    const int height = std::min(textHeight + frame, maxHeight);
    // A text too tall for the screen scrolls; leave room for its bar.
    if (height < textHeight + frame)
        width += style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    richEdit1->setFixedSize(width, std::max(height, MinTextHeight));
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
