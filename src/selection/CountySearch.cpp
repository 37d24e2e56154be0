#include "selection/CountySearch.h"

#include <algorithm>

namespace {

// True when `words` begins a word of `folded` (both folded, words one blank apart).
bool startsAWord(const QString &folded, const QString &words)
{
    for (qsizetype at = folded.indexOf(words); at >= 0; at = folded.indexOf(words, at + 1))
        if (at == 0 || folded.at(at - 1) == u' ')
            return true;
    return false;
}

bool allDigits(const QString &text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.isDigit(); });
}

} // namespace

CountySearchResult findCounties(const QString &typed)
{
    CountySearchResult result;
    const QString words = foldedForSearch(typed);
    if (words.size() < kCountySearchMinimum) {
        result.tooShort = true;
        return result;
    }
    const bool byCode = allDigits(words);
    struct Hit {
        const IndexedCounty *county;
        bool exact;
    };
    QList<Hit> hits;
    for (const IndexedCounty &county : indexedCounties()) {
        if (byCode ? county.code.startsWith(words) : startsAWord(county.foldedName, words))
            hits.append({&county, byCode ? county.code == words : county.foldedName == words});
    }
    if (hits.isEmpty() && !byCode) {
        for (const IndexedCounty &county : indexedCounties()) {
            const auto &ts = county.transmitters;
            const auto city = std::find_if(ts.begin(), ts.end(),
                                           [&words](const IndexedTransmitter &t) { return startsAWord(t.foldedCity, words); });
            if (city != ts.end())
                hits.append({&county, city->foldedCity == words});
        }
        result.byCity = !hits.isEmpty();
    }
    std::stable_sort(hits.begin(), hits.end(), [](const Hit &a, const Hit &b) {
        if (a.exact != b.exact)
            return a.exact;
        if (const int c = a.county->state.compare(b.county->state, Qt::CaseInsensitive); c != 0)
            return c < 0;
        if (const int c = a.county->name.compare(b.county->name, Qt::CaseInsensitive); c != 0)
            return c < 0;
        return a.county->code < b.county->code;
    });
    result.matches.reserve(hits.size());
    for (const Hit &hit : hits)
        result.matches.append(*hit.county);
    return result;
}

QString matchCountText(const CountySearchResult &result)
{
    if (result.tooShort)
        return QStringLiteral("Type at least %1 characters").arg(kCountySearchMinimum);
    switch (result.matches.size()) {
    case 0:
        return QStringLiteral("No county found");
    case 1:
        return QStringLiteral("1 county");
    default:
        return QStringLiteral("%1 counties").arg(result.matches.size());
    }
}
