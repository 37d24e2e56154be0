// The six clips: as committed, as embedded, their format, and what a SAME decoder (minimodem)
// reads from them.
#include "LinkTestSupport.h"
#include "SameClips.h"
#include <QtEndian>

namespace {
QString clipText(qint16 id) { return QString::fromLatin1(SameClips::clipPlan(id)->text); }
QByteArray dataOf(const QByteArray &wav) { return wav.mid(58, int(qFromLittleEndian<quint32>(wav.constData() + 54))); } // after 58 bytes of blocks
} // namespace

class TestClipsTest : public QObject
{
    Q_OBJECT
private slots:
    // The committed files are what the generator writes today and the program carries; the blocks: RIFF,
    // an 18-byte PCM format block (1 channel, 8000 samples/s, 8 bits), a fact block of the sample count,
    // the data block; levels 128 +/- 45. minimodem's SAME mode reads the whole text of every burst.
    void clip_data()
    {
        QTest::addColumn<qint16>("id");
        QTest::addColumn<int>("dataBytes");
        const std::pair<int, int> clips[] = {{110, 14410}, {120, 14236}, {130, 14219}, {140, 14435}, {150, 2073}, {160, 3430}};
        for (auto [id, bytes] : clips) QTest::newRow(qPrintable(QString::number(id))) << qint16(id) << bytes;
    }
    void clip()
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
        for (qint16 unknown : {0, 100, 115, 170, -110}) QVERIFY(testClipBytes(unknown).isEmpty());
        const QString minimodem = QStandardPaths::findExecutable("minimodem");
        if (minimodem.isEmpty()) QSKIP("minimodem is not installed: clips not decoded");
        QTemporaryDir dir;
        QFile file(dir.filePath("clip.wav"));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(wav) == wav.size());
        file.close();
        const ProgramRun run = runProgram(minimodem, {"--rx", "same", "--quiet", "-f", file.fileName()}, 60000);
        QVERIFY(run.finished);
        QCOMPARE(QString::fromLatin1(run.output), id == kBeepClip ? QString() : clipText(id));
    }
};

ORVANE_TEST(TestClipsTest)
#include "TestClipsTest.moc"
