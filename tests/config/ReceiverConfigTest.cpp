#include "support/Doubles.h"
#include "support/TestRegistry.h"

#include "config/ReceiverConfig.h"
#include "config/SettingsStore.h"

#include <QTest>

class ReceiverConfigTest : public QObject
{
    Q_OBJECT
private slots:
    void init() { clearReceiverConfig(); }

    void freshInstallImage()
    {
        QVERIFY(loadSettings());
        buildSettingsImage();
        const std::array<quint8, 32> expected = {0, 3, 3, 1, 0, 2, 0, 0x00, 0x1F, 0x00, 0x00, 0x27};
        for (int i = 0; i < 32; ++i)
            QCOMPARE(int(SettingsImage[i]), int(expected[i]));
    }

    void flagBytesAreIndependent()
    {
        ReceiverConfig.NV800A.AcceptAllAlerts = true;
        ReceiverConfig.NV8007.AppendTransmitter = true;
        ReceiverConfig.NV8008.IgnoreTerminationPacket = true;
        buildSettingsImage();
        QCOMPARE(int(SettingsImage[7]), 0x08);
        QCOMPARE(int(SettingsImage[8]), 0x80);
        QCOMPARE(int(SettingsImage[9]), 0x00);
        QCOMPARE(int(SettingsImage[10]), 0x01);
    }

    // Bytes 2 to 5: the line, relay, pre-voice and voice timer codes; one out of range is sent as 0.
    void timerCodesOutOfRangeAreSentAsZero()
    {
        auto bytesFor = [](int line, int relay, int prevoice, int voice) {
            ReceiverConfig.TIMERS.LineTimeoutTimer = qint16(line);
            ReceiverConfig.TIMERS.RelayDelayTimer = qint16(relay);
            ReceiverConfig.TIMERS.PreVoiceAnnc = qint16(prevoice);
            ReceiverConfig.TIMERS.VoiceIntervalTimer = qint16(voice);
            buildSettingsImage();
            return QByteArray(reinterpret_cast<const char *>(SettingsImage.data()), 7).toHex();
        };
        QCOMPARE(bytesFor(6, 4, 0, 1), QByteArray("00000601040000"));
        QCOMPARE(bytesFor(0, 0, 5, 6), QByteArray("00000006000000"));
        QCOMPARE(bytesFor(7, -1, 4, 7), QByteArray("00000000000400"));
    }

    void stationIdentification_data()
    {
        QTest::addColumn<QString>("id");
        QTest::addColumn<QByteArray>("expected"); // bytes 16 to 31
        QTest::newRow("call letters") << "KEC83" << QByteArray::fromHex("05140e0c080300000000000000000000");
        QTest::newRow("lower case and blanks encode as zero")
            << "ab1 /" << QByteArray::fromHex("05000001002400000000000000000000");
        QTest::newRow("fifteen fill the area") << "ABCDEFGHIJKLMNO"
                                               << QByteArray::fromHex("0f0a0b0c0d0e0f101112131415161718");
        QTest::newRow("sixteen are dropped whole") << "ABCDEFGHIJKLMNOP" << QByteArray(16, '\0');
        QTest::newRow("empty") << "" << QByteArray(16, '\0');
    }
    void stationIdentification()
    {
        QFETCH(QString, id);
        QFETCH(QByteArray, expected);
        SettingsImage.fill(0xEE); // stale bytes must not survive a rebuild
        ReceiverConfig.EDITOR.UserStationID = id;
        buildSettingsImage();
        const QByteArray got(reinterpret_cast<const char *>(SettingsImage.data()) + 16, 16);
        QCOMPARE(got.toHex(), expected.toHex());
        for (int i = 12; i < 16; ++i)
            QCOMPARE(int(SettingsImage[i]), 0);
    }

    void symbolTableRoundTrips()
    {
        const QString symbols = QStringLiteral("0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ/");
        for (int code = 0; code <= 36; ++code) {
            QCOMPARE(DecodeIdChar(quint8(code)), QString(symbols[code]));
            QCOMPARE(int(EncodeIdChar(symbols[code])), code);
        }
        QCOMPARE(DecodeIdChar(37), QString());
        QCOMPARE(DecodeIdChar(255), QString());
        QCOMPARE(int(EncodeIdChar(u'z')), 0);
        QCOMPARE(int(EncodeIdChar(QChar(0x00C9))), 0);
    }
};

ORVANE_TEST(ReceiverConfigTest)
#include "ReceiverConfigTest.moc"
