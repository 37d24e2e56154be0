// The bytes of a transfer apart from any port: the history decoded from a download and the
// selection area of the image (the checksums are cells of the fault matrix).
#include "LinkTestSupport.h"

namespace {
TransferImageBytes TransferImage;
QByteArray imageBytes(int from, int to) { return QByteArray(reinterpret_cast<const char *>(TransferImage.data()) + from, to - from); }
void decode(const QList<QByteArray> &records) { loadDownloadBuffer(records); decodeHistory(); }
QByteArray example(const char *day, const char *hour) { return historyRecord({.day = day, .hour = hour}); } // 18:45, CIV, TOR, 0130
// A record of day and UTC hour decoded at a zone and daylight setting, in a year: the date and time shown.
struct TimeRow { const char *name, *day, *hour; int offset; bool daylight, pcInDaylight; int year; const char *date, *time; };
// A record with bad data between two good ones: the date, time and originator shown for it.
struct DegradedRow { const char *name; QByteArray record; const char *date, *time, *org; };
struct EventRow { const char *name; QByteArray code; const char *event; int alertClass; };
} // namespace
Q_DECLARE_METATYPE(TimeRow)
Q_DECLARE_METATYPE(DegradedRow)
Q_DECLARE_METATYPE(EventRow)

class HistoryDecodingTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { initEventTable(); }
    void init()
    {
        clearReceiverConfig(), doubles().clear();
        doubles().wallClock = QDateTime(QDate(2026, 8, 20), QTime(9, 30)); // a common year
        ReceiverConfig.EDITOR.TimeZoneOffset = -5;
        PcDaylightActive = false;
        HistoryTable.fill(HistoryEntry()), TransferImage.fill(0xAA); // anything not rewritten shows up
    }
    void cleanup() { PcDaylightActive = false; }

    void decodedTime_data()
    {
        addRows<TimeRow>({
            {"18 UTC at -5", "123", "18", -5, false, false, 2026, "3-May", "13:45"},
            {"03 UTC at -5: the day before", "123", "03", -5, false, false, 2026, "2-May", "22:45"},
            {"07 UTC at -5: one-digit hour", "123", "07", -5, false, false, 2026, "3-May", "02:45"},
            {"04 UTC at -4: midnight", "123", "04", -4, false, false, 2026, "3-May", "00:45"},
            {"daylight set, PC in daylight", "123", "18", -5, true, true, 2026, "3-May", "14:45"},
            {"daylight set, PC in standard", "123", "18", -5, true, false, 2026, "3-May", "13:45"},
            {"daylight not set, PC in daylight", "123", "18", -5, false, true, 2026, "3-May", "13:45"},
            {"daylight keeps 04 UTC at -5 on the day", "123", "04", -5, true, true, 2026, "3-May", "00:45"},
            {"day 001 across midnight", "001", "03", -5, false, false, 2026, "31-December", "22:45"},
            {"05 UTC at -11", "123", "05", -11, false, false, 2026, "2-May", "18:45"},
            {"offset outside -4..-11 keeps UTC", "123", "03", -3, false, false, 2026, "3-May", "03:45"},
            {"day 060 in a leap year", "060", "18", -5, false, false, 2028, "29-February", "13:45"},
            {"day 060 in a common year", "060", "18", -5, false, false, 2026, "1-March", "13:45"},
            {"day 366 of a leap year", "366", "18", -5, false, false, 2028, "31-December", "13:45"},
            // Found by the history fuzz target: daylight saving without a zone shift once gave "24:45".
            {"23 UTC at 0 in daylight: next day", "123", "23", 0, true, true, 2026, "4-May", "00:45"},
            {"23 UTC at +3 in daylight: next day", "365", "23", 3, true, true, 2026, "1-January", "00:45"}});
    }
    void decodedTime()
    {
        QFETCH(TimeRow, row);
        ReceiverConfig.EDITOR.TimeZoneOffset = qint16(row.offset), ReceiverConfig.EDITOR.DaylightSavings = row.daylight;
        PcDaylightActive = row.pcInDaylight;
        doubles().wallClock = QDateTime(QDate(row.year, 3, 1), QTime(0, 0));
        decode({example(row.day, row.hour)});
        QCOMPARE(HistoryTable[0].Date + u' ' + HistoryTable[0].Time, QString(row.date) + u' ' + row.time);
    }

    // The name and class of an event code, looked up and decoded from a record; 22 codes are
    // warnings, 12 watches.
    void eventLookup_data()
    {
        addRows<EventRow>({{"warning", "TOR", "Tornado Warning", 1}, {"watch", "TOA", "Tornado Watch", 2},
                           {"HMW is a watch-class warning", "HMW", "Hazardous Materials Warning", 2},
                           {"CDW is class 0", "CDW", "Civil Danger Warning", 0}, {"test", "RWT", "Required Weekly Test", 0},
                           {"table name, not box caption", "EVI", "Evacuation Immediate", 0},
                           {"SPW name", "SPW", "Shelter In Place Warning", 1}, {"unknown", "XYZ", "Unknown Event Code", 0},
                           {"lower case", "tor", "Unknown Event Code", 0}, {"zero bytes", QByteArray(3, 0), "Unknown Event Code", 0}});
    }
    void eventLookup()
    {
        QFETCH(EventRow, row);
        qint16 cls = -1;
        QCOMPARE(lookupEvent(QString::fromLatin1(row.code), cls), row.event);
        decode({historyRecord({.event = row.code})});
        QVERIFY(cls == row.alertClass && HistoryTable[0].Event == row.event && HistoryTable[0].AlertClass == row.alertClass);
        int classes[3] = {};
        for (const EventTableRow &e : EventTable) ++classes[alertClassOf(e.Code)];
        QVERIFY(classes[1] == 22 && classes[2] == 12);
    }

    // Bad data degrades only its record and fields; not the record before (across midnight, so its day
    // offset is what a careless decoder would reuse) nor the one after.
    void degradedRecords_data()
    {
        auto with = [](auto change) { HistoryRecordFields f; change(f); return historyRecord(f); };
        addRows<DegradedRow>({
            {"digit originator", with([](auto &f) { f.org = "1IV"; }), "3-May", "13:45", ""},
            {"no colon in the time", with([](auto &f) { f.colon = '-'; }), "3-May", "", "CIV"},
            {"minute with a zero byte", with([](auto &f) { f.minute = "4"; }), "3-May", "", "CIV"},
            {"minute 60", with([](auto &f) { f.minute = "60"; }), "3-May", "", "CIV"},
            {"day not a number", example("1x3", "18"), "", "13:45", "CIV"},
            {"day with a blank", example(" 12", "18"), "", "13:45", "CIV"},
            {"day 000", example("000", "18"), "", "13:45", "CIV"},
            {"day 367", example("367", "18"), "", "13:45", "CIV"},
            {"hour not a number", example("123", "1x"), "", "", "CIV"},
            {"hour 24", example("123", "24"), "", "", "CIV"}});
    }
    void degradedRecords()
    {
        QFETCH(DegradedRow, row);
        decode({historyRecord(200, 2, 0, "WXR", "SVR"), row.record, historyRecord(123, 18, 45, "WXR", "TOA")});
        const HistoryEntry &e = HistoryTable[1];
        QCOMPARE(QStringList({e.Date, e.Time, e.Org, e.Event, e.Length}),
                 QStringList({row.date, row.time, row.org, "Tornado Warning", "01:30"}));
        QVERIFY(e.AlertClass == 1 && e.holdsAlert());
        QCOMPARE(QStringList({HistoryTable[0].Date, HistoryTable[2].Date, HistoryTable[2].Time, HistoryTable[2].Event}),
                 QStringList({"18-July", "3-May", "13:45", "Tornado Watch"}));
    }

    // A new download replaces a full history; empty records stay empty, also when only the first byte
    // is blank; the last record is read up to the checksum.
    void newDecodingReplacesTheOldHistory()
    {
        const QByteArray tor = historyRecord(123, 18, 45, "CIV", "TOR");
        decode(QList<QByteArray>(kHistoryRecords, tor));
        QList<QByteArray> records(kHistoryRecords, emptyHistoryRecord());
        records[0] = QByteArray(1, '\0') + tor.mid(1); // the rest still holds data
        records[39] = historyRecord({.event = "RWT", .filler = 'Z'}); // uninterpreted bytes, including where the checksum goes
        decode(records);
        for (int i = 0; i <= kHistoryRecords; ++i) {
            const HistoryEntry &e = HistoryTable[i];
            QVERIFY(e.holdsAlert() == (i == 39) && (i == 39 || ((e.Date + e.Time + e.Length + e.Org + e.Event).isEmpty() && e.AlertClass == 0)));
        }
        QCOMPARE(QStringList({HistoryTable[39].Event, HistoryTable[39].Time}), QStringList({"Required Weekly Test", "13:45"}));
    }

    // Entries not sent (not ticked, too short, a lower-case mark, empty); 44 codes of 9 bytes fill the
    // 399-byte event area. The parameter-file fuzz seed of 30 ticked counties and 49 codes once sent 25 and
    // 49; the receiver takes 24 and 48, and nothing goes past the areas (settings block, checksum).
    void selectionArea()
    {
        const char *notSent[] = {"  012011  Broward                Florida", "X 0120", "x 012011  Broward", ""};
        for (int slot = 0; slot < 4; ++slot) FipsList[slot] = QString::fromLatin1(notSent[slot]);
        FipsList[4] = QStringLiteral("X 012085  Martin                 Florida");
        for (int slot = 0; slot < 49; ++slot) EventList[slot] = QStringLiteral("ABCDEFGH");
        buildSelectionArea(TransferImage);
        QCOMPARE(imageBytes(32, 208), QByteArray("012085-") + QByteArray(169, '\0'));
        QCOMPARE(imageBytes(208, 608), QByteArray("ABCDEFGH-").repeated(44) + QByteArray(607 - 208 - 44 * 9, '\0') + char(0xAA));
        TransferImage.fill(0xAA), FipsList = {}, EventList = {};
        QVERIFY(QFile::copy(ORVANE_TEST_SOURCE_DIR "/tests/fuzz/corpus/parameter_file/thirty-ticked-counties", kParameterFileName));
        QVERIFY(readParameterFile());
        buildSelectionArea(TransferImage);
        QByteArray counties; // 012001, 012003, ... of the first 24 ticked slots
        for (int slot = 0; slot < 24; ++slot) counties += QByteArray::number(12001 + 2 * slot).rightJustified(6, '0') + '-';
        QCOMPARE(imageBytes(0, 208), QByteArray(32, char(0xAA)) + counties + QByteArray(208 - 32 - 24 * 7, '\0'));
        QCOMPARE(imageBytes(208, 608), QByteArray("TOR-").repeated(48) + QByteArray(607 - 208 - 48 * 4, '\0') + char(0xAA));
    }
};

ORVANE_TEST(HistoryDecodingTest)
#include "HistoryDecodingTest.moc"
