#pragma once
// What the owner may put into a one-line text box, by typing, pasting or dropping alike.
//
// A control character (a pasted line break, a tab) never enters a box: the texts end up as
// lines of stored files and in the receiver, where a line break would split an entry in two.
// A box's length limit binds what the owner adds, not what the program loads: a longer text
// loaded from the stored lists stays whole until it is edited, an edit may shorten it, but
// nothing the owner adds takes it past the limit. An insertion is cut to the room left under
// the limit, as a paste into a nearly full box is.

#include <QString>

class QLineEdit;

enum class TrailingBlanks {
    Count, // every character counts against the limit
    Free,  // blanks at the end are padding the program drops: they take no room
};

// Puts the rules on a box.
void installTextBoxRules(QLineEdit *box, int typingLimit, TrailingBlanks blanks = TrailingBlanks::Count);
// Shows `text` in a box that has the rules, whole (only control characters are left out).
void loadTextBox(QLineEdit *box, const QString &text);

// The text with its control characters left out; `position` (a cursor) follows the removal.
QString withoutControlCharacters(const QString &text, int *position = nullptr);
// What an edit of `before` into `after` leaves when the owner may not add past `limit`
// characters: `after` itself when it fits or only removed text, else `after` with the added
// part cut to the room left, or a null text when nothing of it fits (the edit is refused).
// `position` is set to the cursor after a cut.
QString limitedEdit(const QString &before, const QString &after, int limit, TrailingBlanks blanks,
                    int *position = nullptr);
