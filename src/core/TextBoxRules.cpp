#include "core/TextBoxRules.h"

#include <QLineEdit>
#include <QValidator>

namespace {

bool isControl(QChar c) { return c.unicode() < 0x20 || (c.unicode() >= 0x7F && c.unicode() < 0xA0); }

qsizetype measured(const QString &text, TrailingBlanks blanks)
{
    qsizetype n = text.size();
    if (blanks == TrailingBlanks::Free)
        while (n > 0 && text.at(n - 1) == u' ')
            --n;
    return n;
}

// Knows the box's text before each change (kept from textChanged, which comes after the
// validation of a change), so that it can tell what an edit added.
class TextBoxValidator : public QValidator
{
public:
    TextBoxValidator(QLineEdit *box, int limit, TrailingBlanks blanks)
        : QValidator(box), limit(limit), blanks(blanks), current(box->text())
    {
        connect(box, &QLineEdit::textChanged, this, [this](const QString &text) { current = text; });
    }

    State validate(QString &input, int &pos) const override
    {
        QString clean = withoutControlCharacters(input, &pos);
        if (!loading && clean != loaded) {
            clean = limitedEdit(current, clean, limit, blanks, &pos);
            if (clean.isNull())
                return Invalid; // nothing of the insertion fits: the box keeps its text
        }
        input = clean;
        return Acceptable;
    }

    const int limit;
    const TrailingBlanks blanks;
    QString current;
    QString loaded;
    bool loading = false;
};

} // namespace

QString withoutControlCharacters(const QString &text, int *position)
{
    QString clean;
    clean.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (isControl(text.at(i))) {
            if (position && i < *position)
                --*position;
            continue;
        }
        clean += text.at(i);
    }
    return clean;
}

QString limitedEdit(const QString &before, const QString &after, int limit, TrailingBlanks blanks, int *position)
{
    if (measured(after, blanks) <= limit)
        return after;
    // The edit replaced the middle of `before` (between a common start and a common end)
    // by the middle of `after`.
    const qsizetype shorter = std::min(before.size(), after.size());
    qsizetype head = 0;
    while (head < shorter && before.at(head) == after.at(head))
        ++head;
    qsizetype tail = 0;
    while (tail < shorter - head && before.at(before.size() - 1 - tail) == after.at(after.size() - 1 - tail))
        ++tail;
    const qsizetype added = after.size() - head - tail;
    if (added <= 0)
        return after; // only removed: a long loaded text may get shorter
    auto withAdded = [&](qsizetype k) { return after.left(head) + after.mid(head, k) + after.right(tail); };
    // The measured length grows with every added character kept: find the most that fit.
    qsizetype fits = 0, tooMany = added;
    while (tooMany - fits > 1) {
        const qsizetype mid = (fits + tooMany) / 2;
        (measured(withAdded(mid), blanks) <= limit ? fits : tooMany) = mid;
    }
    if (fits == 0)
        return QString();
    if (position)
        *position = int(head + fits);
    return withAdded(fits);
}

void installTextBoxRules(QLineEdit *box, int typingLimit, TrailingBlanks blanks)
{
    // The rules do the limiting: the box's own limit would cut a longer loaded text.
    box->setMaxLength(32767);
    box->setValidator(new TextBoxValidator(box, typingLimit, blanks));
}

void loadTextBox(QLineEdit *box, const QString &text)
{
    auto *rules = dynamic_cast<TextBoxValidator *>(const_cast<QValidator *>(box->validator()));
    const QString clean = withoutControlCharacters(text);
    if (!rules) {
        box->setText(clean);
        return;
    }
    rules->loaded = clean;
    rules->loading = true;
    box->setText(clean);
    rules->loading = false;
}
