// The history grid: the decoded alerts in two groups of twenty rows, the event coloured by
// its class, after a whole transfer against the receiver simulator and from a download
// put straight into the buffer.

#include "history/HistoryTestSupport.h"
#include "support/TestRegistry.h"
#include "link/LinkTestSupport.h"

#include "config/DaylightState.h"
#include "history/HistoryGrid.h"
#include "history/HistoryView.h"
#include "link/HistoryDecoding.h"
#include "selection/EventTable.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>

namespace {

const QColor kBlack(0, 0, 0), kRed(255, 0, 0), kBlue(0, 0, 255);

QLabel *cell(frmMain &main, const char *column, int row)
{
    return main.findChild<QLabel *>(QStringLiteral("%1_%2").arg(QLatin1String(column)).arg(row));
}

QColor textColour(QLabel *label) { return label->palette().color(QPalette::WindowText); }

// The five data cells of a row, joined, so an empty row is one empty text.
QString rowData(frmMain &main, int row)
{
    QStringList texts;
    for (const char *column : {"lblDate", "lblTime", "lblLength", "lblOrg", "lblEvent"})
        texts << cell(main, column, row)->text();
    return texts.join(u'|');
}

const QString kEmptyRow = QStringLiteral("||||");

// The grid shows `rows` from the top, numbered from `firstNumber`; the rows below are
// empty with a black event cell.
void checkGrid(frmMain &main, const QList<SampleHistoryRow> &rows, int firstNumber)
{
    for (int r = 0; r < frmMain::kHistoryRows; ++r) {
        QCOMPARE(cell(main, "lblNum", r)->text(), QString::number(firstNumber + r));
        QLabel *event = cell(main, "lblEvent", r);
        if (r >= rows.size()) {
            QCOMPARE(rowData(main, r), kEmptyRow);
            QCOMPARE(textColour(event), kBlack);
            continue;
        }
        const SampleHistoryRow &row = rows[r];
        QCOMPARE(rowData(main, r), QStringList({row.date, row.time, row.length, row.org, row.event}).join(u'|'));
        QCOMPARE(textColour(event), row.alertClass == 1 ? kRed : row.alertClass == 2 ? kBlue : kBlack);
        // Only the event column is coloured.
        QCOMPARE(textColour(cell(main, "lblDate", r)), textColour(cell(main, "lblNum", r)));
    }
}

void checkGroupMark(frmMain &main, int checked)
{
    QCOMPARE(main.mnuHistory[1]->isChecked(), checked == 1);
    QCOMPARE(main.mnuHistory[2]->isChecked(), checked == 2);
}

} // namespace

class HistoryViewTest : public QObject, LinkFixture
{
    Q_OBJECT

    void presentDownload(const QList<QByteArray> &records) { ::presentDownload(*main, records); }

    // A whole transfer from a receiver on port 1 that holds the sample history.
    void transferSample()
    {
        QVERIFY(startReceiver(1));
        receiver->setHistoryRecords(historyArea(recordsOf(sampleSevenAlerts())));
        receiver->setRomVersion("107");
        ReceiverConfig.EDITOR.SerialPort = 1;
        main->cmdMain[6]->click();
        QCOMPARE(main->statusPanelText(1), QStringLiteral("Upload / Download Successful"));
    }

private slots:
    void initTestCase() { initEventTable(); }
    void init()
    {
        freshLink();
        doubles().wallClock = QDateTime(QDate(2026, 5, 20), QTime(10, 0));
        ReceiverConfig.EDITOR.TimeZoneOffset = -5;
        ReceiverConfig.EDITOR.DaylightSavings = false;
        PcDaylightActive = false;
        HistoryTable.fill(HistoryEntry());
        showMain();
    }
    void cleanup() { stopLink(); }

    void transferFillsTheGrid()
    {
        QVERIFY(!main->mnuView->menuAction()->isEnabled());
        transferSample();
        QCOMPARE(ReceiverConfig.EDITOR.ReceiverVersion, QStringLiteral("1.07"));
        QVERIFY(main->mnuView->menuAction()->isEnabled());
        QVERIFY(main->mnuSaveAs->isEnabled());
        QCOMPARE(main->prgXfer->value(), 0);
        const auto sample = sampleSevenAlerts();
        checkGroupMark(*main, 1);
        checkGrid(*main, sample, 1);

        // Choosing the shown group again keeps its mark (a checkable item would toggle off).
        main->mnuHistory[2]->trigger();
        main->mnuHistory[2]->trigger();
        checkGroupMark(*main, 2);
        checkGrid(*main, {}, 21);

        main->mnuHistory[1]->trigger();
        main->mnuHistory[1]->trigger();
        checkGroupMark(*main, 1);
        checkGrid(*main, sample, 1);
    }

    // A transfer that fails after a successful one clears the grid as it starts: the
    // numbers of the shown group stay, the data goes, the menus are disabled, and
    // HistoryTable keeps the last history.
    void failedTransferKeepsTheHistoryButClearsTheGrid()
    {
        transferSample();
        main->mnuHistory[2]->trigger();
        receiver->setFault(ReceiverSimulator::Fault::BadDownloadChecksum);
        main->cmdMain[6]->click();
        QCOMPARE(main->statusPanelText(1), QStringLiteral("Downloading Data"));
        QVERIFY(!main->mnuView->menuAction()->isEnabled());
        QVERIFY(!main->mnuSaveAs->isEnabled());
        for (int r = 0; r < frmMain::kHistoryRows; ++r) {
            QCOMPARE(main->historyGrid->lblNum[r]->text(), QString::number(r + 21));
            QCOMPARE(rowData(*main, r), kEmptyRow);
            QCOMPARE(main->historyGrid->lblEvent[r]->palette().color(QPalette::Window), QColor(255, 255, 255));
        }
        QCOMPARE(HistoryTable[0].Event, QStringLiteral("Tornado Warning"));
        checkPortClosed();
    }

    void colourFollowsTheSlotAcrossGroups()
    {
        QList<QByteArray> records(40, emptyHistoryRecord());
        records[0] = historyRecord(123, 18, 45, "WXR", "TOR");
        records[1] = historyRecord(123, 18, 45, "WXR", "RWT");
        records[20] = historyRecord(124, 18, 45, "WXR", "TOA");
        records[21] = historyRecord(124, 18, 45, "WXR", "XYZ"); // unknown: black
        presentDownload(records);
        QCOMPARE(textColour(main->historyGrid->lblEvent[0]), kRed);
        QCOMPARE(textColour(main->historyGrid->lblEvent[1]), kBlack);
        QCOMPARE(textColour(main->historyGrid->lblEvent[2]), kBlack);

        main->mnuHistory[2]->trigger();
        QCOMPARE(main->historyGrid->lblEvent[0]->text(), QStringLiteral("Tornado Watch"));
        QCOMPARE(textColour(main->historyGrid->lblEvent[0]), kBlue);
        QCOMPARE(main->historyGrid->lblEvent[1]->text(), QStringLiteral("Unknown Event Code"));
        QCOMPARE(textColour(main->historyGrid->lblEvent[1]), kBlack);

        // A red row whose slot in the other group is empty turns black and empty.
        records[20] = emptyHistoryRecord();
        presentDownload(records);
        main->mnuHistory[2]->trigger();
        QCOMPARE(main->historyGrid->lblEvent[0]->text(), QString());
        QCOMPARE(textColour(main->historyGrid->lblEvent[0]), kBlack);
        main->mnuHistory[1]->trigger();
        QCOMPARE(textColour(main->historyGrid->lblEvent[0]), kRed);
    }

    void groupNumbers_data()
    {
        QTest::addColumn<int>("group");
        QTest::addColumn<int>("firstNumber");
        QTest::newRow("0") << 0 << 1;
        QTest::newRow("1") << 1 << 21;
        QTest::newRow("2 taken as 0") << 2 << 1;
        QTest::newRow("-1 taken as 0") << -1 << 1;
    }
    void groupNumbers()
    {
        QFETCH(int, group);
        QFETCH(int, firstNumber);
        showHistoryGroup(*main->historyGrid, group);
        QCOMPARE(main->historyGrid->lblNum[0]->text(), QString::number(firstNumber));
        QCOMPARE(main->historyGrid->lblNum[19]->text(), QString::number(firstNumber + 19));
    }

    // A record whose day could not be read has no date, but it is still an alert: its row
    // shows what was decoded instead of vanishing.
    void alertWithoutDateKeepsItsRow()
    {
        HistoryRecordFields f;
        f.day = "1?3";
        presentDownload({historyRecord(123, 18, 45, "WXR", "SVA"), historyRecord(f)});
        QCOMPARE(rowData(*main, 0), QStringLiteral("3-May|13:45|01:30|WXR|Severe Thunderstorm Watch"));
        QCOMPARE(rowData(*main, 1), QStringLiteral("|13:45|01:30|CIV|Tornado Warning"));
        QCOMPARE(textColour(main->historyGrid->lblEvent[1]), kRed);
        QCOMPARE(rowData(*main, 2), kEmptyRow);
    }
};

ORVANE_TEST(HistoryViewTest)
#include "HistoryViewTest.moc"
