#include "support/Doubles.h"
#include "support/TestRegistry.h"

#include "SameClips.h"
#include "link/TestPackets.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>
#include <cmath>
#include <numbers>

namespace {

constexpr qint16 kClipIds[] = {110, 120, 130, 140, 150, 160};

QString clipText(qint16 id) { return QString::fromLatin1(SameClips::clipPlan(id)->text); }

quint32 le32(const QByteArray &b, int at) { return qFromLittleEndian<quint32>(b.constData() + at); }

// The data block of a clip as this program writes it (58 bytes of blocks before it).
QByteArray dataOf(const QByteArray &wav) { return wav.mid(58, int(le32(wav, 54))); }

// Upward crossings of the silence level, in samples, interpolated between two samples.
QList<double> upwardCrossings(const QByteArray &data)
{
    QList<double> crossings;
    for (int i = 0; i + 1 < data.size(); ++i) {
        const int a = quint8(data[i]) - 128;
        const int b = quint8(data[i + 1]) - 128;
        if (a < 0 && b >= 0)
            crossings.append(i + double(-a) / double(b - a));
    }
    return crossings;
}

// A burst read back from its samples: every bit starts at an upward crossing and holds 4
// cycles of the mark tone (2083.3 Hz, 3.84 samples) or 3 of the space tone (1562.5 Hz,
// 5.12 samples). Returns the bytes (least significant bit first) and the bit starts.
struct ReadBurst {
    QByteArray bytes;
    QList<double> bitStarts;
};

ReadBurst readBurst(const QByteArray &data, int bits)
{
    ReadBurst burst;
    const QList<double> c = upwardCrossings(data);
    if (c.size() < 2)
        return burst;
    // The burst starts one cycle before its first crossing (at phase zero, on the level).
    double start = c[0] - (c[1] - c[0]);
    int next = 0; // index of the first crossing after the bit's start
    quint8 byte = 0;
    for (int k = 0; k < bits && next < c.size(); ++k) {
        burst.bitStarts.append(start);
        const double cycle = c[next] - start;
        const bool mark = cycle < (3.84 + 5.12) / 2;
        if (mark)
            byte |= quint8(1u << (k % 8));
        if (k % 8 == 7) {
            burst.bytes.append(char(byte));
            byte = 0;
        }
        const int endIndex = next + (mark ? 3 : 2);
        if (endIndex >= c.size())
            break;
        start = c[endIndex];
        next = endIndex + 1;
    }
    return burst;
}

// 8000 samples/s unsigned 8-bit to 22050 samples/s signed 16-bit (the raw input of
// multimon-ng), band-limited: a Hann-windowed sinc over 32 input samples.
QByteArray toRaw22050(const QByteArray &samples)
{
    const int taps = 16;
    const qsizetype outCount = samples.size() * 22050 / 8000;
    QByteArray out(outCount * 2, '\0');
    for (qsizetype j = 0; j < outCount; ++j) {
        const double x = double(j) * 8000.0 / 22050.0;
        const qsizetype centre = qsizetype(std::floor(x));
        double sum = 0;
        for (qsizetype k = centre - taps + 1; k <= centre + taps; ++k) {
            if (k < 0 || k >= samples.size())
                continue;
            const double d = x - double(k);
            const double sinc = d == 0 ? 1.0 : std::sin(std::numbers::pi * d) / (std::numbers::pi * d);
            const double window = 0.5 + 0.5 * std::cos(std::numbers::pi * d / taps);
            sum += (quint8(samples[k]) - 128) * sinc * window;
        }
        const qint16 v = qint16(std::clamp(std::lround(sum * 256.0), -32768L, 32767L));
        qToLittleEndian(v, out.data() + j * 2);
    }
    return out;
}

// Runs a decoder and returns what it printed; fails the test when it does not end.
bool runDecoder(const QString &program, const QStringList &arguments, QByteArray &output)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::SeparateChannels);
    process.start(program, arguments);
    if (!process.waitForStarted(10000))
        return false;
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished(5000);
        return false;
    }
    output = process.readAllStandardOutput();
    return process.exitStatus() == QProcess::NormalExit;
}

QString multimonLine(const QString &text)
{
    // multimon-ng prints a header up to its last "-".
    return text.left(text.lastIndexOf(u'-') + 1);
}

} // namespace

// The six clips: as committed, as embedded, their format, their modulation, and what two
// independent SAME decoders read from them.
class TestClipsTest : public QObject
{
    Q_OBJECT

    void clipRows()
    {
        QTest::addColumn<qint16>("id");
        for (qint16 id : kClipIds)
            QTest::newRow(qPrintable(QString::number(id))) << id;
    }

private slots:
    // The committed files are what the generator writes today, and the program carries
    // exactly those bytes.
    void committedClipsAreGenerated_data() { clipRows(); }
    void committedClipsAreGenerated()
    {
        QFETCH(qint16, id);
        const SameClips::ClipPlan *plan = SameClips::clipPlan(id);
        QVERIFY(plan);
        QFile committed(sourceDir() + QStringLiteral("/resources/") + QString::fromLatin1(plan->file));
        QVERIFY2(committed.open(QIODevice::ReadOnly), qPrintable(committed.fileName()));
        const QByteArray generated = SameClips::generateClip(id);
        QVERIFY(!generated.isEmpty());
        QVERIFY2(committed.readAll() == generated,
                 "regenerate with: build/tools/clipgen/orvane-clipgen resources");
        QCOMPARE(testClipBytes(id), generated);
    }

    void unknownClipIsEmpty()
    {
        for (qint16 id : {qint16(0), qint16(100), qint16(115), qint16(170), qint16(-110)})
            QVERIFY(testClipBytes(id).isEmpty());
    }

    // Every byte of the blocks before the samples, the data length of each clip, and the
    // sample levels: silence 128, peaks 128 +/- 45.
    void formatBytes_data()
    {
        QTest::addColumn<qint16>("id");
        QTest::addColumn<int>("dataBytes");
        QTest::newRow("110 RWT header") << qint16(110) << 14410;
        QTest::newRow("120 FFW header") << qint16(120) << 14236;
        QTest::newRow("130 SVA header") << qint16(130) << 14219;
        QTest::newRow("140 TOA header") << qint16(140) << 14435;
        QTest::newRow("150 beep") << qint16(150) << 2073;
        QTest::newRow("160 end of message") << qint16(160) << 3430;
    }
    void formatBytes()
    {
        QFETCH(qint16, id);
        QFETCH(int, dataBytes);
        const QByteArray wav = testClipBytes(id);
        const int pad = dataBytes % 2;
        QCOMPARE(wav.size(), 58 + dataBytes + pad);
        auto le = [](qsizetype v) { QByteArray b(4, '\0'); qToLittleEndian(quint32(v), b.data()); return b.toHex(); };
        // RIFF size, an 18-byte PCM format block (1 channel, 8000 samples/s, 8000 bytes/s, block
        // align 1, 8 bits, no extra bytes), a fact block of the sample count, the data block.
        QCOMPARE(wav.left(58).toHex(), "52494646" + le(wav.size() - 8) + "57415645666d7420" "12000000" "0100" "0100"
                     "401f0000" "401f0000" "0100" "0800" "0000" "66616374" "04000000" + le(dataBytes) + "64617461" + le(dataBytes));
        if (pad)
            QCOMPARE(wav.back(), '\0');

        const QByteArray data = dataOf(wav);
        const auto [lo, hi] = std::minmax_element(data.begin(), data.end(), [](char a, char b) {
            return quint8(a) < quint8(b);
        });
        QCOMPARE(int(quint8(*lo)), 128 - 45);
        QCOMPARE(int(quint8(*hi)), 128 + 45);
        QCOMPARE(quint8(data.front()), quint8(128));
        if (id != 150) // the beep fills its data block to the end
            QCOMPARE(quint8(data.back()), quint8(128));
    }

    // The beep: 68 samples of silence, then 2005 samples of a 1042 Hz tone.
    void beepTone()
    {
        const QByteArray data = dataOf(testClipBytes(150));
        int first = 0;
        while (first < data.size() && quint8(data[first]) == 128)
            ++first;
        QCOMPARE(first - 1, 68); // the tone's first sample is on the level (phase zero)
        const QList<double> c = upwardCrossings(data);
        QVERIFY(c.size() > 200);
        const double hz = 8000.0 * (c.size() - 1) / (c.back() - c.front());
        QVERIFY2(std::abs(hz - 1042.0) < 0.5, qPrintable(QString::number(hz)));
        QVERIFY(c.back() < 68 + 2005);
        QVERIFY(c.back() > 68 + 2005 - 8);
    }

    // The bursts read back from their samples: the bytes are the preamble and the text, and
    // the bit clock is 520.83 bit/s over the whole burst, every bit starting within a fraction
    // of a sample of its exact time (no rounding to 15 or 16 samples a bit).
    void bitClock_data()
    {
        QTest::addColumn<qint16>("id");
        for (qint16 id : {110, 120, 130, 140, 160})
            QTest::newRow(qPrintable(QString::number(id))) << id;
    }
    void bitClock()
    {
        QFETCH(qint16, id);
        const QByteArray expected = QByteArray(16, char(0xAB)) + clipText(id).toLatin1();
        const int bits = int(expected.size()) * 8;
        const ReadBurst burst = readBurst(dataOf(testClipBytes(id)), bits);
        QCOMPARE(burst.bytes, expected);
        QCOMPARE(int(burst.bitStarts.size()), bits);
        // Bit 0 starts at silence, so its start is estimated; measure from bit 1 on.
        const double period = (burst.bitStarts.back() - burst.bitStarts[1]) / (bits - 2);
        double worst = 0;
        for (int k = 1; k < bits; ++k)
            worst = std::max(worst, std::abs(burst.bitStarts[k] - (burst.bitStarts[1] + (k - 1) * 15.36)));
        qInfo("clip %d: bit period %.5f samples = %.6f ms (%.3f bit/s) over %d bits; "
              "farthest bit start %.3f samples from the exact clock",
              int(id), period, period / 8.0, 8000.0 / period, bits, worst);
        QVERIFY2(std::abs(period - 15.36) < 0.002, qPrintable(QString::number(period, 'f', 5)));
        QVERIFY2(worst < 0.4, qPrintable(QString::number(worst, 'f', 3)));
    }

    // multimon-ng's EAS demodulator: one clip alone gives the header as far as it reads one
    // (with -v1, "EAS (part):"); the header three times, as an alert plays it, is confirmed.
    void decodedByMultimon_data() { clipRows(); }
    void decodedByMultimon()
    {
        QFETCH(qint16, id);
        const QString multimon = QStandardPaths::findExecutable(QStringLiteral("multimon-ng"));
        if (multimon.isEmpty())
            QSKIP("multimon-ng is not installed (Debian package multimon-ng): clips not decoded");
        QTemporaryDir dir;
        const QByteArray data = dataOf(testClipBytes(id));
        const QByteArray second(8000, char(128));
        auto decode = [&](const QByteArray &samples, QByteArray &out) {
            QFile raw(dir.filePath(QStringLiteral("clip.raw")));
            if (!raw.open(QIODevice::WriteOnly | QIODevice::Truncate))
                return false;
            raw.write(toRaw22050(samples));
            raw.close();
            return runDecoder(multimon, {"-q", "-v1", "-c", "-a", "EAS", "-t", "raw", raw.fileName()}, out);
        };
        QByteArray once, thrice;
        QVERIFY(decode(data, once));
        QVERIFY(decode(data + second + data + second + data + second, thrice));
        qInfo("clip %d, multimon-ng: %s", int(id), once.trimmed().constData());
        if (id == 150) { // the beep is no SAME burst
            QCOMPARE(once, QByteArray());
            QCOMPARE(thrice, QByteArray());
        } else if (id == 160) {
            QCOMPARE(QString::fromLatin1(once), QStringLiteral("EAS: NNNN\n"));
            QCOMPARE(QString::fromLatin1(thrice), QStringLiteral("EAS: NNNN\n").repeated(3));
        } else {
            const QString line = multimonLine(clipText(id));
            QCOMPARE(QString::fromLatin1(once), QStringLiteral("EAS (part): ") + line + u'\n');
            QVERIFY2(QString::fromLatin1(thrice).split(u'\n').contains(QStringLiteral("EAS: ") + line),
                     thrice.constData());
        }
    }

    // minimodem in its SAME mode reads the whole text of every burst from the WAV file.
    void decodedByMinimodem_data() { clipRows(); }
    void decodedByMinimodem()
    {
        QFETCH(qint16, id);
        const QString minimodem = QStandardPaths::findExecutable(QStringLiteral("minimodem"));
        if (minimodem.isEmpty())
            QSKIP("minimodem is not installed (Debian package minimodem): clips not decoded");
        QTemporaryDir dir;
        QFile wav(dir.filePath(QStringLiteral("clip.wav")));
        QVERIFY(wav.open(QIODevice::WriteOnly));
        wav.write(testClipBytes(id));
        wav.close();
        QByteArray out;
        QVERIFY(runDecoder(minimodem, {"--rx", "same", "--quiet", "-f", wav.fileName()}, out));
        qInfo("clip %d, minimodem: %s", int(id), out.constData());
        QCOMPARE(QString::fromLatin1(out), id == 150 ? QString() : clipText(id));
    }
};

ORVANE_TEST(TestClipsTest)
#include "TestClipsTest.moc"
