#include "support/Doubles.h"
#include "support/TestRegistry.h"

#include "config/ReceiverConfig.h"
#include "config/SettingsStore.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTest>

#include <csignal>
#include <sys/resource.h>

namespace {

QSettings store()
{
    return QSettings(QStringLiteral("Orvane"), QStringLiteral("Orvane"));
}

QString stored(const QString &key)
{
    QSettings s(QStringLiteral("Orvane"), QStringLiteral("Orvane"));
    return s.value(key).toString();
}

void put(const QString &key, const QString &value)
{
    QSettings s(QStringLiteral("Orvane"), QStringLiteral("Orvane"));
    s.setValue(key, value);
    s.sync();
}

} // namespace

class SettingsStoreTest : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        freshHome();
        clearReceiverConfig();
    }

    void emptyStoreGivesDefaults()
    {
        QVERIFY(loadSettings());
        const auto &e = ReceiverConfig.EDITOR;
        QCOMPARE(e.SerialPort, qint16(1));
        QCOMPARE(e.WorkingDirectory, QDir::currentPath());
        QCOMPARE(e.EditorVersion, QStringLiteral("1.00"));
        QCOMPARE(e.ReceiverVersion, QStringLiteral("1.00"));
        QVERIFY(e.ShowTipsAtStartup);
        QCOMPARE(e.TimeZoneOffset, qint16(-5));
        QVERIFY(e.DaylightSavings);
        QCOMPARE(e.StateID, qint16(8));
        QCOMPARE(e.TransmitterLocation, QString());
        QCOMPARE(e.FrequencyListingFilter, qint16(0));
        QVERIFY(ReceiverConfig.NV8008.ForceOnLine && !ReceiverConfig.NV8008.AcceptAllFips);
        QVERIFY(ReceiverConfig.NV800B.VocAllEvents && ReceiverConfig.NV800B.VocTruncateTest);
        QVERIFY(!ReceiverConfig.NV800B.VocWarnings);
        QCOMPARE(ReceiverConfig.TIMERS.PreVoiceAnnc, qint16(2));
        QCOMPARE(ReceiverConfig.TIMERS.VoiceIntervalTimer, qint16(1));
    }

    void savedValueTexts()
    {
        QVERIFY(loadSettings());
        QVERIFY(saveSettings());
        QCOMPARE(stored("NV8008/SpeakerActive"), QStringLiteral("True"));
        QCOMPARE(stored("NV8007/GiveStationID"), QStringLiteral("False"));
        QCOMPARE(stored("TIMERS/PreVoiceAnnc"), QStringLiteral("2"));
        QCOMPARE(stored("EDITOR/TimeZoneOffset"), QStringLiteral("-5"));
        QCOMPARE(stored("EDITOR/TransmitterLocation"), QString());
        // Every key is written on every save: 11 editor keys, 5 x 8 flags, 5 timers.
        QCOMPARE(store().allKeys().size(), 11 + 40 + 5);
    }

    void roundTripKeepsEveryField()
    {
        QVERIFY(loadSettings());
        auto &r = ReceiverConfig;
        r.EDITOR.SerialPort = 3;
        r.EDITOR.TransmitterLocation = QStringLiteral("West Palm Beach, FL  162.475");
        r.EDITOR.UserStationID = QStringLiteral("KEC83");
        r.EDITOR.TimeZoneOffset = -11;
        r.EDITOR.StateID = 999; // no range check: stored and loaded as is
        r.NV8007.Spare8007_4 = true;
        r.NV8009.CancelAlert = true;
        r.NV800B.Spare800B_2 = true;
        r.TIMERS.RelayDelayTimer = 4;
        const ReceiverConfigRecord saved = r;
        QVERIFY(saveSettings());

        clearReceiverConfig();
        QVERIFY(loadSettings());
        QCOMPARE(r.EDITOR.SerialPort, saved.EDITOR.SerialPort);
        QCOMPARE(r.EDITOR.TransmitterLocation, saved.EDITOR.TransmitterLocation);
        QCOMPARE(r.EDITOR.UserStationID, saved.EDITOR.UserStationID);
        QCOMPARE(r.EDITOR.TimeZoneOffset, qint16(-11));
        QCOMPARE(r.EDITOR.StateID, qint16(999));
        QVERIFY(r.NV8007.Spare8007_4 && r.NV8009.CancelAlert && r.NV800B.Spare800B_2);
        QVERIFY(!r.NV800A.CancelAlert);
        QCOMPARE(r.TIMERS.RelayDelayTimer, qint16(4));
    }

    void booleanTexts_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("expected");
        QTest::newRow("1") << "1" << true;
        QTest::newRow("0") << "0" << false;
        QTest::newRow("True") << "True" << true;
        QTest::newRow("False") << "False" << false;
        QTest::newRow("-1") << "-1" << true;
        QTest::newRow("7") << "7" << true;
    }
    void booleanTexts()
    {
        QFETCH(QString, text);
        QFETCH(bool, expected);
        put("NV8007/GiveStationID", text);
        QVERIFY(loadSettings());
        QCOMPARE(ReceiverConfig.NV8007.GiveStationID, expected);
    }

    void sectionsWithSharedKeyNamesAreIndependent()
    {
        put("NV800A/AcceptAllAlerts", "True");
        put("NV8009/AcceptAllAlerts", "False");
        QVERIFY(loadSettings());
        QVERIFY(ReceiverConfig.NV800A.AcceptAllAlerts);
        QVERIFY(!ReceiverConfig.NV8009.AcceptAllAlerts);
        buildSettingsImage();
        QCOMPARE(int(SettingsImage[9]), 0);
        QCOMPARE(int(SettingsImage[10]), 1);
    }

    void unconvertibleValueStopsLoading_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("text");
        QTest::newRow("state not a number") << "EDITOR/StateID" << "Florida";
        QTest::newRow("state beyond 16 bits") << "EDITOR/StateID" << "40000";
    }
    void unconvertibleValueStopsLoading()
    {
        QFETCH(QString, key);
        QFETCH(QString, text);
        put("EDITOR/TimeZoneOffset", "-8");
        put(key, text);
        put("EDITOR/TransmitterLocation", "Somewhere");
        put("TIMERS/PreVoiceAnnc", "4");
        ReceiverConfig.EDITOR.StateID = 77; // pre-load values survive from the failing key on
        QVERIFY(!loadSettings());
        QCOMPARE(ReceiverConfig.EDITOR.TimeZoneOffset, qint16(-8)); // keys before it loaded
        QCOMPARE(ReceiverConfig.EDITOR.StateID, qint16(77));
        QCOMPARE(ReceiverConfig.EDITOR.TransmitterLocation, QString());
        QCOMPARE(ReceiverConfig.TIMERS.PreVoiceAnnc, qint16(0));
        QVERIFY(!ReceiverConfig.NV8008.SpeakerActive);
    }

    void booleanThatIsNotANumberStopsLoading()
    {
        put("NV8008/LineActive", "yes please");
        QVERIFY(!loadSettings());
        QVERIFY(ReceiverConfig.NV8008.SpeakerActive); // the key before it
        QVERIFY(!ReceiverConfig.NV8008.LineActive);
        QCOMPARE(ReceiverConfig.TIMERS.SpeakerTimeoutTimer, qint16(0));
    }

    // A save that cannot complete must leave the previous settings file whole and readable.
    void failedSaveLeavesPreviousFileIntact()
    {
        QVERIFY(loadSettings());
        ReceiverConfig.EDITOR.UserStationID = QStringLiteral("FIRST");
        QVERIFY(saveSettings());
        const QString path = settingsFilePath();
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray before = file.readAll();
        file.close();
        QVERIFY(before.contains("UserStationID=FIRST"));

        // The store replaces its file through a temporary file; a file-size limit makes that
        // write fail part-way, as a full disk would (and it binds root too).
        struct rlimit original {};
        getrlimit(RLIMIT_FSIZE, &original);
        const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        struct rlimit tiny = original;
        tiny.rlim_cur = 64;
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &tiny), 0);
        ReceiverConfig.EDITOR.UserStationID = QStringLiteral("SECOND");
        const bool saved = saveSettings();
        setrlimit(RLIMIT_FSIZE, &original);
        std::signal(SIGXFSZ, previousHandler);
        QVERIFY(!saved);

        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray after = file.readAll();
        QCOMPARE(after, before); // the next start reads the previous settings whole
        QVERIFY(!after.contains("SECOND"));
    }
};

ORVANE_TEST(SettingsStoreTest)
#include "SettingsStoreTest.moc"
