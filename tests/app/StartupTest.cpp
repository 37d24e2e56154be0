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

    void splashWaitsUntilTwoSecondsAfterStart()
    {
        // Loading "takes" 300 ms on the seam clock: the splash waits the remaining 1700 ms.
        int calls = 0;
        Platform::setMonotonicClock([&] {
            ++calls;
            return calls == 1 ? qint64(5000) : doubles().monotonic;
        });
        doubles().monotonic = 5300;
        std::unique_ptr<frmMain> main(startup());
        QCOMPARE(doubles().waits, QList<int>({1700}));
        QCOMPARE(doubles().monotonic, qint64(7000));
    }

    void slowStartClosesSplashAtOnce()
    {
        int calls = 0;
        Platform::setMonotonicClock([&] { return ++calls == 1 ? qint64(0) : qint64(2600); });
        std::unique_ptr<frmMain> main(startup());
        QVERIFY(doubles().waits.isEmpty());
        QVERIFY(main->isVisible());
    }

    // The wall clock crossing midnight (or being set back) does not touch the splash time.
    // The splash is timed on a monotonic clock, so midnight and clock changes cannot touch
    // it; should that clock ever read earlier than the start, the splash closes at once
    // instead of waiting for the clock to catch up.
    void clockGoingBackNeverHoldsTheSplash()
    {
        int calls = 0;
        Platform::setMonotonicClock([&] { return ++calls == 1 ? qint64(86'399'000) : qint64(1'000); });
        std::unique_ptr<frmMain> main(startup());
        QVERIFY(doubles().waits.isEmpty());
        QVERIFY(main->isVisible());
    }

    // Where daylight saving is kept, the flag says what the C library says of this moment
    // (whichever it is, a note the wrong way round shows in one of the two hemispheres).
    void daylightFlagInZonesThatKeepIt_data()
    {
        QTest::addColumn<QByteArray>("zone");
        QTest::newRow("New York") << QByteArray("America/New_York");
        QTest::newRow("Sydney") << QByteArray("Australia/Sydney");
        QTest::newRow("daylight all year") << QByteArray("XST5XDT,J1/0,J365/25");
    }
    void daylightFlagInZonesThatKeepIt()
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
        PcDaylightActive = !expected;
        notePcDaylightState();
        QCOMPARE(PcDaylightActive, expected);
    }

    void daylightFlagFollowsTheSystemZone()
    {
        const QByteArray savedTz = qgetenv("TZ");
        PcDaylightActive = false;
        qputenv("TZ", "UTC");
        tzset();
        notePcDaylightState();
        QVERIFY(!PcDaylightActive); // a zone without daylight saving leaves it false
        if (savedTz.isNull())
            qunsetenv("TZ");
        else
            qputenv("TZ", savedTz);
        tzset();
    }
};

ORVANE_TEST(StartupTest)
#include "StartupTest.moc"
