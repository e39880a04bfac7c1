#include "TEditForm.h"

#include "BlockExchange.h"
#include "ButtonRules.h"
#include "CalculationRecord.h"
#include "CheckVerdict.h"
#include "DataFileText.h"
#include "EditField.h"
#include "EditorDesign.h"
#include "EditorGlyphs.h"
#include "EditorHelpPage.h"
#include "EditorPickers.h"
#include "ErrorFile.h"
#include "FileRename.h"
#include "FindReplaceDialog.h"
#include "GmshImportDlg.h"
#include "GmshImportPlan.h"
#include "HandlerGuard.h"
#include "LauncherSettings.h"
#include "LineRoleHighlighter.h"
#include "PackageDir.h"
#include "PackageSettings.h"
#include "PreviewRules.h"
#include "ProgramCommands.h"
#include "ProgramRunner.h"
#include "ProgramTable.h"
#include "ReportFile.h"
#include "ReportWindow.h"
#include "ResultFiles.h"
#include "StandardDialogs.h"
#include "SystemCalculator.h"
#include "TGlobalObj.h"
#include "TemplateBlocks.h"
#include "TextFinder.h"
#include "TextPrinter.h"
#include "ToolsetFiles.h"
#include "UnitCodes.h"
#include "UserDialogs.h"
#include "VormError.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QPrinter>
#include <QScopeGuard>
#include <QShortcut>
#include <QStatusBar>
#include <QTextBlock>
#include <QTimer>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>
#include <utility>

TEditForm::TEditForm(const EditorServices& services, bool solverAvailable, QWidget* parent)
    : QWidget(parent), services(services) {
    setObjectName(QStringLiteral("EditForm"));
    setWindowTitle(QStringLiteral("Editor"));
    document.SolverAvailable = solverAvailable;

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    BuildToolBar();
    editField = new EditField(this);
    layout->addWidget(editField, 1);
    statusBar = new QStatusBar(this);
    statusBar->setSizeGripEnabled(false);
    positionPanel = new QLabel(statusBar);
    positionPanel->setMinimumWidth(150);
    messagePanel = new QLabel(statusBar);
    messagePanel->setObjectName(QStringLiteral("MessagePanel"));
    messagePanel->setMinimumWidth(50);
    messagePanel->setAlignment(Qt::AlignCenter);
    // A verdict longer than the window wraps onto further lines rather than being cut off.
    messagePanel->setWordWrap(true);
    statusBar->addWidget(positionPanel);
    statusBar->addWidget(messagePanel, 1);
    layout->addWidget(statusBar);

    tables = std::make_unique<InputTables>(*editField->document());
    finder = std::make_unique<TextFinder>(*editField, services.Dialogs, this);
    standardDialogs = std::make_unique<LibraryDialogs>();
    groupChooser = &GmshImportDlg::Choose;
    highlighter = new LineRoleHighlighter(editField->document());
    BuildMenus();
    Connect();
    UpdateClipboardState();

    // Opening the file that the launcher's dialog has just chosen.
    Guarded([&] {
        services.Globals.PreviewDlg().InitialDirectory.clear();
        editField->clear();
        // Clearing counts as an edit for the text control; an empty new window has nothing
        // to save.
        editField->document()->setModified(false);
        SetSaveEnabled(false);
        OpenBtnClick(false);
        setWindowTitle(document.Path());
    });
}

TEditForm::~TEditForm() = default;

template <typename Handler>
void TEditForm::Guarded(Handler&& handler) {
    ++actionsRunning;
    const auto done = qScopeGuard([this] {
        --actionsRunning;
        CloseWhenIdle();
    });
    HandlerGuard::Run(services.Dialogs, this, std::forward<Handler>(handler));
}

void TEditForm::BuildToolBar() {
    auto* panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("Panel"));
    panel->setFixedHeight(32);
    auto* row = new QHBoxLayout(panel);
    row->setContentsMargins(3, 3, 3, 3);
    row->setSpacing(1);
    for (const EditorDesign::Button& design : EditorDesign::ToolBar) {
        auto* button = new QToolButton(panel);
        const QString name = QString::fromLatin1(design.Name);
        button->setObjectName(name);
        button->setToolTip(QString::fromLatin1(design.Hint));
        button->setIcon(EditorGlyphs::Icon(name));
        button->setIconSize(QSize(20, 20));
        button->setFixedSize(25, 25);
        button->setAutoRaise(true);
        button->setEnabled(design.Enabled);
        row->addWidget(button);
        buttons << button;
    }
    row->addStretch(1);
    static_cast<QVBoxLayout*>(layout())->addWidget(panel);
}

void TEditForm::BuildMenus() {
    for (const EditorDesign::TopMenu& top : EditorDesign::MenuBar) {
        auto* menu = new QMenu(QString::fromUtf8(top.Caption), this);
        menu->setObjectName(QString::fromLatin1(top.Name));
        for (const EditorDesign::MenuItem& design : top.Items) {
            if (*design.Name == '\0') {
                menu->addSeparator();
                continue;
            }
            QAction* item = menu->addAction(QString::fromUtf8(design.Caption));
            item->setObjectName(QString::fromLatin1(design.Name));
            if (*design.Shortcut != '\0') {
                item->setShortcut(QKeySequence(QString::fromLatin1(design.Shortcut)));
                // Each editor window's keys work inside that window only, so several windows
                // never compete for one key.
                item->setShortcutContext(Qt::WidgetWithChildrenShortcut);
                addAction(item);
            }
        }
        menus << menu;
    }
    menus.last()->menuAction()->setVisible(false);
    // Greyed operations say why in their tooltips.
    for (QMenu* menu : menus)
        menu->setToolTipsVisible(true);
}

QToolButton* TEditForm::Button(const QString& name) const {
    for (QToolButton* button : buttons)
        if (button->objectName() == name)
            return button;
    return nullptr;
}

QAction* TEditForm::MenuItem(const QString& name) const {
    for (QMenu* menu : menus) {
        if (menu->objectName() == name)
            return menu->menuAction();
        for (QAction* item : menu->actions())
            if (item->objectName() == name)
                return item;
    }
    return nullptr;
}

void TEditForm::Connect() {
    auto onClick = [this](const char* name, auto handler) {
        connect(Button(QString::fromLatin1(name)), &QToolButton::clicked, this,
                [this, handler] { Guarded([this, handler] { (this->*handler)(); }); });
    };
    auto onItem = [this](const char* name, auto handler) {
        connect(MenuItem(QString::fromLatin1(name)), &QAction::triggered, this,
                [this, handler] { Guarded([this, handler] { (this->*handler)(); }); });
    };
    connect(Button(QStringLiteral("OpenBtn")), &QToolButton::clicked, this,
            [this] { Guarded([this] { OpenBtnClick(true); }); });
    connect(MenuItem(QStringLiteral("Open")), &QAction::triggered, this,
            [this] { Guarded([this] { OpenBtnClick(true); }); });
    onClick("SaveBtn", &TEditForm::SaveBtnClick);
    onClick("CopyBtn", &TEditForm::CopyBtnClick);
    onClick("CutBtn", &TEditForm::CutBtnClick);
    onClick("PasteBtn", &TEditForm::PasteBtnClick);
    onClick("UndoBtn", &TEditForm::UndoBtnClick);
    onClick("HelpBtn", &TEditForm::HelpBtnClick);
    onClick("ExitBtn", &TEditForm::ExitBtnClick);
    onItem("Save", &TEditForm::SaveBtnClick);
    onItem("SaveAs", &TEditForm::SaveAsClick);
    onItem("Exit", &TEditForm::ExitBtnClick);
    onItem("Undo", &TEditForm::UndoBtnClick);
    onItem("CopyItem", &TEditForm::CopyBtnClick);
    onItem("CutItem", &TEditForm::CutBtnClick);
    onItem("PasteItem", &TEditForm::PasteBtnClick);
    onItem("Fonts", &TEditForm::FontsClick);
    onItem("ColorItem", &TEditForm::ColorClick);
    onItem("Help", &TEditForm::HelpBtnClick);
    onClick("CheckBtn", &TEditForm::CheckBtnClick);
    onClick("CalculateBtn", &TEditForm::CalculateBtnClick);
    onClick("GenerateBtn", &TEditForm::GenerateBtnClick);
    connect(Button(QStringLiteral("PreviewBtn")), &QToolButton::clicked, this,
            [this] { Guarded([this] { PreviewBtnClick(true); }); });
    onClick("VisualizeBtn", &TEditForm::VisualizeBtnClick);
    onClick("CalculatorBtn", &TEditForm::CalculatorBtnClick);
    onItem("Check", &TEditForm::CheckClick);
    onItem("Calculate", &TEditForm::CalculateClick);
    onItem("Generate", &TEditForm::GenerateClick);
    onItem("ImportGmsh", &TEditForm::ImportGmshClick);
    onItem("OpenGmsh", &TEditForm::OpenGmshClick);
    onItem("Preview", &TEditForm::PreviewClick);
    onItem("Visualize", &TEditForm::VisualizeClick);
    onItem("Report", &TEditForm::ReportClick);
    // A greyed action's key says in the status line why nothing happens.
    for (const auto& [key, name] :
         {std::pair{Qt::Key_F9, "CalculateBtn"}, std::pair{Qt::Key_F4, "VisualizeBtn"},
          std::pair{Qt::Key_F8, "Report"}}) {
        auto* shortcut = new QShortcut(QKeySequence(key), this);
        shortcut->setContext(Qt::WidgetWithChildrenShortcut);
        shortcut->setEnabled(false);
        const QString reasonOf = QString::fromLatin1(name);
        connect(shortcut, &QShortcut::activated, this,
                [this, reasonOf] { SetMessage(reasons.value(reasonOf)); });
        reasonKeys.insert(reasonOf, shortcut);
    }
    onClick("InsertProfDat", &TEditForm::InsertProfDatClick);
    onClick("MatBtn", &TEditForm::MatBtnClick);
    onItem("Profiles", &TEditForm::InsertProfDatClick);
    onItem("Materials", &TEditForm::MatBtnClick);
    onItem("Print1", &TEditForm::Print1Click);
    onItem("Find", &TEditForm::FindClick);
    onItem("Replace", &TEditForm::ReplaceClick);

    connect(editField, &EditField::KeyReleased, this,
            [this](int key) { Guarded([this, key] { EditFieldKeyUp(key); }); });
    connect(editField, &QPlainTextEdit::cursorPositionChanged, this, &TEditForm::SelectionChange);
    connect(editField, &QPlainTextEdit::selectionChanged, this, &TEditForm::SelectionChange);
    connect(editField, &QPlainTextEdit::undoAvailable, this, &TEditForm::UpdateButtons);
    // The save button shows whether the text differs from the file, whatever changed it.
    connect(editField->document(), &QTextDocument::modificationChanged, this, [this] {
        SetSaveEnabled(editField->document()->isModified());
        UpdateButtons();
    });
    if (QClipboard* clipboard = QGuiApplication::clipboard())
        connect(clipboard, &QClipboard::dataChanged, this, [this] {
            UpdateClipboardState();
            UpdateButtons();
        });
}

void TEditForm::SetMessage(const QString& text) {
    messagePanel->setText(text);
    messagePanel->setToolTip(text);
}

QString TEditForm::StatusText(int panel) const {
    return panel == 0 ? positionPanel->text() : messagePanel->text();
}

void TEditForm::OpenBtnClick(bool withDialog) {
    FileDialogRequest& dialog = services.Globals.PreviewDlg();
    dialog.InitialDirectory = services.Settings.ReadDataDirectory();
    if (!ConfirmDiscard())
        return;
    if (withDialog && services.Globals.RunPreviewDlg(this).isEmpty())
        return;
    OpenFile(dialog.FileName);
}

void TEditForm::OpenFile(const QString& path) {
    for (const char* scratch : {"MAT.DAT", "PROF.DAT"})
        QFile::remove(services.Package.FilePath(QString::fromLatin1(scratch)));
    ApplyEditorFont();
    document.SetPath(path);
    document.ProblemCode = EditorDocument::ProblemCodeOf(document.FileName);
    document.StaleResults = {};
    if (document.ProblemCode < 20)
        ResultFiles::ClearUnnecessaryFiles(document.FileDir);
    if (document.ProblemCode > 0)
        services.Settings.WriteDataDirectory(path);
    helpContext = EditorDocument::HelpContextOf(document.ProblemCode);

    QTextDocument* text = editField->document();
    editField->clear();
    text->setModified(false);
    if (const auto loaded = DataFileText::Load(document.Path())) {
        editField->setPlainText(loaded->Text);
        document.DosEncoded = loaded->DosEncoded;
        text->setModified(false);
        SetSaveEnabled(false);
    } else {
        // A file that cannot be read is a new one: it starts from its problem's template.
        editField->setEnabled(false);
        auto finish = [this] {
            editField->moveCursor(QTextCursor::Start);
            editField->setEnabled(true);
            SetMessage(QString());
        };
        try {
            ApplyEditorFont();
            if (document.ProblemCode > 0)
                editField->setPlainText(TemplateBlocks::NewFile(services.Package,
                                                                services.Globals.Texts(),
                                                                document.FileName)
                                            .join(u'\n'));
        } catch (...) {
            finish();
            throw;
        }
        finish();
        text->setModified(true);
        SetSaveEnabled(true);
    }

    const bool profiles =
        EditorDocument::ProfilesAllowed(document.ProblemCode, tables->GetTable(3) != -1);
    const bool materials = EditorDocument::MaterialsAllowed(document.ProblemCode);
    Button(QStringLiteral("InsertProfDat"))->setEnabled(profiles);
    MenuItem(QStringLiteral("Profiles"))->setEnabled(profiles);
    Button(QStringLiteral("MatBtn"))->setEnabled(materials);
    MenuItem(QStringLiteral("Materials"))->setEnabled(materials);

    setWindowTitle(document.Path());
    editField->moveCursor(QTextCursor::Start);
    SelectionChange();
    // Said at once, rather than only by a greyed button, for a type this package cannot solve.
    if (reasons.value(QStringLiteral("CalculateBtn")) == ButtonRules::NoSolverText())
        SetMessage(ButtonRules::NoSolverText());
    if (QFileInfo::exists(document.Path()))
        emit FileOpened(document.Path());
}

void TEditForm::ApplyEditorFont() {
    const EditorFont font = services.Settings.ReadEditorFont();
    const QColor back = LauncherSettings::ColorFromStored(services.Settings.ReadBackColor());
    editField->SetTextFont(font.Font);
    QPalette palette = editField->palette();
    palette.setColor(QPalette::Text, font.Color);
    palette.setColor(QPalette::Base, back);
    editField->setPalette(palette);
}

bool TEditForm::ConfirmDiscard() {
    if (!Unsaved())
        return true;
    switch (services.Dialogs.AskYesNoCancel(this, QStringLiteral("Save changes?"))) {
    case UserDialogs::Answer::Yes:
        return SaveChanges();
    case UserDialogs::Answer::No:
        return true;
    default:
        return false;
    }
}

bool TEditForm::SaveChanges() {
    SaveBtnClick();
    // A cancelled Save As leaves the text unsaved: nothing may be thrown away then.
    return !Unsaved();
}

void TEditForm::SaveBtnClick() {
    if (document.FileName.contains(QStringLiteral("Untitled"))) {
        SaveAsClick();
        return;
    }
    WriteFile();
}

void TEditForm::WriteFile() {
    DataFileText::Save(document.Path(), editField->Text(), document.DosEncoded);
    editField->document()->setModified(false);
    SetSaveEnabled(false);
    UpdateButtons();
}

void TEditForm::SaveAsClick() {
    FileDialogRequest& open = services.Globals.PreviewDlg();
    FileDialogRequest request = EditorDocument::SaveAsRequest(open, document.FileName);
    request.Title = QStringLiteral("Save As");
    const QString chosen = services.Dialogs.GetSaveFileName(this, request);
    if (chosen.isEmpty())
        return;
    const EditorDocument previous = document;
    const int previousHelp = helpContext;
    document.SetPath(chosen);
    // The new name decides the problem type (its solver, viewer, help and check state) when
    // it carries a number; a name without one keeps the type the text was written for.
    if (const int code = EditorDocument::ProblemCodeOf(document.FileName);
        code > 0 && code != previous.ProblemCode) {
        document.ProblemCode = code;
        helpContext = EditorDocument::HelpContextOf(code);
        // The menu entry's mark was about the old type; the new one's solver is looked up.
        const QString solver =
            ProgramTable::Solver(code > 50 ? code - 50 : code, document.DynamicsVariant())
                .trimmed();
        document.SolverAvailable =
            !solver.isEmpty() && QFileInfo(services.Runner.ResolveProgram(solver)).isFile();
    }
    try {
        // Written directly: a chosen name with "Untitled" in it must not ask again.
        WriteFile();
    } catch (...) {
        document = previous;
        helpContext = previousHelp;
        throw;
    }
    open.FileName = chosen;
    setWindowTitle(chosen);
    emit FileOpened(chosen);
}

void TEditForm::ExitBtnClick() {
    if (QWidget* window = parentWidget())
        window->close();
    else
        close();
}

void TEditForm::CopyBtnClick() {
    editField->copy();
    UpdateButtons();
}

void TEditForm::CutBtnClick() {
    editField->cut();
    UpdateButtons();
}

void TEditForm::PasteBtnClick() {
    editField->paste();
    UpdateButtons();
}

void TEditForm::UndoBtnClick() {
    editField->undo();
}

void TEditForm::FontsClick() {
    const auto font = services.Pickers.PickFont(this, editField->font());
    if (!font)
        return;
    editField->SetTextFont(*font);
    EditorFont stored;
    stored.Font = *font;
    stored.Color = editField->palette().color(QPalette::Text);
    stored.CharSet = LauncherSettings::DefaultEditorFont().CharSet;
    services.Settings.WriteEditorFont(stored);
}

void TEditForm::ColorClick() {
    const auto colour =
        services.Pickers.PickColor(this, editField->palette().color(QPalette::Base));
    if (!colour)
        return;
    QPalette palette = editField->palette();
    palette.setColor(QPalette::Base, *colour);
    editField->setPalette(palette);
    services.Settings.WriteBackColor(LauncherSettings::StoredFromColor(*colour));
}

void TEditForm::SelectionChange() {
    const int start = editField->textCursor().selectionStart();
    const QTextBlock block = editField->document()->findBlock(start);
    positionPanel->setText(QString::asprintf("Line:%4d Col:%3d", block.blockNumber() + 1,
                                             start - block.position() + 1));
    UpdateButtons();
}

void TEditForm::UpdateButtons() {
    ButtonRules::Inputs in;
    in.ProblemCode = document.ProblemCode;
    in.Unsaved = Unsaved();
    in.SolverAvailable = document.SolverAvailable;
    in.HasSelection = editField->textCursor().hasSelection();
    in.ClipboardHasData = clipboardHasData;
    in.CanUndo = editField->document()->isUndoAvailable();
    in.ResultExists = [this] { return ResultFiles::ResultExists(document); };
    const ButtonRules::States s = ButtonRules::Evaluate(in);
    ShowReason(QStringLiteral("CalculateBtn"), QStringLiteral("Calculate"),
               s.Calculate ? QString() : ButtonRules::CalculateReason(in));
    ShowReason(QStringLiteral("VisualizeBtn"), QStringLiteral("Visualize"),
               s.Visualize ? QString() : ButtonRules::VisualizeReason(in));
    const QString report = ReportFile::PathOf(document);
    const bool hasReport = QFileInfo(report).isFile();
    MenuItem(QStringLiteral("Report"))->setEnabled(hasReport);
    ShowReason(QString(), QStringLiteral("Report"),
               hasReport ? QString() : ReportFile::MissingText(report));
    const std::pair<const char*, bool> states[] = {
        {"GenerateBtn", s.Generate},   {"CopyBtn", s.Copy},       {"CutBtn", s.Cut},
        {"PasteBtn", s.Paste},         {"PreviewBtn", s.Preview}, {"VisualizeBtn", s.Visualize},
        {"CalculateBtn", s.Calculate}, {"UndoBtn", s.Undo},
    };
    for (const auto& [name, enabled] : states)
        Button(QString::fromLatin1(name))->setEnabled(enabled);
    const std::pair<const char*, const char*> items[] = {
        {"Save", "SaveBtn"},           {"Generate", "GenerateBtn"},   {"Preview", "PreviewBtn"},
        {"Calculate", "CalculateBtn"}, {"Visualize", "VisualizeBtn"}, {"CopyItem", "CopyBtn"},
        {"CutItem", "CutBtn"},         {"PasteItem", "PasteBtn"},     {"Undo", "UndoBtn"},
    };
    for (const auto& [item, button] : items)
        MenuItem(QString::fromLatin1(item))
            ->setEnabled(Button(QString::fromLatin1(button))->isEnabled());
    MenuItem(QStringLiteral("ImportGmsh"))
        ->setEnabled(GmshImportPlan::Accepts(document.ProblemCode));
    const bool gmsh = !GmshImportPlan::GmshExecutable().isEmpty();
    MenuItem(QStringLiteral("OpenGmsh"))->setEnabled(gmsh);
    ShowReason(QString(), QStringLiteral("OpenGmsh"),
               gmsh ? QString() : GmshImportPlan::NotInstalledText());
}

void TEditForm::ShowReason(const QString& button, const QString& item, const QString& reason) {
    const QString key = button.isEmpty() ? item : button;
    reasons.insert(key, reason);
    if (QShortcut* shortcut = reasonKeys.value(key))
        shortcut->setEnabled(!reason.isEmpty());
    auto withReason = [&](const QString& hint) {
        return reason.isEmpty() ? hint : hint + u'\n' + reason;
    };
    if (QToolButton* tool = button.isEmpty() ? nullptr : Button(button))
        tool->setToolTip(withReason(QString::fromLatin1(EditorDesign::HintOf(button))));
    QAction* action = MenuItem(item);
    action->setToolTip(withReason(action->text().remove(u'&')));
    action->setStatusTip(reason);
}

ReportWindow* TEditForm::Report() const {
    return reportWindow;
}

void TEditForm::ReportClick() {
    const QString path = ReportFile::PathOf(document);
    const auto bytes = ReportFile::Read(path);
    if (!bytes) {
        SetMessage(ReportFile::MissingText(path));
        UpdateButtons();
        return;
    }
    // One report window per editor, showing the latest protocol.
    if (reportWindow)
        reportWindow->close();
    reportWindow =
        new ReportWindow(path, *bytes, editField->font(), services.Dialogs, services.Pickers, this);
    reportWindow->setAttribute(Qt::WA_DeleteOnClose);
    reportWindow->show();
}

void TEditForm::EditFieldKeyUp(int key) {
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        QTextCursor cursor = editField->textCursor();
        const QTextBlock block = editField->document()->findBlock(cursor.selectionStart());
        const QTextBlock above = block.previous();
        if (cursor.selectionStart() == block.position() && above.isValid()) {
            const QString number = InputTables::NumberingAfter(above.text());
            if (!number.isEmpty()) {
                // One undo takes the new line and its number away together.
                cursor.joinPreviousEditBlock();
                cursor.insertText(number);
                cursor.endEditBlock();
                editField->setTextCursor(cursor);
            }
        }
    }
    SetSaveEnabled(editField->document()->isModified());
    SelectionChange();
}

void TEditForm::FindClick() {
    if (!findDialog) {
        findDialog = new FindReplaceDialog(FindReplaceDialog::Kind::Find, this);
        connect(findDialog, &FindReplaceDialog::FindNext, this,
                [this] { Guarded([this] { FindDialogFind(findDialog); }); });
    }
    findDialog->show();
    findDialog->raise();
    findDialog->activateWindow();
    SelectionChange();
}

void TEditForm::ReplaceClick() {
    if (!replaceDialog) {
        replaceDialog = new FindReplaceDialog(FindReplaceDialog::Kind::Replace, this);
        connect(replaceDialog, &FindReplaceDialog::FindNext, this,
                [this] { Guarded([this] { FindDialogFind(replaceDialog); }); });
        connect(replaceDialog, &FindReplaceDialog::ReplaceRequested, this,
                [this] { Guarded([this] { ReplaceDlgReplace(); }); });
    }
    replaceDialog->show();
    replaceDialog->raise();
    replaceDialog->activateWindow();
    SelectionChange();
}

void TEditForm::FindDialogFind(FindReplaceDialog* dialog) {
    finder->Find(dialog->Request());
    SelectionChange();
}

void TEditForm::ReplaceDlgReplace() {
    finder->Replace(replaceDialog->Request(), [this] {
        SetSaveEnabled(true);
        UpdateButtons();
    });
    SelectionChange();
}

namespace {

const QString UnitsNeeded = QStringLiteral("Force and linear dimensions MUST be given!");

// Raised by the exchange with the dialog library, so that the materials can tell it apart.
class ExchangeError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace

void TEditForm::SetStandardDialogs(std::unique_ptr<StandardDialogs> dialogs) {
    standardDialogs = std::move(dialogs);
}

QString TEditForm::UnitOfItem(int item) const {
    const int line = tables->GetTableItem(1, item);
    // Without the item the search names the line above table 1's items, whose text is no
    // unit.
    if (line < 0 || tables->ItemNumber(line) != item)
        return {};
    return UnitCodes::UnitValue(editField->document()->findBlockByNumber(line).text());
}

bool TEditForm::ExchangeBlock(
    int table, const QString& what,
    const std::function<bool(int count, std::unique_ptr<QBuffer>&)>& run) {
    int first = tables->GetTableItem(table, 1);
    // A table with neither headings nor items: the search names its header line, and the
    // items go below it, not above it into the table before.
    if (first >= 0 && editField->document()->findBlockByNumber(first).text().startsWith(u'*'))
        ++first;
    if (first < 0) {
        // Without the table there is no place for the block: the text stays as it is.
        services.Dialogs.ShowWarning(
            this, QStringLiteral("The data have no table %1 (%2): add its header line \"*%1\" "
                                 "first.")
                      .arg(table)
                      .arg(what));
        return false;
    }
    BlockExchange::Block block = BlockExchange::Collect(*editField->document(), first);
    std::unique_ptr<QBuffer> stream;
    bool confirmed = false;
    try {
        QStringList list = block.Lines;
        const int count = UnitCodes::CountItems(list);
        stream = BlockExchange::ToStream(list);
        confirmed = run(count, stream);
    } catch (const std::exception& error) {
        throw ExchangeError(error.what());
    } catch (...) {
        throw ExchangeError("the dialog library failed");
    }
    if (!confirmed || !stream)
        return false;
    BlockExchange::Replace(*editField, block.First, block.Last, BlockExchange::FromStream(*stream));
    editField->document()->setModified(true);
    tables->UpdateTable1(first);
    SetSaveEnabled(true);
    UpdateButtons();
    return true;
}

void TEditForm::InsertProfDatClick() {
    const QString length = UnitOfItem(3);
    if (length.isEmpty()) {
        services.Dialogs.ShowWarning(this, UnitsNeeded);
        return;
    }
    const int problem =
        document.ProblemCode > 50 ? document.ProblemCode - 50 : document.ProblemCode;
    const QString path = services.Package.FilePath(QStringLiteral("StdProf.dat"));
    try {
        ExchangeBlock(3, QStringLiteral("sections"),
                      [&](int count, std::unique_ptr<QBuffer>& stream) {
                          return standardDialogs->Profiles(this, path, problem, count, stream,
                                                           UnitCodes::LengthUnitCode(length));
                      });
    } catch (const ExchangeError& error) {
        // Said rather than dropped: the user would otherwise take the missing profiles for
        // a cancelled dialog.
        services.Dialogs.ShowWarning(this, QString::fromUtf8(error.what()));
    }
    SelectionChange();
}

void TEditForm::MatBtnClick() {
    try {
        const QString force = UnitOfItem(2);
        const QString length = UnitOfItem(3);
        if (force.isEmpty() || length.isEmpty()) {
            services.Dialogs.ShowWarning(this, UnitsNeeded);
            return;
        }
        const QString path = services.Package.FilePath(QStringLiteral("StdMat.dat"));
        ExchangeBlock(2, QStringLiteral("materials"),
                      [&](int count, std::unique_ptr<QBuffer>& stream) {
                          return standardDialogs->Materials(this, path, count, stream,
                                                            UnitCodes::LengthUnitCode(length),
                                                            UnitCodes::ForceUnitCode(force));
                      });
    } catch (const ExchangeError&) {
        services.Dialogs.ShowWarning(this, QStringLiteral("Error executing materials dialog!"));
    } catch (const std::exception&) {
        services.Dialogs.ShowWarning(this, UnitsNeeded);
    }
    SelectionChange();
}

void TEditForm::Print1Click() {
    if (!services.Pickers.PrinterInstalled()) {
        services.Dialogs.ShowError(this, TextPrinter::NoPrinterText());
        return;
    }
    const QTextCursor cursor = editField->textCursor();
    QPrinter printer;
    if (!services.Pickers.SetUpPrinter(this, printer, cursor.hasSelection()))
        return;
    if (printer.printRange() == QPrinter::Selection && cursor.hasSelection())
        PrintSel(printer, document.FileName, cursor.selectionStart(),
                 cursor.selectionEnd() - cursor.selectionStart());
    else
        TextPrinter::Print(printer, document.FileName, editField->toPlainText(), editField->font());
}

int TEditForm::PrintSel(QPrinter& printer, const QString& title, int start, int length) {
    return TextPrinter::Print(printer, title, editField->toPlainText().mid(start, length),
                              editField->font());
}

void TEditForm::ChildHelp() {
    Guarded([this] { HelpBtnClick(); });
}

void TEditForm::HelpBtnClick() {
    const QString page = EditorHelpPage::Write(services.Package, helpContext);
    if (!services.Dialogs.OpenWithDesktop(QUrl::fromLocalFile(page)))
        services.Dialogs.ShowWarning(this, EditorHelpPage::WithoutBrowserText(page));
}

void TEditForm::SetSaveEnabled(bool enabled) {
    Button(QStringLiteral("SaveBtn"))->setEnabled(enabled);
    MenuItem(QStringLiteral("Save"))->setEnabled(enabled);
}

bool TEditForm::Unsaved() const {
    return Button(QStringLiteral("SaveBtn"))->isEnabled();
}

void TEditForm::UpdateClipboardState() {
    const QClipboard* clipboard = QGuiApplication::clipboard();
    const QMimeData* data = clipboard ? clipboard->mimeData() : nullptr;
    clipboardHasData = data && !data->formats().isEmpty();
}

void TEditForm::closeEvent(QCloseEvent* event) {
    // The action that started the program goes on in this window when the program ends.
    if (programsRunning > 0) {
        SetMessage(StillRunningText());
        closeAfterRun = true;
        event->ignore();
        return;
    }
    bool closes = false;
    Guarded([&] { closes = ConfirmDiscard(); });
    event->setAccepted(closes);
}

// The outside programs.

QString TEditForm::StillRunningText() {
    return QStringLiteral("A program is running: the window closes when it has ended.");
}

int TEditForm::Run(const ProgramCall& call) {
    ++programsRunning;
    const auto done = qScopeGuard([this] {
        --programsRunning;
        CloseWhenIdle();
    });
    runErrorFile.reset();
    return services.Runner.RunProgram(
        this, call.Program, call.Arguments, call.ShowState, call.CommandLine,
        [this](const QString& runDirectory) { runErrorFile = ErrorFile::ReadIn(runDirectory); });
}

void TEditForm::CloseWhenIdle() {
    if (!closeAfterRun || programsRunning > 0 || actionsRunning > 0)
        return;
    closeAfterRun = false;
    // From the event loop, once the handler that ended here has returned.
    QTimer::singleShot(0, this, [this] {
        if (programsRunning > 0 || actionsRunning > 0) {
            closeAfterRun = true;
            return;
        }
        ExitBtnClick();
    });
}

void TEditForm::Reload() {
    // The program rewrote this window's own file (under its new name after a verdict); the
    // shared dialog may meanwhile name another window's file. Unsaved text is asked about
    // as on every open.
    // The verdict of the program that rewrote the file stays in the status line.
    const QString verdict = StatusText(1);
    if (ConfirmDiscard()) {
        OpenFile(document.Path());
        SetMessage(verdict);
    }
}

bool TEditForm::ResultExists() const {
    return ResultFiles::ResultExists(document);
}

void TEditForm::CheckBtnClick() {
    if (Unsaved()) {
        if (document.ProblemCode != 12 && document.ProblemCode != 62) {
            const int caret = editField->textCursor().position();
            for (int table = 2; table <= 5; ++table)
                tables->UpdateTable1(tables->GetTable(table));
            QTextCursor cursor = editField->textCursor();
            cursor.setPosition(qMin(caret, editField->document()->characterCount() - 1));
            editField->setTextCursor(cursor);
        }
        SaveBtnClick();
        // A cancelled Save As leaves nothing on disk that matches the text.
        if (Unsaved())
            return;
    }
    SetMessage(QStringLiteral("Performing check of ") + document.Path() + QStringLiteral("!"));
    Run(ProgramCommands(services.Package.Path(), document.Path()).Check());
    GetError();
    SelectionChange();
}

void TEditForm::ShowFollowUpVerdict() {
    // The follow-up's verdict never moves the file: it judges the mesh it took over, not the
    // data as the checker does. Its further lines name what it removed from the data.
    if (!runErrorFile)
        return;
    const auto lines = ErrorFile::Lines(*std::exchange(runErrorFile, std::nullopt));
    if (lines.isEmpty())
        return;
    SetMessage(lines.first());
    const QString whole = lines.join(QStringLiteral("\r\n"));
    if (!lines.first().startsWith(QStringLiteral("OK")))
        services.Dialogs.ShowWarning(this, whole);
    else if (lines.size() > 1)
        services.Dialogs.ShowInformation(this, whole);
}

void TEditForm::GetError() {
    if (!runErrorFile)
        return;
    const QString line = ErrorFile::FirstLine(*std::exchange(runErrorFile, std::nullopt));
    SetMessage(line);
    ProcessMsgLine(line);
}

void TEditForm::ProcessMsgLine(const QString& line) {
    UpdateButtons();
    const QString oldPath = document.Path();
    const CheckVerdict::Outcome outcome =
        CheckVerdict::Apply(line, document.ProblemCode, document.FileName);
    if (outcome.FaultyLine > 0) {
        const QTextBlock block = editField->document()->findBlockByNumber(outcome.FaultyLine - 1);
        if (block.isValid()) {
            QTextCursor cursor(block);
            const QTextBlock next = block.next();
            cursor.setPosition(next.isValid() ? next.position()
                                              : block.position() + block.length() - 1,
                               QTextCursor::KeepAnchor);
            editField->setTextCursor(cursor);
        }
    }
    if (outcome.Moved) {
        const QString newPath = document.FileDir + outcome.FileName;
        const QString reason = FileRename::Move(oldPath, newPath);
        if (reason.isEmpty()) {
            document.FileName = outcome.FileName;
            document.ProblemCode = outcome.ProblemCode;
        } else {
            // The window keeps the name the file has on disk.
            services.Dialogs.ShowWarning(this,
                                         FileRename::FailureMessage(oldPath, newPath, reason));
        }
    }
    setWindowTitle(document.Path());
    services.Globals.PreviewDlg().FileName = document.Path();
    if (document.Path() != oldPath)
        emit FileMoved(oldPath, document.Path());
    UpdateButtons();
}

void TEditForm::CalculateBtnClick() {
    if (Unsaved()) {
        services.Dialogs.ShowWarning(this, QStringLiteral("Seve the project first!"));
        return;
    }
    const QString solver = ProgramTable::Solver(document.ProblemCode, document.DynamicsVariant());
    const QString results = ResultFiles::ResultPath(document);
    const QDateTime before = CalculationRecord::Stamp(results);
    const int exitCode =
        Run(ProgramCommands(services.Package.Path(), document.Path()).Calculate(solver));
    // The check's "OK" would otherwise stay in the status line after a stopped run.
    const CalculationRecord::Outcome outcome = CalculationRecord::After(exitCode, results, before);
    document.StaleResults = outcome.StaleResults;
    SetMessage(outcome.Status);
    UpdateButtons();
}

void TEditForm::GenerateBtnClick() {
    const ProgramCommands commands(services.Package.Path(), document.Path());
    switch (ProgramTable::GeneratorOf(document.ProblemCode)) {
    case ProgramTable::Generator::Frame:
        SaveBtnClick();
        if (!Unsaved()) {
            Run(commands.FrameGenerator());
            GetError();
            Reload();
        }
        break;
    case ProgramTable::Generator::Plate: {
        // The follow-up writes the mesh into the file on disk and the window then reloads it:
        // unsaved text would either be lost or, saved at the reload's question, overwrite the
        // mesh. So it is saved first, as the frame generator's is.
        if (Unsaved()) {
            SaveBtnClick();
            if (Unsaved())
                break;
        }
        const QString toolset = PackageSettings::ToolsetDirectory(services.Package.Path());
        const ToolsetFiles files(PackageSettings::ToolsetDataDirectory(services.Package.Path()),
                                 document.FileName);
        files.LendProject();
        const int exitCode = Run(commands.PlateGenerator(toolset));
        // The project goes back to its data file also when the mesher was cancelled, so that
        // it is not lent to the next data file's run.
        files.ReturnProject();
        if (files.MeshCreated()) {
            Run(commands.FollowUp());
            ShowFollowUpVerdict();
            Reload();
        } else if (!ToolsetFiles::Cancelled(exitCode)) {
            services.Dialogs.ShowWarning(this, files.MissingMeshWarning());
        }
        break;
    }
    case ProgramTable::Generator::None:
        services.Dialogs.ShowWarning(this, QStringLiteral("No automatic generation availuable!"));
        break;
    }
    editField->moveCursor(QTextCursor::Start);
}

void TEditForm::ImportGmshClick() {
    // The importer rewrites the file on disk and the window then reloads it, so unsaved text
    // is saved first, as for the generators.
    if (Unsaved()) {
        SaveBtnClick();
        if (Unsaved())
            return;
    }
    FileDialogRequest request{QStringLiteral("Import a Gmsh mesh"),
                              QStringLiteral("Gmsh meshes (*.msh)|*.msh|All files|*.*"),
                              QStringLiteral("msh"), document.FileDir, QString()};
    const QString mesh = services.Dialogs.GetOpenFileName(this, request);
    if (mesh.isEmpty())
        return;
    const QString data = document.Path();
    const QString program = services.Runner.ResolveProgram(QStringLiteral("Gmshin"));
    std::vector<GroupChoices::Row> rows = GmshImportPlan::Rows(program, mesh, data);
    // A map kept from an earlier import answers again without the table.
    const bool keep = GmshImportPlan::HasMap(data) &&
                      services.Dialogs.AskYesNo(
                          this, QStringLiteral("Import with the roles kept beside %1? No shows "
                                               "the groups to change them.")
                                    .arg(document.FileName));
    if (!keep) {
        if (!groupChooser(this, rows))
            return;
        GmshImportPlan::SaveMap(data, rows);
    }
    SetMessage(QStringLiteral("Importing ") + mesh + QStringLiteral("!"));
    Run({program, GmshImportPlan::ImportArguments(mesh, data), ProgramRunner::Hidden, {}});
    ShowFollowUpVerdict();
    Reload();
    editField->moveCursor(QTextCursor::Start);
}

void TEditForm::OpenGmshClick() {
    if (const QString problem = GmshImportPlan::StartGmsh(document.Path()); !problem.isEmpty())
        services.Dialogs.ShowWarning(this, problem);
}

void TEditForm::PreviewBtnClick(bool fromButton) {
    SetMessage(QStringLiteral("Executing drawing tool!"));
    const QString mode = PreviewRules::Mode(fromButton, ResultExists());
    const QString question =
        mode == QStringLiteral(" R")
            ? PreviewRules::ResultsQuestion(document.Path(), ResultFiles::ResultPath(document),
                                            document.StaleResults)
            : QString();
    const bool proceed = question.isEmpty() || services.Dialogs.AskYesNo(this, question);
    const QString viewer = ProgramTable::Viewer(document.ProblemCode);
    if (proceed && !viewer.isEmpty())
        Run(ProgramCommands(services.Package.Path(), document.Path()).Viewer(viewer, mode));
    GetError();
}

void TEditForm::CalculatorBtnClick() {
    const QString problem = SystemCalculator::Start();
    if (!problem.isEmpty())
        services.Dialogs.ShowWarning(this, problem);
}
