#include "core/FixedFont.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QStringList>
#include <QtMath>

namespace {

// Advances within this of each other are the same width on the screen.
constexpr qreal kSameAdvance = 1.0 / 64;

QFont withFamily(const QFont &base, const QString &family)
{
    QFont font = base;
    font.setFamilies({family});
    return font;
}

} // namespace

QString columnCharacters()
{
    QString text;
    for (char16_t c = u' '; c <= u'~'; ++c)
        text += QChar(c);
    return text;
}

bool sharesOneAdvance(const QFont &font, const QString &text)
{
    if (text.isEmpty())
        return true;
    const QFontMetricsF metrics(font);
    const qreal advance = metrics.horizontalAdvance(text.at(0));
    if (advance <= 0)
        return false;
    for (QChar c : text)
        if (qAbs(metrics.horizontalAdvance(c) - advance) > kSameAdvance)
            return false;
    // In a row too: no kerning or shaping moves a column.
    return qAbs(metrics.horizontalAdvance(text) - advance * text.size()) < 0.5;
}

QFont fixedColumnFont(const QFont &preferred)
{
    const QString characters = columnCharacters();
    if (sharesOneAdvance(preferred, characters))
        return preferred;
    // The families that declare a fixed pitch are the likeliest; measuring decides.
    QStringList declared, others;
    for (const QString &family : QFontDatabase::families(QFontDatabase::Latin)) {
        if (QFontDatabase::isPrivateFamily(family))
            continue;
        (QFontDatabase::isFixedPitch(family) ? declared : others) << family;
    }
    for (const QStringList *families : {&declared, &others})
        for (const QString &family : *families) {
            const QFont candidate = withFamily(preferred, family);
            if (sharesOneAdvance(candidate, characters))
                return candidate;
        }
    return preferred;
}

QFont fixedColumnFont()
{
    const QFont system = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    // Only the family is kept from the first call: a font kept beyond the application's end
    // would outlive the font engines.
    static const QString family = fixedColumnFont(system).families().value(0);
    return family.isEmpty() ? system : withFamily(system, family);
}
