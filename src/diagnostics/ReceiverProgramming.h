// Diagnostics (src/diagnostics): data dump, About box, tips, help and web links; uses core, config, link, selection.
#pragma once
// The receiver's programming as its memory dump gives it (bytes 0 to 511 from address 0x8000,
// the layout of the transfer image): decoded into the record's receiver fields and the two
// lists, and compared with what a transfer would send now.

#include "config/ReceiverConfig.h"

#include <QString>
#include <QStringList>
#include <array>

constexpr int kMemoryBytes = 512;
using MemoryBytes = std::array<quint8, kMemoryBytes>;

struct ReceiverProgramming {
    // Every receiver field of the record: the five flag groups, the timers and UserStationID.
    ReceiverConfigRecord record;
    QStringList countyCodes; // "012011", in memory order
    QStringList eventCodes;  // "TOR", in memory order
};

struct ProgrammingDecode {
    bool ok = false;
    ReceiverProgramming programming;
    QString error; // what makes the memory no configuration, when not ok
};
// Reads the settings block, the county codes from byte 32 and the event codes from byte 208.
// Refused: a timer code no transfer sends, an identification longer than 15 or with a code
// outside the receiver's alphabet, a county or event entry that is not six digits or three
// capitals followed by "-", more counties or event codes than the editor can hold.
ProgrammingDecode decodeProgramming(const MemoryBytes &memory);

// Puts what was read in place of the record's receiver fields and both lists; the editor's
// own settings (port, time zone, state, transmitter and the rest) stay. Each county code
// becomes a ticked entry named from the state files (only its code when none holds it).
void useProgramming(const ReceiverProgramming &programming);

// Bytes 0 to 511 of what a transfer would send now (the settings block and selection area).
MemoryBytes editorMemoryImage();

// Each difference between the receiver's memory and the editor's, one line each in the
// data dump's words, the receiver's value first: "Line Timeout ....... Orvane 2 Minutes,
// editor 3 Minutes". Empty when the two are the same byte for byte.
QStringList programmingDifferences(const MemoryBytes &receiver, const MemoryBytes &editor);
