// Configuration (src/config): the record, its settings store and parameter file; uses core only.
#pragma once
// Whether the PC's own clock keeps daylight saving time now: noted once at start-up and
// used with the owner's daylight saving setting when the history times are converted.

// Whether the PC's clock was in daylight saving time at start-up.
extern bool PcDaylightActive;

// Asks the system time zone whether daylight saving time is in effect now; leaves
// PcDaylightActive alone when the zone knows no daylight saving time.
void notePcDaylightState();
