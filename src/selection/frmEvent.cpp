#include "selection/frmEvent.h"

#include "core/Artwork.h"
#include "core/Platform.h"

#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStackedLayout>
#include <QVBoxLayout>

namespace {

// Page 1 holds twelve small groups in a 4 x 3 grid; page 2 holds three groups side by side,
// the thirteen "Misc Warnings" in two columns so both pages come out about as tall.
constexpr int kPage1Columns = 4;
constexpr int kMiscWarningRows = 7;

QString pageCaption(int page)
{
    return QStringLiteral(" Orvane Event Codes. Page ") + QString::number(page);
}

} // namespace

frmEvent::frmEvent(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmEvent"));
    setWindowIcon(QIcon(programIcon()));

    auto *layout = new QVBoxLayout(this);
    auto *pageArea = new QWidget(this);
    pages = new QStackedLayout(pageArea);
    pages->setContentsMargins(0, 0, 0, 0);
    Picture1 = buildPage(1);
    Picture2 = buildPage(2);
    pages->addWidget(Picture1);
    pages->addWidget(Picture2);
    layout->addWidget(pageArea);

    auto *buttons = new QHBoxLayout;
    for (int i = 0; i < 2; ++i) {
        cmdSelect[i] = new QPushButton(QStringLiteral("Page ") + QString::number(i + 1), this);
        cmdSelect[i]->setObjectName(QStringLiteral("cmdSelect_%1").arg(i));
        cmdSelect[i]->setAutoDefault(false);
        connect(cmdSelect[i], &QPushButton::clicked, this, [this, i] { cmdSelect_Click(i); });
        buttons->addWidget(cmdSelect[i]);
    }
    buttons->addSpacing(16);
    lblCount = new QLabel(this);
    lblCount->setObjectName(QStringLiteral("lblCount"));
    buttons->addWidget(lblCount);
    buttons->addStretch(1);
    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &frmEvent::cmdOK_Click);
    buttons->addWidget(cmdOK);
    layout->addLayout(buttons);

    // Load.
    setWindowTitle(pageCaption(1));
    SelectPage(0);
    GetEvents();
    countSelectedEvents();
}

QWidget *frmEvent::buildPage(int page)
{
    auto *panel = new QWidget;
    panel->setObjectName(page == 1 ? QStringLiteral("Picture1") : QStringLiteral("Picture2"));
    auto *grid = new QGridLayout(panel);
    grid->setContentsMargins(0, 0, 0, 0);

    const QStringList titles = eventGroupTitles(page);
    const auto storeOrder = eventSlotsInStoreOrder();
    for (int g = 0; g < titles.size(); ++g) {
        auto *frame = new QGroupBox(titles[g], panel);
        frame->setObjectName(QStringLiteral("fraPage%1_%2").arg(page).arg(g));
        auto *boxes = new QGridLayout(frame);
        int placed = 0;
        // Within a group the boxes follow the store order: Watch, Warning, Statement.
        for (int slot : storeOrder) {
            const EventTableRow &row = EventTable[slot];
            if (row.Page != page || row.Group != titles[g])
                continue;
            auto *check = new QCheckBox(row.Caption, frame);
            check->setObjectName(QStringLiteral("chk") + row.Code);
            check->setToolTip(row.Code + QStringLiteral("  ") + row.Name);
            connect(check, &QCheckBox::toggled, this, [this, slot] { boxToggled(slot); });
            chk[slot] = check;
            const bool twoColumns = row.Group == QLatin1String("Misc Warnings");
            boxes->addWidget(check, twoColumns ? placed % kMiscWarningRows : placed,
                             twoColumns ? placed / kMiscWarningRows : 0);
            ++placed;
        }
        boxes->setRowStretch(boxes->rowCount(), 1);
        if (page == 1)
            grid->addWidget(frame, g / kPage1Columns, g % kPage1Columns);
        else
            grid->addWidget(frame, 0, g, 1, titles[g] == QLatin1String("Misc Warnings") ? 2 : 1);
    }
    return panel;
}

QCheckBox *frmEvent::box(const QString &code) const
{
    const int slot = eventSlot(code);
    return slot < 0 ? nullptr : chk[slot];
}

qint16 frmEvent::countSelectedEvents()
{
    qint16 count = 0;
    for (QCheckBox *check : chk)
        if (check && check->isChecked())
            ++count;
    lblCount->setText(QStringLiteral("Events Selected = ") + QString::number(count) + QStringLiteral("   (Max 48)"));
    return count;
}

void frmEvent::boxToggled(int slot)
{
    if (!lblCount) // boxes are built before the label; nothing is ticked yet then
        return;
    if (countSelectedEvents() > kEventSelectable) {
        chk[slot]->setChecked(false); // recounts through this handler
        Platform::beep();
    }
}

bool frmEvent::MatchOk(const QString &code) const { return eventListContains(code); }

void frmEvent::GetEvents()
{
    for (int slot = 0; slot < kEventCodeCount; ++slot)
        chk[slot]->setChecked(MatchOk(EventTable[slot].Code));
}

void frmEvent::SelectPage(qint16 page)
{
    if (page == 0)
        pages->setCurrentWidget(Picture1);
    else if (page == 1)
        pages->setCurrentWidget(Picture2);
}

void frmEvent::storeEventSelection()
{
    std::array<bool, kEventCodeCount> ticked{};
    for (int slot = 0; slot < kEventCodeCount; ++slot)
        ticked[slot] = chk[slot]->isChecked();
    countSelectedEvents();
    storeTickedEvents(ticked);
}

void frmEvent::cmdSelect_Click(int index)
{
    SelectPage(qint16(index));
    setWindowTitle(pageCaption(index + 1));
}

void frmEvent::cmdOK_Click()
{
    storeEventSelection();
    accept();
}

// The window always comes up just tall enough for one page, the buttons and the count,
// whatever the fonts and the screen scaling make of that; the layout keeps it from
// being shrunk below.
void frmEvent::fitHeightToPage()
{
    const QSize wanted = sizeHint().expandedTo(minimumSizeHint());
    resize(std::max(width(), wanted.width()), wanted.height());
}

void frmEvent::showEvent(QShowEvent *event)
{
    fitHeightToPage();
    QDialog::showEvent(event);
}

void frmEvent::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        fitHeightToPage();
        setWindowIcon(QIcon(programIcon()));
        cmdOK->setFocus();
    }
    QDialog::changeEvent(event);
}
