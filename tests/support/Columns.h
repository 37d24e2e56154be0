#pragma once
// Whether text shown in a font lines up in columns: every character takes the same advance.

#include <QFontMetrics>
#include <QString>

// The characters of `text` whose advance in `font` differs from that of its first character,
// each with its advance ("i:3 "); empty when they all take the same.
inline QString unevenCharacters(const QFont &font, const QString &text)
{
    const QFontMetrics metrics(font);
    QString uneven;
    for (QChar c : text)
        if (metrics.horizontalAdvance(c) != metrics.horizontalAdvance(text.at(0)) && !uneven.contains(c))
            uneven += QStringLiteral("%1:%2 ").arg(c).arg(metrics.horizontalAdvance(c));
    return uneven;
}
