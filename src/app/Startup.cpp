#include "app/Startup.h"

#include "core/Platform.h"
#include "app/CommandLine.h"
#include "app/frmMain.h"
#include "app/frmSplash.h"
#include "config/ParameterFile.h"
#include "config/ReceiverConfig.h"
#include "config/SettingsStore.h"
#include "diagnostics/frmTip.h"
#include "selection/EventTable.h"
#include "selection/frmEnterFIP.h"
#include "selection/frmFIPS.h"

#include <QApplication>

std::vector<StartupStep> startupLoadingSteps()
{
    return {
        {QStringLiteral("notePcDaylightState"), notePcDaylightState},
        {QStringLiteral("loadSettings"), [] { loadSettings(); }},
        {QStringLiteral("initEventTable"), initEventTable},
        {QStringLiteral("setEditorVersion"), [] { ReceiverConfig.EDITOR.EditorVersion = editorVersion(); }},
        {QStringLiteral("readParameterFile"), [] { readParameterFile(); }},
        {QStringLiteral("initStateSelection"), initStateSelection},
        {QStringLiteral("fillFipsListBox"), fillFipsListBox},
    };
}

void runStartupStep(const StartupStep &step)
{
    try {
        step.run();
    } catch (...) {
        // A failed step is abandoned silently; start-up goes on with the next one.
    }
}

frmMain *startup()
{
    auto *main = new frmMain;
    main->setAttribute(Qt::WA_DeleteOnClose, false);
    main->setCursor(Qt::WaitCursor);

    const qint64 started = Platform::monotonicMs();
    for (const StartupStep &step : startupLoadingSteps())
        runStartupStep(step);

    auto *splash = new frmSplash;
    splash->setCursor(Qt::WaitCursor);
    splash->show();

    // Measured on a monotonic clock, so a start across midnight or a clock change never
    // keeps the splash up for more than two seconds.
    for (;;) {
        const qint64 elapsed = Platform::monotonicMs() - started;
        if (elapsed >= kSplashMilliseconds || elapsed < 0)
            break;
        Platform::waitForEvents(int(kSplashMilliseconds - elapsed));
    }

    splash->unsetCursor();
    splash->close();
    delete splash;

    main->show();
    // The tip follows the main window, not modal, when the owner wants it at start-up.
    showTipAtStartup(main->mnuTipsShow, main);
    return main;
}
