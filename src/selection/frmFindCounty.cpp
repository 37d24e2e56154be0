#include "selection/frmFindCounty.h"

#include "core/FixedFont.h"
#include "core/KeyboardAccess.h"
#include "core/MessageCatalogue.h"
#include "core/Platform.h"
#include "selection/SelectionWidgets.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

constexpr int kMatchRole = Qt::UserRole, kTransmitterRole = Qt::UserRole + 1;

// The keys with which the search box moves through the matches.
bool movesInMatches(int key)
{
    return key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_PageUp || key == Qt::Key_PageDown;
}

QString transmitterText(const IndexedTransmitter &t) { return t.city + QStringLiteral("  ") + t.frequency; }

} // namespace

frmFindCounty::frmFindCounty(UseChoice useChoice, QWidget *parent) : QDialog(parent), use(std::move(useChoice))
{
    setUpSelectionWindow(this, QStringLiteral("frmFindCounty"), QStringLiteral("Find County"));
    const QFont fixed = fixedColumnFont();

    lblSearch = new QLabel(QStringLiteral("&Type a county name, a FIP code or a transmitter city:"), this);
    lblSearch->setObjectName(QStringLiteral("lblSearch"));
    txtSearch = new QLineEdit(this);
    txtSearch->setObjectName(QStringLiteral("txtSearch"));
    txtSearch->setAccessibleName(QStringLiteral("County name, FIP code or transmitter city"));
    lblSearch->setBuddy(txtSearch);
    lblCount = new QLabel(this);
    lblCount->setObjectName(QStringLiteral("lblCount"));

    lstMatches = new QTreeWidget(this);
    lstMatches->setObjectName(QStringLiteral("lstMatches"));
    lstMatches->setAccessibleName(QStringLiteral("Matches: county and the transmitters that cover it"));
    lstMatches->setColumnCount(1);
    lstMatches->setHeaderHidden(true);
    lstMatches->setRootIsDecorated(false);
    lstMatches->setItemsExpandable(false);
    lstMatches->setUniformRowHeights(true);
    lstMatches->setSelectionMode(QAbstractItemView::SingleSelection);
    lstMatches->setFont(fixed);
    lstMatches->setMinimumWidth(QFontMetrics(fixed).horizontalAdvance(QString(56, u'M')));
    lstMatches->setMinimumHeight(300);
    lblMatches = boldHeading(QStringLiteral("&Matches: FIP code, county, state, and each transmitter below"), this);
    lblMatches->setObjectName(QStringLiteral("lblMatches"));
    lblMatches->setBuddy(lstMatches);
    lblChoice = new QLabel(this);
    lblChoice->setObjectName(QStringLiteral("lblChoice"));
    lblChoice->setWordWrap(true);
    lblChoice->setMinimumHeight(2 * lblChoice->fontMetrics().height());

    cmdUse = new QPushButton(QStringLiteral("&Use"), this);
    cmdUse->setObjectName(QStringLiteral("cmdUse"));
    cmdUse->setDefault(true); // Enter uses the match chosen, also from the search box
    cmdClose = new QPushButton(QStringLiteral("&Close"), this);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    for (QPushButton *b : {cmdUse, cmdClose})
        b->setMinimumHeight(30);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(lblChoice, 1);
    buttons->addWidget(cmdUse);
    buttons->addWidget(cmdClose);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(lblSearch);
    layout->addWidget(txtSearch);
    layout->addWidget(lblCount);
    layout->addSpacing(4);
    layout->addWidget(lblMatches);
    layout->addWidget(lstMatches, 1);
    layout->addLayout(buttons);
    resize(640, 480);

    connect(txtSearch, &QLineEdit::textChanged, this, &frmFindCounty::txtSearch_Change);
    connect(lstMatches, &QTreeWidget::currentItemChanged, this, &frmFindCounty::showChoice);
    connect(lstMatches, &QTreeWidget::itemDoubleClicked, this, &frmFindCounty::cmdUse_Click);
    connect(cmdUse, &QPushButton::clicked, this, &frmFindCounty::cmdUse_Click);
    connect(cmdClose, &QPushButton::clicked, this, &frmFindCounty::reject);
    txtSearch->installEventFilter(this);
    lstMatches->installEventFilter(this);
    currentFollowsSelection(lstMatches);
    txtSearch_Change();
}

void frmFindCounty::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    txtSearch->setFocus();
}

bool frmFindCounty::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    auto *key = static_cast<QKeyEvent *>(event);
    // The arrows of the search box move through the matches; the box keeps the keyboard.
    if (watched == txtSearch && movesInMatches(key->key()) && lstMatches->topLevelItemCount() > 0) {
        if (!lstMatches->currentItem())
            lstMatches->setCurrentItem(lstMatches->topLevelItem(0), 0, QItemSelectionModel::ClearAndSelect);
        else
            QCoreApplication::sendEvent(lstMatches, event);
        return true;
    }
    // Typing in the matches goes on in the search box.
    const bool typing = (!key->text().isEmpty() && key->text().at(0).isPrint() &&
                         !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) ||
                        key->key() == Qt::Key_Backspace;
    if (watched == lstMatches && typing) {
        txtSearch->setFocus();
        QCoreApplication::sendEvent(txtSearch, event);
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void frmFindCounty::txtSearch_Change()
{
    found = findCounties(txtSearch->text());
    lblCount->setText(matchCountText(found));
    lstMatches->setUpdatesEnabled(false);
    lstMatches->clear();
    QList<QTreeWidgetItem *> rows;
    rows.reserve(found.matches.size());
    for (int m = 0; m < found.matches.size(); ++m) {
        const IndexedCounty &county = found.matches[m];
        auto *row = new QTreeWidgetItem(QStringList{county.listText});
        row->setData(0, kMatchRole, m);
        row->setData(0, kTransmitterRole, county.transmitters.isEmpty() ? -1 : 0);
        for (int t = 0; t < county.transmitters.size(); ++t) {
            auto *line = new QTreeWidgetItem(row, QStringList{transmitterText(county.transmitters[t])});
            line->setData(0, kMatchRole, m);
            line->setData(0, kTransmitterRole, t);
        }
        if (county.transmitters.isEmpty()) {
            auto *line = new QTreeWidgetItem(row, QStringList{kNoCoverageMessage});
            line->setData(0, kMatchRole, m);
            line->setData(0, kTransmitterRole, -1);
        }
        rows.append(row);
    }
    lstMatches->addTopLevelItems(rows);
    lstMatches->expandAll();
    lstMatches->setUpdatesEnabled(true);
    showChoice();
}

frmFindCounty::Choice frmFindCounty::choiceOf(const QTreeWidgetItem *item) const
{
    if (!item || !item->isSelected())
        return {};
    return {item->data(0, kMatchRole).toInt(), item->data(0, kTransmitterRole).toInt()};
}

void frmFindCounty::showChoice()
{
    const Choice choice = choiceOf(lstMatches->currentItem());
    if (choice.match < 0) {
        lblChoice->setText(found.matches.isEmpty() ? QString() : QStringLiteral("Choose a county or one of its transmitters."));
        return;
    }
    const IndexedCounty &county = found.matches[choice.match];
    if (choice.transmitter < 0) {
        lblChoice->setText(kNoCoverageMessage);
        return;
    }
    lblChoice->setText(QStringLiteral("Use: %1 %2, %3, with the transmitter %4")
                           .arg(county.code, county.name, county.state,
                                transmitterText(county.transmitters[choice.transmitter]).simplified()));
}

void frmFindCounty::cmdUse_Click()
{
    const Choice choice = choiceOf(lstMatches->currentItem());
    if (choice.match < 0) {
        Platform::beep();
        return;
    }
    if (choice.transmitter < 0) {
        Platform::beep();
        showProgramMessage(kNoCoverageMessage);
        return;
    }
    const IndexedCounty county = found.matches[choice.match];
    if (use && use(county, county.transmitters[choice.transmitter]))
        accept();
}
