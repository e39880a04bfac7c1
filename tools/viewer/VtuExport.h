#pragma once

#include "ExportFiles.h"
#include "ViewerModel.h"
#include "ViewerResults.h"

#include <QString>
#include <vector>

// Every result of a data file as VTK unstructured grids for ParaView: one ".vtu" per load
// case, combination and envelope bound, per mode or buckling shape, and per forced vibration's
// peaks or bounds, each with the model's cells and its values, and a ".pvd" that collects them
// as a series. What the files hold is described in FORMATS.md.
class VtuExport {
public:
    using File = ExportFiles::File;
    // The files of `results` (which must be shown) named after `base` ("frame"): the ".vtu"
    // files first, their collections last.
    static std::vector<File> Files(const ViewerModel& model, const ViewerResults& results,
                                   const QString& base);
};
