// The option, timer and identification windows: what they show of the record, what the owner
// can type and click, what OK stores, and the edits on their way to a simulated receiver.
#include "ReceiverSimulator.h"
#include "support/Doubles.h"
#include "support/Rows.h"
#include "support/TestRegistry.h"
#include "support/TextInput.h"

#include "app/frmMain.h"
#include "config/ReceiverConfig.h"
#include "config/SettingsStore.h"
#include "core/Artwork.h"
#include "editors/StationIdent.h"
#include "editors/frmIdent.h"
#include "editors/frmOption.h"
#include "editors/frmTimers.h"
#include "link/LinkState.h"
#include "link/TransferData.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QSettings>
#include <QTimer>
#include <functional>

namespace {

// Every key missing from the (empty) store, as on a fresh installation.
void freshRecord() { freshHome(), clearReceiverConfig(); QVERIFY(loadSettings()); doubles().clear(); }

QByteArray settingsBlock() // bytes 0 to 31 of the receiver image for the record as it stands
{
    return buildSettingsImage(), QByteArray(reinterpret_cast<const char *>(SettingsImage.data()), int(SettingsImage.size()));
}
QByteArray blockFromHex(const char *hex) { return QByteArray::fromHex(QByteArray(hex).replace(' ', "")); }

void click(QAbstractButton *b) { QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(b->height() / 2, b->height() / 2)); }
bool openWindow(QWidget &w) { return w.show(), QTest::qWaitForWindowActive(&w); } // it has read the record then

QDialog *makeWindow(const QString &name)
{
    return name == "frmOption" ? static_cast<QDialog *>(new frmOption) : name == "frmTimers" ? static_cast<QDialog *>(new frmTimers)
                                                                                              : new frmIdent;
}

// Runs `act` on the modal W that the next call opens; a failure closes it, so that call returns.
template <typename W> void whenEditorOpens(std::function<void(W *)> act)
{
    QTimer::singleShot(0, [act] {
        auto *w = qobject_cast<W *>(QApplication::activeModalWidget());
        const auto closeOnFailure = qScopeGuard([w] { if (w && QTest::currentTestFailed()) w->close(); });
        QVERIFY(w && QTest::qWaitForWindowActive(w));
        act(w);
    });
}

// Keys: '\b' Backspace, '\r' Enter, '\x02' Ctrl+B, '\u2408' Ctrl+H (character 8, as the window
// system sends it); every other character is typed as the key that gives it.
void typeKeys(QWidget *box, const QString &keys)
{
    for (QChar c : keys)
        if (c == u'\u2408')
            QTest::sendKeyEvent(QTest::Click, box, Qt::Key_H, QStringLiteral("\b"), Qt::ControlModifier);
        else if (c == u'\b' || c == u'\r' || c == u'\x02')
            QTest::keyClick(box, c == u'\b' ? Qt::Key_Backspace : c == u'\r' ? Qt::Key_Return : Qt::Key_B,
                            c == u'\x02' ? Qt::ControlModifier : Qt::NoModifier);
        else if (c.unicode() < 0x80)
            QTest::keyClick(box, c.toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

using Widgets = std::initializer_list<QWidget *>;
using Buttons = std::initializer_list<QAbstractButton *>;
QList<bool> checks(Buttons boxes) { QList<bool> on; for (QAbstractButton *box : boxes) on << box->isChecked(); return on; }
template <std::size_t N> int selected(const std::array<QRadioButton *, N> &group) // -1 none, -99 two
{
    int found = -1;
    for (std::size_t i = 0; i < N; ++i) found = !group[i]->isChecked() ? found : found < 0 ? int(i) : -99;
    return found;
}

// Each window: title, picture, and its controls as "name parent: caption"; a caption with
// '|' is a group name_0, name_1, ...
// '&' marks the accelerator (what pressing it does is the window walk's, in the app folder).
struct ControlsRow { const char *name, *title; int picture; QStringList controls; };
struct EditRow { const char *name; int way; const char *stored; bool selected; const char *brought, *text; int beeps; };
// Stored before; the owner's changes (master switch, typed letters, voice words); whether OK
// refuses, the call letters stored and bytes 7 to 21 of the settings block (22 to 31 stay 0).
struct IdentRow { const char *name; bool give; const char *id; bool master; const char *typed; QList<bool> words; bool refused; const char *storedId, *block; };
// The nine fields of the option window: override 0-2, speaker, line, all events, warnings and
// watches, warnings, test limit; what the window shows (overrides, switch, option, limit); what
// OK stores and bytes 8 and 11 of the settings block.
using Nine = QList<bool>;
struct OptionRow { const char *name; Nine record; QList<bool> overrides; bool master; int option; bool limit; Nine stored; int byte8, byte11; };
// Line timeout, voice interval, relay delay, pre-voice delay: codes in the record, the selected
// index of each group (-1 none), the codes OK stores, bytes 1 to 5 of the settings block; the
// voice interval outputs on speaker and line (the interval group is enabled with either).
using Four = QList<int>;
struct TimerRow { const char *name; Four record, shown, stored; const char *bytes; bool speaker, line; };

} // namespace

// The option, timer and identification windows.
class EditorWindowsTest : public QObject
{
    Q_OBJECT
private slots:
    void init() { freshRecord(); }

    void controls_data()
    {
        addRows<ControlsRow>({
            {"frmOption", "Orvane Options", 4,
             {"Frame5 frmOption:  Voice Interval Options ", "Frame2 frmOption:  Override Options ",
              "chkVocInt_0 Frame5: &Permit voice interval announcements and ID.",
              "optVocInt Frame5: Permit announcements on &all decoded events.|Permit announcements on Warnings and &Watches only."
              "|Permit announcements on Warnings &only.",
              "chkVocInt_2 Frame5: &Limit Monthly/Weekly Test to 15 Minutes Max.",
              "chkOverride Frame2: Accept all &FIP codes|Accept all &Event Codes|&Ignore the Termination Data Packet   (Use Line Time Out)",
              "cmdOk frmOption: OK", "cmdCancel frmOption: Cancel"}},
            {"frmTimers", "Orvane Timer Settings", 5,
             {"Frame4 frmTimers: &Line Timeout", "Frame6 frmTimers: &Voice Interval Timer", "Frame7 frmTimers: &Relay Activation Delay",
              "Frame9 frmTimers: &Pre Voice Delay", "optTimeLn Frame4: 1 Minute|2 Minutes|3 Minutes|4 Minutes|5 Minutes|6 Minutes",
              "optVoiceTimer Frame6:   5 Minute Interval|10 Minute Interval|15 Minute Interval|20 Minute Interval|25 Minute Interval"
              "|30 Minute Interval",
              "optRelayDelay Frame7: 0 Sec|2 Sec|4 Sec|6 Sec|8 Sec", "cmdOK frmTimers: OK", "cmdCancel frmTimers: Cancel",
              "optVoiceDelay Frame9: No Delay|0.5 Second|1.0 Second|1.5 Second|2.0 Second"}},
            {"frmIdent", "Station Identification", 6,
             {"chkID_0 frmIdent: &Append station identification after weather alert announcements", "Frame1 frmIdent:  Station Identification ",
              "chkID_1 Frame1: Preceed identification with voice words \"&This Is\".",
              "chkID_2 Frame1: After identification say voice word \"&Repeater\"",
              "chkID_3 Frame1: After identification say voice word \"Tra&nsmitter\"",
              "lblText_0 Frame1: Station &Identification Call Letters",
              "lblText_1 Frame1: Valid Characters are  A-Z,  0-9    Fifteen (15) characters maximum.", "txtIdent Frame1: ",
              "cmdErase Frame1: &Clear", "cmdOK frmIdent: OK", "cmdCancel frmIdent: Cancel"}},
        });
    }
    void controls()
    {
        QFETCH(ControlsRow, row);
        std::unique_ptr<QDialog> w(makeWindow(row.name));
        QCOMPARE(w->objectName() + u' ' + w->windowTitle(), QString::fromLatin1(row.name) + u' ' + row.title);
        QVERIFY(w->isModal());
        QCOMPARE(w->findChild<QLabel *>("Image1")->pixmap().toImage(), imageListPicture(row.picture).toImage());
        for (const QString &control : row.controls) {
            const QString name = control.section(u' ', 0, 0), parent = control.section(u' ', 1).section(u':', 0, 0);
            const QStringList captions = control.section(QStringLiteral(": "), 1).split(u'|');
            for (int i = 0; i < captions.size(); ++i) {
                const QString each = captions.size() == 1 ? name : name + u'_' + QString::number(i);
                QWidget *c = w->findChild<QWidget *>(each);
                QVERIFY2(c, qPrintable(each));
                QCOMPARE(each + u' ' + c->parentWidget()->objectName() + ": " + c->property(qobject_cast<QGroupBox *>(c) ? "title" : "text").toString(),
                         each + u' ' + parent + ": " + captions[i]);
            }
        }
    }

    // The identification window.
    // Letters and digits pass (small ones as capitals), Backspace edits, other keys beep once each,
    // the 16th character is refused silently, a refused key over a selection leaves it; brought
    // text beeps once for all; stored letters nobody could type are kept. OK stores what is shown.
    void edits_data()
    {
        addRows<EditRow>({
            {"k 9 blank t", Typed, "", false, "k9 t", "K9T", 1},
            {"sixteenth character", Typed, "", false, "abcdefghij12345z", "ABCDEFGHIJ12345", 0},
            {"sixteenth refused character beeps", Typed, "ABCDEFGHIJ12345", false, "#", "ABCDEFGHIJ12345", 1},
            {"punctuation around the ranges", Typed, "", false, "/:@[`{", "", 6},
            {"edges of the ranges", Typed, "", false, "09AZaz", "09AZAZ", 0},
            {"Backspace edits", Typed, "K9", false, "\bx\b\b4", "4", 0},
            {"Ctrl+H is Backspace", Typed, "K9", false, "\u2408w\u2408\u2408", "", 0},
            {"Enter and a control key beep", Typed, "", false, "w\r\x02q", "WQ", 2},
            {"letter beyond z", Typed, "", false, "\u00e9k", "K", 1},
            {"refused key keeps the selection", Typed, "K9T", true, "-", "K9T", 1},
            {"key replaces the selection", Typed, "K9T", true, "w", "W", 0},
            {"stored small letters, blank, slash", Typed, "kec 8/", false, "", "kec 8/", 0},
            {"stored seventeen characters", Typed, "ABCDEFGHIJKLMNOPQ", false, "z", "ABCDEFGHIJKLMNOPQ", 0},
            {"Ctrl+V cut to 15 after filtering", Pasted, "AB", false, "c-d-e-f-g-h-i-j-k-l-m-n-o-p", "ABCDEFGHIJKLMNO", 1},
            {"Paste nothing speakable", PastedFromMenu, "AB", false, "#$ %\t\n", "AB", 1},
            {"drop mixed text", Dropped, "", false, "w1a-xyz/ 7", "W1AXYZ7", 1},
        });
    }
    void edits()
    {
        QFETCH(EditRow, row);
        const QString stored = QString::fromUtf8(row.stored), text = QString::fromUtf8(row.text);
        ReceiverConfig.NV8007.GiveStationID = true, ReceiverConfig.EDITOR.UserStationID = stored;
        const QByteArray before = settingsBlock();
        frmIdent w;
        QVERIFY(openWindow(w));
        w.txtIdent->setFocus();
        QCOMPARE(w.txtIdent->text(), stored);
        row.selected ? w.txtIdent->selectAll() : w.txtIdent->end(false);
        row.way == Typed ? typeKeys(w.txtIdent, QString::fromUtf8(row.brought)) : putText(w.txtIdent, QString::fromUtf8(row.brought), row.way);
        QVERIFY(w.txtIdent->text() == text && w.isVisible());
        QCOMPARE(doubles().beeps, row.beeps);
        if (text.isEmpty()) return; // OK would refuse: see ok()
        w.cmdOK_Click();
        QVERIFY(ReceiverConfig.EDITOR.UserStationID == text && (text != stored || settingsBlock() == before));
    }

    void ok_data()
    {
        addRows<IdentRow>({
            {"on, call letters, This Is and Transmitter", false, "", true, "kec83", {1, 0, 1}, false, "KEC83",
             "0b 1f 00 00 27 00 00 00 00 05 14 0e 0c 08 03"},
            {"on, Repeater only", true, "OLD", true, "W1", {0, 1, 0}, false, "W1", "05 1f 00 00 27 00 00 00 00 02 20 01 00 00 00"},
            {"off: typed letters dropped, stored ones kept, words stored", true, "OLD1", false, "ZZZ", {0, 1, 1}, false, "OLD1",
             "0c 1f 00 00 27 00 00 00 00 04 18 15 0d 01 00"},
            {"off with no call letters: accepted, stored ones kept", true, "OLD", false, "", {1, 0, 0}, false, "OLD",
             "02 1f 00 00 27 00 00 00 00 03 18 15 0d 00 00"},
            {"off, none stored: accepted", true, "", false, "", {1, 0, 0}, false, "", "02 1f 00 00 27 00 00 00 00 00 00 00 00 00 00"},
            {"on with no call letters: refused", false, "", true, "", {1, 1, 1}, true, "", "00 1f 00 00 27 00 00 00 00 00 00 00 00 00 00"},
        });
    }
    void ok()
    {
        QFETCH(IdentRow, row);
        ReceiverConfig.NV8007.GiveStationID = row.give, ReceiverConfig.EDITOR.UserStationID = row.id;
        frmIdent w;
        QVERIFY(openWindow(w));
        if (!row.give) click(w.chkID[0]);
        QTest::mouseClick(w.cmdErase, Qt::LeftButton);
        typeKeys(w.txtIdent, row.typed);
        for (int i = 1; i <= 3; ++i) w.chkID[i]->isChecked() != row.words[i - 1] ? click(w.chkID[i]) : void();
        if (!row.master) click(w.chkID[0]);
        QCOMPARE(checks({w.chkID[1], w.chkID[2], w.chkID[3]}), row.words); // greyed or not, the words keep their checks
        QTest::mouseClick(w.cmdOK, Qt::LeftButton);
        QCOMPARE(shownBoxes(), row.refused ? QStringList{box("Error..No Identification Entered")} : QStringList());
        QVERIFY(row.refused ? w.isVisible() && w.chkID[0]->isChecked() && QApplication::focusWidget() == w.txtIdent
                            : w.result() == QDialog::Accepted);
        QCOMPARE(ReceiverConfig.NV8007.GiveStationID, row.refused ? row.give : row.master);
        QCOMPARE(ReceiverConfig.EDITOR.UserStationID, QString::fromLatin1(row.storedId));
        QCOMPARE(settingsBlock().mid(7), blockFromHex(row.block) + QByteArray(10, '\0'));
    }

    // The option and timer windows: what they show of the record and what OK stores.
    void options_data()
    {
        const QList<bool> none{0, 0, 0};
        addRows<OptionRow>({
            {"fresh installation", {0, 0, 0, 1, 1, 1, 0, 0, 1}, none, true, 0, true, {0, 0, 0, 1, 1, 1, 0, 0, 1}, 0x1F, 0x27},
            {"each override its own bit", {1, 0, 1, 1, 1, 0, 1, 0, 0}, {1, 0, 1}, true, 1, false, {1, 0, 1, 1, 1, 0, 1, 0, 0}, 0xBF, 0x0B},
            {"all events override, warnings only", {0, 1, 0, 1, 1, 0, 0, 1, 1}, {0, 1, 0}, true, 2, true, {0, 1, 0, 1, 1, 0, 0, 1, 1}, 0x5F, 0x33},
            {"speaker on, line off: off, both stored off", {0, 0, 0, 1, 0, 1, 0, 0, 1}, none, false, 0, true, {0, 0, 0, 0, 0, 1, 0, 0, 1}, 0x1F, 0x24},
            {"speaker off, line on: on, both stored on", {0, 0, 0, 0, 1, 0, 0, 1, 0}, none, true, 2, false, {0, 0, 0, 1, 1, 0, 0, 1, 0}, 0x1F, 0x13},
            {"no class: none selected, all stay false", {0, 0, 0, 1, 1, 0, 0, 0, 0}, none, true, -1, false, {0, 0, 0, 1, 1, 0, 0, 0, 0}, 0x1F, 0x03},
            {"two classes: the first wins alone", {0, 0, 0, 1, 1, 1, 0, 1, 0}, none, true, 0, false, {0, 0, 0, 1, 1, 1, 0, 0, 0}, 0x1F, 0x07},
            {"all off: disabled controls keep their values", {0, 0, 0, 0, 0, 0, 1, 0, 1}, none, false, 1, true, {0, 0, 0, 0, 0, 0, 1, 0, 1}, 0x1F, 0x28},
        });
    }
    void options()
    {
        QFETCH(OptionRow, row);
        auto &o = ReceiverConfig.NV8008;
        auto &v = ReceiverConfig.NV800B;
        const std::array<bool *, 9> fields = {&o.AcceptAllFips,        &o.AcceptAllEvents,   &o.IgnoreTerminationPacket,
                                              &v.VoiceIntervalSpeaker, &v.VoiceIntervalLine, &v.VocAllEvents,
                                              &v.VocWarningsWatch,     &v.VocWarnings,       &v.VocTruncateTest};
        for (int i = 0; i < 9; ++i) *fields[i] = row.record[i];
        QByteArray expected = settingsBlock();
        frmOption w;
        QVERIFY(openWindow(w));
        QCOMPARE(checks({w.chkOverride[0], w.chkOverride[1], w.chkOverride[2]}), row.overrides);
        QCOMPARE(checks({w.chkVocInt[0], w.chkVocInt[2]}), (QList<bool>{row.master, row.limit}));
        QCOMPARE(selected(w.optVocInt), row.option);
        for (QAbstractButton *dependent : Buttons{w.chkVocInt[2], w.optVocInt[0], w.optVocInt[1], w.optVocInt[2]})
            QCOMPARE(dependent->isEnabled(), row.master);
        QCOMPARE(QApplication::focusWidget(), w.cmdOk);
        QTest::keyClick(&w, Qt::Key_Return); // Enter = OK
        QCOMPARE(w.result(), int(QDialog::Accepted));
        Nine stored;
        for (bool *field : fields) stored << *field;
        QCOMPARE(stored, row.stored);
        expected[8] = char(row.byte8), expected[11] = char(row.byte11);
        QCOMPARE(settingsBlock(), expected);
    }

    // Codes select their buttons (nothing when out of range); OK stores the codes back, keeps an
    // unselected code except the relay delay's (0), and never touches the speaker timeout. The
    // voice interval group disabled still keeps and stores its selection.
    void timers_data()
    {
        addRows<TimerRow>({
            {"fresh installation: 3 min, 5 min, 0 s, 1.0 s", {3, 1, 0, 2}, {2, 0, 0, 2}, {3, 1, 0, 2}, "03 03 01 00 02", true, true},
            {"highest codes", {6, 6, 4, 4}, {5, 5, 4, 4}, {6, 6, 4, 4}, "03 06 06 04 04", true, false},
            {"lowest codes", {1, 1, 0, 0}, {0, 0, 0, 0}, {1, 1, 0, 0}, "03 01 01 00 00", false, true},
            {"line timeout 0 shows nothing and stays 0", {0, 2, 1, 3}, {-1, 1, 1, 3}, {0, 2, 1, 3}, "03 00 02 01 03", false, false},
            {"relay delay 7 shows nothing and becomes 0", {4, 3, 7, 1}, {3, 2, -1, 1}, {4, 3, 0, 1}, "03 04 03 00 01", true, true},
            {"all out of range: only the relay delay changes", {7, 0, 5, -1}, {-1, -1, -1, -1}, {7, 0, 0, -1}, "03 00 00 00 00", false, false},
        });
    }
    void timers()
    {
        QFETCH(TimerRow, row);
        auto &t = ReceiverConfig.TIMERS;
        const std::array<qint16 *, 4> codes = {&t.LineTimeoutTimer, &t.VoiceIntervalTimer, &t.RelayDelayTimer, &t.PreVoiceAnnc};
        for (int i = 0; i < 4; ++i) *codes[i] = qint16(row.record[i]);
        t.SpeakerTimeoutTimer = 3;
        ReceiverConfig.NV800B.VoiceIntervalSpeaker = row.speaker, ReceiverConfig.NV800B.VoiceIntervalLine = row.line;
        frmTimers w;
        for (QWidget *group : Widgets{w.Frame6, w.optVoiceTimer[0], w.optVoiceTimer[5]})
            QCOMPARE(group->isEnabled(), row.speaker || row.line);
        QVERIFY(w.Frame4->isEnabled() && w.Frame7->isEnabled() && w.Frame9->isEnabled());
        QCOMPARE((Four{selected(w.optTimeLn), selected(w.optVoiceTimer), selected(w.optRelayDelay), selected(w.optVoiceDelay)}), row.shown);
        QVERIFY(openWindow(w));
        QTest::keyClick(&w, Qt::Key_Return); // Enter = OK
        QCOMPARE(w.result(), int(QDialog::Accepted));
        QCOMPARE((Four{*codes[0], *codes[1], *codes[2], *codes[3], t.SpeakerTimeoutTimer}), row.stored + Four{3});
        QCOMPARE(settingsBlock().mid(1, 5), blockFromHex(row.bytes));
    }
};

// The three windows' changes on their way to the receiver: edited through the main window's
// buttons, then sent by its transfer command to a simulated receiver on a pseudo-terminal.
class EditorTransferTest : public QObject
{
    Q_OBJECT
private slots:
    void init() // the pause before the upload moves the test's clock
    {
        freshRecord(), setLinkTimeScale(0.1), setPauseSleeper([](int ms) { doubles().wallClock = doubles().wallClock.addMSecs(ms); });
    }
    void cleanup() { setLinkTimeScale(1.0), setPauseSleeper({}); }

    void editedSettingsReachTheReceiver()
    {
        ReceiverSimulator receiver;
        if (!receiver.start())
            QSKIP("no pseudo-terminal here");
        QSettings(QStringLiteral("Orvane"), QStringLiteral("Orvane")).setValue(QStringLiteral("PORTS/Port1"), receiver.devicePath());
        ReceiverConfig.EDITOR.SerialPort = 1;
        FipsList[0] = QStringLiteral("X 012011  Broward                Florida"), EventList[0] = QStringLiteral("TOR");
        frmMain main;
        main.show();
        whenEditorOpens<frmOption>([](frmOption *w) {
            for (QAbstractButton *b : Buttons{w->chkOverride[1], w->optVocInt[1], w->chkVocInt[2]})
                click(b); // accept all events: byte 8 bit 6; warnings and watches: byte 11 bit 3; no test limit: bit 5 off
            QTest::mouseClick(w->cmdOk, Qt::LeftButton);
        });
        main.cmdMain[3]->click();
        whenEditorOpens<frmTimers>([](frmTimers *w) {
            for (QRadioButton *option : {w->optTimeLn[5], w->optVoiceTimer[2], w->optRelayDelay[1], w->optVoiceDelay[4]})
                click(option); // 6 minutes, 15 minutes (code 3), 2 seconds (code 1), 2.0 seconds (code 4)
            QTest::mouseClick(w->cmdOK, Qt::LeftButton);
        });
        main.cmdMain[4]->click();
        whenEditorOpens<frmIdent>([](frmIdent *w) {
            click(w->chkID[0]), click(w->chkID[2]), w->txtIdent->setFocus();
            QTest::keyClicks(w->txtIdent, QStringLiteral("wxk-27"));
            QTest::mouseClick(w->cmdOK, Qt::LeftButton);
        });
        main.cmdMain[5]->click();
        QVERIFY(main.findChildren<frmOption *>().isEmpty() && main.findChildren<frmTimers *>().isEmpty() &&
                main.findChildren<frmIdent *>().isEmpty()); // each window lived only while it was open
        main.cmdMain[6]->click();
        QCOMPARE(main.statusPanelText(1), QStringLiteral("Upload / Download Successful"));
        QCOMPARE(receiver.imagesReceived(), 1);
        QCOMPARE(receiver.lastImage().left(39), blockFromHex("00 03 06 03 01 04 00 05 5f 00 00 0b 00 00 00 00"
                                                             "05 20 21 14 02 07 00 00 00 00 00 00 00 00 00 00") + "012011-");
    }
};

ORVANE_TEST(EditorWindowsTest)
ORVANE_TEST(EditorTransferTest)
#include "EditorsTest.moc"
