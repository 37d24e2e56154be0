// Ground floor (src/core): platform seams, message catalogue, pictures; uses no other folder.
#pragma once
// Keyboard help that several windows share.

class QButtonGroup;

// Tab into a group of option buttons lands on its selected button, from either side (with
// nothing selected, on the button that last had the focus); the arrow keys move within it.
void tabToSelectedOption(QButtonGroup *group);
