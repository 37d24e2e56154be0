#include "selection/SelectionTestSupport.h"
#include "support/TestRegistry.h"

#include "app/Startup.h"
#include "config/ReceiverConfig.h"
#include "selection/StateDatabase.h"
#include "selection/frmEnterFIP.h"
#include "selection/frmFIPS.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>

// The state / transmitter window on the committed state files.
class StateWindowTest : public QObject
{
    Q_OBJECT
    frmEnterFIP *window = nullptr;

    void chooseTransmitter(const QString &key)
    {
        const auto found = window->lstCounty->findItems(key, Qt::MatchExactly);
        QCOMPARE(found.size(), 1);
        window->lstCounty->setCurrentItem(found.first(), QItemSelectionModel::ClearAndSelect);
    }

    // A choice from the box's list, as the owner makes it.
    void chooseState(int index)
    {
        window->cmbState->setCurrentIndex(index);
        emit window->cmbState->activated(index);
    }

private slots:
    void init()
    {
        clearReceiverConfig();
        doubles().clear();
        setStatesDirectory(committedStatesDir());
        ReceiverConfig.EDITOR.StateID = 8;
        ReceiverConfig.EDITOR.TransmitterLocation = QStringLiteral(" West Palm Beach, FL     162.475");
        window = frmEnterFIP::instance();
        initStateSelection();
    }
    void cleanupTestCase()
    {
        window->hide();
        frmFIPS::instance()->hide();
        setStatesDirectory(QString());
    }

    void startUpShowsTheSavedChoice()
    {
        QCOMPARE(window->windowTitle(), QStringLiteral("Orvane State / Transmitter Entry"));
        QCOMPARE(window->cmbState->count(), 54);
        QCOMPARE(window->cmbState->currentText(), QStringLiteral("Florida"));
        QCOMPARE(window->cmbState->itemData(53).toInt(), 53);
        QCOMPARE(window->cmbLimit->count(), 8);
        QCOMPARE(window->cmbLimit->currentText(), QStringLiteral("All"));
        QCOMPARE(frmFIPS::instance()->lblState->text(), QStringLiteral("Florida"));
        QCOMPARE(frmFIPS::instance()->lblTransmitter->text(), ReceiverConfig.EDITOR.TransmitterLocation);
        QVERIFY(window->lstCounty->selectedItems().isEmpty());
        QVERIFY(doubles().messages.isEmpty());
        QCOMPARE(window->lslInfo[2]->text(),
                 QStringLiteral("3.  Within the list box, highlite by clicking on the city were the weather "
                                "transmitter is located."));
        const QStringList keys = itemTexts(window->lstCounty);
        QVERIFY(keys.contains(" West Palm Beach, FL     162.475"));
        QVERIFY(keys.contains(" Pensacola, FL           162.400"));
        QStringList sorted = keys;
        sorted.sort(Qt::CaseInsensitive);
        QCOMPARE(keys, sorted);
        QCOMPARE(keys.size(), QSet<QString>(keys.begin(), keys.end()).size());
        // Alabama's Mobile transmitter covers Florida's Escambia county too.
        QVERIFY(std::all_of(keys.begin(), keys.end(), [](const QString &k) { return k.size() == 32; }));
    }

    void frequencyFilter()
    {
        const int all = window->lstCounty->count();
        window->cmbLimit_Click(4);
        QCOMPARE(ReceiverConfig.EDITOR.FrequencyListingFilter, qint16(4));
        const QStringList keys = itemTexts(window->lstCounty);
        QVERIFY(!keys.isEmpty());
        QVERIFY(keys.size() < all);
        for (const QString &key : keys)
            QVERIFY2(key.endsWith(QStringLiteral("162.475")), qPrintable(key));
        window->cmbLimit_Click(0);
        QCOMPARE(window->lstCounty->count(), all);
    }

    void westPalmBeachBringsItsFourCounties()
    {
        FipsList[0] = QStringLiteral("X 012011  Broward                Florida");
        window->show();
        window->cmbLimit_Click(4);
        chooseTransmitter(" West Palm Beach, FL     162.475");
        window->cmdOk->click();
        QVERIFY(!window->isVisible());
        QCOMPARE(itemTexts(frmFIPS::instance()->lstFips),
                 QStringList({"012011  Broward                Florida", "012085  Martin                 Florida",
                              "012099  Palm Beach             Florida", "012111  St. Lucie              Florida"}));
        QCOMPARE(frmFIPS::instance()->tickedCount(), 0);
        QCOMPARE(ReceiverConfig.EDITOR.TransmitterLocation, QStringLiteral(" West Palm Beach, FL     162.475"));
        QCOMPARE(frmFIPS::instance()->lblTransmitter->text(), ReceiverConfig.EDITOR.TransmitterLocation);
        QVERIFY(FipsList[0].isEmpty()); // until the FIPS window stores its list
        QCOMPARE(doubles().beeps, 0);
    }

    // A double-click anywhere in the transmitter list confirms as OK does: on a line it takes
    // that transmitter; on the empty part below the lines, or in an empty list, nothing is
    // highlighted, so it beeps, shows error 3 and the window stays, as OK without a choice does.
    void doubleClickAnywhereInTheList_data()
    {
        QTest::addColumn<QString>("where");
        QTest::newRow("on a line") << "line";
        QTest::newRow("below the lines") << "below";
        QTest::newRow("in an empty list") << "empty";
        QTest::newRow("OK, nothing highlighted") << "ok";
    }
    void doubleClickAnywhereInTheList()
    {
        QFETCH(QString, where);
        chooseState(50); // Guam: one transmitter, the rest of the list is empty
        QCOMPARE(window->lstCounty->count(), 1);
        if (where == QLatin1String("empty"))
            window->lstCounty->clear();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QWidget *viewport = window->lstCounty->viewport();
        const QPoint at = where == QLatin1String("line")
                              ? window->lstCounty->visualItemRect(window->lstCounty->item(0)).center()
                              : QPoint(10, viewport->height() - 5);
        QCOMPARE(window->lstCounty->indexAt(at).isValid(), where == QLatin1String("line"));
        if (where == QLatin1String("ok")) {
            window->cmdOk->click();
        } else { // as a real double-click comes: a click, then the second press as a double-click
            QTest::mouseClick(viewport, Qt::LeftButton, Qt::NoModifier, at);
            QTest::mouseDClick(viewport, Qt::LeftButton, Qt::NoModifier, at);
        }
        if (where == QLatin1String("line")) {
            QVERIFY(!window->isVisible());
            QCOMPARE(doubles().beeps, 0);
            QCOMPARE(ReceiverConfig.EDITOR.TransmitterLocation, QStringLiteral(" Guam, GU                162.400"));
            QCOMPARE(itemTexts(frmFIPS::instance()->lstFips),
                     QStringList({"066010  Guam                   Guam", "069100  Rota                   Mariana Islands"}));
        } else {
            QVERIFY(window->isVisible());
            QCOMPARE(doubles().beeps, 1);
            QCOMPARE(shownBoxes(), QStringList{box(" Error, No Transmitter Location Selected. ")});
            window->cmdCancel->click();
            QVERIFY(!window->isVisible());
        }
    }

    // A state choice empties FipsList at once and rebuilds the list; Cancel keeps it so,
    // while the FIPS window still shows its counties.
    void stateChoiceThenCancel()
    {
        FipsList[0] = QStringLiteral("X 012011  Broward                Florida");
        fillFipsListBox();
        window->show();
        chooseState(42);
        QCOMPARE(ReceiverConfig.EDITOR.StateID, qint16(42));
        QVERIFY(itemTexts(window->lstCounty).contains(" San Antonio, TX         162.550"));
        window->cmdCancel->click();
        QVERIFY(!window->isVisible());
        QVERIFY(FipsList[0].isEmpty());
        QCOMPARE(frmFIPS::instance()->lstFips->count(), 1);
        QCOMPARE(window->cmbState->currentText(), QStringLiteral("Texas"));
    }

    void keysInTheBoxesAreRefused()
    {
        for (QComboBox *box : {window->cmbState, window->cmbLimit}) {
            const int before = box->currentIndex();
            QTest::keyClick(box, Qt::Key_Down);
            QTest::keyClick(box, Qt::Key_A);
            QTest::keyClick(box, Qt::Key_End);
            QCOMPARE(box->currentIndex(), before);
        }
        QCOMPARE(doubles().beeps, 6);
        QCOMPARE(ReceiverConfig.EDITOR.StateID, qint16(8));
    }

    void missingStateFile()
    {
        QTemporaryDir empty;
        setStatesDirectory(empty.path());
        QVERIFY(!window->buildTransmitterList(8));
        QCOMPARE(window->lstCounty->count(), 0);
        QCOMPARE(shownBoxes(), QStringList{box("Error, State File  Fl_109.st  is missing", QMessageBox::NoIcon)});

        setStatesDirectory(committedStatesDir());
        QVERIFY(!window->buildTransmitterList(54));
        QCOMPARE(shownBoxes(), QStringList({box("Error, State File  Fl_109.st  is missing", QMessageBox::NoIcon),
                                            box("Error, State File    is missing", QMessageBox::NoIcon)}));
    }

    // Pensacola brings Alabama's counties first. A scan that meets a missing file (here the
    // one after Florida's) beeps and keeps what it found before it.
    void transmitterScanStopsAtAMissingFile()
    {
        QTemporaryDir partial;
        for (int s = 0; s <= 8; ++s)
            QFile::copy(committedStatesDir() + u'/' + stateFileName(s),
                        partial.filePath(stateFileName(s)));
        setStatesDirectory(partial.path());
        chooseState(8);
        chooseTransmitter(" Pensacola, FL           162.400");
        QVERIFY(window->StoreFips());
        QCOMPARE(itemTexts(frmFIPS::instance()->lstFips),
                 QStringList({"001003  Baldwin                Alabama", "001053  Escambia               Alabama",
                              "012033  Escambia               Florida", "012091  Okaloosa               Florida",
                              "012113  Santa Rosa             Florida"}));
        QCOMPARE(doubles().beeps, 1);
        QVERIFY(doubles().messages.isEmpty());
    }

    // Start-up without a parameter file, defaults accepted: the FIPS window shows the
    // default counties.
    void startupStepsFillBothWindows()
    {
        frmFIPS::instance()->lstFips->clear();
        for (const StartupStep &step : startupLoadingSteps())
            if (step.name != QLatin1String("notePcDaylightState"))
                runStartupStep(step);
        QCOMPARE(frmFIPS::instance()->lstFips->count(), 4);
        QCOMPARE(frmFIPS::instance()->tickedCount(), 4);
        QCOMPARE(window->cmbState->currentText(), QStringLiteral("Florida"));
    }
};

ORVANE_TEST(StateWindowTest)
#include "StateWindowTest.moc"
