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
        QVERIFY(main->isVisible() && ReceiverConfig.EDITOR.UserStationID == QLatin1String("WXK99"));
        QCOMPARE(ReceiverConfig.EDITOR.EditorVersion, QStringLiteral("1.05"));
        for (QWidget *w : QApplication::topLevelWidgets())
            QVERIFY(w->objectName() != QLatin1String("frmSplash") || !w->isVisible());
    }

    // The splash stays until two seconds after the start, timed on a monotonic clock (so
    // midnight and clock changes cannot touch it): loading that "takes" 300 ms leaves a wait
    // of 1700 ms; a slow start, or a clock that reads earlier than the start, closes it at once.
    void splashWaitsUntilTwoSecondsAfterStart()
    {
        const struct { qint64 start, loaded; QList<int> waits; } rows[] = {
            {5000, 5300, {1700}}, {0, 2600, {}}, {86'399'000, 1'000, {}}};
        for (const auto &r : rows) {
            doubles().clear();
            int calls = 0;
            Platform::setMonotonicClock([&] { return ++calls == 1 ? r.start : doubles().monotonic; });
            doubles().monotonic = r.loaded;
            std::unique_ptr<frmMain> main(startup());
            QCOMPARE(doubles().waits, r.waits);
            QVERIFY(main->isVisible());
        }
    }

    // Where daylight saving is kept, the flag says what the C library says of this moment
    // (whichever it is, a note the wrong way round shows in one of the two hemispheres);
    // where it is not kept (UTC) the flag stays false.
    void daylightFlagFollowsTheSystemZone()
    {
        const QByteArray savedTz = qgetenv("TZ");
        const auto restore = qScopeGuard([&] {
            savedTz.isNull() ? qunsetenv("TZ") : qputenv("TZ", savedTz);
            tzset();
        });
        for (const char *zone : {"America/New_York", "Australia/Sydney", "XST5XDT,J1/0,J365/25", "UTC"}) {
            qputenv("TZ", zone);
            tzset();
            const time_t now = time(nullptr);
            tm local{};
            localtime_r(&now, &local);
            const bool expected = local.tm_isdst > 0;
            // A zone without daylight saving leaves the flag as it was: false from the start.
            PcDaylightActive = qstrcmp(zone, "UTC") == 0 ? false : !expected;
            notePcDaylightState();
            QVERIFY2(PcDaylightActive == expected, zone);
        }
    }
};
ORVANE_TEST(StartupTest)
#include "StartupTest.moc"
