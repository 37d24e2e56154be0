#pragma once
// What the link tests share: pointing a port at a device through the settings store's
// PORTS override, running the time-outs at a tenth of their length, a clock-second pause
// that moves the test's wall clock instead of sleeping, a fresh receiver link for each
// test, and a main window with a simulated receiver on a pty.

#include "support/Doubles.h"
#include "ReceiverSimulator.h"

#include "app/frmMain.h"
#include "config/ReceiverConfig.h"
#include "link/LinkState.h"
#include "link/PortCtl.h"
#include "link/frmCommPort.h"
#include "link/ReceiverLink.h"
#include "link/TransferData.h"

#include <QSettings>
#include <QTest>
#include <memory>

// Every time-out of the link runs at this fraction of its designed length in the tests
// (5 s -> 0.5 s, 20 s -> 2 s); late answers are scaled the same way.
constexpr double kTestTimeScale = 0.1;
// A late answer comes well after the 5 s limit (scaled), so a loaded machine cannot turn a
// time-out test into a success.
constexpr int kLateAnswerMs = int(9000 * kTestTimeScale);

// A ticked (or unticked) FIPS entry of Broward county's form for `code`.
inline QString county(const char *code, bool ticked = true)
{
    return QStringLiteral("%1%2  Broward                Florida").arg(ticked ? "X " : "  ", code);
}

// The 608 bytes the receiver must get for the record and lists as they are now: the settings
// block, then the expected selection text at 32 and 208, zeros elsewhere, and the checksum.
inline QByteArray expectedImage(const QByteArray &counties, const QByteArray &events)
{
    buildSettingsImage();
    QByteArray image(608, '\0');
    for (int i = 0; i < 32; ++i)
        image[i] = char(SettingsImage[i]);
    image.replace(32, counties.size(), counties);
    image.replace(208, events.size(), events);
    quint8 sum = 0;
    for (int i = 0; i < 607; ++i)
        sum = quint8(sum + quint8(image.at(i)));
    image[607] = char(sum);
    return image;
}

inline void setPortDevice(int number, const QString &device)
{
    QSettings store(QStringLiteral("Orvane"), QStringLiteral("Orvane"));
    store.setValue(QStringLiteral("PORTS/Port%1").arg(number), device);
    store.sync();
}

inline void installFastLink()
{
    setLinkTimeScale(kTestTimeScale);
    setPauseSleeper([](int ms) { doubles().wallClock = doubles().wallClock.addMSecs(ms); });
}

inline void restoreLink()
{
    setLinkTimeScale(1.0);
    setPauseSleeper({});
}

// The fixture of the tests that drive the link, through the main window or on its own.
struct LinkFixture {
    std::unique_ptr<ReceiverLink> link; // the program's link (ReceiverLink::instance()) while it lives
    std::unique_ptr<frmMain> main;
    std::unique_ptr<ReceiverSimulator> receiver;

    // A clean home, record and doubles, a new link, with the fast link installed.
    void freshLink()
    {
        freshHome();
        clearReceiverConfig();
        doubles().clear();
        installFastLink();
        link = std::make_unique<ReceiverLink>();
    }
    void showMain()
    {
        main = std::make_unique<frmMain>();
        main->show();
    }
    // Starts a simulated receiver as the device of port `number`; false without a pty.
    bool startReceiver(int number)
    {
        receiver = std::make_unique<ReceiverSimulator>();
        if (!receiver->start())
            return false;
        setPortDevice(number, receiver->devicePath());
        return true;
    }
    // The receiver most link tests talk to: on port 1, for a record with station "KEC/" and
    // line time-out code 3, answering late (when told to) well after the 5 s limit.
    bool startReceiverOnPort1()
    {
        ReceiverConfig.EDITOR.SerialPort = 1;
        ReceiverConfig.EDITOR.ReceiverVersion = QStringLiteral("1.00");
        ReceiverConfig.EDITOR.UserStationID = QStringLiteral("KEC/");
        ReceiverConfig.TIMERS.LineTimeoutTimer = 3;
        if (!startReceiver(1))
            return false;
        receiver->setLateAnswerMs(kLateAnswerMs);
        return true;
    }
    void stopLink()
    {
        setSearchPauseSleeper({});
        main.reset();
        link.reset();
        receiver.reset();
        restoreLink();
    }
    void checkPortClosed() const
    {
        QVERIFY(!link->Port1->isOpen());
        QVERIFY(!link->LinkConnected);
        QVERIFY(!link->PortOpenState);
    }
};
