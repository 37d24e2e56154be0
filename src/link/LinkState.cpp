#include "link/LinkState.h"

bool PortOpenState = false;
bool LinkConnected = false;
bool TransferTimedOut = false;
std::array<quint8, 608> TransferImage{};
std::array<quint8, 1298> DownloadBuffer{};

void closeLink()
{
    // The port layer arrives with the receiver link; until then there is nothing to close.
    PortOpenState = false;
    LinkConnected = false;
}
