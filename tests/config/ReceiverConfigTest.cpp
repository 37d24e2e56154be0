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

    void timerCodesOutOfRangeAreSentAsZero_data()
    {
        QTest::addColumn<int>("line");
        QTest::addColumn<int>("relay");
        QTest::addColumn<int>("prevoice");
        QTest::addColumn<int>("voice");
        QTest::addColumn<QByteArray>("expected"); // bytes 2 to 5
        QTest::newRow("all in range") << 6 << 4 << 0 << 1 << QByteArray("\x06\x01\x04\x00", 4);
        QTest::newRow("line 0, prevoice 5") << 0 << 0 << 5 << 6 << QByteArray("\x00\x06\x00\x00", 4);
        QTest::newRow("line 7, relay -1, voice 7") << 7 << -1 << 4 << 7 << QByteArray("\x00\x00\x00\x04", 4);
    }
    void timerCodesOutOfRangeAreSentAsZero()
    {
        QFETCH(int, line);
        QFETCH(int, relay);
        QFETCH(int, prevoice);
        QFETCH(int, voice);
        QFETCH(QByteArray, expected);
        ReceiverConfig.TIMERS.LineTimeoutTimer = qint16(line);
        ReceiverConfig.TIMERS.RelayDelayTimer = qint16(relay);
        ReceiverConfig.TIMERS.PreVoiceAnnc = qint16(prevoice);
        ReceiverConfig.TIMERS.VoiceIntervalTimer = qint16(voice);
        buildSettingsImage();
        const QByteArray got(reinterpret_cast<const char *>(SettingsImage.data()) + 2, 4);
        QCOMPARE(got.toHex(), expected.toHex());
        QCOMPARE(int(SettingsImage[0]), 0);
        QCOMPARE(int(SettingsImage[6]), 0);
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
