#include "support/Doubles.h"
#include "support/TestRegistry.h"

#include "config/ParameterFile.h"
#include "config/ReceiverConfig.h"
#include "link/TransferData.h"

#include <QFile>
#include <QTest>

namespace {

TransferImageBytes TransferImage;
DownloadBufferBytes DownloadBuffer;

QByteArray imageBytes(int from, int to) // bytes from..to-1
{
    return QByteArray(reinterpret_cast<const char *>(TransferImage.data()) + from, to - from);
}

// The county area holds the codes 012001, 012003, ... of the first 24 ticked slots, then zeros.
void checkFirst24Counties()
{
    QByteArray counties;
    for (int slot = 0; slot < 24; ++slot)
        counties += QByteArray::number(12001 + 2 * slot).rightJustified(6, '0') + '-';
    QCOMPARE(imageBytes(32, 32 + 24 * 7), counties);
    QCOMPARE(imageBytes(32 + 24 * 7, 208), QByteArray(208 - 32 - 24 * 7, '\0'));
}

} // namespace

// The selection area and the checksums, apart from any port.
class SelectionAreaTest : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        clearReceiverConfig();
        TransferImage.fill(0xAA); // anything not rewritten shows up
    }

    void tooManyEventsStopAtTheAreasEnd()
    {
        for (int slot = 0; slot < 49; ++slot)
            EventList[slot] = QStringLiteral("ABCDEFGH"); // 9 bytes a code: 44 fit in 399
        buildSelectionArea(TransferImage);
        QCOMPARE(imageBytes(208, 208 + 44 * 9), QByteArray("ABCDEFGH-").repeated(44));
        QCOMPARE(imageBytes(208 + 44 * 9, 607), QByteArray(607 - 208 - 44 * 9, '\0'));
        QCOMPARE(TransferImage[607], quint8(0xAA));
    }

    // Found by the parameter-file fuzz target: its seed of 30 ticked counties and 49 event
    // codes, read as the program reads the file, once sent 25 counties and 49 codes. The
    // receiver takes 24 counties (a hand-made file may tick 99), and nothing is written past
    // the area: not into the events, not into the settings block or the checksum.
    void parameterFileBeyondTheLimits()
    {
        QVERIFY(QFile::copy(QStringLiteral(ORVANE_TEST_SOURCE_DIR "/tests/fuzz/corpus/parameter_file/thirty-ticked-counties"),
                            kParameterFileName));
        QVERIFY(readParameterFile());
        buildSelectionArea(TransferImage);
        checkFirst24Counties();
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(imageBytes(208, 208 + 48 * 4), QByteArray("TOR-").repeated(48));
        QCOMPARE(imageBytes(208 + 48 * 4, 607), QByteArray(607 - 208 - 48 * 4, '\0'));
        QCOMPARE(TransferImage[607], quint8(0xAA));
        QCOMPARE(imageBytes(0, 32), QByteArray(32, char(0xAA)));
    }

    void entriesThatAreNotSent_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::newRow("not ticked") << "  012011  Broward                Florida";
        QTest::newRow("ticked, too short for a code") << "X 0120";
        QTest::newRow("lower-case mark") << "x 012011  Broward";
        QTest::newRow("empty") << "";
    }
    void entriesThatAreNotSent()
    {
        QFETCH(QString, entry);
        FipsList[0] = entry;
        FipsList[1] = QStringLiteral("X 012085  Martin                 Florida");
        buildSelectionArea(TransferImage);
        QCOMPARE(imageBytes(32, 39), QByteArray("012085-"));
        QCOMPARE(imageBytes(39, 208), QByteArray(169, '\0'));
    }

    void checksums()
    {
        TransferImage.fill(0);
        for (int i = 0; i < 18; ++i)
            TransferImage[i] = 255;
        TransferImage[18] = 70;
        TransferImage[607] = 200; // never sent, never summed
        QCOMPARE(imageChecksum(TransferImage), 0x1234);

        DownloadBuffer.fill(0);
        for (int i = 0; i < 1279; ++i)
            DownloadBuffer[i] = quint8(i);
        DownloadBuffer[1279] = quint8((1278 * 1279 / 2) % 256);
        QVERIFY(downloadChecksumOk(DownloadBuffer));
        DownloadBuffer[1279] += 1;
        QVERIFY(!downloadChecksumOk(DownloadBuffer));
    }
};

ORVANE_TEST(SelectionAreaTest)
#include "SelectionAreaTest.moc"
