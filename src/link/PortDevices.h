// Receiver link (src/link): port, link, transfer, history decoding; uses core, config, the event table.
#pragma once
// Which device a port number (1 to 4, as the owner picks it) stands for, and what the setup
// window says about it.

#include <QFileDevice>
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
// way that can be seen beforehand. On Linux this names the group that owns the device when
// joining that group would give access.
QString portAccessProblem(const QString &devicePath);

// The same from what is known of the device: whether the account may read and write it,
// whether the account owns it (then the owner's permission bits rule, not the group's), the
// owning group and the permission bits. Naming the group helps only when the group itself
// may read and write the device; otherwise the note says that the account has no access.
QString deviceAccessProblem(bool usable, bool ownedByAccount, const QString &group,
                            QFileDevice::Permissions permissions);
