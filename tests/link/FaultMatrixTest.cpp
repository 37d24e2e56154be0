// The fault matrix: every fault mode of the receiver simulator against every operation that
// talks to the receiver, one row a cell; expected() is the table (docs/FAULTS.md in words).

#include "LinkTestSupport.h"
#include "diagnostics/DataDump.h"
#include "diagnostics/frmDataDump.h"
#include <QAction>
#include <QPlainTextEdit>

namespace {

using F = ReceiverSimulator::Fault;
enum Op { Transfer, Search, Contact, NvDump, RawDump };
constexpr int kGone = -1; // the device is gone before the operation starts

const QString kFailed = QStringLiteral("Port Connect Failed");
const QString kDownloading = QStringLiteral("Downloading Data");
const QString e201 = QStringLiteral("Error #201:  Selected Serial Port will not open");
const QString e202 = QStringLiteral("Error #202:  Serial Connection Not Established");
const QString kNoContact = QStringLiteral("Serial Connection Fail...");
const QString kNoHandshake = QStringLiteral("Error...No serial handshake found.  Check all connections.");
const QString kNvWait = QStringLiteral("\n\nNV Data Dump..Please wait\n");
const QString kRawWait = QStringLiteral("\n\nRAW Data Dump..Please wait");
const QString kHeader = QStringLiteral("ZCZC-WXR-RWT-012011+0015-1231845-KMIA/NWS-");
// The designed wait of a late answer (after the 5 s and 2 s limits, within 20 s) and of a
// hang-up (half the answer, then the device goes 0.2 s of real time later).
constexpr int kLate = int(kLateAnswerMs / kTestTimeScale), kHangUp = int(200 / kTestTimeScale);

// shows: status panel 1 (transfer, search), the window's title (contact), the display (raw); messages:
// every box; progress: the bar left shown; wait: the designed ms (a time-out run out, a late answer,
// or 0); memory: NV dump bytes of the receiver's memory taken into DumpBuffer, -1 when none is shown.
struct Outcome {
    bool ok = false; QString shows = {}; QStringList messages = {};
    bool open = false, timesOut = false, progress = false; int wait = 0, memory = -1;
};

Outcome expected(Op op, int fault)
{
    const bool late = fault == int(F::LateAck), silent = fault == int(F::Silent), gone = fault == kGone;
    const bool shortAnswer = fault == int(F::ShortDownload), hangUp = fault == int(F::HangUpInDownload);
    switch (op) {
    case Transfer:
        if (fault == int(F::None) || fault == int(F::GarbageBeforeAnswers)) return {.ok = true, .shows = kSuccess};
        if (silent || late) return {.shows = kFailed, .messages = {e202}, .timesOut = true, .wait = 5000};
        if (fault == int(F::Nak)) return {.shows = QStringLiteral("Upload Failure"), .progress = true};
        if (fault == int(F::NoImageAnswer))
            return {.shows = QStringLiteral("Upload Data Timeout"), .timesOut = true, .progress = true, .wait = 20000};
        if (gone) return {.shows = kFailed, .messages = {e201}};
        // a short download, a hang-up in it, a bad checksum, a bad end mark
        return {.shows = kDownloading, .timesOut = shortAnswer, .wait = shortAnswer ? 20000 : hangUp ? kHangUp : 0};
    case Search:
        if (silent || late || gone || fault == int(F::GarbageBeforeAnswers))
            return {.shows = kSuccess, .messages = {kNoHandshake}, .wait = gone ? 0 : 200};
        return {.ok = true, .shows = QStringLiteral(" Serial port 1 found and passed handshaking test. Port 1 set."),
                .messages = {QStringLiteral("Serial port 1 found. Set port number?")}, .wait = 200};
    case Contact:
        if (silent || late) return {.messages = {kNoContact}, .timesOut = true, .wait = 2000};
        if (fault == int(F::Nak)) return {.messages = {kNoContact}, .open = true};
        if (gone) return {.messages = {e201, kNoContact}};
        return {.ok = true, .shows = QStringLiteral("Orvane Data Dump")};
    case NvDump:
    case RawDump: {
        const QString raw = op == RawDump ? kRawWait : QString(); // the NV dump shows the worded memory
        const auto memory = [op](int bytes) { return op == NvDump ? bytes : -1; };
        if (silent || shortAnswer)
            return {.shows = raw.isEmpty() ? raw : raw + u'\n' + (silent ? QString() : kHeader), .open = true, .timesOut = true,
                    .wait = 20000, .memory = memory(silent ? 0 : 511)};
        if (hangUp || gone) return {.shows = raw, .wait = hangUp ? kHangUp : 0};
        return {.ok = true, .shows = raw.isEmpty() ? raw : raw + u'\n' + kHeader, .open = true, .wait = late ? kLate : 0, .memory = memory(512)};
    }
    }
    return {};
}

QByteArray dumpBytes() { return QByteArray(reinterpret_cast<const char *>(DumpBuffer.data()), kDumpBufferSize); }
QString programState() // the record, both lists and the history, as text
{
    buildSettingsImage();
    QStringList state{WriteRegistry(), QString::fromLatin1(QByteArray(reinterpret_cast<const char *>(SettingsImage.data()), 32).toHex()),
                      QString::fromLatin1(parameterFileContent())};
    for (const HistoryEntry &e : HistoryTable) state << QStringList{e.Date, e.Time, e.Length, e.Org, e.Event}.join(u'|');
    return state.join(u'\n');
}
} // namespace

class FaultMatrixTest : public QObject, LinkFixture
{
    Q_OBJECT
    // A transfer that must pass, with the receiver reporting `rom`; the history's first event is then `firstEvent`.
    void goodTransfer(const QByteArray &rom, const QString &firstEvent)
    {
        receiver->setFault(F::None), receiver->setRomVersion(rom);
        main->mnuHistory[2]->setChecked(true);
        const auto messages = doubles().messages.size();
        main->cmdMain[6]->click();
        const QString version = rom.left(1) + u'.' + rom.mid(1);
        QCOMPARE(QStringList({main->statusPanelText(1), main->statusPanelText(2), ReceiverConfig.EDITOR.ReceiverVersion, HistoryTable[0].Event}),
                 QStringList({kSuccess, "Orvane ROM Version = " + version, version, firstEvent}));
        QCOMPARE(receiver->lastImage(), expectedImage("012011-", "TOR-SVR-"));
        QVERIFY(main->mnuHistory[1]->isChecked() && !main->mnuHistory[2]->isChecked() && doubles().messages.size() == messages);
        QVERIFY(main->mnuSaveAs->isEnabled() && main->prgXfer->isHidden());
        checkPortClosed();
    }

private slots:
    void initTestCase() { initEventTable(); }
    void init()
    {
        freshLink(), showMain();
        ReceiverConfig.EDITOR.TimeZoneOffset = -5, ReceiverConfig.NV8008.AcceptAllFips = true;
        FipsList[0] = county("012011"), EventList[0] = QStringLiteral("TOR"), EventList[1] = QStringLiteral("SVR");
        DumpBuffer.fill(0), DumpBuffer[2] = 5, DumpBuffer[511] = 0x77;
        QVERIFY(startReceiverOnPort1());
        for (int n = 2; n <= 4; ++n) setPortDevice(n, QStringLiteral("/nonexistent/ttyS%1").arg(n));
        receiver->setRawText("\x11U" + kHeader.toLatin1());
    }
    void cleanup() { stopLink(); }

    void cell_data()
    {
        QTest::addColumn<int>("op"), QTest::addColumn<int>("fault");
        const std::pair<const char *, int> faults[] = {
            {"none", int(F::None)}, {"silent", int(F::Silent)}, {"nak", int(F::Nak)}, {"late answer", int(F::LateAck)},
            {"no image answer", int(F::NoImageAnswer)}, {"short download", int(F::ShortDownload)}, {"bad checksum", int(F::BadDownloadChecksum)},
            {"garbage", int(F::GarbageBeforeAnswers)}, {"hang-up", int(F::HangUpInDownload)}, {"bad end mark", int(F::BadEndMark)}, {"device gone", kGone}};
        const char *ops[] = {"transfer", "port search", "MakeContact", "NV dump", "raw dump"};
        for (int op = Transfer; op <= RawDump; ++op)
            for (const auto &[name, fault] : faults) QTest::addRow("%s, %s", ops[op], name) << op << fault;
    }
    void cell()
    {
        QFETCH(int, op);
        QFETCH(int, fault);
        const Outcome want = expected(Op(op), fault);
        goodTransfer("105", QStringLiteral("Tornado Warning"));
        if (QTest::currentTestFailed()) return;
        std::unique_ptr<frmDataDump> dump;
        if (op == NvDump || op == RawDump) {
            QVERIFY(MakeContact());
            (dump = std::make_unique<frmDataDump>(main.get()))->show();
        }
        // The setup window looks up the devices when it is made: not part of the search's time.
        const auto setup = op == Search ? std::make_unique<frmCommPort>(main.get()) : nullptr;
        const QByteArray memory = receiver->lastImage().left(kNvDumpBytes); // what "X" answers
        receiver->setFault(fault == kGone ? F::None : F(fault));
        receiver->setHistoryRecords(ReceiverSimulator::defaultHistory().replace(14, 3, "FFW")), receiver->setRomVersion("210"); // first record: FFW
        if (fault == kGone) receiver->hangUpNow();
        const QString stateBefore = programState();
        QByteArray dumpAfter = dumpBytes();
        if (want.memory > 0) dumpAfter.replace(0, want.memory, memory.left(want.memory));
        const auto messagesBefore = doubles().messages.size();
        QList<int> pauses;
        const auto tests = receiver->commandsReceived().count('T');
        setSearchPauseSleeper([&](int ms) {
            pauses << ms; // once the simulator has taken "T", its answer crosses at once
            for (int i = 0; i < ms && receiver->commandsReceived().count('T') == tests; ++i) QThread::msleep(1);
            QThread::msleep(scaledLinkTime(ms));
        });
        QElapsedTimer clock;
        qint64 elapsed = -1;
        bool timedOut = false; // whether the wait that ended the operation ran out its time
        QString shows;
        const auto ended = [&] { elapsed = clock.elapsed(), timedOut = link->TransferTimedOut; };
        clock.start();
        if (op == Transfer || op == Search) {
            (op == Search ? setup->cmdTest : main->cmdMain[6])->click();
            shows = main->statusPanelText(1);
        } else if (op == Contact) {
            QTimer poll; // the window opens modal: note it and leave it by its Exit button
            connect(&poll, &QTimer::timeout, this, [&] {
                if (auto *window = qobject_cast<frmDataDump *>(QApplication::activeModalWidget())) {
                    poll.stop(), ended();
                    shows = window->windowTitle();
                    window->cmdExit->click();
                }
            });
            poll.start(5), main->cmdMain[7]->click();
        } else {
            (op == NvDump ? dump->cmdNVData : dump->cmdRaw)->click();
            shows = dump->Text1->toPlainText();
        }
        if (elapsed < 0) ended();
        QStringList messages; // what the owner sees
        for (const MessageRequest &box : doubles().messages.mid(messagesBefore)) {
            const bool question = box.text.endsWith(u'?'); // the search's "Set port number?"
            QVERIFY(box.icon == (question ? QMessageBox::Information : QMessageBox::Warning)
                    && box.buttons == (question ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok));
            messages << box.text;
        }
        QCOMPARE(messages, want.messages);
        const QString worded = want.memory < 0 ? QString() : formatNvDump(DumpBuffer).replace("\r\n", "\n"); // as DumpBuffer now holds it
        QCOMPARE(shows, op == NvDump ? kNvWait + worded : want.shows);
        if (op == Search) QCOMPARE(pauses, want.wait ? QList<int>{kSearchAnswerWindowMs} : QList<int>{});
        if (op == Transfer) {
            QVERIFY(main->prgXfer->isVisible() == want.progress && main->mnuSaveAs->isEnabled() == want.ok);
            QCOMPARE(main->statusPanelText(2), want.ok ? QStringLiteral("Orvane ROM Version = 2.10") : QString());
        }
        QVERIFY(link->Port1->isOpen() == want.open && timedOut == want.timesOut);
        if (!want.open && !dump) checkPortClosed(); // the dump window's link stays up until its Exit
        // Ended by a time-out of the designed length, or before any; the time taken on the scaled
        // clock (the margin is for the work around the waits on a busy machine).
        if (want.timesOut) QCOMPARE(link->tmrTimeOut->interval(), scaledLinkTime(want.wait));
        const double designed = elapsed / kTestTimeScale;
        QVERIFY2(designed >= want.wait * 0.95 && designed <= want.wait * 1.25 + 4000,
                 qPrintable(QStringLiteral("took %1 ms of a designed %2 ms").arg(designed).arg(want.wait)));
        QCOMPARE(dumpBytes(), dumpAfter); // what a failed exchange must leave alone
        if (op == Transfer && want.ok) QCOMPARE(HistoryTable[0].Event, QStringLiteral("Flash Flood Warning"));
        else QCOMPARE(programState(), stateBefore);
        // Healed (plugged in again when it went), the receiver takes a good transfer.
        if (dump) dump->close(); // the close box: the port stays as it is
        QTRY_VERIFY(!receiver->lateAnswerPending());
        QVERIFY(receiver->start());
        setPortDevice(1, receiver->devicePath());
        goodTransfer("210", QStringLiteral("Flash Flood Warning"));
    }
};

ORVANE_TEST(FaultMatrixTest)
#include "FaultMatrixTest.moc"
