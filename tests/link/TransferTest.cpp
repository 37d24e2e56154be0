#include "support/TestRegistry.h"
#include "LinkTestSupport.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

class TransferTest : public QObject, LinkFixture
{
    Q_OBJECT

private slots:
    void init()
    {
        freshLink();
        ReceiverConfig.NV8008.AcceptAllFips = true;
        showMain();
        QVERIFY(startReceiverOnPort1());
    }
    void cleanup() { stopLink(); }

    // The image as sent through the main window (two counties, two events: ReceiverLinkTest;
    // unticked entries: SelectionAreaTest).
    void imageOnTheWire_data()
    {
        QTest::addColumn<QStringList>("fips");
        QTest::addColumn<QStringList>("events");
        QTest::addColumn<QByteArray>("countyText");
        QTest::addColumn<QByteArray>("eventText");

        QTest::newRow("empty lists") << QStringList{} << QStringList{} << QByteArray() << QByteArray();
        QTest::newRow("gaps between slots")
            << QStringList{"", "", county("012011"), "", "", county("048201"), "", county("072001")}
            << QStringList{"", "TOR", "", "", "FFW", "", "RMT"}
            << QByteArray("012011-048201-072001-") << QByteArray("TOR-FFW-RMT-");
    }
    void imageOnTheWire()
    {
        QFETCH(QStringList, fips);
        QFETCH(QStringList, events);
        QFETCH(QByteArray, countyText);
        QFETCH(QByteArray, eventText);
        for (int i = 0; i < fips.size(); ++i)
            FipsList[i] = fips[i];
        for (int i = 0; i < events.size(); ++i)
            EventList[i] = events[i];

        main->cmdMain[6]->click();

        QCOMPARE(receiver->lastImage(), expectedImage(countyText, eventText));
        QCOMPARE(main->statusPanelText(1), QStringLiteral("Upload / Download Successful"));
        QCOMPARE(receiver->commandsReceived(), QByteArray("Z"));
        checkPortClosed();
    }

    void secondExchangeWithFewerEvents()
    {
        FipsList[0] = county("012011");
        EventList = {"TOR", "SVR", "FFW", "SVA", "TOA"};
        main->EstConnect();
        QCOMPARE(receiver->imagesReceived(), 1);

        EventList = {};
        EventList[0] = QStringLiteral("TOR");
        EventList[1] = QStringLiteral("SVR");
        main->EstConnect();
        QCOMPARE(receiver->imagesReceived(), 2);
        QCOMPARE(receiver->lastImage(), expectedImage("012011-", "TOR-SVR-"));
    }

    // Beyond the fault matrix: the device vanishing in the middle of the negotiation or of the
    // clock-second pause.
    void deviceGoneDuringTheExchange_data()
    {
        QTest::addColumn<bool>("inPause");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("status");
        QTest::newRow("while negotiating") << false << "Error #202:  Serial Connection Not Established"
                                           << "Port Connect Failed";
        QTest::newRow("before the image is written") << true << "" << "Upload Data Timeout";
    }
    void deviceGoneDuringTheExchange()
    {
        QFETCH(bool, inPause);
        QFETCH(QString, message);
        QFETCH(QString, status);
        if (inPause) {
            setPauseSleeper([this](int ms) {
                receiver->hangUpNow();
                doubles().wallClock = doubles().wallClock.addMSecs(ms);
            });
        } else {
            receiver->setFault(ReceiverSimulator::Fault::Silent);
            QTimer::singleShot(50, [this] { receiver->hangUpNow(); });
        }

        main->EstConnect();

        QCOMPARE(main->statusPanelText(1), status);
        QCOMPARE(doubles().messages.isEmpty() ? QString() : doubles().messages.last().text, message);
        QCOMPARE(main->prgXfer->isVisible(), inPause);
        QCOMPARE(ReceiverConfig.EDITOR.ReceiverVersion, QStringLiteral("1.00"));
        QVERIFY(!main->mnuSaveAs->isEnabled());
        checkPortClosed();
    }

    // The upload starts two seconds on, or at second 2 when that would pass 59; the clock
    // only moves through the pause, so where it stands afterwards is where the upload began.
    void pauseBeforeUpload_data()
    {
        QTest::addColumn<int>("startSecond");
        QTest::addColumn<int>("uploadSecond");
        QTest::newRow("0") << 0 << 2;
        QTest::newRow("30") << 30 << 32;
        QTest::newRow("57") << 57 << 59;
        QTest::newRow("58") << 58 << 2;
        QTest::newRow("59") << 59 << 2;
    }
    void pauseBeforeUpload()
    {
        QFETCH(int, startSecond);
        QFETCH(int, uploadSecond);
        QCOMPARE(uploadStartSecond(startSecond), uploadSecond);
        doubles().wallClock = QDateTime(QDate(2026, 6, 15), QTime(12, 0, startSecond, 400));
        QDateTime clockAtUpload;
        setPauseSleeper([&clockAtUpload](int ms) {
            doubles().wallClock = doubles().wallClock.addMSecs(ms);
            clockAtUpload = doubles().wallClock;
        });
        main->EstConnect();
        QCOMPARE(main->statusPanelText(1), QStringLiteral("Upload / Download Successful"));
        QCOMPARE(clockAtUpload.time().second(), uploadSecond);
        QCOMPARE(clockAtUpload.time().msec(), 0);
    }

    void pauseEndsWhenTheClockStandsStill()
    {
        int slept = 0;
        setPauseSleeper([&slept](int ms) { slept += ms; });
        main->EstConnect();
        QCOMPARE(main->statusPanelText(1), QStringLiteral("Upload / Download Successful"));
        QVERIFY(slept >= 4000 && slept <= 5000);
    }

    // Other commands stay usable while the transfer waits: the setup window opens and closes
    // in the middle of the wait, which then runs on to its end.
    void commandsRunDuringAWait()
    {
        receiver->setFault(ReceiverSimulator::Fault::NoImageAnswer);
        bool setupShown = false;
        QTimer::singleShot(100, [this, &setupShown] {
            QTimer::singleShot(50, [&setupShown] {
                if (auto *setup = QApplication::activeModalWidget()) {
                    setupShown = setup->windowTitle() == QLatin1String("Orvane Setup");
                    setup->findChild<QPushButton *>("cmdOk")->click();
                }
            });
            main->cmdMain[0]->click();
        });
        main->EstConnect();
        QVERIFY(setupShown);
        QCOMPARE(main->statusPanelText(1), QStringLiteral("Upload Data Timeout"));
        checkPortClosed();
    }

    // The port search in the middle of a transfer closes the port under it: the transfer
    // ends as for a time-out instead of waiting for a byte that can no longer come.
    void portClosedUnderAWait()
    {
        receiver->setFault(ReceiverSimulator::Fault::NoImageAnswer);
        setLinkTimeScale(100); // no time-out would end this wait
        // Armed from the clock-second pause, which comes after the negotiation: the close
        // lands in the wait for the image's answer however slow the machine is.
        setPauseSleeper([armed = false](int ms) mutable {
            doubles().wallClock = doubles().wallClock.addMSecs(ms);
            if (!std::exchange(armed, true))
                QTimer::singleShot(100, [] { closeLink(); });
        });
        main->EstConnect();
        QCOMPARE(main->statusPanelText(1), QStringLiteral("Upload Data Timeout"));
        checkPortClosed();
    }
};

ORVANE_TEST(TransferTest)
#include "TransferTest.moc"
