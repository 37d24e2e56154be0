#include "diagnostics/ReceiverProgramming.h"

#include "diagnostics/DataDump.h"
#include "link/HistoryDecoding.h"
#include "link/TransferData.h"
#include "selection/CountyIndex.h"
#include "selection/FipsEntry.h"

#include <QSet>
#include <algorithm>

namespace {

constexpr int kIdLengthByte = 16;
constexpr int kMaxIdLength = 15;
constexpr int kMaxEvents = 48;
constexpr int kFipsEntryBytes = 7;
constexpr int kEventEntryBytes = 4;

bool isDigit(quint8 b) { return b >= '0' && b <= '9'; }
bool isCapital(quint8 b) { return b >= 'A' && b <= 'Z'; }
QString address(int byte) { return QStringLiteral("0x%1").arg(0x8000 + byte, 4, 16, QChar(u'0')).toUpper().replace(u'X', u'x'); }

// A label in the data dump's style: the name, a blank, dots to column 50, a blank.
QString dotted(const QString &name)
{
    QString label = name + u' ';
    if (label.size() < 50)
        label += QString(50 - label.size(), u'.');
    return label + u' ';
}

struct Timer {
    int byte;
    const char *name;
    int low, high;
    std::array<const char *, 7> words;
};
const std::array<Timer, 5> kTimers = {{
    {1, "Speaker Timeout", 1, 6, {"0", "1 Minute", "2 Minutes", "3 Minutes", "4 Minutes", "5 Minutes", "6 Minutes"}},
    {2, "Line Timeout", 1, 6, {"0", "1 Minute", "2 Minutes", "3 Minutes", "4 Minutes", "5 Minutes", "6 Minutes"}},
    {3, "Voice Interval Time", 1, 6, {"0", "5 Minutes", "10 Minutes", "15 Minutes", "20 Minutes", "25 Minutes", "30 Minutes"}},
    {4, "Relay Activation Delay", 0, 4, {"0", "2 Seconds", "4 Seconds", "6 Seconds", "8 Seconds", nullptr, nullptr}},
    {5, "Pre Voice Delay", 0, 4, {"0", "0.5 Second", "1.0 Second", "1.5 Seconds", "2.0 Seconds", nullptr, nullptr}},
}};

QString timerText(const Timer &t, quint8 code)
{
    return code < t.words.size() && t.words[code] ? QString::fromLatin1(t.words[code]) : QStringLiteral("code %1").arg(code);
}

// The record field each timer byte comes from.
qint16 &timerField(TimersGroup &t, int byte)
{
    switch (byte) {
    case 1: return t.SpeakerTimeoutTimer;
    case 2: return t.LineTimeoutTimer;
    case 3: return t.VoiceIntervalTimer;
    case 4: return t.RelayDelayTimer;
    default: return t.PreVoiceAnnc;
    }
}

// The flag bytes' fields by bit; where the data dump words a bit, its words name it.
struct FlagByte {
    int byte;
    const char *group;
    std::array<const char *, 8> names;
};
const std::array<FlagByte, 5> kFlagBytes = {{
    {7, "NV8007", {"Append station identification", "Proceed announcement with \"This Is\"", "Append \"Repeater\" after ID",
                   "Append \"Transmitter\" after ID", "Spare8007_1", "Spare8007_2", "Spare8007_3", "Spare8007_4"}},
    {8, "NV8008", {"SpeakerActive", "LineActive", "AlertLedActive", "ForceOnSpeaker", "ForceOnLine",
                   "Accept All FIP Codes", "Accept All Event Codes", "Ignore Termination Packet"}},
    {9, "NV8009", {"AcceptAllAlerts", "WatchAndWarningOnly", "WarningOnly", "CancelAlert", "SkipVoiceAnnc",
                   "ForceVocInterval", "Spare8009_1", "Spare8009_2"}},
    {10, "NV800A", {"AcceptAllAlerts", "WatchAndWarningOnly", "WarningOnly", "CancelAlert", "SkipVoiceAnnc",
                    "ForceVocInterval", "Spare800A_1", "Spare800A_2"}},
    {11, "NV800B", {"VoiceIntervalSpeaker", "Permit Voice Interval Annc", "Permit announcements on all decoded events",
                    "Permit announcements on Warnings and Watches only", "Permit announcements on Warnings only",
                    "Limit Monthly/Weekly Test to 15 Minutes Max", "Spare800B_1", "Spare800B_2"}},
}};

QString flagName(const FlagByte &f, int n)
{
    const QString name = QString::fromLatin1(f.names[n]);
    // A bit the dump does not word is named by its settings key.
    return name.contains(u' ') ? name : QString::fromLatin1(f.group) + u'.' + name;
}

std::array<bool *, 8> recordFlags(ReceiverConfigRecord &r, int byte)
{
    switch (byte) {
    case 7: return flagBits(r.NV8007);
    case 8: return flagBits(r.NV8008);
    case 9: return flagBits(r.NV8009);
    case 10: return flagBits(r.NV800A);
    default: return flagBits(r.NV800B);
    }
}

QString chars(const MemoryBytes &m, int from, int count)
{
    QString text;
    for (int i = from; i < from + count; ++i)
        text += QChar(m[i]);
    return text;
}

// The entries of a list area as the data dump reads them: up to the first byte that cannot
// begin one. `covered` marks the bytes the entries take.
QStringList listEntries(const MemoryBytes &m, int start, int end, int length, int most, bool (*first)(quint8),
                        std::array<bool, kMemoryBytes> &covered)
{
    QStringList entries;
    for (int p = start; p + length < end && entries.size() < most && first(m[p]); p += length + 1) {
        entries.append(chars(m, p, length));
        std::fill(covered.begin() + p, covered.begin() + p + length + 1, true);
    }
    return entries;
}

QString identification(const MemoryBytes &m)
{
    QString id;
    for (int i = 1; i <= std::min<int>(m[kIdLengthByte], kMaxIdLength); ++i)
        id += m[kIdLengthByte + i] <= 36 ? DecodeIdChar(m[kIdLengthByte + i]) : QStringLiteral("?");
    return id;
}

QString eventWords(const QString &code)
{
    qint16 alertClass = 0;
    const QString name = lookupEvent(code, alertClass);
    return name.isEmpty() ? code : code + QStringLiteral("  ") + name;
}

// The entries present on one side only, and a change of order between the two.
void compareLists(QStringList &out, const QString &what, const QStringList &receiver, const QStringList &editor,
                  const std::function<QString(const QString &)> &words)
{
    const QSet<QString> inReceiver(receiver.begin(), receiver.end()), inEditor(editor.begin(), editor.end());
    for (const QString &e : receiver)
        if (!inEditor.contains(e))
            out.append(dotted(what + u' ' + words(e)) + QStringLiteral("Orvane Yes, editor No"));
    for (const QString &e : editor)
        if (!inReceiver.contains(e))
            out.append(dotted(what + u' ' + words(e)) + QStringLiteral("Orvane No, editor Yes"));
    if (inReceiver == inEditor && receiver != editor)
        out.append(dotted(QStringLiteral("Order of the ") + what + QStringLiteral("s")) + QStringLiteral("Orvane ") +
                   receiver.join(u' ') + QStringLiteral(", editor ") + editor.join(u' '));
}

} // namespace

ProgrammingDecode decodeProgramming(const MemoryBytes &m)
{
    ProgrammingDecode result;
    auto refuse = [&result](const QString &why) {
        result.error = why;
        return result;
    };
    ReceiverConfigRecord &r = result.programming.record;
    for (const Timer &t : kTimers) {
        // 0 is what a transfer sends for a code out of range, so it reads back as 0.
        if (m[t.byte] != 0 && (m[t.byte] < t.low || m[t.byte] > t.high))
            return refuse(QStringLiteral("the %1 code at %2 is %3; it must be %4 to %5.")
                              .arg(QString::fromLatin1(t.name)).arg(address(t.byte)).arg(m[t.byte]).arg(t.low).arg(t.high));
        timerField(r.TIMERS, t.byte) = m[t.byte];
    }
    for (const FlagByte &f : kFlagBytes) {
        const auto fields = recordFlags(r, f.byte);
        for (int n = 0; n < 8; ++n)
            *fields[n] = memoryBit(m[f.byte], n);
    }
    const int idLength = m[kIdLengthByte];
    if (idLength > kMaxIdLength)
        return refuse(QStringLiteral("the station identification at %1 is %2 characters long; at most %3 are possible.")
                          .arg(address(kIdLengthByte)).arg(idLength).arg(kMaxIdLength));
    for (int i = 1; i <= idLength; ++i) {
        const quint8 code = m[kIdLengthByte + i];
        if (code > 36)
            return refuse(QStringLiteral("character %1 of the station identification (%2) has the code %3, "
                                         "which is no letter, digit or \"/\".")
                              .arg(i).arg(address(kIdLengthByte + i)).arg(code));
        r.EDITOR.UserStationID += DecodeIdChar(code);
    }

    // A list ends at its first zero byte; anything else must be a whole entry.
    auto readList = [&](int start, int end, int length, int most, bool (*valid)(quint8), const QString &what,
                        const QString &form, QStringList &into) -> bool {
        for (int p = start; p < end && m[p] != 0; p += length + 1) {
            bool whole = p + length < end && m[p + length] == '-';
            for (int i = p; whole && i < p + length; ++i)
                whole = valid(m[i]);
            if (!whole) {
                result.error = QStringLiteral("the %1 at %2 is not %3 followed by \"-\".").arg(what, address(p), form);
                return false;
            }
            if (into.size() == most) {
                result.error = QStringLiteral("it holds more than %1 %2s.").arg(most).arg(what);
                return false;
            }
            into.append(chars(m, p, length));
        }
        return true;
    };
    if (!readList(kFipsAreaStart, kFipsAreaEnd, 6, kMaxTickedCounties, isDigit, QStringLiteral("county code"),
                  QStringLiteral("six digits"), result.programming.countyCodes) ||
        !readList(kEventAreaStart, kMemoryBytes, 3, kMaxEvents, isCapital, QStringLiteral("event code"),
                  QStringLiteral("three capital letters"), result.programming.eventCodes))
        return result;
    result.ok = true;
    return result;
}

void useProgramming(const ReceiverProgramming &p)
{
    const EditorGroup editor = ReceiverConfig.EDITOR;
    ReceiverConfig = p.record;
    ReceiverConfig.EDITOR = editor;
    ReceiverConfig.EDITOR.UserStationID = p.record.EDITOR.UserStationID;
    FipsList.fill(QString());
    for (int i = 0; i < p.countyCodes.size(); ++i) {
        QString listText = countyListTextForCode(p.countyCodes[i]);
        if (listText.isEmpty())
            listText = buildListText(p.countyCodes[i], {}, {});
        FipsList[i] = entryForListLine(listText, true);
    }
    EventList.fill(QString());
    for (int i = 0; i < p.eventCodes.size(); ++i)
        EventList[i] = p.eventCodes[i];
}

MemoryBytes editorMemoryImage()
{
    buildSettingsImage();
    TransferImageBytes image{};
    std::copy(SettingsImage.begin(), SettingsImage.end(), image.begin());
    buildSelectionArea(image);
    MemoryBytes memory{};
    std::copy(image.begin(), image.begin() + kMemoryBytes, memory.begin());
    return memory;
}

QStringList programmingDifferences(const MemoryBytes &rm, const MemoryBytes &em)
{
    QStringList out;
    std::array<bool, kMemoryBytes> covered{};
    auto differs = [&out](const QString &name, const QString &receiver, const QString &editor) {
        if (receiver != editor)
            out.append(dotted(name) + QStringLiteral("Orvane ") + receiver + QStringLiteral(", editor ") + editor);
    };
    for (const Timer &t : kTimers) {
        differs(QString::fromLatin1(t.name), timerText(t, rm[t.byte]), timerText(t, em[t.byte]));
        covered[t.byte] = true;
    }
    auto yesNo = [](bool set) { return set ? QStringLiteral("Yes") : QStringLiteral("No"); };
    for (const FlagByte &f : kFlagBytes) {
        for (int n = 0; n < 8; ++n)
            differs(flagName(f, n), yesNo(memoryBit(rm[f.byte], n)), yesNo(memoryBit(em[f.byte], n)));
        covered[f.byte] = true;
    }
    // The identification as the receiver would speak it: its length and its characters.
    auto idCovered = [&covered](const MemoryBytes &m) {
        covered[kIdLengthByte] = true;
        for (int i = 1; i <= std::min<int>(m[kIdLengthByte], kMaxIdLength); ++i)
            covered[kIdLengthByte + i] = true;
    };
    if (rm[kIdLengthByte] <= kMaxIdLength && em[kIdLengthByte] <= kMaxIdLength) {
        differs(QStringLiteral("Station Identification"), QStringLiteral("\"%1\"").arg(identification(rm)),
                QStringLiteral("\"%1\"").arg(identification(em)));
        idCovered(rm);
        idCovered(em);
    }
    auto digitStart = [](quint8 b) { return isDigit(b); };
    auto capitalStart = [](quint8 b) { return isCapital(b); };
    const QStringList rc = listEntries(rm, kFipsAreaStart, kFipsAreaEnd, 6, 99, digitStart, covered);
    const QStringList ec = listEntries(em, kFipsAreaStart, kFipsAreaEnd, 6, 99, digitStart, covered);
    compareLists(out, QStringLiteral("Stored FIP code"), rc, ec, [](const QString &c) { return c; });
    const QStringList re = listEntries(rm, kEventAreaStart, kMemoryBytes, 3, kMaxEvents, capitalStart, covered);
    const QStringList ee = listEntries(em, kEventAreaStart, kMemoryBytes, 3, kMaxEvents, capitalStart, covered);
    compareLists(out, QStringLiteral("Stored event code"), re, ee, eventWords);
    // Every other byte that differs: the ones no field above words, and the remains of an
    // entry that is not whole.
    for (int i = 0; i < kMemoryBytes; ++i)
        if (!covered[i] && rm[i] != em[i])
            out.append(dotted(QStringLiteral("Byte ") + address(i)) +
                       QStringLiteral("Orvane %1, editor %2").arg(rm[i]).arg(em[i]));
    return out;
}
