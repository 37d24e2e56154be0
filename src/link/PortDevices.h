// Receiver link (src/link): port, link, transfer, history decoding; uses core, config, the event table.
#pragma once
// Which device a port number (1 to 4, as the owner picks it) stands for, and what the setup
// window says about it.

#include <QString>
#include <QStringList>

// The device of port `number`, from its parts: an override path from the settings store
// (section PORTS, key Port<n>) wins, then the n-th of the listed serial devices, then
// /dev/ttyS<n-1>. On Windows the port is simply "COMn". Empty for a number below 1.
QString resolvePortDevice(int number, const QString &overridePath, const QStringList &listedDevices);

// The same, from the real settings store and the serial devices the system lists now.
QString portDevicePath(int number);

// The serial devices the system lists, in a stable (natural) order.
QStringList listedSerialDevices();

// The adapter's description where the system knows one ("USB-Serial Controller"), else empty.
QString portDeviceDescription(const QString &devicePath);

// Why the current user cannot open an existing device, or empty when nothing stands in the
// way that can be seen beforehand. On Linux this names the group that owns the device.
QString portAccessProblem(const QString &devicePath);
