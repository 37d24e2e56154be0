#include "support/TestRegistry.h"

#include "editors/StationIdent.h"

#include <QTest>

// The filter every edit of the call-letter box passes, typed or pasted, by the text before
// and after the edit.
class IdentFilterTest : public QObject
{
    Q_OBJECT
private slots:
    void filterIdentEdit_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        QTest::addColumn<int>("cursor");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("newCursor");
        QTest::addColumn<bool>("beep");
        QTest::newRow("typed small letter") << "K9" << "K9t" << 3 << "K9T" << 3 << false;
        QTest::newRow("typed in the middle") << "K9" << "Kw9" << 2 << "KW9" << 2 << false;
        QTest::newRow("typed blank") << "K9" << "K9 " << 3 << "K9" << 2 << true;
        QTest::newRow("deletion") << "KEC" << "KC" << 1 << "KC" << 1 << false;
        QTest::newRow("refused over a selection") << "KEC" << "K-" << 2 << "KEC" << 1 << true;
        QTest::newRow("pasted over a selection") << "KEC" << "Ka-bC" << 4 << "KABC" << 3 << true;
        QTest::newRow("limit cuts the end of a paste") << "ABCDEFGHIJKLM" << "ABCDEFGHIJKLMnop" << 16
                                                       << "ABCDEFGHIJKLMNO" << 15 << false;
        QTest::newRow("limit after dropping") << "" << "a.b.c.d.e.f.g.h.i.j.k.l.m.n.o.p" << 31
                                              << "ABCDEFGHIJKLMNO" << 15 << true;
        QTest::newRow("full box takes nothing") << "ABCDEFGHIJKLMNO" << "ABCDEFGHIJKLMNOP" << 16
                                                << "ABCDEFGHIJKLMNO" << 15 << false;
        QTest::newRow("old odd characters untouched") << "k 8" << "k 8x" << 4 << "k 8X" << 4 << false;
        QTest::newRow("repeated letter, small") << "AA" << "AaA" << 2 << "AAA" << 2 << false;
        QTest::newRow("repeated letter, capital") << "AA" << "AAA" << 1 << "AAA" << 1 << false;
    }
    void filterIdentEdit()
    {
        QFETCH(QString, before);
        QFETCH(QString, after);
        QFETCH(int, cursor);
        QFETCH(QString, text);
        QFETCH(int, newCursor);
        QFETCH(bool, beep);
        const IdentEdit edit = ::filterIdentEdit(before, after, cursor);
        QCOMPARE(edit.text, text);
        QCOMPARE(edit.cursor, newCursor);
        QCOMPARE(edit.beep, beep);
    }
};

ORVANE_TEST(IdentFilterTest)
#include "IdentFilterTest.moc"
