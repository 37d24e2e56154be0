#pragma once
// State of the serial link to the receiver, shared by the transfer, the port search and the
// data dump, and the byte buffers of the transfer.

#include <QtGlobal>
#include <array>

extern bool PortOpenState;
extern bool LinkConnected;
// Set by every tick of frmMain::tmrTimeOut; cleared by the code that starts a wait.
extern bool TransferTimedOut;

// The 608-byte memory image sent to the receiver (settings block, counties, events).
extern std::array<quint8, 608> TransferImage;
// The receiver's answer: 40 history records of 32 bytes, checksum, ROM version, ACK
// (1284 bytes used).
extern std::array<quint8, 1298> DownloadBuffer;

// Closes the port if it is open; errors are ignored.
void closeLink();
