#include "editors/TimerSettings.h"

#include "config/ReceiverConfig.h"

namespace {

int indexFor(qint16 code, int firstCode, int count)
{
    const int index = code - firstCode;
    return (index >= 0 && index < count) ? index : -1;
}

} // namespace

TimerSelection timerSelectionFromRecord(const TimersGroup &t)
{
    TimerSelection s;
    s.optTimeLn = indexFor(t.LineTimeoutTimer, 1, 6);
    s.optVoiceTimer = indexFor(t.VoiceIntervalTimer, 1, 6);
    s.optVoiceDelay = indexFor(t.PreVoiceAnnc, 0, 5);
    s.optRelayDelay = indexFor(t.RelayDelayTimer, 0, 5);
    return s;
}

void storeTimerSelection(const TimerSelection &s, TimersGroup &t)
{
    if (s.optTimeLn >= 0)
        t.LineTimeoutTimer = qint16(s.optTimeLn + 1);
    if (s.optVoiceTimer >= 0)
        t.VoiceIntervalTimer = qint16(s.optVoiceTimer + 1);
    if (s.optVoiceDelay >= 0)
        t.PreVoiceAnnc = qint16(s.optVoiceDelay);
    t.RelayDelayTimer = qint16(s.optRelayDelay >= 0 ? s.optRelayDelay : 0);
}

bool voiceIntervalInUse(const NV800BGroup &flags) { return flags.VoiceIntervalSpeaker || flags.VoiceIntervalLine; }

const std::array<QString, 6> &lineTimeoutCaptions()
{
    static const std::array<QString, 6> captions = {
        QStringLiteral("1 Minute"),  QStringLiteral("2 Minutes"), QStringLiteral("3 Minutes"),
        QStringLiteral("4 Minutes"), QStringLiteral("5 Minutes"), QStringLiteral("6 Minutes"),
    };
    return captions;
}

const std::array<QString, 6> &voiceIntervalCaptions()
{
    // The two blanks line "5" up under the tens of the other captions.
    static const std::array<QString, 6> captions = {
        QStringLiteral("  5 Minute Interval"), QStringLiteral("10 Minute Interval"),
        QStringLiteral("15 Minute Interval"),  QStringLiteral("20 Minute Interval"),
        QStringLiteral("25 Minute Interval"),  QStringLiteral("30 Minute Interval"),
    };
    return captions;
}

const std::array<QString, 5> &relayDelayCaptions()
{
    static const std::array<QString, 5> captions = {
        QStringLiteral("0 Sec"), QStringLiteral("2 Sec"), QStringLiteral("4 Sec"),
        QStringLiteral("6 Sec"), QStringLiteral("8 Sec"),
    };
    return captions;
}

const std::array<QString, 5> &preVoiceDelayCaptions()
{
    static const std::array<QString, 5> captions = {
        QStringLiteral("No Delay"),   QStringLiteral("0.5 Second"), QStringLiteral("1.0 Second"),
        QStringLiteral("1.5 Second"), QStringLiteral("2.0 Second"),
    };
    return captions;
}
