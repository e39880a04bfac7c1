#pragma once

#include "ProblemType.h"
#include "ResultFile.h"
#include "ViewerModel.h"

// Reactions and element forces that are rounding noise beside the loads of their case: a ring
// held at one node under an even pressure gets a reaction of 1.6e-14 kN there, a frame that no
// load twists twisting moments of 1e-18 kNm. Written as they are they read as answers, and a
// diagram scaled to its largest value draws noise as large as a real one, so the viewer shows
// them as 0. Noise is a force below a billionth of the case's force (its largest load or force
// reaction; a line load or pressure times the model's size, a pressure on a plate or shell
// times its square), or a moment below a billionth of that force times the model's size (or of
// a larger moment load or reaction).
class RoundingNoise {
public:
    static constexpr double Share = 1e-9;

    // Sets the reactions and element forces of `contents`, results of a model of `type`, that
    // are noise to 0.
    static void Clear(ResultFile::Contents& contents, const ProblemType& type,
                      const ViewerModel& model);
};
