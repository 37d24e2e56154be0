#include "config/ConfigTestSupport.h"
#include "support/TestRegistry.h"

#include "app/frmMain.h"
#include "config/ParameterFile.h"
#include "config/SettingsStore.h"

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

    // A run as after start-up: settings loaded and saved once, the window shown.
    void startWithStoredSettings()
    {
        loadSettings();
        ReceiverConfig.EDITOR.UserStationID = QStringLiteral("STORED");
        saveSettings();
        main = std::make_unique<frmMain>();
        main->show();
    }

private slots:
    void init() { freshState(); }
    void cleanup() { main.reset(); }

    void layoutAsLoaded()
    {
        main = std::make_unique<frmMain>();
        QCOMPARE(main->windowTitle(), QStringLiteral("Orvane Digital Weather Receiver"));
        const QStringList captions = {"Orvane Setup", "Select FIP Codes", "Select Event Codes", "Options",
                                      "Timers", "Identification", "Transfer Data Between PC and Orvane",
                                      "Download Orvane Programmed Parameters", "Print History Report",
                                      "Display Help", "Exit"};
        for (int k = 0; k < 11; ++k) {
            auto *button = main->findChild<QPushButton *>(QStringLiteral("cmdMain_%1").arg(k));
            QVERIFY(button);
            QCOMPARE(button->text(), captions[k]);
            QVERIFY(!button->icon().isNull());
            QCOMPARE(button->isEnabled(), frmMain::commandAvailable(k));
        }
        QVERIFY(!main->findChild<QAction *>("mnuSaveAs")->isEnabled());
        QVERIFY(!main->mnuView->menuAction()->isEnabled());
        QVERIFY(main->findChild<QAction *>("mnuExit")->isEnabled());
        QVERIFY(main->findChild<QAction *>("mnuExitNoSave")->isEnabled());
        QCOMPARE(main->mnuHistory[1]->text(), QStringLiteral("View History Group    1 - 20"));
        QCOMPARE(main->mnuHistory[2]->text(), QStringLiteral("View History Group  21 - 40"));
        QVERIFY(main->prgXfer->isHidden());
        for (int r = 0; r < 20; ++r) {
            QCOMPARE(main->findChild<QLabel *>(QStringLiteral("lblDate_%1").arg(r))->text(), QString());
            QCOMPARE(main->findChild<QLabel *>(QStringLiteral("lblNum_%1").arg(r))->text(), QString());
        }
        for (int n = 1; n <= 12; ++n)
            QVERIFY(!frmMain::ImageList1(n).isNull());
    }

    void helpMenuOrder()
    {
        main = std::make_unique<frmMain>();
        QStringList items;
        for (QAction *a : main->mnuHelp->actions())
            items << (a->isSeparator() ? a->objectName() : a->text());
        QCOMPARE(items, QStringList({"&Help Contents", "&Search For Help On...", "mnuSep1", "&Brennick on the Web",
                                     "mnuSep2", "Show Tip at startup", "mnuSep4", "&Play Test Packets...",
                                     "mnuSep3", "&About"}));
    }

    // The ways out. "Exit" asks with Yes, No and Cancel; "Exit without saving" does not save;
    // the "Exit" button and the close box save without asking. Saving writes the settings and
    // the lists as they are now; a way that does not save (or a run that goes on) leaves both
    // files byte for byte as they were.
    void exitPaths_data()
    {
        QTest::addColumn<int>("way");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("ends");
        QTest::addColumn<bool>("saves");
        QTest::newRow("Exit, Yes") << int(ExitMenu) << int(QMessageBox::Yes) << true << true;
        QTest::newRow("Exit, No") << int(ExitMenu) << int(QMessageBox::No) << true << false;
        QTest::newRow("Exit, Cancel stays") << int(ExitMenu) << int(QMessageBox::Cancel) << false << false;
        QTest::newRow("Exit without saving") << int(ExitNoSaveMenu) << 0 << true << false;
        QTest::newRow("Exit button") << int(ExitButton) << 0 << true << true;
        QTest::newRow("close box") << int(CloseBox) << 0 << true << true;
    }
    void exitPaths()
    {
        QFETCH(int, way);
        QFETCH(int, answer);
        QFETCH(bool, ends);
        QFETCH(bool, saves);
        loadDefaultLists();
        QVERIFY(writeParameterFile());
        const QByteArray listsBefore = fileBytes(kParameterFileName);
        startWithStoredSettings();
        const QByteArray before = fileBytes(settingsFilePath());
        QVERIFY(!before.isEmpty());
        ReceiverConfig.EDITOR.UserStationID = QStringLiteral("CHANGED");
        FipsList[1] = QStringLiteral("  012085  Martin                 Florida");
        EventList[20] = QStringLiteral("EWW");
        const QByteArray listsEdited = parameterFileContent();
        switch (way) {
        case ExitMenu:
            doubles().answerNext(QMessageBox::StandardButton(answer));
            main->mnuExit->trigger();
            break;
        case ExitNoSaveMenu: main->mnuExitNoSave->trigger(); break;
        case ExitButton: QTest::mouseClick(main->cmdMain[10], Qt::LeftButton); break;
        case CloseBox: main->close(); break;
        }
        QCOMPARE(shownBoxes(), way == ExitMenu ? QStringList{box(" Do you want to save any changes? ", QMessageBox::Question,
                                                                QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel)}
                                               : QStringList());
        QCOMPARE(doubles().programEnds > 0, ends);
        if (way == ExitButton || way == CloseBox)
            QCOMPARE(doubles().programEnds, 1);
        else
            QCOMPARE(main->ExitInProgress, ends);
        QCOMPARE(main->isVisible(), !ends);
        QCOMPARE(fileBytes(settingsFilePath()).contains("UserStationID=CHANGED"), saves);
        if (!saves)
            QCOMPARE(fileBytes(settingsFilePath()), before);
        QCOMPARE(fileBytes(kParameterFileName), saves ? listsEdited : listsBefore);
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
        QVERIFY(QTest::qWaitForWindowActive(&other));
        QVERIFY(!main->isActiveWindow());
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
            const QImage shown =
                main->cmdMain[k]->icon().pixmap(wanted.size()).toImage().convertToFormat(QImage::Format_ARGB32);
            QVERIFY2(shown == wanted, qPrintable(main->cmdMain[k]->text()));
        }
    }

    void creditPanel()
    {
        main = std::make_unique<frmMain>();
        main->show();
        QVERIFY(QTest::qWaitForWindowExposed(main.get()));
        QLabel *right = main->findChild<QLabel *>("StatusBar1_Right");
        QVERIFY(right);

        QTest::mouseClick(right, Qt::LeftButton); // not armed, empty panel: nothing
        QCOMPARE(right->text(), QString());
        QCOMPARE(doubles().beeps, 0);

        QTest::keyClick(main.get(), Qt::Key_F8);
        QVERIFY(main->CreditArmed);
        QTest::mouseClick(right, Qt::LeftButton);
        QCOMPARE(right->text(), frmMain::kCreditText);
        QCOMPARE(doubles().beeps, 1);
        QVERIFY(!main->CreditArmed);

        QTest::mouseClick(right, Qt::LeftButton); // second click clears it
        QCOMPARE(right->text(), QString());

        main->setStatusPanelText(2, QStringLiteral("1.03")); // a ROM version is not cleared by a click
        QTest::mouseClick(right, Qt::LeftButton);
        QCOMPARE(right->text(), QStringLiteral("1.03"));
    }

    // F8 arms the credit text whatever is held with it, wherever the focus is in the window.
    void creditArmedWithAnyShiftState_data()
    {
        QTest::addColumn<int>("modifiers");
        QTest::newRow("F8") << int(Qt::NoModifier);
        QTest::newRow("Shift+F8") << int(Qt::ShiftModifier);
        QTest::newRow("Ctrl+F8") << int(Qt::ControlModifier);
        QTest::newRow("Alt+F8") << int(Qt::AltModifier);
        QTest::newRow("Shift+Ctrl+Alt+F8") << int(Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    }
    void creditArmedWithAnyShiftState()
    {
        QFETCH(int, modifiers);
        main = std::make_unique<frmMain>();
        main->show();
        QVERIFY(QTest::qWaitForWindowExposed(main.get()));
        main->cmdMain[0]->setFocus();
        QTest::keyClick(main->cmdMain[0], Qt::Key_F7, Qt::KeyboardModifiers(modifiers));
        QVERIFY(!main->CreditArmed); // another key does nothing
        QTest::keyClick(main->cmdMain[0], Qt::Key_F8, Qt::KeyboardModifiers(modifiers));
        QVERIFY(main->CreditArmed);
        QTest::mouseClick(main->findChild<QLabel *>("StatusBar1_Right"), Qt::LeftButton);
        QCOMPARE(main->statusPanelText(2), frmMain::kCreditText);
        QCOMPARE(doubles().beeps, 1);
    }
};

ORVANE_TEST(MainWindowTest)
#include "MainWindowTest.moc"
