// Writes the largest model of each solver benchmark into a folder, one data file per family,
// so that the solver programs of two builds can be timed on them from the shell
// (bench/compare_builds.sh):
//   bench_models FOLDER
#include "BenchModels.h"

#include <QDir>
#include <QFile>
#include <cstdio>
#include <utility>
#include <vector>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!folder.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "cannot make the folder %s\n", argv[1]);
        return 1;
    }
    using namespace BenchModels;
    // The plane walls at three sizes: the largest is the family's benchmark, the two below it
    // show where the iteration starts to pay.
    const std::vector<std::pair<const char*, QByteArray (*)()>> models = {
        {"frame.d05", [] { return PlaneFrame(1000, 100); }},
        {"frame.d08", [] { return PlaneFrame(1000, 100, 10); }},
        {"tower.d07", [] { return SpaceFrame(20, 20, 50, false); }},
        {"tower.p07", [] { return SpaceFrame(20, 20, 50, true); }},
        {"quake.p07", [] { return SpaceFrame(20, 20, 50, Quake::Spectrum); }},
        {"record.p07", [] { return SpaceFrame(20, 20, 50, Quake::History); }},
        {"box.d16", [] { return HollowSquare(540, 206); }},
        {"panel.d09", [] { return Panel(999); }},
        {"panel250k.d09", [] { return Panel(499); }},
        {"panel500k.d09", [] { return Panel(706); }},
        {"plate.d13", [] { return Plate(500, 0); }},
        {"plate.p13", [] { return Plate(224, 10); }},
        {"roof.d14", [] { return Roof(316); }},
        {"beam.d17", [] { return Beam(32).Text(); }},
        {"shaft.d12", [] { return Shaft(10000, 10); }},
        {"tank.d02", [] { return Tank(2000, 3000); }},
    };
    for (const auto& [name, make] : models) {
        QFile file(folder.filePath(QLatin1String(name)));
        const QByteArray bytes = make();
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file.fileName()));
            return 1;
        }
    }
    return 0;
}
