#pragma once
// Raw alert history records as the receiver delivers them, built from readable fields.

#include <QByteArray>
#include <QList>
#include <QString>

// The fields of one 32-byte record. Each text goes to its fixed place, cut or padded with
// 0 bytes to its width, so malformed records are as easy to build as good ones.
struct HistoryRecordFields {
    QByteArray day = "123";    // bytes 0 to 2, day of the year in UTC; "" or a leading 0 byte = empty record
    QByteArray hour = "18";    // bytes 4 to 5, UTC hour
    char colon = ':';          // byte 6
    QByteArray minute = "45";  // bytes 7 to 8
    QByteArray org = "CIV";    // bytes 10 to 12
    QByteArray event = "TOR";  // bytes 14 to 16
    QByteArray length = "0130"; // bytes 18 to 21, valid time HHMM
    char filler = 0;           // the bytes the editor does not interpret (3, 9, 13, 17, 22 to 31)
};

QByteArray historyRecord(const HistoryRecordFields &fields);
// An alert of `event` issued on `day` at hour:minute UTC by `org`, valid 01:30.
QByteArray historyRecord(int day, int hour, int minute, const char *org, const char *event);
QByteArray emptyHistoryRecord();

// The 1279-byte history area of a download: the records from record 0 on, the rest empty
// (record 39 loses its last byte to the download checksum).
QByteArray historyArea(const QList<QByteArray> &records);

// Puts a complete download (history area, checksum, ROM version, ACK) into the DownloadBuffer
// of the program's link, as a successful transfer leaves it.
void loadDownloadBuffer(const QList<QByteArray> &records, const QByteArray &romVersion = "105");

// Seven alerts (warnings, watches and tests) with what the grid shows for them when
// TimeZoneOffset is -5, daylight saving is off and the wall clock's year is 2026.
struct SampleHistoryRow {
    QByteArray record;
    QString date, time, length, org, event;
    int alertClass = 0;
};
QList<SampleHistoryRow> sampleSevenAlerts();
QList<QByteArray> recordsOf(const QList<SampleHistoryRow> &rows);
