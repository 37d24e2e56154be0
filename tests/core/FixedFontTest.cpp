#include "support/Columns.h"
#include "support/TestRegistry.h"

#include "core/FixedFont.h"

#include <QFontInfo>
#include <QTest>

// The font of the fixed columns: the preferred font when every character the columns show
// takes one advance, else a family in which they do, at the preferred size.
class FixedFontTest : public QObject
{
    Q_OBJECT
    static QString printable()
    {
        QString text;
        for (int c = 32; c < 127; ++c)
            text += QChar(c);
        return text;
    }

private slots:
    void fixedColumnFont_data()
    {
        QTest::addColumn<QString>("preferred"); // empty: the system's fixed font
        QTest::addColumn<bool>("kept");
        QTest::newRow("even family kept") << "DejaVu Sans Mono" << true;
        QTest::newRow("proportional family replaced") << "DejaVu Sans" << false;
        QTest::newRow("system's fixed font") << QString() << false;
    }
    void fixedColumnFont()
    {
        QFETCH(QString, preferred);
        QFETCH(bool, kept);
        const QFont font = preferred.isEmpty() ? ::fixedColumnFont() : ::fixedColumnFont(QFont(preferred, 13));
        QCOMPARE(unevenCharacters(font, printable()), QString());
        if (preferred.isEmpty())
            return;
        QCOMPARE(font.pointSize(), 13);
        QCOMPARE(QFontInfo(font).family() == preferred, kept);
    }
};

ORVANE_TEST(FixedFontTest)
#include "FixedFontTest.moc"
