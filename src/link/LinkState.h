// Receiver link (src/link): port, link, transfer, history decoding; uses core, config, the event table.
#pragma once
// The link operations on the program's link, ReceiverLink::instance(), under the names the
// transfer, the port search and the data dump use. The state itself (Port1, tmrTimeOut,
// PortOpenState, LinkConnected, TransferTimedOut, TransferImage, DownloadBuffer) lives on
// the link object.

#include "link/ReceiverLink.h"

bool openLink();
void closeLink();
bool negotiateLink();

// The program's port.
PortCtl *linkPort();

void waitForLinkActivity();
bool linkWaitOver();
void startLinkTimeout(int designedMs);

// Time-outs of every link at `scale` times their designed length (tests; 1 in the program).
void setLinkTimeScale(double scale);
int scaledLinkTime(int designedMs);
