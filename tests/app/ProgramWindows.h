#pragma once
// The windows the walks of WindowWalksTest.cpp go over, one row a window in programWindows():
// a new window is a new row; a new control a word in its row or a case.
#include "config/ConfigTestSupport.h"
#include "selection/SelectionTestSupport.h"

#include "app/frmMain.h"
#include "app/frmSplash.h"
#include "diagnostics/frmAbout.h"
#include "diagnostics/frmDataDump.h"
#include "diagnostics/frmHelp.h"
#include "diagnostics/frmProgramming.h"
#include "diagnostics/frmTip.h"
#include "editors/frmIdent.h"
#include "editors/frmOption.h"
#include "editors/frmTimers.h"
#include "history/HistoryGrid.h"
#include "history/HistoryView.h"
#include "core/Platform.h"
#include "link/HistoryDecoding.h"
#include "link/frmCommPort.h"
#include "link/frmTest.h"
#include "selection/EventTable.h"
#include "selection/StateDatabase.h"
#include "selection/frmEnterFIP.h"
#include "selection/frmEvent.h"
#include "selection/frmFIPEdit.h"
#include "selection/frmFIPS.h"
#include "selection/frmFindCounty.h"

#include <QHelpSearchEngine>
#include <QtTest>
#include <QtWidgets>
#include <memory>

class Walk;
// One case of a window's accessible actions: Walk::act's steps, then checks.
struct Action { const char *name, *steps; std::function<void(Walk &)> then = {}; };
// How the window opens (with the record it opens with where it matters); its layout: the Tab
// order in reading order (OK / Cancel last; a group of option buttons is one stop, on its
// selected button), ">" the first focus, "*" the button Enter presses, then after "|" the
// accelerators, "letter:focus" with "!" when the focused box toggles and "+button" when a
// button is pressed; the cases of its controls' accessible actions.
struct Window { const char *name; std::function<QWidget *(Walk &)> open; const char *layout; QList<Action> actions = {}; };

// One window at a time over a fresh main window, its controls worked as a screen reader or a
// switch device works them; a window they open modally is noted and closed.
class Walk
{
public:
    std::unique_ptr<frmMain> main;
    QPointer<QWidget> window;
    QStringList modalsSeen;
    QTemporaryDir helpCache;

    Walk()
    {
        modalWatch.setInterval(5); // the modal window opens a moment after the press
        modalWatch.callOnTimeout([this] {
            if (QWidget *modal = QApplication::activeModalWidget(); modal && modal != window && modal->isVisible())
                modalsSeen << modal->objectName(), closeModalWindows();
        });
    }

    // Opens the window as the program shows it, active and with its first focus ("frmHelp
    // index" and "frmHelp search": the help at that page). No port opens a device of this machine.
    QWidget *open(const Window &row)
    {
        const QString name = QString::fromLatin1(row.name);
        freshState();
        ReceiverConfig.EDITOR.ShowTipsAtStartup = true;
        for (int n = 1; n <= 4; ++n) putSetting(QStringLiteral("PORTS/Port%1").arg(n), QStringLiteral("/nonexistent/ttyS%1").arg(n));
        main = std::make_unique<frmMain>();
        window = row.open(*this);
        if (auto *search = window->findChild<QHelpSearchEngine *>())
            indexStarts = std::make_unique<QSignalSpy>(search, &QHelpSearchEngine::indexingStarted),
            indexEnds = std::make_unique<QSignalSpy>(search, &QHelpSearchEngine::indexingFinished);
        main->show(), window->show(), window->activateWindow();
        // The splash screen has nothing to type into and is never the active window.
        if (name == "frmSplash" ? !QTest::qWaitForWindowExposed(window) : !QTest::qWaitForWindowActive(window))
            return nullptr;
        if (auto *help = qobject_cast<frmHelp *>(window); help && name.endsWith("index"))
            help->showKeywordSearch(QString());
        else if (QWidget *query = control("txtSearch"); help && (help->showContents(), name.endsWith("search")) &&
                 !pressAlt(u's', [query] { return query && query->isAncestorOf(QApplication::focusWidget()); }))
            return nullptr;
        QCoreApplication::processEvents(), modalWatch.start();
        return window;
    }

    // Closes what open() opened; the county and state windows live on, hidden.
    void close()
    {
        modalWatch.stop(), modalsSeen.clear(), closeModalWindows(), indexStarts.reset(), indexEnds.reset();
        if (qobject_cast<frmFIPS *>(window) || qobject_cast<frmEnterFIP *>(window))
            window->hide();
        else if (window != main.get())
            delete window.data(); // the tip window deletes itself when it closes
        main.reset(), setStatesDirectory(QString());
    }

    // The help has settled when every indexing begun (there may be more than one) has ended and
    // its search box is enabled again; other windows at once.
    bool settled()
    {
        QWidget *query = control("txtSearch");
        return !indexStarts || QTest::qWaitFor([&] {
            return !indexStarts->isEmpty() && indexEnds->size() == indexStarts->size() && query && query->isEnabled();
        }, 30000);
    }
    // Alt+letter, pressed once the window has settled, and `done` awaited; when an indexing began
    // meanwhile and took the search box away, pressed again from the same tab and focus.
    bool pressAlt(QChar letter, const std::function<bool()> &done)
    {
        auto *tabs = window->findChild<QTabWidget *>();
        const int tab = tabs ? tabs->currentIndex() : -1;
        const QPointer<QWidget> from = QApplication::focusWidget();
        for (int tries = 0; tries < 3 && settled(); ++tries) {
            const qsizetype runs = indexStarts ? indexStarts->size() : 0;
            QTest::keyClick(QApplication::focusWidget(), Qt::Key(Qt::Key_A + (letter.unicode() - 'a')), Qt::AltModifier);
            if (QTest::qWaitFor(done, 5000) || !indexStarts || indexStarts->size() == runs)
                return done();
            if (tabs) tabs->setCurrentIndex(tab);
            if (from) from->setFocus(Qt::ShortcutFocusReason);
        }
        return false;
    }

    QWidget *control(const QString &name) const { return window ? window->findChild<QWidget *>(name) : nullptr; }
    template <typename W> W *control(const QString &name) const { return window->findChild<W *>(name); }
    QString text(const QString &name) const { return control(name)->property(textOf(control(name))).toString(); }

    // Works each named control through its accessible action: a check box or option button
    // toggled (it sends no click; an option button is then selected), a button pressed (it
    // clicks a moment later), "list:row" a row chosen by its own action (selected, and the
    // list's current row, which its buttons and Enter work on); "box=text" types the text (_ for
    // a blank). "+a,b" and "-a,b": a and b are enabled, disabled; "open", "closed": the window is.
    void act(const QString &steps)
    {
        const QString toggle = QAccessibleActionInterface::toggleAction(), press = QAccessibleActionInterface::pressAction();
        for (const QString &step : steps.split(u' ', Qt::SkipEmptyParts)) {
            QWidget *w = control(step.section(QRegularExpression("[=:]"), 0, 0));
            auto *view = qobject_cast<QAbstractItemView *>(w);
            auto *button = qobject_cast<QAbstractButton *>(w);
            QAccessibleInterface *face = w ? QAccessible::queryAccessibleInterface(w) : nullptr;
            if (step == "open" || step == "closed") {
                QVERIFY2((!window || !window->isVisible()) == (step == "closed"), qPrintable(step));
            } else if (step.startsWith(u'+') || step.startsWith(u'-')) {
                for (const QString &name : step.mid(1).split(u','))
                    QVERIFY2(control(name) && control(name)->isEnabled() == step.startsWith(u'+'), qPrintable(step.at(0) + name));
            } else if (step.contains(u'=')) {
                QVERIFY2(w && w->setProperty(textOf(w), step.section(u'=', 1).replace(u'_', u' ')), qPrintable(step));
            } else if (step.contains(u':')) {
                const int row = step.section(u':', 1).toInt();
                QVERIFY2(view && face->tableInterface(), qPrintable(step));
                QTRY_VERIFY(face->tableInterface()->rowCount() > row); // the rows a reader sees (a help list fills late)
                QAccessibleInterface *cell = face->tableInterface()->cellAt(row, 0);
                QVERIFY(cell && cell->actionInterface() && cell->actionInterface()->actionNames().contains(toggle));
                cell->actionInterface()->doAction(toggle);
                QVERIFY2(view->currentIndex().isValid() && view->selectionModel()->selectedIndexes() == QModelIndexList{view->currentIndex()},
                         qPrintable(step));
            } else {
                const QString action = button && button->isCheckable() ? toggle : press;
                QVERIFY2(button && face->actionInterface() && face->actionInterface()->actionNames().contains(action), qPrintable(step));
                QSignalSpy clicked(button, &QAbstractButton::clicked);
                face->actionInterface()->doAction(action);
                if (action == press) QTRY_COMPARE(clicked.count(), 1);
                QVERIFY2(action == press || (clicked.isEmpty() && (!qobject_cast<QRadioButton *>(button) || button->isChecked())), qPrintable(step));
            }
            if (QTest::currentTestFailed()) return;
        }
    }

private:
    static const char *textOf(QWidget *w) { return qobject_cast<QPlainTextEdit *>(w) ? "plainText" : "text"; }
    QTimer modalWatch;
    std::unique_ptr<QSignalSpy> indexStarts, indexEnds; // the help window's indexing runs, counted from its construction
};

// The county and state windows, over the committed state files, Florida and a transmitter.
inline QWidget *stateWindow(bool counties)
{
    setStatesDirectory(committedStatesDir());
    ReceiverConfig.EDITOR.StateID = 8;
    ReceiverConfig.EDITOR.TransmitterLocation = QStringLiteral(" West Palm Beach, FL     162.475");
    FipsList[0] = QStringLiteral("  012011  Broward                Florida");
    FipsList[1] = QStringLiteral("X 012099  Palm Beach             Florida");
    FipsList[2] = QStringLiteral("  012085  Martin                 Florida");
    initStateSelection(), fillFipsListBox();
    return counties ? static_cast<QWidget *>(frmFIPS::instance()) : frmEnterFIP::instance();
}
inline QWidget *helpWindow(Walk &t) { return new frmHelp(QStringLiteral(ORVANE_BUILT_HELP_FILE), t.helpCache.path() + QStringLiteral("/orvane.qhc")); }
template <typename F> QWidget *walkChild(Walk &t) { return new F(t.main.get()); }

// The File menu's programming and configuration items, by their letters in the open menu.
inline void walkFileMenu(Walk &t)
{
    frmMain &main = *t.main;
    int asked = 0;
    const auto ask = [&](const Platform::SaveDialogRequest &) { return ++asked, QString(); };
    Platform::setSaveDialog(ask), Platform::setOpenDialog(ask);
    const QStringList noPort = {box("Error #201:  Selected Serial Port will not open"), box("Serial Connection Fail...")};
    const struct { QAction *item; char letter; int asks; QStringList boxes; } items[] = {
        {main.mnuReadProgramming, 'r', 0, noPort}, {main.mnuVerifyProgramming, 'v', 0, noPort},
        {main.mnuSaveConfiguration, 'c', 1, {}}, {main.mnuOpenConfiguration, 'o', 1, {}}};
    for (const auto &i : items) {
        doubles().messages.clear(), asked = 0;
        QSignalSpy triggered(i.item, &QAction::triggered);
        QTest::keyClick(&main, Qt::Key_F, Qt::AltModifier);
        QVERIFY(QTest::qWaitFor([&] { return main.mnuFile->isVisible(); }, 5000));
        QTest::keyClick(main.mnuFile, i.letter);
        QVERIFY2(QTest::qWaitFor([&] { return triggered.count() == 1; }, 5000), i.item->text().toLatin1());
        QVERIFY2(asked == i.asks && shownBoxes() == i.boxes, qPrintable(shownBoxes().join(u'|')));
    }
}

// The history grid: the arrow keys, Home / End and PgUp / PgDn move its current row, which a
// screen reader hears; the second group keeps the place.
inline void walkHistoryGrid(Walk &t)
{
    std::fill(HistoryTable.begin(), HistoryTable.end(), HistoryEntry{});
    HistoryTable[2] = {"30-April", "11:30", "01:30", "WXR", "Required Weekly Test"};
    HistoryGrid *grid = t.main->historyGrid;
    showHistoryGroup(*grid, 0), grid->setFocus(Qt::TabFocusReason);
    QAccessibleInterface *face = QAccessible::queryAccessibleInterface(grid);
    QVERIFY(face && face->text(QAccessible::Name) == QStringLiteral("Alert History") && grid->currentRow() == 0);
    const struct { QList<int> keys; int row; } steps[] = {
        {{Qt::Key_Down, Qt::Key_Down}, 2}, {{Qt::Key_Up}, 1}, {{Qt::Key_Up, Qt::Key_Up}, 0}, {{Qt::Key_End}, 19}, {{Qt::Key_Down}, 19},
        {{Qt::Key_Home}, 0}, {{Qt::Key_PageDown}, 19}, {{Qt::Key_PageUp}, 0}, {{Qt::Key_Down, Qt::Key_Down}, 2}};
    for (const auto &step : steps) {
        for (int key : step.keys) QTest::keyClick(grid, Qt::Key(key));
        QVERIFY(grid->currentRow() == step.row && QApplication::focusWidget() == grid &&
                face->text(QAccessible::Description).startsWith(QString::number(step.row + 1)));
    }
    QCOMPARE(face->text(QAccessible::Description), QStringLiteral("3  30-April  11:30  01:30  WXR  Required Weekly Test"));
    showHistoryGroup(*grid, 1);
    QVERIFY(grid->currentRow() == 2 && face->text(QAccessible::Description).startsWith(QStringLiteral("23")));
}

inline const QList<Window> &programWindows()
{
    using W = Walk;
    static const auto &r = ReceiverConfig;
    static const QList<Window> rows = {
        {"frmMain", [](W &t) { return t.main.get(); },
         ">cmdMain_0 cmdMain_1 cmdMain_2 cmdMain_3 cmdMain_4 cmdMain_5 cmdMain_6 cmdMain_7 cmdMain_8 cmdMain_9 cmdMain_10 HistoryGrid | a:HistoryGrid",
         {{"commands", "cmdMain_0 cmdMain_1 cmdMain_2 cmdMain_3 cmdMain_4 cmdMain_5", [](W &t) {
              QCOMPARE(t.modalsSeen, QStringList({"frmCommPort", "frmFIPS", "frmEvent", "frmOption", "frmTimers", "frmIdent"}));
              // The transfer, the dump and the report, without a receiver or a history: as a click.
              for (const char *name : {"cmdMain_6", "cmdMain_7", "cmdMain_8"}) {
                  t.act(name);
                  const QStringList pressed = shownBoxes();
                  doubles().messages.clear();
                  QTest::mouseClick(t.control<QPushButton>(name), Qt::LeftButton);
                  QVERIFY2(!pressed.isEmpty() && shownBoxes() == pressed, name);
                  doubles().messages.clear();
              }
              t.act("cmdMain_9 cmdMain_10");
              QVERIFY(doubles().helpRequests.size() == 1 && doubles().helpRequests[0].command == HelpCommand::Contents);
              QVERIFY(doubles().programEnds == 1 && t.modalsSeen.size() == 6);
          }},
          {"File menu", "", walkFileMenu}, {"history grid keys", "", walkHistoryGrid}}},
        {"frmSplash", [](W &) { return new frmSplash; }, ""},
        {"frmCommPort", [](W &t) { ReceiverConfig.EDITOR.SerialPort = 2; return new frmCommPort(t.main.get()); },
         "optCommPort_1 cmbTimeZone chkAdjustTime cmdTest >cmdOk* | c:optCommPort_1 t:cmbTimeZone",
         {{"port, daylight saving, OK", "optCommPort_0 optCommPort_1 optCommPort_2 optCommPort_3 chkAdjustTime cmdOk closed",
           [](W &) { QVERIFY(r.EDITOR.DaylightSavings && r.EDITOR.SerialPort == 4); }},
          {"port search", "cmdTest", [](W &) {
               QCOMPARE(shownBoxes(), QStringList{box("Error...No serial handshake found.  Check all connections.", QMessageBox::Warning,
                                                      QMessageBox::Ok, QStringLiteral(" Orvane Serial Port Test"))});
           }}}},
        {"frmEnterFIP", [](W &) { return stateWindow(false); }, "cmbState cmbLimit lstCounty cmdOk* >cmdCancel | s:cmbState f:cmbLimit t:lstCounty",
         {{"transmitter row, OK", "lstCounty:2 cmdOk closed", [](W &t) {
               QVERIFY(shownBoxes().isEmpty() && r.EDITOR.TransmitterLocation == t.control<QListWidget>("lstCounty")->item(2)->text());
           }},
          {"no row, OK refused", "cmdOk open", [](W &) { QCOMPARE(shownBoxes(), QStringList{box(" Error, No Transmitter Location Selected. ")}); }},
          {"Cancel", "cmdCancel closed"}}},
        // The buttons work on the row chosen; Remove is answered Yes; OK stores the list.
        {"frmFIPS", [](W &) { return stateWindow(true); }, "lstFips cmdAdd cmdEdit cmdCopy cmdRemove cmdFindCounty cmdEnterCodes >cmdOK* | f:lstFips",
         {{"row, Copy, Edit, Remove, Add, Enter codes, OK", "lstFips:1 cmdCopy cmdEdit", [](W &t) {
              const QStringList before = itemTexts(t.control<QListWidget>("lstFips"));
              QVERIFY(before.value(3) == before.value(1) && FipsEditSource == before.value(1));
              t.act("lstFips:2 cmdRemove");
              QVERIFY(itemTexts(t.control<QListWidget>("lstFips")).size() == 3 && shownBoxes().value(0).contains(QStringLiteral("Martin")));
              t.act("cmdAdd cmdEnterCodes cmdOK closed");
              QCOMPARE(t.modalsSeen, QStringList({"frmFIPEdit", "frmFIPEdit", "frmEnterFIP"}));
              QCOMPARE((QStringList{FipsList[1], FipsList[2], FipsList[3]}),
                       (QStringList{"X 012099  Palm Beach             Florida", "  012099  Palm Beach             Florida", ""}));
          }}}},
        // Dade found, its Georgia row's first transmitter chosen, Use (the question answered Yes).
        {"frmFindCounty", [](W &t) {
             stateWindow(true);
             return new frmFindCounty([](const IndexedCounty &c, const IndexedTransmitter &x) { return frmFIPS::instance()->UseFoundCounty(c, x); },
                                      t.main.get());
         }, ">txtSearch lstMatches cmdUse* cmdClose | m:lstMatches t:txtSearch",
         {{"search, transmitter row, Use", "txtSearch=dade lstMatches:1 cmdUse closed", [](W &) {
               QVERIFY(r.EDITOR.TransmitterLocation == QStringLiteral(" Chattanooga, TN         162.550") && shownBoxes().size() == 1 &&
                       frmFIPS::instance()->tickedCount() == 1);
           }},
          {"Close", "cmdClose closed", [](W &) { QVERIFY(shownBoxes().isEmpty() && r.EDITOR.StateID == 8); }}}},
        {"frmFIPEdit", [](W &t) { FipsEditMode = 2, FipsEditSource = "012011  Broward                Florida", FipsEditResult.clear(); return walkChild<frmFIPEdit>(t); },
         ">txtFIP txtCounty txtState cmdOK* cmdCancel | s:txtState n:txtFIP c:txtCounty",
         {{"OK", "cmdOK closed", [](W &) { QVERIFY(FipsEditResult.contains(QStringLiteral("Broward"))); }},
          {"Cancel", "cmdCancel closed", [](W &t) { QVERIFY(qobject_cast<QDialog *>(t.window)->result() == QDialog::Rejected && FipsEditResult.isEmpty()); }}}},
        // Page 1's boxes, frame by frame as they are read, come first in the Tab order. Every box
        // counts, the 49th is refused with a beep; the pages turn.
        {"frmEvent", walkChild<frmEvent>, "cmdSelect_0 cmdSelect_1 >cmdOK*",
         {{"every box, pages, OK", "", [](W &t) {
              for (int slot = 0; slot < kEventCodeCount; ++slot) {
                  t.act(QStringLiteral("chk") + EventTable[slot].Code);
                  QCOMPARE(t.text("lblCount"), QStringLiteral("Events Selected = %1   (Max 48)").arg(std::min(slot + 1, 48)));
              }
              QCOMPARE(doubles().beeps, kEventCodeCount - 48);
              t.act("cmdSelect_1");
              QVERIFY(t.window->windowTitle() == QStringLiteral(" Orvane Event Codes. Page 2") && t.control("Picture2")->isVisible());
              t.act("cmdSelect_0");
              QVERIFY(t.control("Picture1")->isVisible());
              t.act("cmdOK closed");
              QVERIFY(eventListContains(EventTable[0].Code) && !eventListContains(EventTable[kEventCodeCount - 1].Code));
          }}}},
        // The voice interval switch enables its options; OK stores every box.
        {"frmOption", [](W &t) { ReceiverConfig.NV800B.VoiceIntervalLine = ReceiverConfig.NV800B.VocWarningsWatch = true; return walkChild<frmOption>(t); },
         "chkVocInt_0 optVocInt_1 chkVocInt_2 chkOverride_0 chkOverride_1 chkOverride_2 >cmdOk* cmdCancel | p:chkVocInt_0! e:chkOverride_1!",
         {{"switch, options, OK", "+optVocInt_0,optVocInt_1,optVocInt_2,chkVocInt_2 chkVocInt_0 -optVocInt_0,optVocInt_1,optVocInt_2,chkVocInt_2 "
                                  "chkVocInt_0 +optVocInt_0,optVocInt_1,optVocInt_2,chkVocInt_2 optVocInt_2 chkVocInt_2 chkOverride_0 "
                                  "chkOverride_1 chkOverride_2 cmdOk closed", [](W &) {
              QVERIFY(r.NV800B.VoiceIntervalLine && r.NV800B.VocWarnings && !r.NV800B.VocWarningsWatch && r.NV800B.VocTruncateTest);
              QVERIFY(r.NV8008.AcceptAllFips && r.NV8008.AcceptAllEvents && r.NV8008.IgnoreTerminationPacket);
          }},
          {"Cancel", "chkOverride_0 cmdCancel closed", [](W &) { QVERIFY(!r.NV8008.AcceptAllFips); }}}},
        // The interval timer in use. Every option takes its group's choice; the last of each is stored.
        {"frmTimers", [](W &t) { ReceiverConfig.NV800B.VoiceIntervalLine = true; return new frmTimers(t.main.get()); },
         ">optTimeLn_0 optVoiceTimer_0 optRelayDelay_0 optVoiceDelay_0 cmdOK* cmdCancel | v:optVoiceTimer_0 p:optVoiceDelay_0",
         {{"every option, OK", "", [](W &t) {
              for (const QString group : {"optTimeLn_%1", "optVoiceTimer_%1", "optRelayDelay_%1", "optVoiceDelay_%1"})
                  for (int i = 0; t.control(group.arg(i)); ++i) t.act(group.arg(i));
              t.act("cmdOK closed");
              QCOMPARE((QList<int>{r.TIMERS.LineTimeoutTimer, r.TIMERS.VoiceIntervalTimer, r.TIMERS.RelayDelayTimer, r.TIMERS.PreVoiceAnnc}),
                       (QList<int>{6, 6, 4, 4}));
          }}}},
        // Station identification: the switch enables the words, the call letters and Clear.
        {"frmIdent", [](W &t) { ReceiverConfig.NV8007.GiveStationID = true; return new frmIdent(t.main.get()); },
         ">chkID_0 chkID_1 chkID_2 chkID_3 txtIdent cmdErase cmdOK* cmdCancel | i:txtIdent r:chkID_2! c:txtIdent+cmdErase",
         {{"switch off, OK", "+chkID_1,chkID_2,chkID_3,txtIdent,cmdErase txtIdent=K9T chkID_0 -chkID_1,chkID_2,chkID_3,txtIdent,cmdErase "
                             "cmdOK closed", [](W &) { QVERIFY(!r.NV8007.GiveStationID && r.EDITOR.UserStationID.isEmpty()); }},
          {"switch on, words, OK", "", [](W &t) {
               // Loaded with the identification off (each activation reads the record).
               ReceiverConfig.NV8007.GiveStationID = false, ReceiverConfig.EDITOR.UserStationID = QStringLiteral("K9T");
               t.main->activateWindow();
               QTRY_VERIFY(!t.window->isActiveWindow());
               t.window->activateWindow();
               QTRY_VERIFY(!t.control("txtIdent")->isEnabled());
               t.act("chkID_0 +chkID_1,chkID_2,chkID_3,txtIdent,cmdErase chkID_1 chkID_3 cmdOK closed");
               QVERIFY(r.NV8007.GiveStationID && r.NV8007.AppendThisIs && !r.NV8007.AppendRepeater && r.NV8007.AppendTransmitter);
               QCOMPARE(r.EDITOR.UserStationID, QStringLiteral("K9T"));
           }},
          {"Clear, then OK refused", "txtIdent=K9T cmdErase cmdOK open cmdCancel closed", [](W &t) {
               QVERIFY(t.text("txtIdent").isEmpty() && shownBoxes() == QStringList{box("Error..No Identification Entered")});
           }}}},
        {"frmTest", walkChild<frmTest>, "cmdRWT cmdFFW cmdSVA cmdTOA >cmdOk*", {{"alerts, OK", "", [](W &t) {
              for (const char *alert : {"cmdRWT", "cmdFFW", "cmdSVA", "cmdTOA"}) {
                  const qsizetype before = doubles().sounds.size();
                  t.act(alert);
                  QVERIFY2(doubles().sounds.size() > before, alert);
              }
              t.act("cmdOk closed");
          }}}},
        {"frmAbout", walkChild<frmAbout>, ">cmdOk* cmdSysInfo | s:cmdOk+cmdSysInfo", {{"System Info, OK", "cmdSysInfo cmdOk closed", [](W &) {
               QCOMPARE(shownBoxes(), QStringList{box("System Information Is Unavailable At This Time", QMessageBox::NoIcon)});
           }}}},
        // The tip window closes and deletes itself.
        {"frmTip", [](W &t) { return new frmTip(t.main->mnuTipsShow, t.main.get()); }, "chkLoadTipsAtStartup >cmdOK* | s:chkLoadTipsAtStartup!",
         {{"box, OK", "chkLoadTipsAtStartup cmdOK closed", [](W &t) { QVERIFY(!r.EDITOR.ShowTipsAtStartup && !t.main->mnuTipsShow->isChecked()); }}}},
        {"frmDataDump", walkChild<frmDataDump>, ">cmdNVData cmdRaw cmdClear cmdSave Text1 cmdExit | c:cmdNVData+cmdClear",
         {{"Clear, Exit", "Text1=NV_Data_Dump cmdClear cmdExit closed", [](W &t) { QCOMPARE(t.text("Text1"), QString()); }}}},
        {"frmReadProgramming", [](W &t) { return new frmProgramming(frmProgramming::Kind::Read, "Read:", "Line Timeout ... 3", t.main.get()); },
         ">txtProgramming cmdUse* cmdCancel", {{"Use", "cmdUse closed"}, {"Cancel", "cmdCancel closed"}}},
        {"frmVerify", [](W &t) { return new frmProgramming(frmProgramming::Kind::Verify, "Differ:", "Line Timeout ... 3", t.main.get()); },
         ">txtProgramming cmdOK*", {{"OK", "cmdOK closed"}}},
        // A tab pressed shows its page; a row chosen is the row Enter opens.
        {"frmHelp contents", helpWindow, "qt_tabwidget_tabbar >lstContents brwTopic | i:txtKeyword c:lstContents", {{"tabs and rows", "", [](W &t) {
              auto *tabs = t.control<QTabWidget>("tabNavigation");
              QAccessibleInterface *bar = QAccessible::queryAccessibleInterface(tabs->tabBar());
              QVERIFY(bar && bar->childCount() >= 3 && bar->child(1)->actionInterface());
              for (const auto &[tab, list] : {std::pair{1, "lstIndex:1"}, std::pair{0, "lstContents:1"}}) {
                  bar->child(tab)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
                  t.act(list);
                  QCOMPARE(tabs->currentIndex(), tab);
              }
          }}}},
        {"frmHelp index", helpWindow, "qt_tabwidget_tabbar >txtKeyword lstIndex brwTopic | t:txtKeyword s:txtSearch/QLineEdit"},
        {"frmHelp search", helpWindow,
         "qt_tabwidget_tabbar >txtSearch/QLineEdit txtSearch/QPushButton lstSearchResults/QResultWidget brwTopic | i:txtKeyword"},
    };
    return rows;
}
