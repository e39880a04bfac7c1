#pragma once

#include "EquationSystem.h"
#include "ModalAnalysis.h"
#include "ResultFile.h"
#include "SolverInput.h"
#include "SolverOutcome.h"
#include "VibrationFile.h"
#include "VibrationReport.h"

#include <vector>

// The forced vibrations a dynamics file's tables 20 to 30 ask for, after its natural modes:
// the one step every family with modes takes. Nothing when the file has no excitation.
namespace DynamicResponse {

// `system`: the equations the modes were found on, their stiffness assembled; `points`: the
// point masses given to the modes; `free`: the structure has rigid-body motions, which the modes
// leave out. `layout.Equation` may be left empty: the system's is taken. `file`: the modes' result
// file, `scale` how its shapes were scaled. Appends to the protocol and the JSON of `outcome`, and
// writes its result file, with the forced vibrations when there are any.
void Append(const SolverInput& input, const EquationSystem& system,
            const std::vector<ModalAnalysis::Point>& points,
            const std::vector<PencilModes::Mode>& modes, bool free, double gravity,
            VibrationReport::Layout layout, const VibrationFile::Scale& scale,
            ResultFile::Contents file, SolverOutcome& outcome);

} // namespace DynamicResponse
