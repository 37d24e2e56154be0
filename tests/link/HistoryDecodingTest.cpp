#include "support/Doubles.h"
#include "support/HistoryRecords.h"
#include "support/TestRegistry.h"

#include "config/DaylightState.h"
#include "config/ReceiverConfig.h"
#include "link/HistoryDecoding.h"
#include "selection/EventTable.h"

#include <QTest>

namespace {

void setZone(int offset, bool daylightSetting, bool pcInDaylight)
{
    ReceiverConfig.EDITOR.TimeZoneOffset = qint16(offset);
    ReceiverConfig.EDITOR.DaylightSavings = daylightSetting;
    PcDaylightActive = pcInDaylight;
}

void decode(const QList<QByteArray> &records)
{
    loadDownloadBuffer(records);
    decodeHistory();
}

HistoryRecordFields example(const char *day, const char *hour)
{
    HistoryRecordFields f; // 123, 18:45, CIV, TOR, 0130
    f.day = day;
    f.hour = hour;
    return f;
}

// A record decoded at a zone and daylight setting, in a year, and the date and time shown.
struct DecodedTimeExample {
    const char *day, *hour;
    int offset;
    bool daylightSetting, pcInDaylight;
    int year;
    QString date, time;
};

} // namespace
Q_DECLARE_METATYPE(DecodedTimeExample)

class HistoryDecodingTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { initEventTable(); }
    void init()
    {
        clearReceiverConfig();
        doubles().clear();
        doubles().wallClock = QDateTime(QDate(2026, 8, 20), QTime(9, 30)); // a non-leap year
        setZone(-5, false, false);
        HistoryTable.fill(HistoryEntry());
    }
    void cleanup() { PcDaylightActive = false; }

    void examples_data()
    {
        QTest::addColumn<DecodedTimeExample>("e");
        QTest::newRow("18 UTC at -5") << DecodedTimeExample{"123", "18", -5, false, false, 2026, "3-May", "13:45"};
        QTest::newRow("03 UTC at -5: the day before") << DecodedTimeExample{"123", "03", -5, false, false, 2026, "2-May", "22:45"};
        QTest::newRow("07 UTC at -5: one-digit hour") << DecodedTimeExample{"123", "07", -5, false, false, 2026, "3-May", "02:45"};
        QTest::newRow("04 UTC at -4: midnight") << DecodedTimeExample{"123", "04", -4, false, false, 2026, "3-May", "00:45"};
        QTest::newRow("daylight set, PC in daylight") << DecodedTimeExample{"123", "18", -5, true, true, 2026, "3-May", "14:45"};
        QTest::newRow("daylight set, PC in standard") << DecodedTimeExample{"123", "18", -5, true, false, 2026, "3-May", "13:45"};
        QTest::newRow("daylight not set, PC in daylight") << DecodedTimeExample{"123", "18", -5, false, true, 2026, "3-May", "13:45"};
        QTest::newRow("daylight keeps 04 UTC at -5 on the day") << DecodedTimeExample{"123", "04", -5, true, true, 2026, "3-May", "00:45"};
        QTest::newRow("day 001 across midnight") << DecodedTimeExample{"001", "03", -5, false, false, 2026, "31-December", "22:45"};
        QTest::newRow("05 UTC at -11") << DecodedTimeExample{"123", "05", -11, false, false, 2026, "2-May", "18:45"};
        QTest::newRow("offset outside -4..-11 keeps UTC") << DecodedTimeExample{"123", "03", -3, false, false, 2026, "3-May", "03:45"};
        QTest::newRow("day 060 in a leap year") << DecodedTimeExample{"060", "18", -5, false, false, 2028, "29-February", "13:45"};
        QTest::newRow("day 060 in a common year") << DecodedTimeExample{"060", "18", -5, false, false, 2026, "1-March", "13:45"};
        QTest::newRow("day 366 of a leap year") << DecodedTimeExample{"366", "18", -5, false, false, 2028, "31-December", "13:45"};
        // Found by the history fuzz target (tests/fuzz/corpus/history/utc-daylight-hour-23):
        // daylight saving without a zone shift once gave "24:45".
        QTest::newRow("23 UTC at 0 in daylight: next day") << DecodedTimeExample{"123", "23", 0, true, true, 2026, "4-May", "00:45"};
        QTest::newRow("23 UTC at +3 in daylight: next day") << DecodedTimeExample{"365", "23", 3, true, true, 2026, "1-January", "00:45"};
    }
    void examples()
    {
        QFETCH(DecodedTimeExample, e);
        setZone(e.offset, e.daylightSetting, e.pcInDaylight);
        doubles().wallClock = QDateTime(QDate(e.year, 3, 1), QTime(0, 0));
        decode({historyRecord(example(e.day, e.hour))});
        QCOMPARE(HistoryTable[0].Date, e.date);
        QCOMPARE(HistoryTable[0].Time, e.time);
    }

    void eventLookup_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("alertClass");
        QTest::newRow("warning") << "TOR" << "Tornado Warning" << 1;
        QTest::newRow("watch") << "TOA" << "Tornado Watch" << 2;
        QTest::newRow("HMW is a watch-class warning") << "HMW" << "Hazardous Materials Warning" << 2;
        QTest::newRow("CDW is class 0") << "CDW" << "Civil Danger Warning" << 0;
        QTest::newRow("test") << "RWT" << "Required Weekly Test" << 0;
        QTest::newRow("table name, not box caption") << "EVI" << "Evacuation Immediate" << 0;
        QTest::newRow("SPW name") << "SPW" << "Shelter In Place Warning" << 1;
        QTest::newRow("unknown") << "XYZ" << "Unknown Event Code" << 0;
        QTest::newRow("lower case") << "tor" << "Unknown Event Code" << 0;
        QTest::newRow("zero bytes") << QString(3, QChar(0)) << "Unknown Event Code" << 0;
    }
    void eventLookup()
    {
        QFETCH(QString, code);
        QFETCH(QString, name);
        QFETCH(int, alertClass);
        qint16 cls = -1;
        QCOMPARE(lookupEvent(code, cls), name);
        QCOMPARE(int(cls), alertClass);

        HistoryRecordFields f;
        f.event = code.toLatin1();
        decode({historyRecord(f)});
        QCOMPARE(HistoryTable[0].Event, name);
        QCOMPARE(int(HistoryTable[0].AlertClass), alertClass);
    }

    void everyClassifiedCodeIsInTheTable()
    {
        int warnings = 0, watches = 0;
        for (const EventTableRow &row : EventTable) {
            const int cls = alertClassOf(row.Code);
            warnings += cls == 1;
            watches += cls == 2;
        }
        QCOMPARE(warnings, 22);
        QCOMPARE(watches, 12);
    }

    // Bad data inside a record degrades only that record, and only the fields it touches.
    void degradedRecords_data()
    {
        QTest::addColumn<QByteArray>("record");
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("time");
        QTest::addColumn<QString>("org");
        auto with = [](auto change) {
            HistoryRecordFields f;
            change(f);
            return historyRecord(f);
        };
        QTest::newRow("digit originator") << with([](auto &f) { f.org = "1IV"; }) << "3-May" << "13:45" << "";
        QTest::newRow("no colon in the time") << with([](auto &f) { f.colon = '-'; }) << "3-May" << "" << "CIV";
        QTest::newRow("minute with a zero byte") << with([](auto &f) { f.minute = "4"; }) << "3-May" << "" << "CIV";
        // Neither may borrow the date of the record before.
        QTest::newRow("day not a number") << historyRecord(example("1x3", "18")) << "" << "13:45" << "CIV";
        QTest::newRow("day with a blank") << historyRecord(example(" 12", "18")) << "" << "13:45" << "CIV";
        QTest::newRow("day 000") << historyRecord(example("000", "18")) << "" << "13:45" << "CIV";
        QTest::newRow("day 367") << historyRecord(example("367", "18")) << "" << "13:45" << "CIV";
        QTest::newRow("hour not a number") << historyRecord(example("123", "1x")) << "" << "" << "CIV";
        QTest::newRow("hour 24") << historyRecord(example("123", "24")) << "" << "" << "CIV";
    }
    void degradedRecords()
    {
        QFETCH(QByteArray, record);
        QFETCH(QString, date);
        QFETCH(QString, time);
        QFETCH(QString, org);
        // The record before crosses midnight, so its day offset is the one a careless
        // decoder would reuse; the record after must decode in full.
        decode({historyRecord(200, 2, 0, "WXR", "SVR"), record, historyRecord(123, 18, 45, "WXR", "TOA")});
        QCOMPARE(HistoryTable[0].Date, QStringLiteral("18-July"));
        const HistoryEntry &e = HistoryTable[1];
        QCOMPARE(e.Date, date);
        QCOMPARE(e.Time, time);
        QCOMPARE(e.Org, org);
        QCOMPARE(e.Event, QStringLiteral("Tornado Warning"));
        QCOMPARE(e.AlertClass, qint16(1));
        QCOMPARE(e.Length, QStringLiteral("01:30"));
        QVERIFY(e.holdsAlert());
        QCOMPARE(HistoryTable[2].Date, QStringLiteral("3-May"));
        QCOMPARE(HistoryTable[2].Time, QStringLiteral("13:45"));
        QCOMPARE(HistoryTable[2].Event, QStringLiteral("Tornado Watch"));
    }

    // A new download replaces a full history; its empty records stay empty wherever they
    // stand, also when only the first byte is blank.
    void newDecodingReplacesTheOldHistory()
    {
        decode(QList<QByteArray>(kHistoryRecords, historyRecord(123, 18, 45, "CIV", "TOR")));
        QVERIFY(HistoryTable[39].holdsAlert());

        QByteArray blanked = historyRecord(123, 18, 45, "CIV", "TOR");
        blanked[0] = '\0'; // the rest still holds data
        QList<QByteArray> records(kHistoryRecords, emptyHistoryRecord());
        records[0] = blanked;
        records[1] = historyRecord(123, 18, 45, "CIV", "TOR");
        records[5] = historyRecord(124, 18, 45, "CIV", "FFA");
        HistoryRecordFields last;
        last.filler = 'Z'; // uninterpreted bytes, including where the checksum goes
        last.event = "RWT";
        records[39] = historyRecord(last);
        decode(records);
        for (int i = 0; i <= kHistoryRecords; ++i) {
            const HistoryEntry &e = HistoryTable[i];
            const bool filled = i == 1 || i == 5 || i == 39;
            QCOMPARE(e.holdsAlert(), filled);
            if (!filled) {
                QVERIFY(e.Date.isEmpty() && e.Time.isEmpty() && e.Length.isEmpty() && e.Org.isEmpty());
                QVERIFY(e.Event.isEmpty());
                QCOMPARE(e.AlertClass, qint16(0));
            }
        }
        QCOMPARE(HistoryTable[5].Date, QStringLiteral("4-May"));
        QCOMPARE(HistoryTable[5].Event, QStringLiteral("Flash Flood Watch"));
        QCOMPARE(HistoryTable[5].AlertClass, qint16(2));
        QCOMPARE(HistoryTable[39].Event, QStringLiteral("Required Weekly Test"));
        QCOMPARE(HistoryTable[39].Time, QStringLiteral("13:45"));
    }
};

ORVANE_TEST(HistoryDecodingTest)
#include "HistoryDecodingTest.moc"
