#include "config/ConfigTestSupport.h"
#include "support/TestRegistry.h"

#include "config/ReceiverConfig.h"
#include "diagnostics/DataDump.h"
#include "selection/EventTable.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

using Bytes = QList<QPair<int, int>>;

DumpBufferBytes bufferWith(const Bytes &bytes, const QByteArray &counties = {}, const QByteArray &events = {})
{
    DumpBufferBytes b{};
    for (const auto &[index, value] : bytes)
        b[index] = quint8(value);
    for (int i = 0; i < counties.size(); ++i)
        b[32 + i] = quint8(counties[i]);
    for (int i = 0; i < events.size(); ++i)
        b[208 + i] = quint8(events[i]);
    return b;
}

QStringList linesOf(const QString &text) { return text.split(QStringLiteral("\r\n")); }

// The receiver's memory after a transfer from a fresh installation: timers 3, 3, 1, 0, 2,
// NV8008 = 0x1F, NV800B = 0x27, no identification.
const Bytes kFreshSettings = {{1, 3}, {2, 3}, {3, 1}, {4, 0}, {5, 2}, {8, 0x1F}, {11, 0x27}};

} // namespace

class DataDumpTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { initEventTable(); }
    void init() { clearReceiverConfig(); }

    void bufferSizes()
    {
        QCOMPARE(int(DumpBuffer.size()), 1049);
        QCOMPARE(kNvDumpBytes, 512);
        QCOMPARE(kDumpProgressMaximum, 2096);
        QCOMPARE(kContactTimeoutMs, 2000);
        QCOMPARE(kDumpTimeoutMs, 20000);
        QCOMPARE(kNvDumpPauseMs, 500);
    }

    // The whole text, line for line, for the memory of a fresh installation and for one with
    // every option, the identification and a few codes.
    void wholeDump_data()
    {
        QTest::addColumn<Bytes>("bytes");
        QTest::addColumn<QByteArray>("counties");
        QTest::addColumn<QByteArray>("events");
        QTest::addColumn<QStringList>("expected");

        QTest::newRow("fresh installation") << kFreshSettings << QByteArray() << QByteArray()
            << QStringList{
                   "",
                   "Line Timeout ..................................... 3 Minutes",
                   "Voice Interval Time .............................. 5 Minutes",
                   "Relay Activation Delay ........................... 0",
                   "Pre Voice Delay .................................. 1.0 Second",
                   "Accept All FIP Codes ............................. No",
                   "Accept All Event Codes ........................... No",
                   "Ignore Termination Packet ........................ No",
                   "Permit Voice Interval Annc ....................... Yes",
                   "Permit announcements on all decoded events ....... Yes",
                   "Limit Monthly/Weekly Test to 15 Minutes Max ...... Yes",
                   "Append station identification .................... No",
                   "",
                   "..................STORED FIP CODES.......................",
                   "",
                   ".................STORED EVENT CODES......................",
                   "..................End Of Data Dump.......................",
                   ""};
        QTest::newRow("everything set")
            << Bytes{{2, 6}, {3, 6}, {4, 4}, {5, 4}, {7, 0x0F}, {8, 0xE0}, {11, 0x3A},
                     {16, 5}, {17, 20}, {18, 14}, {19, 12}, {20, 8}, {21, 3}}
            << QByteArray("012011-048201-") << QByteArray("TOR-SVR-RMT-")
            << QStringList{
                   "",
                   "Line Timeout ..................................... 6 Minutes",
                   "Voice Interval Time .............................. 30 Minutes",
                   "Relay Activation Delay ........................... 8 Seconds",
                   "Pre Voice Delay .................................. 2.0 Seconds",
                   "Accept All FIP Codes ............................. Yes",
                   "Accept All Event Codes ........................... Yes",
                   "Ignore Termination Packet ........................ Yes",
                   "Permit Voice Interval Annc ....................... Yes",
                   "Permit announcements on Warnings and Watches only. Yes",
                   "Limit Monthly/Weekly Test to 15 Minutes Max ...... Yes",
                   "Append station identification .................... Yes",
                   "Station Identification............................ KEC83",
                   "Proceed announcement with \"This Is\"............... Yes",
                   "Append \"Repeater\" after ID ....................... Yes",
                   "Append \"Transmitter\" after ID .................... Yes",
                   "",
                   "..................STORED FIP CODES.......................",
                   "012011",
                   "048201",
                   "",
                   ".................STORED EVENT CODES......................",
                   "TOR  Tornado Warning",
                   "SVR  Severe Thunderstorm Warning",
                   "RMT  Required Monthly Test",
                   "..................End Of Data Dump.......................",
                   ""};
    }
    void wholeDump()
    {
        QFETCH(Bytes, bytes);
        QFETCH(QByteArray, counties);
        QFETCH(QByteArray, events);
        QFETCH(QStringList, expected);
        QCOMPARE(linesOf(formatNvDump(bufferWith(bytes, counties, events))), expected);
    }

    // Single lines: value words at the edges of their ranges, the lines that appear only under
    // their master bit, the identification and the stop rules of the listings.
    void dumpLines_data()
    {
        QTest::addColumn<Bytes>("bytes");
        QTest::addColumn<QByteArray>("counties");
        QTest::addColumn<QByteArray>("events");
        QTest::addColumn<QStringList>("present");
        QTest::addColumn<QStringList>("absent"); // no line begins with one of these

        const QString lineTimeout = "Line Timeout ..................................... ";
        QTest::newRow("line timeout 7: label alone") << Bytes{{2, 7}} << QByteArray() << QByteArray()
            << QStringList{lineTimeout} << QStringList{lineTimeout + "0", lineTimeout + "7"};
        QTest::newRow("line timeout 0 and 1") << Bytes{{2, 1}, {3, 0}} << QByteArray() << QByteArray()
            << QStringList{lineTimeout + "1 Minute", "Voice Interval Time .............................. 0"}
            << QStringList{};
        QTest::newRow("voice interval 7, relay 5, pre voice 5: labels alone")
            << Bytes{{3, 7}, {4, 5}, {5, 5}} << QByteArray() << QByteArray()
            << QStringList{"Voice Interval Time .............................. ",
                           "Relay Activation Delay ........................... ",
                           "Pre Voice Delay .................................. "}
            << QStringList{};
        QTest::newRow("relay 1, pre voice 1 and 3") << Bytes{{4, 1}, {5, 1}} << QByteArray() << QByteArray()
            << QStringList{"Relay Activation Delay ........................... 2 Seconds",
                           "Pre Voice Delay .................................. 0.5 Second"}
            << QStringList{};
        QTest::newRow("bit 1 of byte 11 clear: no announcement lines") << Bytes{{11, 0x3D}} << QByteArray()
            << QByteArray()
            << QStringList{"Permit Voice Interval Annc ....................... No"}
            << QStringList{"Permit announcements", "Limit Monthly/Weekly"};
        QTest::newRow("warnings only, test not limited") << Bytes{{11, 0x12}} << QByteArray() << QByteArray()
            << QStringList{"Permit announcements on Warnings only............. Yes",
                           "Limit Monthly/Weekly Test to 15 Minutes Max ...... No"}
            << QStringList{"Permit announcements on all", "Permit announcements on Warnings and"};
        QTest::newRow("none of the three announcement bits") << Bytes{{11, 0x02}} << QByteArray() << QByteArray()
            << QStringList{"Limit Monthly/Weekly Test to 15 Minutes Max ...... No"}
            << QStringList{"Permit announcements"};
        QTest::newRow("all three bits: the first counts") << Bytes{{11, 0x1E}} << QByteArray() << QByteArray()
            << QStringList{"Permit announcements on all decoded events ....... Yes"}
            << QStringList{"Permit announcements on W"};
        QTest::newRow("identification K, E, slash") << Bytes{{7, 1}, {16, 3}, {17, 20}, {18, 14}, {19, 36}}
            << QByteArray() << QByteArray()
            << QStringList{"Append station identification .................... Yes",
                           "Station Identification............................ KE/"}
            << QStringList{"Proceed", "Append \""};
        QTest::newRow("codes above 36 decode to nothing") << Bytes{{7, 1}, {16, 3}, {17, 37}, {18, 10}, {19, 255}}
            << QByteArray() << QByteArray()
            << QStringList{"Station Identification............................ A"} << QStringList{};
        QTest::newRow("identification not shown when bit 0 clear")
            << Bytes{{7, 0x0E}, {16, 3}, {17, 20}, {18, 14}, {19, 36}} << QByteArray() << QByteArray()
            << QStringList{"Append station identification .................... No"}
            << QStringList{"Station Identification", "Proceed", "Append \""};
        QTest::newRow("repeater alone") << Bytes{{7, 0x05}} << QByteArray() << QByteArray()
            << QStringList{"Station Identification............................ ",
                           "Append \"Repeater\" after ID ....................... Yes"}
            << QStringList{"Proceed", "Append \"Transmitter\""};
        QTest::newRow("two counties then a zero byte") << Bytes{} << QByteArray("012011-012086-") << QByteArray()
            << QStringList{"..................STORED FIP CODES.......................\r\n012011\r\n012086\r\n\r\n."}
            << QStringList{};
        QTest::newRow("county listing stops at a non-digit")
            << Bytes{} << QByteArray("012011-A12086-012099-") << QByteArray()
            << QStringList{"FIP CODES.......................\r\n012011\r\n\r\n."} << QStringList{"012099"};
        QTest::newRow("events stop at a small letter, unknown code named")
            << Bytes{} << QByteArray() << QByteArray("QQQ-EVI-tor-SVR-")
            << QStringList{"EVENT CODES......................\r\nQQQ  Unknown Event Code\r\n"
                           "EVI  Evacuation Immediate\r\n..................End"}
            << QStringList{"SVR"};
    }
    void dumpLines()
    {
        QFETCH(Bytes, bytes);
        QFETCH(QByteArray, counties);
        QFETCH(QByteArray, events);
        QFETCH(QStringList, present);
        QFETCH(QStringList, absent);
        const QString text = formatNvDump(bufferWith(bytes, counties, events));
        const QStringList lines = linesOf(text);
        for (const QString &wanted : present) {
            if (wanted.contains(QStringLiteral("\r\n")))
                QVERIFY2(text.contains(wanted), qPrintable(wanted));
            else
                QVERIFY2(lines.contains(wanted), qPrintable(wanted));
        }
        for (const QString &unwanted : absent)
            for (const QString &line : lines)
                QVERIFY2(!line.startsWith(unwanted), qPrintable(line));
    }

    // At most 99 counties and 48 events are listed, however many the memory holds.
    void listingLimits()
    {
        QByteArray counties;
        for (int i = 0; i < 101; ++i)
            counties += QByteArray::number(100000 + i) + '-';
        QByteArray events;
        for (int i = 0; i < 60; ++i)
            events += "TOR-";
        DumpBufferBytes b = bufferWith({}, {}, {});
        for (int i = 0; i < counties.size() && 32 + i < kDumpBufferSize; ++i)
            b[32 + i] = quint8(counties[i]);
        const QStringList withCounties = linesOf(formatNvDump(b));
        QCOMPARE(withCounties.filter(QRegularExpression(QStringLiteral("^1000\\d\\d$"))).size(), 99);
        QVERIFY(!withCounties.contains(QStringLiteral("100099")));

        DumpBufferBytes e = bufferWith({}, {}, events.left(kDumpBufferSize - 208));
        QCOMPARE(linesOf(formatNvDump(e)).count(QStringLiteral("TOR  Tornado Warning")), 48);
    }

    void rawFilter_data()
    {
        QTest::addColumn<QByteArray>("received");
        QTest::addColumn<QString>("raw");
        QTest::addColumn<bool>("ended");

        QTest::newRow("noise before ZCZC is not shown")
            << QByteArray("NNNN ZCZ\r\nZCZC-WXR-TOR-012011+0030-1231845-KMIA/NWS-\x03")
            << QString("ZCZC-WXR-TOR-012011+0030-1231845-KMIA/NWS-") << true;
        QTest::newRow("control characters never appear")
            << QByteArray("ZC\x11ZC-WXR\r\n-RWT\x7f-") << QString("ZCZC-WXR-RWT\x7f-") << false;
        QTest::newRow("blanks are kept, 31 is not") << QByteArray("ZCZC-WXR- 012011\x1f -")
                                                    << QString("ZCZC-WXR- 012011 -") << false;
        QTest::newRow("bytes above 127 are kept") << QByteArray("ZCZC-\xe9-\x03")
            << QString::fromLatin1("ZCZC-\xe9-") << true;
        QTest::newRow("ETX before ZCZC ends with nothing") << QByteArray("ZCZ\x03ZCZC-") << QString() << true;
        QTest::newRow("no ETX") << QByteArray("ZCZC-CIV") << QString("ZCZC-CIV") << false;
        const QByteArray body = "ZCZC" + QByteArray(136, 'x');
        QTest::newRow("lines end at 62 and 124")
            << body + '\x03'
            << QString(QString("ZCZC") + QString(58, 'x') + "\r\n" + QString(60, 'x') + "\r\n" + QString(18, 'x'))
            << true;
        QTest::newRow("exactly 62") << "ZCZC" + QByteArray(58, 'y') << QString("ZCZC" + QString(58, 'y') + "\r\n")
                                    << false;
    }
    void rawFilter()
    {
        QFETCH(QByteArray, received);
        QFETCH(QString, raw);
        QFETCH(bool, ended);
        RawDumpFilter filter;
        bool sawEtx = false;
        for (char c : received) {
            if (filter.take(quint8(c))) {
                sawEtx = true;
                break;
            }
        }
        QCOMPARE(filter.raw(), raw);
        QCOMPARE(sawEtx, ended);
    }

    void settingsListing()
    {
        auto &e = ReceiverConfig.EDITOR;
        e.SerialPort = 3;
        e.WorkingDirectory = QStringLiteral("/home/owner/orvane");
        e.EditorVersion = QStringLiteral("1.05");
        e.ReceiverVersion = QStringLiteral("2.10");
        e.ShowTipsAtStartup = true;
        e.TimeZoneOffset = -6;
        e.DaylightSavings = false;
        e.StateID = 8;
        e.TransmitterLocation = QStringLiteral("Anytown  162.475  WXK99");
        e.FrequencyListingFilter = 4;
        e.UserStationID = QStringLiteral("KEC83");
        ReceiverConfig.NV8007.AppendRepeater = true;
        ReceiverConfig.NV8008.AcceptAllEvents = true;
        ReceiverConfig.NV8008.SpeakerActive = true; // not listed
        ReceiverConfig.NV8009.AcceptAllAlerts = true; // not listed
        ReceiverConfig.NV800B.VocWarnings = true;
        ReceiverConfig.TIMERS = {3, 5, 2, 4, 1};
        QCOMPARE(linesOf(WriteRegistry()), (QStringList{
            "REGISTRY_EDITOR.SerialPort=3",
            "REGISTRY_EDITOR.WorkingDirectory=/home/owner/orvane",
            "REGISTRY_EDITOR.EditorVersion=1.05",
            "REGISTRY_EDITOR.ReceiverVersion=2.10",
            "REGISTRY_EDITOR.ShowTipsAtStartup=True",
            "REGISTRY_EDITOR.TimeZoneOffset=-6",
            "REGISTRY_EDITOR.DaylightSavings=False",
            "REGISTRY_EDITOR.StateId=8",
            "REGISTRY_EDITOR.TransmitterLocation=Anytown  162.475  WXK99",
            "REGISTRY_EDITOR.FrequencyListingFilter=4",
            "REGISTRY_EDITOR.UserStationID=KEC83",
            "",
            "NV_RAM_8007.GiveStationID=False",
            "NV_RAM_8007.AppendThisIs=False",
            "NV_RAM_8007.AppendRepeater=True",
            "NV_RAM_8007.AppendTransmitter=False",
            "",
            "NV_RAM_8008.AcceptAllFips=False",
            "NV_RAM_8008.AcceptAllEvents=True",
            "NV_RAM_8008.IgnoreTerminationPacket=False",
            "",
            "NV_RAM_800B.VocAllEvents=False",
            "NV_RAM_800B.VocWarningsWatch=False",
            "NV_RAM_800B.VocWarnings=True",
            "NV_RAM_800B.VocTruncateTest=False",
            "",
            "NV_RAM_TIMERS.LineTimeoutTimer=5",
            "NV_RAM_TIMERS.VoiceIntervalTimer=2",
            "NV_RAM_TIMERS.RelayDelayTimer=4",
            "NV_RAM_TIMERS.PreVoiceAnnc=1",
            "",
            ""}));
    }

    void fileText()
    {
        const QString text = dumpFileText(QStringLiteral("\n\nNV Data Dump..Please wait\nline two"),
                                          QDateTime(QDate(2026, 6, 15), QTime(14, 5, 9)));
        const QStringList lines = linesOf(text);
        QCOMPARE(lines.mid(0, 7), (QStringList{"File Created On Monday, June 15, 2026 2:05:09 PM", "", "", "",
                                               "NV Data Dump..Please wait", "line two", ""}));
        QCOMPARE(lines.at(7), QStringLiteral("..............System Registry Parameters................."));
        QVERIFY(text.contains(QStringLiteral("\r\n\r\n..............System Registry") ));
        QVERIFY(text.endsWith(WriteRegistry() + QStringLiteral("...............End Of Orvane Core Dump...................\r\n")));
        QVERIFY(!text.contains(QRegularExpression(QStringLiteral("[^\\r]\\n"))));
    }

    // Saving twice overwrites; the path is the folder's with the platform's separator.
    void fileWrittenAndOverwritten()
    {
        QTemporaryDir dir;
        const DumpFileResult first = writeDumpFile(dir.path(), QStringLiteral("first\r\n"));
        QVERIFY(first.written);
        QCOMPARE(first.path, QDir::toNativeSeparators(dir.path() + QStringLiteral("/ORVANE.TXT")));
        const DumpFileResult second = writeDumpFile(dir.path(), QStringLiteral("second\r\n"));
        QVERIFY(second.written);
        QFile file(dir.filePath(QStringLiteral("ORVANE.TXT")));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("second\r\n"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"ORVANE.TXT"});
    }

    // A write that cannot complete (here a file-size limit stands in for a full disk) leaves
    // the previous ORVANE.TXT as it was and no temporary file behind; so does a place where
    // no file can be made at all.
    void failedWriteKeepsPreviousFile()
    {
        QTemporaryDir dir;
        QVERIFY(writeDumpFile(dir.path(), QStringLiteral("previous dump\r\n")).written);

        DumpFileResult result;
        withFileSizeLimit(64, [&] { return (result = writeDumpFile(dir.path(), QString(4096, u'x'))).written; });

        QVERIFY(!result.written);
        QVERIFY(!result.error.isEmpty());
        QFile file(dir.filePath(QStringLiteral("ORVANE.TXT")));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("previous dump\r\n"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"ORVANE.TXT"});

        QVERIFY(!writeDumpFile(dir.filePath(QStringLiteral("no such folder")), QStringLiteral("x")).written);
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("taken")));
        QVERIFY(QDir(dir.filePath(QStringLiteral("taken"))).mkdir(QStringLiteral("ORVANE.TXT")));
        QVERIFY(!writeDumpFile(dir.filePath(QStringLiteral("taken")), QStringLiteral("x")).written);
    }
};

ORVANE_TEST(DataDumpTest)
#include "DataDumpTest.moc"
