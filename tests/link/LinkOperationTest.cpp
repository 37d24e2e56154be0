// One operation that talks to the receiver at a time: a transfer or a port search started
// while another one waits is refused with a beep, and the one running goes on undisturbed.

#include "support/TestRegistry.h"
#include "LinkTestSupport.h"

#include "link/frmCommPort.h"
#include "link/Transfer.h"

#include <QPushButton>
#include <QThread>
#include <QTimer>

class LinkOperationTest : public QObject, LinkFixture
{
    Q_OBJECT

    // Runs `second` from the event loop once the transfer has reached the wait named by
    // `stage`: a queued call runs at the first pass of that wait's loop.
    void whileTransferWaits(const QString &stage, std::function<void()> second, bool &ran)
    {
        // Once only: without the guard the second exchange would pass the same point again.
        auto runSecond = [second, &ran, armed = std::make_shared<bool>(true)] {
            if (!std::exchange(*armed, false))
                return;
            QTimer::singleShot(0, [second, &ran] {
                second();
                ran = true;
            });
        };
        if (stage == QLatin1String("download")) {
            connect(link.get(), &ReceiverLink::progressMaximumChanged, this, [runSecond](int maximum) {
                if (maximum == 1297)
                    runSecond();
            });
        } else {
            const QString text = stage == QLatin1String("negotiation") ? QStringLiteral("Negotiating Port # 1")
                                                                       : QStringLiteral("Preparing For Download...");
            connect(link.get(), &ReceiverLink::statusTextChanged, this, [runSecond, text](int, const QString &t) {
                if (t == text)
                    runSecond();
            });
        }
    }

private slots:
    void init()
    {
        freshLink();
        showMain();
        QVERIFY(startReceiverOnPort1());
        receiver->setRomVersion("210");
    }
    void cleanup() { stopLink(); }

    // The claim itself: one holder at a time, a refusal beeps, the claim ends with its scope.
    void claimAndRelease()
    {
        QVERIFY(!link->operationRunning());
        {
            const LinkOperation first(*link);
            QVERIFY(first.claimed());
            QVERIFY(link->operationRunning());
            const LinkOperation second(*link);
            QVERIFY(!second.claimed());
            QCOMPARE(doubles().beeps, 1);
            QVERIFY(link->operationRunning()); // the refused one takes nothing away
        }
        QVERIFY(!link->operationRunning());
        const LinkOperation again(*link);
        QVERIFY(again.claimed());
        QCOMPARE(doubles().beeps, 1);
    }

    // "Transfer Data Between PC and Orvane" or "Serial Port Test" pressed in each wait of a
    // running transfer.
    void secondOperationDuringATransfer_data()
    {
        QTest::addColumn<QString>("stage");
        QTest::addColumn<bool>("search");
        for (const char *stage : {"negotiation", "image answer", "download"}) {
            QTest::newRow(qPrintable(QStringLiteral("transfer in %1").arg(stage))) << QString(stage) << false;
            QTest::newRow(qPrintable(QStringLiteral("port search in %1").arg(stage))) << QString(stage) << true;
        }
    }
    void secondOperationDuringATransfer()
    {
        QFETCH(QString, stage);
        QFETCH(bool, search);
        bool ran = false;
        std::unique_ptr<frmCommPort> setup;
        whileTransferWaits(
            stage,
            [this, search, &setup] {
                if (search) {
                    setup = std::make_unique<frmCommPort>(main.get());
                    setup->cmdTest->click();
                } else {
                    main->cmdMain[6]->click();
                }
            },
            ran);

        main->cmdMain[6]->click();

        QVERIFY(ran);
        QCOMPARE(doubles().beeps, 1);
        QVERIFY(doubles().messages.isEmpty()); // neither an error nor the search's answer
        QCOMPARE(receiver->commandsReceived(), QByteArray("Z"));
        QCOMPARE(receiver->imagesReceived(), 1);
        QCOMPARE(main->statusPanelText(1), QStringLiteral("Upload / Download Successful"));
        QCOMPARE(main->statusPanelText(2), QStringLiteral("Orvane ROM Version = 2.10"));
        QVERIFY(main->mnuSaveAs->isEnabled());
        checkPortClosed();
        QVERIFY(!link->operationRunning());
    }

    // A transfer pressed while the port search waits for its answer: refused, and the search
    // finds the receiver.
    void transferDuringAPortSearch()
    {
        bool ran = false;
        setSearchPauseSleeper([this, &ran](int ms) {
            QTimer::singleShot(0, [this, &ran] {
                main->cmdMain[6]->click();
                ran = true;
            });
            QThread::msleep(ms);
        });
        frmCommPort setup(main.get());
        doubles().answerNext(QMessageBox::No);

        setup.cmdTest->click();

        QVERIFY(ran);
        QCOMPARE(doubles().beeps, 1);
        QCOMPARE(doubles().messages.size(), 1);
        QCOMPARE(doubles().messages[0].text, QStringLiteral("Serial port 1 found. Set port number?"));
        QCOMPARE(receiver->commandsReceived(), QByteArray("T"));
        QCOMPARE(receiver->imagesReceived(), 0);
        checkPortClosed();
        QVERIFY(!link->operationRunning());
    }

    // The transfer without a window is guarded the same way.
    void exchangeRefusedWhileTheLinkIsHeld()
    {
        const LinkOperation other(*link);
        bool started = false, checked = false;
        QVERIFY(!runTransferExchange(*link, [&checked] { checked = true; }, [&started] { started = true; }));
        QVERIFY(!started);
        QVERIFY(!checked);
        QCOMPARE(doubles().beeps, 1);
        QCOMPARE(receiver->commandsReceived(), QByteArray());
    }
};

ORVANE_TEST(LinkOperationTest)
#include "LinkOperationTest.moc"
