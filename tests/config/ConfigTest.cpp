// The settings block the receiver gets, the settings store (real QSettings) and the parameter file (a real file).
#include "config/ConfigTestSupport.h"
#include "support/Rows.h"
#include "support/TestRegistry.h"

#include "config/ParameterFile.h"
#include "config/SettingsStore.h"

#include <QDir>
#include <QFileInfo>

namespace {

struct ImageRow { const char *name; std::function<void(ReceiverConfigRecord &)> set; const char *hex; }; // hex: no trailing zeros
constexpr int kStops = -99; // the value of a row where loading stops; state: EDITOR/StateID, else NV8007/GiveStationID
struct LoadRow { const char *name; bool state; const char *text; int value; };
struct ReadRow { const char *name; int line; const char *text; bool yes; }; // line -1: no file; text nullptr: the file ends there

const QString kAdjuntas = QStringLiteral("  072001  Adjuntas               Puerto Rico");
const QString kBaldwin = QStringLiteral("X 001003  Baldwin                Alabama, with \"quotes\"");

} // namespace

class ConfigTest : public QObject
{
    Q_OBJECT
private slots:
    void init() { freshState(); }

    // Bytes 1 to 5 the timer codes (out of range: 0), 7 to 11 flag groups 8007 to 800B (bit n
    // the n-th flag), 16 the identification's length, 17 on its characters.
    void settingsImage_data()
    {
        addRows<ImageRow>({
            {"fresh install", [](auto &) { QVERIFY(loadSettings()); }, "00030301000200001f000027"},
            {"top timer codes", [](auto &r) { r.TIMERS = {6, 6, 6, 4, 3}; }, "000606060403"},
            {"timers out of range", [](auto &r) { r.TIMERS = {7, 0, 0, -1, 5}; }, ""},
            {"flags by name", [](auto &r) { r.NV800A.AcceptAllAlerts = r.NV8007.AppendTransmitter = r.NV8008.IgnoreTerminationPacket = true; },
             "00000000000000088000010000000000"},
            {"call letters", [](auto &r) { r.EDITOR.UserStationID = "KEC89"; }, "0000000000000000000000000000000005140e0c0809"},
            {"lower case, blank, slash, Z", [](auto &r) { r.EDITOR.UserStationID = "ab1 /Z"; }, "000000000000000000000000000000000600000100242300"},
            {"fifteen", [](auto &r) { r.EDITOR.UserStationID = "ABCDEFGHIJKLMNO"; }, "000000000000000000000000000000000f0a0b0c0d0e0f101112131415161718"},
            {"sixteen are dropped whole", [](auto &r) { r.EDITOR.UserStationID = "ABCDEFGHIJKLMNOP"; }, ""},
        });
    }
    void settingsImage()
    {
        QFETCH(ImageRow, row);
        row.set(ReceiverConfig);
        SettingsImage.fill(0xEE); // stale bytes must not survive a rebuild
        buildSettingsImage();
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(SettingsImage.data()), 32).toHex(), QByteArray(row.hex).leftJustified(64, '0'));
        QCOMPARE(DecodeIdChar(0) + DecodeIdChar(9) + DecodeIdChar(10) + DecodeIdChar(35) + DecodeIdChar(36) + DecodeIdChar(37), "09AZ/");
    }

    // Every key on every save (11 editor keys, 5 x 8 flags, 5 timers), the defaults when none
    // was stored, each field read back as saved.
    void store()
    {
        QVERIFY(loadSettings());
        QVERIFY(saveSettings());
        QCOMPARE(QSettings("Orvane", "Orvane").allKeys().size(), 11 + 40 + 5);
        QByteArray text = fileBytes(settingsFilePath());
        QVERIFY2(text.contains("[EDITOR]\nDaylightSavings=True\nEditorVersion=1.00\nFrequencyListingFilter=0\nReceiverVersion=1.00\n"
                               "SerialPort=1\nShowTipsAtStartup=True\nStateID=8\nTimeZoneOffset=-5\nTransmitterLocation=\nUserStationID=\n"
                               "WorkingDirectory=" + QDir::currentPath().toUtf8() + "\n\n[NV8007]\nAppendRepeater=False\n"), text);
        QVERIFY2(text.contains("[TIMERS]\nLineTimeoutTimer=3\nPreVoiceAnnc=2\nRelayDelayTimer=0\nSpeakerTimeoutTimer=3\nVoiceIntervalTimer=1\n"), text);
        auto &r = ReceiverConfig;
        r.EDITOR.TransmitterLocation = QStringLiteral("West Palm Beach, FL  162.475");
        r.EDITOR.StateID = 32767; // no range check beyond 16 bits
        r.EDITOR.TimeZoneOffset = -11;
        r.NV8007.Spare8007_4 = r.NV800A.AcceptAllAlerts = r.NV800B.Spare800B_2 = true; // not NV8009/AcceptAllAlerts
        r.TIMERS.RelayDelayTimer = 4;
        QVERIFY(saveSettings());
        text = fileBytes(settingsFilePath());
        clearReceiverConfig();
        QVERIFY(loadSettings());
        QVERIFY(saveSettings());
        QCOMPARE(fileBytes(settingsFilePath()), text);
        QVERIFY(text.contains("StateID=32767\n") && text.contains("[NV8009]\nAcceptAllAlerts=False\n"));
        // A store file the settings class cannot parse (a fuzz finding) is made anew, keeping what it could read.
        writeFileBytes(settingsFilePath(), "[PORTS]\nPort1=/dev/pts/3\nPort2 /dev/ttyUSB0\n");
        loadSettings();
        QVERIFY(saveSettings());
        QCOMPARE(storedSetting("PORTS/Port1") + storedSetting("EDITOR/StateID"), QStringLiteral("/dev/pts/38"));
    }

    // A value that does not convert stops loading there: it and every later key keep their values.
    void storeValues_data()
    {
        addRows<LoadRow>({
            {"True", false, "True", 1}, {"1", false, "1", 1}, {"-1", false, "-1", 1}, {"7", false, "7", 1},
            {"0", false, "0", 0}, {"false", false, "false", 0}, {"flag not a number", false, "yes please", kStops},
            {"flag nan", false, "nan", kStops}, {"flag -inf", false, "-inf", kStops}, {"state -32768", true, "-32768", -32768},
            {"state not a number", true, "Florida", kStops}, {"state beyond 16 bits", true, "40000", kStops},
        });
    }
    void storeValues()
    {
        QFETCH(LoadRow, row);
        putSetting("EDITOR/TimeZoneOffset", "-8"); // before every row's key
        putSetting(row.state ? "EDITOR/StateID" : "NV8007/GiveStationID", row.text);
        putSetting("TIMERS/PreVoiceAnnc", "4"); // after it
        ReceiverConfig.EDITOR.StateID = 77;
        const bool stops = row.value == kStops;
        QCOMPARE(loadSettings(), !stops);
        QCOMPARE(ReceiverConfig.EDITOR.TimeZoneOffset, qint16(-8));
        QCOMPARE(ReceiverConfig.TIMERS.PreVoiceAnnc, qint16(stops ? 0 : 4));
        QCOMPARE(row.state ? ReceiverConfig.EDITOR.StateID : int(ReceiverConfig.NV8007.GiveStationID), stops ? (row.state ? 77 : 0) : row.value);
    }

    // Written and read back whole; a control character in an entry (a line break above all)
    // is written as a blank, so the file keeps its 151 lines.
    void parameterFileRoundTrip()
    {
        FipsList[0] = kAdjuntas;
        FipsList[2] = QStringLiteral("X 012011\t Foo\x7f\f\r\nBar");
        FipsList[98] = kBaldwin;
        EventList[48] = QStringLiteral("RW\nT");
        auto fips = FipsList;
        auto events = EventList;
        fips[2] = QStringLiteral("X 012011  Foo    Bar");
        events[48] = QStringLiteral("RW T");
        QVERIFY(writeParameterFile());
        const QByteArray bytes = fileBytes(kParameterFileName);
        QCOMPARE(bytes.count("\r\n") * 2, bytes.count('\n') + bytes.count('\r'));
        const QList<QByteArray> lines = bytes.split('\n');
        QCOMPARE(QList<QByteArray>({lines[0], lines[1], lines[4], lines[100], lines[101], lines[150], lines[151]}),
                 QList<QByteArray>({"Orvane SAME Digital Weather Receiver Parameter File. DO NOT MODIFY\r", "[FIP Codes]\r",
                                    "X 012011  Foo    Bar\r", kBaldwin.toLatin1() + '\r', "[Event Codes]\r", "RW T\r", ""}));
        clearReceiverConfig();
        QVERIFY(readParameterFile());
        QCOMPARE(FipsList, fips);
        QCOMPARE(EventList, events);
        QCOMPARE(QDir::current().entryList(QDir::Files), QStringList{kParameterFileName}); // nothing left behind
    }

    // A missing or damaged file asks whether to take the defaults (over what was read, which
    // stays). Line 2 + s holds county slot s, line 102 + k event slot k.
    void parameterFileRead_data()
    {
        addRows<ReadRow>({
            {"header in other letter case", 0, "Orvane SAME Digital Weather Receiver Parameter File. Do Not Modify", false},
            {"no [FIP Codes]", 1, "[FIP codes]", false},
            {"no [Event Codes]", 101, "", false},
            {"last line missing", 150, nullptr, false},
            {"cut after line 120, Yes", 120, nullptr, true},
            {"no file, No", -1, nullptr, false},
            {"no file, Yes", -1, nullptr, true},
        });
    }
    void parameterFileRead()
    {
        QFETCH(ReadRow, row);
        FipsList[0] = kAdjuntas;
        FipsList[4] = kBaldwin;
        for (int k = 0; k < 49; ++k)
            EventList[k] = QStringLiteral("E%1").arg(k, 2, 10, QChar(u'0'));
        const QList<QByteArray> lines = parameterFileContent().split('\n');
        if (row.line >= 0) // a line changed, or the file cut before it
            writeFileBytes(kParameterFileName, (lines.mid(0, row.line) + (row.text ? QList<QByteArray>{QByteArray(row.text) + '\r'} + lines.mid(row.line + 1) : QList<QByteArray>())).join('\n'));
        clearReceiverConfig();
        doubles().answerNext(row.yes ? QMessageBox::Yes : QMessageBox::No);
        QCOMPARE(readParameterFile(), row.yes);
        QCOMPARE(shownBoxes(), QStringList{box("Error #199:  Missing or Corrupted Orvane Data File.\r\nCreate Default Data File?",
                                               QMessageBox::Warning, QMessageBox::Yes | QMessageBox::No)});
        const QStringList defaults = {"X 012011  Broward                Florida", "X 012085  Martin                 Florida",
                                      "X 012099  Palm Beach             Florida", "X 012111  St. Lucie              Florida"};
        QCOMPARE(QStringList(FipsList.begin(), FipsList.begin() + 5),
                 QStringList(row.yes ? defaults : QStringList{row.line > 2 ? kAdjuntas : "", "", "", ""}) << (row.line > 6 ? kBaldwin : ""));
        QCOMPARE(QStringList(EventList.begin(), EventList.begin() + 13).join(u' '),
                 row.yes ? QStringLiteral("FFA FFW FLA FLW HWA HWW SVA SVR TOA TOR RMT RWT ") + (row.line > 0 ? "E12" : "")
                 : row.line > 114 ? QStringLiteral("E00 E01 E02 E03 E04 E05 E06 E07 E08 E09 E10 E11 E12") : QString(12, u' '));
        QCOMPARE(EventList[18], row.line > 120 ? QStringLiteral("E18") : QString());
        QCOMPARE(QFile::exists(kParameterFileName), row.line >= 0); // the defaults are not written here
    }

    // A write cut short (a full disk) leaves the old file (for the lists: error 108, the end).
    // In a folder that takes no new file (no temporary or lock file) a writable one is written in place.
    void failedAndLockedWrites()
    {
        QVERIFY(loadSettings());
        putSetting("PORTS/Port1", "/dev/pts/7"); // a section the program only reads stays
        QVERIFY(saveSettings());
        loadDefaultLists();
        QVERIFY(writeParameterFile());
        const QByteArray store = fileBytes(settingsFilePath()), lists = fileBytes(kParameterFileName);
        ReceiverConfig.EDITOR.UserStationID = QStringLiteral("SECOND");
        for (int k = 0; k < 40; ++k)
            FipsList[k] = QStringLiteral("X 0120%1  County                 Florida").arg(k, 2, 10, QChar(u'0'));
        QVERIFY(!withFileSizeLimit(64, saveSettings));
        QVERIFY(!withFileSizeLimit(512, writeParameterFile));
        QCOMPARE(shownBoxes(), QStringList{box("Error #108:  Missing or Corrupted Orvane Frequency Limit Parameter")});
        QCOMPARE(doubles().programEnds, 1);
        QCOMPARE(fileBytes(settingsFilePath()) + fileBytes(kParameterFileName), store + lists);
        QCOMPARE(QDir::current().entryList(QDir::Files), QStringList{kParameterFileName});
        const QString storeFolder = QFileInfo(settingsFilePath()).absolutePath();
        const int savedStore = inFolderTakingNoNewFile(storeFolder, [] { return saveSettings() ? 1 : 0; });
        if (savedStore == kFolderNotLocked)
            QSKIP("no folder here can be made to refuse new files to this process");
        QCOMPARE(savedStore + 2 * inFolderTakingNoNewFile(QDir::currentPath(), [] { return writeParameterFile() ? 1 : 0; }), 3);
        QCOMPARE(fileBytes(settingsFilePath()), QByteArray(store).replace("UserStationID=\n", "UserStationID=SECOND\n"));
        QCOMPARE(fileBytes(kParameterFileName), parameterFileContent());
        QCOMPARE(QDir(storeFolder).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("Orvane.conf")});
    }
};

ORVANE_TEST(ConfigTest)
#include "ConfigTest.moc"
