#include "ButtonRules.h"

bool ButtonRules::CanGenerate(int code) {
    return (code >= 1 && code <= 11) || code == 13 || code == 15 || code == 16 ||
           (code >= 51 && code <= 61) || code == 63 || code == 65 || code == 66;
}

bool ButtonRules::HasNoView(int code) {
    return code == 0 || code == 12 || (code >= 21 && code <= 27) || code == 50 || code == 62 ||
           (code >= 71 && code <= 77);
}

ButtonRules::States ButtonRules::Evaluate(const Inputs& in) {
    States s;
    s.Generate = CanGenerate(in.ProblemCode);
    s.Copy = in.HasSelection;
    s.Cut = in.HasSelection;
    s.Paste = in.ClipboardHasData;
    if (!HasNoView(in.ProblemCode)) {
        s.Preview = !in.Unsaved && in.ProblemCode < 50;
        s.Visualize = s.Preview && in.ResultExists && in.ResultExists();
    }
    s.Calculate = !in.Unsaved && in.SolverAvailable && in.ProblemCode < 50;
    s.Undo = in.CanUndo;
    return s;
}

QString ButtonRules::NoSolverText() {
    return QStringLiteral("No solver for this problem type is installed");
}

QString ButtonRules::CalculateReason(const Inputs& in) {
    if (!in.SolverAvailable)
        return NoSolverText();
    if (in.Unsaved)
        return QStringLiteral("Save the data first");
    if (in.ProblemCode >= 50)
        return QStringLiteral("Check the data first (F2)");
    return {};
}

QString ButtonRules::VisualizeReason(const Inputs& in) {
    if (HasNoView(in.ProblemCode))
        return QStringLiteral("This problem type has no result view");
    if (in.Unsaved)
        return QStringLiteral("Save the data first");
    if (in.ProblemCode >= 50)
        return QStringLiteral("Check the data first (F2)");
    if (in.ResultExists && in.ResultExists())
        return {};
    return in.SolverAvailable ? QStringLiteral("No results yet: calculate first (F9)")
                              : NoSolverText();
}
