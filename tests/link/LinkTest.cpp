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
struct AccessRow { const char *name; int permissions; bool usable, owned; const char *note; };
} // namespace
Q_DECLARE_METATYPE(ZoneRow)
Q_DECLARE_METATYPE(AccessRow)

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

    // The bytes on the wire both ways (gaps in the lists closed up; a second exchange with empty
    // lists leaves nothing of the first), every status text and progress step, no window at all.
    void wholeTransferWithoutAWindow()
    {
        QCOMPARE(&ReceiverLink::instance(), link.get());
        const QStringList fips = {"", "", county("012011"), "", county("048201"), "", county("072001")};
        for (int i = 0; i < fips.size(); ++i) FipsList[i] = fips[i];
        for (int i = 0; i < 5; ++i) EventList[i] = QStringList{"", "TOR", "", "FFW", "RMT"}[i];
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
        QCOMPARE(shownWhenChecked, 6); // the caller's part runs after the last text
        QVERIFY(panel2.isEmpty() && doubles().messages.isEmpty() && !link->tmrTimeOut->isActive());
        QCOMPARE(maxima, QList<int>({607, 1297}));
        QCOMPARE(values, QList<QList<int>>({QList<int>({0}) + counting(0, 606), counting(0, 1284)}));
        QCOMPARE(shown, QList<bool>({true, false}));
        checkPortClosed();
        FipsList = {};
        EventList = {};
        QVERIFY(runTransferExchange(*link));
        QCOMPARE(receiver->lastImage(), expectedImage("", ""));
        // The time-out timer: every tick only sets the flag.
        link->TransferTimedOut = false;
        link->startLinkTimeout(5000);
        QCOMPARE(link->tmrTimeOut->interval(), int(5000 * kTestTimeScale));
        QTRY_VERIFY(link->TransferTimedOut);
        QVERIFY(link->tmrTimeOut->isActive()); // it keeps firing until a step stops it
        link->tmrTimeOut->stop();
    }

    // The upload starts two seconds on, or at second 2 when that would pass 59; the clock only
    // moves through the pause, so where it stands afterwards is where the upload began. A clock
    // that stands still ends the pause after 4 s.
    void pauseBeforeUpload_data()
    {
        QTest::addColumn<int>("startSecond");
        QTest::addColumn<int>("uploadSecond");
        const std::pair<int, int> rows[] = {{0, 2}, {30, 32}, {57, 59}, {58, 2}, {59, 2}, {-1, -1}}; // -1: the clock stands still
        for (auto [from, to] : rows)
            QTest::addRow("%d", from) << from << to;
    }
    void pauseBeforeUpload()
    {
        QFETCH(int, startSecond);
        QFETCH(int, uploadSecond);
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
        if (startSecond < 0)
            QVERIFY2(slept >= 4000 && slept <= 5000, qPrintable(QString::number(slept)));
        else
            QCOMPARE(clockAtUpload.time().toString("ss.zzz"), QStringLiteral("%1.000").arg(uploadSecond, 2, 10, QChar('0')));
    }

    // One operation that talks to the receiver at a time: "Transfer Data Between PC and Orvane"
    // or "Serial Port Test" pressed in each wait of a transfer is refused with a beep, and the
    // transfer goes on undisturbed; a claim ends with its scope.
    void secondOperationDuringATransfer_data()
    {
        QTest::addColumn<QString>("stage");
        QTest::addColumn<bool>("search");
        for (const char *stage : {"negotiation", "image answer", "download"})
            for (bool search : {false, true})
                QTest::addRow("%s in %s", search ? "port search" : "transfer", stage) << QString(stage) << search;
    }
    void secondOperationDuringATransfer()
    {
        QFETCH(QString, stage);
        QFETCH(bool, search);
        {
            const LinkOperation first(*link), second(*link);
            QVERIFY(first.claimed() && !second.claimed() && link->operationRunning());
            QCOMPARE(doubles().beeps, 1);
        }
        QVERIFY(!link->operationRunning());
        doubles().beeps = 0;
        bool ran = false;
        std::unique_ptr<frmCommPort> setup;
        auto runSecond = [&, armed = std::make_shared<bool>(true)] { // once: the transfer passes the point only once
            if (!std::exchange(*armed, false)) return;
            QTimer::singleShot(0, [&] {
                if (search) (setup = std::make_unique<frmCommPort>(main.get()))->cmdTest->click();
                else main->cmdMain[6]->click();
                ran = true;
            });
        };
        connect(link.get(), &ReceiverLink::progressMaximumChanged, this, [&, runSecond](int maximum) {
            if (stage == "download" && maximum == 1297) runSecond();
        });
        connect(link.get(), &ReceiverLink::statusTextChanged, this, [&, runSecond](int, const QString &t) {
            if (t == (stage == "negotiation" ? "Negotiating Port # 1" : "Preparing For Download...") && stage != "download") runSecond();
        });
        main->cmdMain[6]->click();
        QVERIFY(ran);
        QCOMPARE(doubles().beeps, 1);
        QVERIFY(doubles().messages.isEmpty()); // neither an error nor the search's answer
        QCOMPARE(receiver->commandsReceived(), QByteArray("Z"));
        QCOMPARE(receiver->imagesReceived(), 1);
        QCOMPARE(main->statusPanelText(1) + main->statusPanelText(2), kSuccess + "Orvane ROM Version = 2.10");
        QVERIFY(main->mnuSaveAs->isEnabled() && !link->operationRunning());
        checkPortClosed();
    }

    // Beyond the fault matrix: the device gone while negotiating or in the clock-second pause;
    // the port search closing the port under a wait no time-out would end; the setup window
    // opened and closed in the middle of a wait, which then runs to its end.
    void interruptedExchange_data()
    {
        QTest::addColumn<int>("way");
        QTest::addColumn<QString>("status");
        QTest::addColumn<QString>("message");
        QTest::newRow("gone while negotiating") << 0 << "Port Connect Failed" << "Error #202:  Serial Connection Not Established";
        QTest::newRow("gone before the image is written") << 1 << "Upload Data Timeout" << "";
        QTest::newRow("port closed under a wait") << 2 << "Upload Data Timeout" << "";
        QTest::newRow("setup window during a wait") << 3 << "Upload Data Timeout" << "";
    }
    void interruptedExchange()
    {
        QFETCH(int, way);
        QFETCH(QString, status);
        QFETCH(QString, message);
        bool setupShown = false;
        receiver->setFault(way == 0 ? ReceiverSimulator::Fault::Silent : way == 1 ? ReceiverSimulator::Fault::None
                                                                             : ReceiverSimulator::Fault::NoImageAnswer);
        if (way == 0) QTimer::singleShot(50, [this] { receiver->hangUpNow(); });
        if (way == 2) setLinkTimeScale(100);
        setPauseSleeper([this, way, armed = false](int ms) mutable {
            doubles().wallClock = doubles().wallClock.addMSecs(ms);
            if (way == 1) receiver->hangUpNow();
            if (way == 2 && !std::exchange(armed, true)) QTimer::singleShot(100, [] { closeLink(); }); // lands in the image's wait
        });
        if (way == 3)
            QTimer::singleShot(100, [this, &setupShown] {
                QTimer::singleShot(50, [&setupShown] {
                    auto *setup = qobject_cast<frmCommPort *>(QApplication::activeModalWidget());
                    setupShown = setup && setup->windowTitle() == QLatin1String("Orvane Setup");
                    if (setup) setup->cmdOk->click();
                });
                main->cmdMain[0]->click();
            });
        main->EstConnect();
        QCOMPARE(setupShown, way == 3);
        QCOMPARE(main->statusPanelText(1), status);
        QCOMPARE(doubles().lastMessageText(), message);
        QCOMPARE(main->prgXfer->isVisible(), way != 0);
        QCOMPARE(ReceiverConfig.EDITOR.ReceiverVersion, QStringLiteral("1.00"));
        QVERIFY(!main->mnuSaveAs->isEnabled());
        checkPortClosed();
    }

    // The port at 4800 bit/s and 8 data bits when the link and the port search open it; a second
    // open while the link is up opens nothing; a port number without a device is refused.
    void portOnTheDevice()
    {
        setPortDevice(1, QStringLiteral("/nonexistent/ttyS0"));
        QVERIFY(startReceiver(2));
        ReceiverConfig.EDITOR.SerialPort = 2;
        QVERIFY(openLink());
        QCOMPARE(lineSettingsOf(receiver->devicePath()), kB4800CS8);
        QVERIFY(link->LinkConnected && link->PortOpenState && link->Port1->portNumber() == 2);
        QCOMPARE(link->Port1->deviceName(), receiver->devicePath());
        ReceiverConfig.EDITOR.SerialPort = 3; // no such device: a second open would fail
        QVERIFY(openLink());
        QCOMPARE(link->Port1->openCount(), 1);
        closeLink();
        checkPortClosed();
        QString searched;
        setSearchPauseSleeper([&](int ms) { searched = lineSettingsOf(receiver->devicePath()); QThread::msleep(ms); });
        frmCommPort setup;
        QCOMPARE(setup.TestSerial(), qint16(2));
        QCOMPARE(searched, kB4800CS8);
        QVERIFY(doubles().messages.isEmpty());
        saveSettings(); // the override survives
        QCOMPARE(portDevicePath(2), receiver->devicePath());
        ReceiverConfig.EDITOR.SerialPort = 0; // edited by hand in the store
        QVERIFY(!openLink());
        QCOMPARE(doubles().lastMessageText(), QStringLiteral("Error #201:  Selected Serial Port will not open"));
        const QStringList usb = {"/dev/ttyS0", "/dev/ttyUSB0"};
        QCOMPARE(resolvePortDevice(1, "/dev/pts/7", usb), QStringLiteral("/dev/pts/7")); // the override wins
        QCOMPARE(resolvePortDevice(2, "", usb), QStringLiteral("/dev/ttyUSB0")); // the n-th listed
        QCOMPARE(resolvePortDevice(4, "", usb), QStringLiteral("/dev/ttyS3")); // beyond the list
        QCOMPARE(resolvePortDevice(1, "", {}), QStringLiteral("/dev/ttyS0"));
        QCOMPARE(resolvePortDevice(0, "", usb), QString());
        QCOMPARE(portOptionNote("/dev/ttyUSB0", "USB-Serial Controller", ""), QStringLiteral("/dev/ttyUSB0 (USB-Serial Controller)"));
        QCOMPARE(portOptionNote("/dev/ttyS0", "", "no permission: x"), QStringLiteral("/dev/ttyS0: no permission: x"));
    }

    // The note names the owning group only when that group may read and write the device; the
    // permission bits come from a real file.
    void accessNote_data()
    {
        const int own = QFileDevice::ReadOwner | QFileDevice::WriteOwner, group = QFileDevice::ReadGroup | QFileDevice::WriteGroup;
        const char *none = "no permission: your account has no access to this device";
        addRows<AccessRow>({{"usable", own, true, false, ""},
                            {"group may read and write", own | group, false, false,
                             "no permission: your account must be a member of the group \"%1\" (then log in again)"},
                            {"group may not use it", own, false, false, none},
                            {"group may only read", own | int(QFileDevice::ReadGroup), false, false, none},
                            {"group may only write", own | int(QFileDevice::WriteGroup), false, false, none},
                            {"owned by the account", group, false, true, none}});
    }
    void accessNote()
    {
        QFETCH(AccessRow, row);
        QFile file(QStringLiteral("ttyDevice"));
        file.remove();
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        QVERIFY(file.setPermissions(QFileDevice::Permissions(row.permissions)));
        const QFileInfo info(file.fileName());
        QVERIFY(!info.group().isEmpty());
        const QString note = QString(row.note);
        QCOMPARE(deviceAccessProblem(row.usable, row.owned, info.group(), info.permissions()),
                 note.contains("%1") ? note.arg(info.group()) : note);
        if (geteuid() != 0 && !(row.permissions & QFileDevice::ReadOwner)) // the account's own bits rule
            QVERIFY(portAccessProblem(info.absoluteFilePath()).contains("has no access"));
        QVERIFY(portAccessProblem(receiver->devicePath()).isEmpty());
        file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }

    void setupWindowLayout()
    {
        setPortDevice(2, QStringLiteral("/dev/pts/77"));
        frmCommPort setup(main.get());
        QCOMPARE(setup.windowTitle(), QStringLiteral("Orvane Setup"));
        for (int i = 0; i < 4; ++i)
            QVERIFY(setup.findChild<QRadioButton *>(QStringLiteral("optCommPort_%1").arg(i))->text() == QStringLiteral("Port %1").arg(i + 1)
                    && !setup.findChild<QLabel *>(QStringLiteral("lblPortDevice_%1").arg(i))->text().isEmpty());
        QVERIFY(setup.lblPortDevice[1]->text().startsWith(QStringLiteral("/dev/pts/77")));
        QStringList zones, buttons;
        for (int i = 0; i < setup.cmbTimeZone->count(); ++i) zones << setup.cmbTimeZone->itemText(i);
        QCOMPARE(zones, QStringList({" [GMT-04:00] Atlantic Time (Puerto Rico, Canada)", " [GMT-05:00] Eastern Time (US, Canada)",
                                     " [GMT-06:00] Central Time (US, Canada)", " [GMT-07:00] Mountain Time (US, Canada)",
                                     " [GMT-08:00] Pacific Time (US, Canada)", " [GMT-09:00] Alaska", " [GMT-10:00] Hawaii",
                                     " [GMT-11:00] Midway Island, Samona"}));
        QCOMPARE(setup.chkAdjustTime->text(), QStringLiteral("Automatically adjust time for daylight saving changes"));
        for (auto *button : setup.findChildren<QPushButton *>()) buttons << button->text();
        buttons.sort();
        QCOMPARE(buttons, QStringList({"OK", "Serial Port Test"})); // no Cancel
    }

    // What the window shows for the stored values, and what OK stores back; opened from the main
    // window, OK stores the changes made in it, the close box drops them.
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
            QVERIFY(checkedPort(setup) == row.shownOption && setup.cmbTimeZone->currentIndex() == row.shownZone);
            QCOMPARE(setup.chkAdjustTime->isChecked(), daylight);
            setup.cmdOk->click();
            QVERIFY(ReceiverConfig.EDITOR.SerialPort == row.port && ReceiverConfig.EDITOR.TimeZoneOffset == row.storedZone);
            QCOMPARE(ReceiverConfig.EDITOR.DaylightSavings, daylight);
        }
        for (bool ok : {false, true}) {
            ReceiverConfig.EDITOR.SerialPort = 1, ReceiverConfig.EDITOR.TimeZoneOffset = -5, ReceiverConfig.EDITOR.DaylightSavings = true;
            QTimer::singleShot(100, [ok] {
                auto *setup = qobject_cast<frmCommPort *>(QApplication::activeModalWidget());
                setup->optCommPort[3]->setChecked(true), setup->cmbTimeZone->setCurrentIndex(6), setup->chkAdjustTime->setChecked(false);
                ok ? setup->cmdOk->click() : void(setup->close());
            });
            main->cmdMain[0]->click();
            QVERIFY(ReceiverConfig.EDITOR.SerialPort == (ok ? 4 : 1) && ReceiverConfig.EDITOR.TimeZoneOffset == (ok ? -10 : -5));
            QCOMPARE(ReceiverConfig.EDITOR.DaylightSavings, !ok);
        }
    }

    // Port 1 has no device, the ports from 2 up to the receiver's hold receivers that never
    // answer, any port after it another receiver that must never be asked. The port is set at
    // once, before OK, when the owner says Yes.
    void portSearch_data()
    {
        QTest::addColumn<int>("found");
        QTest::addColumn<bool>("yes");
        for (auto [found, yes] : {std::pair{3, true}, std::pair{3, false}, std::pair{4, true}})
            QTest::addRow("found on port %d, %s", found, yes ? "Yes" : "No") << found << yes;
    }
    void portSearch()
    {
        QFETCH(int, found);
        QFETCH(bool, yes);
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
        for (int n = 2; n <= 4; ++n)
            QCOMPARE(receivers[n - 2].commandsReceived(), n <= found ? QByteArray("T") : QByteArray());
        QCOMPARE(int(ReceiverConfig.EDITOR.SerialPort), yes ? found : 1);
        QCOMPARE(checkedPort(setup), (yes ? found : 1) - 1);
        QCOMPARE(main->statusPanelText(1), yes ? " Serial port " + port + " found and passed handshaking test. Port " + port + " set." : QString());
        QVERIFY(!link->Port1->isOpen() && !link->LinkConnected);
    }
};

ORVANE_TEST(LinkTest)
#include "LinkTest.moc"
