#include "support/TestRegistry.h"
#include "link/LinkTestSupport.h"
#include "support/Columns.h"

#include "diagnostics/DataDump.h"
#include "diagnostics/frmDataDump.h"
#include "selection/EventTable.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTextCursor>
#include <QTimer>

namespace {

using F = ReceiverSimulator::Fault;

// The raw text the simulator sends unless told otherwise, as the window must show it: the
// noise before "ZCZC" and the control characters gone, lines ending at 62 and 124.
const QString kHeader = QStringLiteral(
    "ZCZC-WXR-TOR-012011-012086-012099-012021-012051-012043-012087-012085-012093-012111-012009-"
    "012097-012095-012117+0030-1231845-KMIA/NWS-");

// Runs `step` once the modal data dump window is up (looking every few milliseconds while
// `scope` lives); closes the window if it is still open after `limitMs`, so that a failing
// test ends instead of hanging.
void whenDumpShown(QObject *scope, std::function<void(frmDataDump *)> step, int limitMs = 15000)
{
    auto *poll = new QTimer(scope);
    QObject::connect(poll, &QTimer::timeout, [poll, step, limitMs] {
        if (auto *dump = qobject_cast<frmDataDump *>(QApplication::activeModalWidget())) {
            poll->stop();
            QTimer::singleShot(limitMs, dump, [dump] { dump->close(); });
            step(dump);
        }
    });
    poll->start(5);
}

} // namespace

// The data dump over a pty against the receiver simulator, driven through the main window's
// button and the window's named controls.
class DataDumpWindowTest : public QObject, LinkFixture
{
    Q_OBJECT
    std::unique_ptr<frmDataDump> dump;
    std::unique_ptr<QObject> scope; // what a test leaves waiting ends with the test

    QStringList shownLines() const { return dump->Text1->toPlainText().split(u'\n'); }

    // Contact made, the window open (not modal, so the test can drive it step by step).
    void openWindow()
    {
        QVERIFY(MakeContact());
        dump = std::make_unique<frmDataDump>(main.get());
        dump->show();
    }

private slots:
    void initTestCase() { initEventTable(); }
    void init()
    {
        freshLink();
        ReceiverConfig.EDITOR.SerialPort = 1;
        DumpBuffer.fill(0);
        scope = std::make_unique<QObject>();
        showMain();
        QVERIFY(startReceiver(1));
        receiver->setLateAnswerMs(kLateAnswerMs);
    }
    void cleanup()
    {
        scope.reset();
        dump.reset();
        stopLink();
    }

    // A transfer of a known configuration, then the NV dump shows exactly that configuration.
    void nvDumpShowsWhatTheTransferProgrammed()
    {
        auto &r = ReceiverConfig;
        r.TIMERS = {2, 4, 2, 1, 3};
        r.NV8008 = {true, true, true, true, true, true, false, true};
        r.NV800B = {true, true, false, true, false, false, false, false};
        r.NV8007.GiveStationID = true;
        r.NV8007.AppendThisIs = true;
        r.NV8007.AppendTransmitter = true;
        r.EDITOR.UserStationID = QStringLiteral("WXK99");
        FipsList[0] = county("012011");
        FipsList[1] = county("012086", false);
        FipsList[3] = county("012099");
        EventList[0] = QStringLiteral("TOR");
        EventList[2] = QStringLiteral("FFW");
        EventList[3] = QStringLiteral("RMT");
        main->EstConnect();
        QCOMPARE(main->statusPanelText(1), QStringLiteral("Upload / Download Successful"));

        openWindow();
        QVERIFY(dump->Text1->toPlainText().isEmpty());
        dump->cmdNVData->click();
        QCOMPARE(shownLines(), (QStringList{
            "",
            "",
            "NV Data Dump..Please wait",
            "",
            "Line Timeout ..................................... 4 Minutes",
            "Voice Interval Time .............................. 10 Minutes",
            "Relay Activation Delay ........................... 2 Seconds",
            "Pre Voice Delay .................................. 1.5 Seconds",
            "Accept All FIP Codes ............................. Yes",
            "Accept All Event Codes ........................... No",
            "Ignore Termination Packet ........................ Yes",
            "Permit Voice Interval Annc ....................... Yes",
            "Permit announcements on Warnings and Watches only. Yes",
            "Limit Monthly/Weekly Test to 15 Minutes Max ...... No",
            "Append station identification .................... Yes",
            "Station Identification............................ WXK99",
            "Proceed announcement with \"This Is\"............... Yes",
            "Append \"Transmitter\" after ID .................... Yes",
            "",
            "..................STORED FIP CODES.......................",
            "012011",
            "012099",
            "",
            ".................STORED EVENT CODES......................",
            "TOR  Tornado Warning",
            "FFW  Flash Flood Warning",
            "RMT  Required Monthly Test",
            "..................End Of Data Dump.......................",
            ""}));
        QCOMPARE(receiver->commandsReceived(), QByteArray("ZDX"));
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(DumpBuffer.data()), 512), receiver->lastImage().left(512));
        // The designed numbers: the pause after "X", the progress maximum, the 20 s time-out.
        QCOMPARE(doubles().sleeps, QList<int>{500});
        QCOMPARE(main->prgXfer->maximum(), 2096);
        QCOMPARE(link->tmrTimeOut->interval(), scaledLinkTime(20000));
        QVERIFY(doubles().messages.isEmpty());
    }

    // The result scrolls into view below what the display showed before.
    void rawDumpOfANoisyLongHeader()
    {
        openWindow();
        const QStringList before(40, QStringLiteral("earlier"));
        dump->Text1->setPlainText(before.join(u'\n'));
        dump->cmdRaw->click();
        QCOMPARE(shownLines().mid(before.size() - 1), (QStringList{"earlier", "", "RAW Data Dump..Please wait",
                                                                   kHeader.left(62), kHeader.mid(62, 60),
                                                                   kHeader.mid(122)}));
        QTextCursor last(dump->Text1->document());
        last.movePosition(QTextCursor::End);
        QVERIFY(dump->Text1->viewport()->rect().contains(dump->Text1->cursorRect(last)));
        last.movePosition(QTextCursor::PreviousBlock, QTextCursor::MoveAnchor, 3);
        QVERIFY(dump->Text1->viewport()->rect().contains(dump->Text1->cursorRect(last))); // the wait line
        QCOMPARE(receiver->commandsReceived(), QByteArray("DR"));
        QCOMPARE(main->prgXfer->maximum(), 2096);
        QCOMPARE(link->tmrTimeOut->interval(), scaledLinkTime(20000));
    }

    // The main window's button: the window on contact, "Serial Connection Fail..." otherwise
    // (after error #201 when the port will not open).
    void downloadButton_data()
    {
        QTest::addColumn<int>("fault");
        QTest::addColumn<QStringList>("messages");
        // Every way contact fails is a cell of the fault matrix; here the window that opens,
        // and one refusal.
        QTest::newRow("contact") << int(F::None) << QStringList{};
        QTest::newRow("NAK") << int(F::Nak) << QStringList{box("Serial Connection Fail...")};
    }
    void downloadButton()
    {
        QFETCH(int, fault);
        QFETCH(QStringList, messages);
        receiver->setFault(F(fault));
        bool shown = false;
        QString title;
        whenDumpShown(scope.get(), [&](frmDataDump *window) {
            shown = true;
            title = window->windowTitle();
            QCOMPARE(window->findChild<QGroupBox *>("Frame1")->title(), QStringLiteral("Data Request Command"));
            QVERIFY(!window->Image1->pixmap().isNull());
            // The dump's dotted labels and the raw header line up whatever the desktop's fonts.
            QCOMPARE(unevenCharacters(window->Text1->font(), formatNvDump(DumpBuffer).remove(kDumpLineEnd) + kHeader),
                     QString());
            QStringList captions;
            for (int i = 0; i < 4; ++i)
                captions << window->findChild<QLabel *>(QStringLiteral("Label1_%1").arg(i))->text()
                         << window->findChild<QLabel *>(QStringLiteral("Label2_%1").arg(i))->text();
            QCOMPARE(captions, (QStringList{"NV Data", "Download non-volatile memory data.", "RAW Data",
                                            "Displays the last decoded raw data received.", "Clear",
                                            "Clears the display window.", "Save Window",
                                            "Saves displayed data and registry data to file."}));
            for (const char *name : {"cmdNVData", "cmdRaw", "cmdClear", "cmdSave", "cmdExit", "Text1"})
                QVERIFY2(window->findChild<QWidget *>(name), name);
            window->findChild<QPushButton *>("cmdExit")->click();
        });
        QVERIFY(main->cmdMain[7]->isEnabled());
        main->cmdMain[7]->click();

        QCOMPARE(shown, messages.isEmpty());
        QCOMPARE(shownBoxes(), messages);
        if (shown) {
            QCOMPARE(title, QStringLiteral("Orvane Data Dump"));
            QTRY_COMPARE(receiver->commandsReceived(), QByteArray("DQ")); // read on the simulator's thread
            checkPortClosed();
        }
    }

    // Save Window: the dated header, the display, the settings listing; the box names the
    // file with its full path. An empty display beeps and writes nothing.
    void saveWindow()
    {
        ReceiverConfig.EDITOR.UserStationID = QStringLiteral("WXK99");
        ReceiverConfig.TIMERS.PreVoiceAnnc = 2;
        openWindow();
        dump->cmdSave->click();
        QCOMPARE(doubles().beeps, 1);
        QVERIFY(!QFile::exists(QStringLiteral("ORVANE.TXT")));

        dump->cmdRaw->click();
        dump->cmdSave->click();
        QFile file(QStringLiteral("ORVANE.TXT"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString saved = QString::fromLocal8Bit(file.readAll());
        QCOMPARE(saved, dumpFileText(dump->Text1->toPlainText(), doubles().wallClock));
        QVERIFY(saved.startsWith("File Created On Monday, June 15, 2026 12:00:00 PM\r\n\r\n\r\n\r\nRAW Data Dump..Please wait\r\n" +
                                 kHeader.left(62) + "\r\n"));
        QCOMPARE(shownBoxes(), QStringList{box("Data file ORVANE.TXT created and is located at:\n\n" +
                                                   QDir::toNativeSeparators(QDir::currentPath() + "/ORVANE.TXT"),
                                               QMessageBox::Information)});
    }

    // A save that cannot be written says so; it never claims the file was created.
    void failedSave()
    {
        QVERIFY(QDir::current().mkdir(QStringLiteral("ORVANE.TXT")));
        openWindow();
        dump->cmdRaw->click();
        dump->cmdSave->click();
        QCOMPARE(doubles().messages.size(), 1);
        const MessageRequest box = doubles().messages.last();
        QVERIFY(box.text.startsWith("Data file ORVANE.TXT was not written:\n\n" +
                                    QDir::toNativeSeparators(QDir::currentPath() + "/ORVANE.TXT")));
        QVERIFY(!box.text.contains("created"));
        QCOMPARE(box.icon, QMessageBox::Warning);
        QVERIFY(QFileInfo(QStringLiteral("ORVANE.TXT")).isDir());
    }

    // A second NV or RAW request while the receiver's answer is awaited is refused with a beep:
    // one command goes out, one answer fills DumpBuffer and the display.
    void secondRequestDuringAWait()
    {
        openWindow();
        receiver->setFault(F::LateAck); // the answer comes after lateAnswerMs, inside the time-out
        receiver->setLateAnswerMs(int(20000 * kTestTimeScale / 4));
        bool waitingSeen = false;
        QTimer::singleShot(50, [this, &waitingSeen] {
            waitingSeen = dump->waiting() && dataDumpWaiting();
            dump->cmdNVData->click();
            dump->cmdRaw->click();
            main->cmdMain[7]->click();
            main->cmdMain[6]->click(); // a transfer would send "Z" and an image into the dump
        });
        dump->cmdNVData->click();
        QVERIFY(waitingSeen);
        QCOMPARE(doubles().beeps, 4);
        QCOMPARE(receiver->commandsReceived(), QByteArray("DX"));
        QCOMPARE(dump->Text1->toPlainText().count("NV Data Dump..Please wait"), 1);
        QCOMPARE(dump->Text1->toPlainText().count("End Of Data Dump"), 1);
        QVERIFY(!link->TransferTimedOut);
        QVERIFY(!dump->waiting());
        QVERIFY(!dataDumpWaiting());
    }

    // Closing the window while a wait runs ends the wait at once and shows nothing more.
    // Exit sends "Q" and closes the port; the close box and Escape leave it open, and the
    // next dump works on it without the rest of the abandoned answer.
    void closeDuringAWait_data()
    {
        QTest::addColumn<QString>("way");
        QTest::addColumn<bool>("raw");
        QTest::newRow("Exit, NV") << "exit" << false;
        QTest::newRow("Exit, RAW") << "exit" << true;
        QTest::newRow("close box, NV") << "close" << false;
        QTest::newRow("close box, RAW") << "close" << true;
        QTest::newRow("Escape, NV") << "escape" << false;
    }
    void closeDuringAWait()
    {
        QFETCH(QString, way);
        QFETCH(bool, raw);
        receiver->setLateAnswerMs(int(20000 * kTestTimeScale / 4));
        // The abandoned answer holds a NAK, which must not be taken for the next contact's answer.
        const QByteArray staleRaw("ZCZC-\x15-");
        receiver->setRawText(staleRaw);
        receiver->setMemory(QByteArray(1, char(21)));
        bool closedInWait = false;
        QString shown;
        whenDumpShown(scope.get(), [&](frmDataDump *window) {
            // After Exit the receiver must still take "Q": a simulator busy with a late answer
            // would miss it, so it stays silent instead. The other ways leave the answer coming.
            receiver->setFault(way == "exit" ? F::Silent : F::LateAck);
            QTimer::singleShot(50, [&, window] {
                closedInWait = window->waiting();
                if (way == "exit")
                    window->cmdExit->click();
                else if (way == "close")
                    window->close();
                else
                    QTest::keyClick(window, Qt::Key_Escape);
            });
            (raw ? window->cmdRaw : window->cmdNVData)->click();
            shown = window->Text1->toPlainText();
        });
        main->cmdMain[7]->click();

        QVERIFY(closedInWait);
        QVERIFY(QApplication::activeModalWidget() == nullptr);
        QVERIFY(!dataDumpWaiting());
        QCOMPARE(shown, raw ? QStringLiteral("\n\nRAW Data Dump..Please wait")
                            : QStringLiteral("\n\nNV Data Dump..Please wait\n"));
        QVERIFY(doubles().messages.isEmpty());
        const QByteArray sent = raw ? "DR" : "DX";
        if (way == "exit") {
            // The simulator reads on its own thread: the "Q" may still be on its way.
            QTRY_COMPARE(receiver->commandsReceived(), sent + "Q");
            checkPortClosed();
            return;
        }
        QCOMPARE(receiver->commandsReceived(), sent);
        QVERIFY(link->Port1->isOpen());
        QVERIFY(link->LinkConnected);

        // The abandoned answer arrives meanwhile; the next dump is not mixed with it.
        const int answerBytes = raw ? int(staleRaw.size()) + 1 : 513;
        QVERIFY(QTest::qWaitFor([&] { return link->Port1->portBytesWaiting() >= answerBytes; }, 5000));
        receiver->setFault(F::None);
        QByteArray memory(512, '\0');
        memory[2] = 6;
        receiver->setMemory(memory);
        DumpBuffer.fill(0x55);
        whenDumpShown(scope.get(), [&](frmDataDump *window) {
            window->cmdNVData->click();
            shown = window->Text1->toPlainText();
            window->cmdExit->click();
        });
        main->cmdMain[7]->click();
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(DumpBuffer.data()), 512), memory);
        QVERIFY(shown.contains("Line Timeout ..................................... 6 Minutes"));
        checkPortClosed();
    }

};

ORVANE_TEST(DataDumpWindowTest)
#include "DataDumpWindowTest.moc"
