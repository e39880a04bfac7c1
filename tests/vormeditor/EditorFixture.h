#pragma once

#include "EditField.h"
#include "EditorPickers.h"
#include "EditorWindows.h"
#include "LauncherSettings.h"
#include "PackageSettings.h"
#include "ScriptedDialogs.h"
#include "TEditForm.h"
#include "TGlobalObj.h"
#include "TMainForm.h"

#include <QDir>
#include <QFile>
#include <QPrinter>
#include <QTemporaryDir>
#include <QToolButton>
#include <deque>
#include <memory>

// Choosers answered in advance.
class ScriptedPickers : public EditorPickers {
public:
    std::optional<QFont> PickFont(QWidget*, const QFont&) override { return font; }
    std::optional<QColor> PickColor(QWidget*, const QColor&) override { return colour; }
    bool PrinterInstalled() override { return printerInstalled; }
    // Prints into `pdf` with the range the test chose; no file cancels.
    bool SetUpPrinter(QWidget*, QPrinter& printer, bool selectionAvailable) override {
        offeredSelection = selectionAvailable;
        if (pdf.isEmpty())
            return false;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        printer.setPrintRange(printSelection ? QPrinter::Selection : QPrinter::AllPages);
        return true;
    }
    std::optional<QFont> font;
    std::optional<QColor> colour;
    bool printerInstalled = true;
    QString pdf;
    bool printSelection = false;
    bool offeredSelection = false;
};

// A launcher in a scratch package directory with the package's templates, its settings in a
// scratch store, dialogs answered by the test, and a data folder for the edited files.
class EditorFixture {
public:
    EditorFixture() {
        PackageSettings::SetLocationForTests(store.path());
        // The launcher's own files (help pages, unpacked packs) go into the user's folder.
        qputenv("XDG_DATA_HOME", user.path().toUtf8());
        for (const char* name : {"Tablesw.dat", "Mattabw.dat"})
            QFile::copy(QStringLiteral(PACKAGE_SOURCE "/") + QString::fromLatin1(name),
                        package.filePath(QString::fromLatin1(name)));
        QDir::setCurrent(package.path());
        main = std::make_unique<TMainForm>(dialogs, settings);
        globals = std::make_unique<TGlobalObj>(main->Package(), main->Texts(), dialogs);
        main->SetGlobals(globals.get());
        main->AttachProblemMenu();
        windows = new EditorWindows(*main, dialogs, settings, pickers);
        main->resize(900, 700);
        main->show();
    }
    ~EditorFixture() {
        main.reset();
        globals.reset();
    }

    QString DataPath(const QString& name) const { return data.filePath(name); }
    void WriteData(const QString& name, const QByteArray& bytes) const {
        QFile file(DataPath(name));
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(name));
    }
    QByteArray ReadData(const QString& name) const {
        QFile file(DataPath(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    // Opens a file as the launcher does after its open dialog.
    TEditForm* Open(const QString& name, bool solverAvailable = true) {
        globals->PreviewDlg().FileName = DataPath(name);
        globals->PreviewDlg().Filter = QStringLiteral("Frames|*.d55;*.d05|Data files|*.dat");
        return windows->Open(solverAvailable);
    }

    static bool Enabled(TEditForm* editor, const char* button) {
        return editor->Button(QString::fromLatin1(button))->isEnabled();
    }

    QTemporaryDir store;
    QTemporaryDir user;
    QTemporaryDir package;
    QTemporaryDir data;
    ScriptedDialogs dialogs;
    ScriptedPickers pickers;
    LauncherSettings settings;
    std::unique_ptr<TMainForm> main;
    std::unique_ptr<TGlobalObj> globals;
    EditorWindows* windows = nullptr;
};
