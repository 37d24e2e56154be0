// The six clips: as committed, as embedded, their format, and what two independent SAME
// decoders (multimon-ng, minimodem) read from them.
#include "LinkTestSupport.h"
#include "SameClips.h"
#include <QtEndian>
#include <cmath>
#include <numbers>

namespace {
QString clipText(qint16 id) { return QString::fromLatin1(SameClips::clipPlan(id)->text); }
QByteArray dataOf(const QByteArray &wav) { return wav.mid(58, int(qFromLittleEndian<quint32>(wav.constData() + 54))); } // after 58 bytes of blocks
// 8000 samples/s unsigned 8-bit to 22050 samples/s signed 16-bit (multimon-ng's raw input),
// band-limited by a Hann-windowed sinc over 32 input samples.
QByteArray toRaw22050(const QByteArray &in)
{
    const qsizetype count = in.size() * 22050 / 8000;
    QByteArray out(count * 2, '\0');
    for (qsizetype j = 0; j < count; ++j) {
        const double x = double(j) * 8000.0 / 22050.0;
        double sum = 0;
        for (qsizetype k = qsizetype(x) - 15; k <= qsizetype(x) + 16; ++k) {
            if (k < 0 || k >= in.size()) continue;
            const double d = x - double(k), pd = std::numbers::pi * d;
            sum += (quint8(in[k]) - 128) * (d == 0 ? 1.0 : std::sin(pd) / pd) * (0.5 + 0.5 * std::cos(pd / 16));
        }
        qToLittleEndian(qint16(std::clamp(std::lround(sum * 256.0), -32768L, 32767L)), out.data() + j * 2);
    }
    return out;
}
} // namespace

class TestClipsTest : public QObject
{
    Q_OBJECT
    void clipRows()
    {
        QTest::addColumn<qint16>("id");
        QTest::addColumn<int>("dataBytes");
        const std::pair<int, int> clips[] = {{110, 14410}, {120, 14236}, {130, 14219}, {140, 14435}, {150, 2073}, {160, 3430}};
        for (auto [id, bytes] : clips)
            QTest::newRow(qPrintable(QString::number(id))) << qint16(id) << bytes;
    }

private slots:
    // The committed files are what the generator writes today, the program carries exactly those
    // bytes, and the blocks before the samples are: RIFF, an 18-byte PCM format block (1 channel,
    // 8000 samples/s, 8 bits), a fact block of the sample count, the data block; levels 128 +/- 45.
    void clipBytes_data() { clipRows(); }
    void clipBytes()
    {
        QFETCH(qint16, id);
        QFETCH(int, dataBytes);
        QFile committed(sourceDir() + "/resources/" + QString::fromLatin1(SameClips::clipPlan(id)->file));
        QVERIFY2(committed.open(QIODevice::ReadOnly), qPrintable(committed.fileName()));
        const QByteArray wav = SameClips::generateClip(id);
        QVERIFY2(committed.readAll() == wav, "regenerate with: build/tools/clipgen/orvane-clipgen resources");
        QCOMPARE(testClipBytes(id), wav);
        const int pad = dataBytes % 2;
        QCOMPARE(wav.size(), 58 + dataBytes + pad);
        auto le = [](qsizetype v) { QByteArray b(4, '\0'); qToLittleEndian(quint32(v), b.data()); return b.toHex(); };
        QCOMPARE(wav.left(58).toHex(), "52494646" + le(wav.size() - 8) + "57415645666d7420" "12000000" "0100" "0100"
                     "401f0000" "401f0000" "0100" "0800" "0000" "66616374" "04000000" + le(dataBytes) + "64617461" + le(dataBytes));
        QVERIFY(!pad || wav.back() == '\0');
        const QByteArray data = dataOf(wav);
        const auto [lo, hi] = std::minmax_element(data.begin(), data.end(), [](char a, char b) { return quint8(a) < quint8(b); });
        QVERIFY(quint8(*lo) == 128 - 45 && quint8(*hi) == 128 + 45 && quint8(data.front()) == 128);
        QVERIFY(id == kBeepClip || quint8(data.back()) == 128); // the beep fills its block to the end
        for (qint16 unknown : {0, 100, 115, 170, -110})
            QVERIFY(testClipBytes(unknown).isEmpty());
    }

    // multimon-ng's EAS demodulator: one clip alone gives the header as far as it reads one
    // ("EAS (part):"); three times, as an alert plays it, it is confirmed. minimodem in its SAME
    // mode reads the whole text of every burst from the WAV file.
    void decoded_data() { clipRows(); }
    void decoded()
    {
        QFETCH(qint16, id);
        const QString multimon = QStandardPaths::findExecutable("multimon-ng"), minimodem = QStandardPaths::findExecutable("minimodem");
        if (multimon.isEmpty() || minimodem.isEmpty())
            QSKIP("multimon-ng or minimodem is not installed: clips not decoded");
        QTemporaryDir dir;
        const QByteArray data = dataOf(testClipBytes(id)), second(8000, char(128));
        auto run = [&](const QString &program, const QStringList &args, const QByteArray &bytes, const char *file) {
            QFile f(dir.filePath(file));
            if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size()) return QString("not written");
            f.close();
            const ProgramRun r = runProgram(program, args + QStringList{f.fileName()}, 60000);
            return r.finished ? QString::fromLatin1(r.output) : QString("did not end");
        };
        const QStringList eas = {"-q", "-v1", "-c", "-a", "EAS", "-t", "raw"};
        const QString once = run(multimon, eas, toRaw22050(data), "once.raw");
        const QString thrice = run(multimon, eas, toRaw22050((data + second).repeated(3)), "thrice.raw");
        const QString line = clipText(id).left(clipText(id).lastIndexOf(u'-') + 1); // up to its last "-"
        if (id == kBeepClip) {
            QCOMPARE(once + thrice, QString());
        } else if (id == kEndOfMessageClip) {
            QCOMPARE(once, QStringLiteral("EAS: NNNN\n"));
            QCOMPARE(thrice, QStringLiteral("EAS: NNNN\n").repeated(3));
        } else {
            QCOMPARE(once, "EAS (part): " + line + u'\n');
            QVERIFY2(thrice.split(u'\n').contains("EAS: " + line), qPrintable(thrice));
        }
        QCOMPARE(run(minimodem, {"--rx", "same", "--quiet", "-f"}, testClipBytes(id), "clip.wav"),
                 id == kBeepClip ? QString() : clipText(id));
    }
};

ORVANE_TEST(TestClipsTest)
#include "TestClipsTest.moc"
