#pragma once

#include "ForcedVibration.h"
#include "ResultFile.h"
#include "VibrationReport.h"

#include <functional>
#include <vector>

// The forced vibrations as the result file carries them, in the scale of the shapes it holds:
// each mode's coordinates and element results, so that a viewer rebuilds the motion of any
// node, inner point or element from them; a history integrated directly as its motion at
// every instant; the peaks as the protocol lists them.
namespace VibrationFile {

// A motion at the nodes and inner points as the file's shapes are, scaled; the factor it
// was scaled by.
using Scale = std::function<double(const Eigen::VectorXd&, std::vector<double>& nodes,
                                   std::vector<double>& inner)>;

ResultFile::Forced Of(const ForcedVibration::Model& model,
                      const std::vector<ForcedVibration::Response>& responses,
                      const VibrationReport::Layout& layout, const Scale& scale);

} // namespace VibrationFile
