// Alert history (src/history): the history grid and its views; uses core, config, link (decoded history).
#pragma once
// What the alert history grid shows: 20 rows of entries 1 to 20 or 21 to 40 of
// HistoryTable, the event text coloured by alert class. The main window's "&View History"
// items choose the group.

#include <QColor>

class HistoryGrid;

inline const QColor kWarningColour(255, 0, 0);
inline const QColor kWatchColour(0, 0, 255);
inline const QColor kOtherAlertColour(0, 0, 0);

// The colour of an event text of the given alert class.
QColor alertClassColour(int alertClass);

// Empties the data cells of the 20 rows (numbers stay) and paints the event cells white.
// Run when a transfer starts.
void clearHistoryGrid(HistoryGrid &grid);
// Fills the grid from HistoryTable: group 0 = entries 1 to 20, group 1 = entries 21 to 40
// (any other group is taken as 0).
void showHistoryGroup(HistoryGrid &grid, int group);
