// The open dialog's preview of a large model: reading the checker's model files, projecting
// and fitting the nodes, and drawing the elements. It runs on every selection change in the
// dialog, so it has to stay well under half a second.
#include "ModelPreview.h"

#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QtEndian>
#include <benchmark/benchmark.h>

namespace {

constexpr int NodeCount = 60000;
constexpr int ElementCount = 120000;

// A space frame of 60,000 nodes on a 40 x 40 x 37.5 grid, each node joined to two
// neighbours.
void WriteModel(const QString& directory) {
    QByteArray xyz(NodeCount * 12, '\0');
    for (int i = 0; i < NodeCount; ++i) {
        const float coordinates[3] = {float(i % 40), float((i / 40) % 40), float(i / 1600)};
        for (int c = 0; c < 3; ++c)
            qToLittleEndian<float>(coordinates[c], xyz.data() + 12 * i + 4 * c);
    }
    QByteArray j1j2(ElementCount * 4, '\0');
    for (int e = 0; e < ElementCount; ++e) {
        const int node = e / 2;
        const int other = e % 2 == 0 ? node + 1 : node + 40;
        qToLittleEndian<quint16>(quint16(node % NodeCount + 1), j1j2.data() + 4 * e);
        qToLittleEndian<quint16>(quint16(other % NodeCount + 1), j1j2.data() + 4 * e + 2);
    }
    for (const auto& [name, bytes] : {std::pair{"XYZ", xyz}, std::pair{"J1J2", j1j2}}) {
        QFile file(directory + u'/' + QLatin1String(name));
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write the model");
    }
}

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void BM_PreviewLargeModel(benchmark::State& bench) {
    QTemporaryDir directory;
    WriteModel(directory.path());
    QImage panel(300, 300, QImage::Format_RGB32);
    for (auto _ : bench) {
        const ModelPreview::Model model = ModelPreview::Read(ReadAll(directory.filePath("XYZ")),
                                                             ReadAll(directory.filePath("J1J2")));
        const QVector<QLine> lines = ModelPreview::Lines(model, 7, QRect(12, 12, 276, 276));
        panel.fill(Qt::white);
        QPainter painter(&panel);
        painter.setPen(QPen(Qt::black, 0));
        painter.drawLines(lines);
        benchmark::DoNotOptimize(lines.size());
    }
}
BENCHMARK(BM_PreviewLargeModel)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
