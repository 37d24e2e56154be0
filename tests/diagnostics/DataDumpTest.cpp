#include "config/ConfigTestSupport.h"
#include "support/Rows.h"
#include "support/TestRegistry.h"

#include "diagnostics/DataDump.h"
#include "selection/EventTable.h"

#include <QDir>
#include <QTemporaryDir>

namespace {

using Bytes = QList<QPair<int, int>>;

// The receiver's memory: single bytes, the county codes from byte 32, the event codes from 208.
DumpBufferBytes memory(const Bytes &bytes, const QByteArray &counties = {}, const QByteArray &events = {})
{
    DumpBufferBytes b{};
    for (const auto &[index, value] : bytes)
        b[index] = quint8(value);
    for (int i = 0; i < counties.size() && 32 + i < kDumpBufferSize; ++i)
        b[32 + i] = quint8(counties[i]);
    for (int i = 0; i < events.size() && 208 + i < kDumpBufferSize; ++i)
        b[208 + i] = quint8(events[i]);
    return b;
}

QStringList linesOf(const QString &text) { return text.split(QStringLiteral("\r\n")); }

struct LinesRow {
    const char *name;
    Bytes bytes;
    QByteArray counties, events;
    QStringList present, absent; // texts the dump holds, and does not
};
struct RawRow {
    const char *name;
    QByteArray received;
    QString raw;
    bool ended;
};

} // namespace
Q_DECLARE_METATYPE(LinesRow)
Q_DECLARE_METATYPE(RawRow)

class DataDumpTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { initEventTable(); }
    void init() { clearReceiverConfig(); }

    void wholeDump()
    {
        const DumpBufferBytes b = memory({{2, 6}, {3, 6}, {4, 4}, {5, 4}, {7, 0x0F}, {8, 0xE0}, {11, 0x3A}, {16, 5},
                                          {17, 20}, {18, 14}, {19, 12}, {20, 8}, {21, 3}},
                                         "012011-048201-", "TOR-SVR-RMT-");
        QCOMPARE(linesOf(formatNvDump(b)), (QStringList{
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
            ""}));
    }

    // Each timer's words for its codes 0 to 7 (a code without words leaves the label alone).
    void timerWords()
    {
        const QList<QStringList> words = {
            {"0", "1 Minute", "2 Minutes", "3 Minutes", "4 Minutes", "5 Minutes", "6 Minutes", ""},
            {"0", "5 Minutes", "10 Minutes", "15 Minutes", "20 Minutes", "25 Minutes", "30 Minutes", ""},
            {"0", "2 Seconds", "4 Seconds", "6 Seconds", "8 Seconds", "", "", ""},
            {"0", "0.5 Second", "1.0 Second", "1.5 Seconds", "2.0 Seconds", "", "", ""}};
        for (int timer = 0; timer < 4; ++timer)
            for (int code = 0; code < 8; ++code)
                QCOMPARE(linesOf(formatNvDump(memory({{2 + timer, code}}))).at(1 + timer).mid(51), words[timer][code]);
    }

    // The lines that appear only under their master bit, and the stop rules of the listings.
    void dumpLines_data()
    {
        const QString id = "Station Identification............................ ";
        addRows<LinesRow>({
            {"announcements off", {{11, 0x3D}}, {}, {}, {"Permit Voice Interval Annc ....................... No\r\n"},
             {"Permit announcements", "Limit Monthly"}},
            {"warnings only, test not limited", {{11, 0x12}}, {}, {},
             {"\r\nPermit announcements on Warnings only............. Yes\r\n"
              "Limit Monthly/Weekly Test to 15 Minutes Max ...... No\r\n"}, {"on all", "Warnings and"}},
            {"three bits: the first counts", {{11, 0x1E}}, {}, {},
             {"Permit announcements on all decoded events ....... Yes\r\n"}, {"on W"}},
            {"none of the three", {{11, 0x02}}, {}, {}, {"Annc ....................... Yes\r\nLimit"}, {"Permit announcements"}},
            {"identification: codes above 36 decode to nothing",
             {{7, 1}, {16, 5}, {17, 20}, {18, 14}, {19, 36}, {20, 37}, {21, 255}}, {}, {},
             {"Append station identification .................... Yes\r\n" + id + "KE/\r\n\r\n"}, {"Proceed", "Append \""}},
            {"identification off", {{7, 0x0E}, {16, 1}, {17, 20}}, {}, {},
             {"Append station identification .................... No\r\n\r\n"}, {"Station", "Proceed", "Append \""}},
            {"repeater alone", {{7, 0x05}}, {}, {},
             {id + "\r\nAppend \"Repeater\" after ID ....................... Yes\r\n\r\n"}, {"Proceed", "Transmitter"}},
            {"county listing stops at a non-digit", {}, "012011-A12086-012099-", {},
             {"FIP CODES.......................\r\n012011\r\n\r\n."}, {"012099"}},
            {"events stop at a small letter, unknown code named", {}, {}, "QQQ-EVI-tor-SVR-",
             {"EVENT CODES......................\r\nQQQ  Unknown Event Code\r\nEVI  Evacuation Immediate\r\n.."},
             {"SVR"}},
        });
    }
    void dumpLines()
    {
        QFETCH(LinesRow, row);
        const QString text = formatNvDump(memory(row.bytes, row.counties, row.events));
        for (const QString &wanted : row.present)
            QVERIFY2(text.contains(wanted), qPrintable(text));
        for (const QString &unwanted : row.absent)
            QVERIFY2(!text.contains(unwanted), qPrintable(unwanted));
    }

    // At most 99 counties and 48 events are listed, however many the memory holds.
    void listingLimits()
    {
        QByteArray counties;
        for (int i = 0; i < 101; ++i)
            counties += QByteArray::number(100000 + i) + '-';
        const QString text = formatNvDump(memory({}, counties, {}));
        QVERIFY(text.contains("\r\n100000\r\n") && text.contains("\r\n100098\r\n\r\n.") && !text.contains("100099"));
        QCOMPARE(linesOf(formatNvDump(memory({}, {}, QByteArray("TOR-").repeated(60)))).count("TOR  Tornado Warning"), 48);
    }

    // The raw answer: nothing before "ZCZC", no control characters, lines end at 62 and 124.
    void rawFilter_data()
    {
        addRows<RawRow>({
            {"noise before ZCZC", "NNNN ZCZ\r\nZCZC-WXR-TOR-012011+0030-KMIA/NWS-\x03", "ZCZC-WXR-TOR-012011+0030-KMIA/NWS-", true},
            {"control characters dropped", "ZC\x11ZC-WXR\r\n-RWT\x7f-", "ZCZC-WXR-RWT\x7f-", false},
            {"blanks kept, 31 not", "ZCZC-WXR- 012011\x1f -", "ZCZC-WXR- 012011 -", false},
            {"bytes above 127 kept", "ZCZC-\xe9-\x03", QString::fromLatin1("ZCZC-\xe9-"), true},
            {"ETX before ZCZC ends with nothing", "ZCZ\x03ZCZC-", "", true},
            {"STX does not end", "ZCZC-CIV\x02", "ZCZC-CIV", false},
            {"lines end at 62 and 124", "ZCZC" + QByteArray(136, 'x') + '\x03',
             "ZCZC" + QString(58, 'x') + "\r\n" + QString(60, 'x') + "\r\n" + QString(18, 'x'), true},
            {"exactly 62", "ZCZC" + QByteArray(58, 'y'), "ZCZC" + QString(58, 'y') + "\r\n", false},
        });
    }
    void rawFilter()
    {
        QFETCH(RawRow, row);
        RawDumpFilter filter;
        bool ended = false;
        for (int i = 0; i < row.received.size() && !ended; ++i)
            ended = filter.take(quint8(row.received[i]));
        QCOMPARE(filter.raw(), row.raw);
        QCOMPARE(ended, row.ended);
    }

    void settingsListing()
    {
        auto &r = ReceiverConfig;
        r.EDITOR.SerialPort = 3, r.EDITOR.TimeZoneOffset = -6, r.EDITOR.StateID = 8, r.EDITOR.FrequencyListingFilter = 4;
        r.EDITOR.WorkingDirectory = QStringLiteral("/home/owner/orvane");
        r.EDITOR.EditorVersion = QStringLiteral("1.05"), r.EDITOR.ReceiverVersion = QStringLiteral("2.10");
        r.EDITOR.TransmitterLocation = QStringLiteral("Anytown  162.475  WXK99"), r.EDITOR.UserStationID = "KEC83";
        r.EDITOR.ShowTipsAtStartup = r.NV8007.AppendRepeater = r.NV8008.AcceptAllEvents = r.NV800B.VocWarnings = true;
        r.NV8008.SpeakerActive = r.NV8009.AcceptAllAlerts = true; // not listed
        r.TIMERS = {3, 5, 2, 4, 1};
        QCOMPARE(linesOf(WriteRegistry()), (QStringList{
            "REGISTRY_EDITOR.SerialPort=3", "REGISTRY_EDITOR.WorkingDirectory=/home/owner/orvane",
            "REGISTRY_EDITOR.EditorVersion=1.05", "REGISTRY_EDITOR.ReceiverVersion=2.10",
            "REGISTRY_EDITOR.ShowTipsAtStartup=True", "REGISTRY_EDITOR.TimeZoneOffset=-6",
            "REGISTRY_EDITOR.DaylightSavings=False", "REGISTRY_EDITOR.StateId=8",
            "REGISTRY_EDITOR.TransmitterLocation=Anytown  162.475  WXK99", "REGISTRY_EDITOR.FrequencyListingFilter=4",
            "REGISTRY_EDITOR.UserStationID=KEC83", "", "NV_RAM_8007.GiveStationID=False",
            "NV_RAM_8007.AppendThisIs=False", "NV_RAM_8007.AppendRepeater=True", "NV_RAM_8007.AppendTransmitter=False",
            "", "NV_RAM_8008.AcceptAllFips=False", "NV_RAM_8008.AcceptAllEvents=True",
            "NV_RAM_8008.IgnoreTerminationPacket=False", "", "NV_RAM_800B.VocAllEvents=False",
            "NV_RAM_800B.VocWarningsWatch=False", "NV_RAM_800B.VocWarnings=True", "NV_RAM_800B.VocTruncateTest=False",
            "", "NV_RAM_TIMERS.LineTimeoutTimer=5", "NV_RAM_TIMERS.VoiceIntervalTimer=2",
            "NV_RAM_TIMERS.RelayDelayTimer=4", "NV_RAM_TIMERS.PreVoiceAnnc=1", "", ""}));
    }

    // ORVANE.TXT is replaced whole or not at all: a write cut short (a file-size limit stands
    // in for a full disk) or a place where no file can be made leaves the previous one.
    void dumpFileWholeOrNotAtAll()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("ORVANE.TXT"));
        const DumpFileResult first = writeDumpFile(dir.path(), QStringLiteral("first\r\n"));
        QVERIFY(first.written);
        QCOMPARE(first.path, QDir::toNativeSeparators(file));
        QVERIFY(writeDumpFile(dir.path(), QStringLiteral("previous dump\r\n")).written);
        DumpFileResult cut;
        withFileSizeLimit(64, [&] { return (cut = writeDumpFile(dir.path(), QString(4096, u'x'))).written; });
        QVERIFY(!cut.written);
        QVERIFY(!cut.error.isEmpty());
        QVERIFY(!writeDumpFile(dir.filePath(QStringLiteral("no such folder")), QStringLiteral("x")).written);
        QCOMPARE(fileBytes(file), QByteArray("previous dump\r\n"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"ORVANE.TXT"});
    }
};

ORVANE_TEST(DataDumpTest)
#include "DataDumpTest.moc"
