#include "support/Doubles.h"
#include "support/TestRegistry.h"

#include "core/Platform.h"
#include "link/TestPackets.h"
#include "link/frmTest.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <condition_variable>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <mutex>
#include <sys/resource.h>
#include <thread>

namespace {

double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec
        + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Ends the test program with a message when it is still alive `seconds` after it was armed
// (after `beforeEnd`, which cleans up what the program started): a user-interface thread held
// inside the sound system fails the suite instead of hanging it.
class Watchdog
{
public:
    Watchdog(int seconds, const char *what, std::function<void()> beforeEnd)
        : thread([this, seconds, what, beforeEnd] {
              std::unique_lock lock(mutex);
              if (!wake.wait_for(lock, std::chrono::seconds(seconds), [this] { return disarmed; })) {
                  beforeEnd();
                  std::fprintf(stderr, "FAIL! watchdog: %s (still running after %d s)\n", what, seconds);
                  std::fflush(nullptr);
                  std::_Exit(2);
              }
          })
    {
    }
    ~Watchdog()
    {
        {
            std::lock_guard lock(mutex);
            disarmed = true;
        }
        wake.notify_all();
        thread.join();
    }

private:
    std::mutex mutex;
    std::condition_variable wake;
    bool disarmed = false;
    std::thread thread;
};

// One alert as designed: the lead-in, three headers, the pause, 24 beeps, the pause, three
// end-of-message packets, each clip followed by a second.
qint64 designedAlertLengthMs(qint16 header)
{
    return 500 + 3 * (testClipMs(header) + 1000) + 1000 + 24 * (testClipMs(kBeepClip) + 1000) + 1000
        + 3 * (testClipMs(kEndOfMessageClip) + 1000);
}

} // namespace

// The real sound player and pause: a clip played through Qt Multimedia into the null sink
// of a PulseAudio server that the test starts (in a runtime directory of its own), recorded
// from the sink's monitor and decoded; stopping a playback and a pause early; no sound
// server at all.
//
// Qt Multimedia connects to the sound server once per process, so this class is the only
// one of its program that plays for real; the others use the recording player.
class SoundOutputTest : public QObject
{
    Q_OBJECT
    QTemporaryDir serverHome;
    QString serverProblem; // empty when the server runs

    QProcessEnvironment serverEnvironment() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), serverHome.path());
        env.insert(QStringLiteral("HOME"), serverHome.path()); // its cookie and settings stay here
        env.remove(QStringLiteral("PULSE_SERVER"));
        return env;
    }
    QString socketPath() const { return serverHome.path() + QStringLiteral("/pulse/native"); }

    bool runPulse(const QStringList &arguments, QString *problem)
    {
        const QString pulseaudio = QStandardPaths::findExecutable(QStringLiteral("pulseaudio"));
        if (pulseaudio.isEmpty()) {
            *problem = QStringLiteral("pulseaudio is not installed (Debian package pulseaudio)");
            return false;
        }
        QProcess process;
        process.setProcessEnvironment(serverEnvironment());
        process.start(pulseaudio, arguments);
        if (!process.waitForFinished(20000)) {
            process.kill();
            process.waitForFinished(5000);
            *problem = QStringLiteral("pulseaudio did not answer");
            return false;
        }
        if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
            *problem = QStringLiteral("pulseaudio %1 failed: %2")
                           .arg(arguments.first(), QString::fromLocal8Bit(process.readAllStandardError()).trimmed());
            return false;
        }
        return true;
    }

    void stopServer()
    {
        QString ignored;
        if (serverProblem.isEmpty())
            runPulse({QStringLiteral("--kill")}, &ignored);
        // Wait for the socket to go, so that the next step really finds no server.
        for (int i = 0; i < 100 && QFile::exists(socketPath()); ++i)
            QTest::qWait(50);
        serverProblem = QStringLiteral("stopped");
    }

private slots:
    void initTestCase()
    {
        QFile::setPermissions(serverHome.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        if (runPulse({QStringLiteral("-D"), QStringLiteral("-n"), QStringLiteral("--exit-idle-time=-1"),
                      QStringLiteral("--load=module-null-sink sink_name=nullsink"),
                      QStringLiteral("--load=module-native-protocol-unix")},
                     &serverProblem)) {
            for (int i = 0; i < 100 && !QFile::exists(socketPath()); ++i)
                QTest::qWait(50);
            if (!QFile::exists(socketPath()))
                serverProblem = QStringLiteral("pulseaudio started but made no socket");
        }
        // The client library finds the server by this variable; it never starts one itself.
        qputenv("PULSE_SERVER", ("unix:" + socketPath()).toLocal8Bit());
    }
    void cleanupTestCase()
    {
        stopServer();
        qunsetenv("PULSE_SERVER");
    }
    void init()
    {
        Platform::setSoundPlayer({});
        Platform::setSleeper({});
    }

    // A beep and the end-of-message clip played into the null sink, as an alert ends: each
    // call returns after its clip has been played, window events go on meanwhile, and the
    // sink's monitor carries the whole packet (a player that stopped when the last sample
    // was handed over would cut the packet's end off, and nothing would be decoded).
    void playsIntoNullSink()
    {
        if (!serverProblem.isEmpty())
            QSKIP(qPrintable(QStringLiteral("no sound server could be started (%1): real playback not tried").arg(serverProblem)));
        QProcess recorder;
        const QString parec = QStandardPaths::findExecutable(QStringLiteral("parec"));
        QTemporaryDir dir;
        const QString recording = dir.filePath(QStringLiteral("monitor.raw"));
        if (!parec.isEmpty()) {
            recorder.setProcessEnvironment(serverEnvironment());
            recorder.setStandardOutputFile(recording);
            recorder.start(parec, {"-d", "nullsink.monitor", "--rate=22050", "--channels=1", "--format=s16le", "--raw"});
            QVERIFY(recorder.waitForStarted(10000));
            QTest::qWait(500); // the recording stream is up before the clips start
        }
        int ticks = 0;
        QTimer ticker;
        connect(&ticker, &QTimer::timeout, this, [&] { ++ticks; });
        ticker.start(20);
        const double cpuBefore = cpuSeconds();
        QElapsedTimer elapsed;
        elapsed.start();
        const bool beeped = Platform::playSound(testClipBytes(kBeepClip)); // as in an alert: beeps first
        const qint64 beepMs = elapsed.elapsed();
        const bool played = Platform::playSound(testClipBytes(kEndOfMessageClip));
        const qint64 ms = elapsed.elapsed();
        const double cpu = cpuSeconds() - cpuBefore;
        ticker.stop();
        qInfo("played the beep (259 ms) in %lld ms and the end-of-message clip (428 ms) in %lld ms with %.3f s "
              "of CPU; %d timer events handled meanwhile", beepMs, ms - beepMs, cpu, ticks);
        // The server says when a clip has been played; when it says so late (this null sink
        // lags a second at times), the call returns at its guard and the clip plays on.
        if (!beeped || !played)
            qInfo("the server confirmed the beep: %d, the end of message: %d", beeped, played);
        QVERIFY2(ms >= 259 + 428, qPrintable(QString::number(ms))); // each clip to its end
        QVERIFY(ticks > 0);
        QVERIFY2(cpu < 0.5 * ms / 1000.0, qPrintable(QString::number(cpu)));

        if (parec.isEmpty())
            QSKIP("parec is not installed (Debian package pulseaudio-utils): the sink's monitor not decoded");
        QTest::qWait(3000); // what the stream still holds (this null sink starts a stream late)
        recorder.terminate();
        QVERIFY(recorder.waitForFinished(10000));
        const QString multimon = QStandardPaths::findExecutable(QStringLiteral("multimon-ng"));
        if (multimon.isEmpty())
            QSKIP("multimon-ng is not installed: the sink's monitor not decoded");
        QProcess decoder;
        decoder.start(multimon, {"-q", "-c", "-a", "EAS", "-t", "raw", recording});
        QVERIFY(decoder.waitForFinished(60000));
        const QByteArray heard = decoder.readAllStandardOutput();
        qInfo("multimon-ng on the null sink's monitor: %s (%lld bytes recorded)", heard.trimmed().constData(),
              QFileInfo(recording).size());
        QCOMPARE(heard, QByteArray("EAS: NNNN\n"));
    }

    // stopSound() ends a playback under way at once; a pause ends at its time, or at once on
    // interruptSleep().
    void stopAndInterrupt()
    {
        if (serverProblem.isEmpty()) {
            QTimer::singleShot(200, this, [] { Platform::stopSound(); });
            QElapsedTimer elapsed;
            elapsed.start();
            QVERIFY(Platform::playSound(testClipBytes(110))); // 1.8 s
            qInfo("a header clip stopped after %lld ms", elapsed.elapsed());
            QVERIFY(elapsed.elapsed() < 1700);
        }
        QElapsedTimer elapsed;
        elapsed.start();
        Platform::sleepMs(150);
        QVERIFY(elapsed.elapsed() >= 150);
        QTimer::singleShot(100, this, [] { Platform::interruptSleep(); });
        elapsed.restart();
        Platform::sleepMs(30000);
        qInfo("a 30 s pause interrupted after %lld ms", elapsed.elapsed());
        QVERIFY(elapsed.elapsed() < 20000);
    }

    // Anything but a PCM WAV plays nothing and returns at once.
    void notAClip()
    {
        QByteArray truncated = testClipBytes(kBeepClip);
        truncated.chop(100); // the data block claims more than there is
        for (const QByteArray &bytes : {QByteArray(), QByteArray("RIFF"), QByteArray(64, 'x'), truncated})
            QVERIFY(!Platform::playSound(bytes));
    }

    // The real window and player while the sound server stalls (stopped during the second
    // header) and then dies (killed during the beeps): the window answers throughout, and the
    // alert keeps its schedule and ends within its designed length and the guards. A second
    // alert with the server gone, the sound thread possibly held inside it for good, is closed
    // at once by the close box. The test program then ends as usual (a sound thread stuck for
    // good must not hold or abort the program's end). Runs last: the server is gone after it.
    void stalledServer()
    {
        if (!serverProblem.isEmpty())
            QSKIP(qPrintable(QStringLiteral("no sound server could be started (%1): the stall not tried").arg(serverProblem)));
        QFile pidFile(serverHome.path() + QStringLiteral("/pulse/pid"));
        QVERIFY(pidFile.open(QIODevice::ReadOnly));
        const pid_t server = pid_t(pidFile.readAll().trimmed().toInt());
        QVERIFY(server > 0);
        const qint64 alertMs = designedAlertLengthMs(110);
        Watchdog watchdog(int(alertMs / 1000) + 40, "the test-packet window stopped answering while the sound server stalled",
                          [server] { ::kill(server, SIGKILL); });
        Platform::setMonotonicClock({}); // the alert's schedule on the real clock

        frmTest window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QElapsedTimer clock;
        clock.start();
        qint64 lastTick = 0;
        qint64 longestGap = 0;
        QTimer ticker;
        ticker.setTimerType(Qt::PreciseTimer);
        connect(&ticker, &QTimer::timeout, this, [&] {
            longestGap = std::max(longestGap, clock.elapsed() - lastTick);
            lastTick = clock.elapsed();
        });
        ticker.start(10);

        QTimer::singleShot(3000, this, [server] { ::kill(server, SIGSTOP); });
        QTimer::singleShot(20000, this, [server] { ::kill(server, SIGKILL); });
        window.cmdRWT->click(); // returns when the alert has ended
        const qint64 ranMs = clock.elapsed();
        qInfo("an alert with the server stopped at 3 s and killed at 20 s: %lld ms (designed %lld ms); "
              "the window's longest silence %lld ms", ranMs, alertMs, longestGap);
        QVERIFY2(longestGap < 1000, qPrintable(QString::number(longestGap)));
        QVERIFY2(ranMs >= alertMs - 100 && ranMs < alertMs + 1000, qPrintable(QString::number(ranMs)));
        QVERIFY(!window.alertPlaying());

        clock.restart();
        lastTick = 0;
        QTimer::singleShot(5000, this, [&] { window.close(); });
        window.cmdFFW->click();
        const qint64 closedAfterMs = clock.elapsed();
        qInfo("an alert with the server gone, closed after 5 s: it ended at %lld ms; longest silence %lld ms",
              closedAfterMs, longestGap);
        QVERIFY2(closedAfterMs < 5000 + 1000, qPrintable(QString::number(closedAfterMs)));
        QVERIFY2(longestGap < 1000, qPrintable(QString::number(longestGap)));
        QVERIFY(!window.isVisible());
        serverProblem = QStringLiteral("killed");
        QFile::remove(socketPath()); // left behind by the killed server
    }
};

ORVANE_TEST(SoundOutputTest)
#include "SoundOutputTest.moc"
