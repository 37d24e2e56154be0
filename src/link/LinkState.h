#pragma once
// State of the serial link to the receiver, shared by the transfer, the port search and the
// data dump, the byte buffers of the transfer, and the link operations over frmMain::Port1.

#include <QtGlobal>
#include <array>

class PortCtl;

extern bool PortOpenState;
extern bool LinkConnected;
// Set by every tick of frmMain::tmrTimeOut; cleared by the code that starts a wait.
extern bool TransferTimedOut;

// The 608-byte memory image sent to the receiver (settings block, counties, events).
extern std::array<quint8, 608> TransferImage;
// The receiver's answer: 40 history records of 32 bytes, checksum, ROM version, ACK
// (1284 bytes used).
extern std::array<quint8, 1298> DownloadBuffer;

// The receiver's answer bytes.
constexpr int ACK = 6;
constexpr int NAK = 21;

// Opens the port named by SerialPort unless the link is already up; error #201 when the
// port will not open.
bool openLink();
// Closes the port if it is open; errors are ignored. LinkConnected is false afterwards.
void closeLink();
// openLink, then "Z" must be answered by ACK within 5 s; error #202 otherwise. On success
// the port stays open and tmrTimeOut keeps running.
bool negotiateLink();

// The main window's port (null before the main window exists).
PortCtl *linkPort();

// One pass of a waiting loop: handles the window's pending events and, when no received
// byte is waiting, sleeps until a byte, a timer tick or a window event arrives.
void waitForLinkActivity();

// Whether a wait for the receiver must end as a time-out: the flag is set, the port is no
// longer open (device gone, or another command closed it), or the time-out timer was
// stopped by another command so that no tick would ever come.
bool linkWaitOver();

// Starts tmrTimeOut with a time-out of the designed length (scaled for tests).
void startLinkTimeout(int designedMs);
// Tests run the time-outs shorter: every designed time-out is multiplied by `scale`
// (1 in the program).
void setLinkTimeScale(double scale);
int scaledLinkTime(int designedMs);
