#include "app/frmMain.h"

// The transfer arrives with the receiver link; its command stays disabled until then.
void frmMain::EstConnect() {}
void frmMain::XferRomVersion() {}
