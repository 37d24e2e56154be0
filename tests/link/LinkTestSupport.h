#pragma once
// What the link tests share: pointing a port at a device through the settings store's
// PORTS override, running the time-outs at a tenth of their length, and a clock-second
// pause that moves the test's wall clock instead of sleeping.

#include "support/Doubles.h"

#include "link/LinkState.h"
#include "link/TransferData.h"

#include <QSettings>

// Every time-out of the link runs at this fraction of its designed length in the tests
// (5 s -> 0.5 s, 20 s -> 2 s); late answers are scaled the same way.
constexpr double kTestTimeScale = 0.1;

inline void setPortDevice(int number, const QString &device)
{
    QSettings store(QStringLiteral("Orvane"), QStringLiteral("Orvane"));
    store.setValue(QStringLiteral("PORTS/Port%1").arg(number), device);
    store.sync();
}

inline void installFastLink()
{
    setLinkTimeScale(kTestTimeScale);
    setPauseSleeper([](int ms) { doubles().wallClock = doubles().wallClock.addMSecs(ms); });
}

inline void restoreLink()
{
    setLinkTimeScale(1.0);
    setPauseSleeper({});
    PortOpenState = false;
    LinkConnected = false;
    TransferTimedOut = false;
}
