#include "app/CommandLine.h"
#include "app/ConfigurationCommands.h"
#include "app/Startup.h"
#include "app/frmMain.h"
#include "core/Platform.h"
#include "diagnostics/frmHelp.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    // --help, --version and unknown options are answered before any window system is opened.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const CommandLineOutcome outcome = interpretCommandLine(arguments);
    if (!outcome.startEditor) {
        std::fputs(outcome.standardOutput.toLocal8Bit().constData(), stdout);
        std::fputs(outcome.standardError.toLocal8Bit().constData(), stderr);
        return outcome.exitCode;
    }

    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Orvane"));
    QApplication::setApplicationName(QStringLiteral("Orvane"));
    QApplication::setDesktopFileName(kApplicationId);
    Platform::setProgramHelpViewer(showHelpWindow);
    startup();
    if (!outcome.configurationFile.isEmpty())
        openConfigurationPath(outcome.configurationFile);
    return app.exec();
}
