// A whole transfer against the receiver simulator fills the history grid: the decoded
// alerts with their colours, the empty rows numbered, both groups, and what a later failed
// transfer leaves behind.

#include "support/Doubles.h"
#include "support/HistoryRecords.h"
#include "support/ReceiverSimulator.h"
#include "support/TestRegistry.h"

#include "app/frmMain.h"
#include "config/ReceiverConfig.h"
#include "link/HistoryDecoding.h"
#include "link/LinkTestSupport.h"
#include "link/PortCtl.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <memory>

namespace {

QColor classColour(int alertClass)
{
    return alertClass == 1 ? QColor(255, 0, 0) : alertClass == 2 ? QColor(0, 0, 255) : QColor(0, 0, 0);
}

} // namespace

class HistoryTransferTest : public QObject
{
    Q_OBJECT
    std::unique_ptr<frmMain> main;
    std::unique_ptr<ReceiverSimulator> receiver;
    QList<SampleHistoryRow> sample;

    void checkFirstGroup()
    {
        for (int r = 0; r < 20; ++r) {
            QCOMPARE(main->lblNum[r]->text(), QString::number(r + 1));
            if (r < sample.size()) {
                const SampleHistoryRow &row = sample[r];
                QCOMPARE(main->lblDate[r]->text(), row.date);
                QCOMPARE(main->lblTime[r]->text(), row.time);
                QCOMPARE(main->lblLength[r]->text(), row.length);
                QCOMPARE(main->lblOrg[r]->text(), row.org);
                QCOMPARE(main->lblEvent[r]->text(), row.event);
                QCOMPARE(main->lblEvent[r]->palette().color(QPalette::WindowText), classColour(row.alertClass));
            } else {
                for (QLabel *cell : {main->lblDate[r], main->lblTime[r], main->lblLength[r], main->lblOrg[r],
                                     main->lblEvent[r]})
                    QCOMPARE(cell->text(), QString());
            }
        }
    }

private slots:
    void init()
    {
        freshHome();
        clearReceiverConfig();
        doubles().clear();
        doubles().wallClock = QDateTime(QDate(2026, 8, 1), QTime(9, 0, 0));
        installFastLink();
        ReceiverConfig.EDITOR.SerialPort = 1;
        ReceiverConfig.EDITOR.TimeZoneOffset = -5;
        ReceiverConfig.EDITOR.DaylightSavings = false;
        FipsList[0] = QStringLiteral("X 012011  Broward                Florida");
        EventList[0] = QStringLiteral("TOR");
        sample = sampleSevenAlerts();

        receiver = std::make_unique<ReceiverSimulator>();
        receiver->setHistoryRecords(historyArea(recordsOf(sample)));
        receiver->setRomVersion("107");
        QVERIFY(receiver->start());
        setPortDevice(1, receiver->devicePath());
        main = std::make_unique<frmMain>();
        main->show();
    }
    void cleanup()
    {
        main.reset();
        receiver.reset();
        restoreLink();
    }

    void transferFillsTheGrid()
    {
        QVERIFY(!main->mnuView->menuAction()->isEnabled());
        main->cmdMain[6]->click();
        QCOMPARE(main->statusPanelText(1), QStringLiteral("Upload / Download Successful"));
        QCOMPARE(ReceiverConfig.EDITOR.ReceiverVersion, QStringLiteral("1.07"));
        QVERIFY(main->mnuView->menuAction()->isEnabled());
        QVERIFY(main->mnuSaveAs->isEnabled());
        QVERIFY(main->mnuHistory[1]->isChecked());
        QVERIFY(!main->mnuHistory[2]->isChecked());
        QCOMPARE(main->prgXfer->value(), 0);
        checkFirstGroup();

        main->mnuHistory[2]->trigger();
        QVERIFY(main->mnuHistory[2]->isChecked() && !main->mnuHistory[1]->isChecked());
        for (int r = 0; r < 20; ++r) {
            QCOMPARE(main->lblNum[r]->text(), QString::number(r + 21));
            QCOMPARE(main->lblDate[r]->text(), QString());
            QCOMPARE(main->lblEvent[r]->text(), QString());
            QCOMPARE(main->lblEvent[r]->palette().color(QPalette::WindowText), QColor(0, 0, 0));
        }

        main->mnuHistory[1]->trigger();
        checkFirstGroup();
    }

    void failedTransferKeepsTheHistoryButClearsTheGrid()
    {
        main->cmdMain[6]->click();
        QCOMPARE(main->statusPanelText(1), QStringLiteral("Upload / Download Successful"));
        const QString firstEvent = HistoryTable[0].Event;
        QVERIFY(!firstEvent.isEmpty());

        receiver->setFault(ReceiverSimulator::Fault::BadDownloadChecksum);
        main->cmdMain[6]->click();
        QVERIFY(main->statusPanelText(1) != QStringLiteral("Upload / Download Successful"));
        QVERIFY(!main->mnuView->menuAction()->isEnabled());
        QVERIFY(!main->mnuSaveAs->isEnabled());
        for (int r = 0; r < 20; ++r) {
            QCOMPARE(main->lblNum[r]->text(), QString::number(r + 1)); // the numbers stay
            QCOMPARE(main->lblDate[r]->text(), QString());
            QCOMPARE(main->lblEvent[r]->text(), QString());
        }
        QCOMPARE(HistoryTable[0].Event, firstEvent);
        QVERIFY(!main->Port1->isOpen());
    }
};

ORVANE_TEST(HistoryTransferTest)
#include "HistoryTransferTest.moc"
