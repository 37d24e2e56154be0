// The data dump: the receiver's memory and raw answer as text, the settings listing and the
// dump file; then the window over a pseudo-terminal against the receiver simulator.
#include "config/ConfigTestSupport.h"
#include "link/LinkTestSupport.h"
#include "support/Columns.h"
#include "support/Rows.h"
#include "support/TestRegistry.h"

#include "diagnostics/DataDump.h"
#include "diagnostics/frmAbout.h"
#include "diagnostics/frmDataDump.h"
#include "selection/EventTable.h"

#include <QtWidgets>
#include <algorithm>

namespace {

using Bytes = QList<QPair<int, int>>;

// The receiver's memory: single bytes, the county codes from byte 32, the event codes from 208.
DumpBufferBytes memory(const Bytes &bytes, const QByteArray &counties = {}, const QByteArray &events = {})
{
    DumpBufferBytes b{};
    for (const auto &[index, value] : bytes) b[index] = quint8(value);
    for (const auto &[from, data] : {std::pair{32, counties}, {208, events}})
        std::copy_n(data.constData(), std::min<int>(data.size(), kDumpBufferSize - from), b.begin() + from);
    return b;
}

QStringList linesOf(const QString &text) { return text.split(QStringLiteral("\r\n")); }

struct LinesRow { const char *name; Bytes bytes; QByteArray counties, events; QStringList present, absent; }; // texts held, and not
struct RawRow { const char *name; QByteArray received; QString raw; bool ended; };

using F = ReceiverSimulator::Fault;

// The simulator's raw text as shown: noise and control characters gone, lines ending at 62 and 124.
const QString kHeader = QStringLiteral("ZCZC-WXR-TOR-012011-012086-012099-012021-012051-012043-012087-012085-012093-012111-012009-"
    "012097-012095-012117+0030-1231845-KMIA/NWS-");
const QString kNvWait = QStringLiteral("\n\nNV Data Dump..Please wait\n");

QByteArray dumped() { return QByteArray(reinterpret_cast<const char *>(DumpBuffer.data()), kNvDumpBytes); }

// Runs `open`, which shows a modal W and returns when it closes; `inspect` sees W while it is
// up, then W is closed. False when W never came (after two seconds every dialog is closed).
template <typename W> bool whileModal(const std::function<void()> &open, const std::function<void(W *)> &inspect)
{
    bool seen = false;
    int tries = 0; // of 10 ms
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (auto *window = qobject_cast<W *>(QApplication::activeModalWidget()))
            poll.stop(), seen = true, inspect(window), window->close();
        else if (auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget()); ++tries > 200 && dialog)
            poll.stop(), dialog->reject();
    });
    poll.start(10), open();
    return seen;
}

struct CloseRow { const char *name; QString way; bool raw; };

} // namespace

class DataDumpTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { initEventTable(); }
    void init() { clearReceiverConfig(); }

    void wholeDump()
    {
        const DumpBufferBytes b = memory({{2, 6}, {3, 6}, {4, 4}, {5, 4}, {7, 0x0F}, {8, 0xE0}, {11, 0x3A}, {16, 5},
                                          {17, 20}, {18, 14}, {19, 12}, {20, 8}, {21, 3}}, "012011-048201-", "TOR-SVR-RMT-");
        QCOMPARE(linesOf(formatNvDump(b)), (QStringList{"",
            "Line Timeout ..................................... 6 Minutes", "Voice Interval Time .............................. 30 Minutes",
            "Relay Activation Delay ........................... 8 Seconds", "Pre Voice Delay .................................. 2.0 Seconds",
            "Accept All FIP Codes ............................. Yes", "Accept All Event Codes ........................... Yes",
            "Ignore Termination Packet ........................ Yes", "Permit Voice Interval Annc ....................... Yes",
            "Permit announcements on Warnings and Watches only. Yes", "Limit Monthly/Weekly Test to 15 Minutes Max ...... Yes",
            "Append station identification .................... Yes", "Station Identification............................ KEC83",
            "Proceed announcement with \"This Is\"............... Yes", "Append \"Repeater\" after ID ....................... Yes",
            "Append \"Transmitter\" after ID .................... Yes", "",
            "..................STORED FIP CODES.......................", "012011", "048201", "",
            ".................STORED EVENT CODES......................", "TOR  Tornado Warning", "SVR  Severe Thunderstorm Warning",
            "RMT  Required Monthly Test", "..................End Of Data Dump.......................", ""}));
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
            for (int code = 0; code < 8; ++code) QCOMPARE(linesOf(formatNvDump(memory({{2 + timer, code}}))).at(1 + timer).mid(51), words[timer][code]);
    }

    // The lines that appear only under their master bit, and the stop rules and limits (99
    // counties, 48 events) of the listings.
    void dumpLines_data()
    {
        const QString id = "Station Identification............................ ";
        QByteArray counties; // 101 of them
        for (int i = 0; i < 101; ++i) counties += QByteArray::number(100000 + i) + '-';
        addRows<LinesRow>({
            {"announcements off", {{11, 0x3D}}, {}, {}, {"Permit Voice Interval Annc ....................... No\r\n"}, {"Permit ann", "Limit"}},
            {"warnings only, test not limited", {{11, 0x12}}, {}, {},
             {"\r\nPermit announcements on Warnings only............. Yes\r\n"
              "Limit Monthly/Weekly Test to 15 Minutes Max ...... No\r\n"}, {"on all", "Warnings and"}},
            {"three bits: the first counts", {{11, 0x1E}}, {}, {}, {"Permit announcements on all decoded events ....... Yes\r\n"}, {"on W"}},
            {"identification: codes above 36 decode to nothing",
             {{7, 1}, {16, 5}, {17, 20}, {18, 14}, {19, 36}, {20, 37}, {21, 255}}, {}, {},
             {"Append station identification .................... Yes\r\n" + id + "KE/\r\n\r\n"}, {"Proceed", "Append \""}},
            {"identification off", {{7, 0x0E}, {16, 1}, {17, 20}}, {}, {},
             {"Append station identification .................... No\r\n\r\n"}, {"Station", "Proceed", "Append \""}},
            {"county listing stops at a non-digit", {}, "012011-A12086-012099-", {}, {"FIP CODES.......................\r\n012011\r\n\r\n."}, {"012099"}},
            {"events stop at a small letter, unknown code named", {}, {}, "QQQ-EVI-tor-SVR-",
             {"EVENT CODES......................\r\nQQQ  Unknown Event Code\r\nEVI  Evacuation Immediate\r\n.."}, {"SVR"}},
            {"99 counties at most", {}, counties, {}, {"FIP CODES.......................\r\n100000\r\n", "\r\n100098\r\n\r\n."}, {"100099"}},
            {"48 events at most", {}, {}, QByteArray("TOR-").repeated(60),
             {"EVENT CODES......................\r\n" + QString("TOR  Tornado Warning\r\n").repeated(48) + ".."}, {}},
        });
    }
    void dumpLines()
    {
        QFETCH(LinesRow, row);
        const QString text = formatNvDump(memory(row.bytes, row.counties, row.events));
        for (const QString &wanted : row.present) QVERIFY2(text.contains(wanted), qPrintable(text));
        for (const QString &unwanted : row.absent) QVERIFY2(!text.contains(unwanted), qPrintable(unwanted));
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
        for (int i = 0; i < row.received.size() && !ended; ++i) ended = filter.take(quint8(row.received[i]));
        QCOMPARE(filter.raw() + u'|' + QString::number(ended), row.raw + u'|' + QString::number(row.ended));
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
            "REGISTRY_EDITOR.SerialPort=3", "REGISTRY_EDITOR.WorkingDirectory=/home/owner/orvane", "REGISTRY_EDITOR.EditorVersion=1.05",
            "REGISTRY_EDITOR.ReceiverVersion=2.10", "REGISTRY_EDITOR.ShowTipsAtStartup=True", "REGISTRY_EDITOR.TimeZoneOffset=-6",
            "REGISTRY_EDITOR.DaylightSavings=False", "REGISTRY_EDITOR.StateId=8", "REGISTRY_EDITOR.TransmitterLocation=Anytown  162.475  WXK99",
            "REGISTRY_EDITOR.FrequencyListingFilter=4", "REGISTRY_EDITOR.UserStationID=KEC83", "", "NV_RAM_8007.GiveStationID=False",
            "NV_RAM_8007.AppendThisIs=False", "NV_RAM_8007.AppendRepeater=True", "NV_RAM_8007.AppendTransmitter=False", "",
            "NV_RAM_8008.AcceptAllFips=False", "NV_RAM_8008.AcceptAllEvents=True", "NV_RAM_8008.IgnoreTerminationPacket=False", "",
            "NV_RAM_800B.VocAllEvents=False", "NV_RAM_800B.VocWarningsWatch=False", "NV_RAM_800B.VocWarnings=True",
            "NV_RAM_800B.VocTruncateTest=False", "", "NV_RAM_TIMERS.LineTimeoutTimer=5", "NV_RAM_TIMERS.VoiceIntervalTimer=2",
            "NV_RAM_TIMERS.RelayDelayTimer=4", "NV_RAM_TIMERS.PreVoiceAnnc=1", "", ""}));
    }

    // ORVANE.TXT is replaced whole: a write cut short (a file-size limit for a full disk) leaves the previous one.
    void dumpFileWholeOrNotAtAll()
    {
        QTemporaryDir dir;
        const DumpFileResult first = writeDumpFile(dir.path(), QStringLiteral("previous dump\r\n"));
        QVERIFY(first.written && first.path == QDir::toNativeSeparators(dir.filePath(QStringLiteral("ORVANE.TXT"))));
        DumpFileResult cut;
        withFileSizeLimit(64, [&] { return (cut = writeDumpFile(dir.path(), QString(4096, u'x'))).written; });
        QVERIFY(!cut.written && !cut.error.isEmpty());
        QCOMPARE(fileBytes(dir.filePath(QStringLiteral("ORVANE.TXT"))), QByteArray("previous dump\r\n"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"ORVANE.TXT"});
    }
};

// The data dump over a pty against the receiver simulator, through the main window.
class DataDumpWindowTest : public QObject, LinkFixture
{
    Q_OBJECT
    std::unique_ptr<frmDataDump> dump;

    // Contact made, the window open (not modal, so the test can drive it step by step).
    void openWindow()
    {
        QVERIFY(MakeContact());
        QCOMPARE(link->tmrTimeOut->interval(), scaledLinkTime(2000)); // the contact's time-out
        (dump = std::make_unique<frmDataDump>(main.get()))->show();
    }
    QString shown() const { return dump->Text1->toPlainText(); }
    // The data dump window through the main window's button, `step` run while it is up.
    void throughButton(const std::function<void(frmDataDump *)> &step) { QVERIFY(whileModal<frmDataDump>([this] { main->cmdMain[7]->click(); }, step)); }

private slots:
    void initTestCase() { initEventTable(); }
    void init()
    {
        freshLink(), ReceiverConfig.EDITOR.SerialPort = 1, DumpBuffer.fill(0), showMain();
        QVERIFY(startReceiver(1));
        receiver->setLateAnswerMs(kLateAnswerMs);
    }
    void cleanup() { dump.reset(), stopLink(); }

    // A refused contact is said so. A transfer of a known configuration; the About box shows the
    // firmware version it read; the NV dump brings back the programmed memory, the RAW dump the last header.
    void dumpsAfterATransfer()
    {
        receiver->setFault(F::Nak), main->cmdMain[7]->click();
        QCOMPARE(shownBoxes(), QStringList{box("Serial Connection Fail...")});
        receiver->setFault(F::None), doubles().clear();
        auto &r = ReceiverConfig;
        r.EDITOR.EditorVersion = QStringLiteral("1.05"), r.EDITOR.ReceiverVersion = QStringLiteral("1.00");
        r.TIMERS = {2, 4, 2, 1, 3}, r.NV8008 = {true, true, true, true, true, true, false, true};
        r.NV800B = {true, true, false, true, false, false, false, false}, r.NV8007 = {true, true, false, true};
        FipsList[0] = county("012011"), FipsList[1] = county("012086", false), EventList[2] = QStringLiteral("FFW");
        r.EDITOR.UserStationID = QStringLiteral("WXK99"), receiver->setRomVersion("210");
        frmAbout kept(main.get()); // read again whenever it shows
        const auto firmware = [&kept] { kept.show(), kept.hide(); return kept.Label3->text(); };
        QCOMPARE(firmware(), QStringLiteral("Receiver Firmware Version 1.00"));
        main->EstConnect();
        QVERIFY(main->statusPanelText(1) == "Upload / Download Successful" && firmware() == "Receiver Firmware Version 2.10");
        QVERIFY(whileModal<frmAbout>([&] { main->mnuAbout->trigger(); }, [](frmAbout *about) {
            const QString title = about->windowHandle()->title(); // blank: empty would show the program's name
            QVERIFY(!title.isEmpty() && title.trimmed().isEmpty());
            QStringList texts;
            for (QLabel *label : {about->lblProduct, about->lblTitle, about->lblCompany, about->Label1, about->Label3}) texts << label->text();
            QCOMPARE(texts, (QStringList{"SAME Digital Weather Receiver", "Orvane", "Brennick, Inc.",
                                         "Windows Editor Version 1.05", "Receiver Firmware Version 2.10"}));
            QVERIFY(about->lblWebAddress->text().contains(QStringLiteral("example.com")));
        }));

        openWindow();
        QVERIFY(!dump->Image1->pixmap().isNull() && shown().isEmpty());
        QStringList captions{dump->windowTitle(), dump->Frame1->title()};
        for (int i = 0; i < 4; ++i) captions << dump->Label1[i]->text() << dump->Label2[i]->text();
        QCOMPARE(captions, (QStringList{"Orvane Data Dump", "Data Request Command", "NV Data", "Download non-volatile memory data.", "RAW Data",
            "Displays the last decoded raw data received.", "Clear", "Clears the display window.", "Save Window", "Saves displayed data and registry data to file."}));
        dump->cmdNVData->click();
        QCOMPARE(dumped(), receiver->lastImage().left(kNvDumpBytes));
        QCOMPARE(shown(), kNvWait + formatNvDump(DumpBuffer).replace(kDumpLineEnd, "\n"));
        QVERIFY(shown().contains("\nLine Timeout ..................................... 4 Minutes\n") && shown().contains("\nFFW  Flash"));
        // The dotted labels and the raw header line up whatever the desktop's fonts.
        QCOMPARE(unevenCharacters(dump->Text1->font(), formatNvDump(DumpBuffer).remove(kDumpLineEnd) + kHeader), QString());
        // The designed numbers: the pause after "X", the progress maximum, the 20 s time-out.
        QVERIFY(doubles().sleeps == QList<int>{500} && main->prgXfer->maximum() == 2096 && link->tmrTimeOut->interval() == scaledLinkTime(20000) && DumpBuffer.size() == 1049);

        // RAW: the result comes below what the display showed before.
        const QStringList before(40, QStringLiteral("earlier"));
        dump->Text1->setPlainText(before.join(u'\n')), link->tmrTimeOut->setInterval(1), dump->cmdRaw->click();
        QCOMPARE(shown().split(u'\n').mid(before.size() - 1),
                 (QStringList{"earlier", "", "RAW Data Dump..Please wait", kHeader.left(62), kHeader.mid(62, 60), kHeader.mid(122)}));
        QCOMPARE(receiver->commandsReceived(), QByteArray("DZDXR")); // the refused contact, the transfer, NV, RAW
        QVERIFY(main->prgXfer->maximum() == 2096 && link->tmrTimeOut->interval() == scaledLinkTime(20000) && doubles().messages.isEmpty());

        // Save Window: the dated header, the display, the settings listing; the box names the
        // file with its full path. A cleared display beeps; a file that cannot be written is said so.
        dump->cmdClear->click(), dump->cmdSave->click();
        QVERIFY(doubles().beeps == 1 && !QFile::exists(QStringLiteral("ORVANE.TXT")));
        dump->cmdRaw->click();
        const QString path = QDir::toNativeSeparators(QDir::currentPath() + "/ORVANE.TXT");
        QVERIFY(QDir::current().mkdir(QStringLiteral("ORVANE.TXT")));
        dump->cmdSave->click();
        QVERIFY(doubles().messages.size() == 1 && doubles().messages[0].icon == QMessageBox::Warning);
        QVERIFY(doubles().messages[0].text.startsWith("Data file ORVANE.TXT was not written:\n\n" + path + "\n\n") && QDir::current().rmdir("ORVANE.TXT"));
        doubles().messages.clear(), dump->cmdSave->click();
        QCOMPARE(QString::fromLocal8Bit(fileBytes(QStringLiteral("ORVANE.TXT"))),
                 "File Created On Monday, June 15, 2026 12:00:02 PM\r\n\r\n\r\n\r\nRAW Data Dump..Please wait\r\n" +
                     kHeader.left(62) + "\r\n" + kHeader.mid(62, 60) + "\r\n" + kHeader.mid(122) +
                     "\r\n\r\n..............System Registry Parameters.................\r\n" + WriteRegistry() +
                     "...............End Of Orvane Core Dump...................\r\n");
        QCOMPARE(shownBoxes(), QStringList{box("Data file ORVANE.TXT created and is located at:\n\n" + path, QMessageBox::Information)});
    }

    // During a wait, other requests are refused with a beep (a transfer would send "Z" and an image
    // into the dump); closing the window ends the wait at once. Exit sends "Q" and closes the port;
    // the close box and Escape leave it open, and the next dump ignores the abandoned answer.
    void closeDuringAWait_data()
    {
        addRows<CloseRow>({{"Exit, RAW", "exit", true}, {"close box, RAW", "close", true}, {"Escape, NV", "escape", false}});
    }
    void closeDuringAWait()
    {
        QFETCH(CloseRow, row);
        receiver->setLateAnswerMs(int(20000 * kTestTimeScale / 4));
        const QByteArray staleRaw("ZCZC-\x15-"); // holds a NAK, not to be taken for the next answer
        receiver->setRawText(staleRaw), receiver->setMemory(QByteArray(1, char(21)));
        bool closedInWait = false;
        QString text;
        throughButton([&](frmDataDump *window) {
            // After Exit the simulator must take "Q", so it stays silent instead of answering late.
            receiver->setFault(row.way == "exit" ? F::Silent : F::LateAck);
            QTimer::singleShot(50, [&, window] {
                closedInWait = window->waiting() && dataDumpWaiting();
                for (QPushButton *button : {window->cmdNVData, window->cmdRaw, main->cmdMain[7], main->cmdMain[6]}) button->click();
                row.way == "exit" ? window->cmdExit->click() : row.way == "close" ? void(window->close()) : QTest::keyClick(window, Qt::Key_Escape);
            });
            (row.raw ? window->cmdRaw : window->cmdNVData)->click();
            text = window->Text1->toPlainText();
        });
        QVERIFY(closedInWait && !dataDumpWaiting() && doubles().messages.isEmpty() && doubles().beeps == 4);
        QCOMPARE(text, row.raw ? QStringLiteral("\n\nRAW Data Dump..Please wait") : kNvWait);
        const QByteArray sent = row.raw ? "DR" : "DX";
        if (row.way == "exit") {
            QTRY_COMPARE(receiver->commandsReceived(), sent + "Q"); // read on the simulator's thread
            return checkPortClosed();
        }
        QVERIFY(receiver->commandsReceived() == sent && link->Port1->isOpen() && link->LinkConnected);
        const int answerBytes = row.raw ? int(staleRaw.size()) + 1 : 513;
        QVERIFY(QTest::qWaitFor([&] { return link->Port1->portBytesWaiting() >= answerBytes; }, 5000));
        const QByteArray memory = QByteArray(2, '\0') + '\x06' + QByteArray(509, '\0');
        receiver->setFault(F::None), receiver->setMemory(memory), DumpBuffer.fill(0x55);
        throughButton([&](frmDataDump *window) { window->cmdNVData->click(), text = window->Text1->toPlainText(), window->cmdExit->click(); });
        QVERIFY(dumped() == memory && text.contains("Line Timeout ..................................... 6 Minutes"));
        QTRY_COMPARE(receiver->commandsReceived(), sent + "DXQ");
        checkPortClosed();
    }
};

ORVANE_TEST(DataDumpTest)
ORVANE_TEST(DataDumpWindowTest)
#include "DataDumpTest.moc"
