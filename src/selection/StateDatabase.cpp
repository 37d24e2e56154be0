#include "selection/StateDatabase.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <algorithm>

const std::array<StateRow, kStateCount> StateTable = {{
    {"Alabama", "Al_102.st"},        {"Alaska", "Ak_101.st"},        {"Arizona", "Az_104.st"},
    {"Arkansas", "Ar_103.st"},       {"California", "Ca_105.st"},    {"Colorado", "Co_106.st"},
    {"Connecticut", "Ct_107.st"},    {"Delaware", "De_108.st"},      {"Florida", "Fl_109.st"},
    {"Georgia", "Ga_110.st"},        {"Hawaii", "Hi_111.st"},        {"Idaho", "Id_113.st"},
    {"Illinois", "Il_114.st"},       {"Indiana", "In_115.st"},       {"Iowa", "Ia_112.st"},
    {"Kansas", "Ks_116.st"},         {"Kentucky", "Ky_117.st"},      {"Louisiana", "La_118.st"},
    {"Maine", "Me_121.st"},          {"Maryland", "Md_120.st"},      {"Massachusetts", "Ma_119.st"},
    {"Michigan", "Mi_122.st"},       {"Minnesota", "Mn_123.st"},     {"Mississippi", "Ms_125.st"},
    {"Missouri", "Mo_124.st"},       {"Montana", "Mt_126.st"},       {"Nebraska", "Ne_129.st"},
    {"Nevada", "Nv_133.st"},         {"New Hampshire", "Nh_130.st"}, {"New Jersey", "Nj_131.st"},
    {"New Mexico", "Nm_132.st"},     {"New York", "Ny_134.st"},      {"North Carolina", "Nc_127.st"},
    {"North Dakota", "Nd_128.st"},   {"Ohio", "Oh_135.st"},          {"Oklahoma", "Ok_136.st"},
    {"Oregon", "Or_137.st"},         {"Pennsylvania", "Pa_138.st"},  {"Rhode Island", "Ri_139.st"},
    {"South Carolina", "Sc_140.st"}, {"South Dakota", "Sd_141.st"},  {"Tennessee", "Tn_142.st"},
    {"Texas", "Tx_143.st"},          {"Utah", "Ut_144.st"},          {"Vermont", "Vt_146.st"},
    {"Virginia", "Va_145.st"},       {"Washington", "Wa_147.st"},    {"West Virginia", "Wv_149.st"},
    {"Wisconsin", "Wi_148.st"},      {"Wyoming", "Wy_150.st"},       {"Guam", "Gu_151.st"},
    {"N Mariana Islands", "Mr_152.st"}, {"Puerto Rico", "Pr_153.st"}, {"US Virgin Islands", "Vi_154.st"},
}};

const std::array<const char *, kFrequencyFilterCount> FrequencyFilter = {
    "All", "162.400", "162.425", "162.450", "162.475", "162.500", "162.525", "162.550"};

std::array<QString, kStateFileMaxLines> StateLines;
SeenListBuffer SeenList;

namespace {

QString statesDirectoryOverride;

// The state numbers of location codes. It differs from the state box: it knows the
// District of Columbia, and calls the Northern Mariana Islands "Mariana Islands".
struct StateNumber {
    const char *number;
    const char *name;
};
constexpr StateNumber kStateNumbers[] = {
    {"01", "Alabama"},       {"02", "Alaska"},         {"04", "Arizona"},
    {"05", "Arkansas"},      {"06", "California"},     {"08", "Colorado"},
    {"09", "Connecticut"},   {"10", "Delaware"},       {"11", "District Of Columbia"},
    {"12", "Florida"},       {"13", "Georgia"},        {"15", "Hawaii"},
    {"16", "Idaho"},         {"17", "Illinois"},       {"18", "Indiana"},
    {"19", "Iowa"},          {"20", "Kansas"},         {"21", "Kentucky"},
    {"22", "Louisiana"},     {"23", "Maine"},          {"24", "Maryland"},
    {"25", "Massachusetts"}, {"26", "Michigan"},       {"27", "Minnesota"},
    {"28", "Mississippi"},   {"29", "Missouri"},       {"30", "Montana"},
    {"31", "Nebraska"},      {"32", "Nevada"},         {"33", "New Hampshire"},
    {"34", "New Jersey"},    {"35", "New Mexico"},     {"36", "New York"},
    {"37", "North Carolina"}, {"38", "North Dakota"},  {"39", "Ohio"},
    {"40", "Oklahoma"},      {"41", "Oregon"},         {"42", "Pennsylvania"},
    {"44", "Rhode Island"},  {"45", "South Carolina"}, {"46", "South Dakota"},
    {"47", "Tennessee"},     {"48", "Texas"},          {"49", "Utah"},
    {"50", "Vermont"},       {"51", "Virginia"},       {"53", "Washington"},
    {"54", "West Virginia"}, {"55", "Wisconsin"},      {"56", "Wyoming"},
    {"66", "Guam"},          {"69", "Mariana Islands"}, {"72", "Puerto Rico"},
    {"78", "US Virgin Islands"},
};

} // namespace

QString stateFileName(int stateIndex)
{
    if (stateIndex < 0 || stateIndex >= kStateCount)
        return QString();
    return QString::fromLatin1(StateTable[stateIndex].fileName);
}

QString frequencyText(int filterIndex)
{
    if (filterIndex < 1 || filterIndex >= kFrequencyFilterCount)
        return QString();
    return QString::fromLatin1(FrequencyFilter[filterIndex]);
}

QString stateNameForNumber(const QString &text)
{
    const QString number = text.mid(1, 2);
    for (const StateNumber &entry : kStateNumbers)
        if (number == QLatin1String(entry.number))
            return QString::fromLatin1(entry.name);
    return QString();
}

QString statesDirectory()
{
    if (!statesDirectoryOverride.isEmpty())
        return statesDirectoryOverride;
    return QCoreApplication::applicationDirPath() + QStringLiteral("/States");
}

void setStatesDirectory(const QString &directory) { statesDirectoryOverride = directory; }

void clearStateLines(int lastSlot)
{
    for (int k = 0; k <= lastSlot && k < kStateFileMaxLines; ++k)
        StateLines[k].clear();
}

void clearSeenList()
{
    for (int k = 0; k < SeenList.count && k < kStateFileMaxLines; ++k)
        SeenList.texts[k].clear();
    SeenList.count = 0;
}

bool seenListFull() { return SeenList.count >= kStateFileMaxLines; }

bool markSeen(const QString &text)
{
    for (int k = 0; k < SeenList.count; ++k)
        if (SeenList.texts[k] == text)
            return true;
    if (seenListFull())
        return true;
    SeenList.texts[SeenList.count++] = text;
    return false;
}

bool readStateFile(int stateIndex, QStringList &lines)
{
    lines.clear();
    const QString name = stateFileName(stateIndex);
    if (name.isEmpty())
        return false;
    QFile file(QDir(statesDirectory()).filePath(name));
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray content = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return false;
    QList<QByteArray> raw = content.split('\n');
    if (!raw.isEmpty() && raw.last().isEmpty())
        raw.removeLast(); // the line end of the last line
    if (raw.size() > kStateFileMaxLines)
        return false;
    for (QByteArray &line : raw) {
        if (line.endsWith('\r'))
            line.chop(1);
        lines.append(QString::fromLatin1(line));
    }
    return true;
}

QStringList transmitterKeys(const QStringList &lines, const QString &frequency)
{
    clearSeenList();
    QStringList keys;
    for (const QString &whole : lines) {
        if (whole.isEmpty() || whole.mid(31, kNoCoverageText.size()) == kNoCoverageText)
            continue;
        const QString line = whole.left(kStateLineWidth);
        if (!frequency.isEmpty() && line.mid(55, 7) != frequency)
            continue;
        const QString key = line.right(kTransmitterKeyWidth);
        if (!markSeen(key))
            keys.append(key);
    }
    std::sort(keys.begin(), keys.end(), [](const QString &a, const QString &b) {
        const int c = a.compare(b, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a < b;
    });
    return keys;
}

QString countyEntryFromStateLine(const QString &line)
{
    return line.left(kCountyPartWidth) + stateNameForNumber(line);
}

TransmitterCounties countiesForTransmitter(const QString &transmitterKey, int maxEntries)
{
    TransmitterCounties result;
    clearSeenList();
    const QString wanted = transmitterKey.trimmed();
    QStringList lines;
    for (int s = 0; s < kStateCount; ++s) {
        if (!readStateFile(s, lines)) {
            result.complete = false;
            return result;
        }
        for (const QString &line : lines) {
            if (line.mid(30, kTransmitterKeyWidth).trimmed() != wanted)
                continue;
            const QString county = line.left(kCountyPartWidth);
            if (seenListFull() || result.entries.size() >= maxEntries) {
                // A county not met before cannot be taken any more.
                bool known = false;
                for (int k = 0; k < SeenList.count && !known; ++k)
                    known = SeenList.texts[k] == county;
                if (!known) {
                    result.complete = false;
                    return result;
                }
                continue;
            }
            if (!markSeen(county))
                result.entries.append(countyEntryFromStateLine(line));
        }
    }
    return result;
}
