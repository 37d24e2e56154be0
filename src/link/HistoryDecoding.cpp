#include "link/HistoryDecoding.h"

#include "core/Platform.h"
#include "config/DaylightState.h"
#include "config/ReceiverConfig.h"
#include "link/ReceiverLink.h"
#include "selection/EventTable.h"

#include <QDate>
#include <QLocale>

std::array<HistoryEntry, kHistoryRecords + 1> HistoryTable;
QString DayOffsetText;

namespace {

const QStringList kWarningCodes = {"AVW", "BZW", "CFW", "DMO", "DSW", "EQW", "FFW", "FLW",
                                   "FRW", "HUW", "HWW", "LEW", "NUW", "RHW", "SMW", "SPW",
                                   "SVR", "TOR", "TRW", "TSW", "VOW", "WSW"};
const QStringList kWatchCodes = {"AVA", "CFA", "FFA", "FLA", "HMW", "HUA",
                                 "HWA", "SVA", "TOA", "TRA", "TSA", "WSA"};


// Digits only (no sign, no blanks), as the receiver writes its numbers.
bool parseDigits(const QString &text, int &value)
{
    if (text.isEmpty())
        return false;
    for (QChar c : text)
        if (c < u'0' || c > u'9')
            return false;
    value = text.toInt();
    return true;
}

} // namespace

// The characters at DownloadBuffer[p] .. [p + n - 1] of the program's link, one per byte.
QString downloadBufferText(int p, int n)
{
    const DownloadBufferBytes &DownloadBuffer = ReceiverLink::instance().DownloadBuffer;
    QString text;
    for (int i = p; i < p + n && i < int(DownloadBuffer.size()); ++i)
        text += QChar(char16_t(DownloadBuffer[i]));
    return text;
}

qint16 alertClassOf(const QString &code)
{
    if (kWarningCodes.contains(code))
        return 1;
    if (kWatchCodes.contains(code))
        return 2;
    return 0;
}

QString lookupEvent(const QString &code, qint16 &alertClass)
{
    const int slot = eventSlot(code);
    if (slot < 0) {
        alertClass = 0;
        return QStringLiteral("Unknown Event Code");
    }
    alertClass = alertClassOf(code);
    return EventTable[slot].Name;
}

QString localHour(int p)
{
    int h = 0;
    if (!parseDigits(downloadBufferText(p, 2), h) || h > 23)
        return QString();

    if (ReceiverConfig.EDITOR.DaylightSavings && PcDaylightActive)
        h = h + 1;

    const int k = -ReceiverConfig.EDITOR.TimeZoneOffset;
    if (k >= 4 && k <= 11) {
        if (h >= k) {
            h = h - k;
        } else {
            h = h + 24 - k;
            bool known = false;
            const int offset = DayOffsetText.toInt(&known);
            if (known) // an unknown day stays unknown
                DayOffsetText = QString::number(offset - 1);
        }
    }
    // Daylight saving moves 23 h UTC to 24 where no time zone shift follows (a zone outside
    // 4 to 11 hours west): that is hour 0 of the next day, never a time "24:MM".
    if (h >= 24) {
        h -= 24;
        bool known = false;
        const int offset = DayOffsetText.toInt(&known);
        if (known)
            DayOffsetText = QString::number(offset + 1);
    }
    return QString::number(h);
}

void decodeHistory()
{
    const QDate yearStart(Platform::now().date().year(), 1, 1);
    const QLocale english(QLocale::English, QLocale::UnitedStates);

    for (int r = 0; r < kHistoryRecords; ++r) {
        const int base = kHistoryRecordSize * r;
        HistoryEntry &entry = HistoryTable[r];
        entry = HistoryEntry();
        if (ReceiverLink::instance().DownloadBuffer[base] == 0)
            continue;

        // A day that is not 001 to 366 leaves the offset empty, so this record gets no date
        // rather than the previous record's.
        int day = 0;
        DayOffsetText.clear();
        if (parseDigits(downloadBufferText(base, 3), day) && day >= 1 && day <= 366)
            DayOffsetText = QString::number(day - 1);

        const QString hour = localHour(base + 4);
        const QString time = hour + downloadBufferText(base + 6, 3);
        int minute = 0;
        const bool minuteOk = parseDigits(time.right(2), minute) && minute <= 59;
        if (minuteOk && time.size() == 5 && time[2] == u':')
            entry.Time = time;
        else if (minuteOk && time.size() == 4 && time[1] == u':')
            entry.Time = QStringLiteral("0") + time;

        // Without the hour it is unknown whether local time falls on the day before.
        if (!hour.isEmpty() && !DayOffsetText.isEmpty())
            entry.Date = english.toString(yearStart.addDays(DayOffsetText.toInt()), QStringLiteral("d-MMMM"));

        const QString org = downloadBufferText(base + 10, 3);
        if (!org.isEmpty() && org[0] >= u'A' && org[0] <= u'Z')
            entry.Org = org;

        entry.Event = lookupEvent(downloadBufferText(base + 14, 3), entry.AlertClass);
        entry.Length = downloadBufferText(base + 18, 2) + QStringLiteral(":") + downloadBufferText(base + 20, 2);
    }
}
