#include "history/HistoryView.h"

#include "history/HistoryGrid.h"
#include "link/HistoryDecoding.h"

#include <QLabel>

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

void clearHistoryGrid(HistoryGrid &grid)
{
    for (int r = 0; r < HistoryGrid::kHistoryRows; ++r) {
        for (QLabel *cell : {grid.lblDate[r], grid.lblTime[r], grid.lblOrg[r], grid.lblEvent[r], grid.lblLength[r]})
            cell->clear();
        QPalette palette = grid.lblEvent[r]->palette();
        palette.setColor(QPalette::Window, Qt::white);
        grid.lblEvent[r]->setPalette(palette);
    }
    grid.rowsChanged();
}

void showHistoryGroup(HistoryGrid &grid, int group)
{
    const int first = group == 1 ? HistoryGrid::kHistoryRows : 0;
    for (int r = 0; r < HistoryGrid::kHistoryRows; ++r) {
        const int s = first + r;
        grid.lblNum[r]->setText(QString::number(s + 1));
        for (QLabel *cell : {grid.lblDate[r], grid.lblTime[r], grid.lblOrg[r], grid.lblEvent[r], grid.lblLength[r]})
            cell->clear();
        setTextColour(grid.lblEvent[r], kOtherAlertColour);

        // A record whose date could not be decoded is still an alert and keeps its row.
        const HistoryEntry &entry = HistoryTable[s];
        if (!entry.holdsAlert())
            continue;
        grid.lblTime[r]->setText(entry.Time);
        grid.lblDate[r]->setText(entry.Date);
        grid.lblOrg[r]->setText(entry.Org);
        grid.lblLength[r]->setText(entry.Length);
        grid.lblEvent[r]->setText(entry.Event);
        setTextColour(grid.lblEvent[r], alertClassColour(entry.AlertClass));
    }
    grid.rowsChanged();
}
