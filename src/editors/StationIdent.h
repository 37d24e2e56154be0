#pragma once
// The station identification window's rules apart from the window: which characters the
// call-letter box takes, how an edit of the box is filtered, and what OK stores.

#include <QChar>
#include <QString>
#include <array>

struct ReceiverConfigRecord;

// The receiver speaks call letters of at most this many characters.
constexpr int kIdentMaxLength = 15;

// What a character put into the call-letter box becomes: digits and capitals as they are,
// small letters as capitals; a null QChar for anything the receiver cannot speak.
QChar identInputChar(QChar c);

// The box after an edit: `before` is its text before, `after` the text the edit made and
// `cursor` the cursor in it. Whatever the edit put in (typed, pasted, dropped) goes through
// identInputChar; refused characters are dropped with one beep for the whole edit, and the
// box never grows beyond kIdentMaxLength (the excess is cut silently). An edit of which
// nothing is left changes nothing at all, so a refused key does not remove a selection.
// Characters that were in the box before are never touched.
struct IdentEdit {
    QString text;
    int cursor = 0;
    bool beep = false;
};
IdentEdit filterIdentEdit(const QString &before, const QString &after, int cursor);

// The window's controls as plain values.
struct IdentControls {
    std::array<bool, 4> chkID{}; // give identification, "This Is", "Repeater", "Transmitter"
    QString txtIdent;
};

IdentControls identControlsFromRecord(const ReceiverConfigRecord &record);

// OK: false (and nothing stored) when the identification is switched on with no call
// letters. Switched off, the stored call letters stay as they were; the three voice words
// are stored either way.
bool storeIdentControls(const IdentControls &controls, ReceiverConfigRecord &record);
