#include "SolverLaunch.h"

bool SolverLaunch::DisplayAvailable(const QProcessEnvironment& environment,
                                    bool displayVariableNeeded) {
    // "offscreen:fontengine=freetype": the platform's name comes before its options.
    const QString platform =
        environment.value(QStringLiteral("QT_QPA_PLATFORM")).section(u':', 0, 0).trimmed();
    if (!DrawsOnScreen(platform))
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
    // Without a result file there is no viewer to show the answers: the report does.
    return solver.ResultExtension.isEmpty() ? Ending::ShowReport : Ending::Close;
}

QByteArray SolverLaunch::PlatformFallback(const QProcessEnvironment& environment) {
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    if (!environment.value(QStringLiteral("QT_QPA_PLATFORM")).isEmpty())
        return {}; // the user's choice stands
    return environment.value(QStringLiteral("WAYLAND_DISPLAY")).isEmpty()
               ? QByteArrayLiteral("xcb;offscreen")
               : QByteArrayLiteral("wayland;xcb;offscreen");
#else
    Q_UNUSED(environment);
    return {};
#endif
}

bool SolverLaunch::DrawsOnScreen(const QString& platformName) {
    return platformName.compare(QLatin1String("offscreen"), Qt::CaseInsensitive) != 0 &&
           platformName.compare(QLatin1String("minimal"), Qt::CaseInsensitive) != 0;
}
