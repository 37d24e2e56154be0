// Selection (src/selection): states, transmitters, counties and event codes; uses core and config.
#pragma once
// The FIPS entry: the one text form of a county everywhere in the editor.
//   columns 1-2   "X " when the county is programmed into the receiver, two blanks if not
//   columns 3-8   six-character SAME location code
//   columns 9-10  blanks
//   columns 11-33 county name padded to 23 characters
//   columns 34-   state name, not padded
// The FIPS list window shows the entry without its two-character mark (the "list text"),
// and carries the mark as the line's tick.

#include <QString>

inline const QString kTickedMark = QStringLiteral("X ");
inline const QString kUntickedMark = QStringLiteral("  ");

// The receiver takes at most this many ticked counties; FipsList stores this many entries.
constexpr int kMaxTickedCounties = 24;
constexpr int kMaxStoredEntries = 99;

struct FipsListLine {
    QString text;
    bool ticked = false;
};

// How a FipsList slot is shown: a ticked entry without its mark, cut to 51 characters; an
// unticked one without its leading blanks.
FipsListLine listLineForEntry(const QString &entry);
// The FipsList slot text of a list line.
QString entryForListLine(const QString &listText, bool ticked);

// The three fields of the FIPS editor.
struct FipsFields {
    QString code;   // characters 1 to 6
    QString county; // characters 9 to 31, trailing blanks included
    QString state;  // characters 32 to the end
};
FipsFields splitListText(const QString &listText);
// Code and county trimmed and two blanks apart, padded to 31 characters, then the state;
// at least one blank always stands before a state name.
QString buildListText(const QString &code, const QString &county, const QString &state);
// A location code is accepted as typed when it is exactly six characters, blanks included.
bool fipsCodeLengthValid(const QString &typedCode);

// The question before a line is removed.
QString removeLineQuestion(const QString &listText);
// The message for a location code of the wrong length.
QString fipsCodeLengthMessage();
