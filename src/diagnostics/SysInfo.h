#pragma once
// The About box's "System Info" button: the system information tool, found through the
// registry on Windows; elsewhere the button reports that it is unavailable.

#include <QByteArray>
#include <QString>
#include <cstdint>

// Registry value types that GetKeyValue understands.
constexpr quint32 kRegistryText = 1;   // a text
constexpr quint32 kRegistryNumber = 4; // a 32-bit number

// Root keys, as the registry numbers them.
constexpr quint32 kHkeyLocalMachine = 0x80000002u;

// What GetKeyValue makes of a value's data, already cut to the size the registry returned:
// one trailing NUL is dropped; a text value is that text, a number value the number in
// decimal. Returns false for other types, leaving KeyVal unchanged.
bool keyValueFromData(quint32 type, QByteArray data, QString &KeyVal);

// Reads value SubKeyRef of key KeyName below KeyRoot into KeyVal; true when it was read.
// KeyVal is empty after a failure. Always false where there is no registry.
bool GetKeyValue(quint32 KeyRoot, const QString &KeyName, const QString &SubKeyRef, QString &KeyVal);

inline const QString kSysInfoUnavailable = QStringLiteral("System Information Is Unavailable At This Time");

// Starts the system information tool, or says that it is unavailable.
void StartSysInfo();
