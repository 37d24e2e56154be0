#pragma once
// The timer window's four option groups as plain values: which button of each group a
// timer code selects, and which code a selection stores.

#include <QString>
#include <array>

struct NV800BGroup;
struct TimersGroup;

// Selected index per group; -1 when nothing is selected (a code out of its range).
struct TimerSelection {
    int optTimeLn = -1;      // line timeout: code = index + 1 (1 to 6 minutes)
    int optVoiceTimer = -1;  // voice interval: code = index + 1 (5 to 30 minutes)
    int optRelayDelay = -1;  // relay delay: code = index (0 to 8 seconds)
    int optVoiceDelay = -1;  // pre-voice delay: code = index (0 to 2 seconds)
};

TimerSelection timerSelectionFromRecord(const TimersGroup &timers);
// No selection keeps the code, except the relay delay, which becomes 0. The speaker
// timeout is not the window's and is never written.
void storeTimerSelection(const TimerSelection &selection, TimersGroup &timers);
// The voice interval timer matters only while one of the outputs repeats announcements.
bool voiceIntervalInUse(const NV800BGroup &flags);

const std::array<QString, 6> &lineTimeoutCaptions();
const std::array<QString, 6> &voiceIntervalCaptions();
const std::array<QString, 5> &relayDelayCaptions();
const std::array<QString, 5> &preVoiceDelayCaptions();
