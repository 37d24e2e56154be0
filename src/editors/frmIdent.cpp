#include "editors/frmIdent.h"

#include "config/ReceiverConfig.h"
#include "core/FixedFont.h"
#include "core/MessageCatalogue.h"
#include "core/Platform.h"
#include "editors/EditorWindows.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QValidator>
#include <QVBoxLayout>

// Every change of the call-letter box, typed, pasted, dropped or put in by an input method,
// passes here before the box shows it; it compares with the text it last let through.
class IdentValidator : public QValidator
{
public:
    using QValidator::QValidator;

    // The text the box is about to be given by the program (not by the owner).
    void expect(const QString &text) { last = text; }

    State validate(QString &input, int &pos) const override
    {
        const IdentEdit edit = filterIdentEdit(last, input, pos);
        input = edit.text;
        pos = edit.cursor;
        last = edit.text;
        if (edit.beep)
            Platform::beep();
        return Acceptable;
    }

private:
    mutable QString last;
};

namespace {

// Keys that edit without typing a character, and the usual editing shortcuts, do what the
// box does with them; the pasted text is filtered like typed text.
bool isEditingKey(QKeyEvent *key)
{
    for (auto standard : {QKeySequence::Copy, QKeySequence::Cut, QKeySequence::Paste, QKeySequence::Undo,
                          QKeySequence::Redo, QKeySequence::SelectAll})
        if (key->matches(standard))
            return true;
    switch (key->key()) {
    case Qt::Key_Backspace:
    case Qt::Key_Delete:
    case Qt::Key_Escape: // Cancel
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return true;
    default:
        return false;
    }
}

} // namespace

frmIdent::frmIdent(QWidget *parent) : QDialog(parent)
{
    setUpEditorWindow(this, QStringLiteral("frmIdent"), QStringLiteral("Station Identification"));
    Image1 = editorPicture(6, this);

    // The captions carry an accelerator each (the underlined letter); the text shown is the
    // caption itself.
    const std::array<QString, 4> captions = {
        QStringLiteral("&Append station identification after weather alert announcements"),
        QStringLiteral("Preceed identification with voice words \"&This Is\"."),
        QStringLiteral("After identification say voice word \"&Repeater\""),
        QStringLiteral("After identification say voice word \"Tra&nsmitter\""),
    };
    Frame1 = new QGroupBox(QStringLiteral(" Station Identification "), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    for (int i = 0; i < 4; ++i) {
        chkID[i] = new QCheckBox(captions[i], i == 0 ? static_cast<QWidget *>(this) : Frame1);
        chkID[i]->setObjectName(QStringLiteral("chkID_%1").arg(i));
        connect(chkID[i], &QCheckBox::toggled, this, [this, i] { chkID_Click(i); });
    }

    lblText[0] = new QLabel(QStringLiteral("Station &Identification Call Letters"), Frame1);
    lblText[1] = new QLabel(
        QStringLiteral("Valid Characters are  A-Z,  0-9    Fifteen (15) characters maximum."), Frame1);
    for (int i = 0; i < 2; ++i)
        lblText[i]->setObjectName(QStringLiteral("lblText_%1").arg(i));

    txtIdent = new QLineEdit(Frame1);
    txtIdent->setObjectName(QStringLiteral("txtIdent"));
    const QFont fixed = fixedColumnFont();
    txtIdent->setFont(fixed);
    txtIdent->setMinimumWidth(QFontMetrics(fixed).horizontalAdvance(QString(kIdentMaxLength + 2, u'W')));
    // The filter keeps the box to 15 characters itself: the box's own limit would cut pasted
    // text before the refused characters are taken out, and cut call letters stored longer.
    filter = new IdentValidator(txtIdent);
    txtIdent->setValidator(filter);
    txtIdent->installEventFilter(this);
    lblText[0]->setBuddy(txtIdent);

    cmdErase = new QPushButton(QStringLiteral("&Clear"), Frame1);
    cmdErase->setObjectName(QStringLiteral("cmdErase"));
    connect(cmdErase, &QPushButton::clicked, this, &frmIdent::cmdErase_Click);

    auto *inFrame = new QVBoxLayout(Frame1);
    for (int i = 1; i < 4; ++i)
        inFrame->addWidget(chkID[i]);
    inFrame->addSpacing(8);
    inFrame->addWidget(lblText[0]);
    auto *entry = new QHBoxLayout;
    entry->addWidget(txtIdent);
    entry->addWidget(cmdErase);
    entry->addStretch(1);
    inFrame->addLayout(entry);
    inFrame->addWidget(lblText[1]);

    auto *right = new QVBoxLayout;
    right->addWidget(chkID[0]);
    right->addWidget(Frame1);
    auto *top = new QHBoxLayout;
    top->addWidget(Image1, 0, Qt::AlignTop);
    top->addLayout(right, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(okCancelRow(this, QStringLiteral("cmdOK"), cmdOK, cmdCancel));
    connect(cmdOK, &QPushButton::clicked, this, &frmIdent::cmdOK_Click);

    setTabOrder(chkID[0], chkID[1]);
    setTabOrder(chkID[1], chkID[2]);
    setTabOrder(chkID[2], chkID[3]);
    setTabOrder(chkID[3], txtIdent);
    setTabOrder(txtIdent, cmdErase);
    setTabOrder(cmdErase, cmdOK);
    setTabOrder(cmdOK, cmdCancel);

    new LoadOnActivation(this, [this] { loadFromRecord(); });
    adjustSize(); // laid out before it shows
}

void frmIdent::loadFromRecord()
{
    const IdentControls c = identControlsFromRecord(ReceiverConfig);
    for (int i = 0; i < 4; ++i)
        chkID[i]->setChecked(c.chkID[i]);
    filter->expect(c.txtIdent);
    txtIdent->setText(c.txtIdent);
    UpdateEnabled();
}

void frmIdent::UpdateEnabled()
{
    const bool on = chkID[0]->isChecked();
    for (int i = 1; i < 4; ++i)
        chkID[i]->setEnabled(on);
    txtIdent->setEnabled(on);
    cmdErase->setEnabled(on);
    lblText[0]->setEnabled(on);
    lblText[1]->setEnabled(on);
    Frame1->setEnabled(on);
}

IdentControls frmIdent::controls() const
{
    IdentControls c;
    for (int i = 0; i < 4; ++i)
        c.chkID[i] = chkID[i]->isChecked();
    c.txtIdent = txtIdent->text();
    return c;
}

void frmIdent::chkID_Click(int index)
{
    if (index == 0)
        UpdateEnabled();
}

void frmIdent::cmdErase_Click()
{
    if (txtIdent->text().isEmpty())
        Platform::beep();
    else
        txtIdent->clear();
    txtIdent->setFocus();
}

void frmIdent::cmdOK_Click()
{
    if (!storeIdentControls(controls(), ReceiverConfig)) {
        showProgramMessage(QStringLiteral("Error..No Identification Entered"));
        txtIdent->setFocus(); // where the owner is to type them
        return;
    }
    accept();
}

// Typed keys: a character the receiver cannot speak, Enter and the control characters other
// than Backspace (the key or Ctrl+H) are swallowed with a beep. Accepted characters, and
// everything pasted or dropped, then pass the box's filter.
bool frmIdent::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != txtIdent || event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    auto *key = static_cast<QKeyEvent *>(event);
    if (isEditingKey(key))
        return false;
    // Ctrl+H types character 8, Backspace, which passes the filter and edits as Backspace does.
    if (key->text() == QLatin1String("\b") ||
        (key->key() == Qt::Key_H && key->modifiers() == Qt::ControlModifier)) {
        txtIdent->backspace();
        return true;
    }
    const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    const bool controlCharacter = !key->text().isEmpty() && key->text().at(0).unicode() < 0x20;
    const bool controlLetter = key->modifiers().testFlag(Qt::ControlModifier) && key->key() >= Qt::Key_A &&
                               key->key() <= Qt::Key_Z;
    // A refused character is swallowed before the box sees it, so a selection stays.
    const bool refusedCharacter = key->text().size() == 1 && !controlCharacter &&
                                  !key->modifiers().testFlag(Qt::ControlModifier) &&
                                  identInputChar(key->text().at(0)).isNull();
    if (enter || controlCharacter || controlLetter || refusedCharacter) {
        Platform::beep();
        return true;
    }
    return false;
}
