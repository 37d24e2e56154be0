#pragma once
// The two halves of the transfer exchange that frmMain::EstConnect runs after the attention
// handshake. Both report in status panel 1 and the progress bar of the main window.

class frmMain;

// Builds the settings block, waits for the upload second, sends bytes 0 to 606 of
// TransferImage and their checksum, and waits up to 20 s for the receiver's answer.
// True on ACK. A write error or a vanished device ends it like a time-out.
bool sendTransferImage(frmMain &main);
// Receives the 1284 download bytes into DownloadBuffer within 20 s; true when all arrived
// and the last is ACK.
bool receiveDownload(frmMain &main);
