#include "config/ReceiverConfig.h"

ReceiverConfigRecord ReceiverConfig;
std::array<QString, 100> FipsList;
std::array<QString, 49> EventList;
std::array<quint8, 32> SettingsImage{};

void clearReceiverConfig()
{
    ReceiverConfig = ReceiverConfigRecord{};
    FipsList.fill(QString());
    EventList.fill(QString());
    SettingsImage.fill(0);
}

std::array<bool *, 8> flagBits(NV8007Group &g)
{
    return {&g.GiveStationID, &g.AppendThisIs, &g.AppendRepeater, &g.AppendTransmitter,
            &g.Spare8007_1, &g.Spare8007_2, &g.Spare8007_3, &g.Spare8007_4};
}
std::array<bool *, 8> flagBits(NV8008Group &g)
{
    return {&g.SpeakerActive, &g.LineActive, &g.AlertLedActive, &g.ForceOnSpeaker,
            &g.ForceOnLine, &g.AcceptAllFips, &g.AcceptAllEvents, &g.IgnoreTerminationPacket};
}
std::array<bool *, 8> flagBits(NV8009Group &g)
{
    return {&g.AcceptAllAlerts, &g.WatchAndWarningOnly, &g.WarningOnly, &g.CancelAlert,
            &g.SkipVoiceAnnc, &g.ForceVocInterval, &g.Spare8009_1, &g.Spare8009_2};
}
std::array<bool *, 8> flagBits(NV800AGroup &g)
{
    return {&g.AcceptAllAlerts, &g.WatchAndWarningOnly, &g.WarningOnly, &g.CancelAlert,
            &g.SkipVoiceAnnc, &g.ForceVocInterval, &g.Spare800A_1, &g.Spare800A_2};
}
std::array<bool *, 8> flagBits(NV800BGroup &g)
{
    return {&g.VoiceIntervalSpeaker, &g.VoiceIntervalLine, &g.VocAllEvents, &g.VocWarningsWatch,
            &g.VocWarnings, &g.VocTruncateTest, &g.Spare800B_1, &g.Spare800B_2};
}

namespace {

quint8 flagByte(const std::array<bool *, 8> &bits)
{
    quint8 byte = 0;
    for (int n = 0; n < 8; ++n)
        if (*bits[n])
            byte |= quint8(1u << n);
    return byte;
}

// Timer codes outside the receiver's range are sent as 0 rather than rejected.
quint8 timerCode(qint16 value, int low, int high)
{
    return (value >= low && value <= high) ? quint8(value) : 0;
}

} // namespace

void buildSettingsImage()
{
    SettingsImage.fill(0);
    auto &t = ReceiverConfig.TIMERS;
    SettingsImage[1] = timerCode(t.SpeakerTimeoutTimer, 1, 6);
    SettingsImage[2] = timerCode(t.LineTimeoutTimer, 1, 6);
    SettingsImage[3] = timerCode(t.VoiceIntervalTimer, 1, 6);
    SettingsImage[4] = timerCode(t.RelayDelayTimer, 0, 4);
    SettingsImage[5] = timerCode(t.PreVoiceAnnc, 0, 4);

    SettingsImage[7] = flagByte(flagBits(ReceiverConfig.NV8007));
    SettingsImage[8] = flagByte(flagBits(ReceiverConfig.NV8008));
    SettingsImage[9] = flagByte(flagBits(ReceiverConfig.NV8009));
    SettingsImage[10] = flagByte(flagBits(ReceiverConfig.NV800A));
    SettingsImage[11] = flagByte(flagBits(ReceiverConfig.NV800B));

    // An identification of 16 or more characters is not cut short: the receiver gets none.
    const QString &id = ReceiverConfig.EDITOR.UserStationID;
    if (id.size() >= 16)
        return;
    SettingsImage[16] = quint8(id.size());
    for (int i = 0; i < id.size(); ++i)
        SettingsImage[17 + i] = EncodeIdChar(id.at(i));
}

quint8 EncodeIdChar(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return quint8(u - u'0');
    if (u >= u'A' && u <= u'Z')
        return quint8(10 + (u - u'A'));
    if (u == u'/')
        return 36;
    return 0; // lower case, blanks and everything else share the code of "0"
}

QString DecodeIdChar(quint8 code)
{
    if (code <= 9)
        return QString(QChar(u'0' + code));
    if (code <= 35)
        return QString(QChar(u'A' + (code - 10)));
    if (code == 36)
        return QStringLiteral("/");
    return QString();
}
