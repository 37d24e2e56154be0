#include "SameClips.h"

#include <QDir>
#include <QFile>
#include <QtEndian>
#include <cmath>
#include <numbers>

namespace SameClips {

namespace {

quint8 sampleAt(double amplitude, double hz, double seconds)
{
    const double v = kSilence + amplitude * std::sin(2.0 * std::numbers::pi * hz * seconds);
    return quint8(std::lround(v));
}

void appendLe16(QByteArray &out, quint16 v)
{
    char b[2];
    qToLittleEndian(v, b);
    out.append(b, 2);
}

void appendLe32(QByteArray &out, quint32 v)
{
    char b[4];
    qToLittleEndian(v, b);
    out.append(b, 4);
}

// The bit a sample falls in, counted from the first sample of the burst.
qint64 bitOfSample(qint64 n)
{
    return n * kBitRateNumerator / (qint64(kBitRateDenominator) * kSampleRate);
}

} // namespace

const std::array<ClipPlan, 6> &clipPlans()
{
    // Each data block has a fixed length (and so each alert its length). Within it the
    // silence before a burst is placed so that a decoder that finds the carrier late (minimodem
    // misses the first bit when a burst starts at about one sample offset in eleven) still
    // reads every burst, with at least 8 samples to spare either way; the rest follows it.
    static const std::array<ClipPlan, 6> plans = {{
        {110, "same-110-rwt-header.wav",
         "ZCZC-WXR-RWT-012099-012011-012025-000000-000000-000000-000000-000000-000000-012999+0015-214-1530", 243, 14410},
        {120, "same-120-ffw-header.wav",
         "ZCZC-WXR-FFW-012099-012011-012025-000000-000000-000000-000000-000000-000000-012999+0100-214-1530", 82, 14236},
        {130, "same-130-sva-header.wav",
         "ZCZC-WXR-SVA-012099-012011-012025-000000-000000-000000-000000-000000-000000-012999+0100-214-1530", 59, 14219},
        {140, "same-140-toa-header.wav",
         "ZCZC-WXR-TOA-012099-012011-012025-000000-000000-000000-000000-000000-000000-012999+0100-214-1530", 266, 14435},
        {150, "same-150-beep.wav", "", 68, 2073},
        {160, "same-160-end-of-message.wav", "NNNN", 566, 3430},
    }};
    return plans;
}

const ClipPlan *clipPlan(int id)
{
    for (const ClipPlan &plan : clipPlans())
        if (plan.id == id)
            return &plan;
    return nullptr;
}

int burstSampleCount(int characters)
{
    // The first sample at or after the end of the last bit.
    const qint64 bits = qint64(characters) * 8;
    const qint64 scaled = bits * kBitRateDenominator * kSampleRate;
    return int((scaled + kBitRateNumerator - 1) / kBitRateNumerator);
}

QByteArray burstSamples(const QByteArray &text)
{
    QByteArray bytes(kPreambleBytes, char(0xAB));
    bytes += text;
    const int count = burstSampleCount(int(bytes.size()));
    QByteArray out(count, char(kSilence));
    for (int n = 0; n < count; ++n) {
        const qint64 k = bitOfSample(n);
        const int bit = (quint8(bytes[int(k / 8)]) >> (k % 8)) & 1;
        // Time since the start of this bit: bit k starts at exactly k * 1.92 ms, so the
        // clock never drifts by rounding the bit to whole samples.
        const double since = double(n) / kSampleRate - double(k) * kBitSeconds;
        out[n] = char(sampleAt(kAmplitude, bit ? kMarkHz : kSpaceHz, since));
    }
    return out;
}

QByteArray wavFile(const QByteArray &samples)
{
    const quint32 n = quint32(samples.size());
    const quint32 pad = n % 2; // RIFF blocks start on even offsets
    QByteArray out;
    out += "RIFF";
    appendLe32(out, 4 + (8 + 18) + (8 + 4) + (8 + n + pad));
    out += "WAVE";
    out += "fmt ";
    appendLe32(out, 18);
    appendLe16(out, 1);           // PCM
    appendLe16(out, 1);           // mono
    appendLe32(out, kSampleRate); // samples per second
    appendLe32(out, kSampleRate); // bytes per second
    appendLe16(out, 1);           // block align
    appendLe16(out, 8);           // bits per sample
    appendLe16(out, 0);           // extra format bytes
    out += "fact";
    appendLe32(out, 4);
    appendLe32(out, n); // samples in the data block
    out += "data";
    appendLe32(out, n);
    out += samples;
    if (pad)
        out += char(0);
    return out;
}

QByteArray generateClip(int id)
{
    const ClipPlan *plan = clipPlan(id);
    if (!plan)
        return {};
    QByteArray sound;
    if (id == 150) {
        for (int i = 0; i < kBeepSamples; ++i)
            sound += char(sampleAt(kAmplitude, kBeepHz, double(i) / kSampleRate));
    } else {
        sound = burstSamples(QByteArray(plan->text));
    }
    const int trailing = plan->dataBytes - plan->lead - int(sound.size());
    if (trailing < 0 || (id != 150 && trailing < kMinTrailingSilence))
        return {};
    return wavFile(QByteArray(plan->lead, char(kSilence)) + sound + QByteArray(trailing, char(kSilence)));
}

bool writeClips(const QString &directory, QString *error)
{
    QDir().mkpath(directory);
    for (const ClipPlan &plan : clipPlans()) {
        const QByteArray bytes = generateClip(plan.id);
        QFile file(QDir(directory).filePath(QString::fromLatin1(plan.file)));
        if (bytes.isEmpty() || !file.open(QIODevice::WriteOnly | QIODevice::Truncate)
            || file.write(bytes) != bytes.size() || !file.flush()) {
            if (error)
                *error = QStringLiteral("cannot write %1: %2").arg(file.fileName(), file.errorString());
            return false;
        }
    }
    return true;
}

} // namespace SameClips
