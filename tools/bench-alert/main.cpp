// Times one test alert as it sounds.
//
//   orvane-bench-alert play [RWT|FFW|SVA|TOA]
//       plays the alert through the real test-packet window and sound output, and prints the
//       wall time from the click to the alert's end against the designed length;
//   orvane-bench-alert measure <recording> [rate]
//       reads a recording of what was played (raw signed 16-bit mono samples, default
//       8000 per second), finds the first burst's onset and the last clip's end, and prints the
//       alert's length as sounded against its designed length.
// scripts/benchmarks.sh runs both against a private sound server and records its monitor.

#include "core/Platform.h"
#include "core/WavData.h"
#include "link/TestPackets.h"
#include "link/frmTest.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QtEndian>
#include <cstdio>
#include <cstdlib>

namespace {

// Where a clip's signal begins and ends, in ms from the clip's start.
struct Signal {
    double firstMs = 0;
    double lastMs = 0;
};

Signal clipSignal(qint16 id)
{
    const PcmWav clip = parsePcmWav(testClipBytes(id));
    Signal signal;
    qsizetype first = -1;
    qsizetype last = -1;
    for (qsizetype i = 0; i < clip.samples.size(); ++i) {
        if (std::abs(int(quint8(clip.samples[i])) - 128) > 10) {
            if (first < 0)
                first = i;
            last = i;
        }
    }
    signal.firstMs = first * 1000.0 / clip.sampleRate;
    signal.lastMs = (last + 1) * 1000.0 / clip.sampleRate;
    return signal;
}

// The designed schedule of one alert: when each clip starts, from the click.
QList<std::pair<qint16, qint64>> designedClips(qint16 header)
{
    QList<std::pair<qint16, qint64>> clips;
    qint64 at = kPauseBeforeHeaderMs;
    auto play = [&](qint16 id, int times) {
        for (int i = 0; i < times; ++i) {
            clips.append({id, at});
            at += testClipMs(id) + kPauseAfterClipMs;
        }
    };
    play(header, kHeaderRepeats);
    at += kPauseInEndPacketMs;
    play(kBeepClip, kBeepRepeats);
    at += kPauseInEndPacketMs;
    play(kEndOfMessageClip, kEndOfMessageRepeats);
    clips.append({0, at}); // the alert's end
    return clips;
}

// From the first burst's onset to the last clip's last signal, as designed.
double designedSoundingMs(qint16 header)
{
    const auto clips = designedClips(header);
    const auto &lastClip = clips[clips.size() - 2];
    return lastClip.second + clipSignal(lastClip.first).lastMs - (clips.first().second + clipSignal(header).firstMs);
}

qint16 headerOf(const QString &button)
{
    for (const TestAlert &alert : testAlerts())
        if (alert.button == button)
            return alert.headerClip;
    return 0;
}

int play(const QString &button)
{
    const TestAlert *alert = nullptr;
    for (const TestAlert &a : testAlerts())
        if (a.button == button)
            alert = &a;
    if (!alert) {
        std::fprintf(stderr, "unknown alert %s\n", qPrintable(button));
        return 2;
    }
    frmTest window;
    window.show();
    QElapsedTimer clock;
    clock.start();
    window.alertButton(alert->ButtonID)->click(); // returns when the alert has ended
    const qint64 ms = clock.elapsed();
    const qint64 designed = designedClips(alert->headerClip).last().second;
    std::printf("alert %s through the window: %.3f s from the click to its end, designed %.3f s, ratio %.4f\n",
                qPrintable(button), ms / 1000.0, designed / 1000.0, double(ms) / designed);
    return 0;
}

int measure(const QString &path, int rate, const QString &button)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
        return 2;
    }
    const QByteArray bytes = file.readAll();
    const qsizetype count = bytes.size() / 2;
    int peak = 0;
    for (qsizetype i = 0; i < count; ++i)
        peak = std::max(peak, std::abs(int(qFromLittleEndian<qint16>(bytes.constData() + 2 * i))));
    if (peak < 1000) {
        std::printf("the recording holds no alert (peak %d)\n", peak);
        return 1;
    }
    const int threshold = peak / 4;
    qsizetype first = -1;
    qsizetype last = -1;
    for (qsizetype i = 0; i < count; ++i) {
        if (std::abs(int(qFromLittleEndian<qint16>(bytes.constData() + 2 * i))) > threshold) {
            if (first < 0)
                first = i;
            last = i;
        }
    }
    const double soundedMs = (last + 1 - first) * 1000.0 / rate;
    const double designedMs = designedSoundingMs(headerOf(button));
    std::printf("alert %s as sounded: %.3f s from the first burst's onset to the last clip's end, "
                "designed %.3f s, ratio %.4f\n",
                qPrintable(button), soundedMs / 1000.0, designedMs / 1000.0, soundedMs / designedMs);
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() >= 2 && args[1] == QLatin1String("play"))
        return play(args.size() > 2 ? args[2] : QStringLiteral("RWT"));
    if (args.size() >= 3 && args[1] == QLatin1String("measure"))
        return measure(args[2], args.size() > 3 ? args[3].toInt() : 8000,
                       args.size() > 4 ? args[4] : QStringLiteral("RWT"));
    std::fprintf(stderr, "usage: %s play [RWT|FFW|SVA|TOA] | measure <recording> [rate] [alert]\n", argv[0]);
    return 2;
}
