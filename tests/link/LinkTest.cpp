// The receiver link, the transfer, the port layer and the setup window "Orvane Setup" over a
// real pty with the receiver simulator; the failures are cells of the fault matrix.
#include "LinkTestSupport.h"
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace {
QString lineSettingsOf(const QString &device) // the pty's speed and character size (any rate crosses a pty)
{
    const int fd = ::open(device.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    termios t{};
    const bool read = fd >= 0 && ::tcgetattr(fd, &t) == 0;
    if (fd >= 0) ::close(fd);
    return read ? QStringLiteral("%1 %2").arg(::cfgetospeed(&t)).arg(t.c_cflag & CSIZE) : QString();
}
const QString kB4800CS8 = QStringLiteral("%1 %2").arg(B4800).arg(CS8);
QList<int> counting(int from, int to) { QList<int> l; for (int i = from; i <= to; ++i) l << i; return l; }
int checkedPort(const frmCommPort &setup) { for (int i = 0; i < 4; ++i) if (setup.optCommPort[i]->isChecked()) return i; return -1; }
// The stored port and zone offset, the option and zone shown for them, the offset OK stores.
struct ZoneRow { const char *name; int port, zone, shownOption, shownZone, storedZone; };
struct SecondRow { const char *name, *during; bool search; };
struct SearchRow { const char *name; int found; bool yes; };
struct PauseRow { const char *name; int startSecond, uploadSecond; }; // -1: the clock stands still
struct InterruptRow { const char *name; int way; const char *status, *message; };
struct AccessRow { const char *name; int permissions; bool usable, owned; const char *note; };
} // namespace
Q_DECLARE_METATYPE(ZoneRow)
Q_DECLARE_METATYPE(PauseRow)
Q_DECLARE_METATYPE(SearchRow)
Q_DECLARE_METATYPE(SecondRow)
Q_DECLARE_METATYPE(InterruptRow)

class LinkTest : public QObject, LinkFixture
{
    Q_OBJECT
private slots:
    void init()
    {
        freshLink();
        if (qstrcmp(QTest::currentTestFunction(), "wholeTransferWithoutAWindow") != 0) showMain();
        ReceiverConfig.NV8008.AcceptAllFips = true;
        QVERIFY(startReceiverOnPort1());
        receiver->setRomVersion("210");
    }
    void cleanup() { stopLink(); }

    // The bytes on the wire both ways (gaps in the lists closed up, the last slot and a bare ticked
    // code sent too; a second exchange with empty lists leaves nothing of the first), every status
    // text and progress step, no window at all.
    void wholeTransferWithoutAWindow()
    {
        FipsList[2] = county("012011"), FipsList[4] = county("048201"), FipsList[98] = QStringLiteral("X 072001");
        EventList[1] = QStringLiteral("TOR"), EventList[3] = QStringLiteral("FFW"), EventList[4] = QStringLiteral("RMT");
        QStringList panel1, panel2;
        QList<int> maxima;
        QList<bool> shown;
        QList<QList<int>> values; // after each new maximum
        connect(link.get(), &ReceiverLink::statusTextChanged, [&](int panel, const QString &t) { (panel == 1 ? panel1 : panel2) << t; });
        connect(link.get(), &ReceiverLink::progressMaximumChanged, [&](int maximum) { maxima << maximum; values << QList<int>(); });
        connect(link.get(), &ReceiverLink::progressValueChanged, [&](int value) { if (!values.isEmpty()) values.last() << value; });
        connect(link.get(), &ReceiverLink::progressVisibleChanged, [&](bool visible) { shown << visible; });
        int shownWhenChecked = 0;
        QVERIFY(runTransferExchange(*link, [&] { shownWhenChecked = int(panel1.size()); }));
        QVERIFY(QApplication::topLevelWidgets().isEmpty());
        QCOMPARE(receiver->commandsReceived(), QByteArray("Z"));
        QCOMPARE(receiver->lastImage(), expectedImage("012011-048201-072001-", "TOR-FFW-RMT-"));
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(link->DownloadBuffer.data()), 1284),
                 ReceiverSimulator::downloadFor(ReceiverSimulator::defaultHistory(), "210"));
        QCOMPARE(panel1, QStringList({"Negotiating Port # 1", "Port Connect Successful...Preparing For Upload",
                                      "Preparing For Upload...", "Preparing For Download...", "Downloading Data", kSuccess}));
        QVERIFY(shownWhenChecked == 6 && panel2.isEmpty()); // the caller's part runs after the last text
        QVERIFY(doubles().messages.isEmpty() && !link->tmrTimeOut->isActive() && maxima == QList<int>({607, 1297}));
        QCOMPARE(values, QList<QList<int>>({QList<int>({0}) + counting(0, 606), counting(0, 1284)}));
        QCOMPARE(shown, QList<bool>({true, false}));
        checkPortClosed();
        FipsList = {}, EventList = {};
        QVERIFY(runTransferExchange(*link));
        QCOMPARE(receiver->lastImage(), expectedImage("", ""));
    }

    // The upload starts two seconds on, or at second 2 past 59 (the clock moves only through the pause,
    // so where it stands afterwards is where the upload began); a clock standing still ends it after 4 s.
    void pauseBeforeUpload_data()
    {
        addRows<PauseRow>({{"0", 0, 2}, {"30", 30, 32}, {"57", 57, 59}, {"58", 58, 2}, {"59", 59, 2}, {"still clock", -1, -1}});
    }
    void pauseBeforeUpload()
    {
        QFETCH(PauseRow, row);
        const int startSecond = row.startSecond, uploadSecond = row.uploadSecond;
        QDateTime clockAtUpload;
        int slept = 0;
        if (startSecond >= 0) QCOMPARE(uploadStartSecond(startSecond), uploadSecond);
        doubles().wallClock = QDateTime(QDate(2026, 6, 15), QTime(12, 0, std::max(startSecond, 0), 400));
        setPauseSleeper([&, startSecond](int ms) {
            slept += ms;
            if (startSecond >= 0) clockAtUpload = doubles().wallClock = doubles().wallClock.addMSecs(ms);
        });
        main->EstConnect();
        QCOMPARE(main->statusPanelText(1), kSuccess);
        if (startSecond < 0) QVERIFY2(slept >= 4000 && slept <= 5000, qPrintable(QString::number(slept)));
        else QCOMPARE(clockAtUpload.time().toString("ss.zzz"), QStringLiteral("%1.000").arg(uploadSecond, 2, 10, QChar('0')));
    }

    // One operation that talks to the receiver at a time: a transfer or port search started in each wait
    // of a transfer is refused with a beep, and the transfer goes on undisturbed.
    void secondOperationDuringATransfer_data()
    {
        addRows<SecondRow>({{"transfer in negotiation", "Negotiating Port # 1", false}, {"port search in negotiation", "Negotiating Port # 1", true},
                            {"transfer in image answer", "Preparing For Download...", false}, {"port search in image answer", "Preparing For Download...", true},
                            {"transfer in download", "Downloading Data", false}, {"port search in download", "Downloading Data", true}});
    }
    void secondOperationDuringATransfer()
    {
        QFETCH(SecondRow, row);
        bool armed = true, ran = false; // once: the transfer passes the point only once
        std::unique_ptr<frmCommPort> setup;
        connect(link.get(), &ReceiverLink::statusTextChanged, this, [&](int, const QString &t) {
            if (t == row.during && std::exchange(armed, false))
                QTimer::singleShot(0, [&] {
                    (row.search ? (setup = std::make_unique<frmCommPort>(main.get()))->cmdTest : main->cmdMain[6])->click();
                    ran = true;
                });
        });
        main->cmdMain[6]->click();
        QVERIFY(ran && doubles().beeps == 1 && doubles().messages.isEmpty()); // neither an error nor the search's answer
        QVERIFY(receiver->commandsReceived() == "Z" && receiver->imagesReceived() == 1);
        QCOMPARE(main->statusPanelText(1) + main->statusPanelText(2), kSuccess + "Orvane ROM Version = 2.10");
        QVERIFY(main->mnuSaveAs->isEnabled() && !link->operationRunning());
        checkPortClosed();
    }

    // Beyond the fault matrix: the device gone while negotiating or in the clock-second pause;
    // the port search closing the port under a wait no time-out would end; an answer left on the
    // line from before the port opened, which answers nothing.
    void interruptedExchange_data()
    {
        addRows<InterruptRow>({{"gone while negotiating", 0, "Port Connect Failed", "Error #202:  Serial Connection Not Established"},
                               {"gone before the image is written", 1, "Upload Data Timeout", ""},
                               {"port closed under a wait", 2, "Upload Data Timeout", ""},
                               {"stale answer on the line", 3, "Port Connect Failed", "Error #202:  Serial Connection Not Established"}});
    }
    void interruptedExchange()
    {
        QFETCH(InterruptRow, row);
        const int way = row.way;
        using F = ReceiverSimulator::Fault;
        receiver->setFault(way == 0 || way == 3 ? F::Silent : way == 1 ? F::None : F::NoImageAnswer);
        if (way == 3) receiver->sendStray(QByteArray(1, char(ACK)));
        if (way == 0) QTimer::singleShot(50, [this] { receiver->hangUpNow(); });
        if (way == 2) setLinkTimeScale(100);
        setPauseSleeper([this, way, armed = false](int ms) mutable {
            doubles().wallClock = doubles().wallClock.addMSecs(ms);
            if (way == 1) receiver->hangUpNow();
            if (way == 2 && !std::exchange(armed, true)) QTimer::singleShot(100, [] { closeLink(); }); // lands in the image's wait
        });
        main->EstConnect();
        QCOMPARE(main->statusPanelText(1) + u'|' + doubles().lastMessageText(), QString(row.status) + u'|' + row.message);
        QVERIFY(main->prgXfer->isVisible() == (way == 1 || way == 2) && !main->mnuSaveAs->isEnabled());
        QCOMPARE(ReceiverConfig.EDITOR.ReceiverVersion, QStringLiteral("1.00"));
        checkPortClosed();
    }

    // The port at 4800 bit/s and 8 data bits when the link and the port search open it; a second
    // open while the link is up opens nothing; a port number without a device is refused.
    void portOnTheDevice()
    {
        setPortDevice(1, QStringLiteral("/nonexistent/ttyS0")), ReceiverConfig.EDITOR.SerialPort = 2;
        QVERIFY(startReceiver(2) && openLink());
        QCOMPARE(lineSettingsOf(receiver->devicePath()), kB4800CS8);
        QVERIFY(link->LinkConnected && link->PortOpenState && link->Port1->portNumber() == 2 && link->Port1->deviceName() == receiver->devicePath());
        ReceiverConfig.EDITOR.SerialPort = 3; // no such device: a second open would fail
        QVERIFY(openLink() && link->Port1->openCount() == 1);
        closeLink(), checkPortClosed();
        QString searched;
        setSearchPauseSleeper([&](int ms) { searched = lineSettingsOf(receiver->devicePath()); QThread::msleep(ms); });
        frmCommPort setup;
        QVERIFY(setup.TestSerial() == 2 && doubles().messages.isEmpty());
        QCOMPARE(searched, kB4800CS8);
        saveSettings(); // the override survives
        QCOMPARE(portDevicePath(2), receiver->devicePath());
        ReceiverConfig.EDITOR.SerialPort = 0; // edited by hand in the store
        QVERIFY(!openLink() && doubles().lastMessageText() == QStringLiteral("Error #201:  Selected Serial Port will not open"));
        // The override wins, then the n-th listed device, then /dev/ttyS<n-1>; no port 0.
        const QStringList usb = {"/dev/ttyS0", "/dev/ttyUSB0"};
        QCOMPARE(QStringList({resolvePortDevice(1, "/dev/pts/7", usb), resolvePortDevice(2, "", usb), resolvePortDevice(4, "", usb),
                              resolvePortDevice(1, "", {}), resolvePortDevice(0, "", usb)}),
                 QStringList({"/dev/pts/7", "/dev/ttyUSB0", "/dev/ttyS3", "/dev/ttyS0", ""}));
        QCOMPARE(portOptionNote("/dev/ttyUSB0", "USB-Serial Controller", "") + u'|' + portOptionNote("/dev/ttyS0", "", "no permission: x"),
                 QStringLiteral("/dev/ttyUSB0 (USB-Serial Controller)|/dev/ttyS0: no permission: x"));
    }

    // The note names the owning group only when that group may read and write the device; the
    // permission bits come from a real file.
    void setupWindowNotes()
    {
        const int own = QFileDevice::ReadOwner | QFileDevice::WriteOwner, group = QFileDevice::ReadGroup | QFileDevice::WriteGroup;
        const char *none = "no permission: your account has no access to this device";
        const AccessRow rows[] = {{"usable", own, true, false, ""},
                                  {"group may read and write", own | group, false, false,
                                   "no permission: your account must be a member of the group \"%1\" (then log in again)"},
                                  {"group may not use it", own, false, false, none},
                                  {"group may only read", own | int(QFileDevice::ReadGroup), false, false, none},
                                  {"group may only write", own | int(QFileDevice::WriteGroup), false, false, none},
                                  {"owned by the account", group, false, true, none}};
        QFile file(QStringLiteral("ttyDevice"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        for (const AccessRow &row : rows) {
            QVERIFY(file.setPermissions(QFileDevice::Permissions(row.permissions)));
            const QFileInfo info(file.fileName());
            const QString note = QString(row.note);
            QCOMPARE(deviceAccessProblem(row.usable, row.owned, info.group(), info.permissions()), note.contains("%1") ? note.arg(info.group()) : note);
            QVERIFY(!info.group().isEmpty());
            if (geteuid() != 0 && !(row.permissions & QFileDevice::ReadOwner)) // the account's own bits rule
                QVERIFY(portAccessProblem(info.absoluteFilePath()).contains("has no access"));
        }
        QVERIFY(portAccessProblem(receiver->devicePath()).isEmpty());
        // The setup window's texts, with the device of each port beside it.
        setPortDevice(2, QStringLiteral("/dev/pts/77"));
        frmCommPort setup(main.get());
        QStringList zones, buttons;
        for (int i = 0; i < 4; ++i)
            QVERIFY(setup.optCommPort[i]->text() == QStringLiteral("Port %1").arg(i + 1) && !setup.lblPortDevice[i]->text().isEmpty());
        QVERIFY(setup.windowTitle() == QStringLiteral("Orvane Setup") && setup.lblPortDevice[1]->text().startsWith("/dev/pts/77"));
        for (int i = 0; i < setup.cmbTimeZone->count(); ++i) zones << setup.cmbTimeZone->itemText(i);
        QCOMPARE(zones, QStringList({" [GMT-04:00] Atlantic Time (Puerto Rico, Canada)", " [GMT-05:00] Eastern Time (US, Canada)",
                                     " [GMT-06:00] Central Time (US, Canada)", " [GMT-07:00] Mountain Time (US, Canada)",
                                     " [GMT-08:00] Pacific Time (US, Canada)", " [GMT-09:00] Alaska", " [GMT-10:00] Hawaii",
                                     " [GMT-11:00] Midway Island, Samona"}));
        for (auto *button : setup.findChildren<QPushButton *>()) buttons << button->text();
        buttons.sort();
        QCOMPARE(buttons << setup.chkAdjustTime->text(), // no Cancel
                 QStringList({"OK", "Serial Port Test", "Automatically adjust time for daylight saving changes"}));
    }

    // What the window shows for the stored values, and what OK stores back; opened from the main
    // window, the close box drops the changes made in it (the window walks store them with OK).
    void showAndStore_data()
    {
        addRows<ZoneRow>({{"port 3, Eastern", 3, -5, 2, 1, -5}, {"port 0 shows none, keeps 0", 0, -6, -1, 2, -6},
                          {"port 5 shows none, keeps 5", 5, -6, -1, 2, -6}, {"offset -12 shows Atlantic, stores -4", 1, -12, 0, 0, -4},
                          {"offset -3 shows Atlantic, stores -4", 1, -3, 0, 0, -4}, {"offset -11 stays", 4, -11, 3, 7, -11}});
    }
    void showAndStore()
    {
        QFETCH(ZoneRow, row);
        for (bool daylight : {false, true}) {
            ReceiverConfig.EDITOR.SerialPort = qint16(row.port), ReceiverConfig.EDITOR.TimeZoneOffset = qint16(row.zone);
            ReceiverConfig.EDITOR.DaylightSavings = daylight;
            frmCommPort setup(main.get());
            QVERIFY(checkedPort(setup) == row.shownOption && setup.cmbTimeZone->currentIndex() == row.shownZone
                    && setup.chkAdjustTime->isChecked() == daylight);
            setup.cmdOk->click();
            QVERIFY(ReceiverConfig.EDITOR.SerialPort == row.port && ReceiverConfig.EDITOR.TimeZoneOffset == row.storedZone
                    && ReceiverConfig.EDITOR.DaylightSavings == daylight);
        }
        ReceiverConfig.EDITOR.SerialPort = 1, ReceiverConfig.EDITOR.TimeZoneOffset = -5, ReceiverConfig.EDITOR.DaylightSavings = true;
        QTimer::singleShot(100, [] {
            auto *setup = qobject_cast<frmCommPort *>(QApplication::activeModalWidget());
            setup->optCommPort[3]->setChecked(true), setup->cmbTimeZone->setCurrentIndex(6), setup->chkAdjustTime->setChecked(false);
            setup->close();
        });
        main->cmdMain[0]->click();
        QVERIFY(ReceiverConfig.EDITOR.SerialPort == 1 && ReceiverConfig.EDITOR.TimeZoneOffset == -5 && ReceiverConfig.EDITOR.DaylightSavings);
    }

    // Port 1 has no device, ports 2 up to the receiver's hold receivers that never answer, any port after
    // it one that must never be asked. Yes sets the port at once, before OK.
    void portSearch_data() { addRows<SearchRow>({{"found on port 3, Yes", 3, true}, {"found on port 3, No", 3, false}, {"found on port 4, Yes", 4, true}}); }
    void portSearch()
    {
        QFETCH(SearchRow, row);
        const int found = row.found, yes = row.yes;
        std::array<ReceiverSimulator, 3> receivers; // on ports 2, 3, 4
        setPortDevice(1, QStringLiteral("/nonexistent/ttyS0"));
        for (int n = 2; n <= 4; ++n) {
            if (n < found) receivers[n - 2].setFault(ReceiverSimulator::Fault::Silent);
            QVERIFY(receivers[n - 2].start());
            setPortDevice(n, receivers[n - 2].devicePath());
        }
        frmCommPort setup(main.get());
        doubles().answerNext(yes ? QMessageBox::Yes : QMessageBox::No);
        setup.cmdTest->click();
        const QString port = QString::number(found);
        QCOMPARE(shownBoxes(), QStringList{box("Serial port " + port + " found. Set port number?", QMessageBox::Information,
                                              QMessageBox::Yes | QMessageBox::No, " Orvane Serial Port Test")});
        for (int n = 2; n <= 4; ++n) QCOMPARE(receivers[n - 2].commandsReceived(), n <= found ? QByteArray("T") : QByteArray());
        QVERIFY(ReceiverConfig.EDITOR.SerialPort == (yes ? found : 1) && checkedPort(setup) == (yes ? found : 1) - 1
                && !link->Port1->isOpen() && !link->LinkConnected);
        QCOMPARE(main->statusPanelText(1), yes ? " Serial port " + port + " found and passed handshaking test. Port " + port + " set." : QString());
    }
};

ORVANE_TEST(LinkTest)
#include "LinkTest.moc"
