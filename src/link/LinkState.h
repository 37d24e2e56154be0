#pragma once
// State of the serial link to the receiver, shared by the transfer, the port search and the
// data dump.

extern bool PortOpenState;
extern bool LinkConnected;
// Set by every tick of frmMain::tmrTimeOut; cleared by the code that starts a wait.
extern bool TransferTimedOut;

// Closes the port if it is open; errors are ignored.
void closeLink();
