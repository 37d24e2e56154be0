#include "selection/SelectionTestSupport.h"
#include "support/TestRegistry.h"

#include "app/frmMain.h"
#include "config/ReceiverConfig.h"
#include "selection/EventTable.h"
#include "selection/frmEvent.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

namespace {

const QStringList kDefaultEvents = {"FFA", "FFW", "FLA", "FLW", "HWA", "HWW",
                                    "SVA", "SVR", "TOA", "TOR", "RMT", "RWT"};

QStringList storedEvents()
{
    QStringList codes;
    for (int i = 0; i < 48; ++i)
        codes << EventList[i];
    while (!codes.isEmpty() && codes.last().isEmpty())
        codes.removeLast();
    return codes;
}

QStringList tickedCodes(const frmEvent &window)
{
    QStringList codes;
    for (int slot = 0; slot < kEventCodeCount; ++slot)
        if (window.chk[slot]->isChecked())
            codes << EventTable[slot].Code;
    return codes;
}

void click(QCheckBox *box)
{
    QVERIFY(box);
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(box->height() / 2, box->height() / 2));
}

// Shows the page holding the box first, as the owner would.
void tick(frmEvent &window, const QString &code)
{
    window.cmdSelect_Click(EventTable[eventSlot(code)].Page - 1);
    click(window.box(code));
}

QString countText(int n) { return QStringLiteral("Events Selected = %1   (Max 48)").arg(n); }

} // namespace

class EventWindowTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { initEventTable(); }
    void init()
    {
        clearReceiverConfig();
        doubles().clear();
    }

    void boxesStandInTheirGroupsAndPages()
    {
        frmEvent window;
        for (int page = 1; page <= 2; ++page) {
            QWidget *panel = page == 1 ? window.Picture1 : window.Picture2;
            QStringList titles;
            for (QGroupBox *frame : panel->findChildren<QGroupBox *>())
                titles << frame->title();
            QCOMPARE(titles, eventGroupTitles(page));
        }
        for (const EventTableRow &row : EventTable) {
            auto *box = window.findChild<QCheckBox *>(QStringLiteral("chk") + row.Code);
            QVERIFY2(box, qPrintable(row.Code));
            QCOMPARE(box->text(), row.Caption);
            auto *frame = qobject_cast<QGroupBox *>(box->parentWidget());
            QVERIFY(frame);
            QCOMPARE(frame->title(), row.Group);
            QCOMPARE(frame->parentWidget(), row.Page == 1 ? window.Picture1 : window.Picture2);
        }
        QCOMPARE(window.cmdSelect[0]->text(), QStringLiteral("Page 1"));
        QCOMPARE(window.cmdSelect[1]->text(), QStringLiteral("Page 2"));
        QCOMPARE(window.cmdOK->text(), QStringLiteral("OK"));
    }

    void pagesShareOnePlace()
    {
        frmEvent window;
        window.show();
        QCOMPARE(window.windowTitle(), QStringLiteral(" Orvane Event Codes. Page 1"));
        QVERIFY(window.Picture1->isVisible());
        QVERIFY(!window.Picture2->isVisible());
        const QRect page1 = window.Picture1->geometry();

        QTest::mouseClick(window.cmdSelect[1], Qt::LeftButton);
        QCOMPARE(window.windowTitle(), QStringLiteral(" Orvane Event Codes. Page 2"));
        QVERIFY(!window.Picture1->isVisible());
        QVERIFY(window.Picture2->isVisible());
        QCOMPARE(window.Picture2->geometry(), page1);

        window.SelectPage(7); // not a page: nothing changes
        QVERIFY(window.Picture2->isVisible());
        QTest::mouseClick(window.cmdSelect[0], Qt::LeftButton);
        QVERIFY(window.Picture1->isVisible());
        QCOMPARE(window.windowTitle(), QStringLiteral(" Orvane Event Codes. Page 1"));
    }

    // One page, the page buttons, the count and OK all show in full whatever the font size
    // (which is what a screen scaling changes for the layout).
    void windowFitsOnePageAtAnyScaling_data()
    {
        QTest::addColumn<int>("pointSize");
        QTest::newRow("small") << 7;
        QTest::newRow("normal") << 10;
        QTest::newRow("large") << 18;
        QTest::newRow("huge") << 30;
    }
    void windowFitsOnePageAtAnyScaling()
    {
        QFETCH(int, pointSize);
        frmEvent window;
        QFont font = window.font();
        font.setPointSize(pointSize);
        window.setFont(font);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        for (int page = 0; page < 2; ++page) {
            window.cmdSelect_Click(page);
            QWidget *panel = page == 0 ? window.Picture1 : window.Picture2;
            const QRect inside = window.rect();
            const QRect panelRect(panel->mapTo(&window, QPoint()), panel->size());
            QVERIFY(inside.contains(panelRect));
            for (QWidget *w : std::initializer_list<QWidget *>{window.cmdSelect[0], window.cmdSelect[1],
                                                               window.lblCount, window.cmdOK}) {
                const QRect r(w->mapTo(&window, QPoint()), w->size());
                QVERIFY2(inside.contains(r), qPrintable(w->objectName()));
                QVERIFY2(r.top() >= panelRect.bottom(), qPrintable(w->objectName()));
                QVERIFY(w->width() >= w->minimumSizeHint().width());
            }
            for (QCheckBox *box : panel->findChildren<QCheckBox *>()) {
                const QRect r(box->mapTo(&window, QPoint()), box->size());
                QVERIFY2(panelRect.contains(r), qPrintable(box->objectName()));
                QVERIFY2(box->width() >= box->sizeHint().width(), qPrintable(box->objectName()));
            }
            QVERIFY(window.lblCount->width() >= window.lblCount->fontMetrics().horizontalAdvance(window.lblCount->text()));
        }
        // Reopening a window the owner made taller brings it back to the page's height.
        const int fitted = window.height();
        window.resize(window.width(), fitted + 300);
        window.hide();
        window.show();
        QCOMPARE(window.height(), fitted);
    }

    void defaultListOpensTickedAndStoresInStoreOrder()
    {
        // Reversed and with gaps: the window ticks by code and stores in store order.
        int slot = 0;
        for (auto it = kDefaultEvents.crbegin(); it != kDefaultEvents.crend(); ++it, slot += 3)
            EventList[slot] = *it;
        frmEvent window;
        QCOMPARE(window.lblCount->text(), countText(12));
        QCOMPARE(tickedCodes(window).size(), 12);
        for (const QString &code : kDefaultEvents)
            QVERIFY2(window.box(code)->isChecked(), qPrintable(code));
        QTest::mouseClick(window.cmdOK, Qt::LeftButton);
        QCOMPARE(window.result(), int(QDialog::Accepted));
        QCOMPARE(storedEvents(), kDefaultEvents);
    }

    void tick49IsUndoneWithABeep()
    {
        for (int i = 0; i < 48; ++i)
            EventList[i] = EventTable[i].Code;
        frmEvent window;
        window.show();
        QCOMPARE(window.lblCount->text(), countText(48));
        const QString extra = EventTable[50].Code; // WSW, page 1
        tick(window, extra);
        QVERIFY(!window.box(extra)->isChecked());
        QCOMPARE(doubles().beeps, 1);
        QCOMPARE(window.lblCount->text(), countText(48));

        // Freeing one place lets the next tick stand.
        tick(window, EventTable[0].Code);
        QCOMPARE(window.lblCount->text(), countText(47));
        tick(window, extra);
        QVERIFY(window.box(extra)->isChecked());
        QCOMPARE(doubles().beeps, 1);
        window.cmdOK_Click();
        QCOMPARE(storedEvents().size(), 48);
        QVERIFY(storedEvents().contains(extra));
        QVERIFY(!storedEvents().contains(EventTable[0].Code));
    }

    void listOddities_data()
    {
        QTest::addColumn<QStringList>("list");
        QTest::addColumn<QString>("slot48");
        QTest::addColumn<QStringList>("ticked");
        QTest::addColumn<QStringList>("stored");
        QTest::newRow("duplicate ticks once, stored once")
            << QStringList{"TOR", "SVR", "TOR"} << "" << QStringList{"SVR", "TOR"} << QStringList{"SVR", "TOR"};
        QTest::newRow("slot 48 ignored and kept")
            << QStringList{"FFW"} << "TOR" << QStringList{"FFW"} << QStringList{"FFW"};
        QTest::newRow("unknown and lower-case codes dropped")
            << QStringList{"XYZ", "tor", "RWT"} << "" << QStringList{"RWT"} << QStringList{"RWT"};
    }
    void listOddities()
    {
        QFETCH(QStringList, list);
        QFETCH(QString, slot48);
        QFETCH(QStringList, ticked);
        QFETCH(QStringList, stored);
        for (int i = 0; i < list.size(); ++i)
            EventList[i] = list[i];
        EventList[48] = slot48;
        frmEvent window;
        QCOMPARE(tickedCodes(window), ticked);
        QCOMPARE(window.lblCount->text(), countText(ticked.size()));
        window.cmdOK_Click();
        QCOMPARE(storedEvents(), stored);
        QCOMPARE(EventList[48], slot48);
    }

    // Opened modally from the main window and destroyed on closing: the close box discards
    // the changes, and the next opening starts afresh from EventList on page 1.
    void openedModallyFromTheMainWindow()
    {
        frmMain main;
        main.show();
        QVERIFY(main.cmdMain[2]->isEnabled());
        EventList[0] = QStringLiteral("TOR");
        EventList[48] = QStringLiteral("RWT");
        const auto before = EventList;

        QStringList seen;
        whenModalOpens<frmEvent>([&](frmEvent *window) {
            seen << tickedCodes(*window).join(',');
            QTest::mouseClick(window->cmdSelect[1], Qt::LeftButton);
            tick(*window, "CEM");
            tick(*window, "TOR"); // untick
            window->close();
        });
        QTest::mouseClick(main.cmdMain[2], Qt::LeftButton);
        QCOMPARE(seen, QStringList({"TOR"}));
        QCOMPARE(EventList, before);

        whenModalOpens<frmEvent>([&](frmEvent *window) {
            seen << tickedCodes(*window).join(',') << window->windowTitle();
            QVERIFY(window->Picture1->isVisible());
            tick(*window, "SVR");
            QTest::mouseClick(window->cmdOK, Qt::LeftButton);
        });
        QTest::mouseClick(main.cmdMain[2], Qt::LeftButton);
        QCOMPARE(seen, QStringList({"TOR", "TOR", " Orvane Event Codes. Page 1"}));
        QCOMPARE(storedEvents(), QStringList({"SVR", "TOR"}));
        QCOMPARE(EventList[48], QStringLiteral("RWT"));
        QVERIFY(main.findChildren<frmEvent *>().isEmpty());
    }
};

ORVANE_TEST(EventWindowTest)
#include "EventWindowTest.moc"
