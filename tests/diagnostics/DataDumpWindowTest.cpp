#include "support/TestRegistry.h"
#include "config/ConfigTestSupport.h"
#include "link/LinkTestSupport.h"
#include "support/Columns.h"
#include "support/Rows.h"

#include "diagnostics/DataDump.h"
#include "diagnostics/frmAbout.h"
#include "diagnostics/frmDataDump.h"
#include "selection/EventTable.h"

#include <QAction>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTextCursor>
#include <QTimer>
#include <QWindow>

namespace {

using F = ReceiverSimulator::Fault;

// The simulator's raw text as the window shows it: noise and control characters gone,
// lines ending at 62 and 124.
const QString kHeader = QStringLiteral(
    "ZCZC-WXR-TOR-012011-012086-012099-012021-012051-012043-012087-012085-012093-012111-012009-"
    "012097-012095-012117+0030-1231845-KMIA/NWS-");
const QString kNvWait = QStringLiteral("\n\nNV Data Dump..Please wait\n");

QByteArray dumped() { return QByteArray(reinterpret_cast<const char *>(DumpBuffer.data()), kNvDumpBytes); }

// Runs `open`, which shows a modal W and returns when it closes; `inspect` sees W while it is
// up, then W is closed. False when W never came (after two seconds every dialog is closed).
template <typename W> bool whileModal(const std::function<void()> &open, const std::function<void(W *)> &inspect)
{
    bool seen = false;
    int tries = 0;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (auto *window = qobject_cast<W *>(QApplication::activeModalWidget())) {
            poll.stop();
            seen = true;
            inspect(window);
            window->close();
        } else if (++tries > 200) {
            poll.stop();
            if (auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget()))
                dialog->reject();
        }
    });
    poll.start(10);
    open();
    return seen;
}

struct CloseRow {
    const char *name;
    QString way;
    bool raw;
};

} // namespace
Q_DECLARE_METATYPE(CloseRow)

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
        dump = std::make_unique<frmDataDump>(main.get());
        dump->show();
    }
    QString shown() const { return dump->Text1->toPlainText(); }
    // The data dump window through the main window's button, `step` run while it is up.
    void throughButton(const std::function<void(frmDataDump *)> &step)
    {
        QVERIFY(whileModal<frmDataDump>([this] { main->cmdMain[7]->click(); }, step));
    }

private slots:
    void initTestCase() { initEventTable(); }
    void init()
    {
        freshLink();
        ReceiverConfig.EDITOR.SerialPort = 1;
        DumpBuffer.fill(0);
        showMain();
        QVERIFY(startReceiver(1));
        receiver->setLateAnswerMs(kLateAnswerMs);
    }
    void cleanup()
    {
        dump.reset();
        stopLink();
    }

    // A transfer of a known configuration; the About box shows the firmware version it read;
    // the NV dump brings back the programmed memory, the RAW dump the last header.
    void dumpsAfterATransfer()
    {
        auto &r = ReceiverConfig;
        r.EDITOR.EditorVersion = QStringLiteral("1.05");
        r.EDITOR.ReceiverVersion = QStringLiteral("1.00");
        r.TIMERS = {2, 4, 2, 1, 3};
        r.NV8008 = {true, true, true, true, true, true, false, true};
        r.NV800B = {true, true, false, true, false, false, false, false};
        r.NV8007 = {true, true, false, true};
        r.EDITOR.UserStationID = QStringLiteral("WXK99");
        FipsList[0] = county("012011");
        FipsList[1] = county("012086", false);
        EventList[2] = QStringLiteral("FFW");
        receiver->setRomVersion("210");
        frmAbout kept(main.get()); // read again whenever it shows
        const auto firmware = [&kept] { kept.show(), kept.hide(); return kept.Label3->text(); };
        QCOMPARE(firmware(), QStringLiteral("Receiver Firmware Version 1.00"));
        main->EstConnect();
        QCOMPARE(main->statusPanelText(1), QStringLiteral("Upload / Download Successful"));
        QCOMPARE(firmware(), QStringLiteral("Receiver Firmware Version 2.10"));
        QVERIFY(whileModal<frmAbout>([&] { main->mnuAbout->trigger(); }, [](frmAbout *about) {
            const QString title = about->windowHandle()->title(); // blank: empty would show the program's name
            QVERIFY(!title.isEmpty() && title.trimmed().isEmpty());
            QStringList texts;
            for (QLabel *label : {about->lblProduct, about->lblTitle, about->lblCompany, about->Label1, about->Label3})
                texts << label->text();
            QCOMPARE(texts, (QStringList{"SAME Digital Weather Receiver", "Orvane", "Brennick, Inc.",
                                         "Windows Editor Version 1.05", "Receiver Firmware Version 2.10"}));
            QVERIFY(about->lblWebAddress->text().contains(QStringLiteral("example.com")));
            about->cmdSysInfo->click();
            QCOMPARE(shownBoxes(), QStringList{box("System Information Is Unavailable At This Time", QMessageBox::NoIcon)});
        }));
        doubles().clear();

        openWindow();
        QCOMPARE(dump->windowTitle(), QStringLiteral("Orvane Data Dump"));
        QCOMPARE(dump->Frame1->title(), QStringLiteral("Data Request Command"));
        QVERIFY(!dump->Image1->pixmap().isNull());
        QStringList captions;
        for (int i = 0; i < 4; ++i)
            captions << dump->Label1[i]->text() << dump->Label2[i]->text();
        QCOMPARE(captions, (QStringList{"NV Data", "Download non-volatile memory data.", "RAW Data",
            "Displays the last decoded raw data received.", "Clear", "Clears the display window.", "Save Window",
            "Saves displayed data and registry data to file."}));
        QVERIFY(shown().isEmpty());
        dump->cmdNVData->click();
        QCOMPARE(dumped(), receiver->lastImage().left(kNvDumpBytes));
        QCOMPARE(shown(), kNvWait + formatNvDump(DumpBuffer).replace(kDumpLineEnd, "\n"));
        QVERIFY(shown().contains("\nLine Timeout ..................................... 4 Minutes\n"));
        QVERIFY(shown().contains("WXK99\n") && shown().contains("\n012011\n\n") && shown().contains("\nFFW  Flash"));
        // The dotted labels and the raw header line up whatever the desktop's fonts.
        QCOMPARE(unevenCharacters(dump->Text1->font(), formatNvDump(DumpBuffer).remove(kDumpLineEnd) + kHeader), QString());
        // The designed numbers: the pause after "X", the progress maximum, the 20 s time-out.
        QCOMPARE(doubles().sleeps, QList<int>{500});
        QCOMPARE(main->prgXfer->maximum(), 2096);
        QCOMPARE(link->tmrTimeOut->interval(), scaledLinkTime(20000));
        QCOMPARE(int(DumpBuffer.size()), 1049);

        // RAW: the result scrolls into view below what the display showed before.
        const QStringList before(40, QStringLiteral("earlier"));
        dump->Text1->setPlainText(before.join(u'\n'));
        link->tmrTimeOut->setInterval(1);
        dump->cmdRaw->click();
        QCOMPARE(shown().split(u'\n').mid(before.size() - 1),
                 (QStringList{"earlier", "", "RAW Data Dump..Please wait", kHeader.left(62), kHeader.mid(62, 60),
                              kHeader.mid(122)}));
        QTextCursor last(dump->Text1->document());
        last.movePosition(QTextCursor::End);
        QVERIFY(dump->Text1->viewport()->rect().contains(dump->Text1->cursorRect(last)));
        last.movePosition(QTextCursor::PreviousBlock, QTextCursor::MoveAnchor, 3);
        QVERIFY(dump->Text1->viewport()->rect().contains(dump->Text1->cursorRect(last))); // the wait line
        QCOMPARE(receiver->commandsReceived(), QByteArray("ZDXR"));
        QVERIFY(main->prgXfer->maximum() == 2096 && link->tmrTimeOut->interval() == scaledLinkTime(20000));
        QVERIFY(doubles().messages.isEmpty());
    }

    void refusedContact()
    {
        receiver->setFault(F::Nak);
        QVERIFY(main->cmdMain[7]->isEnabled());
        main->cmdMain[7]->click();
        QCOMPARE(shownBoxes(), QStringList{box("Serial Connection Fail...")});
    }

    // Save Window: the dated header, the display, the settings listing; the box names the file
    // with its full path. An empty display beeps; a file that cannot be written is said so.
    void saveWindow()
    {
        ReceiverConfig.EDITOR.UserStationID = QStringLiteral("WXK99");
        openWindow();
        dump->cmdSave->click();
        QCOMPARE(doubles().beeps, 1);
        QVERIFY(!QFile::exists(QStringLiteral("ORVANE.TXT")));
        dump->cmdRaw->click();
        const QString path = QDir::toNativeSeparators(QDir::currentPath() + "/ORVANE.TXT");
        QVERIFY(QDir::current().mkdir(QStringLiteral("ORVANE.TXT")));
        dump->cmdSave->click();
        QCOMPARE(doubles().messages.size(), 1);
        QVERIFY(doubles().messages[0].text.startsWith("Data file ORVANE.TXT was not written:\n\n" + path + "\n\n"));
        QCOMPARE(doubles().messages[0].icon, QMessageBox::Warning);
        QVERIFY(QDir::current().rmdir(QStringLiteral("ORVANE.TXT")));
        doubles().messages.clear();
        dump->cmdSave->click();
        QCOMPARE(QString::fromLocal8Bit(fileBytes(QStringLiteral("ORVANE.TXT"))),
                 "File Created On Monday, June 15, 2026 12:00:00 PM\r\n\r\n\r\n\r\nRAW Data Dump..Please wait\r\n" +
                     kHeader.left(62) + "\r\n" + kHeader.mid(62, 60) + "\r\n" + kHeader.mid(122) +
                     "\r\n\r\n..............System Registry Parameters.................\r\n" + WriteRegistry() +
                     "...............End Of Orvane Core Dump...................\r\n");
        QVERIFY(WriteRegistry().contains("REGISTRY_EDITOR.UserStationID=WXK99\r\n"));
        QCOMPARE(shownBoxes(), QStringList{box("Data file ORVANE.TXT created and is located at:\n\n" + path,
                                               QMessageBox::Information)});
    }

    // During a wait, another request is refused with a beep (a transfer would send "Z" and an
    // image into the dump). Closing the window ends the wait at once and shows nothing more.
    // Exit sends "Q" and closes the port; the close box and Escape leave it open, and the next
    // dump works on it without the rest of the abandoned answer.
    void closeDuringAWait_data()
    {
        addRows<CloseRow>({{"Exit, RAW", "exit", true}, {"close box, RAW", "close", true}, {"Escape, NV", "escape", false}});
    }
    void closeDuringAWait()
    {
        QFETCH(CloseRow, row);
        receiver->setLateAnswerMs(int(20000 * kTestTimeScale / 4));
        const QByteArray staleRaw("ZCZC-\x15-"); // holds a NAK, not to be taken for the next answer
        receiver->setRawText(staleRaw);
        receiver->setMemory(QByteArray(1, char(21)));
        bool closedInWait = false;
        QString text;
        throughButton([&](frmDataDump *window) {
            // After Exit the simulator must take "Q", so it stays silent instead of answering late.
            receiver->setFault(row.way == "exit" ? F::Silent : F::LateAck);
            QTimer::singleShot(50, [&, window] {
                closedInWait = window->waiting() && dataDumpWaiting();
                for (QPushButton *button : {window->cmdNVData, window->cmdRaw, main->cmdMain[7], main->cmdMain[6]})
                    button->click();
                if (row.way == "exit")
                    window->cmdExit->click();
                else if (row.way == "close")
                    window->close();
                else
                    QTest::keyClick(window, Qt::Key_Escape);
            });
            (row.raw ? window->cmdRaw : window->cmdNVData)->click();
            text = window->Text1->toPlainText();
        });
        QVERIFY(closedInWait && !dataDumpWaiting());
        QCOMPARE(doubles().beeps, 4);
        QCOMPARE(text, row.raw ? QStringLiteral("\n\nRAW Data Dump..Please wait") : kNvWait);
        QVERIFY(doubles().messages.isEmpty());
        const QByteArray sent = row.raw ? "DR" : "DX";
        if (row.way == "exit") {
            QTRY_COMPARE(receiver->commandsReceived(), sent + "Q"); // read on the simulator's thread
            checkPortClosed();
            return;
        }
        QCOMPARE(receiver->commandsReceived(), sent);
        QVERIFY(link->Port1->isOpen() && link->LinkConnected);
        const int answerBytes = row.raw ? int(staleRaw.size()) + 1 : 513;
        QVERIFY(QTest::qWaitFor([&] { return link->Port1->portBytesWaiting() >= answerBytes; }, 5000));
        receiver->setFault(F::None);
        QByteArray memory(512, '\0');
        memory[2] = 6;
        receiver->setMemory(memory);
        DumpBuffer.fill(0x55);
        throughButton([&](frmDataDump *window) {
            window->cmdNVData->click();
            text = window->Text1->toPlainText();
            window->cmdExit->click();
        });
        QCOMPARE(dumped(), memory);
        QVERIFY(text.contains("Line Timeout ..................................... 6 Minutes"));
        QTRY_COMPARE(receiver->commandsReceived(), sent + "DXQ");
        checkPortClosed();
    }
};

ORVANE_TEST(DataDumpWindowTest)
#include "DataDumpWindowTest.moc"
