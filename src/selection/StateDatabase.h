// Selection (src/selection): states, transmitters, counties and event codes; uses core and config.
#pragma once
// The county and transmitter database: the 54 state files delivered in the "States" folder
// beside the program, the state box table, the frequency filter and the state-number table
// that names the state of a SAME location code.
//
// A state file line (columns 1-based, CR LF ended):
//   1-6 location code, 7-8 blanks, 9-30 county name, 31 blank,
//   32-55 transmitter city (or "--No NWR Coverage--"), 56-62 frequency.
// The transmitter key is columns 31 to 62; the county part columns 1 to 31.

#include <QString>
#include <QStringList>
#include <array>

struct StateRow {
    const char *name;     // as the state box shows it
    const char *fileName; // "Al_102.st" and the like
};

constexpr int kStateCount = 54;
extern const std::array<StateRow, kStateCount> StateTable;

constexpr int kFrequencyFilterCount = 8;
// "All", then the seven weather radio channels "162.400" to "162.550".
extern const std::array<const char *, kFrequencyFilterCount> FrequencyFilter;

constexpr int kStateFileMaxLines = 501;
constexpr int kStateLineWidth = 62;
constexpr int kCountyPartWidth = 31;
constexpr int kTransmitterKeyWidth = 32;
inline const QString kNoCoverageText = QStringLiteral("--No NWR Coverage--");

// The file name of a state box row; empty for an index outside 0 to 53.
QString stateFileName(int stateIndex);
// The channel text of a filter index 1 to 7; empty (no filtering) for 0 and any other value.
QString frequencyText(int filterIndex);
// The state name for characters 2 and 3 (the state number) of a state file line or an
// entry's list text; empty for a number the table does not hold.
QString stateNameForNumber(const QString &text);

// Where the state files are: the "States" folder beside the program unless a test (or the
// benchmark) points elsewhere. An empty text restores the default.
QString statesDirectory();
void setStatesDirectory(const QString &directory);

// The lines of the state file last read for the transmitter list.
extern std::array<QString, kStateFileMaxLines> StateLines;
void clearStateLines(int lastSlot = kStateFileMaxLines - 1);

// The texts already taken during one list build; emptied before each build.
struct SeenListBuffer {
    std::array<QString, kStateFileMaxLines> texts;
    qint16 count = 0;
};
extern SeenListBuffer SeenList;
void clearSeenList();
// True when the text is already in SeenList; otherwise adds it and returns false.
// A full list takes nothing more and reports every new text as seen.
bool markSeen(const QString &text);
bool seenListFull();

// Reads a state file into `lines` (line ends removed). False when it is missing, cannot be
// read or holds more than 501 lines.
bool readStateFile(int stateIndex, QStringList &lines);

// The distinct transmitter keys of a state file's lines, for a frequency text from
// frequencyText (empty = every channel), sorted alphabetically. Uncovered counties give
// none. Uses SeenList.
QStringList transmitterKeys(const QStringList &lines, const QString &frequency);

// A state file line's county part followed by the state name of its location code: the
// list text of a FIPS entry.
QString countyEntryFromStateLine(const QString &line);

// Every county of every state file that the transmitter covers, in state box order and in
// file order within a state, each county once. `complete` is false when the scan stopped
// at a missing or unreadable file, or at more counties than one list can take; what was
// found until then is kept.
struct TransmitterCounties {
    QStringList entries;
    bool complete = true;
};
TransmitterCounties countiesForTransmitter(const QString &transmitterKey, int maxEntries);
