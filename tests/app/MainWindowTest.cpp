#include "config/ConfigTestSupport.h"
#include "selection/SelectionTestSupport.h"
#include "support/Rows.h"
#include "support/TestRegistry.h"

#include "app/frmMain.h"
#include "config/ParameterFile.h"
#include "config/SettingsStore.h"
#include "link/frmTest.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <memory>

class MainWindowTest : public QObject
{
    Q_OBJECT
    std::unique_ptr<frmMain> main;
    enum Way { ExitMenu, ExitNoSaveMenu, ExitButton, CloseBox };
    struct Exit { const char *name; Way way; QMessageBox::StandardButton answer; bool ends, saves; };

private slots:
    void init() { freshState(); }
    void cleanup() { main.reset(); }

    // The window as loaded: captions, pictures, what is enabled, the Help menu in its order;
    // "&Play Test Packets..." opens the test packet window modally.
    void layoutAsLoaded()
    {
        main = std::make_unique<frmMain>();
        main->show();
        QCOMPARE(main->windowTitle(), QStringLiteral("Orvane Digital Weather Receiver"));
        const QStringList captions = {"Orvane Setup", "Select FIP Codes", "Select Event Codes", "Options", "Timers",
                                      "Identification", "Transfer Data Between PC and Orvane", "Download Orvane Programmed Parameters",
                                      "Print History Report", "Display Help", "Exit"};
        for (int k = 0; k < 11; ++k) {
            auto *button = main->findChild<QPushButton *>(QStringLiteral("cmdMain_%1").arg(k));
            QVERIFY(button && button->text() == captions[k] && !button->icon().isNull());
            QCOMPARE(button->isEnabled(), frmMain::commandAvailable(k));
        }
        QVERIFY(!main->findChild<QAction *>("mnuSaveAs")->isEnabled() && !main->mnuView->menuAction()->isEnabled());
        QVERIFY(main->findChild<QAction *>("mnuExit")->isEnabled() && main->findChild<QAction *>("mnuExitNoSave")->isEnabled());
        QCOMPARE(main->mnuHistory[1]->text(), QStringLiteral("View History Group    1 - 20"));
        QCOMPARE(main->mnuHistory[2]->text(), QStringLiteral("View History Group  21 - 40"));
        QVERIFY(main->prgXfer->isHidden());
        for (int r = 0; r < 20; ++r)
            QVERIFY(main->findChild<QLabel *>(QStringLiteral("lblDate_%1").arg(r))->text().isEmpty() &&
                    main->findChild<QLabel *>(QStringLiteral("lblNum_%1").arg(r))->text().isEmpty());
        for (int n = 1; n <= 12; ++n)
            QVERIFY(!frmMain::ImageList1(n).isNull());
        QStringList items;
        for (QAction *a : main->mnuHelp->actions())
            items << (a->isSeparator() ? a->objectName() : a->text());
        QCOMPARE(items, QStringList({"&Help Contents", "&Search For Help On...", "mnuSep1", "&Brennick on the Web", "mnuSep2",
                                     "Show Tip at startup", "mnuSep4", "&Play Test Packets...", "mnuSep3", "&About"}));
        // Run only while the window is the open modal one: one that did not open modally
        // returns from the trigger first.
        bool seen = false;
        whenModalOpens<frmTest>([&seen](frmTest *window) {
            seen = true;
            QCOMPARE(window->windowTitle(), QStringLiteral("Orvane SAME Packet Test"));
            QVERIFY(window->isModal() && window->isVisible());
            window->cmdOk->click();
        });
        main->findChild<QAction *>(QStringLiteral("mnuTest"))->trigger();
        QVERIFY(seen);
    }

    // The ways out. "Exit" asks with Yes, No and Cancel; "Exit without saving" does not save;
    // the "Exit" button and the close box save without asking. Saving writes the settings and
    // the lists as they are now; a way that does not save (or a run that goes on) leaves both
    // files byte for byte as they were.
    void exitPaths_data()
    {
        addRows<Exit>({{"Exit, Yes", ExitMenu, QMessageBox::Yes, true, true}, {"Exit, No", ExitMenu, QMessageBox::No, true, false},
                       {"Exit, Cancel stays", ExitMenu, QMessageBox::Cancel, false, false},
                       {"Exit without saving", ExitNoSaveMenu, QMessageBox::NoButton, true, false},
                       {"Exit button", ExitButton, QMessageBox::NoButton, true, true},
                       {"close box", CloseBox, QMessageBox::NoButton, true, true}});
    }
    void exitPaths()
    {
        QFETCH(Exit, row);
        loadDefaultLists();
        QVERIFY(writeParameterFile());
        const QByteArray listsBefore = fileBytes(kParameterFileName);
        loadSettings(); // a run as after start-up: settings loaded and saved once, the window shown
        ReceiverConfig.EDITOR.UserStationID = QStringLiteral("STORED");
        saveSettings();
        main = std::make_unique<frmMain>();
        main->show();
        const QByteArray before = fileBytes(settingsFilePath());
        QVERIFY(!before.isEmpty());
        ReceiverConfig.EDITOR.UserStationID = QStringLiteral("CHANGED");
        FipsList[1] = QStringLiteral("  012085  Martin                 Florida");
        EventList[20] = QStringLiteral("EWW");
        const QByteArray listsEdited = parameterFileContent();
        switch (row.way) {
        case ExitMenu: doubles().answerNext(row.answer); main->mnuExit->trigger(); break;
        case ExitNoSaveMenu: main->mnuExitNoSave->trigger(); break;
        case ExitButton: QTest::mouseClick(main->cmdMain[10], Qt::LeftButton); break;
        case CloseBox: main->close(); break;
        }
        QCOMPARE(shownBoxes(), row.way == ExitMenu ? QStringList{box(" Do you want to save any changes? ", QMessageBox::Question,
                                                                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel)}
                                                   : QStringList());
        QCOMPARE(doubles().programEnds > 0, row.ends);
        if (row.way == ExitButton || row.way == CloseBox)
            QCOMPARE(doubles().programEnds, 1);
        else
            QCOMPARE(main->ExitInProgress, row.ends);
        QCOMPARE(main->isVisible(), !row.ends);
        QCOMPARE(fileBytes(settingsFilePath()).contains("UserStationID=CHANGED"), row.saves);
        if (!row.saves)
            QCOMPARE(fileBytes(settingsFilePath()), before);
        QCOMPARE(fileBytes(kParameterFileName), row.saves ? listsEdited : listsBefore);
    }

    // Each activation puts the button pictures back, clears panel 2 and restores the
    // default mouse pointer (start-up leaves the hourglass on the window).
    void activationRestoresPicturesPanelAndPointer()
    {
        main = std::make_unique<frmMain>();
        main->show();
        QVERIFY(QTest::qWaitForWindowActive(main.get()));
        QWidget other;
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other) && !main->isActiveWindow());
        main->setCursor(Qt::WaitCursor);
        main->setStatusPanelText(2, QStringLiteral("1.03"));
        for (QPushButton *button : main->cmdMain)
            button->setIcon(QIcon());
        main->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(main.get()));
        QCOMPARE(main->cursor().shape(), Qt::ArrowCursor);
        QCOMPARE(main->statusPanelText(2), QString());
        for (int k = 0; k < frmMain::kCommandCount; ++k) {
            const QImage wanted = frmMain::ImageList1(k + 1).toImage().convertToFormat(QImage::Format_ARGB32);
            const QImage shown = main->cmdMain[k]->icon().pixmap(wanted.size()).toImage().convertToFormat(QImage::Format_ARGB32);
            QVERIFY2(shown == wanted, qPrintable(main->cmdMain[k]->text()));
        }
    }

    // F8, whatever is held with it and wherever the focus is, arms the credit text: the next
    // click on the empty right panel shows it with a beep, the click after clears it; a click
    // unarmed does nothing, and a ROM version in the panel is not cleared by a click.
    void creditPanel()
    {
        for (int modifiers : {int(Qt::NoModifier), int(Qt::ShiftModifier), int(Qt::ControlModifier), int(Qt::AltModifier),
                              int(Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)}) {
            doubles().clear();
            main = std::make_unique<frmMain>();
            main->show();
            QVERIFY(QTest::qWaitForWindowExposed(main.get()));
            QLabel *right = main->findChild<QLabel *>("StatusBar1_Right");
            QTest::mouseClick(right, Qt::LeftButton);
            QVERIFY(right->text().isEmpty() && doubles().beeps == 0);
            main->cmdMain[0]->setFocus();
            QTest::keyClick(main->cmdMain[0], Qt::Key_F7, Qt::KeyboardModifiers(modifiers));
            QVERIFY(!main->CreditArmed); // another key does nothing
            QTest::keyClick(main->cmdMain[0], Qt::Key_F8, Qt::KeyboardModifiers(modifiers));
            QVERIFY2(main->CreditArmed, qPrintable(QString::number(modifiers, 16)));
            QTest::mouseClick(right, Qt::LeftButton);
            QVERIFY(right->text() == frmMain::kCreditText && main->statusPanelText(2) == frmMain::kCreditText);
            QVERIFY(doubles().beeps == 1 && !main->CreditArmed);
            QTest::mouseClick(right, Qt::LeftButton);
            QCOMPARE(right->text(), QString());
        }
        main->setStatusPanelText(2, QStringLiteral("1.03"));
        QTest::mouseClick(main->findChild<QLabel *>("StatusBar1_Right"), Qt::LeftButton);
        QCOMPARE(main->statusPanelText(2), QStringLiteral("1.03"));
    }
};

ORVANE_TEST(MainWindowTest)
#include "MainWindowTest.moc"
