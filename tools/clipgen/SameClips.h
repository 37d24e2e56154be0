#pragma once
// The six sound clips of the test packets, generated sample by sample: the SAME bursts
// (three-letter event headers and the end-of-message packet) and the alert-tone beep, each
// as the bytes of a complete WAV file (8000 samples/s, unsigned 8-bit mono, silence 128).

#include <QByteArray>
#include <QString>
#include <array>

namespace SameClips {

constexpr int kSampleRate = 8000;
constexpr int kSilence = 128;
constexpr int kAmplitude = 45;   // peaks at 128 +/- 45
constexpr int kPreambleBytes = 16; // 0xAB each, before every burst
// 520.83 bit/s is exactly 3125/6 bit/s (1.92 ms a bit); mark and space are 4 and 3 whole
// cycles a bit, so every bit starts at phase zero and the signal stays phase-continuous.
constexpr int kBitRateNumerator = 3125;
constexpr int kBitRateDenominator = 6;
constexpr double kBitSeconds = double(kBitRateDenominator) / kBitRateNumerator;
constexpr double kMarkHz = 4.0 / kBitSeconds;  // 2083.33 Hz, a bit 1
constexpr double kSpaceHz = 3.0 / kBitSeconds; // 1562.5 Hz, a bit 0
constexpr double kBeepHz = 1042.0;
constexpr int kBeepSamples = 2005;
// The least silence after a burst, so that a decoder reading the clip alone finishes the
// last character (the EAS demodulator of multimon-ng needs a little over 20 ms of it).
constexpr int kMinTrailingSilence = 300;

struct ClipPlan {
    int id;
    const char *file;  // under resources/
    const char *text;  // the characters after the preamble; empty for the beep
    int lead;          // samples of silence before the burst or tone
    int dataBytes;     // the length of the data block; silence fills it after the burst
};

// Ids 110 to 140: the headers of RWT, FFW, SVA, TOA; 150 the beep; 160 the end of message.
const std::array<ClipPlan, 6> &clipPlans();
const ClipPlan *clipPlan(int id);

// Samples of one burst: preamble and text, least significant bit first, no start or stop
// bits, the bit clock exact over the whole burst (bit k starts at k * 15.36 samples).
QByteArray burstSamples(const QByteArray &text);
// The number of samples a burst of `characters` characters (preamble included) takes.
int burstSampleCount(int characters);

// A complete WAV file: RIFF, an 18-byte PCM format block, a 4-byte "fact" block, the data.
QByteArray wavFile(const QByteArray &samples);

// The WAV file of a clip; empty for an unknown id.
QByteArray generateClip(int id);

// Writes the six files into `directory`; false (with a reason) when one cannot be written.
bool writeClips(const QString &directory, QString *error = nullptr);

} // namespace SameClips
