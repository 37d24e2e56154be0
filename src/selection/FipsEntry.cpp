#include "selection/FipsEntry.h"

FipsListLine listLineForEntry(const QString &entry)
{
    if (entry.startsWith(kTickedMark))
        return {entry.mid(2, 51), true};
    qsizetype first = 0;
    while (first < entry.size() && entry.at(first) == u' ')
        ++first;
    return {entry.mid(first), false};
}

QString entryForListLine(const QString &listText, bool ticked)
{
    return (ticked ? kTickedMark : kUntickedMark) + listText;
}

FipsFields splitListText(const QString &listText)
{
    return {listText.left(6), listText.mid(8, 23), listText.mid(31)};
}

QString buildListText(const QString &code, const QString &county, const QString &state)
{
    QString text = code.trimmed() + QStringLiteral("  ") + county.trimmed();
    if (text.size() < 31)
        text = text.leftJustified(31, u' ');
    // A county name longer than its column (only a hand-made list holds one) still keeps a
    // blank before the state name, or the two would read as one.
    else if (!state.trimmed().isEmpty())
        text += u' ';
    return text + state.trimmed();
}

bool fipsCodeLengthValid(const QString &typedCode) { return typedCode.size() == 6; }

QString removeLineQuestion(const QString &listText)
{
    return QStringLiteral("Are you sure you want to remove FIP county:\r\n") + listText.left(28).trimmed();
}

QString fipsCodeLengthMessage()
{
    return QStringLiteral(" Error.. FIP Code Entry Incorrect Digit Length. \r\n"
                          " Valid FIP Codes Are Six (6) Digits. \r\n");
}
