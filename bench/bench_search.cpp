// Searching upwards from the end of a 100,000-line data file, as the find dialog does: the
// text is taken from the editor's field and halved towards the nearest match before the
// caret. The worst case is a match in the first line only (every half is scanned once); a
// match near the caret is the common one.
#include "SilentDialogs.h"
#include "TextFinder.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <benchmark/benchmark.h>

namespace {

constexpr int Lines = 100000;

QString LargeText(bool matchAtTheEnd) {
    QString text = QStringLiteral("Large plane frame ; IPE 300 roof\n*4 Nodes\n");
    for (int i = 1; i < Lines - 2; ++i)
        text += QStringLiteral("#%1   %2    0.0\n").arg(i, 3).arg(i * 0.5);
    if (matchAtTheEnd)
        text += QStringLiteral("; IPE 300 again\n");
    return text;
}

void SearchUp(benchmark::State& state, bool matchAtTheEnd, bool matchCase) {
    SilentDialogs dialogs;
    QPlainTextEdit field;
    field.setPlainText(LargeText(matchAtTheEnd));
    TextFinder finder(field, dialogs, &field);
    SearchRequest request;
    request.FindText = QStringLiteral("ipe 300");
    request.MatchCase = matchCase;
    if (matchCase)
        request.FindText = QStringLiteral("IPE 300");
    request.Down = false;
    for (auto _ : state) {
        field.moveCursor(QTextCursor::End);
        finder.Find(request);
        if (!field.textCursor().hasSelection())
            state.SkipWithError("no match");
    }
    state.counters["chars"] = double(field.document()->characterCount());
}

void BM_SearchUpMatchInFirstLine(benchmark::State& state) {
    SearchUp(state, false, false);
}
void BM_SearchUpMatchInFirstLineMatchCase(benchmark::State& state) {
    SearchUp(state, false, true);
}
void BM_SearchUpMatchNearTheEnd(benchmark::State& state) {
    SearchUp(state, true, false);
}

} // namespace

BENCHMARK(BM_SearchUpMatchInFirstLine)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SearchUpMatchInFirstLineMatchCase)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SearchUpMatchNearTheEnd)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
