// Selection (src/selection): states, transmitters, counties and event codes; uses core and config.
#pragma once
// Finding a county anywhere: the search of the "Find County" window over every county of
// the 54 state files (CountyIndex.h), without a window.
//
// What the owner types is read as
//   - digits: the leading digits of a six-digit location code ("012011", "0120");
//   - otherwise the start of a word of the county name, case and punctuation ignored
//     ("st lucie", "lucie" and "St. Lucie" all find St. Lucie); words typed together must
//     follow each other in the name;
//   - when no county name matches: the start of a word of a transmitter's city, which finds
//     every county that transmitter covers.
// Matches come with the name (or code) equal to what was typed first, then by state, then
// by county name.

#include "selection/CountyIndex.h"

#include <QList>
#include <QString>

// The search starts with this many characters typed.
constexpr int kCountySearchMinimum = 2;

struct CountySearchResult {
    QList<IndexedCounty> matches;
    bool byCity = false;   // found by a transmitter's city, no county name matching
    bool tooShort = false; // fewer than kCountySearchMinimum characters to search for
};

CountySearchResult findCounties(const QString &typed);

// "1 county", "3 counties", "No county found", or what to type while the text is too short.
QString matchCountText(const CountySearchResult &result);
