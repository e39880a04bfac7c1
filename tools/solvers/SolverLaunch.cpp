#include "SolverLaunch.h"

bool SolverLaunch::DisplayAvailable(const QProcessEnvironment& environment,
                                    bool displayVariableNeeded) {
    // "offscreen:fontengine=freetype": the platform's name comes before its options.
    const QString platform =
        environment.value(QStringLiteral("QT_QPA_PLATFORM")).section(u':', 0, 0).trimmed();
    if (platform.compare(QLatin1String("offscreen"), Qt::CaseInsensitive) == 0 ||
        platform.compare(QLatin1String("minimal"), Qt::CaseInsensitive) == 0)
        return false;
    if (!displayVariableNeeded)
        return true;
    return !environment.value(QStringLiteral("DISPLAY")).isEmpty() ||
           !environment.value(QStringLiteral("WAYLAND_DISPLAY")).isEmpty();
}

bool SolverLaunch::ShowsWindow(const QStringList& arguments, const QProcessEnvironment& environment,
                               bool displayVariableNeeded) {
    return SolverCommand::SolvesForEditor(arguments) &&
           DisplayAvailable(environment, displayVariableNeeded);
}

SolverLaunch::Ending SolverLaunch::AfterRun(const SolverEntry& solver,
                                            const SolverCommand::Outcome& outcome) {
    if (outcome.ExitCode == SolverCommand::StoppedExitCode)
        return Ending::Close;
    if (outcome.ExitCode != 0)
        return Ending::ShowError;
    return solver.Kind == SolverEntry::Analysis::Mathematics ? Ending::ShowReport : Ending::Close;
}
