#include "support/HistoryRecords.h"
#include "ReceiverSimulator.h"

#include "link/LinkState.h"

#include <algorithm>

namespace {

constexpr int kRecordSize = 32;
constexpr int kRecords = 40;
constexpr int kHistoryAreaSize = kRecords * kRecordSize - 1; // 1279

void place(QByteArray &record, int at, int width, const QByteArray &text)
{
    for (int i = 0; i < width; ++i)
        record[at + i] = i < text.size() ? text[i] : '\0';
}

} // namespace

QByteArray historyRecord(const HistoryRecordFields &f)
{
    QByteArray record(kRecordSize, f.filler);
    place(record, 0, 3, f.day);
    place(record, 4, 2, f.hour);
    record[6] = f.colon;
    place(record, 7, 2, f.minute);
    place(record, 10, 3, f.org);
    place(record, 14, 3, f.event);
    place(record, 18, 4, f.length);
    return record;
}

QByteArray historyRecord(int day, int hour, int minute, const char *org, const char *event)
{
    HistoryRecordFields f;
    f.day = QByteArray::number(day).rightJustified(3, '0');
    f.hour = QByteArray::number(hour).rightJustified(2, '0');
    f.minute = QByteArray::number(minute).rightJustified(2, '0');
    f.org = org;
    f.event = event;
    return historyRecord(f);
}

QByteArray emptyHistoryRecord() { return QByteArray(kRecordSize, '\0'); }

QByteArray historyArea(const QList<QByteArray> &records)
{
    QByteArray area;
    for (const QByteArray &record : records)
        area += record.left(kRecordSize).leftJustified(kRecordSize, '\0');
    return area.leftJustified(kHistoryAreaSize, '\0', true);
}

void loadDownloadBuffer(const QList<QByteArray> &records, const QByteArray &romVersion)
{
    const QByteArray bytes = ReceiverSimulator::downloadFor(historyArea(records), romVersion);
    DownloadBufferBytes &DownloadBuffer = ReceiverLink::instance().DownloadBuffer;
    DownloadBuffer.fill(0);
    std::copy(bytes.begin(), bytes.end(), DownloadBuffer.begin());
}

QList<SampleHistoryRow> sampleSevenAlerts()
{
    // UTC 18:45 at offset -5 is 13:45 the same day; 03:10 UTC falls on the local day before.
    return {
        {historyRecord(123, 18, 45, "WXR", "TOR"), "3-May", "13:45", "01:30", "WXR", "Tornado Warning", 1},
        {historyRecord(123, 17, 5, "WXR", "TOA"), "3-May", "12:05", "01:30", "WXR", "Tornado Watch", 2},
        {historyRecord(122, 3, 10, "WXR", "SVR"), "1-May", "22:10", "01:30", "WXR", "Severe Thunderstorm Warning", 1},
        {historyRecord(121, 20, 0, "WXR", "FFA"), "1-May", "15:00", "01:30", "WXR", "Flash Flood Watch", 2},
        {historyRecord(120, 16, 30, "WXR", "RWT"), "30-April", "11:30", "01:30", "WXR", "Required Weekly Test", 0},
        {historyRecord(92, 15, 0, "CIV", "RMT"), "2-April", "10:00", "01:30", "CIV", "Required Monthly Test", 0},
        {historyRecord(32, 12, 15, "WXR", "WSW"), "1-February", "07:15", "01:30", "WXR", "Winter Storm Warning", 1},
    };
}

QList<QByteArray> recordsOf(const QList<SampleHistoryRow> &rows)
{
    QList<QByteArray> records;
    for (const SampleHistoryRow &row : rows)
        records << row.record;
    return records;
}
