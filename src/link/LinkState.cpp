#include "link/LinkState.h"

bool PortOpenState = false;
bool LinkConnected = false;
bool TransferTimedOut = false;

void closeLink()
{
    // The port layer arrives with the receiver link; until then there is nothing to close.
    PortOpenState = false;
    LinkConnected = false;
}
