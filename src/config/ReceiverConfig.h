// Configuration (src/config): the record, its settings store and parameter file; uses core only.
#pragma once
// The one in-memory record of everything the editor programs into the receiver, plus the
// editor's own remembered settings. Fields carry their settings-store key names.

#include <QString>
#include <array>
#include <cstdint>

struct EditorGroup {
    qint16 SerialPort = 0;
    QString WorkingDirectory;
    QString EditorVersion;
    QString ReceiverVersion;
    bool ShowTipsAtStartup = false;
    qint16 TimeZoneOffset = 0;
    bool DaylightSavings = false;
    qint16 StateID = 0;
    QString TransmitterLocation;
    qint16 FrequencyListingFilter = 0;
    QString UserStationID;
};

// One receiver flag byte each; the field order is the bit order, bit 0 first.
struct NV8007Group {
    bool GiveStationID = false, AppendThisIs = false, AppendRepeater = false, AppendTransmitter = false;
    bool Spare8007_1 = false, Spare8007_2 = false, Spare8007_3 = false, Spare8007_4 = false;
};
struct NV8008Group {
    bool SpeakerActive = false, LineActive = false, AlertLedActive = false, ForceOnSpeaker = false;
    bool ForceOnLine = false, AcceptAllFips = false, AcceptAllEvents = false, IgnoreTerminationPacket = false;
};
struct NV8009Group {
    bool AcceptAllAlerts = false, WatchAndWarningOnly = false, WarningOnly = false, CancelAlert = false;
    bool SkipVoiceAnnc = false, ForceVocInterval = false, Spare8009_1 = false, Spare8009_2 = false;
};
struct NV800AGroup {
    bool AcceptAllAlerts = false, WatchAndWarningOnly = false, WarningOnly = false, CancelAlert = false;
    bool SkipVoiceAnnc = false, ForceVocInterval = false, Spare800A_1 = false, Spare800A_2 = false;
};
struct NV800BGroup {
    bool VoiceIntervalSpeaker = false, VoiceIntervalLine = false, VocAllEvents = false, VocWarningsWatch = false;
    bool VocWarnings = false, VocTruncateTest = false, Spare800B_1 = false, Spare800B_2 = false;
};

struct TimersGroup {
    qint16 SpeakerTimeoutTimer = 0;
    qint16 LineTimeoutTimer = 0;
    qint16 VoiceIntervalTimer = 0;
    qint16 RelayDelayTimer = 0;
    qint16 PreVoiceAnnc = 0;
};

// Before start-up loads it the record holds zeros, false and empty texts; the defaults
// come from the settings store's "missing key" values.
struct ReceiverConfigRecord {
    EditorGroup EDITOR;
    NV8007Group NV8007;
    NV8008Group NV8008;
    NV8009Group NV8009;
    NV800AGroup NV800A;
    NV800BGroup NV800B;
    TimersGroup TIMERS;
};

extern ReceiverConfigRecord ReceiverConfig;

// County entries ("X 012011  Broward                Florida"); slots 0 to 98 in use, 99 stays empty.
extern std::array<QString, 100> FipsList;
// Three-letter SAME event codes; at most 48 are ever selected.
extern std::array<QString, 49> EventList;

// Receiver addresses 0x8000 to 0x801F, rebuilt from the record by buildSettingsImage.
extern std::array<quint8, 32> SettingsImage;

// Puts the record, both lists and the settings image back to their process-start state.
void clearReceiverConfig();

// The eight flags of a flag byte, bit 0 first.
std::array<bool *, 8> flagBits(NV8007Group &g);
std::array<bool *, 8> flagBits(NV8008Group &g);
std::array<bool *, 8> flagBits(NV8009Group &g);
std::array<bool *, 8> flagBits(NV800AGroup &g);
std::array<bool *, 8> flagBits(NV800BGroup &g);

void buildSettingsImage();
quint8 EncodeIdChar(QChar c);
QString DecodeIdChar(quint8 code);
