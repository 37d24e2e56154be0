// Renders the program's windows offscreen from the real widgets, for the README:
//   QT_QPA_PLATFORM=offscreen build/tools/screenshots/orvane-screenshots docs resources
// writes docs/<window>.png and the desktop icon resources/orvane-editor.png.

#include "core/Artwork.h"
#include "app/frmMain.h"
#include "app/frmSplash.h"
#include "config/ReceiverConfig.h"
#include "config/ParameterFile.h"
#include "config/SettingsStore.h"
#include "history/HistoryGrid.h"
#include "diagnostics/frmAbout.h"
#include "diagnostics/frmHelp.h"
#include "diagnostics/frmTip.h"
#include "history/HistoryView.h"
#include "link/HistoryDecoding.h"
#include "link/LinkState.h"
#include "selection/EventTable.h"
#include "selection/frmEvent.h"
#include "selection/StateDatabase.h"
#include "selection/frmEnterFIP.h"
#include "selection/frmFIPS.h"
#include "link/frmCommPort.h"
#include "diagnostics/frmDataDump.h"
#include "editors/frmIdent.h"
#include "editors/frmOption.h"
#include "editors/frmTimers.h"
#include "link/frmTest.h"
#include "core/Platform.h"
#include "ReceiverSimulator.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QPushButton>
#include <QDir>
#include <QElapsedTimer>
#include <QHelpContentWidget>
#include <QHelpEngine>
#include <QSettings>
#include <QTemporaryDir>
#include <cstdio>

namespace {

bool save(QWidget &widget, const QString &path)
{
    widget.show();
    QApplication::processEvents();
    const bool ok = widget.grab().save(path);
    std::printf("%s %s\n", ok ? "wrote" : "FAILED", qPrintable(path));
    return ok;
}

// One raw history record as the receiver sends it: day of year, UTC hour and minute,
// originator, event, valid time.
void putRecord(int r, const char *day, const char *hour, const char *minute, const char *org,
               const char *event, const char *length)
{
    quint8 *record = ReceiverLink::instance().DownloadBuffer.data() + 32 * r;
    auto put = [record](int at, const char *text) {
        for (int i = 0; text[i]; ++i)
            record[at + i] = quint8(text[i]);
    };
    put(0, day);
    put(4, hour);
    put(6, ":");
    put(7, minute);
    put(10, org);
    put(14, event);
    put(18, length);
}

void fillSampleHistory()
{
    ReceiverLink::instance().DownloadBuffer.fill(0);
    putRecord(0, "123", "18", "45", "WXR", "TOR", "0130");
    putRecord(1, "123", "17", "05", "WXR", "TOA", "0400");
    putRecord(2, "122", "03", "10", "WXR", "SVR", "0100");
    putRecord(3, "121", "20", "00", "WXR", "FFA", "0600");
    putRecord(4, "120", "16", "30", "WXR", "RWT", "0015");
    putRecord(5, "092", "15", "00", "CIV", "RMT", "0015");
    putRecord(6, "032", "12", "15", "WXR", "WSW", "1200");
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QString docs = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("docs");
    const QString resources = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral("resources");
    QDir().mkpath(docs);

    // Defaults only: never read or touch the owner's own settings.
    QTemporaryDir home;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, home.path());
    loadSettings();
    ReceiverConfig.EDITOR.EditorVersion = QStringLiteral("1.05");

    bool ok = programIcon(128).save(resources + QStringLiteral("/orvane-editor.png"));

    frmSplash splash;
    ok &= save(splash, docs + QStringLiteral("/splash.png"));

    initEventTable();
    const QStringList defaultEvents = {"FFA", "FFW", "FLA", "FLW", "HWA", "HWW",
                                       "SVA", "SVR", "TOA", "TOR", "RMT", "RWT"};
    for (int i = 0; i < defaultEvents.size(); ++i)
        EventList[i] = defaultEvents[i];
    {
        frmEvent events;
        ok &= save(events, docs + QStringLiteral("/event-codes-page1.png"));
        events.cmdSelect_Click(1);
        ok &= save(events, docs + QStringLiteral("/event-codes-page2.png"));
    }

    // The three editor windows with the settings of a fresh installation and call letters.
    ReceiverConfig.NV8007.GiveStationID = true;
    ReceiverConfig.NV8007.AppendThisIs = true;
    ReceiverConfig.EDITOR.UserStationID = QStringLiteral("KEC83");
    {
        frmOption options;
        ok &= save(options, docs + QStringLiteral("/options-window.png"));
        frmTimers timers;
        ok &= save(timers, docs + QStringLiteral("/timers-window.png"));
        frmIdent ident;
        ok &= save(ident, docs + QStringLiteral("/identification-window.png"));
    }

    frmMain main;
    main.resize(900, 640);
    ok &= save(main, docs + QStringLiteral("/main-window.png"));

    // After a successful transfer: the decoded history, group 1 - 20.
    ReceiverConfig.EDITOR.DaylightSavings = false;
    fillSampleHistory();
    decodeHistory();
    main.mnuHistory[1]->setChecked(true);
    showHistoryGroup(*main.historyGrid, 0);
    main.mnuView->menuAction()->setEnabled(true);
    main.mnuSaveAs->setEnabled(true);
    main.setStatusPanelText(1, QStringLiteral("Upload / Download Successful"));
    main.setStatusPanelText(2, QStringLiteral("Orvane ROM Version = 1.05"));
    ok &= save(main, docs + QStringLiteral("/main-window-history.png"));
    // The county windows with the default counties and Florida, from the state files of the
    // source tree when run from there.
    if (QDir(QStringLiteral("data/States")).exists())
        setStatesDirectory(QDir(QStringLiteral("data/States")).absolutePath());
    loadDefaultLists();
    ReceiverConfig.EDITOR.TransmitterLocation = QStringLiteral(" West Palm Beach, FL     162.475");
    initStateSelection();
    fillFipsListBox();
    ok &= save(*frmFIPS::instance(), docs + QStringLiteral("/fips-codes.png"));
    frmFIPS::instance()->hide();
    ok &= save(*frmEnterFIP::instance(), docs + QStringLiteral("/state-transmitter.png"));
    // The setup window and a whole transfer against the receiver simulator on a pty.
    ReceiverSimulator receiver;
    if (receiver.start()) {
        QSettings store(QStringLiteral("Orvane"), QStringLiteral("Orvane"));
        store.setValue(QStringLiteral("PORTS/Port1"), receiver.devicePath());
        store.sync();
    }
    ReceiverConfig.EDITOR.SerialPort = 1;
    {
        frmCommPort setup(&main);
        ok &= save(setup, docs + QStringLiteral("/setup-window.png"));
        setup.close();
    }
    FipsList[0] = QStringLiteral("X 012011  Broward                Florida");
    EventList[0] = QStringLiteral("TOR");
    main.EstConnect();
    ok &= save(main, docs + QStringLiteral("/main-window-after-transfer.png"));
    // The data dump after an NV dump of what a transfer with an identification programmed.
    ReceiverConfig.EDITOR.UserStationID = QStringLiteral("WXK99");
    ReceiverConfig.NV8007.GiveStationID = true;
    ReceiverConfig.NV8007.AppendThisIs = true;
    EventList[1] = QStringLiteral("SVR");
    EventList[2] = QStringLiteral("FFW");
    main.EstConnect();
    if (MakeContact()) {
        frmDataDump dump(&main);
        dump.show();
        dump.cmdNVData_Click();
        ok &= save(dump, docs + QStringLiteral("/data-dump.png"));
        dump.cmdExit_Click();
    } else {
        ok = false;
    }

    // The About box with the firmware version the transfer read, the start-up tip, and the
    // help window at its contents.
    {
        frmAbout about(&main);
        ok &= save(about, docs + QStringLiteral("/about.png"));
    }
    ReceiverConfig.EDITOR.ShowTipsAtStartup = true;
    {
        frmTip tip(main.mnuTipsShow, &main);
        tip.setAttribute(Qt::WA_DeleteOnClose, false);
        ok &= save(tip, docs + QStringLiteral("/tip.png"));
    }
    {
        frmHelp help(QStringLiteral(ORVANE_BUILT_HELP_FILE), home.path() + QStringLiteral("/help/orvane.qhc"));
        help.resize(980, 640);
        help.showContents();
        QElapsedTimer waited;
        waited.start();
        QHelpContentModel *contents = help.helpEngine() ? help.helpEngine()->contentModel() : nullptr;
        while (contents && (contents->isCreatingContents() || contents->rowCount() == 0) && waited.elapsed() < 10000)
            QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        help.showContents();
        ok &= help.helpAvailable() && save(help, docs + QStringLiteral("/help-window.png"));
    }
    // The test packet window, idle and while the first header of the FFW alert sounds
    // (taken by a player that plays nothing; closing the window ends the alert).
    {
        frmTest packets;
        ok &= save(packets, docs + QStringLiteral("/test-packets.png"));
        Platform::setSleeper([](int) {});
        Platform::setSoundPlayer([&](const QByteArray &) {
            if (packets.isVisible()) {
                const QString path = docs + QStringLiteral("/test-packets-playing.png");
                const bool saved = packets.grab().save(path);
                std::printf("%s %s\n", saved ? "wrote" : "FAILED", qPrintable(path));
                ok &= saved;
                packets.close();
            }
            return true;
        });
        packets.cmdFFW->click();
        Platform::setSoundPlayer({});
        Platform::setSleeper({});
    }
    return ok ? 0 : 1;
}
