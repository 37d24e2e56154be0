// The receiver link on its own: a whole transfer against the simulated receiver with no
// window at all, seen only through the link's signals.

#include "support/TestRegistry.h"
#include "LinkTestSupport.h"

#include "link/Transfer.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>

namespace {

// Everything the link reports, in order.
struct LinkRecorder {
    QStringList panel1, panel2;
    QList<int> maxima;
    QList<bool> shown;
    QList<QList<int>> values; // the progress values after each new maximum

    explicit LinkRecorder(ReceiverLink &link)
    {
        QObject::connect(&link, &ReceiverLink::statusTextChanged, [this](int panel, const QString &text) {
            (panel == 1 ? panel1 : panel2) << text;
        });
        QObject::connect(&link, &ReceiverLink::progressMaximumChanged, [this](int maximum) {
            maxima << maximum;
            values << QList<int>();
        });
        QObject::connect(&link, &ReceiverLink::progressValueChanged, [this](int value) {
            if (!values.isEmpty())
                values.last() << value;
        });
        QObject::connect(&link, &ReceiverLink::progressVisibleChanged, [this](bool visible) { shown << visible; });
    }
};

QList<int> counting(int from, int to) // from..to
{
    QList<int> list;
    for (int i = from; i <= to; ++i)
        list << i;
    return list;
}

} // namespace

class ReceiverLinkTest : public QObject, LinkFixture
{
    Q_OBJECT

private slots:
    void init()
    {
        freshLink();
        QVERIFY(startReceiverOnPort1());
    }
    void cleanup() { stopLink(); }

    void isTheProgramsLink() { QCOMPARE(&ReceiverLink::instance(), link.get()); }

    // The bytes on the wire both ways, every status text and every progress step of a
    // successful exchange, with no window in the process.
    void wholeTransferWithoutAWindow()
    {
        FipsList[0] = county("012011");
        FipsList[3] = county("012085");
        EventList[0] = QStringLiteral("TOR");
        EventList[1] = QStringLiteral("SVR");
        receiver->setRomVersion("210");
        LinkRecorder recorder(*link);
        int shownWhenChecked = 0;

        QVERIFY(runTransferExchange(*link, [&] { shownWhenChecked = recorder.panel1.size(); }));

        QVERIFY(QApplication::topLevelWidgets().isEmpty());
        QCOMPARE(receiver->commandsReceived(), QByteArray("Z"));
        QCOMPARE(receiver->lastImage(), expectedImage("012011-012085-", "TOR-SVR-"));
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(link->DownloadBuffer.data()), 1284),
                 ReceiverSimulator::downloadFor(ReceiverSimulator::defaultHistory(), "210"));
        QCOMPARE(recorder.panel1, QStringList({"Negotiating Port # 1", "Port Connect Successful...Preparing For Upload",
                                               "Preparing For Upload...", "Preparing For Download...",
                                               "Downloading Data", "Upload / Download Successful"}));
        QCOMPARE(shownWhenChecked, 6); // the caller's part runs after the last text
        QVERIFY(recorder.panel2.isEmpty());
        QCOMPARE(recorder.maxima, QList<int>({607, 1297}));
        QCOMPARE(recorder.values[0], QList<int>({0}) + counting(0, 606));
        QCOMPARE(recorder.values[1], counting(0, 1284));
        QCOMPARE(recorder.shown, QList<bool>({true, false}));
        QVERIFY(doubles().messages.isEmpty());
        QVERIFY(!link->tmrTimeOut->isActive());
        checkPortClosed();
    }

    // The time-out timer of the link: precise, and every tick only sets the flag.
    void timeOutTimer()
    {
        QCOMPARE(link->tmrTimeOut->objectName(), QStringLiteral("tmrTimeOut"));
        QCOMPARE(link->Port1->objectName(), QStringLiteral("Port1"));
        QCOMPARE(link->tmrTimeOut->timerType(), Qt::PreciseTimer);
        link->TransferTimedOut = false;
        link->startLinkTimeout(5000);
        QCOMPARE(link->tmrTimeOut->interval(), int(5000 * kTestTimeScale));
        QTRY_VERIFY(link->TransferTimedOut);
        QVERIFY(link->tmrTimeOut->isActive()); // it keeps firing until a step stops it
        link->tmrTimeOut->stop();
    }
};

ORVANE_TEST(ReceiverLinkTest)
#include "ReceiverLinkTest.moc"
