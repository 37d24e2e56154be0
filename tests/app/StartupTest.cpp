#include "config/ConfigTestSupport.h"
#include "support/TestRegistry.h"

#include "app/Startup.h"
#include "app/frmMain.h"

#include <QApplication>
#include <QLabel>
#include <QScopeGuard>
#include <ctime>
#include <memory>

class StartupTest : public QObject
{
    Q_OBJECT
private slots:
    void init() { freshState(); }

    void loadingStepsInOrder()
    {
        QStringList names;
        for (const StartupStep &step : startupLoadingSteps())
            names << step.name;
        QVERIFY(!names.contains(QString()));
        // Settings before the version override, the version before the parameter file, the
        // parameter file just before the county windows that show it.
        int previous = -1;
        for (const char *name : {"notePcDaylightState", "loadSettings", "initEventTable", "setEditorVersion",
                                 "readParameterFile", "initStateSelection", "fillFipsListBox"}) {
            QVERIFY2(names.indexOf(name) > previous, name);
            previous = int(names.indexOf(name));
        }
        QCOMPARE(names.indexOf("initStateSelection"), names.indexOf("readParameterFile") + 1);
        QCOMPARE(names.indexOf("fillFipsListBox"), names.indexOf("readParameterFile") + 2);
    }

    void splashShowsCurrentVersionAfterLoading()
    {
        putSetting("EDITOR/EditorVersion", "1.00");
        putSetting("EDITOR/UserStationID", "WXK99");
        // Look at the splash while start-up waits on it.
        QString splashText;
        bool mainVisibleDuringSplash = true;
        Platform::setEventWaiter([&](int ms) {
            for (QWidget *w : QApplication::topLevelWidgets()) {
                if (w->objectName() == QLatin1String("frmSplash") && w->isVisible())
                    splashText = w->findChild<QLabel *>("Label1")->text();
                if (w->objectName() == QLatin1String("frmMain"))
                    mainVisibleDuringSplash = w->isVisible();
            }
            doubles().monotonic += ms;
        });
        std::unique_ptr<frmMain> main(startup());
        QCOMPARE(splashText, QStringLiteral("Orvane Editor version = 1.05"));
        QVERIFY(!mainVisibleDuringSplash);
        QVERIFY(main->isVisible());
        QCOMPARE(ReceiverConfig.EDITOR.UserStationID, QStringLiteral("WXK99"));
        QCOMPARE(ReceiverConfig.EDITOR.EditorVersion, QStringLiteral("1.05"));
        for (QWidget *w : QApplication::topLevelWidgets())
            QVERIFY(w->objectName() != QLatin1String("frmSplash") || !w->isVisible());
    }

    // The splash stays until two seconds after the start, timed on a monotonic clock (so
    // midnight and clock changes cannot touch it): loading that "takes" 300 ms leaves a wait
    // of 1700 ms; a slow start, or a clock that reads earlier than the start, closes it at once.
    void splashWaitsUntilTwoSecondsAfterStart_data()
    {
        QTest::addColumn<qint64>("start");
        QTest::addColumn<qint64>("loaded");
        QTest::addColumn<QList<int>>("waits");
        QTest::newRow("quick start") << qint64(5000) << qint64(5300) << QList<int>{1700};
        QTest::newRow("slow start") << qint64(0) << qint64(2600) << QList<int>{};
        QTest::newRow("clock going back") << qint64(86'399'000) << qint64(1'000) << QList<int>{};
    }
    void splashWaitsUntilTwoSecondsAfterStart()
    {
        QFETCH(qint64, start);
        QFETCH(qint64, loaded);
        QFETCH(QList<int>, waits);
        int calls = 0;
        Platform::setMonotonicClock([&] { return ++calls == 1 ? start : doubles().monotonic; });
        doubles().monotonic = loaded;
        std::unique_ptr<frmMain> main(startup());
        QCOMPARE(doubles().waits, waits);
        QVERIFY(main->isVisible());
    }

    // Where daylight saving is kept, the flag says what the C library says of this moment
    // (whichever it is, a note the wrong way round shows in one of the two hemispheres);
    // where it is not kept (UTC) the flag stays false.
    void daylightFlagFollowsTheSystemZone_data()
    {
        QTest::addColumn<QByteArray>("zone");
        QTest::newRow("New York") << QByteArray("America/New_York");
        QTest::newRow("Sydney") << QByteArray("Australia/Sydney");
        QTest::newRow("daylight all year") << QByteArray("XST5XDT,J1/0,J365/25");
        QTest::newRow("UTC: left false") << QByteArray("UTC");
    }
    void daylightFlagFollowsTheSystemZone()
    {
        QFETCH(QByteArray, zone);
        const QByteArray savedTz = qgetenv("TZ");
        const auto restore = qScopeGuard([&] {
            if (savedTz.isNull())
                qunsetenv("TZ");
            else
                qputenv("TZ", savedTz);
            tzset();
        });
        qputenv("TZ", zone);
        tzset();
        const time_t now = time(nullptr);
        tm local{};
        localtime_r(&now, &local);
        const bool expected = local.tm_isdst > 0;
        // A zone without daylight saving leaves the flag as it was: false from the start.
        PcDaylightActive = zone == "UTC" ? false : !expected;
        notePcDaylightState();
        QCOMPARE(PcDaylightActive, expected);
    }
};

ORVANE_TEST(StartupTest)
#include "StartupTest.moc"
