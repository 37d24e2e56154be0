#include "support/TestRegistry.h"

#include "core/Artwork.h"

#include <QImage>
#include <QTest>

// The program's icon at the sizes title bars, menus and the desktop ask for: nothing drawn
// touches the edge of the canvas (the waves above the antenna are whole), and the radio's
// keys lie inside its body.
class ProgramIconTest : public QObject
{
    Q_OBJECT
private slots:
    void fitsItsCanvas_data()
    {
        QTest::addColumn<int>("size");
        for (int size : {16, 24, 32, 48, 64, 128, 256})
            QTest::newRow(qPrintable(QString::number(size))) << size;
    }
    void fitsItsCanvas()
    {
        QFETCH(int, size);
        const QImage icon = programIcon(size).toImage().convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(icon.size(), QSize(size, size));
        QStringList touching;
        for (int i = 0; i < size; ++i)
            for (const QPoint at : {QPoint(i, 0), QPoint(i, size - 1), QPoint(0, i), QPoint(size - 1, i)})
                if (qAlpha(icon.pixel(at)) != 0)
                    touching << QStringLiteral("%1,%2").arg(at.x()).arg(at.y());
        QVERIFY2(touching.isEmpty(), qPrintable(QStringLiteral("drawn at the edge: ") + touching.join(u' ')));

        if (size < 64)
            return; // the keys are a pixel or two
        // The keys are the light pixels; the body is blue. In every row and column that
        // holds key pixels, the body lies beyond them on either side and below them.
        auto opaque = [&](int x, int y) { return qAlpha(icon.pixel(x, y)) == 255; };
        auto key = [&](int x, int y) {
            const QRgb p = icon.pixel(x, y);
            return opaque(x, y) && qRed(p) > 0xc0 && qGreen(p) > 0xc0 && qBlue(p) > 0xc0;
        };
        auto body = [&](int x, int y) { return opaque(x, y) && qBlue(icon.pixel(x, y)) > qRed(icon.pixel(x, y)) + 0x30; };
        int keyPixels = 0;
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) {
                if (!key(x, y))
                    continue;
                ++keyPixels;
                int left = 0, right = size - 1, bottom = size - 1;
                while (!opaque(left, y))
                    ++left;
                while (!opaque(right, y))
                    --right;
                while (!opaque(x, bottom))
                    --bottom;
                QVERIFY2(body(left, y) && body(right, y) && body(x, bottom),
                         qPrintable(QStringLiteral("key pixel %1,%2 at the body's outline").arg(x).arg(y)));
            }
        QVERIFY(keyPixels > 0);
    }
};

ORVANE_TEST(ProgramIconTest)
#include "ProgramIconTest.moc"
