// The real sound player and pause: clips played through Qt Multimedia into the null sink of a
// private PulseAudio server, recorded from its monitor and decoded; stopping early. Qt
// Multimedia connects to the server once per process: only this class of its program plays for real.
#include "LinkTestSupport.h"
#include <QProcess>
#include <csignal>
#include <ctime>
#include <unistd.h>

namespace {
pid_t serverPid = 0; // killed by the watchdog before it ends a hung program
}

class SoundOutputTest : public QObject
{
    Q_OBJECT
    QTemporaryDir serverHome;
    QString serverProblem; // empty when the server runs

    QProcessEnvironment serverEnvironment() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_RUNTIME_DIR", serverHome.path()), env.insert("HOME", serverHome.path()); // its cookie and settings stay here
        env.remove("PULSE_SERVER");
        return env;
    }
    QString socketPath() const { return serverHome.path() + QStringLiteral("/pulse/native"); }
    QString runPulse(const QStringList &arguments) // the problem, or empty
    {
        const QString pulseaudio = QStandardPaths::findExecutable("pulseaudio");
        if (pulseaudio.isEmpty()) return QStringLiteral("pulseaudio is not installed");
        const ProgramRun run = runProgram(pulseaudio, arguments, 20000, serverEnvironment());
        return run.succeeded() ? QString() : "pulseaudio " + arguments.first() + " failed: " + QString::fromLocal8Bit(run.output);
    }

private slots:
    void initTestCase()
    {
        QFile::setPermissions(serverHome.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        serverProblem = runPulse({"-D", "-n", "--exit-idle-time=-1", "--load=module-null-sink sink_name=nullsink",
                                  "--load=module-native-protocol-unix"});
        for (int i = 0; serverProblem.isEmpty() && i < 100 && !QFile::exists(socketPath()); ++i) QTest::qWait(50);
        if (serverProblem.isEmpty() && !QFile::exists(socketPath()))
            serverProblem = QStringLiteral("pulseaudio started but made no socket");
        qputenv("PULSE_SERVER", ("unix:" + socketPath()).toLocal8Bit()); // the client never starts one itself
    }
    void cleanupTestCase() { if (serverProblem.isEmpty()) runPulse({"--kill"}); qunsetenv("PULSE_SERVER"); }
    void init() { Platform::setSoundPlayer({}), Platform::setSleeper({}); }

    // A pause ends at its time, or at once on interruptSleep(); only a whole PCM WAV plays. A beep and the
    // end of message into the null sink: each call returns after its clip without a busy wait, and the
    // sink's monitor carries the whole packet; stopSound() ends a playback at once.
    void playAndStop()
    {
        QElapsedTimer elapsed;
        elapsed.start();
        Platform::sleepMs(150);
        QVERIFY(elapsed.elapsed() >= 150);
        QTimer::singleShot(100, this, [] { Platform::interruptSleep(); });
        elapsed.restart();
        Platform::sleepMs(30000);
        QVERIFY(elapsed.elapsed() < 20000);
        for (const QByteArray &bytes : {QByteArray(), QByteArray("RIFF"), QByteArray(64, 'x'), testClipBytes(kBeepClip).chopped(100)})
            QVERIFY(!Platform::playSound(bytes));
        if (!serverProblem.isEmpty())
            QSKIP(qPrintable("no sound server could be started (" + serverProblem + "): real playback not tried"));
        QTimer::singleShot(200, this, [] { Platform::stopSound(); });
        elapsed.restart();
        QVERIFY(Platform::playSound(testClipBytes(110))); // 1.8 s
        QVERIFY(elapsed.elapsed() < 1700);
        const QString parec = QStandardPaths::findExecutable("parec"), multimon = QStandardPaths::findExecutable("multimon-ng");
        if (parec.isEmpty() || multimon.isEmpty()) QSKIP("parec or multimon-ng is not installed: the sink's monitor not decoded");
        QTemporaryDir dir;
        QProcess recorder;
        recorder.setProcessEnvironment(serverEnvironment());
        recorder.setStandardOutputFile(dir.filePath("monitor.raw"));
        recorder.start(parec, {"-d", "nullsink.monitor", "--rate=22050", "--channels=1", "--format=s16le", "--raw"});
        QVERIFY(recorder.waitForStarted(10000));
        QTest::qWait(500); // the recording stream is up before the clips start
        const std::clock_t cpuBefore = std::clock();
        elapsed.restart();
        // A late confirmation from the server (this null sink lags at times) returns at the guard.
        const bool beeped = Platform::playSound(testClipBytes(kBeepClip)), played = Platform::playSound(testClipBytes(kEndOfMessageClip));
        const qint64 ms = elapsed.elapsed();
        const double cpu = double(std::clock() - cpuBefore) / CLOCKS_PER_SEC;
        qInfo("the beep and the end of message played in %lld ms (confirmed %d %d), %.2f s of processor time", ms, beeped, played, cpu);
        QVERIFY(cpu < 0.5 * ms / 1000.0 && ms >= 259 + 428); // no busy wait, each clip to its end
        QTest::qWait(3000); // what the stream still holds (this null sink starts a stream late)
        recorder.terminate();
        QVERIFY(recorder.waitForFinished(10000));
        const ProgramRun decoded = runProgram(multimon, {"-q", "-c", "-a", "EAS", "-t", "raw", dir.filePath("monitor.raw")}, 60000);
        QCOMPARE(decoded.output, QByteArray("EAS: NNNN\n"));
    }

    // The real window and player while the server stalls (stopped in the headers), then dies (killed in
    // the beeps): the window answers throughout, the alert ends within its designed length and the
    // program as usual with the stream it had open. Runs last: the server is gone after it.
    void stalledServer()
    {
        if (!serverProblem.isEmpty()) QSKIP(qPrintable("no sound server could be started (" + serverProblem + "): the stall not tried"));
        QFile pidFile(serverHome.path() + "/pulse/pid");
        QVERIFY(pidFile.open(QIODevice::ReadOnly) && (serverPid = pid_t(pidFile.readAll().trimmed().toInt())) > 0);
        const qint64 alertMs = 500 + 3 * (testClipMs(110) + 1000) + 1000 + 24 * (testClipMs(kBeepClip) + 1000) + 1000
            + 3 * (testClipMs(kEndOfMessageClip) + 1000);
        std::signal(SIGALRM, [](int) { // a user-interface thread held in the sound system fails, not hangs
            ::kill(serverPid, SIGKILL);
            const char message[] = "FAIL! watchdog: the window stopped answering while the sound server stalled\n";
            (void)!::write(2, message, sizeof message - 1);
            std::_Exit(2);
        });
        ::alarm(unsigned(alertMs / 1000) + 40);
        Platform::setMonotonicClock({}); // the alert's schedule on the real clock
        frmTest window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QElapsedTimer clock;
        clock.start();
        qint64 lastTick = 0, longestGap = 0;
        QTimer ticker;
        ticker.setTimerType(Qt::PreciseTimer);
        connect(&ticker, &QTimer::timeout, this, [&] { longestGap = std::max(longestGap, clock.elapsed() - std::exchange(lastTick, clock.elapsed())); });
        ticker.start(10);
        QTimer::singleShot(3000, this, [] { ::kill(serverPid, SIGSTOP); });
        QTimer::singleShot(20000, this, [] { ::kill(serverPid, SIGKILL); });
        window.cmdRWT->click(); // returns when the alert has ended
        const qint64 ranMs = clock.elapsed();
        ::alarm(0);
        qInfo("an alert with the server stopped at 3 s and killed at 20 s: %lld ms (designed %lld ms); longest silence %lld ms",
              ranMs, alertMs, longestGap);
        QVERIFY(longestGap < 1000 && ranMs >= alertMs - 100 && ranMs < alertMs + 1000 && !window.alertPlaying());
        serverProblem = QStringLiteral("killed");
        QFile::remove(socketPath()); // left behind by the killed server
    }
};

ORVANE_TEST(SoundOutputTest)
#include "SoundOutputTest.moc"
