#include "config/DaylightState.h"

#include <QDateTime>
#include <QTimeZone>

bool PcDaylightActive = false;

void notePcDaylightState()
{
    const QTimeZone zone = QTimeZone::systemTimeZone();
    if (!zone.isValid() || !zone.hasDaylightTime())
        return;
    PcDaylightActive = zone.isDaylightTime(QDateTime::currentDateTime());
}
