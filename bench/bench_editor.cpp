// The editor on a large data file: opening a 100,000-line file, opening a file with one line of
// three megabytes (a goal of well under a second), and the work of one Enter key press that
// numbers a new item (numbering, status line, button rules, colouring).
#include "EditField.h"
#include "EditorPickers.h"
#include "LauncherSettings.h"
#include "MenuTexts.h"
#include "PackageSettings.h"
#include "ProgramRunner.h"
#include "SilentDialogs.h"
#include "TEditForm.h"
#include "TGlobalObj.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QTextBlock>
#include <benchmark/benchmark.h>

namespace {

constexpr int Lines = 100000;

class NoPickers : public EditorPickers {
public:
    std::optional<QFont> PickFont(QWidget*, const QFont&) override { return {}; }
    std::optional<QColor> PickColor(QWidget*, const QColor&) override { return {}; }
};

struct Setup {
    Setup() {
        PackageSettings::SetLocationForTests(store.path());
        path = data.filePath(QStringLiteral("large.d05"));
        QByteArray text = "Large plane frame\r\n*1 General data\r\n#  1  Title = large\r\n"
                          "*4 Nodes\r\n   No     x      z\r\n";
        for (int i = 1, lines = 5; lines < Lines - 1; ++i, ++lines)
            text += QByteArray("#") + QByteArray::number(i).rightJustified(3) + "   " +
                    QByteArray::number(i * 0.5) + "    0.0\r\n";
        text += "&\r\n";
        Write(path, text);
        longLinePath = data.filePath(QStringLiteral("line.d55"));
        Write(longLinePath,
              "*1 General\r\n#  1  Title = " + QByteArray(3000000, 'x') + "\r\n&\r\n");
    }

    static void Write(const QString& name, const QByteArray& text) {
        QFile file(name);
        if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size())
            qFatal("cannot write a large file");
    }

    std::unique_ptr<TEditForm> Open() { return Open(path); }
    std::unique_ptr<TEditForm> Open(const QString& name) {
        globals.PreviewDlg().FileName = name;
        auto editor = std::make_unique<TEditForm>(
            EditorServices{dialogs, settings, globals, package, pickers, runner}, true);
        editor->resize(900, 700);
        return editor;
    }

    QTemporaryDir store;
    QTemporaryDir data;
    QString path;
    QString longLinePath;
    SilentDialogs dialogs;
    NoPickers pickers;
    LauncherSettings settings;
    PackageDir package{QDir::currentPath()};
    MenuTexts texts;
    TGlobalObj globals{package, texts, dialogs};
    ProgramRunner runner{package, dialogs};
};

Setup& Shared() {
    static Setup setup;
    return setup;
}

void BM_OpenLargeFile(benchmark::State& state) {
    for (auto _ : state) {
        auto editor = Shared().Open();
        editor->show();
        QApplication::processEvents();
        benchmark::DoNotOptimize(editor->Field()->document()->blockCount());
        state.PauseTiming();
        editor.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenLargeFile)->Unit(benchmark::kMillisecond)->Iterations(3);

// A line of megabytes was laid out with text shaping on every paint and took half a minute.
void BM_OpenLongLine(benchmark::State& state) {
    for (auto _ : state) {
        auto editor = Shared().Open(Shared().longLinePath);
        editor->show();
        QApplication::processEvents();
        editor->Field()->repaint();
        benchmark::DoNotOptimize(editor->Field()->document()->blockCount());
        state.PauseTiming();
        editor.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenLongLine)->Unit(benchmark::kMillisecond)->Iterations(3);

// Enter at the end of an item in the middle of the file: the key press (the line break), the
// key release (the item number, save button, status line, button rules) and the colouring of
// the changed lines.
void BM_EnterNumbersAnItem(benchmark::State& state) {
    auto editor = Shared().Open();
    editor->show();
    QApplication::processEvents();
    EditField* field = editor->Field();
    field->setFocus();
    int line = Lines / 2;
    for (auto _ : state) {
        QTextCursor cursor(field->document()->findBlockByNumber(line));
        cursor.movePosition(QTextCursor::EndOfBlock);
        field->setTextCursor(cursor);
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
        QApplication::sendEvent(field, &press);
        QApplication::sendEvent(field, &release);
        QApplication::processEvents();
        line += 2;
    }
    if (!field->document()->findBlockByNumber(Lines / 2 + 1).text().startsWith(u'#'))
        state.SkipWithError("no item number was inserted");
}
BENCHMARK(BM_EnterNumbersAnItem)->Unit(benchmark::kMicrosecond)->Iterations(200);

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    Shared(); // the large file is written before any timing
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
