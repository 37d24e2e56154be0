#include "support/TestRegistry.h"
#include "LinkTestSupport.h"

#include "config/SettingsStore.h"
#include "link/PortDevices.h"
#include "link/frmCommPort.h"

#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <QTimer>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace {

// The speed and character size the device is set to now, read from the pty's own settings
// (any rate crosses a pty, so only its settings tell).
struct LineSettings {
    speed_t speed = 0;
    tcflag_t characterSize = 0;
    bool read = false;
};

LineSettings lineSettingsOf(const QString &device)
{
    LineSettings settings;
    const int fd = ::open(device.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return settings;
    termios t{};
    if (::tcgetattr(fd, &t) == 0) {
        settings.speed = ::cfgetospeed(&t);
        settings.characterSize = t.c_cflag & CSIZE;
        settings.read = true;
    }
    ::close(fd);
    return settings;
}

} // namespace

// The link operations and the port layer over a real pty; the failures are cells of the fault
// matrix.
class LinkTest : public QObject, LinkFixture
{
    Q_OBJECT

private slots:
    void init()
    {
        freshLink();
        main = std::make_unique<frmMain>();
        QVERIFY(startReceiver(2));
        ReceiverConfig.EDITOR.SerialPort = 2;
    }
    void cleanup() { stopLink(); }

    // A second open while the link is up opens nothing. (A link whose device went is opened
    // afresh: the dump cells of the fault matrix.)
    void openTwiceThenClose()
    {
        QVERIFY(openLink());
        QVERIFY(link->LinkConnected);
        QVERIFY(link->PortOpenState);
        QCOMPARE(link->Port1->deviceName(), receiver->devicePath());
        ReceiverConfig.EDITOR.SerialPort = 3; // no such device: a second open would fail
        QVERIFY(openLink());
        QCOMPARE(link->Port1->openCount(), 1);
        closeLink();
        checkPortClosed();
        QVERIFY(doubles().messages.isEmpty());
    }

    // The port is set to 4800 bit/s and 8 data bits when the link opens it and when the port
    // search opens it.
    void portSpeedOnTheDevice()
    {
        QVERIFY(openLink());
        const LineSettings linked = lineSettingsOf(receiver->devicePath());
        QVERIFY(linked.read);
        QCOMPARE(linked.speed, speed_t(B4800));
        QCOMPARE(linked.characterSize, tcflag_t(CS8));
        QCOMPARE(link->Port1->portNumber(), 2);
        closeLink();

        LineSettings searched;
        setSearchPauseSleeper([this, &searched](int ms) {
            searched = lineSettingsOf(receiver->devicePath());
            QThread::msleep(ms);
        });
        setPortDevice(1, QStringLiteral("/nonexistent/ttyS0"));
        frmCommPort setup;
        QCOMPARE(setup.TestSerial(), qint16(2));
        QVERIFY(searched.read);
        QCOMPARE(searched.speed, speed_t(B4800));
        QCOMPARE(searched.characterSize, tcflag_t(CS8));
    }

    void portNumberWithoutDevice()
    {
        ReceiverConfig.EDITOR.SerialPort = 0; // edited by hand in the store
        QVERIFY(!openLink());
        QCOMPARE(doubles().lastMessageText(), QStringLiteral("Error #201:  Selected Serial Port will not open"));
        QVERIFY(!link->LinkConnected);
    }

    void deviceOfAPort()
    {
        const QStringList usb = {"/dev/ttyS0", "/dev/ttyUSB0"};
        QCOMPARE(resolvePortDevice(1, "/dev/pts/7", usb), QStringLiteral("/dev/pts/7")); // the override wins
        QCOMPARE(resolvePortDevice(2, "", usb), QStringLiteral("/dev/ttyUSB0")); // the n-th listed
        QCOMPARE(resolvePortDevice(4, "", usb), QStringLiteral("/dev/ttyS3")); // beyond the list
        QCOMPARE(resolvePortDevice(1, "", {}), QStringLiteral("/dev/ttyS0")); // nothing listed
        QCOMPARE(resolvePortDevice(0, "", usb), QString());
    }

    void overrideSurvivesSavingTheSettings()
    {
        saveSettings();
        QCOMPARE(portDevicePath(2), receiver->devicePath());
    }

    void deviceWithoutPermission()
    {
        if (geteuid() == 0)
            QSKIP("root may open any device");
        const QString path = QDir::currentPath() + QStringLiteral("/ttyLocked");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        QFile::setPermissions(path, QFileDevice::ReadOwner);
        // The account owns the file: its own bits rule, joining the group would not help.
        QVERIFY(portAccessProblem(path).contains(QStringLiteral("has no access")));
        QVERIFY(portAccessProblem(receiver->devicePath()).isEmpty());
    }

    // The note names the owning group only when that group may read and write the device;
    // the permission bits come from a real file.
    void accessNoteFollowsTheGroupBits_data()
    {
        QTest::addColumn<int>("permissions");
        QTest::addColumn<bool>("usable");
        QTest::addColumn<bool>("owned");
        QTest::addColumn<QString>("note");
        const QString noAccess = QStringLiteral("no permission: your account has no access to this device");
        const QString join = QStringLiteral("no permission: your account must be a member of the group \"%1\" "
                                            "(then log in again)");
        const int ownerRw = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
        const int groupRw = QFileDevice::ReadGroup | QFileDevice::WriteGroup;
        QTest::newRow("usable") << ownerRw << true << false << "";
        QTest::newRow("group may read and write") << (ownerRw | groupRw) << false << false << join;
        QTest::newRow("group may not use it") << ownerRw << false << false << noAccess;
        QTest::newRow("group may only read") << (ownerRw | int(QFileDevice::ReadGroup)) << false << false << noAccess;
        QTest::newRow("group may only write") << (ownerRw | int(QFileDevice::WriteGroup)) << false << false
                                              << noAccess;
        QTest::newRow("owned by the account") << groupRw << false << true << noAccess;
    }
    void accessNoteFollowsTheGroupBits()
    {
        QFETCH(int, permissions);
        QFETCH(bool, usable);
        QFETCH(bool, owned);
        QFETCH(QString, note);
        const QString path = QDir::currentPath() + QStringLiteral("/ttyDevice");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        QVERIFY(QFile::setPermissions(path, QFileDevice::Permissions(permissions)));
        const QFileInfo info(path);
        QVERIFY(!info.group().isEmpty());
        QCOMPARE(deviceAccessProblem(usable, owned, info.group(), info.permissions()),
                 note.contains(QLatin1String("%1")) ? note.arg(info.group()) : note);
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        QFile::remove(path);
    }

    void portOptionNotes()
    {
        QCOMPARE(portOptionNote("/dev/ttyUSB0", "USB-Serial Controller", ""),
                 QStringLiteral("/dev/ttyUSB0 (USB-Serial Controller)"));
        QCOMPARE(portOptionNote("/dev/ttyS0", "", "no permission: your account must be a member of the group \"dialout\""),
                 QStringLiteral("/dev/ttyS0: no permission: your account must be a member of the group \"dialout\""));
    }
};

ORVANE_TEST(LinkTest)
#include "LinkTest.moc"
