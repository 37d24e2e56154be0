// Every window through its accessible actions, as a screen reader or a switch device works
// it: a control pressed, toggled or chosen that way does what a click does. A check box
// toggled so never sends a click, a list row chosen so is selected but not made current,
// and a button pressed so clicks a moment later (it is shown pressed first).
#include "app/ProgramWindows.h"
#include "support/TestRegistry.h"

#include "config/ReceiverConfig.h"
#include "selection/EventTable.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAccessible>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTimer>
#include <algorithm>
#include <array>
#include <functional>

namespace {

const QString kToggle = QAccessibleActionInterface::toggleAction();
const QString kPress = QAccessibleActionInterface::pressAction();

} // namespace

class AccessibleActionsTest : public QObject
{
    Q_OBJECT
    ProgramWindows program;
    QWidget *window = nullptr;
    // A window the pressed control opens modally is noted and closed. It opens a moment after
    // the press, so a poll watches for it (a window queued with whenModalOpens would look too early).
    QTimer modalWatch;
    QStringList modalsSeen;

    QWidget *control(const QString &name) const { return window->findChild<QWidget *>(name); }
    template <typename W> W *control(const QString &name) const { return window->findChild<W *>(name); }

    // Performs one accessible action of the named control; a press returns after the click.
    void act(const QString &name, const QString &action)
    {
        QWidget *w = control(name);
        QAccessibleInterface *face = w ? QAccessible::queryAccessibleInterface(w) : nullptr;
        QVERIFY2(face && face->actionInterface() && face->actionInterface()->actionNames().contains(action),
                 qPrintable(name + u' ' + action));
        auto *button = action == kPress ? qobject_cast<QAbstractButton *>(w) : nullptr;
        QSignalSpy clicked(button ? static_cast<QObject *>(button) : w, button ? SIGNAL(clicked(bool)) : SIGNAL(destroyed()));
        face->actionInterface()->doAction(action);
        if (button)
            QTRY_COMPARE(clicked.count(), 1);
    }
    void toggle(const QString &name) { act(name, kToggle); }
    void press(const QString &name) { act(name, kPress); }

    // Chooses a row of a list through the row's own accessible action.
    void chooseRow(const QString &list, int row)
    {
        auto *view = control<QAbstractItemView>(list);
        QAccessibleInterface *face = view ? QAccessible::queryAccessibleInterface(view) : nullptr;
        QVERIFY2(face && face->tableInterface(), qPrintable(list));
        QTRY_VERIFY(face->tableInterface()->rowCount() > row); // the rows a reader sees (a help list fills late)
        QAccessibleInterface *cell = face->tableInterface()->cellAt(row, 0);
        QVERIFY(cell && cell->actionInterface() && cell->actionInterface()->actionNames().contains(kToggle));
        cell->actionInterface()->doAction(kToggle);
        QCOMPARE(view->selectionModel()->selectedIndexes().size(), 1);
    }

    // The row chosen is the list's current row, the one its buttons and Enter work on.
    bool currentIsChosen(const QString &list) const
    {
        auto *view = control<QAbstractItemView>(list);
        return view && view->currentIndex().isValid() &&
               view->selectionModel()->selectedIndexes() == QModelIndexList{view->currentIndex()};
    }

    QStringList enabledOf(const QStringList &names) const
    {
        QStringList on;
        for (const QString &name : names)
            if (QWidget *w = control(name); w && w->isEnabled())
                on << name;
        return on;
    }

    // What each row does after its window opened, and the effect expected of it.
    struct Case {
        const char *name;
        const char *window;
        std::function<void()> prepare; // the record and lists before the window opens, or empty
        std::function<void(AccessibleActionsTest &)> run;
    };
    static const QList<Case> &cases();

private slots:
    void initTestCase()
    {
        modalWatch.setInterval(5);
        modalWatch.callOnTimeout(this, [this] {
            QWidget *modal = QApplication::activeModalWidget();
            if (!modal || modal == window || !modal->isVisible())
                return;
            modalsSeen << modal->objectName();
            if (auto *dialog = qobject_cast<QDialog *>(modal))
                dialog->done(QDialog::Rejected);
            else
                modal->hide();
        });
    }
    void init()
    {
        freshState();
        modalsSeen.clear();
    }
    void cleanup()
    {
        modalWatch.stop();
        window = nullptr;
        program.close();
    }

    void actions_data()
    {
        QTest::addColumn<int>("index");
        for (int k = 0; k < cases().size(); ++k)
            QTest::newRow(cases()[k].name) << k;
    }
    void actions()
    {
        QFETCH(int, index);
        const Case &c = cases()[index];
        // A port that cannot be opened: nothing talks to a device of this machine.
        ReceiverConfig.EDITOR.SerialPort = 0;
        for (int n = 1; n <= 4; ++n)
            putSetting(QStringLiteral("PORTS/Port%1").arg(n), QStringLiteral("/nonexistent/ttyS%1").arg(n));
        if (c.prepare)
            c.prepare();
        window = program.open(QString::fromLatin1(c.window));
        QVERIFY(window);
        modalWatch.start();
        c.run(*this);
    }

    // Every control that offers it takes the keyboard through its "set focus" action.
    void setFocusAction_data()
    {
        QTest::addColumn<QString>("name");
        for (const char *name : {"frmMain", "frmCommPort", "frmEnterFIP", "frmFIPS", "frmFIPEdit", "frmEvent",
                                 "frmOption", "frmTimers", "frmIdent", "frmTest", "frmAbout", "frmTip", "frmDataDump",
                                 "frmHelp index"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }
    void setFocusAction()
    {
        QFETCH(QString, name);
        ReceiverConfig.EDITOR.ShowTipsAtStartup = true;
        window = program.open(name);
        QVERIFY(window);
        int focused = 0;
        for (QWidget *w : window->findChildren<QWidget *>()) {
            QAccessibleInterface *face = QAccessible::queryAccessibleInterface(w);
            if (!w->isVisible() || !w->isEnabled() || !face || !face->actionInterface() ||
                !face->actionInterface()->actionNames().contains(QAccessibleActionInterface::setFocusAction()))
                continue;
            face->actionInterface()->doAction(QAccessibleActionInterface::setFocusAction());
            QWidget *expected = w->focusProxy() ? w->focusProxy() : w;
            QVERIFY2(QApplication::focusWidget() == expected,
                     qPrintable(w->objectName() + u' ' + QString::fromLatin1(w->metaObject()->className())));
            ++focused;
        }
        QVERIFY(focused > 0);
    }
};

const QList<AccessibleActionsTest::Case> &AccessibleActionsTest::cases()
{
    using T = AccessibleActionsTest;
    static const QStringList identDependent = {"chkID_1", "chkID_2", "chkID_3", "txtIdent", "cmdErase"};
    static const QStringList voiceDependent = {"optVocInt_0", "optVocInt_1", "optVocInt_2", "chkVocInt_2"};
    static const QList<Case> table = {
        // Station identification: the switch enables the words, the call letters and Clear.
        {"frmIdent switch off, OK", "frmIdent", {}, [](T &t) {
             QCOMPARE(t.enabledOf(identDependent), identDependent);
             t.control<QLineEdit>("txtIdent")->setText(QStringLiteral("K9T"));
             t.toggle("chkID_0");
             QCOMPARE(t.enabledOf(identDependent), QStringList());
             t.press("cmdOK");
             QVERIFY(!t.window->isVisible() && !ReceiverConfig.NV8007.GiveStationID);
             QCOMPARE(ReceiverConfig.EDITOR.UserStationID, QString());
         }},
        {"frmIdent switch on, words, OK", "frmIdent", {}, [](T &t) {
             // Loaded with the identification off (each activation reads the record).
             ReceiverConfig.NV8007.GiveStationID = false;
             ReceiverConfig.EDITOR.UserStationID = QStringLiteral("K9T");
             t.program.main->activateWindow();
             QTRY_VERIFY(!t.window->isActiveWindow());
             t.window->activateWindow();
             QTRY_VERIFY(!t.control("txtIdent")->isEnabled());
             t.toggle("chkID_0");
             QCOMPARE(t.enabledOf(identDependent), identDependent);
             t.toggle("chkID_1");
             t.toggle("chkID_3");
             t.press("cmdOK");
             const auto &id = ReceiverConfig.NV8007;
             QVERIFY(!t.window->isVisible() && id.GiveStationID && id.AppendThisIs && !id.AppendRepeater && id.AppendTransmitter);
             QCOMPARE(ReceiverConfig.EDITOR.UserStationID, QStringLiteral("K9T"));
         }},
        {"frmIdent Clear, then OK refused", "frmIdent", {}, [](T &t) {
             t.control<QLineEdit>("txtIdent")->setText(QStringLiteral("K9T"));
             t.press("cmdErase");
             QCOMPARE(t.control<QLineEdit>("txtIdent")->text(), QString());
             t.press("cmdOK");
             QCOMPARE(shownBoxes(), QStringList{box("Error..No Identification Entered")});
             QVERIFY(t.window->isVisible());
             t.press("cmdCancel");
             QVERIFY(!t.window->isVisible());
         }},
        // Options: the voice interval switch enables its options; OK stores every box.
        {"frmOption switch, options, OK", "frmOption", {}, [](T &t) {
             QCOMPARE(t.enabledOf(voiceDependent), voiceDependent);
             t.toggle("chkVocInt_0");
             QCOMPARE(t.enabledOf(voiceDependent), QStringList());
             t.toggle("chkVocInt_0");
             QCOMPARE(t.enabledOf(voiceDependent), voiceDependent);
             for (const char *name : {"optVocInt_2", "chkVocInt_2", "chkOverride_0", "chkOverride_1", "chkOverride_2"})
                 t.toggle(name);
             t.press("cmdOk");
             const auto &r = ReceiverConfig;
             QVERIFY(!t.window->isVisible() && r.NV800B.VoiceIntervalLine && r.NV800B.VocWarnings && !r.NV800B.VocWarningsWatch);
             QVERIFY(r.NV800B.VocTruncateTest && r.NV8008.AcceptAllFips && r.NV8008.AcceptAllEvents && r.NV8008.IgnoreTerminationPacket);
         }},
        {"frmOption Cancel", "frmOption", {}, [](T &t) {
             t.toggle("chkOverride_0");
             t.press("cmdCancel");
             QVERIFY(!t.window->isVisible() && !ReceiverConfig.NV8008.AcceptAllFips);
         }},
        // Timers: every option takes its group's choice; the last of each is stored on OK.
        {"frmTimers every option, OK", "frmTimers", {}, [](T &t) {
             for (const char *group : {"optTimeLn", "optVoiceTimer", "optRelayDelay", "optVoiceDelay"})
                 for (int i = 0; t.control(QStringLiteral("%1_%2").arg(group).arg(i)); ++i) {
                     const QString name = QStringLiteral("%1_%2").arg(group).arg(i);
                     t.toggle(name);
                     QVERIFY2(t.control<QRadioButton>(name)->isChecked(), qPrintable(name));
                 }
             t.press("cmdOK");
             QVERIFY(!t.window->isVisible());
             const auto &timers = ReceiverConfig.TIMERS;
             QCOMPARE((QList<int>{timers.LineTimeoutTimer, timers.VoiceIntervalTimer, timers.RelayDelayTimer, timers.PreVoiceAnnc}),
                      (QList<int>{6, 6, 4, 4}));
         }},
        // Setup: the port and the daylight saving box are stored on OK; the port search asks.
        {"frmCommPort port, daylight saving, OK", "frmCommPort", {}, [](T &t) {
             for (int i = 0; i < 4; ++i) {
                 t.toggle(QStringLiteral("optCommPort_%1").arg(i));
                 QVERIFY(t.control<QRadioButton>(QStringLiteral("optCommPort_%1").arg(i))->isChecked());
             }
             t.toggle("chkAdjustTime");
             t.press("cmdOk");
             QVERIFY(!t.window->isVisible() && ReceiverConfig.EDITOR.DaylightSavings);
             QCOMPARE(ReceiverConfig.EDITOR.SerialPort, qint16(4));
         }},
        {"frmCommPort port search", "frmCommPort", {}, [](T &t) {
             t.press("cmdTest");
             QCOMPARE(shownBoxes(), QStringList{box("Error...No serial handshake found.  Check all connections.", QMessageBox::Warning,
                                                    QMessageBox::Ok, QStringLiteral(" Orvane Serial Port Test"))});
         }},
        // State and transmitter: the row chosen is the transmitter OK stores.
        {"frmEnterFIP transmitter row, OK", "frmEnterFIP", {}, [](T &t) {
             t.chooseRow("lstCounty", 2);
             QVERIFY(t.currentIsChosen("lstCounty"));
             const QString chosen = t.control<QListWidget>("lstCounty")->item(2)->text();
             t.press("cmdOk");
             QVERIFY(shownBoxes().isEmpty() && !t.window->isVisible());
             QCOMPARE(ReceiverConfig.EDITOR.TransmitterLocation, chosen);
         }},
        {"frmEnterFIP no row, OK refused; Cancel", "frmEnterFIP", {}, [](T &t) {
             t.press("cmdOk");
             QCOMPARE(shownBoxes(), QStringList{box(" Error, No Transmitter Location Selected. ")});
             QVERIFY(t.window->isVisible());
             t.press("cmdCancel");
             QVERIFY(!t.window->isVisible());
         }},
        // Counties: the buttons work on the row chosen; OK stores the list.
        {"frmFIPS row, Copy, Edit, Remove, OK", "frmFIPS",
         [] {
             FipsList[0] = QStringLiteral("  012011  Broward                Florida");
             FipsList[1] = QStringLiteral("X 012099  Palm Beach             Florida");
             FipsList[2] = QStringLiteral("  012085  Martin                 Florida");
             fillFipsListBox();
         },
         [](T &t) {
             auto *list = t.control<QListWidget>("lstFips");
             t.chooseRow("lstFips", 1);
             QVERIFY(t.currentIsChosen("lstFips"));
             t.press("cmdCopy");
             QCOMPARE(itemTexts(list).value(3), itemTexts(list).value(1));
             t.press("cmdEdit");
             QCOMPARE(t.modalsSeen, QStringList{"frmFIPEdit"});
             QCOMPARE(FipsEditSource, list->item(1)->text());
             t.chooseRow("lstFips", 2);
             t.press("cmdRemove"); // answered Yes
             QVERIFY(list->count() == 3 && shownBoxes().value(0).contains(QStringLiteral("Martin")));
             t.press("cmdAdd");
             t.press("cmdEnterCodes");
             QCOMPARE(t.modalsSeen, (QStringList{"frmFIPEdit", "frmFIPEdit", "frmEnterFIP"}));
             t.press("cmdOK");
             QVERIFY(!t.window->isVisible());
             QCOMPARE((QStringList{FipsList[1], FipsList[2], FipsList[3]}),
                      (QStringList{"X 012099  Palm Beach             Florida", "  012099  Palm Beach             Florida", ""}));
         }},
        // Event codes: every box counts, the 49th is refused with a beep; the pages turn.
        {"frmEvent every box, pages, OK", "frmEvent", {}, [](T &t) {
             for (int slot = 0; slot < kEventCodeCount; ++slot) {
                 t.toggle(QStringLiteral("chk") + EventTable[slot].Code);
                 QCOMPARE(t.control<QLabel>("lblCount")->text(), QStringLiteral("Events Selected = %1   (Max 48)").arg(std::min(slot + 1, 48)));
             }
             QCOMPARE(doubles().beeps, kEventCodeCount - 48);
             t.press("cmdSelect_1");
             QCOMPARE(t.window->windowTitle(), QStringLiteral(" Orvane Event Codes. Page 2"));
             QVERIFY(t.control("Picture2")->isVisible());
             t.press("cmdSelect_0");
             QVERIFY(t.control("Picture1")->isVisible());
             t.press("cmdOK");
             QVERIFY(!t.window->isVisible() && eventListContains(EventTable[0].Code) &&
                     !eventListContains(EventTable[kEventCodeCount - 1].Code));
         }},
        // Test packets: a button plays its alert.
        {"frmTest alerts, OK", "frmTest", {}, [](T &t) {
             for (const char *alert : {"cmdRWT", "cmdFFW", "cmdSVA", "cmdTOA"}) {
                 const qsizetype before = doubles().sounds.size();
                 t.press(alert);
                 QVERIFY2(doubles().sounds.size() > before, alert);
             }
             t.press("cmdOk");
             QVERIFY(!t.window->isVisible());
         }},
        {"frmAbout System Info, OK", "frmAbout", {}, [](T &t) {
             t.press("cmdSysInfo");
             QCOMPARE(shownBoxes(), QStringList{box("System Information Is Unavailable At This Time", QMessageBox::NoIcon)});
             t.press("cmdOk");
             QVERIFY(!t.window->isVisible());
         }},
        {"frmTip box, OK", "frmTip", [] { ReceiverConfig.EDITOR.ShowTipsAtStartup = true; }, [](T &t) {
             t.toggle("chkLoadTipsAtStartup");
             t.press("cmdOK"); // the window closes and deletes itself
             t.window = nullptr;
             QVERIFY(!ReceiverConfig.EDITOR.ShowTipsAtStartup && !t.program.main->mnuTipsShow->isChecked());
         }},
        {"frmDataDump Clear, Exit", "frmDataDump", {}, [](T &t) {
             t.control<QPlainTextEdit>("Text1")->setPlainText(QStringLiteral("NV Data Dump"));
             t.press("cmdClear");
             QCOMPARE(t.control<QPlainTextEdit>("Text1")->toPlainText(), QString());
             t.press("cmdExit");
             QVERIFY(!t.window->isVisible());
         }},
        // Help: a tab pressed shows its page; a row chosen is the row Enter opens.
        {"frmHelp tabs and rows", "frmHelp contents", {}, [](T &t) {
             auto *tabs = t.control<QTabWidget>("tabNavigation");
             QAccessibleInterface *bar = QAccessible::queryAccessibleInterface(tabs->tabBar());
             QVERIFY(bar && bar->childCount() >= 3 && bar->child(1)->actionInterface());
             for (const auto &[tab, list] : {std::pair{1, "lstIndex"}, std::pair{0, "lstContents"}}) {
                 bar->child(tab)->actionInterface()->doAction(kPress);
                 QCOMPARE(tabs->currentIndex(), tab);
                 t.chooseRow(list, 1);
                 QVERIFY(t.currentIsChosen(list));
             }
         }},
        {"frmFIPEdit OK", "frmFIPEdit", {}, [](T &t) {
             t.press("cmdOK");
             QVERIFY(!t.window->isVisible() && FipsEditResult.contains(QStringLiteral("Broward")));
         }},
        {"frmFIPEdit Cancel", "frmFIPEdit", [] { FipsEditResult.clear(); }, [](T &t) {
             t.press("cmdCancel");
             QVERIFY(!t.window->isVisible() && static_cast<QDialog *>(t.window)->result() == QDialog::Rejected);
             QCOMPARE(FipsEditResult, QString());
         }},
    };
    static const QList<Case> withCommands = [] {
        // The main window's commands: the window each opens, or what a click on it shows.
        static const std::array<const char *, 11> names = {"frmMain setup", "frmMain counties", "frmMain events", "frmMain options",
                                                           "frmMain timers", "frmMain identification", "frmMain transfer",
                                                           "frmMain data dump", "frmMain report", "frmMain help", "frmMain exit"};
        QList<Case> all = table;
        for (int k = 0; k < 11; ++k)
            all.append({names[k], "frmMain", {}, [k](T &t) {
                static const QStringList opens = {"frmCommPort", "frmFIPS", "frmEvent", "frmOption", "frmTimers", "frmIdent"};
                const QString button = QStringLiteral("cmdMain_%1").arg(k);
                t.press(button);
                if (k < opens.size()) {
                    QCOMPARE(t.modalsSeen, QStringList{opens[k]});
                } else if (k == 9) {
                    QVERIFY(doubles().helpRequests.size() == 1 && doubles().helpRequests[0].command == HelpCommand::Contents);
                } else if (k == 10) {
                    QCOMPARE(doubles().programEnds, 1);
                } else {
                    // The transfer, the dump and the report without a receiver or a history.
                    const QStringList pressed = shownBoxes();
                    QVERIFY(!pressed.isEmpty());
                    doubles().messages.clear();
                    QTest::mouseClick(t.control<QPushButton>(button), Qt::LeftButton);
                    QCOMPARE(shownBoxes(), pressed);
                }
                QCOMPARE(t.modalsSeen.size(), k < opens.size() ? 1 : 0);
            }});
        return all;
    }();
    return withCommands;
}

ORVANE_TEST(AccessibleActionsTest)
#include "AccessibleActionsTest.moc"
