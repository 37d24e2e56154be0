#pragma once
// The alert history grid of the main window.

class frmMain;

// Empties the data cells of the 20 rows (numbers stay) and paints the event cells white;
// disables the history menus. Run when a transfer starts.
void clearHistoryGrid(frmMain &main);
// Fills the grid from HistoryTable: group 0 = entries 1 to 20, group 1 = entries 21 to 40.
void showHistoryGroup(frmMain &main, int group);
