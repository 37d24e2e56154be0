#include "link/PortDevices.h"

#include <QCollator>
#include <QFileInfo>
#include <QSerialPortInfo>
#include <QSettings>
#include <algorithm>

#ifndef Q_OS_WIN
#include <unistd.h>
#endif

QString resolvePortDevice(int number, const QString &overridePath, const QStringList &listedDevices)
{
    if (number < 1)
        return QString();
#ifdef Q_OS_WIN
    Q_UNUSED(overridePath);
    Q_UNUSED(listedDevices);
    return QStringLiteral("COM%1").arg(number);
#else
    if (!overridePath.trimmed().isEmpty())
        return overridePath.trimmed();
    if (number <= listedDevices.size())
        return listedDevices.at(number - 1);
    return QStringLiteral("/dev/ttyS%1").arg(number - 1);
#endif
}

QStringList listedSerialDevices()
{
    QStringList devices;
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts())
        devices << info.systemLocation();
    // ttyS2 before ttyS10, whatever order the system enumerates them in.
    QCollator natural;
    natural.setNumericMode(true);
    std::sort(devices.begin(), devices.end(),
              [&natural](const QString &a, const QString &b) { return natural.compare(a, b) < 0; });
    return devices;
}

QString portDevicePath(int number)
{
    QString overridePath;
#ifndef Q_OS_WIN
    // Read only: the program never writes this section; it is there for owners (and tests)
    // whose adapter does not come first in the system's list.
    QSettings store(QStringLiteral("Orvane"), QStringLiteral("Orvane"));
    store.setFallbacksEnabled(false);
    overridePath = store.value(QStringLiteral("PORTS/Port%1").arg(number)).toString();
    if (!overridePath.trimmed().isEmpty())
        return resolvePortDevice(number, overridePath, {});
#endif
    return resolvePortDevice(number, overridePath, listedSerialDevices());
}

QString portDeviceDescription(const QString &devicePath)
{
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts()) {
        if (info.systemLocation() == devicePath || info.portName() == devicePath) {
            QString text = info.description();
            if (!info.manufacturer().isEmpty() && !text.contains(info.manufacturer()))
                text = text.isEmpty() ? info.manufacturer() : text + QStringLiteral(", ") + info.manufacturer();
            return text;
        }
    }
    return QString();
}

QString deviceAccessProblem(bool usable, bool ownedByAccount, const QString &group,
                            QFileDevice::Permissions permissions)
{
    if (usable)
        return QString();
    const bool groupMayUse = permissions.testFlag(QFileDevice::ReadGroup) &&
                             permissions.testFlag(QFileDevice::WriteGroup);
    if (group.isEmpty() || ownedByAccount || !groupMayUse)
        return QStringLiteral("no permission: your account has no access to this device");
    return QStringLiteral("no permission: your account must be a member of the group \"%1\" "
                          "(then log in again)").arg(group);
}

QString portAccessProblem(const QString &devicePath)
{
#ifdef Q_OS_WIN
    Q_UNUSED(devicePath);
    return QString();
#else
    const QFileInfo info(devicePath);
    if (devicePath.isEmpty() || !info.exists())
        return QString();
    return deviceAccessProblem(info.isReadable() && info.isWritable(), info.ownerId() == ::geteuid(), info.group(),
                               info.permissions());
#endif
}
