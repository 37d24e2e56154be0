#pragma once
// What the data dump needs of the receiver link, in one place: the program's port, the
// link's time-out timer and flag, the waits, and the transfer progress bar.

class PortCtl;

namespace DumpLink {

bool openLink();
void closeLink();
// The program's port (null when there is none).
PortCtl *port();
bool portOpen();
// Reads and drops what is waiting: bytes that came before a command cannot be its answer
// (the rest of an answer whose wait was given up).
void discardWaiting();

// tmrTimeOut at the designed length (scaled in the tests); TransferTimedOut.
void startTimeout(int designedMs);
void stopTimeout();
void clearTimedOut();
// One pass of a wait: handles pending events, sleeping until a byte, a tick or an event.
void waitForActivity();
// The wait must end as a time-out: the flag is set, the port closed or the timer stopped.
bool waitOver();

// The main window's progress bar.
void setProgress(int maximum, int value);

} // namespace DumpLink
