// The 40 raw history records of a download: byte 0 sets the time zone offset, byte 1 daylight
// saving (bit 0 the owner's setting, bit 1 the PC's state, bit 2 a leap year); the rest is the
// history area. Every entry must keep the shapes the history view and the report rely on.
#include "FuzzSupport.h"

#include "config/DaylightState.h"
#include "config/ReceiverConfig.h"
#include "link/HistoryDecoding.h"
#include "link/ReceiverLink.h"
#include "selection/EventTable.h"

#include <QRegularExpression>
#include <algorithm>

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzz::setUp();
    initEventTable();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 2)
        return 0;
    ReceiverConfig.EDITOR.TimeZoneOffset = qint16(qint8(data[0]));
    ReceiverConfig.EDITOR.DaylightSavings = data[1] & 1;
    PcDaylightActive = data[1] & 2;
    const int year = (data[1] & 4) ? 2028 : 2026;
    Platform::setWallClock([year] { return QDateTime(QDate(year, 6, 15), QTime(12, 0)); });

    DownloadBufferBytes &buffer = ReceiverLink::instance().DownloadBuffer;
    buffer.fill(0);
    std::copy_n(data + 2, std::min<size_t>(size - 2, 1279), buffer.begin());

    decodeHistory();

    static const QRegularExpression time(QStringLiteral("^([01][0-9]|2[0-3]):[0-5][0-9]$"));
    static const QRegularExpression date(QStringLiteral(
        "^([1-9]|[12][0-9]|3[01])-(January|February|March|April|May|June|July|August|September|"
        "October|November|December)$"));
    for (int r = 0; r < kHistoryRecords; ++r) {
        const HistoryEntry &entry = HistoryTable[r];
        if (buffer[kHistoryRecordSize * r] == 0) {
            FUZZ_CHECK(!entry.holdsAlert() && entry.Time.isEmpty() && entry.Length.isEmpty() &&
                       entry.Org.isEmpty() && entry.AlertClass == 0);
            continue;
        }
        FUZZ_CHECK(entry.holdsAlert() && !entry.Event.isEmpty());
        FUZZ_CHECK(entry.Time.isEmpty() || time.match(entry.Time).hasMatch());
        FUZZ_CHECK(entry.Date.isEmpty() || date.match(entry.Date).hasMatch());
        FUZZ_CHECK(entry.Length.size() == 5 && entry.Length[2] == u':');
        FUZZ_CHECK(entry.Org.isEmpty() || (entry.Org.size() == 3 && entry.Org[0] >= u'A' && entry.Org[0] <= u'Z'));
        FUZZ_CHECK(entry.AlertClass >= 0 && entry.AlertClass <= 2);
        FUZZ_CHECK(entry.Event != QLatin1String("Unknown Event Code") || entry.AlertClass == 0);
    }
    const HistoryEntry &last = HistoryTable[kHistoryRecords];
    FUZZ_CHECK(!last.holdsAlert() && last.Time.isEmpty() && last.Length.isEmpty());
    return 0;
}
