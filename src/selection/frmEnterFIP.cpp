#include "selection/frmEnterFIP.h"

#include "core/FixedFont.h"
#include "core/KeyboardAccess.h"
#include "core/MessageCatalogue.h"
#include "core/Platform.h"
#include "config/ReceiverConfig.h"
#include "selection/FipsEntry.h"
#include "selection/SelectionWidgets.h"
#include "selection/StateDatabase.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

frmEnterFIP *theEntryWindow = nullptr;

const std::array<const char *, 4> kInstructions = {
    "1.  Select the state which is were the weather transmitter is located you will be monitoring.",
    "2.  Select the frequency of the weather transmitter you will be monitoring.",
    "3.  Within the list box, highlite by clicking on the city were the weather transmitter is located.",
    "4.  Review the above steps then click on OK when you are satisfied with your selections.",
};

// Keys that only move the focus or open a box's list; every other key is refused.
bool opensOrLeavesBox(const QKeyEvent *key)
{
    switch (key->key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_F4:
    case Qt::Key_Escape:
        return true;
    case Qt::Key_Up:
    case Qt::Key_Down:
        return key->modifiers().testFlag(Qt::AltModifier);
    default:
        return false;
    }
}

} // namespace

frmEnterFIP *frmEnterFIP::instance()
{
    if (!theEntryWindow)
        theEntryWindow = new frmEnterFIP;
    return theEntryWindow;
}

frmEnterFIP::frmEnterFIP(QWidget *parent) : QDialog(parent)
{
    setUpSelectionWindow(this, QStringLiteral("frmEnterFIP"), QStringLiteral("Orvane State / Transmitter Entry"));
    const QFont fixed = fixedColumnFont();

    cmbState = new QComboBox(this);
    cmbState->setObjectName(QStringLiteral("cmbState"));
    cmbState->setMaxVisibleItems(20);
    cmbLimit = new QComboBox(this);
    cmbLimit->setObjectName(QStringLiteral("cmbLimit"));
    for (QComboBox *box : {cmbState, cmbLimit}) {
        box->setEditable(false);
        box->installEventFilter(this);
    }

    lstCounty = fixedFontList(QStringLiteral("lstCounty"), 36, 260, this);
    // The headings over the key's two columns: the city from column 2, the channel from 26.
    // The & marks the accelerator and takes no column.
    lblCountyHead = new QLabel(QStringLiteral(" Transmitter Location").leftJustified(25, u' ').insert(1, u'&') +
                                   QStringLiteral("Frequency"),
                               this);
    lblCountyHead->setObjectName(QStringLiteral("lblCountyHead"));
    QFont fixedBold = fixed;
    fixedBold.setBold(true);
    lblCountyHead->setFont(fixedBold);
    lblCountyHead->setIndent(lstCounty->frameWidth() + 3);

    cmdOk = new QPushButton(QStringLiteral("OK"), this);
    cmdOk->setObjectName(QStringLiteral("cmdOk"));
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    // Enter presses OK, or the button that has the focus; Escape cancels.
    cmdOk->setDefault(true);
    for (QPushButton *b : {cmdOk, cmdCancel})
        b->setMinimumHeight(30);

    auto *info = new QVBoxLayout;
    for (int k = 0; k < 4; ++k) {
        lslInfo[k] = new QLabel(QString::fromLatin1(kInstructions[k]), this);
        lslInfo[k]->setObjectName(QStringLiteral("lslInfo_%1").arg(k));
        lslInfo[k]->setWordWrap(true);
        info->addWidget(lslInfo[k]);
    }
    info->addStretch(1);

    auto *boxes = new QGridLayout;
    // The headings lead to their boxes: Alt+S, Alt+F, and Alt+T for the list.
    QLabel *stateHead = boldHeading(QStringLiteral("&State - Territories"), this);
    QLabel *limitHead = boldHeading(QStringLiteral("&Frequency"), this);
    stateHead->setBuddy(cmbState);
    limitHead->setBuddy(cmbLimit);
    lblCountyHead->setBuddy(lstCounty);
    // The boxes show their choice; a screen reader hears what they are for as well.
    cmbState->setAccessibleName(QStringLiteral("State - Territories"));
    cmbLimit->setAccessibleName(QStringLiteral("Frequency"));
    lstCounty->setAccessibleName(QStringLiteral("Transmitter Location / Frequency"));
    boxes->addWidget(stateHead, 0, 0);
    boxes->addWidget(cmbState, 1, 0);
    boxes->addWidget(limitHead, 0, 1);
    boxes->addWidget(cmbLimit, 1, 1);

    auto *left = new QVBoxLayout;
    left->addLayout(boxes);
    left->addSpacing(8);
    left->addWidget(lblCountyHead);
    left->addWidget(lstCounty, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOk);
    buttons->addWidget(cmdCancel);
    auto *right = new QVBoxLayout;
    right->addLayout(info, 1);
    right->addLayout(buttons);

    auto *layout = new QHBoxLayout(this);
    layout->addLayout(left, 3);
    layout->addLayout(right, 2);
    resize(720, 420);

    // Only a choice from a box's list acts; setting the shown entry at start-up does not.
    connect(cmbState, &QComboBox::activated, this, &frmEnterFIP::cmbState_Click);
    connect(cmbLimit, &QComboBox::activated, this, &frmEnterFIP::cmbLimit_Click);
    connect(cmdOk, &QPushButton::clicked, this, &frmEnterFIP::cmdOk_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmEnterFIP::cmdCancel_Click);
    // A double-click anywhere in the list, on a line, on its empty part or on an empty
    // list, confirms as OK does (and is refused the same way when no line is highlighted).
    lstCounty->viewport()->installEventFilter(this);
    currentFollowsSelection(lstCounty);
}

void frmEnterFIP::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    cmdCancel->setFocus();
}

// Every activation (also coming back from a message box or another window) puts the
// focus back on cmdCancel.
void frmEnterFIP::changeEvent(QEvent *event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        cmdCancel->setFocus();
}

bool frmEnterFIP::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == cmbState || watched == cmbLimit) {
        if (event->type() == QEvent::KeyPress && !opensOrLeavesBox(static_cast<QKeyEvent *>(event))) {
            Platform::beep();
            return true;
        }
        // The wheel would change the box without a choice from its list.
        if (event->type() == QEvent::Wheel)
            return true;
    }
    if (watched == lstCounty->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        cmdOk_Click();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void frmEnterFIP::fillStateList()
{
    cmbState->clear();
    for (int k = 0; k < kStateCount; ++k)
        cmbState->addItem(QString::fromLatin1(StateTable[k].name), k);
}

void frmEnterFIP::fillFrequencyList()
{
    cmbLimit->clear();
    for (int k = 0; k < kFrequencyFilterCount; ++k)
        cmbLimit->addItem(QString::fromLatin1(FrequencyFilter[k]), k);
}

bool frmEnterFIP::buildTransmitterList(int stateIndex)
{
    clearStateLines();
    lstCounty->clear();
    QStringList lines;
    if (!readStateFile(stateIndex, lines)) {
        showProgramMessage(QStringLiteral("Error, State File  ") + stateFileName(stateIndex) +
                               QStringLiteral("  is missing"),
                           QMessageBox::Ok, QMessageBox::NoIcon);
        return false;
    }
    for (int k = 0; k < lines.size(); ++k)
        StateLines[k] = lines[k].left(kStateLineWidth);
    lstCounty->addItems(transmitterKeys(lines, frequencyText(ReceiverConfig.EDITOR.FrequencyListingFilter)));
    return true;
}

bool frmEnterFIP::StoreFips()
{
    QListWidgetItem *item = lstCounty->currentItem();
    if (!item || !item->isSelected())
        return false;
    clearStateLines(kStateFileMaxLines - 2);
    for (int slot = 0; slot < kMaxStoredEntries; ++slot)
        FipsList[slot].clear();
    ReceiverConfig.EDITOR.TransmitterLocation = item->text();
    emit transmitterStored(cmbState->currentText(), item->text()); // the county window refills its list
    return true;
}

void frmEnterFIP::cmbState_Click(int index)
{
    clearStateLines(kStateFileMaxLines - 2);
    for (int slot = 0; slot < kMaxStoredEntries; ++slot)
        FipsList[slot].clear();
    lstCounty->clear();
    ReceiverConfig.EDITOR.StateID = qint16(cmbState->itemData(index).toInt());
    buildTransmitterList(ReceiverConfig.EDITOR.StateID);
}

void frmEnterFIP::cmbLimit_Click(int index)
{
    ReceiverConfig.EDITOR.FrequencyListingFilter = qint16(cmbLimit->itemData(index).toInt());
    buildTransmitterList(ReceiverConfig.EDITOR.StateID);
}

void frmEnterFIP::cmdOk_Click()
{
    if (StoreFips()) {
        accept();
        return;
    }
    Platform::beep();
    showErrorMessage(3);
}

void frmEnterFIP::cmdCancel_Click() { reject(); }
