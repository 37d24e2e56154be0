#pragma once
// The options window's controls as plain values, and how they are read from and written to
// the record: three override switches, the voice interval switch, the announcement class
// and the test limit.

#include <array>

struct ReceiverConfigRecord;

struct OptionControls {
    std::array<bool, 3> chkOverride{}; // all counties, all events, ignore the termination packet
    bool voiceInterval = false;        // chkVocInt index 0
    int announceClass = -1;            // optVocInt index selected; -1 none
    bool limitTests = false;           // chkVocInt index 2
};

OptionControls optionControlsFromRecord(const ReceiverConfigRecord &record);
void storeOptionControls(const OptionControls &controls, ReceiverConfigRecord &record);
