// The real sound player and pause: clips played through Qt Multimedia into the null sink of a
// private PulseAudio server, recorded from its monitor and decoded; stopping early. Qt
// Multimedia connects to the server once per process: only this class of its program plays for real.
#include "LinkTestSupport.h"
#include <QProcess>
#include <ctime>

class SoundOutputTest : public QObject
{
    Q_OBJECT
    QTemporaryDir serverHome;
    QString serverProblem; // empty when the server runs

    QProcessEnvironment serverEnvironment() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_RUNTIME_DIR", serverHome.path());
        env.insert("HOME", serverHome.path()); // its cookie and settings stay here
        env.remove("PULSE_SERVER");
        return env;
    }
    QString socketPath() const { return serverHome.path() + QStringLiteral("/pulse/native"); }
    QString runPulse(const QStringList &arguments) // the problem, or empty
    {
        const QString pulseaudio = QStandardPaths::findExecutable("pulseaudio");
        if (pulseaudio.isEmpty())
            return QStringLiteral("pulseaudio is not installed");
        const ProgramRun run = runProgram(pulseaudio, arguments, 20000, serverEnvironment());
        return run.succeeded() ? QString() : "pulseaudio " + arguments.first() + " failed: " + QString::fromLocal8Bit(run.output);
    }

private slots:
    void initTestCase()
    {
        QFile::setPermissions(serverHome.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        serverProblem = runPulse({"-D", "-n", "--exit-idle-time=-1", "--load=module-null-sink sink_name=nullsink",
                                  "--load=module-native-protocol-unix"});
        for (int i = 0; serverProblem.isEmpty() && i < 100 && !QFile::exists(socketPath()); ++i)
            QTest::qWait(50);
        if (serverProblem.isEmpty() && !QFile::exists(socketPath()))
            serverProblem = QStringLiteral("pulseaudio started but made no socket");
        qputenv("PULSE_SERVER", ("unix:" + socketPath()).toLocal8Bit()); // the client never starts one itself
    }
    void cleanupTestCase()
    {
        // The sound thread closes its stream after 5 s without a clip; the server is stopped
        // only then, as a server that goes under an open stream can still upset the exit.
        QTest::qWait(5500);
        if (serverProblem.isEmpty())
            runPulse({"--kill"});
        qunsetenv("PULSE_SERVER");
    }
    void init()
    {
        Platform::setSoundPlayer({});
        Platform::setSleeper({});
    }

    // A beep and the end-of-message clip into the null sink, as an alert ends: each call returns
    // after its clip has been played, window events go on meanwhile, and the sink's monitor
    // carries the whole packet (cut short, multimon-ng would decode nothing).
    void playsIntoNullSink()
    {
        if (!serverProblem.isEmpty())
            QSKIP(qPrintable("no sound server could be started (" + serverProblem + "): real playback not tried"));
        const QString parec = QStandardPaths::findExecutable("parec"), multimon = QStandardPaths::findExecutable("multimon-ng");
        if (parec.isEmpty() || multimon.isEmpty())
            QSKIP("parec or multimon-ng is not installed: the sink's monitor not decoded");
        QTemporaryDir dir;
        const QString recording = dir.filePath("monitor.raw");
        QProcess recorder;
        recorder.setProcessEnvironment(serverEnvironment());
        recorder.setStandardOutputFile(recording);
        recorder.start(parec, {"-d", "nullsink.monitor", "--rate=22050", "--channels=1", "--format=s16le", "--raw"});
        QVERIFY(recorder.waitForStarted(10000));
        QTest::qWait(500); // the recording stream is up before the clips start
        int ticks = 0;
        QTimer ticker;
        connect(&ticker, &QTimer::timeout, this, [&] { ++ticks; });
        ticker.start(20);
        const std::clock_t cpuBefore = std::clock();
        QElapsedTimer elapsed;
        elapsed.start();
        // A late confirmation from the server (this null sink lags at times) returns at the guard.
        const bool beeped = Platform::playSound(testClipBytes(kBeepClip));
        const bool played = Platform::playSound(testClipBytes(kEndOfMessageClip));
        const qint64 ms = elapsed.elapsed();
        const double cpu = double(std::clock() - cpuBefore) / CLOCKS_PER_SEC;
        QVERIFY2(cpu < 0.5 * ms / 1000.0, qPrintable(QString::number(cpu))); // no busy wait
        qInfo("the beep and the end of message played in %lld ms (confirmed %d %d), %d ticks", ms, beeped, played, ticks);
        QVERIFY2(ms >= 259 + 428, qPrintable(QString::number(ms))); // each clip to its end
        QVERIFY(ticks > 0);
        QTest::qWait(3000); // what the stream still holds (this null sink starts a stream late)
        recorder.terminate();
        QVERIFY(recorder.waitForFinished(10000));
        const ProgramRun decoded = runProgram(multimon, {"-q", "-c", "-a", "EAS", "-t", "raw", recording}, 60000);
        QCOMPARE(decoded.output, QByteArray("EAS: NNNN\n"));
    }

    // stopSound() ends a playback at once; a pause ends at its time, or at once on interruptSleep().
    void stopAndInterrupt()
    {
        QElapsedTimer elapsed;
        if (serverProblem.isEmpty()) {
            QTimer::singleShot(200, this, [] { Platform::stopSound(); });
            elapsed.start();
            QVERIFY(Platform::playSound(testClipBytes(110))); // 1.8 s
            QVERIFY(elapsed.elapsed() < 1700);
        }
        elapsed.start();
        Platform::sleepMs(150);
        QVERIFY(elapsed.elapsed() >= 150);
        QTimer::singleShot(100, this, [] { Platform::interruptSleep(); });
        elapsed.restart();
        Platform::sleepMs(30000);
        QVERIFY(elapsed.elapsed() < 20000);
        QByteArray truncated = testClipBytes(kBeepClip);
        truncated.chop(100); // anything but a whole PCM WAV plays nothing
        for (const QByteArray &bytes : {QByteArray(), QByteArray("RIFF"), QByteArray(64, 'x'), truncated})
            QVERIFY(!Platform::playSound(bytes));
    }
};

ORVANE_TEST(SoundOutputTest)
#include "SoundOutputTest.moc"
