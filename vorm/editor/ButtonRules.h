#pragma once

#include <QString>
#include <functional>

// When the editor's buttons are enabled. The rules are evaluated together from what the
// window knows at the moment, so preview, calculation and results are offered only for saved
// data that has passed the checker.
class ButtonRules {
public:
    struct Inputs {
        int ProblemCode = 0;
        bool Unsaved = false; // the save button is enabled
        bool SolverAvailable = false;
        bool HasSelection = false;
        bool ClipboardHasData = false;
        bool CanUndo = false;
        // Asked only when a result view could be offered; may touch the disk.
        std::function<bool()> ResultExists;
    };

    struct States {
        bool Generate = false;
        bool Copy = false;
        bool Cut = false;
        bool Paste = false;
        bool Preview = false;
        bool Visualize = false;
        bool Calculate = false;
        bool Undo = false;
    };

    static States Evaluate(const Inputs& in);

    // Why Calculate, or the result view, is not offered; empty when it is. A greyed button
    // says so in its tooltip and, when its key is pressed, in the status line.
    static QString CalculateReason(const Inputs& in);
    static QString VisualizeReason(const Inputs& in);
    static QString NoSolverText();

    // The mesh generators serve these problem numbers.
    static bool CanGenerate(int problemCode);
    // Problems without a model or results to view.
    static bool HasNoView(int problemCode);
};
