#include "support/Doubles.h"
#include "support/TestRegistry.h"

#include "config/ReceiverConfig.h"
#include "selection/EventTable.h"

#include <QSet>
#include <QTest>

class EventTableTest : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        clearReceiverConfig();
        doubles().clear();
    }

    void tableIsConsistent()
    {
        initEventTable();
        QSet<QString> codes;
        QSet<int> storeOrders;
        QMap<QString, int> perGroup;
        for (const EventTableRow &row : EventTable) {
            QCOMPARE(row.Code.size(), 3);
            for (QChar c : row.Code)
                QVERIFY2(c >= u'A' && c <= u'Z', qPrintable(row.Code));
            QVERIFY(!row.Name.isEmpty());
            codes.insert(row.Code);
            storeOrders.insert(row.StoreOrder);
            QVERIFY(row.StoreOrder >= 1 && row.StoreOrder <= 52);
            QVERIFY2(eventGroupTitles(row.Page).contains(row.Group), qPrintable(row.Code));
            ++perGroup[row.Group];
            if (row.Page == 1)
                QVERIFY2(QStringList({"Watch", "Warning", "Statement", "Severe Weather", "Special Weather"})
                             .contains(row.Caption),
                         qPrintable(row.Code));
            else if (row.Code != "EVI" && row.Code != "SPW")
                QCOMPARE(row.Caption, row.Name);
        }
        QCOMPARE(codes.size(), 52);
        QCOMPARE(storeOrders.size(), 52);
        QCOMPARE(eventGroupTitles(1).size(), 12);
        QCOMPARE(perGroup.value("Emergency - Messages"), 7);
        QCOMPARE(perGroup.value("Misc Events"), 5);
        QCOMPARE(perGroup.value("Misc Warnings"), 13);
        for (const QString &title : eventGroupTitles(1))
            QVERIFY2(perGroup.value(title) >= 2, qPrintable(title));
    }

    void storeOrder()
    {
        QStringList codes;
        for (int slot : eventSlotsInStoreOrder())
            codes << EventTable[slot].Code;
        QCOMPARE(codes.mid(0, 4), QStringList({"AVA", "AVW", "CFA", "CFW"}));
        QCOMPARE(codes.mid(16, 3), QStringList({"SVR", "TOA", "TOR"}));
        QCOMPARE(codes.mid(49), QStringList({"RWT", "SVS", "SPS"}));
    }

    void storingMoreThan48IsRefused()
    {
        EventList.fill(QStringLiteral("OLD"));
        std::array<bool, kEventCodeCount> ticked{};
        for (int slot = 0; slot < 49; ++slot)
            ticked[slot] = true;
        QVERIFY(!storeTickedEvents(ticked));
        for (const QString &code : EventList)
            QCOMPARE(code, QStringLiteral("OLD"));
        ticked[0] = false;
        QVERIFY(storeTickedEvents(ticked));
        QVERIFY(!EventList[47].isEmpty());
    }
};

ORVANE_TEST(EventTableTest)
#include "EventTableTest.moc"
