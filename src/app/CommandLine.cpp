#include "app/CommandLine.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QFileInfo>

#ifndef ORVANE_EDITOR_VERSION
#error "ORVANE_EDITOR_VERSION comes from the project version in CMakeLists.txt"
#endif

QString editorVersion()
{
    return QStringLiteral(ORVANE_EDITOR_VERSION);
}

namespace {

// Qt's own options, which QApplication takes from the command line after this check; they are
// let through untouched (and left out of --help) so they keep working as before.
const char *const kQtOptionsWithValue[] = {"platform", "platformpluginpath", "platformtheme", "plugin",
                                           "qmljsdebugger", "qwindowgeometry", "qwindowicon", "qwindowtitle",
                                           "session", "display", "geometry", "title", "icon", "name",
                                           "style", "stylesheet"};
const char *const kQtFlags[] = {"reverse", "widgetcount", "nograb", "dograb", "sync"};

} // namespace

CommandLineOutcome interpretCommandLine(const QStringList &arguments)
{
    QCommandLineParser parser;
    // "-platform offscreen" and the like are whole words, as Qt reads them.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(
        QStringLiteral("Orvane Editor %1: program the Orvane SAME digital weather receiver over its "
                       "serial port and read back its alert history.")
            .arg(editorVersion()));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Show this help and exit."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Show the editor's version and exit."));
    parser.addOption(help);
    parser.addOption(version);
    parser.addPositionalArgument(QStringLiteral("file"), QStringLiteral("A configuration file (*.orvcfg) to open."),
                                 QStringLiteral("[file]"));
    for (const char *name : kQtOptionsWithValue) {
        QCommandLineOption o(QString::fromLatin1(name), QString(), QStringLiteral("value"));
        o.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(o);
    }
    for (const char *name : kQtFlags) {
        QCommandLineOption o(QString::fromLatin1(name));
        o.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(o);
    }

    const QString program = arguments.isEmpty() ? QStringLiteral("orvane-editor")
                                                : QFileInfo(arguments.constFirst()).fileName();
    CommandLineOutcome outcome;
    auto refuse = [&](const QString &why) {
        outcome.startEditor = false;
        outcome.exitCode = 2;
        outcome.standardError = QStringLiteral("%1: %2\nTry '%1 --help' for the options.\n").arg(program, why);
        return outcome;
    };
    if (!parser.parse(arguments.isEmpty() ? QStringList{program} : arguments))
        return refuse(parser.errorText());
    if (parser.isSet(help)) {
        outcome.startEditor = false;
        // Without an application object the parser cannot name the program itself.
        outcome.standardOutput = parser.helpText().replace(QStringLiteral("<executable_name>"), program);
        return outcome;
    }
    if (parser.isSet(version)) {
        outcome.startEditor = false;
        outcome.standardOutput = QStringLiteral("orvane-editor %1\n").arg(editorVersion());
        return outcome;
    }
    // One configuration file may be named, as a double-click on one names it.
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1)
        return refuse(QStringLiteral("Unexpected argument '%1'.").arg(files.at(1)));
    if (!files.isEmpty())
        outcome.configurationFile = files.constFirst();
    return outcome;
}
