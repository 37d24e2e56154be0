#include "editors/StationIdent.h"

#include "config/ReceiverConfig.h"

#include <algorithm>

QChar identInputChar(QChar c)
{
    const char16_t u = c.unicode();
    if (u < u'0' || u > u'z')
        return {};
    if (u > u'Z' && u < u'a') // [ \ ] ^ _ `
        return {};
    if (u > u'9' && u < u'A') // : ; < = > ? @
        return {};
    return (u >= u'a') ? QChar(char16_t(u - u'a' + u'A')) : c;
}

IdentEdit filterIdentEdit(const QString &before, const QString &after, int cursor)
{
    // The edit replaced the middle of `before` by the middle of `after`.
    const int shorter = int(std::min(before.size(), after.size()));
    int prefix = 0;
    while (prefix < shorter && before[prefix] == after[prefix])
        ++prefix;
    int suffix = 0;
    while (suffix < shorter - prefix && before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix])
        ++suffix;
    const QString inserted = after.mid(prefix, after.size() - prefix - suffix);
    if (inserted.isEmpty()) // a deletion
        return {after, cursor, false};

    QString kept;
    bool dropped = false;
    for (QChar c : inserted) {
        const QChar accepted = identInputChar(c);
        if (accepted.isNull())
            dropped = true;
        else
            kept += accepted;
    }
    const int rest = int(after.size() - inserted.size());
    kept.truncate(std::max(0, kIdentMaxLength - rest));
    if (kept == inserted)
        return {after, cursor, false};
    // The cursor stood at the end of what the edit put in.
    const int insertedAt = std::clamp(cursor - int(inserted.size()), 0, rest);
    if (kept.isEmpty())
        return {before, std::min(insertedAt, int(before.size())), dropped};
    const QString text = after.left(prefix) + kept + after.right(suffix);
    return {text, insertedAt + int(kept.size()), dropped};
}

IdentControls identControlsFromRecord(const ReceiverConfigRecord &record)
{
    const auto &f = record.NV8007;
    IdentControls c;
    c.chkID = {f.GiveStationID, f.AppendThisIs, f.AppendRepeater, f.AppendTransmitter};
    c.txtIdent = record.EDITOR.UserStationID; // shown as stored, whatever it holds
    return c;
}

bool storeIdentControls(const IdentControls &c, ReceiverConfigRecord &record)
{
    if (c.chkID[0] && c.txtIdent.isEmpty())
        return false;
    auto &f = record.NV8007;
    f.GiveStationID = c.chkID[0];
    if (c.chkID[0])
        record.EDITOR.UserStationID = c.txtIdent;
    f.AppendThisIs = c.chkID[1];
    f.AppendRepeater = c.chkID[2];
    f.AppendTransmitter = c.chkID[3];
    return true;
}
