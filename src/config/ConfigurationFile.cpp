#include "config/ConfigurationFile.h"

#include "config/SettingsStore.h"

#include <QFile>
#include <QSaveFile>
#include <QSet>
#include <QStringDecoder>

namespace {

const QString kHeader = QStringLiteral("Orvane Configuration File");
const QString kVersionKey = QStringLiteral("FormatVersion");
const QString kEndLine = QStringLiteral("End");
const QString kFipsKey = QStringLiteral("FipsList/");
const QString kEventKey = QStringLiteral("EventList/");
constexpr int kMaxFipsSlots = 99; // slot 99 is never stored

bool hasControlCharacter(const QString &text)
{
    for (QChar c : text)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            return true;
    return false;
}

// The slot a list key names ("FipsList/12"), or -1 when it names none of `slotCount`.
int listSlot(const QString &key, const QString &prefix, int slotCount)
{
    bool ok = false;
    const QString number = key.mid(prefix.size());
    const int slot = number.toInt(&ok);
    if (!ok || number != QString::number(slot) || slot < 0 || slot >= slotCount)
        return -1;
    return slot;
}

} // namespace

ConfigurationContent currentConfiguration()
{
    return {ReceiverConfig, FipsList, EventList};
}

void applyConfiguration(const ConfigurationContent &content)
{
    ReceiverConfig = content.record;
    FipsList = content.fips;
    EventList = content.events;
}

QByteArray configurationFileText(const ConfigurationContent &content)
{
    // Control characters in a value would break its line; they are written as blanks, as the
    // parameter file does.
    auto clean = [](QString text) {
        for (QChar &c : text)
            if (c.unicode() < 0x20 || c.unicode() == 0x7F)
                c = u' ';
        return text;
    };
    QString out = kHeader + u'\n' + kVersionKey + u'=' + QString::number(kConfigurationFormatVersion) + u'\n';
    for (const auto &[key, value] : settingsTexts(content.record))
        out += key + u'=' + clean(value) + u'\n';
    for (int slot = 0; slot < kMaxFipsSlots; ++slot)
        if (!content.fips[slot].isEmpty())
            out += kFipsKey + QString::number(slot) + u'=' + clean(content.fips[slot]) + u'\n';
    for (std::size_t slot = 0; slot < content.events.size(); ++slot)
        if (!content.events[slot].isEmpty())
            out += kEventKey + QString::number(slot) + u'=' + clean(content.events[slot]) + u'\n';
    out += kEndLine + u'\n';
    return out.toUtf8();
}

ConfigurationParse parseConfigurationFile(const QByteArray &bytes)
{
    ConfigurationParse result;
    auto fail = [&result](int line, const QString &why) {
        result.line = line;
        result.error = why;
        return result;
    };
    if (bytes.size() > kConfigurationFileMaxBytes)
        return fail(0, QStringLiteral("The file is too large to be an Orvane configuration."));
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(bytes);
    if (utf8.hasError())
        return fail(0, QStringLiteral("The file is not a text file."));
    QStringList lines = text.split(u'\n');
    if (!lines.isEmpty() && lines.constLast().isEmpty())
        lines.removeLast(); // the end line's own line end
    for (QString &line : lines)
        if (line.endsWith(u'\r'))
            line.chop(1);

    if (lines.isEmpty() || lines[0] != kHeader)
        return fail(1, QStringLiteral("This is not an Orvane configuration file (it does not begin with \"%1\").").arg(kHeader));
    if (lines.size() < 2 || !lines[1].startsWith(kVersionKey + u'='))
        return fail(2, QStringLiteral("The format version is missing."));
    const QString version = lines[1].mid(kVersionKey.size() + 1);
    if (version != QString::number(kConfigurationFormatVersion))
        return fail(2, QStringLiteral("The file has format version \"%1\"; this editor reads version %2.")
                           .arg(version)
                           .arg(kConfigurationFormatVersion));

    ConfigurationContent &content = result.content;
    const QStringList keys = settingsStoreKeys();
    QSet<QString> seen;
    int lineNumber = 2;
    bool ended = false;
    for (int i = 2; i < lines.size(); ++i) {
        lineNumber = i + 1;
        const QString &line = lines[i];
        if (ended)
            return fail(lineNumber, QStringLiteral("There is text after the end line."));
        if (line == kEndLine) {
            ended = true;
            continue;
        }
        const int equals = line.indexOf(u'=');
        if (equals <= 0)
            return fail(lineNumber, QStringLiteral("The line is not of the form Name=value."));
        const QString key = line.left(equals);
        const QString value = line.mid(equals + 1);
        if (hasControlCharacter(value))
            return fail(lineNumber, QStringLiteral("The value of %1 holds a control character.").arg(key));
        if (seen.contains(key))
            return fail(lineNumber, QStringLiteral("%1 is given twice.").arg(key));
        seen.insert(key);
        if (key.startsWith(kFipsKey)) {
            const int slot = listSlot(key, kFipsKey, kMaxFipsSlots);
            if (slot < 0)
                return fail(lineNumber, QStringLiteral("%1 is not a county slot (0 to %2).").arg(key).arg(kMaxFipsSlots - 1));
            content.fips[slot] = value;
        } else if (key.startsWith(kEventKey)) {
            const int slot = listSlot(key, kEventKey, int(content.events.size()));
            if (slot < 0)
                return fail(lineNumber, QStringLiteral("%1 is not an event slot (0 to %2).").arg(key).arg(content.events.size() - 1));
            content.events[slot] = value;
        } else {
            switch (setSettingFromText(content.record, key, value)) {
            case SettingAssignment::Set:
                break;
            case SettingAssignment::UnknownKey:
                return fail(lineNumber, QStringLiteral("%1 is not a setting of the editor.").arg(key));
            case SettingAssignment::BadValue:
                return fail(lineNumber, QStringLiteral("\"%1\" is not a valid value for %2.").arg(value, key));
            }
        }
    }
    if (!ended)
        return fail(lineNumber, QStringLiteral("The file ends early: its end line is missing."));
    for (const QString &key : keys)
        if (!seen.contains(key))
            return fail(lineNumber, QStringLiteral("%1 is missing.").arg(key));
    result.ok = true;
    return result;
}

QString writeConfigurationFile(const QString &path, const ConfigurationContent &content)
{
    // Written beside the old file and renamed over it only when complete; the flush shows a
    // write cut short by a full disk before the old file is given up.
    QSaveFile file(path);
    const QByteArray bytes = configurationFileText(content);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush() && file.commit())
        return {};
    const QString why = file.errorString();
    file.cancelWriting();
    return why;
}

ConfigurationParse readConfigurationFile(const QString &path)
{
    QFile file(path);
    ConfigurationParse result;
    if (!file.open(QIODevice::ReadOnly)) {
        result.error = file.errorString();
        return result;
    }
    if (file.size() > kConfigurationFileMaxBytes) {
        result.error = QStringLiteral("The file is too large to be an Orvane configuration.");
        return result;
    }
    return parseConfigurationFile(file.read(kConfigurationFileMaxBytes + 1));
}
