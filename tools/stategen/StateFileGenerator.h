#pragma once
// Turns the weather radio county coverage listing (data/nwr/nwr-county-coverage.csv) into
// the 54 state files. Used by the generator tool in tools/stategen and by the test that
// checks the committed files are exactly what the listing gives.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <map>

struct GeneratedStateFiles {
    std::map<QString, QByteArray> files; // file name -> content, all 54 state files
    QStringList problems;                // empty when the listing turned into valid files
};

GeneratedStateFiles generateStateFiles(const QByteArray &csv);

// How a transmitter is named in the files: its city with its state, fitted into 24 columns.
// The call sign stands in for a missing state.
QString transmitterDisplayName(const QString &city, const QString &state, const QString &callSign);
// A county name fitted into 22 columns.
QString countyDisplayName(const QString &county);
