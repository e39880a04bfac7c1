#pragma once

#include "SolverCatalogue.h"
#include "SolverCommand.h"

#include <QProcessEnvironment>
#include <QStringList>

// How a solver program runs: with a window of its own when the editor starts it on a display,
// on the console otherwise ("--json", a wrong command line, no display, or Qt's offscreen and
// minimal platforms, on which tests and batch runs start the solvers and nobody could answer
// a window). And what the window does once the run has ended.
class SolverLaunch {
public:
    enum class Ending {
        Close,      // solved (the viewer shows the results) or stopped: the window goes
        ShowReport, // the answers of a solver without a viewer (mathematics, shaft lines)
        ShowError,  // the run failed: the user would otherwise see nothing of why
    };

    // `displayVariableNeeded`: whether a display must be named in the environment (X11 and
    // Wayland); Windows and macOS always have one.
    static bool DisplayAvailable(const QProcessEnvironment& environment,
                                 bool displayVariableNeeded = NeedsDisplayVariable());
    static bool ShowsWindow(const QStringList& arguments, const QProcessEnvironment& environment,
                            bool displayVariableNeeded = NeedsDisplayVariable());
    static Ending AfterRun(const SolverEntry& solver, const SolverCommand::Outcome& outcome);
    // The platforms Qt is to try when a window is wanted, ending with the drawing-free one, so
    // that a display that is named but cannot be reached leaves a console run rather than an
    // abort; empty when the user chose a platform or the system has a single one.
    static QByteArray PlatformFallback(const QProcessEnvironment& environment);
    // Whether Qt's platform of that name shows windows to anybody.
    static bool DrawsOnScreen(const QString& platformName);

    static constexpr bool NeedsDisplayVariable() {
#if defined(Q_OS_WIN) || defined(Q_OS_MACOS)
        return false;
#else
        return true;
#endif
    }
};
