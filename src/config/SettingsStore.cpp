#include "config/SettingsStore.h"

#include "config/ReceiverConfig.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <functional>
#include <optional>
#include <cstdio>
#include <variant>
#include <vector>

namespace {

struct SettingsKey {
    const char *section;
    const char *key;
    std::variant<bool *, qint16 *, QString *> field;
    QString defaultText; // a null text means "the current directory at the time of reading"
};

std::vector<SettingsKey> settingsTable(ReceiverConfigRecord &r = ReceiverConfig)
{
    auto &e = r.EDITOR;
    std::vector<SettingsKey> table = {
        {"EDITOR", "SerialPort", &e.SerialPort, "1"},
        {"EDITOR", "WorkingDirectory", &e.WorkingDirectory, QString()},
        {"EDITOR", "EditorVersion", &e.EditorVersion, "1.00"},
        {"EDITOR", "ReceiverVersion", &e.ReceiverVersion, "1.00"},
        {"EDITOR", "ShowTipsAtStartup", &e.ShowTipsAtStartup, "True"},
        {"EDITOR", "TimeZoneOffset", &e.TimeZoneOffset, "-5"},
        {"EDITOR", "DaylightSavings", &e.DaylightSavings, "True"},
        {"EDITOR", "StateID", &e.StateID, "8"},
        {"EDITOR", "TransmitterLocation", &e.TransmitterLocation, ""},
        {"EDITOR", "FrequencyListingFilter", &e.FrequencyListingFilter, "0"},
        {"EDITOR", "UserStationID", &e.UserStationID, ""},
    };
    auto addFlags = [&table](const char *section, const std::array<bool *, 8> &bits,
                             const std::array<const char *, 8> &keys, const char *defaults) {
        for (int n = 0; n < 8; ++n)
            table.push_back({section, keys[n], bits[n], QString(QChar(defaults[n]))});
    };
    addFlags("NV8007", flagBits(r.NV8007),
             {"GiveStationID", "AppendThisIs", "AppendRepeater", "AppendTransmitter",
              "Spare8007_1", "Spare8007_2", "Spare8007_3", "Spare8007_4"},
             "00000000");
    addFlags("NV8008", flagBits(r.NV8008),
             {"SpeakerActive", "LineActive", "AlertLedActive", "ForceOnSpeaker", "ForceOnLine",
              "AcceptAllFips", "AcceptAllEvents", "IgnoreTerminationPacket"},
             "11111000");
    addFlags("NV8009", flagBits(r.NV8009),
             {"AcceptAllAlerts", "WatchAndWarningOnly", "WarningOnly", "CancelAlert",
              "SkipVoiceAnnc", "ForceVocInterval", "Spare8009_1", "Spare8009_2"},
             "00000000");
    addFlags("NV800A", flagBits(r.NV800A),
             {"AcceptAllAlerts", "WatchAndWarningOnly", "WarningOnly", "CancelAlert",
              "SkipVoiceAnnc", "ForceVocInterval", "Spare800A_1", "Spare800A_2"},
             "00000000");
    addFlags("NV800B", flagBits(r.NV800B),
             {"VoiceIntervalSpeaker", "VoiceIntervalLine", "VocAllEvents", "VocWarningsWatch",
              "VocWarnings", "VocTruncateTest", "Spare800B_1", "Spare800B_2"},
             "11100100");
    auto &t = r.TIMERS;
    table.push_back({"TIMERS", "SpeakerTimeoutTimer", &t.SpeakerTimeoutTimer, "3"});
    table.push_back({"TIMERS", "LineTimeoutTimer", &t.LineTimeoutTimer, "3"});
    table.push_back({"TIMERS", "VoiceIntervalTimer", &t.VoiceIntervalTimer, "1"});
    table.push_back({"TIMERS", "RelayDelayTimer", &t.RelayDelayTimer, "0"});
    table.push_back({"TIMERS", "PreVoiceAnnc", &t.PreVoiceAnnc, "2"});
    return table;
}

QString storeKey(const SettingsKey &k)
{
    return QString::fromLatin1(k.section) + u'/' + QString::fromLatin1(k.key);
}

QString fieldText(const SettingsKey &k)
{
    return std::visit(
        [](auto *field) -> QString {
            using T = std::remove_pointer_t<decltype(field)>;
            if constexpr (std::is_same_v<T, QString>)
                return *field;
            else if constexpr (std::is_same_v<T, bool>)
                return settingsBoolText(*field);
            else
                return QString::number(*field);
        },
        k.field);
}

// Sets the field from its text; false (the field unchanged) when the text does not convert.
bool setFieldFromText(const SettingsKey &k, const QString &text)
{
    return std::visit(
        [&text](auto *field) {
            using T = std::remove_pointer_t<decltype(field)>;
            if constexpr (std::is_same_v<T, QString>) {
                *field = text;
                return true;
            } else {
                const auto value = [&text] {
                    if constexpr (std::is_same_v<T, bool>)
                        return settingsTextToBool(text);
                    else
                        return settingsTextToInt16(text);
                }();
                if (value)
                    *field = *value;
                return value.has_value();
            }
        },
        k.field);
}

} // namespace

QList<std::pair<QString, QString>> settingsTexts(const ReceiverConfigRecord &record)
{
    ReceiverConfigRecord copy = record;
    QList<std::pair<QString, QString>> texts;
    for (const SettingsKey &k : settingsTable(copy))
        texts.append({storeKey(k), fieldText(k)});
    return texts;
}

SettingAssignment setSettingFromText(ReceiverConfigRecord &record, const QString &key, const QString &text)
{
    for (const SettingsKey &k : settingsTable(record))
        if (storeKey(k) == key)
            return setFieldFromText(k, text) ? SettingAssignment::Set : SettingAssignment::BadValue;
    return SettingAssignment::UnknownKey;
}

QStringList settingsStoreKeys()
{
    QStringList keys;
    for (const SettingsKey &k : settingsTable())
        keys.append(storeKey(k));
    return keys;
}

std::optional<bool> settingsTextToBool(const QString &text)
{
    const QString t = text.trimmed();
    if (t.compare(u"True", Qt::CaseInsensitive) == 0)
        return true;
    if (t.compare(u"False", Qt::CaseInsensitive) == 0)
        return false;
    // Plain decimal numbers only: "nan" and "inf" would convert as doubles but are no numbers.
    static const QRegularExpression decimal(QStringLiteral("^[+-]?(\\d+(\\.\\d*)?|\\.\\d+)$"));
    if (!decimal.match(t).hasMatch())
        return std::nullopt;
    return t.toDouble() != 0.0;
}

std::optional<qint16> settingsTextToInt16(const QString &text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok, 10);
    if (!ok || value < -32768 || value > 32767)
        return std::nullopt;
    return qint16(value);
}

QString settingsBoolText(bool value)
{
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

bool loadSettings()
{
    QSettings store(QStringLiteral("Orvane"), QStringLiteral("Orvane"));
    store.setFallbacksEnabled(false);
    for (const SettingsKey &k : settingsTable()) {
        const QString fallback = k.defaultText.isNull() ? QDir::currentPath() : k.defaultText;
        if (!setFieldFromText(k, store.value(storeKey(k), fallback).toString()))
            return false; // this key and every later key keep their values
    }
    return true;
}

namespace {

void writeValues(QSettings &store)
{
    for (const SettingsKey &k : settingsTable())
        store.setValue(storeKey(k), fieldText(k));
}

// Whether the folder of `path` refuses a new file (the temporary and lock files the store
// is written through), as a folder the owner may not write to does.
bool folderRefusesNewFiles(const QString &path)
{
    QTemporaryFile probe(QFileInfo(path).absolutePath() + QStringLiteral("/.orvane-XXXXXX"));
    return !probe.open();
}

// The store's text as the settings class makes it: `fill` writes into a copy in the system's
// temporary folder, which starts as a copy of `seed` when that file exists.
std::optional<QByteArray> stagedStoreText(const QString &seed, const std::function<void(QSettings &)> &fill)
{
    QTemporaryDir scratch;
    if (!scratch.isValid())
        return std::nullopt;
    const QString copy = scratch.filePath(QStringLiteral("store.conf"));
    if (!seed.isEmpty() && QFile::exists(seed) && !QFile::copy(seed, copy))
        return std::nullopt;
    {
        QSettings staged(copy, QSettings::IniFormat);
        fill(staged);
        staged.sync();
        if (staged.status() != QSettings::NoError)
            return std::nullopt;
    }
    QFile stagedFile(copy);
    if (!stagedFile.open(QIODevice::ReadOnly))
        return std::nullopt;
    return stagedFile.readAll();
}

// Writes the store in place, its text staged first: the settings class's own in-place write
// takes a write cut short (a full disk) for success, so here every error is checked.
bool writeStoreInPlace(const QString &path)
{
    const auto text = stagedStoreText(path, [](QSettings &staged) { writeValues(staged); });
    if (!text)
        return false;
    QFile target(path);
    const bool written = target.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
                         target.write(*text) == text->size() && target.flush();
    target.close();
    return written && target.error() == QFileDevice::NoError;
}

// The settings class never writes over a store file it cannot parse (a line without "=",
// as a hand edit of the file may leave), so every later save would fail. The store is made
// anew from what could be read and the record's values, and replaces the old file whole.
bool replaceUnparsableStore(const QSettings &store, const QString &path)
{
    const auto text = stagedStoreText({}, [&store](QSettings &fresh) {
        for (const QString &key : store.allKeys())
            fresh.setValue(key, store.value(key));
    });
    if (!text)
        return false;
    QSaveFile target(path);
    target.setDirectWriteFallback(true);
    const bool written = target.open(QIODevice::WriteOnly) && target.write(*text) == text->size() &&
                         target.flush() && target.commit();
    if (!written)
        target.cancelWriting();
    return written;
}

} // namespace

bool saveSettings()
{
    QString path;
    {
        QSettings store(QStringLiteral("Orvane"), QStringLiteral("Orvane"));
        store.setFallbacksEnabled(false);
        writeValues(store);
        store.sync();
        if (store.status() == QSettings::NoError)
            return true;
        path = store.fileName();
        if (store.status() == QSettings::FormatError && QFileInfo(path).isFile())
            return replaceUnparsableStore(store, path);
    }
    // The store is replaced through a new file beside it, so a crash while writing leaves
    // the old one whole. A folder that takes no new file, holding a store the owner may
    // write, gets the store written in place instead of not at all (a store that is no file,
    // such as a registry, never comes here for that reason).
    if (!QFileInfo(path).isFile() || !folderRefusesNewFiles(path))
        return false;
    return writeStoreInPlace(path);
}
