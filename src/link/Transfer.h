// Receiver link (src/link): port, link, transfer, history decoding; uses core, config, the event table.
#pragma once
// The transfer exchange with the receiver over a link: the attention handshake, the image
// going out and the download coming back. Every step reports through the link's signals
// (status panel 1, the progress bar), so it runs the same with or without a main window.

#include <functional>

class ReceiverLink;

// Builds the settings block, waits for the upload second, sends bytes 0 to 606 of the
// link's TransferImage and their checksum, and waits up to 20 s for the receiver's answer.
// True on ACK. A write error or a vanished device ends it like a time-out.
bool sendTransferImage(ReceiverLink &link);
// Receives the 1284 download bytes into the link's DownloadBuffer within 20 s; true when
// all arrived and the last is ACK.
bool receiveDownload(ReceiverLink &link);

// The whole exchange of "Transfer Data Between PC and Orvane" (the main window's EstConnect):
// negotiation, selection area, image, download and its checksum. It holds the link for its
// whole run (LinkOperation): while another operation talks to the receiver it is refused
// with a beep and does nothing at all. Once it has the link it runs `whenStarted` (the caller
// clears what a new exchange replaces). After a download that passed the checksum it reports
// "Upload / Download Successful" and runs `whenChecked` (the caller shows what came back);
// then, as after every failure, the time-out timer stops and the port is closed. True when
// the download passed.
bool runTransferExchange(ReceiverLink &link, const std::function<void()> &whenChecked = {},
                         const std::function<void()> &whenStarted = {});
