#include "CommandLineHelp.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QStringList>
#include <cstdio>

namespace {

enum class Request { None, Help, Version };

Request Asked(int argc, char* argv[]) {
    for (int i = 1; i < argc; ++i) {
        const QByteArray argument(argv[i]);
        if (argument == "--help" || argument == "--help-all" || argument == "-h" ||
            argument == "-?")
            return Request::Help;
        if (argument == "--version" || argument == "-v")
            return Request::Version;
    }
    return Request::None;
}

} // namespace

QString CommandLineHelp::Version() {
    return QStringLiteral(QV_VERSION);
}

QString CommandLineHelp::HelpText(const ProgramHelp& help, const QString& programPath) {
    QCommandLineParser parser;
    parser.setApplicationDescription(help.Summary);
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOptions(help.Options);
    for (const auto& [name, description] : help.Arguments)
        parser.addPositionalArgument(name, description);
    // The usage line names the program as it was started.
    parser.parse(QStringList{programPath});
    return parser.helpText() + QStringLiteral("\nExit status:\n") + help.ExitCodes +
           (help.ExitCodes.endsWith(u'\n') ? QString() : QStringLiteral("\n"));
}

std::optional<int> CommandLineHelp::Answer(int argc, char* argv[], const ProgramHelp& help) {
    const Request request = Asked(argc, argv);
    if (request == Request::None)
        return std::nullopt;
    // Qt's own arguments (-platform ...) are taken out before the parser sees the rest.
    const QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(help.Name);
    QCoreApplication::setApplicationVersion(Version());
    const QString text = request == Request::Help
                             ? HelpText(help, QCoreApplication::arguments().constFirst())
                             : help.Name + u' ' + Version() + u'\n';
    std::fputs(qPrintable(text), stdout);
    std::fflush(stdout);
    return 0;
}
