#include "core/WavData.h"

#include <QtEndian>

namespace {

quint32 le32(const QByteArray &b, qsizetype at) { return qFromLittleEndian<quint32>(b.constData() + at); }
quint16 le16(const QByteArray &b, qsizetype at) { return qFromLittleEndian<quint16>(b.constData() + at); }

} // namespace

PcmWav parsePcmWav(const QByteArray &bytes)
{
    PcmWav wav;
    if (bytes.size() < 12 || !bytes.startsWith("RIFF") || bytes.mid(8, 4) != "WAVE")
        return wav;
    bool haveFormat = false;
    bool haveData = false;
    qsizetype at = 12;
    while (at + 8 <= bytes.size()) {
        const QByteArray id = bytes.mid(at, 4);
        const quint32 size = le32(bytes, at + 4);
        const qsizetype body = at + 8;
        if (size > quint32(bytes.size() - body))
            return wav; // the block claims more bytes than the file has
        if (id == "fmt ") {
            if (size < 16)
                return wav;
            wav.formatTag = le16(bytes, body);
            wav.channels = le16(bytes, body + 2);
            wav.sampleRate = int(le32(bytes, body + 4));
            wav.bitsPerSample = le16(bytes, body + 14);
            haveFormat = true;
        } else if (id == "data") {
            wav.samples = bytes.mid(body, qsizetype(size));
            haveData = true;
        }
        at = body + qsizetype(size) + (size % 2);
    }
    wav.valid = haveFormat && haveData && wav.formatTag == 1 && wav.channels >= 1 && wav.channels <= 8
        && wav.sampleRate > 0 && wav.sampleRate <= 384000
        && (wav.bitsPerSample == 8 || wav.bitsPerSample == 16)
        && wav.samples.size() % (wav.channels * wav.bitsPerSample / 8) == 0;
    return wav;
}
