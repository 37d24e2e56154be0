#include "history/HistoryView.h"

#include "app/frmMain.h"
#include "link/HistoryDecoding.h"

#include <QAction>
#include <QLabel>
#include <QMenu>

namespace {

void setTextColour(QLabel *label, const QColor &colour)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
}

} // namespace

QColor alertClassColour(int alertClass)
{
    switch (alertClass) {
    case 1:
        return kWarningColour;
    case 2:
        return kWatchColour;
    default:
        return kOtherAlertColour;
    }
}

void clearHistoryGrid(frmMain &main)
{
    main.mnuView->menuAction()->setEnabled(false);
    main.mnuSaveAs->setEnabled(false);
    for (int r = 0; r < frmMain::kHistoryRows; ++r) {
        for (QLabel *cell : {main.lblDate[r], main.lblTime[r], main.lblOrg[r], main.lblEvent[r], main.lblLength[r]})
            cell->clear();
        QPalette palette = main.lblEvent[r]->palette();
        palette.setColor(QPalette::Window, Qt::white);
        main.lblEvent[r]->setPalette(palette);
    }
}

void showHistoryGroup(frmMain &main, int group)
{
    const int first = group == 1 ? frmMain::kHistoryRows : 0;
    for (int r = 0; r < frmMain::kHistoryRows; ++r) {
        const int s = first + r;
        main.lblNum[r]->setText(QString::number(s + 1));
        for (QLabel *cell : {main.lblDate[r], main.lblTime[r], main.lblOrg[r], main.lblEvent[r], main.lblLength[r]})
            cell->clear();
        setTextColour(main.lblEvent[r], kOtherAlertColour);

        // A record whose date could not be decoded is still an alert and keeps its row.
        const HistoryEntry &entry = HistoryTable[s];
        if (!entry.holdsAlert())
            continue;
        main.lblTime[r]->setText(entry.Time);
        main.lblDate[r]->setText(entry.Date);
        main.lblOrg[r]->setText(entry.Org);
        main.lblLength[r]->setText(entry.Length);
        main.lblEvent[r]->setText(entry.Event);
        setTextColour(main.lblEvent[r], alertClassColour(entry.AlertClass));
    }
}

void mnuHistory_1_Click(frmMain &main)
{
    showHistoryGroup(main, 0);
    main.mnuHistory[1]->setChecked(true);
    main.mnuHistory[2]->setChecked(false);
}

void mnuHistory_2_Click(frmMain &main)
{
    showHistoryGroup(main, 1);
    main.mnuHistory[1]->setChecked(false);
    main.mnuHistory[2]->setChecked(true);
}
