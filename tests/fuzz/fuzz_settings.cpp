// The settings store's values. Byte 0, bit 0: 0 = the rest is the store's INI file as it lies
// on disk; 1 = the rest is a list of values split at 0 bytes, written through the settings
// class under the store's keys in table order. Loading must stop at an unconvertible value
// (later fields keep theirs), texts must arrive unchanged, and whatever the record then holds
// must make a settings block within the receiver's ranges, and save and load back to the
// same store.
#include "FuzzSupport.h"

#include "config/ReceiverConfig.h"
#include "config/SettingsStore.h"

#include <QFile>
#include <QSettings>

namespace {

QByteArray storeBytes()
{
    QSettings store(QStringLiteral("Orvane"), QStringLiteral("Orvane"));
    QFile file(store.fileName());
    if (!file.open(QIODevice::ReadOnly))
        std::abort();
    return file.readAll();
}

constexpr qint16 kUntouched = 12345; // no store value loads as this by chance in a short input

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzz::setUp();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    // A folder of its own for every input: the settings class keeps the files it has read.
    static int round = 0;
    QTemporaryDir home(QDir::current().filePath(QStringLiteral("store-%1-XXXXXX").arg(++round)));
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, home.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, home.path());

    const QByteArray rest(reinterpret_cast<const char *>(data) + 1, int(size - 1));
    const QStringList keys = settingsStoreKeys();
    QStringList values;
    {
        QSettings store(QStringLiteral("Orvane"), QStringLiteral("Orvane"));
        if (data[0] & 1) {
            for (const QByteArray &value : rest.split('\0'))
                values.append(QString::fromLatin1(value));
            for (qsizetype k = 0; k < values.size() && k < keys.size(); ++k)
                store.setValue(keys[k], values[k]);
            store.sync();
        } else {
            QDir().mkpath(home.path() + QStringLiteral("/Orvane"));
            QFile file(store.fileName());
            if (!file.open(QIODevice::WriteOnly) || file.write(rest) != rest.size())
                std::abort();
        }
    }

    clearReceiverConfig();
    ReceiverConfig.TIMERS.PreVoiceAnnc = kUntouched;
    const bool loaded = loadSettings();
    // The last key keeps its value when loading stopped anywhere.
    FUZZ_CHECK(loaded || ReceiverConfig.TIMERS.PreVoiceAnnc == kUntouched);
    if (loaded && (data[0] & 1)) {
        const EditorGroup &e = ReceiverConfig.EDITOR;
        const std::pair<const char *, const QString *> texts[] = {
            {"EDITOR/WorkingDirectory", &e.WorkingDirectory}, {"EDITOR/EditorVersion", &e.EditorVersion},
            {"EDITOR/ReceiverVersion", &e.ReceiverVersion}, {"EDITOR/TransmitterLocation", &e.TransmitterLocation},
            {"EDITOR/UserStationID", &e.UserStationID}};
        for (const auto &[key, field] : texts) {
            const qsizetype k = keys.indexOf(QLatin1String(key));
            FUZZ_CHECK(k >= 0);
            if (k < values.size())
                FUZZ_CHECK(*field == values[k]);
        }
    }

    // Whatever was loaded makes a settings block within the receiver's ranges.
    buildSettingsImage();
    const auto &image = SettingsImage;
    FUZZ_CHECK(image[0] == 0 && image[6] == 0 && image[12] == 0 && image[13] == 0 && image[14] == 0 && image[15] == 0);
    FUZZ_CHECK(image[1] <= 6 && image[2] <= 6 && image[3] <= 6 && image[4] <= 4 && image[5] <= 4);
    FUZZ_CHECK(image[16] <= 15 && image[16] == (ReceiverConfig.EDITOR.UserStationID.size() < 16
                                                    ? ReceiverConfig.EDITOR.UserStationID.size() : 0));
    for (int i = 17; i < 32; ++i)
        FUZZ_CHECK(image[i] <= 36 && (i < 17 + image[16] || image[i] == 0));

    // Whatever was loaded saves, loads back whole, and saves the very same store again.
    FUZZ_CHECK(saveSettings());
    const QByteArray saved = storeBytes();
    const ReceiverConfigRecord before = ReceiverConfig;
    clearReceiverConfig();
    FUZZ_CHECK(loadSettings());
    FUZZ_CHECK(ReceiverConfig.EDITOR.UserStationID == before.EDITOR.UserStationID &&
               ReceiverConfig.EDITOR.WorkingDirectory == before.EDITOR.WorkingDirectory &&
               ReceiverConfig.TIMERS.PreVoiceAnnc == before.TIMERS.PreVoiceAnnc);
    FUZZ_CHECK(saveSettings());
    FUZZ_CHECK(storeBytes() == saved);
    return 0;
}
