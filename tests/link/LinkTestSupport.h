#pragma once
// What the link tests share: ports pointed at devices through the store's PORTS override, time-outs
// at a tenth, a pause that moves the test's wall clock, a fresh link, a main window, a simulated receiver.
#include "support/Doubles.h"
#include "support/HistoryRecords.h"
#include "support/Processes.h"
#include "support/Rows.h"
#include "support/TestRegistry.h"
#include "ReceiverSimulator.h"
#include "app/frmMain.h"
#include "config/DaylightState.h"
#include "config/ParameterFile.h"
#include "config/SettingsStore.h"
#include "core/WavData.h"
#include "link/HistoryDecoding.h"
#include "link/PortDevices.h"
#include "link/TestPackets.h"
#include "link/Transfer.h"
#include "link/frmTest.h"
#include "selection/EventTable.h"
#include "config/ReceiverConfig.h"
#include "link/LinkState.h"
#include "link/PortCtl.h"
#include "link/TransferData.h"
#include "link/frmCommPort.h"
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

// Every time-out of the link runs at this fraction of its designed length (5 s -> 0.5 s).
constexpr double kTestTimeScale = 0.1;
// A late answer comes well after the 5 s limit, so a loaded machine cannot make it a success.
constexpr int kLateAnswerMs = int(9000 * kTestTimeScale);
// What status panel 1 says after a whole exchange.
inline const QString kSuccess = QStringLiteral("Upload / Download Successful");

inline QString county(const char *code, bool ticked = true)
{
    return QStringLiteral("%1%2  Broward                Florida").arg(ticked ? "X " : "  ", code);
}

// The 608 bytes the receiver must get for the record and these selection texts: the settings
// block, the counties at 32, the events at 208, zeros elsewhere, the checksum.
inline QByteArray expectedImage(const QByteArray &counties, const QByteArray &events)
{
    buildSettingsImage();
    QByteArray image(reinterpret_cast<const char *>(SettingsImage.data()), 32);
    image += counties + QByteArray(176 - counties.size(), '\0') + events + QByteArray(400 - events.size(), '\0');
    quint8 sum = 0;
    for (int i = 0; i < 607; ++i) sum = quint8(sum + quint8(image.at(i)));
    image[607] = char(sum);
    return image;
}
inline void setPortDevice(int number, const QString &device)
{
    QSettings(QStringLiteral("Orvane"), QStringLiteral("Orvane")).setValue(QStringLiteral("PORTS/Port%1").arg(number), device);
}

struct LinkFixture {
    std::unique_ptr<ReceiverLink> link; // the program's link while it lives
    std::unique_ptr<frmMain> main;
    std::unique_ptr<ReceiverSimulator> receiver;

    // A clean home, record and doubles, a new link on the fast clock.
    void freshLink()
    {
        freshHome(), clearReceiverConfig(), doubles().clear();
        setLinkTimeScale(kTestTimeScale);
        setPauseSleeper([](int ms) { doubles().wallClock = doubles().wallClock.addMSecs(ms); });
        link = std::make_unique<ReceiverLink>();
    }
    void showMain() { (main = std::make_unique<frmMain>())->show(); }
    // A simulated receiver as the device of port `number`; false without a pty.
    bool startReceiver(int number)
    {
        if (!(receiver = std::make_unique<ReceiverSimulator>())->start()) return false;
        setPortDevice(number, receiver->devicePath());
        return true;
    }
    // On port 1, station "KEC/", line time-out code 3, answering late (when told) after the 5 s limit.
    bool startReceiverOnPort1()
    {
        ReceiverConfig.EDITOR.SerialPort = 1, ReceiverConfig.TIMERS.LineTimeoutTimer = 3;
        ReceiverConfig.EDITOR.ReceiverVersion = QStringLiteral("1.00"), ReceiverConfig.EDITOR.UserStationID = QStringLiteral("KEC/");
        if (!startReceiver(1)) return false;
        receiver->setLateAnswerMs(kLateAnswerMs);
        return true;
    }
    void stopLink() { setSearchPauseSleeper({}), setPauseSleeper({}), main.reset(), link.reset(), receiver.reset(), setLinkTimeScale(1.0); }
    void checkPortClosed() const { QVERIFY(!link->Port1->isOpen() && !link->LinkConnected && !link->PortOpenState); }
};
