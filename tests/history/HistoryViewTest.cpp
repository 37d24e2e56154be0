#include "support/Doubles.h"
#include "support/HistoryRecords.h"
#include "support/TestRegistry.h"

#include "app/Startup.h"
#include "app/frmMain.h"
#include "config/ReceiverConfig.h"
#include "history/HistoryView.h"
#include "link/HistoryDecoding.h"
#include "selection/EventTable.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QTest>
#include <memory>

namespace {

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

} // namespace

class HistoryViewTest : public QObject
{
    Q_OBJECT
    std::unique_ptr<frmMain> main;

    // What a successful transfer does once the download is in DownloadBuffer.
    void presentDownload(const QList<QByteArray> &records)
    {
        loadDownloadBuffer(records);
        main->mnuHistory[1]->setChecked(true);
        main->mnuHistory[2]->setChecked(false);
        decodeHistory();
        showHistoryGroup(*main, 0);
        main->mnuView->menuAction()->setEnabled(true);
        main->mnuSaveAs->setEnabled(true);
    }

    void checkSampleRows(const QList<SampleHistoryRow> &rows)
    {
        for (int r = 0; r < frmMain::kHistoryRows; ++r) {
            QCOMPARE(cell(*main, "lblNum", r)->text(), QString::number(r + 1));
            if (r >= rows.size()) {
                QCOMPARE(rowData(*main, r), kEmptyRow);
                QCOMPARE(textColour(cell(*main, "lblEvent", r)), QColor(0, 0, 0));
                continue;
            }
            const SampleHistoryRow &expected = rows[r];
            QCOMPARE(cell(*main, "lblDate", r)->text(), expected.date);
            QCOMPARE(cell(*main, "lblTime", r)->text(), expected.time);
            QCOMPARE(cell(*main, "lblLength", r)->text(), expected.length);
            QCOMPARE(cell(*main, "lblOrg", r)->text(), expected.org);
            QCOMPARE(cell(*main, "lblEvent", r)->text(), expected.event);
            const QColor colour = expected.alertClass == 1   ? QColor(255, 0, 0)
                                  : expected.alertClass == 2 ? QColor(0, 0, 255)
                                                             : QColor(0, 0, 0);
            QCOMPARE(textColour(cell(*main, "lblEvent", r)), colour);
            // Only the event column is coloured.
            QCOMPARE(textColour(cell(*main, "lblDate", r)), textColour(cell(*main, "lblNum", r)));
        }
    }

private slots:
    void initTestCase() { initEventTable(); }
    void init()
    {
        clearReceiverConfig();
        doubles().clear();
        doubles().wallClock = QDateTime(QDate(2026, 5, 20), QTime(10, 0));
        ReceiverConfig.EDITOR.TimeZoneOffset = -5;
        ReceiverConfig.EDITOR.DaylightSavings = false;
        PcDaylightActive = false;
        HistoryTable.fill(HistoryEntry());
        main = std::make_unique<frmMain>();
        main->show();
    }
    void cleanup() { main.reset(); }

    void sevenAlertsThroughBothGroups()
    {
        const auto rows = sampleSevenAlerts();
        QCOMPARE(rows.size(), 7);
        clearHistoryGrid(*main); // as the transfer starts
        presentDownload(recordsOf(rows));
        QVERIFY(main->mnuHistory[1]->isChecked());
        QVERIFY(!main->mnuHistory[2]->isChecked());
        checkSampleRows(rows);

        main->mnuHistory[2]->trigger();
        QVERIFY(!main->mnuHistory[1]->isChecked());
        QVERIFY(main->mnuHistory[2]->isChecked());
        for (int r = 0; r < frmMain::kHistoryRows; ++r) {
            QCOMPARE(cell(*main, "lblNum", r)->text(), QString::number(r + 21));
            QCOMPARE(rowData(*main, r), kEmptyRow);
            QCOMPARE(textColour(cell(*main, "lblEvent", r)), QColor(0, 0, 0));
        }

        main->mnuHistory[1]->trigger();
        QVERIFY(main->mnuHistory[1]->isChecked());
        QVERIFY(!main->mnuHistory[2]->isChecked());
        checkSampleRows(rows);
    }

    void colourFollowsTheSlotAcrossGroups()
    {
        QList<QByteArray> records(40, emptyHistoryRecord());
        records[0] = historyRecord(123, 18, 45, "WXR", "TOR");
        records[1] = historyRecord(123, 18, 45, "WXR", "RWT");
        records[20] = historyRecord(124, 18, 45, "WXR", "TOA");
        records[21] = historyRecord(124, 18, 45, "WXR", "XYZ"); // unknown: black
        presentDownload(records);
        QCOMPARE(textColour(main->lblEvent[0]), QColor(255, 0, 0));
        QCOMPARE(textColour(main->lblEvent[1]), QColor(0, 0, 0));
        QCOMPARE(textColour(main->lblEvent[2]), QColor(0, 0, 0));

        main->mnuHistory[2]->trigger();
        QCOMPARE(main->lblEvent[0]->text(), QStringLiteral("Tornado Watch"));
        QCOMPARE(textColour(main->lblEvent[0]), QColor(0, 0, 255));
        QCOMPARE(main->lblEvent[1]->text(), QStringLiteral("Unknown Event Code"));
        QCOMPARE(textColour(main->lblEvent[1]), QColor(0, 0, 0));

        // A red row whose slot in the other group is empty turns black and empty.
        records[20] = emptyHistoryRecord();
        presentDownload(records);
        main->mnuHistory[2]->trigger();
        QCOMPARE(main->lblEvent[0]->text(), QString());
        QCOMPARE(textColour(main->lblEvent[0]), QColor(0, 0, 0));
        main->mnuHistory[1]->trigger();
        QCOMPARE(textColour(main->lblEvent[0]), QColor(255, 0, 0));
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
        showHistoryGroup(*main, group);
        QCOMPARE(main->lblNum[0]->text(), QString::number(firstNumber));
        QCOMPARE(main->lblNum[19]->text(), QString::number(firstNumber + 19));
    }

    void choosingTheCheckedGroupAgainKeepsItsMark()
    {
        presentDownload(recordsOf(sampleSevenAlerts()));
        main->mnuHistory[1]->trigger(); // a checkable item would toggle itself off
        QVERIFY(main->mnuHistory[1]->isChecked());
        QVERIFY(!main->mnuHistory[2]->isChecked());
        main->mnuHistory[2]->trigger();
        main->mnuHistory[2]->trigger();
        QVERIFY(main->mnuHistory[2]->isChecked());
        QVERIFY(!main->mnuHistory[1]->isChecked());
    }

    // A transfer that starts (and then fails) after a successful one: numbers stay, data
    // goes, menus are disabled, HistoryTable keeps the last history.
    void clearingAtTransferStart()
    {
        presentDownload(recordsOf(sampleSevenAlerts()));
        QVERIFY(main->mnuView->menuAction()->isEnabled());
        main->mnuHistory[2]->trigger();
        clearHistoryGrid(*main);
        QVERIFY(!main->mnuView->menuAction()->isEnabled());
        QVERIFY(!main->mnuSaveAs->isEnabled());
        for (int r = 0; r < frmMain::kHistoryRows; ++r) {
            QCOMPARE(main->lblNum[r]->text(), QString::number(r + 21));
            QCOMPARE(rowData(*main, r), kEmptyRow);
            QCOMPARE(main->lblEvent[r]->palette().color(QPalette::Window), QColor(255, 255, 255));
        }
        QCOMPARE(HistoryTable[0].Event, QStringLiteral("Tornado Warning"));
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
        QCOMPARE(textColour(main->lblEvent[1]), QColor(255, 0, 0));
        QCOMPARE(rowData(*main, 2), kEmptyRow);
    }
};

ORVANE_TEST(HistoryViewTest)
#include "HistoryViewTest.moc"
