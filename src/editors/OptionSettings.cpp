#include "editors/OptionSettings.h"

#include "config/ReceiverConfig.h"

OptionControls optionControlsFromRecord(const ReceiverConfigRecord &record)
{
    const auto &o = record.NV8008;
    const auto &v = record.NV800B;
    OptionControls c;
    c.chkOverride = {o.AcceptAllFips, o.AcceptAllEvents, o.IgnoreTerminationPacket};
    // One box stands for both outputs. It is set from the speaker's field and then from the
    // line's, so the line output's field is what shows.
    c.voiceInterval = v.VoiceIntervalLine;
    // The first true field wins should the record hold more than one.
    c.announceClass = v.VocAllEvents ? 0 : v.VocWarningsWatch ? 1 : v.VocWarnings ? 2 : -1;
    c.limitTests = v.VocTruncateTest;
    return c;
}

void storeOptionControls(const OptionControls &c, ReceiverConfigRecord &record)
{
    auto &o = record.NV8008;
    auto &v = record.NV800B;
    o.AcceptAllFips = c.chkOverride[0];
    o.AcceptAllEvents = c.chkOverride[1];
    o.IgnoreTerminationPacket = c.chkOverride[2];
    v.VoiceIntervalSpeaker = c.voiceInterval;
    v.VoiceIntervalLine = c.voiceInterval;
    v.VocTruncateTest = c.limitTests;
    // No class chosen keeps the three fields as they are.
    if (c.announceClass >= 0 && c.announceClass <= 2) {
        v.VocAllEvents = c.announceClass == 0;
        v.VocWarningsWatch = c.announceClass == 1;
        v.VocWarnings = c.announceClass == 2;
    }
}
