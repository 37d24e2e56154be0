// Configuration (src/config): the record, its settings store and parameter file; uses core only.
#pragma once
// Every field of ReceiverConfig (but the two lists) in the per-user settings store,
// application "Orvane", one section per record group.

#include <QString>
#include <QList>
#include <QStringList>
#include <utility>
#include <optional>

// Reads every key in table order; a missing key gives its default. A value that does not
// convert stops loading at that key: it and every later field keep their values.
// Returns false when loading stopped early.
bool loadSettings();

// Writes every key in table order and flushes the store. A store file the settings class
// cannot parse is made anew from the keys it could read. The store file is replaced as a
// whole, so a failed save leaves the previous file intact. Returns false on failure.
bool saveSettings();

// The store's keys, "SECTION/Key", in table order.
QStringList settingsStoreKeys();

struct ReceiverConfigRecord;
// Every field of `record` but the two lists, by its store key in table order, with its text
// as the store holds it ("True", "-5", the text itself).
QList<std::pair<QString, QString>> settingsTexts(const ReceiverConfigRecord &record);
// Sets the field of `record` that the store key names from a text as the store holds it.
enum class SettingAssignment { Set, UnknownKey, BadValue };
SettingAssignment setSettingFromText(ReceiverConfigRecord &record, const QString &key, const QString &text);

// Value conversions of the store's texts.
std::optional<bool> settingsTextToBool(const QString &text);     // "True", "False", any number
std::optional<qint16> settingsTextToInt16(const QString &text);  // decimal, 16-bit range
QString settingsBoolText(bool value);                            // "True" / "False"
