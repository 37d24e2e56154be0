// Ground floor (src/core): platform seams, message catalogue, pictures; uses no other folder.
#pragma once
// Keyboard and screen-reader help that several windows share.

class QAbstractItemView;
class QButtonGroup;

// Tab into a group of option buttons lands on its selected button, from either side (with
// nothing selected, on the button that last had the focus); the arrow keys move within it.
void tabToSelectedOption(QButtonGroup *group);

// The row selected in a list is its current row too, however it was selected: a click and the
// arrow keys move both, but a screen reader choosing a row only selects it. The buttons of a
// window and Enter then work on the row chosen.
void currentFollowsSelection(QAbstractItemView *view);
