#include "selection/frmFIPS.h"

#include "core/Artwork.h"
#include "core/FixedFont.h"
#include "core/KeyboardAccess.h"
#include "core/MessageCatalogue.h"
#include "core/Platform.h"
#include "config/ReceiverConfig.h"
#include "selection/FipsEntry.h"
#include "selection/SelectionWidgets.h"
#include "selection/StateDatabase.h"
#include "selection/frmEnterFIP.h"
#include "selection/frmFIPEdit.h"
#include "selection/frmFindCounty.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>

namespace {

frmFIPS *theFipsWindow = nullptr;

} // namespace

frmFIPS *frmFIPS::instance()
{
    if (!theFipsWindow)
        theFipsWindow = new frmFIPS;
    return theFipsWindow;
}

frmFIPS::frmFIPS(QWidget *parent) : QDialog(parent)
{
    setUpSelectionWindow(this, QStringLiteral("frmFIPS"), QStringLiteral("Orvane FIPS Codes"));
    const QFont fixed = fixedColumnFont();

    lstFips = fixedFontList(QStringLiteral("lstFips"), 56, 320, this);

    // The headings stand over the columns of the list text: code, county (from column 10,
    // one blank after the code heading), state from column 32; the indent skips the tick box.
    // Alt+F leads to the list; the & takes no column.
    lblFipsHead = new QLabel(QStringLiteral("&FIP Code ") + QStringLiteral("County").leftJustified(22, u' ') +
                                 QStringLiteral("State / Territories"),
                             this);
    lblFipsHead->setObjectName(QStringLiteral("lblFipsHead"));
    lblFipsHead->setBuddy(lstFips);
    lstFips->setAccessibleName(QStringLiteral("FIP Codes"));
    lblFipsHead->setFont(fixed); // a bold face is wider and would drift off the columns
    lblFipsHead->setIndent(style()->pixelMetric(QStyle::PM_IndicatorWidth) +
                           style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing) + 2 * lstFips->frameWidth() + 4);

    Frame1 = new QGroupBox(QStringLiteral("Modify Listing"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    auto *editButtons = new QGridLayout(Frame1);
    auto makeButton = [this](const char *caption, const char *name, QWidget *parent) {
        auto *button = new QPushButton(QString::fromLatin1(caption), parent);
        button->setObjectName(QString::fromLatin1(name));
        button->setAutoDefault(false);
        return button;
    };
    cmdAdd = makeButton("&Add", "cmdAdd", Frame1);
    cmdEdit = makeButton("&Edit", "cmdEdit", Frame1);
    cmdCopy = makeButton("&Copy", "cmdCopy", Frame1);
    cmdRemove = makeButton("&Remove", "cmdRemove", Frame1);
    // Alt+F leads to the list, so the search takes the I.
    cmdFindCounty = makeButton("F&ind County...", "cmdFindCounty", Frame1);
    int column = 0;
    for (QPushButton *b : {cmdAdd, cmdEdit, cmdCopy, cmdRemove})
        editButtons->addWidget(b, 0, column++);
    editButtons->addWidget(cmdFindCounty, 1, 0, 1, column);

    // The red frame around the state button sits behind it in the same grid cell.
    auto *enterHolder = new QWidget(this);
    auto *enterGrid = new QGridLayout(enterHolder);
    enterGrid->setContentsMargins(0, 0, 0, 0);
    Shape1 = new QFrame(enterHolder);
    Shape1->setObjectName(QStringLiteral("Shape1"));
    Shape1->setStyleSheet(QStringLiteral("#Shape1 { border: 3px solid red; background: transparent; }"));
    auto *enterPad = new QWidget(enterHolder);
    auto *enterPadLayout = new QVBoxLayout(enterPad);
    enterPadLayout->setContentsMargins(6, 6, 6, 6);
    cmdEnterCodes = makeButton("&Select State / Transmitter City", "cmdEnterCodes", enterPad);
    cmdEnterCodes->setMinimumHeight(36);
    enterPadLayout->addWidget(cmdEnterCodes);
    enterGrid->addWidget(Shape1, 0, 0);
    enterGrid->addWidget(enterPad, 0, 0);
    Shape1->lower();
    Shape1->hide();

    auto *stateHead = boldHeading(QStringLiteral("State"), this);
    lblState = new QLabel(this);
    lblState->setObjectName(QStringLiteral("lblState"));
    auto *transmitterHead = boldHeading(QStringLiteral("Transmitter Location / Frequency"), this);
    lblTransmitter = new QLabel(this);
    lblTransmitter->setObjectName(QStringLiteral("lblTransmitter"));
    lblTransmitter->setFont(fixed);
    for (QLabel *l : {lblState, lblTransmitter}) {
        l->setFrameShape(QFrame::StyledPanel);
        l->setMinimumHeight(l->fontMetrics().height() + 8);
    }

    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    cmdOK->setMinimumHeight(32);

    auto *side = new QVBoxLayout;
    side->addWidget(Frame1);
    side->addSpacing(8);
    side->addWidget(enterHolder);
    side->addSpacing(8);
    side->addWidget(stateHead);
    side->addWidget(lblState);
    side->addWidget(transmitterHead);
    side->addWidget(lblTransmitter);
    side->addStretch(1);
    side->addWidget(cmdOK);

    auto *left = new QVBoxLayout;
    left->setSpacing(2);
    left->addWidget(lblFipsHead);
    left->addWidget(lstFips, 1);

    auto *layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(side);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(800);
    connect(Timer1, &QTimer::timeout, this, &frmFIPS::Timer1_Timer);
    Timer1->start();

    connect(cmdAdd, &QPushButton::clicked, this, &frmFIPS::cmdAdd_Click);
    connect(cmdEdit, &QPushButton::clicked, this, &frmFIPS::cmdEdit_Click);
    connect(cmdCopy, &QPushButton::clicked, this, &frmFIPS::cmdCopy_Click);
    connect(cmdRemove, &QPushButton::clicked, this, &frmFIPS::cmdRemove_Click);
    connect(cmdFindCounty, &QPushButton::clicked, this, &frmFIPS::cmdFindCounty_Click);
    connect(cmdEnterCodes, &QPushButton::clicked, this, &frmFIPS::cmdEnterCodes_Click);
    connect(cmdOK, &QPushButton::clicked, this, &frmFIPS::cmdOK_Click);
    currentFollowsSelection(lstFips);

    // A transmitter taken in the state window replaces the list by its counties.
    connect(frmEnterFIP::instance(), &frmEnterFIP::transmitterStored, this,
            [this](const QString &stateName, const QString &transmitter) {
                lstFips->clear();
                lblState->setText(stateName);
                lblTransmitter->setText(transmitter);
                collectTransmitterCounties(transmitter);
            });
}

void frmFIPS::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    setWindowIcon(QIcon(imageListPicture(2)));
    cmdOK->setFocus();
}

// Every activation (also coming back from a message box or another window) puts the
// focus back on cmdOK.
void frmFIPS::changeEvent(QEvent *event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        cmdOK->setFocus();
}

int frmFIPS::highlightedRow() const
{
    QListWidgetItem *item = lstFips->currentItem();
    return item && item->isSelected() ? lstFips->row(item) : -1;
}

void frmFIPS::insertLine(int position, const QString &listText, bool ticked)
{
    auto *item = new QListWidgetItem(listText);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
    item->setCheckState(ticked ? Qt::Checked : Qt::Unchecked);
    lstFips->insertItem(qBound(0, position, lstFips->count()), item);
}

int frmFIPS::tickedCount() const
{
    int ticked = 0;
    for (int j = 0; j < lstFips->count(); ++j)
        if (lstFips->item(j)->checkState() == Qt::Checked)
            ++ticked;
    return ticked;
}

bool frmFIPS::openEditor(int mode, const QString &frameCaption)
{
    FipsEditMode = qint16(mode);
    frmFIPEdit editor(this);
    editor.Frame1->setTitle(frameCaption);
    if (editor.exec() != QDialog::Accepted)
        return false;
    // OK left the finished line in FipsEditResult: it replaces the line at FipsEditIndex,
    // or joins the end of the list.
    if (FipsEditIndex >= 0 && FipsEditIndex < lstFips->count())
        lstFips->item(FipsEditIndex)->setText(FipsEditResult);
    else
        insertLine(lstFips->count(), FipsEditResult);
    return true;
}

// A line can be added only while FipsList can still store it.
void frmFIPS::cmdAdd_Click()
{
    if (lstFips->count() >= kMaxStoredEntries) {
        Platform::beep();
        return;
    }
    const int row = highlightedRow();
    FipsEditSource = row >= 0 ? lstFips->item(row)->text() : QString();
    FipsEditIndex = qint16(lstFips->count());
    openEditor(1, QStringLiteral(" Add new FIP code entry "));
}

void frmFIPS::cmdEdit_Click()
{
    const int row = highlightedRow();
    if (row < 0) {
        Platform::beep();
        return;
    }
    FipsEditSource = lstFips->item(row)->text();
    FipsEditIndex = qint16(row);
    openEditor(2, QStringLiteral(" Edit FIP code entry "));
}

void frmFIPS::cmdCopy_Click()
{
    const int row = highlightedRow();
    if (row < 0 || lstFips->count() >= kMaxStoredEntries) {
        Platform::beep();
        return;
    }
    insertLine(lstFips->count(), lstFips->item(row)->text());
}

void frmFIPS::cmdRemove_Click()
{
    const int row = highlightedRow();
    if (row < 0) {
        Platform::beep();
        return;
    }
    const auto answer = showProgramMessage(removeLineQuestion(lstFips->item(row)->text()),
                                           QMessageBox::Yes | QMessageBox::No, QMessageBox::Question,
                                           QStringLiteral("Orvane FIP Edit"));
    if (answer == QMessageBox::Yes)
        delete lstFips->takeItem(row);
}

void frmFIPS::cmdEnterCodes_Click() { frmEnterFIP::instance()->exec(); }

void frmFIPS::cmdFindCounty_Click()
{
    frmFindCounty find([this](const IndexedCounty &county, const IndexedTransmitter &t) { return UseFoundCounty(county, t); }, this);
    find.exec();
}

bool frmFIPS::UseFoundCounty(const IndexedCounty &county, const IndexedTransmitter &transmitter)
{
    if (lstFips->count() > 0) {
        const QString question = QStringLiteral("Replace the %1 in the list with the counties of the transmitter")
                                     .arg(lstFips->count() == 1 ? QStringLiteral("entry") : QStringLiteral("%1 entries").arg(lstFips->count())) +
                                 u'\n' + transmitter.key.simplified() + u'?';
        if (showProgramMessage(question, QMessageBox::Yes | QMessageBox::No, QMessageBox::Question,
                               QStringLiteral("Orvane FIP Edit")) != QMessageBox::Yes)
            return false;
    }
    // The state window's own steps, as the owner takes them: the state from its box, the
    // channel "All" when the filter hides this transmitter, the transmitter from its list, OK.
    frmEnterFIP *enter = frmEnterFIP::instance();
    const int state = enter->cmbState->findData(transmitter.stateIndex);
    enter->cmbState->setCurrentIndex(state);
    enter->cmbState_Click(state);
    auto listed = [enter, &transmitter] { return enter->lstCounty->findItems(transmitter.key, Qt::MatchExactly); };
    if (listed().isEmpty()) {
        enter->cmbLimit->setCurrentIndex(0);
        enter->cmbLimit_Click(0);
    }
    if (listed().isEmpty()) { // the state file has gone since the search read it
        Platform::beep();
        return false;
    }
    enter->lstCounty->setCurrentItem(listed().first(), QItemSelectionModel::ClearAndSelect);
    if (!enter->StoreFips())
        return false;
    // The county found is ticked and highlighted; its neighbours wait for the owner.
    for (int j = 0; j < lstFips->count(); ++j) {
        QListWidgetItem *line = lstFips->item(j);
        if (line->text().startsWith(county.code)) {
            line->setCheckState(Qt::Checked);
            lstFips->setCurrentItem(line, QItemSelectionModel::ClearAndSelect);
            lstFips->scrollToItem(line);
            break;
        }
    }
    return true;
}

void frmFIPS::cmdOK_Click()
{
    const int ticked = tickedCount();
    if (ticked > kMaxTickedCounties) {
        Platform::beep();
        showErrorMessage(5);
        return;
    }
    for (int slot = 0; slot < kMaxStoredEntries; ++slot)
        FipsList[slot].clear();
    for (int j = 0; j < lstFips->count() && j < kMaxStoredEntries; ++j) {
        const QListWidgetItem *item = lstFips->item(j);
        FipsList[j] = entryForListLine(item->text(), item->checkState() == Qt::Checked);
    }
    if (ticked > 0 || confirmExitWithoutCounties(1) == QMessageBox::Yes)
        accept();
}

void frmFIPS::reject() { cmdOK_Click(); }

void frmFIPS::Timer1_Timer()
{
    if (lstFips->count() == 0) {
        shapePhase = !shapePhase;
        Shape1->setVisible(shapePhase);
    } else {
        shapePhase = false;
        Shape1->hide();
    }
}

void fillFipsListBox()
{
    frmFIPS *window = frmFIPS::instance();
    window->lstFips->clear();
    int p = 0;
    for (int slot = 0; slot < kMaxStoredEntries; ++slot) {
        if (FipsList[slot].isEmpty())
            continue;
        const FipsListLine line = listLineForEntry(FipsList[slot]);
        window->insertLine(p++, line.text, line.ticked);
    }
}

void collectTransmitterCounties(const QString &transmitterKey)
{
    frmFIPS *window = frmFIPS::instance();
    const TransmitterCounties found =
        countiesForTransmitter(transmitterKey, kMaxStoredEntries - window->lstFips->count());
    int p = 0;
    for (const QString &entry : found.entries)
        window->insertLine(p++, entry);
    if (!found.complete)
        Platform::beep();
}

void initStateSelection()
{
    frmEnterFIP *window = frmEnterFIP::instance();
    window->fillStateList();
    window->fillFrequencyList();
    const int filter = ReceiverConfig.EDITOR.FrequencyListingFilter;
    const int state = ReceiverConfig.EDITOR.StateID;
    // Only the shown entry changes; an index out of range shows nothing.
    window->cmbLimit->setCurrentIndex(filter >= 0 && filter < kFrequencyFilterCount ? filter : -1);
    window->cmbState->setCurrentIndex(state >= 0 && state < kStateCount ? state : -1);
    frmFIPS *fips = frmFIPS::instance();
    fips->lblState->setText(window->cmbState->currentText());
    fips->lblTransmitter->setText(ReceiverConfig.EDITOR.TransmitterLocation);
    window->buildTransmitterList(ReceiverConfig.EDITOR.StateID);
}
