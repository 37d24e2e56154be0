#pragma once
// Reading the PCM samples out of a WAV file held in memory (the embedded sound clips).

#include <QByteArray>

struct PcmWav {
    bool valid = false;
    int formatTag = 0;
    int channels = 0;
    int sampleRate = 0;
    int bitsPerSample = 0;
    QByteArray samples; // the data block
};

// Walks the RIFF blocks; anything short, odd or not PCM gives valid == false, never a read
// past the end of `bytes`.
PcmWav parsePcmWav(const QByteArray &bytes);
