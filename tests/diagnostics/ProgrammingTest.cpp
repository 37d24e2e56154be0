#include "support/Rows.h"
#include "support/TestRegistry.h"
#include "link/LinkTestSupport.h"

#include "diagnostics/ReceiverProgramming.h"
#include "diagnostics/frmProgramming.h"
#include "selection/EventTable.h"
#include "selection/StateDatabase.h"
#include "selection/frmFIPS.h"

#include <QtWidgets>

namespace {

// A receiver memory: the settings block bytes given as {index, value}, the identification,
// then the county and event codes as a transfer lays them out.
QByteArray memoryOf(std::initializer_list<std::pair<int, int>> settings, const QByteArray &id, const QStringList &counties, const QStringList &events)
{
    QByteArray m(kMemoryBytes, '\0');
    for (const auto &[i, v] : settings) m[i] = char(v);
    m[16] = char(id.size());
    for (int i = 0; i < id.size(); ++i) m[17 + i] = char(EncodeIdChar(QChar(id[i])));
    for (const auto &[at, list] : {std::pair{32, counties}, {208, events}})
        m.replace(at, 0, QString(list.join(u'-') + (list.isEmpty() ? "" : "-")).toLatin1()).truncate(kMemoryBytes);
    return m.leftJustified(kMemoryBytes, '\0');
}
// `count` county codes of a state, every other one from `first`; the first `count` events.
QStringList progCodes(const char *prefix, int first, int count)
{
    QStringList out;
    for (int n = 0; n < count; ++n) out << QStringLiteral("%1%2").arg(prefix).arg(first + 2 * n, 3, 10, QChar(u'0'));
    return out;
}
QStringList firstEvents(int count)
{
    QStringList out;
    for (int i = 0; i < count; ++i) out << EventTable[i].Code;
    return out;
}

struct DamageRow { const char *name; int at; QByteArray bytes; const char *why; };
struct ChangeRow { const char *name; std::function<void()> change; const char *line; };

} // namespace

// Reading, using and verifying the receiver's programming through the File menu, over a pty
// against the receiver simulator holding a memory of its own.
class ProgrammingTest : public QObject, LinkFixture
{
    Q_OBJECT
    QString shown; // what the programming window showed: title, Cancel's caption, heading, text

    // Runs a menu item; `answer` presses a button of the programming window, if it opens.
    bool runItem(QAction *item, QPushButton *frmProgramming::*answer)
    {
        shown.clear();
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (auto *w = qobject_cast<frmProgramming *>(QApplication::activeModalWidget()))
                poll.stop(), shown = w->windowTitle() + u'|' + w->cmdCancel->text() + u'|' + w->lblHeading->text() + u'\n' +
                                     w->txtProgramming->toPlainText(), (w->*answer)->click();
        });
        poll.start(5), item->trigger();
        return !shown.isEmpty();
    }

private slots:
    void initTestCase() { initEventTable(); }
    void init()
    {
        freshLink();
        setLinkTimeScale(0.5); // a contact right after a transfer can take the sanitizer build longer than a tenth of the time-out
        setStatesDirectory(sourceDir() + QStringLiteral("/data/States"));
        ReceiverConfig.EDITOR.SerialPort = 1, ReceiverConfig.EDITOR.StateID = 8;
        ReceiverConfig.EDITOR.TransmitterLocation = QStringLiteral(" Miami, FL               162.550");
        FipsList[0] = county("012011"), EventList[0] = QStringLiteral("TOR");
        showMain();
        QVERIFY(startReceiver(1));
    }
    void cleanup() { stopLink(); }

    // Every settings field off its fresh-install value (the highest timer codes, every flag bit in some byte, a 15-character
    // identification), 24 counties (the last known to no state file), 48 events: read, used, transferred back unchanged.
    void readUseThenTransfer()
    {
        const QByteArray memory = memoryOf({{1, 6}, {2, 5}, {3, 6}, {4, 4}, {5, 4}, {7, 0x0F}, {8, 0xE5}, {9, 0x5A}, {10, 0xA5}, {11, 0xFA}},
            "KEC83/ABCDEFGHI", progCodes("012", 1, 12) + progCodes("013", 1, 11) + QStringList{"099999"}, firstEvents(48));
        receiver->setMemory(memory);
        QVERIFY(runItem(main->mnuReadProgramming, &frmProgramming::cmdUse));
        QVERIFY2(doubles().messages.isEmpty(), qPrintable(doubles().lastMessageText()));
        QVERIFY(shown.startsWith("Programming Read From Orvane|Cancel|") && shown.contains("\nLine Timeout ..................................... "));
        QCOMPARE(receiver->commandsReceived(), QByteArray("DXQ"));
        checkPortClosed();
        // The editor's own settings stay; the county list window shows what was read.
        QVERIFY(ReceiverConfig.EDITOR.TransmitterLocation == " Miami, FL               162.550" && ReceiverConfig.EDITOR.SerialPort == 1);
        QCOMPARE((QStringList{FipsList[0], FipsList[12], FipsList[23], FipsList[24]}),
                 (QStringList{"X 012001  Alachua                Florida", "X 013001  Appling                Georgia", "X 099999                         ", ""}));
        QCOMPARE(frmFIPS::instance()->lstFips->count(), 24);
        main->EstConnect();
        QCOMPARE(receiver->imagesReceived(), 1);
        QCOMPARE(receiver->lastImage().left(kMemoryBytes).toHex(), memory.toHex());
    }

    void damagedMemoryIsRefused_data()
    {
        addRows<DamageRow>({
            {"timer", 2, "\x07", "the Line Timeout code at 0x8002 is 7; it must be 1 to 6."},
            {"relay", 4, "\x05", "the Relay Activation Delay code at 0x8004 is 5; it must be 0 to 4."},
            {"long identification", 16, "\x10", "the station identification at 0x8010 is 16 characters long; at most 15 are possible."},
            {"identification symbol", 17, "\x25", "character 1 of the station identification (0x8011) has the code 37, which is no letter, digit or \"/\"."},
            {"county letter", 32 + 7 + 3, "A", "the county code at 0x8027 is not six digits followed by \"-\"."},
            {"county without dash", 32 + 13, "0", "the county code at 0x8027 is not six digits followed by \"-\"."},
            {"25 counties", 32, QString(progCodes("012", 1, 25).join(u'-') + u'-').toLatin1(), "it holds more than 24 county codes."},
            {"event lower case", 208 + 4, "s", "the event code at 0x80D4 is not three capital letters followed by \"-\"."},
            {"49 events", 208, QString(firstEvents(49).join(u'-') + u'-').toLatin1(), "it holds more than 48 event codes."},
        });
    }
    void damagedMemoryIsRefused()
    {
        QFETCH(DamageRow, row);
        receiver->setMemory(memoryOf({{2, 3}}, "KEC", {"012011", "012085"}, {"TOR", "SVR"}).replace(row.at, row.bytes.size(), row.bytes));
        const MemoryBytes before = editorMemoryImage();
        const int listed = frmFIPS::instance()->lstFips->count();
        QVERIFY(!runItem(main->mnuReadProgramming, &frmProgramming::cmdUse));
        QCOMPARE(shownBoxes(), QStringList{box(QStringLiteral("The Orvane's memory holds no programming the editor can use: ") +
                                               QString::fromLatin1(row.why) + QStringLiteral("\n\nNothing was changed."))});
        QVERIFY(editorMemoryImage() == before && frmFIPS::instance()->lstFips->count() == listed); // the list never refilled
        checkPortClosed();
    }

    void verifyNamesEachChange_data()
    {
        static auto &r = ReceiverConfig;
        addRows<ChangeRow>({
            {"nothing", [] {}, nullptr},
            {"timer window", [] { r.TIMERS.LineTimeoutTimer = 2; }, "Line Timeout ..................................... Orvane 3 Minutes, editor 2 Minutes"},
            {"speaker byte", [] { r.TIMERS.SpeakerTimeoutTimer = 9; }, "Speaker Timeout .................................. Orvane 3 Minutes, editor 0"},
            {"options window", [] { r.NV8008.AcceptAllFips = true; }, "Accept All FIP Codes ............................. Orvane No, editor Yes"},
            {"reserved bit", [] { r.NV800A.Spare800A_2 = true; }, "NV800A.Spare800A_2 ............................... Orvane No, editor Yes"},
            {"identification window", [] { r.EDITOR.UserStationID = "KEC84"; }, "Station Identification ........................... Orvane \"KEC83\", editor \"KEC84\""},
            {"county ticked", [] { FipsList[1] = county("012085"); }, "Stored FIP code 012085 ........................... Orvane No, editor Yes"},
            {"county unticked", [] { FipsList[0] = county("012011", false); }, "Stored FIP code 012011 ........................... Orvane Yes, editor No"},
            {"event removed", [] { EventList[0].clear(); }, "Stored event code TOR  Tornado Warning ........... Orvane Yes, editor No"},
            {"events swapped", [] { std::swap(EventList[0], EventList[1]); }, "Order of the Stored event codes .................. Orvane TOR SVR, editor SVR TOR"},
        });
    }
    void verifyNamesEachChange()
    {
        QFETCH(ChangeRow, row);
        ReceiverConfig.TIMERS = {3, 3, 1, 0, 2};
        ReceiverConfig.EDITOR.UserStationID = QStringLiteral("KEC83"), EventList[1] = QStringLiteral("SVR");
        main->EstConnect(); // the simulator now holds what the editor shows
        QCOMPARE(receiver->imagesReceived(), 1);
        row.change();
        QVERIFY2(runItem(main->mnuVerifyProgramming, &frmProgramming::cmdCancel), qPrintable(shownBoxes().join(u'|')));
        QCOMPARE(shown, "Orvane Verify|OK|" + (row.line ? "The Orvane holds other programming than the editor shows (1 difference, "
                                                       "the Orvane's first):\n" + QString::fromUtf8(row.line)
                                                     : QStringLiteral("The Orvane holds the programming shown in the editor.\n")));
        checkPortClosed();
    }

    // A memory dump cut short ("X" answered one byte short) is said so.
    void shortDump()
    {
        receiver->setFault(ReceiverSimulator::Fault::ShortDownload);
        QVERIFY(!runItem(main->mnuReadProgramming, &frmProgramming::cmdUse));
        QCOMPARE(shownBoxes(), QStringList{box(QStringLiteral("The Orvane did not send its memory: nothing was read."))});
        checkPortClosed();
    }
};
ORVANE_TEST(ProgrammingTest)

#include "ProgrammingTest.moc"
