#include "StateFileGenerator.h"

#include "selection/StateDatabase.h"

#include <QRegularExpression>
#include <QSet>
#include <algorithm>

namespace {

constexpr int kCityWidth = 24;
constexpr int kCountyWidth = 22;

// Splits one CSV line; fields may be quoted, with "" standing for a quotation mark.
QStringList splitCsvLine(const QString &line)
{
    QStringList fields;
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line.at(i);
        if (quoted) {
            if (c == u'"' && i + 1 < line.size() && line.at(i + 1) == u'"') {
                field += u'"';
                ++i;
            } else if (c == u'"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == u'"') {
            quoted = true;
        } else if (c == u',') {
            fields.append(field);
            field.clear();
        } else {
            field += c;
        }
    }
    fields.append(field);
    return fields;
}

// The listing marks some sites "OUT OF SERVICE" (with no-break spaces); that was the state
// of the day the listing was taken, not part of the site's name.
QString cleanSiteName(QString name)
{
    name.replace(QChar(0x00A0), u' ');
    name.remove(QStringLiteral("OUT OF SERVICE"));
    return name.simplified();
}

QString trimEnd(QString text)
{
    while (!text.isEmpty() && (text.back() == u' ' || text.back() == u',' || text.back() == u'-'))
        text.chop(1);
    return text;
}

// Shortenings tried in turn, only while a name does not fit.
QString shortenedOnce(const QString &city, int step)
{
    QString s = city;
    switch (step) {
    case 0: s.remove(u'(').remove(u')'); break;
    case 1: s.replace(QStringLiteral(" Mountain"), QStringLiteral(" Mtn")); break;
    case 2: s.replace(QStringLiteral(" County"), QStringLiteral(" Co.")); break;
    case 3: s.replace(QStringLiteral(" Nat'l. Park"), QStringLiteral(" NP")); break;
    case 4: s.replace(QStringLiteral(" National Park"), QStringLiteral(" NP")); break;
    case 5:
        if (s.endsWith(QStringLiteral(" Area")))
            s.chop(5);
        break;
    default: break;
    }
    return s.simplified();
}

QString fitCity(QString city, const QString &suffix)
{
    const int room = kCityWidth - int(suffix.size());
    for (int step = 0; city.size() > room && step < 6; ++step)
        city = shortenedOnce(city, step);
    if (city.size() > room)
        city = trimEnd(city.left(room));
    return city + suffix;
}

struct Transmitter {
    QString city, state, callSign, frequency, text;
};

bool isFrequency(const QString &text)
{
    for (int k = 1; k < kFrequencyFilterCount; ++k)
        if (text == QLatin1String(FrequencyFilter[k]))
            return true;
    return false;
}

} // namespace

QString transmitterDisplayName(const QString &city, const QString &state, const QString &callSign)
{
    const QString clean = cleanSiteName(city);
    if (state.isEmpty())
        return fitCity(clean, QStringLiteral(" (") + callSign + u')');
    if (clean.endsWith(u' ' + state)) // "Washington DC" says its state already
        return fitCity(clean, QString());
    return fitCity(clean, QStringLiteral(", ") + state);
}

QString countyDisplayName(const QString &county)
{
    QString name = county.simplified();
    if (name.size() > kCountyWidth && name.startsWith(QStringLiteral("City of ")))
        name = name.mid(8) + QStringLiteral(" City");
    if (name.size() > kCountyWidth)
        name = trimEnd(name.left(kCountyWidth));
    return name;
}

GeneratedStateFiles generateStateFiles(const QByteArray &csv)
{
    GeneratedStateFiles out;
    QStringList rows = QString::fromUtf8(csv).split(u'\n');
    for (QString &row : rows)
        if (row.endsWith(u'\r'))
            row.chop(1);
    if (rows.isEmpty() || !rows.first().startsWith(QStringLiteral("state,same,county,transmitter,"))) {
        out.problems << QStringLiteral("the listing does not start with its column names");
        return out;
    }

    // The state files a county goes into, by its postal code. The District of Columbia has
    // no file of its own: its county goes into both neighbours' files.
    std::map<QString, QList<int>> filesOfPostalCode;
    for (int s = 0; s < kStateCount; ++s) {
        QString postal = QString::fromLatin1(StateTable[s].fileName).left(2).toUpper();
        if (postal == QLatin1String("MR"))
            postal = QStringLiteral("MP");
        filesOfPostalCode[postal].append(s);
    }
    filesOfPostalCode[QStringLiteral("DC")] = {19, 45};

    struct Coverage {
        QString state, same, county, callSign;
    };
    QList<Coverage> coverage;
    std::map<QString, Transmitter> transmitters; // by call sign
    static const QRegularExpression sixDigits(QStringLiteral("^\\d{6}$"));
    for (int r = 1; r < rows.size(); ++r) {
        if (rows[r].isEmpty())
            continue;
        const QStringList f = splitCsvLine(rows[r]);
        if (f.size() < 8) {
            out.problems << QStringLiteral("line %1 has %2 fields").arg(r + 1).arg(f.size());
            continue;
        }
        if (!sixDigits.match(f[1]).hasMatch())
            out.problems << QStringLiteral("line %1: location code \"%2\"").arg(r + 1).arg(f[1]);
        const QString callSign = f[5].trimmed();
        coverage.append({f[0].trimmed(), f[1], f[2], callSign});
        if (callSign.isEmpty())
            continue;
        if (!isFrequency(f[6]))
            out.problems << QStringLiteral("line %1: frequency \"%2\"").arg(r + 1).arg(f[6]);
        const Transmitter t{cleanSiteName(f[3]), f[4].trimmed(), callSign, f[6], QString()};
        auto known = transmitters.find(callSign);
        if (known == transmitters.end())
            transmitters.emplace(callSign, t);
        else if (known->second.city != t.city || known->second.state != t.state ||
                 known->second.frequency != t.frequency)
            out.problems << QStringLiteral("call sign %1 is listed with two different sites").arg(callSign);
    }

    // Name every transmitter; where two transmitters would read the same on the same
    // channel, both take their call sign instead of the state.
    std::map<QString, QStringList> byKey;
    for (auto &[call, t] : transmitters) {
        t.text = transmitterDisplayName(t.city, t.state, call);
        byKey[t.text + t.frequency].append(call);
    }
    for (const auto &[key, calls] : byKey)
        if (calls.size() > 1)
            for (const QString &call : calls)
                transmitters[call].text = fitCity(transmitters[call].city, u' ' + call);
    QSet<QString> keys;
    for (const auto &[call, t] : transmitters) {
        if (keys.contains(t.text + t.frequency))
            out.problems << QStringLiteral("two transmitters read \"%1\" on %2").arg(t.text, t.frequency);
        keys.insert(t.text + t.frequency);
    }

    std::map<int, QStringList> linesOfState;
    for (const Coverage &c : coverage) {
        auto files = filesOfPostalCode.find(c.state);
        if (files == filesOfPostalCode.end())
            continue; // territories without a state file
        QString line = c.same + QStringLiteral("  ") + countyDisplayName(c.county).leftJustified(kCountyWidth) + u' ';
        if (c.callSign.isEmpty()) {
            line += kNoCoverageText;
        } else {
            const Transmitter &t = transmitters[c.callSign];
            line += t.text.leftJustified(kCityWidth) + t.frequency;
        }
        for (int s : files->second)
            linesOfState[s].append(line);
    }

    for (int s = 0; s < kStateCount; ++s) {
        QStringList lines = linesOfState[s];
        std::sort(lines.begin(), lines.end());
        lines.erase(std::unique(lines.begin(), lines.end()), lines.end());
        if (lines.size() > kStateFileMaxLines)
            out.problems << QStringLiteral("%1 would have %2 lines").arg(stateFileName(s)).arg(lines.size());
        QByteArray content;
        for (const QString &line : lines) {
            for (QChar c : line)
                if (c.unicode() < 0x20 || c.unicode() > 0x7E) {
                    out.problems << QStringLiteral("%1: a character outside plain ASCII in \"%2\"")
                                        .arg(stateFileName(s), line);
                    break;
                }
            content += line.toLatin1() + "\r\n";
        }
        out.files[stateFileName(s)] = content;
    }
    return out;
}
