#include "core/KeyboardAccess.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QButtonGroup>

namespace {

// An exclusive group is one stop for Tab: the button that takes Tab focus. The buttons pass
// that stop to the one that last had the focus; here it goes to the selected one as well,
// so a selection made by the program (loading the record) is where Tab lands.
void giveTabStopToSelected(QButtonGroup *group)
{
    QAbstractButton *selected = group->checkedButton();
    if (!selected)
        return;
    for (QAbstractButton *button : group->buttons()) {
        const Qt::FocusPolicy policy = button->focusPolicy();
        button->setFocusPolicy(button == selected ? Qt::FocusPolicy(policy | Qt::TabFocus)
                                                  : Qt::FocusPolicy(policy & ~Qt::TabFocus));
    }
}

} // namespace

void tabToSelectedOption(QButtonGroup *group)
{
    QObject::connect(group, &QButtonGroup::buttonToggled, group, [group](QAbstractButton *, bool on) {
        if (on)
            giveTabStopToSelected(group);
    });
    giveTabStopToSelected(group);
}

void currentFollowsSelection(QAbstractItemView *view)
{
    QItemSelectionModel *selection = view->selectionModel();
    QObject::connect(selection, &QItemSelectionModel::selectionChanged, view,
                     [selection](const QItemSelection &chosen) {
                         const QModelIndexList rows = chosen.indexes();
                         if (!rows.isEmpty() && selection->currentIndex() != rows.first())
                             selection->setCurrentIndex(rows.first(), QItemSelectionModel::NoUpdate);
                     });
}
