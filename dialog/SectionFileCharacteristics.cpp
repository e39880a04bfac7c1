#include "SectionFileCharacteristics.h"

#include "DrawingState.h"
#include "SectionFile.h"

#include <QFileInfo>
#include <cmath>
#include <stdexcept>

SectionValues SectionFileCharacteristics::Read(const QString& path, const UnitScale& units) {
    DrawingState state;
    SectionFile::Parse(state, path);
    // Area and principal moments are the geometric characteristics, whatever mode the file
    // was drawn in.
    state.SectionMode = 'G';
    if (state.Shapes.empty() || !state.RecalcAll())
        throw std::runtime_error(QStringLiteral("The section file %1 holds no section to insert.")
                                     .arg(QFileInfo(path).fileName())
                                     .toStdString());
    const SectionResults& r = state.Report.Values();
    const double metres = state.UnitText == QStringLiteral("mm")   ? 0.001
                          : state.UnitText == QStringLiteral("cm") ? 0.01
                                                                   : 1.0;
    const double scale = metres / units.MetresPerLength();
    SectionValues s;
    s.Name = QFileInfo(path).completeBaseName();
    s.A = std::abs(r.F) * scale * scale;
    s.Iy = std::abs(r.I1) * std::pow(scale, 4);
    s.Iz = std::abs(r.I2) * std::pow(scale, 4);
    return s;
}
