// Selection (src/selection): states, transmitters, counties and event codes; uses core and config.
#pragma once
// The counties of all 54 state files, read once and kept (read anew only when the states
// folder changes): a county's name and state where only its code is known, as in what the
// receiver's memory holds, and every county with the transmitters that cover it for the
// county search (CountySearch.h).

#include <QList>
#include <QString>

// The list text ("012011  Broward                Florida") of the first state file line,
// in state box order, that has `code`; empty when no state file holds it.
QString countyListTextForCode(const QString &code);

// A text as the county search compares it: lower case, an apostrophe dropped, every other
// character that is not a letter or a digit a word break, one blank between words.
QString foldedForSearch(const QString &text);

struct IndexedTransmitter {
    QString key;        // columns 31 to 62 of the state file line, as the state window lists it
    int stateIndex = 0; // the state box row whose file holds the line
    QString city;       // the city as the line holds it ("Miami, FL")
    QString frequency;  // "162.550"
    QString foldedCity; // the city without its state ("miami"), folded
};

struct IndexedCounty {
    QString code;     // six-digit location code
    QString name;     // "St. Lucie"
    QString state;    // the state name of the code ("Florida")
    QString listText; // as the FIPS list shows it
    QString foldedName;
    // In state box order and file order, each transmitter once; none when the state files
    // mark the county "--No NWR Coverage--".
    QList<IndexedTransmitter> transmitters;
};

// Every county of the 54 state files, once each by location code, in state box order.
const QList<IndexedCounty> &indexedCounties();
