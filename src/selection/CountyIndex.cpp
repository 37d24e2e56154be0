#include "selection/CountyIndex.h"

#include "selection/StateDatabase.h"

#include <QHash>
#include <algorithm>

namespace {

struct CountyIndex {
    QString directory; // the states folder it was read from
    bool read = false;
    QList<IndexedCounty> counties;
    QHash<QString, qsizetype> byCode; // position in counties
};

IndexedTransmitter transmitterOfLine(const QString &line, int stateIndex)
{
    IndexedTransmitter t;
    t.key = line.left(kStateLineWidth).right(kTransmitterKeyWidth);
    t.stateIndex = stateIndex;
    t.city = t.key.mid(1, 24).trimmed();
    t.frequency = t.key.mid(25).trimmed();
    const qsizetype comma = t.city.lastIndexOf(u',');
    t.foldedCity = foldedForSearch(comma < 0 ? t.city : t.city.left(comma));
    return t;
}

const CountyIndex &countyIndex()
{
    static CountyIndex index;
    if (index.read && index.directory == statesDirectory())
        return index;
    index = CountyIndex{statesDirectory(), true, {}, {}};
    QStringList lines;
    for (int s = 0; s < kStateCount; ++s) {
        if (!readStateFile(s, lines))
            continue; // a missing file only leaves its counties out
        for (const QString &line : lines) {
            const QString code = line.left(6);
            if (code.size() != 6)
                continue;
            qsizetype at = index.byCode.value(code, -1);
            if (at < 0) {
                IndexedCounty county;
                county.code = code;
                county.name = line.mid(8, 22).trimmed();
                county.state = stateNameForNumber(line);
                county.listText = countyEntryFromStateLine(line);
                county.foldedName = foldedForSearch(county.name);
                at = index.counties.size();
                index.byCode.insert(code, at);
                index.counties.append(county);
            }
            if (line.mid(31, kNoCoverageText.size()) == kNoCoverageText)
                continue;
            const IndexedTransmitter t = transmitterOfLine(line, s);
            QList<IndexedTransmitter> &known = index.counties[at].transmitters;
            if (std::none_of(known.begin(), known.end(), [&t](const IndexedTransmitter &k) { return k.key == t.key; }))
                known.append(t);
        }
    }
    return index;
}

} // namespace

QString foldedForSearch(const QString &text)
{
    QString folded;
    folded.reserve(text.size());
    bool pendingBlank = false;
    for (const QChar c : text) {
        if (c == u'\'')
            continue;
        if (!c.isLetterOrNumber()) {
            pendingBlank = !folded.isEmpty();
            continue;
        }
        if (pendingBlank)
            folded += u' ';
        pendingBlank = false;
        folded += c.toLower();
    }
    return folded;
}

const QList<IndexedCounty> &indexedCounties() { return countyIndex().counties; }

QString countyListTextForCode(const QString &code)
{
    const CountyIndex &index = countyIndex();
    const qsizetype at = index.byCode.value(code, -1);
    return at < 0 ? QString() : index.counties[at].listText;
}
