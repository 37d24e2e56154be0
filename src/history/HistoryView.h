#pragma once
// The alert history grid of the main window: 20 rows showing entries 1 to 20 or 21 to 40
// of HistoryTable, the event text coloured by alert class, chosen through "&View History".

#include <QColor>

class frmMain;

inline const QColor kWarningColour(255, 0, 0);
inline const QColor kWatchColour(0, 0, 255);
inline const QColor kOtherAlertColour(0, 0, 0);

// The colour of an event text of the given alert class.
QColor alertClassColour(int alertClass);

// Empties the data cells of the 20 rows (numbers stay) and paints the event cells white;
// disables the history menus. Run when a transfer starts.
void clearHistoryGrid(frmMain &main);
// Fills the grid from HistoryTable: group 0 = entries 1 to 20, group 1 = entries 21 to 40
// (any other group is taken as 0).
void showHistoryGroup(frmMain &main, int group);

// The two items of "&View History": show their group and move the check mark to it.
void mnuHistory_1_Click(frmMain &main);
void mnuHistory_2_Click(frmMain &main);
