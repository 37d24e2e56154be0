#include "history/HistoryView.h"

// Placeholder until the history view lands.
void clearHistoryGrid(frmMain &) {}
void showHistoryGroup(frmMain &, int) {}
