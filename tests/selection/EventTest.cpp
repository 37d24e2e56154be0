#include "selection/SelectionTestSupport.h"
#include "support/Rows.h"
#include "support/TestRegistry.h"

#include "app/frmMain.h"
#include "config/ReceiverConfig.h"
#include "selection/EventTable.h"
#include "selection/frmEvent.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

namespace {

QStringList storedEvents()
{
    QStringList codes(EventList.begin(), EventList.begin() + 48);
    while (!codes.isEmpty() && codes.last().isEmpty()) codes.removeLast();
    return codes;
}

QString tickedCodes(const frmEvent &window)
{
    QStringList codes;
    for (int slot = 0; slot < kEventCodeCount; ++slot)
        if (window.chk[slot]->isChecked())
            codes << EventTable[slot].Code;
    codes.sort();
    return codes.join(u',');
}

// Shows the page holding the box first, as the owner would, and clicks on the box.
void tick(frmEvent &window, const QString &code)
{
    window.cmdSelect_Click(EventTable[eventSlot(code)].Page - 1);
    QCheckBox *box = window.box(code);
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(box->height() / 2, box->height() / 2));
}

QString countText(int n) { return QStringLiteral("Events Selected = %1   (Max 48)").arg(n); }

struct ListRow {
    const char *name, *list, *slot48, *ticked; // lists comma-separated; EventList gets `list`
};

} // namespace

// The event table and the event window.
class EventTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { initEventTable(); }
    void init() { clearReceiverConfig(), doubles().clear(); }

    // 52 codes in 12 groups on page 1 and the rest on page 2; stored in store order, 48 at most.
    void table()
    {
        QSet<QString> codes;
        QSet<int> storeOrders;
        QMap<QString, int> perGroup;
        const QStringList page1Captions = {"Watch", "Warning", "Statement", "Severe Weather", "Special Weather"};
        for (const EventTableRow &row : EventTable) {
            codes.insert(row.Code), storeOrders.insert(row.StoreOrder), ++perGroup[row.Group];
            QVERIFY2(row.Page == 1 ? page1Captions.contains(row.Caption) : row.Caption == row.Name || row.Code == "EVI" || row.Code == "SPW",
                     qPrintable(row.Code));
        }
        QCOMPARE((QList<qsizetype>{codes.size(), storeOrders.size(), eventGroupTitles(1).size()}), (QList<qsizetype>{52, 52, 12}));
        QCOMPARE((QList<int>{perGroup.value("Emergency - Messages"), perGroup.value("Misc Events"), perGroup.value("Misc Warnings")}),
                 (QList<int>{7, 5, 13}));
        QStringList ordered;
        for (int slot : eventSlotsInStoreOrder())
            ordered << EventTable[slot].Code;
        QCOMPARE(ordered.mid(0, 4) + ordered.mid(16, 3) + ordered.mid(49),
                 QStringList({"AVA", "AVW", "CFA", "CFW", "SVR", "TOA", "TOR", "RWT", "SVS", "SPS"}));
        EventList.fill(QStringLiteral("OLD")); // 49 ticked are refused and EventList stays; 48 are stored
        std::array<bool, kEventCodeCount> ticked{};
        std::fill_n(ticked.begin(), 49, true);
        QVERIFY(!storeTickedEvents(ticked));
        QCOMPARE(QSet<QString>(EventList.begin(), EventList.end()), QSet<QString>{"OLD"});
        ticked[0] = false;
        QVERIFY(storeTickedEvents(ticked) && !EventList[47].isEmpty());
    }

    // The window ticks by code and stores in store order, each code once; unknown codes and
    // slot 48 (not the window's) are left out, slot 48 kept as it was.
    void lists_data()
    {
        addRows<ListRow>({
            {"default list reversed with gaps", "RWT,,,RMT,,,TOR,,,TOA,,,SVR,,,SVA,,,HWW,,,HWA,,,FLW,,,FLA,,,FFW,,,FFA", "",
             "FFA,FFW,FLA,FLW,HWA,HWW,SVA,SVR,TOA,TOR,RMT,RWT"},
            {"duplicate ticks once, stored once", "TOR,SVR,TOR", "", "SVR,TOR"},
            {"slot 48 ignored and kept", "FFW", "TOR", "FFW"},
            {"unknown and lower-case codes dropped", "XYZ,tor,RWT", "", "RWT"},
        });
    }
    void lists()
    {
        QFETCH(ListRow, row);
        const QStringList list = QString::fromLatin1(row.list).split(u','), ticked = QString::fromLatin1(row.ticked).split(u',');
        std::copy(list.begin(), list.end(), EventList.begin());
        EventList[48] = QString::fromLatin1(row.slot48);
        frmEvent window;
        QStringList sorted = ticked;
        sorted.sort();
        QCOMPARE(tickedCodes(window) + u' ' + window.lblCount->text(), sorted.join(u',') + u' ' + countText(ticked.size()));
        QTest::mouseClick(window.cmdOK, Qt::LeftButton);
        QVERIFY(window.result() == QDialog::Accepted && EventList[48] == QString::fromLatin1(row.slot48));
        QCOMPARE(storedEvents(), ticked);
    }

    void tick49IsUndoneWithABeep()
    {
        for (int i = 0; i < 48; ++i) EventList[i] = EventTable[i].Code;
        frmEvent window;
        window.show();
        QCOMPARE((QStringList{window.lblCount->text(), window.cmdSelect[0]->text(), window.cmdSelect[1]->text(), window.cmdOK->text()}),
                 (QStringList{countText(48), "Page 1", "Page 2", "OK"}));
        const QString extra = EventTable[50].Code, first = EventTable[0].Code; // WSW, page 1
        tick(window, extra);
        QVERIFY(!window.box(extra)->isChecked());
        QCOMPARE(window.lblCount->text() + QString::number(doubles().beeps), countText(48) + u'1');
        tick(window, first); // freeing one place lets the next tick stand
        QCOMPARE(window.lblCount->text(), countText(47));
        tick(window, extra);
        QVERIFY(window.box(extra)->isChecked() && doubles().beeps == 1);
        window.cmdOK_Click();
        QVERIFY(storedEvents().size() == 48 && storedEvents().contains(extra) && !storedEvents().contains(first));
    }

    // Opened modally from the main window and destroyed on closing: the close box discards
    // the changes, and the next opening starts afresh from EventList on page 1.
    void openedModallyFromTheMainWindow()
    {
        frmMain main;
        main.show();
        EventList[0] = QStringLiteral("TOR"), EventList[48] = QStringLiteral("RWT");
        const auto before = EventList;
        QStringList seen;
        for (const char *code : {"CEM", "SVR"}) {
            whenModalOpens<frmEvent>([&](frmEvent *window) {
                seen << tickedCodes(*window) << window->windowTitle();
                tick(*window, code);
                code == QLatin1String("SVR") ? QTest::mouseClick(window->cmdOK, Qt::LeftButton) : void(window->close());
            });
            QTest::mouseClick(main.cmdMain[2], Qt::LeftButton);
            QVERIFY(code == QLatin1String("SVR") || EventList == before);
        }
        QCOMPARE(seen, QStringList({"TOR", " Orvane Event Codes. Page 1", "TOR", " Orvane Event Codes. Page 1"}));
        QVERIFY(storedEvents() == QStringList({"SVR", "TOR"}) && EventList[48] == "RWT" && main.findChildren<frmEvent *>().isEmpty());
    }
};

ORVANE_TEST(EventTest)
#include "EventTest.moc"
