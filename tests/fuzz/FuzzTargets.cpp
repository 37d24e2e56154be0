// The fuzz targets, one per parser of outside data, in one program: the name it is started by (a
// link fuzz_<target>) picks one. A broken rule stops the run, so that libFuzzer keeps the input.
#include "config/ConfigurationFile.h"
#include "config/DaylightState.h"
#include "config/ParameterFile.h"
#include "config/ReceiverConfig.h"
#include "config/SettingsStore.h"
#include "core/Platform.h"
#include "diagnostics/DataDump.h"
#include "link/HistoryDecoding.h"
#include "link/ReceiverLink.h"
#include "link/TransferData.h"
#include "selection/EventTable.h"
#include "selection/StateDatabase.h"
#include <QCoreApplication>
#include <QDir>
#include <QRegularExpression>
#include <QSet>
#include <QSettings>
#include <QTemporaryDir>
#include <cstdio>

#define FUZZ_CHECK(rule) ((rule) ? void() : (std::fprintf(stderr, "Broken rule at %s:%d: %s\n", __FILE__, __LINE__, #rule), std::abort()))

namespace {

QMessageBox::StandardButton nextAnswer = QMessageBox::Yes; // what the next message box gets
int messagesShown = 0;
QSet<QString> stateNames;

QByteArray bytes(const uint8_t *data, size_t size, size_t from = 0)
{
    return QByteArray(reinterpret_cast<const char *>(data) + from, qsizetype(size - from));
}

void writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(content) == content.size());
}

// History records after the time zone (byte 0) and daylight saving (byte 1: owner's, PC's, leap year).
void history(const uint8_t *data, size_t size)
{
    if (size < 2)
        return;
    ReceiverConfig.EDITOR.TimeZoneOffset = qint16(qint8(data[0]));
    ReceiverConfig.EDITOR.DaylightSavings = data[1] & 1;
    PcDaylightActive = data[1] & 2;
    Platform::setWallClock([leap = data[1] & 4] { return QDateTime(QDate(leap ? 2028 : 2026, 6, 15), QTime(12, 0)); });
    DownloadBufferBytes &buffer = ReceiverLink::instance().DownloadBuffer;
    std::fill(std::copy_n(data + 2, std::min<size_t>(size - 2, 1279), buffer.begin()), buffer.end(), 0);
    decodeHistory();
    static const QRegularExpression time(QStringLiteral("^([01][0-9]|2[0-3]):[0-5][0-9]$"));
    static const QRegularExpression date(QStringLiteral("^([1-9]|[12][0-9]|3[01])-(January|February|March|"
                                                        "April|May|June|July|August|September|October|November|December)$"));
    for (int r = 0; r <= kHistoryRecords; ++r) { // entry 40 stays empty
        const HistoryEntry &e = HistoryTable[r];
        if (r == kHistoryRecords || buffer[kHistoryRecordSize * r] == 0)
            FUZZ_CHECK(!e.holdsAlert() && e.Time.isEmpty() && e.Length.isEmpty() && e.Org.isEmpty() && e.AlertClass == 0);
        else
            FUZZ_CHECK(e.holdsAlert() && !e.Event.isEmpty() && (e.Time.isEmpty() || time.match(e.Time).hasMatch()) &&
                       (e.Date.isEmpty() || date.match(e.Date).hasMatch()) && e.Length.size() == 5 && e.Length[2] == u':' &&
                       (e.Org.isEmpty() || (e.Org.size() == 3 && e.Org[0] >= u'A' && e.Org[0] <= u'Z')) &&
                       e.AlertClass >= 0 && e.AlertClass <= 2 &&
                       (e.Event != QLatin1String("Unknown Event Code") || e.AlertClass == 0));
    }
}

// The NV dump of any 512 bytes (the buffer on the heap, so that a read past its end is caught).
void nv_dump(const uint8_t *data, size_t size)
{
    const auto buffer = std::make_unique<DumpBufferBytes>(); // all 0, as the program leaves the rest
    std::copy_n(data, std::min<size_t>(size, kNvDumpBytes), buffer->begin());
    const QString text = formatNvDump(*buffer), &nl = kDumpLineEnd;
    const QString fipsHeading = nl + nl + QStringLiteral("..................STORED FIP CODES.......................") + nl;
    const QString eventHeading = nl + QStringLiteral(".................STORED EVENT CODES......................") + nl;
    const QString closing = QStringLiteral("..................End Of Data Dump.......................") + nl;
    qsizetype p = text.lastIndexOf(fipsHeading), end = text.size() - closing.size(), counties = 0, events = 0;
    FUZZ_CHECK(text.endsWith(closing) && p >= 0);
    for (p += fipsHeading.size(); text.mid(p, eventHeading.size()) != eventHeading; p += 8, ++counties) // six characters, the first a digit
        FUZZ_CHECK(p + 8 <= text.size() && text[p].isDigit() && text.mid(p + 6, 2) == nl);
    for (p += eventHeading.size(); p < end; ++events) { // a capital, two more, two blanks, a name, a line end
        const qsizetype lineEnd = text.indexOf(nl, p + 5);
        FUZZ_CHECK(text[p] >= u'A' && text[p] <= u'Z' && text.mid(p + 3, 2) == QLatin1String("  ") &&
                   lineEnd > p + 5 && lineEnd + 2 <= end);
        p = lineEnd + 2;
    }
    FUZZ_CHECK(p == end && counties <= 99 && events <= 48);
}

template <typename List> List stored(List list) // as the parameter file stores entries: control characters as blanks
{
    for (QString &entry : list)
        for (QChar &c : entry)
            c = (c.unicode() < 0x20 || c.unicode() == 0x7F) ? QChar(u' ') : c;
    return list;
}

// The parameter file: the image built from the lists keeps the receiver's limits; what is written back
// has 151 CR LF lines and reads back the same.
void parameter_file(const uint8_t *data, size_t size)
{
    const auto readAfresh = [] { return clearReceiverConfig(), messagesShown = 0, readParameterFile(); };
    writeFile(kParameterFileName, bytes(data, size));
    nextAnswer = (size & 1) ? QMessageBox::No : QMessageBox::Yes;
    const bool read = readAfresh();
    FUZZ_CHECK(messagesShown <= 1 && FipsList[99].isEmpty() && read == (messagesShown == 0 || nextAnswer == QMessageBox::Yes));
    static TransferImageBytes image;
    image.fill(0xAA);
    buildSelectionArea(image);
    QByteArray counties, events; // each code with its dash, one after the other, then zeros
    for (int slot = 0, n = 0; slot <= 98 && n < 24; ++slot)
        if (FipsList[slot].startsWith(QLatin1String("X ")) && FipsList[slot].size() >= 8)
            counties += FipsList[slot].mid(2, 6).toLatin1() + '-', ++n;
    for (int slot = 0, n = 0; slot < int(EventList.size()) && n < 48; ++slot) {
        const QByteArray code = EventList[slot].toLatin1() + '-';
        if (kEventAreaStart + events.size() + code.size() > kEventAreaEnd)
            break;
        if (code.size() > 1)
            events += code, ++n;
    }
    FUZZ_CHECK(QByteArray(reinterpret_cast<const char *>(image.data()), kEventAreaEnd + 1) ==
               QByteArray(kFipsAreaStart, '\xAA') + counties.leftJustified(kFipsAreaEnd - kFipsAreaStart, '\0') +
                   events.leftJustified(kEventAreaEnd - kEventAreaStart, '\0') + '\xAA');
    const QByteArray content = parameterFileContent();
    FUZZ_CHECK(content.count("\r\n") == kParameterFileLines && content.count('\n') == kParameterFileLines &&
               content.count('\r') == kParameterFileLines && content.endsWith("\r\n"));
    const auto fipsWritten = stored(FipsList);
    const auto eventsWritten = stored(EventList);
    FUZZ_CHECK(writeParameterFile() && readAfresh() && messagesShown == 0 && FipsList == fipsWritten &&
               EventList == eventsWritten);
}

// The raw dump's answer through its filter: the text shown is "ZCZC" and each character above 31 after
// it, with the line ends after the 62nd and 124th character and nothing else below 32.
void raw_dump(const uint8_t *data, size_t size)
{
    RawDumpFilter filter;
    QString shown; // every character above 31, in order
    for (size_t i = 0; i < size; ++i) {
        FUZZ_CHECK(filter.take(data[i]) == (data[i] == ETX));
        if (data[i] > 31)
            shown += QChar(char16_t(data[i]));
    }
    const qsizetype start = shown.indexOf(QLatin1String("ZCZC"));
    QString raw = filter.raw();
    FUZZ_CHECK(filter.started() == (start >= 0) && filter.started() != raw.isEmpty());
    if (!filter.started())
        return;
    FUZZ_CHECK(raw.startsWith(QLatin1String("ZCZC")));
    for (int at : {124, 62})
        if (raw.size() >= at + 2)
            FUZZ_CHECK(raw.mid(at, 2) == kDumpLineEnd), raw.remove(at, 2);
    FUZZ_CHECK(raw == shown.mid(start)); // and so nothing else below 32
}

QString storePath() { return QSettings(QStringLiteral("Orvane"), QStringLiteral("Orvane")).fileName(); }
QByteArray storeBytes()
{
    QFile file(storePath());
    FUZZ_CHECK(file.open(QIODevice::ReadOnly));
    return file.readAll();
}

// The store's file, or (byte 0, bit 0) values split at 0 bytes stored under the keys in order.
void settings(const uint8_t *data, size_t size)
{
    if (size < 1)
        return;
    static int round = 0; // a folder for every input: the settings class keeps the files it has read
    QTemporaryDir home(QDir::current().filePath(QStringLiteral("store-%1-XXXXXX").arg(++round)));
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, home.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, home.path());
    const QByteArray rest = bytes(data, size, 1);
    const QStringList keys = settingsStoreKeys();
    QStringList values;
    if (data[0] & 1) {
        QSettings store(QStringLiteral("Orvane"), QStringLiteral("Orvane"));
        values = QString::fromLatin1(rest).split(QChar(u'\0'));
        for (qsizetype k = 0; k < values.size() && k < keys.size(); ++k)
            store.setValue(keys[k], values[k]);
    } else {
        QDir().mkpath(home.path() + QStringLiteral("/Orvane"));
        writeFile(storePath(), rest);
    }
    clearReceiverConfig();
    constexpr qint16 kUntouched = 12345; // no store value loads as this by chance in a short input
    ReceiverConfig.TIMERS.PreVoiceAnnc = kUntouched;
    const bool loaded = loadSettings();
    FUZZ_CHECK(loaded || ReceiverConfig.TIMERS.PreVoiceAnnc == kUntouched); // the last key keeps its value
    const EditorGroup &e = ReceiverConfig.EDITOR;
    for (const auto &[key, field] : {std::pair{"WorkingDirectory", &e.WorkingDirectory}, {"EditorVersion", &e.EditorVersion},
                                     {"ReceiverVersion", &e.ReceiverVersion}, {"TransmitterLocation", &e.TransmitterLocation},
                                     {"UserStationID", &e.UserStationID}}) {
        const qsizetype k = keys.indexOf(QStringLiteral("EDITOR/") + QLatin1String(key));
        FUZZ_CHECK(k >= 0 && (!loaded || k >= values.size() || *field == values[k]));
    }
    buildSettingsImage();
    const auto &image = SettingsImage;
    FUZZ_CHECK(image[0] == 0 && image[6] == 0 && image[12] == 0 && image[13] == 0 && image[14] == 0 && image[15] == 0);
    FUZZ_CHECK(image[1] <= 6 && image[2] <= 6 && image[3] <= 6 && image[4] <= 4 && image[5] <= 4);
    FUZZ_CHECK(image[16] <= 15 && image[16] == (e.UserStationID.size() < 16 ? e.UserStationID.size() : 0));
    for (int i = 17; i < 32; ++i)
        FUZZ_CHECK(image[i] <= 36 && (i < 17 + image[16] || image[i] == 0));
    FUZZ_CHECK(saveSettings());
    const QByteArray saved = storeBytes();
    const ReceiverConfigRecord before = ReceiverConfig;
    clearReceiverConfig();
    FUZZ_CHECK(loadSettings() && e.UserStationID == before.EDITOR.UserStationID &&
               e.WorkingDirectory == before.EDITOR.WorkingDirectory && ReceiverConfig.TIMERS.PreVoiceAnnc == before.TIMERS.PreVoiceAnnc);
    FUZZ_CHECK(saveSettings() && storeBytes() == saved);
}

void writeStateFile(int state, const QByteArray &content) { writeFile(QStringLiteral("States/") + stateFileName(state), content); }
qsizetype lineCount(const QByteArray &text) { return text.count('\n') + (!text.isEmpty() && !text.endsWith('\n')); }

// Byte 0 the channel filter and the room in the county list, the rest split at a form feed (or its middle)
// into the first two state files (the others empty).
void state_file(const uint8_t *data, size_t size)
{
    if (size < 1)
        return;
    const int filter = data[0] % kFrequencyFilterCount, room = data[0] / kFrequencyFilterCount; // room 0 to 31
    const QByteArray input = bytes(data, size, 1);
    const qsizetype split = input.indexOf('\f');
    const QByteArray first = input.left(split >= 0 ? split : input.size() / 2);
    const QByteArray second = input.mid(split >= 0 ? split + 1 : input.size() / 2);
    writeStateFile(0, first);
    writeStateFile(1, second);
    QStringList lines, more;
    const bool read = readStateFile(0, lines);
    FUZZ_CHECK(read == (lineCount(first) <= kStateFileMaxLines) && lines.size() == (read ? lineCount(first) : 0) &&
               !lines.join(QString()).contains(u'\n'));
    const QStringList keys = transmitterKeys(lines, frequencyText(filter));
    FUZZ_CHECK(keys.size() <= kStateFileMaxLines && QSet<QString>(keys.begin(), keys.end()).size() == keys.size());
    for (qsizetype k = 0; k < keys.size(); ++k)
        FUZZ_CHECK(!keys[k].isEmpty() && keys[k].size() <= kTransmitterKeyWidth &&
                   (k == 0 || keys[k - 1].compare(keys[k], Qt::CaseInsensitive) <= 0));
    if (keys.isEmpty())
        return;
    // The county scan for the first transmitter over both files: unless it stopped, every county they hold.
    const TransmitterCounties found = countiesForTransmitter(keys[0], room);
    const QSet<QString> entries(found.entries.begin(), found.entries.end());
    FUZZ_CHECK(found.entries.size() <= room && SeenList.count <= kStateFileMaxLines &&
               entries.size() == found.entries.size() && (!found.complete || lineCount(second) <= kStateFileMaxLines));
    if (found.complete && readStateFile(1, more))
        for (const QString &line : lines + more)
            if (line.mid(30, kTransmitterKeyWidth).trimmed() == keys[0].trimmed())
                FUZZ_CHECK(entries.contains(countyEntryFromStateLine(line)));
}

// One line of a state file: its county entry, its state name and its transmitter key under each channel filter.
void state_line(const uint8_t *data, size_t size)
{
    const QString line = QString::fromLatin1(bytes(data, std::min<size_t>(size, 400)).replace('\n', ' '));
    const QString state = stateNameForNumber(line), cut = line.left(kStateLineWidth);
    FUZZ_CHECK(state.isEmpty() || (stateNames.contains(state) && line.size() >= 3 && line[1].isDigit() && line[2].isDigit()));
    FUZZ_CHECK(countyEntryFromStateLine(line) == line.left(kCountyPartWidth) + state);
    const bool uncovered = line.isEmpty() || line.mid(31, kNoCoverageText.size()) == kNoCoverageText;
    for (int filter = 0; filter < kFrequencyFilterCount; ++filter) {
        const QString frequency = frequencyText(filter);
        const QStringList keys = transmitterKeys({line}, frequency);
        FUZZ_CHECK(keys.size() <= 1 && (!uncovered || keys.isEmpty()));
        if (!keys.isEmpty())
            FUZZ_CHECK(keys[0] == cut.right(kTransmitterKeyWidth) && (frequency.isEmpty() || cut.mid(55, 7) == frequency) &&
                       keys[0].size() == std::min<qsizetype>(cut.size(), kTransmitterKeyWidth));
    }
}

// A configuration file: refused with a line inside the file and a reason, or read into a content
// that is written back as a file reading as the same, untouched by what the program holds.
void configuration_file(const uint8_t *data, size_t size)
{
    const QByteArray input = bytes(data, size);
    clearReceiverConfig();
    const QByteArray held = configurationFileText(currentConfiguration());
    const ConfigurationParse parse = parseConfigurationFile(input);
    FUZZ_CHECK(configurationFileText(currentConfiguration()) == held);
    if (!parse.ok) {
        FUZZ_CHECK(!parse.error.isEmpty() && parse.line >= 0 && parse.line <= input.count('\n') + 2);
        return;
    }
    const QByteArray written = configurationFileText(parse.content);
    const ConfigurationParse again = parseConfigurationFile(written);
    FUZZ_CHECK(again.ok && configurationFileText(again.content) == written);
}

void (*check)(const uint8_t *, size_t) = nullptr;

} // namespace

// Once a process: the application object, a scratch folder as the current one, the doubles, the target.
extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    static QCoreApplication app(*argc, *argv);
    static QTemporaryDir scratch(QDir::tempPath() + QStringLiteral("/orvane-fuzz-XXXXXX"));
    FUZZ_CHECK(scratch.isValid() && QDir::setCurrent(scratch.path()) && QDir().mkpath(QStringLiteral("States")));
    Platform::setMessagePresenter([](const MessageRequest &) { return ++messagesShown, nextAnswer; });
    Platform::setBeeper([] {});
    Platform::setProgramEnder([] { FUZZ_CHECK(!"the program would have ended"); });
    Platform::setWallClock([] { return QDateTime(QDate(2026, 6, 15), QTime(12, 0)); });
    initEventTable();
    for (int n = 0; n < 100; ++n)
        stateNames.insert(stateNameForNumber(QStringLiteral("0%1").arg(n, 2, 10, QChar(u'0'))));
    stateNames.remove(QString());
    FUZZ_CHECK(stateNames.size() == 55); // 54 states and territories and the District of Columbia
    setStatesDirectory(QDir::current().filePath(QStringLiteral("States")));
    for (int s = 0; s < kStateCount; ++s)
        writeStateFile(s, QByteArray());
    check = QHash<QByteArray, void (*)(const uint8_t *, size_t)>{
        {"fuzz_configuration_file", configuration_file}, {"fuzz_history", history}, {"fuzz_nv_dump", nv_dump}, {"fuzz_parameter_file", parameter_file},
        {"fuzz_raw_dump", raw_dump}, {"fuzz_settings", settings}, {"fuzz_state_file", state_file},
        {"fuzz_state_line", state_line}}.value(QByteArray((*argv)[0]).split('/').last());
    FUZZ_CHECK(check != nullptr); // started as fuzz_<target>
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) { return check(data, size), 0; }
