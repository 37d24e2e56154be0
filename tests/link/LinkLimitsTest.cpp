// The numbers of the link: the time-out of each wait (on the scaled clock, as a ratio to its
// designed length), the port's speed and data bits on the device itself, the port search's
// answer window, and the end mark of the download.

#include "support/TestRegistry.h"
#include "LinkTestSupport.h"

#include "link/Transfer.h"
#include "link/frmCommPort.h"

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

// A designed length in milliseconds, from the interval the test's scaled clock runs.
int designedLength(int scaledMs) { return qRound(scaledMs / kTestTimeScale); }

} // namespace

class LinkLimitsTest : public QObject, LinkFixture
{
    Q_OBJECT

private slots:
    void init()
    {
        freshLink();
        ReceiverConfig.EDITOR.SerialPort = 1;
        ReceiverConfig.EDITOR.ReceiverVersion = QStringLiteral("1.00");
        QVERIFY(startReceiver(1));
    }
    void cleanup()
    {
        setSearchPauseSleeper({});
        stopLink();
    }

    // The time-out each wait of a transfer runs under, seen when the wait begins: 5 s for
    // the answer to "Z", 20 s for the answer to the image, 20 s for the whole download.
    void timeOutOfEachWait()
    {
        struct Seen {
            int interval = -1;
            bool active = false;
        };
        Seen negotiation, imageAnswer, download;
        auto note = [this](Seen &seen) {
            seen.interval = link->tmrTimeOut->interval();
            seen.active = link->tmrTimeOut->isActive();
        };
        bool downloadStarts = false;
        connect(link.get(), &ReceiverLink::statusTextChanged, this, [&](int, const QString &text) {
            if (text.startsWith(QLatin1String("Negotiating Port # ")))
                note(negotiation);
            else if (text == QLatin1String("Preparing For Download..."))
                note(imageAnswer);
        });
        connect(link.get(), &ReceiverLink::progressMaximumChanged, this,
                [&](int maximum) { downloadStarts = maximum != 607; });
        connect(link.get(), &ReceiverLink::progressValueChanged, this, [&](int value) {
            if (downloadStarts && value == 1)
                note(download);
        });

        QVERIFY(runTransferExchange(*link));

        QVERIFY(negotiation.active && imageAnswer.active && download.active);
        QCOMPARE(designedLength(negotiation.interval), 5000);
        QCOMPARE(designedLength(imageAnswer.interval), 20000);
        QCOMPARE(designedLength(download.interval), 20000);
    }

    // The download's progress bar runs to 1297 (of which 1284 steps are used).
    void downloadProgressMaximum()
    {
        QList<int> maxima;
        int lastValue = -1;
        connect(link.get(), &ReceiverLink::progressMaximumChanged, this, [&](int maximum) { maxima << maximum; });
        connect(link.get(), &ReceiverLink::progressValueChanged, this, [&](int value) { lastValue = value; });
        QVERIFY(runTransferExchange(*link));
        QCOMPARE(maxima, QList<int>({607, 1297}));
        QCOMPARE(lastValue, 1284);
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
        QCOMPARE(link->Port1->portNumber(), 1);
        closeLink();

        LineSettings searched;
        setSearchPauseSleeper([this, &searched](int ms) {
            searched = lineSettingsOf(receiver->devicePath());
            QThread::msleep(ms);
        });
        frmCommPort setup;
        QCOMPARE(setup.TestSerial(), qint16(1));
        QVERIFY(searched.read);
        QCOMPARE(searched.speed, speed_t(B4800));
        QCOMPARE(searched.characterSize, tcflag_t(CS8));
    }

    // The search looks at the answer once, 200 ms after the test byte, on every port it
    // could open; port 1 has no device, port 2 a receiver that does not answer.
    void searchAnswerWindow()
    {
        ReceiverSimulator silent;
        silent.setFault(ReceiverSimulator::Fault::Silent);
        QVERIFY(silent.start());
        setPortDevice(1, QStringLiteral("/nonexistent/ttyS0"));
        setPortDevice(2, silent.devicePath());
        setPortDevice(3, receiver->devicePath());
        QList<int> pauses;
        setSearchPauseSleeper([&pauses](int ms) {
            pauses << ms;
            QThread::msleep(ms);
        });
        frmCommPort setup;
        QCOMPARE(setup.TestSerial(), qint16(3));
        QCOMPARE(pauses, QList<int>({200, 200}));
    }

    // A download whose checksum is right but whose 1284th byte is not ACK is not taken.
    void downloadWithoutItsEndMark()
    {
        receiver->setFault(ReceiverSimulator::Fault::BadEndMark);
        QStringList texts;
        connect(link.get(), &ReceiverLink::statusTextChanged, this,
                [&texts](int panel, const QString &text) { texts << QString::number(panel) + text; });
        bool checked = false;
        QVERIFY(!runTransferExchange(*link, [&checked] { checked = true; }));
        QVERIFY(!checked);
        QCOMPARE(texts.last(), QStringLiteral("1Downloading Data"));
        QCOMPARE(link->DownloadBuffer[1283], quint8(NAK)); // all 1284 bytes came
        QVERIFY(downloadChecksumOk(link->DownloadBuffer));
        QCOMPARE(ReceiverConfig.EDITOR.ReceiverVersion, QStringLiteral("1.00"));
        checkPortClosed();
    }
};

ORVANE_TEST(LinkLimitsTest)
#include "LinkLimitsTest.moc"
