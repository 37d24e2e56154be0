// Receiver link (src/link): port, link, transfer, history decoding; uses core, config, the event table.
#pragma once
// Decoding of the receiver's 40 raw history records (the DownloadBuffer of the program's
// link, ReceiverLink::instance()) into HistoryTable:
// local date and time of issue, valid time, originator and event name with its alert class.
//
// Raw record r sits at DownloadBuffer[32 * r]: day of year "JJJ" (byte 0 = 0: empty record),
// UTC hour at +4, ":" at +6, minute at +7, originator at +10, event code at +14, valid time
// HHMM at +18. The bytes in between are not interpreted.

#include <QString>
#include <array>

struct HistoryEntry {
    QString Date;   // "d-mmmm", e.g. "5-March"; empty for an empty record or a bad day/hour
    QString Time;   // local "HH:MM"; empty when the record's time is not well formed
    QString Length; // valid time "HH:MM" as received
    QString Org;    // originator; empty when it does not start with a capital letter
    QString Event;  // event name, or "Unknown Event Code"
    qint16 AlertClass = 0; // 1 warning, 2 watch, 0 anything else

    // Whether the entry came from a record that held an alert. Every such record has an
    // event text, even when its date could not be decoded.
    bool holdsAlert() const { return !Date.isEmpty() || !Event.isEmpty(); }
};

// The characters at DownloadBuffer[p] .. [p + n - 1] of the program's link, one per byte
// (fewer where the buffer ends first).
QString downloadBufferText(int p, int n);

constexpr int kHistoryRecords = 40;
constexpr int kHistoryRecordSize = 32;

// Entries 0 to 39 mirror records 0 to 39; entry 40 stays empty.
extern std::array<HistoryEntry, kHistoryRecords + 1> HistoryTable;

// The current record's day of the year minus one, in decimal; localHour moves it a day
// back (or, by daylight saving alone, forward) when the conversion crosses midnight. Empty while the record's day is not a number.
extern QString DayOffsetText;

// Rebuilds HistoryTable entries 0 to 39 from DownloadBuffer, dated in the current year of
// the wall clock. A fault inside one record degrades only that record.
void decodeHistory();

// The local hour (decimal, no leading zero) of the UTC hour at DownloadBuffer[p], [p + 1],
// after the owner's daylight saving and time zone settings, 0 to 23; may move DayOffsetText.
// Empty when the two characters are not an hour 00 to 23.
QString localHour(int p);

// The name of an event code (exact, case-sensitive) and its alert class; unknown codes
// give "Unknown Event Code" and class 0.
QString lookupEvent(const QString &code, qint16 &alertClass);

// The alert class of a code: 1 warnings, 2 watches (and HMW), 0 anything else.
qint16 alertClassOf(const QString &code);
