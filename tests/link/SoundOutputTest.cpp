#include "support/Doubles.h"
#include "support/TestRegistry.h"

#include "core/Platform.h"
#include "link/TestPackets.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <sys/resource.h>

namespace {

double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec
        + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
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
        const bool played = Platform::playSound(testClipBytes(kEndOfMessageClip));
        const qint64 ms = elapsed.elapsed();
        const double cpu = cpuSeconds() - cpuBefore;
        ticker.stop();
        qInfo("played the beep (259 ms) and the end-of-message clip (428 ms) in %lld ms with %.3f s of CPU; "
              "%d timer events handled meanwhile", ms, cpu, ticks);
        QVERIFY(beeped);
        QVERIFY(played);
        QVERIFY2(ms >= 259 + 428, qPrintable(QString::number(ms))); // each clip to its end
        QVERIFY(ticks > 0);
        QVERIFY2(cpu < 0.5 * ms / 1000.0, qPrintable(QString::number(cpu)));

        if (parec.isEmpty())
            QSKIP("parec is not installed (Debian package pulseaudio-utils): the sink's monitor not decoded");
        QTest::qWait(500);
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
};

ORVANE_TEST(SoundOutputTest)
#include "SoundOutputTest.moc"
