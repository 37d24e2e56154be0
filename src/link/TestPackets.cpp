#include "link/TestPackets.h"

#include "core/WavData.h"

#include <QFile>

const std::array<TestAlert, 4> &testAlerts()
{
    static const std::array<TestAlert, 4> alerts = {{
        {1, QStringLiteral("RWT"), QStringLiteral("Required Weekly Test"), 110},
        {2, QStringLiteral("FFW"), QStringLiteral("Flash Flood Warning"), 120},
        {3, QStringLiteral("SVA"), QStringLiteral("Severe Thunderstorm Watch"), 130},
        {4, QStringLiteral("TOA"), QStringLiteral("Tornado Watch"), 140},
    }};
    return alerts;
}

const TestAlert *testAlert(qint16 ButtonID)
{
    for (const TestAlert &alert : testAlerts())
        if (alert.ButtonID == ButtonID)
            return &alert;
    return nullptr;
}

QByteArray testClipBytes(qint16 id)
{
    // The clips are embedded from resources/same-clips.qrc under their ids.
    QFile clip(QStringLiteral(":/clips/") + QString::number(id));
    if (!clip.open(QIODevice::ReadOnly))
        return {};
    return clip.readAll();
}

int testClipMs(qint16 id)
{
    const PcmWav clip = parsePcmWav(testClipBytes(id));
    const qint64 bytesPerSecond = qint64(clip.sampleRate) * clip.channels * (clip.bitsPerSample / 8);
    return clip.valid && bytesPerSecond > 0 ? int(clip.samples.size() * 1000 / bytesPerSecond) : 0;
}

QString testInfoText()
{
    const QString crlf = QStringLiteral("\r\n");
    return crlf + QStringLiteral("These four buttons will activate SAME packets ")
        + QStringLiteral("from your sound card.") + crlf + crlf
        + QStringLiteral("Each packet consist of the header data, followed ")
        + QStringLiteral("by 30 seconds of tone beeps and the end of message packet.") + crlf + crlf
        + QStringLiteral("Note: You must load default FIP codes into your radio for ")
        + QStringLiteral(" these test.  Consult the menu HELP section for more information")
        + QStringLiteral(" and a step by step procedure.");
}
