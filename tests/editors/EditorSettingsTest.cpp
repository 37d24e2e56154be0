#include "editors/EditorTestSupport.h"
#include "support/Rows.h"
#include "support/TestRegistry.h"
#include "support/TextInput.h"
#include "ReceiverSimulator.h"

#include "app/frmMain.h"
#include "editors/StationIdent.h"
#include "editors/frmIdent.h"
#include "editors/frmOption.h"
#include "editors/frmTimers.h"
#include "link/LinkState.h"
#include "link/TransferData.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>

namespace {

// Keys: '\b' Backspace, '\r' Enter, '\x02' Ctrl+B, '\u2408' Ctrl+H (character 8, as the window
// system sends it); every other character is typed as the key that gives it.
void typeKeys(QWidget *box, const QString &keys)
{
    for (QChar c : keys) {
        if (c == u'\b' || c == u'\r' || c == u'\x02')
            QTest::keyClick(box, c == u'\b' ? Qt::Key_Backspace : c == u'\r' ? Qt::Key_Return : Qt::Key_B,
                            c == u'\x02' ? Qt::ControlModifier : Qt::NoModifier);
        else if (c == u'\u2408')
            QTest::sendKeyEvent(QTest::Click, box, Qt::Key_H, QStringLiteral("\b"), Qt::ControlModifier);
        else if (c.unicode() < 0x80)
            QTest::keyClick(box, c.toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

QList<bool> checks(const QList<QAbstractButton *> &boxes)
{
    QList<bool> on;
    for (QAbstractButton *box : boxes)
        on << box->isChecked();
    return on;
}

template <std::size_t N> int selected(const std::array<QRadioButton *, N> &group) // -1 none, -99 two
{
    int found = -1;
    for (std::size_t i = 0; i < N; ++i)
        if (group[i]->isChecked())
            found = found < 0 ? int(i) : -99;
    return found;
}

struct FilterRow {
    const char *name, *before, *after;
    int cursor;
    const char *text;
    int newCursor;
    bool beep;
};

struct EditRow {
    const char *name;
    int way;
    const char *stored;
    bool selected;
    const char *brought, *text;
    int beeps;
};

// Stored before; the owner's changes (master switch, typed letters, voice words); then what OK
// does and bytes 7 to 21 of the settings block (22 to 31 stay 0).
struct IdentRow {
    const char *name;
    bool give;
    const char *id;
    bool master;
    const char *typed;
    QList<bool> words;
    bool refused;
    const char *storedId, *block;
};

// The nine fields of the option window: override 0-2, speaker, line, all events, warnings and
// watches, warnings, test limit; what the window shows (overrides, switch, option, limit); what
// OK stores and bytes 8 and 11 of the settings block.
using Nine = QList<bool>;
struct OptionRow {
    const char *name;
    Nine record;
    QList<bool> overrides;
    bool master;
    int option;
    bool limit;
    Nine stored;
    int byte8, byte11;
};

// Line timeout, voice interval, relay delay, pre-voice delay: codes in the record, the selected
// index of each group (-1 none), the codes OK stores, bytes 1 to 5 of the settings block.
using Four = QList<int>;
struct TimerRow {
    const char *name;
    Four record, shown, stored;
    const char *bytes;
};

} // namespace

// The identification window and its call-letter filter.
class IdentTest : public QObject
{
    Q_OBJECT
private slots:
    void init() { freshRecord(); }

    // Every edit of the call-letter box, typed or pasted, by the text before and after it.
    void filter_data()
    {
        addRows<FilterRow>({{"typed small letter", "K9", "K9t", 3, "K9T", 3, false},
                            {"typed in the middle", "K9", "Kw9", 2, "KW9", 2, false},
                            {"deletion", "KEC", "KC", 1, "KC", 1, false},
                            {"refused over a selection", "KEC", "K-", 2, "KEC", 1, true},
                            {"pasted over a selection", "KEC", "Ka-bC", 4, "KABC", 3, true},
                            {"limit after dropping", "", "a.b.c.d.e.f.g.h.i.j.k.l.m.n.o.p", 31, "ABCDEFGHIJKLMNO", 15, true},
                            {"old odd characters untouched", "k 8", "k 8x", 4, "k 8X", 4, false},
                            {"repeated letter, small", "AA", "AaA", 2, "AAA", 2, false},
                            {"repeated letter, capital", "AA", "AAA", 1, "AAA", 1, false}});
    }
    void filter()
    {
        QFETCH(FilterRow, row);
        const IdentEdit edit = filterIdentEdit(row.before, row.after, row.cursor);
        QCOMPARE(edit.text + u' ' + QString::number(edit.cursor) + u' ' + QString::number(edit.beep),
                 QString::fromLatin1(row.text) + u' ' + QString::number(row.newCursor) + u' ' + QString::number(row.beep));
    }

    // In the window: letters and digits pass (small letters as capitals), Backspace edits, other
    // keys beep once each, the 16th character is refused silently, a refused key over a selection
    // leaves it; brought text beeps once for all. Stored letters nobody could type are kept.
    // What the box shows is what OK stores; Enter in the box does not close the window.
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
            {"Enter beeps", Typed, "", false, "w\r", "W", 1},
            {"control key beeps", Typed, "", false, "\x02q", "Q", 1},
            {"letter beyond z", Typed, "", false, "\u00e9k", "K", 1},
            {"refused key keeps the selection", Typed, "K9T", true, "-", "K9T", 1},
            {"key replaces the selection", Typed, "K9T", true, "w", "W", 0},
            {"stored small letters, blank, slash", Typed, "kec 8/", false, "", "kec 8/", 0},
            {"stored seventeen characters", Typed, "ABCDEFGHIJKLMNOPQ", false, "z", "ABCDEFGHIJKLMNOPQ", 0},
            {"Ctrl+V mixed text", Pasted, "", false, "w1a-xyz/ 7", "W1AXYZ7", 1},
            {"Ctrl+V cut to 15 after filtering", Pasted, "AB", false, "c-d-e-f-g-h-i-j-k-l-m-n-o-p", "ABCDEFGHIJKLMNO", 1},
            {"Paste clean text", PastedFromMenu, "KE", false, "C83", "KEC83", 0},
            {"Paste nothing speakable", PastedFromMenu, "AB", false, "#$ %\t\n", "AB", 1},
            {"drop mixed text", Dropped, "", false, "w1a-xyz/ 7", "W1AXYZ7", 1},
        });
    }
    void edits()
    {
        QFETCH(EditRow, row);
        const QString stored = QString::fromUtf8(row.stored), text = QString::fromUtf8(row.text);
        ReceiverConfig.NV8007.GiveStationID = true;
        ReceiverConfig.EDITOR.UserStationID = stored;
        const QByteArray before = settingsBlock();
        frmIdent w;
        QVERIFY(openWindow(w));
        w.txtIdent->setFocus();
        QCOMPARE(w.txtIdent->text(), stored);
        row.selected ? w.txtIdent->selectAll() : w.txtIdent->end(false);
        row.way == Typed ? typeKeys(w.txtIdent, QString::fromUtf8(row.brought)) : putText(w.txtIdent, QString::fromUtf8(row.brought), row.way);
        QCOMPARE(w.txtIdent->text(), text);
        QCOMPARE(doubles().beeps, row.beeps);
        QVERIFY(w.isVisible());
        if (text.isEmpty())
            return; // OK would refuse: see ok()
        w.cmdOK_Click();
        QCOMPARE(ReceiverConfig.EDITOR.UserStationID, text);
        if (text == stored)
            QCOMPARE(settingsBlock(), before);
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
            {"on with no call letters: refused", false, "", true, "", {1, 1, 1}, true, "", "00 1f 00 00 27 00 00 00 00 00 00 00 00 00 00"},
        });
    }
    void ok()
    {
        QFETCH(IdentRow, row);
        ReceiverConfig.NV8007.GiveStationID = row.give;
        ReceiverConfig.EDITOR.UserStationID = row.id;
        frmIdent w;
        QVERIFY(openWindow(w));
        if (!row.give)
            click(w.chkID[0]);
        QTest::mouseClick(w.cmdErase, Qt::LeftButton);
        typeKeys(w.txtIdent, row.typed);
        for (int i = 1; i <= 3; ++i)
            if (w.chkID[i]->isChecked() != row.words[i - 1])
                click(w.chkID[i]);
        if (!row.master)
            click(w.chkID[0]);
        QCOMPARE(checks({w.chkID[1], w.chkID[2], w.chkID[3]}), row.words); // greyed or not, the words keep their checks
        QTest::mouseClick(w.cmdOK, Qt::LeftButton);
        QCOMPARE(shownBoxes(), row.refused ? QStringList{box("Error..No Identification Entered")} : QStringList());
        if (row.refused) {
            QVERIFY(w.isVisible() && w.chkID[0]->isChecked());
            QCOMPARE(QApplication::focusWidget(), w.txtIdent);
        } else {
            QCOMPARE(w.result(), int(QDialog::Accepted));
        }
        QCOMPARE(ReceiverConfig.NV8007.GiveStationID, row.refused ? row.give : row.master);
        QCOMPARE(ReceiverConfig.EDITOR.UserStationID, QString::fromLatin1(row.storedId));
        QCOMPARE(settingsBlock().mid(7), blockFromHex(row.block) + QByteArray(10, '\0'));
    }

    // The switch enables the frame and changes no value; Clear takes the focus to the box and
    // beeps when there is nothing to clear; Enter on a box is OK.
    void switchClearAndEnter()
    {
        ReceiverConfig.NV8007.AppendRepeater = true;
        ReceiverConfig.EDITOR.UserStationID = QStringLiteral("KEC83");
        frmIdent w;
        QVERIFY(openWindow(w));
        QCOMPARE(QApplication::focusWidget(), w.chkID[0]);
        for (bool on : {false, true}) {
            for (QWidget *control : std::initializer_list<QWidget *>{w.chkID[1], w.chkID[2], w.chkID[3], w.txtIdent, w.cmdErase,
                                                                      w.lblText[0], w.lblText[1], w.Frame1})
                QVERIFY2(control->isEnabled() == on, qPrintable(control->objectName()));
            QCOMPARE(checks({w.chkID[1], w.chkID[2], w.chkID[3]}), (QList<bool>{0, 1, 0}));
            QCOMPARE(w.txtIdent->text(), QStringLiteral("KEC83"));
            click(w.chkID[0]);
        }
        click(w.chkID[0]);
        w.chkID[0]->setFocus();
        QTest::mouseClick(w.cmdErase, Qt::LeftButton);
        QCOMPARE(w.txtIdent->text(), QString());
        QCOMPARE(QApplication::focusWidget(), w.txtIdent);
        QCOMPARE(doubles().beeps, 0);
        QTest::mouseClick(w.cmdErase, Qt::LeftButton); // nothing to clear: a beep
        QCOMPARE(doubles().beeps, 1);
        typeKeys(w.txtIdent, QStringLiteral("w4"));
        QTest::keyClick(w.chkID[3], Qt::Key_Return);
        QCOMPARE(w.result(), int(QDialog::Accepted));
        QCOMPARE(ReceiverConfig.EDITOR.UserStationID, QStringLiteral("W4"));
    }

    // The window reads the record when it opens and when the owner comes back to it from
    // another window of the program; coming back from its own message box keeps the edits.
    void readsTheRecordOnActivation()
    {
        Platform::setMessagePresenter({}); // a real box this time
        frmIdent w;
        w.setModal(false); // so that another window can take the activation here
        QVERIFY(openWindow(w));
        click(w.chkID[0]);
        QTimer::singleShot(0, [] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            QVERIFY(box && QTest::qWaitForWindowActive(box));
            box->accept();
        });
        QTest::mouseClick(w.cmdOK, Qt::LeftButton); // no call letters: the box
        w.activateWindow(); // the window system hands the activation back
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QVERIFY(w.chkID[0]->isChecked()); // not read again
        ReceiverConfig.EDITOR.UserStationID = QStringLiteral("NEW");
        QWidget other;
        QVERIFY(openWindow(other));
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QCOMPARE(w.txtIdent->text(), QStringLiteral("NEW"));
        QVERIFY(!w.chkID[0]->isChecked());
    }
};

// The option and timer windows: what they show of the record and what OK stores.
class OptionTimerTest : public QObject
{
    Q_OBJECT
private slots:
    void init() { freshRecord(); }

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
        const std::array<bool *, 9> fields = {&o.AcceptAllFips,    &o.AcceptAllEvents,  &o.IgnoreTerminationPacket,
                                              &v.VoiceIntervalSpeaker, &v.VoiceIntervalLine, &v.VocAllEvents,
                                              &v.VocWarningsWatch, &v.VocWarnings,      &v.VocTruncateTest};
        for (int i = 0; i < 9; ++i)
            *fields[i] = row.record[i];
        QByteArray expected = settingsBlock();
        frmOption w;
        QVERIFY(openWindow(w));
        QCOMPARE(checks({w.chkOverride[0], w.chkOverride[1], w.chkOverride[2]}), row.overrides);
        QCOMPARE(checks({w.chkVocInt[0], w.chkVocInt[2]}), (QList<bool>{row.master, row.limit}));
        QCOMPARE(selected(w.optVocInt), row.option);
        for (QAbstractButton *dependent : std::initializer_list<QAbstractButton *>{w.chkVocInt[2], w.optVocInt[0], w.optVocInt[1], w.optVocInt[2]})
            QCOMPARE(dependent->isEnabled(), row.master);
        QCOMPARE(QApplication::focusWidget(), w.cmdOk);
        QTest::keyClick(&w, Qt::Key_Return); // Enter = OK
        QCOMPARE(w.result(), int(QDialog::Accepted));
        Nine stored;
        for (bool *field : fields)
            stored << *field;
        QCOMPARE(stored, row.stored);
        expected[8] = char(row.byte8);
        expected[11] = char(row.byte11);
        QCOMPARE(settingsBlock(), expected);
    }

    // The switch enables its four controls and never changes their values; the arrows choose.
    void optionSwitchKeepsDependentValues()
    {
        frmOption w;
        QVERIFY(openWindow(w));
        w.optVocInt[0]->setFocus();
        QTest::keyClick(w.optVocInt[0], Qt::Key_Down);
        QVERIFY(w.optVocInt[1]->isChecked());
        click(w.chkVocInt[2]); // limit off
        click(w.chkVocInt[0]); // switch off
        QVERIFY(!w.optVocInt[1]->isEnabled() && !w.chkVocInt[2]->isEnabled() && w.optVocInt[1]->isChecked());
        click(w.chkVocInt[0]); // on again
        QVERIFY(w.optVocInt[0]->isEnabled() && w.optVocInt[2]->isEnabled() && w.chkVocInt[2]->isEnabled());
        QVERIFY(w.optVocInt[1]->isChecked() && !w.chkVocInt[2]->isChecked());
        click(w.chkVocInt[0]); // off
        QTest::mouseClick(w.cmdOk, Qt::LeftButton);
        const auto &v = ReceiverConfig.NV800B; // the "all off" row above
        QCOMPARE((QList<bool>{v.VoiceIntervalSpeaker, v.VoiceIntervalLine, v.VocWarningsWatch, v.VocTruncateTest}), (QList<bool>{0, 0, 1, 0}));
    }

    // Codes select their buttons (nothing when out of range); OK stores the codes back, keeps an
    // unselected code except the relay delay's (0), and never touches the speaker timeout.
    void timers_data()
    {
        addRows<TimerRow>({
            {"fresh installation: 3 min, 5 min, 0 s, 1.0 s", {3, 1, 0, 2}, {2, 0, 0, 2}, {3, 1, 0, 2}, "03 03 01 00 02"},
            {"highest codes", {6, 6, 4, 4}, {5, 5, 4, 4}, {6, 6, 4, 4}, "03 06 06 04 04"},
            {"lowest codes", {1, 1, 0, 0}, {0, 0, 0, 0}, {1, 1, 0, 0}, "03 01 01 00 00"},
            {"line timeout 0 shows nothing and stays 0", {0, 2, 1, 3}, {-1, 1, 1, 3}, {0, 2, 1, 3}, "03 00 02 01 03"},
            {"relay delay 7 shows nothing and becomes 0", {4, 3, 7, 1}, {3, 2, -1, 1}, {4, 3, 0, 1}, "03 04 03 00 01"},
            {"all out of range: only the relay delay changes", {7, 0, 5, -1}, {-1, -1, -1, -1}, {7, 0, 0, -1}, "03 00 00 00 00"},
        });
    }
    void timers()
    {
        QFETCH(TimerRow, row);
        auto &t = ReceiverConfig.TIMERS;
        const std::array<qint16 *, 4> codes = {&t.LineTimeoutTimer, &t.VoiceIntervalTimer, &t.RelayDelayTimer, &t.PreVoiceAnnc};
        for (int i = 0; i < 4; ++i)
            *codes[i] = qint16(row.record[i]);
        t.SpeakerTimeoutTimer = 3;
        frmTimers w;
        QCOMPARE((Four{selected(w.optTimeLn), selected(w.optVoiceTimer), selected(w.optRelayDelay), selected(w.optVoiceDelay)}), row.shown);
        QVERIFY(openWindow(w));
        QTest::keyClick(&w, Qt::Key_Return); // Enter = OK
        QCOMPARE(w.result(), int(QDialog::Accepted));
        QCOMPARE((Four{*codes[0], *codes[1], *codes[2], *codes[3]}), row.stored);
        QCOMPARE(t.SpeakerTimeoutTimer, qint16(3));
        QCOMPARE(settingsBlock().mid(1, 5), blockFromHex(row.bytes));
    }

    // With both voice interval outputs off the interval group is disabled but keeps and saves
    // its selection; either output on enables it. The arrows and Tab reach OK.
    void voiceIntervalGroupFollowsTheOutputs()
    {
        for (const auto &[speaker, line] : {std::pair{false, false}, {true, false}, {false, true}, {true, true}}) {
            ReceiverConfig.NV800B.VoiceIntervalSpeaker = speaker;
            ReceiverConfig.NV800B.VoiceIntervalLine = line;
            ReceiverConfig.TIMERS.VoiceIntervalTimer = 4;
            ReceiverConfig.TIMERS.PreVoiceAnnc = 2;
            frmTimers w;
            for (QWidget *group : std::initializer_list<QWidget *>{w.Frame6, w.optVoiceTimer[0], w.optVoiceTimer[5]})
                QCOMPARE(group->isEnabled(), speaker || line);
            QVERIFY(w.optVoiceTimer[3]->isChecked() && w.Frame4->isEnabled() && w.Frame7->isEnabled() && w.Frame9->isEnabled());
            QVERIFY(openWindow(w));
            w.optVoiceDelay[2]->setFocus();
            QTest::keyClick(w.optVoiceDelay[2], Qt::Key_Down);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), w.cmdOK);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            QCOMPARE(ReceiverConfig.TIMERS.VoiceIntervalTimer, qint16(4));
            QCOMPARE(ReceiverConfig.TIMERS.PreVoiceAnnc, qint16(3));
        }
    }
};

// The three windows' changes on their way to the receiver: edited through the main window's
// buttons, then sent by its transfer command to a simulated receiver on a pseudo-terminal.
class EditorTransferTest : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        freshRecord();
        setLinkTimeScale(0.1); // the pause before the upload moves the test's clock
        setPauseSleeper([](int ms) { doubles().wallClock = doubles().wallClock.addMSecs(ms); });
    }
    void cleanup()
    {
        setLinkTimeScale(1.0);
        setPauseSleeper({});
    }

    void editedSettingsReachTheReceiver()
    {
        ReceiverSimulator receiver;
        if (!receiver.start())
            QSKIP("no pseudo-terminal here");
        QSettings(QStringLiteral("Orvane"), QStringLiteral("Orvane")).setValue(QStringLiteral("PORTS/Port1"), receiver.devicePath());
        ReceiverConfig.EDITOR.SerialPort = 1;
        FipsList[0] = QStringLiteral("X 012011  Broward                Florida");
        EventList[0] = QStringLiteral("TOR");
        frmMain main;
        main.show();
        whenEditorOpens<frmOption>([](frmOption *w) {
            click(w->chkOverride[1]); // accept all events: byte 8 bit 6
            click(w->optVocInt[1]);   // warnings and watches: byte 11 bit 3
            click(w->chkVocInt[2]);   // no test limit: byte 11 bit 5 off
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
            click(w->chkID[0]);
            click(w->chkID[2]);
            w->txtIdent->setFocus();
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

ORVANE_TEST(IdentTest)
ORVANE_TEST(OptionTimerTest)
ORVANE_TEST(EditorTransferTest)
#include "EditorSettingsTest.moc"
