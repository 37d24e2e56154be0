// Receiver link (src/link): port, link, transfer, history decoding; uses core, config, the event table.
#pragma once
// The receiver link: the program's one serial port Port1, the time-out timer tmrTimeOut,
// the link state, the transfer buffers, and the link operations and waits over them. One
// object for the run, reachable from every window through instance() without the main
// window. It tells the windows what happens through its signals: the status texts of the
// two status panels and the transfer progress (maximum, value, shown or hidden); the main
// window shows them in its status bar and progress bar.

#include <QObject>
#include <QString>
#include <array>

class PortCtl;
class QTimer;

// The receiver's answer bytes.
constexpr int ACK = 6;
constexpr int NAK = 21;

// The 608-byte memory image sent to the receiver (settings block, counties, events).
using TransferImageBytes = std::array<quint8, 608>;
// The receiver's answer: 40 history records of 32 bytes, checksum, ROM version, ACK
// (1284 bytes used).
using DownloadBufferBytes = std::array<quint8, 1298>;

class ReceiverLink : public QObject
{
    Q_OBJECT
public:
    // The link made last is the program's link (instance()) until it is destroyed.
    explicit ReceiverLink(QObject *parent = nullptr);
    ~ReceiverLink() override;

    // The program's link; made on first use, owned by the application object.
    static ReceiverLink &instance();

    PortCtl *Port1 = nullptr;    // the program's one serial port
    QTimer *tmrTimeOut = nullptr; // every tick sets TransferTimedOut, nothing else

    bool PortOpenState = false;
    bool LinkConnected = false;
    // Set by every tick of tmrTimeOut; cleared by the code that starts a wait.
    bool TransferTimedOut = false;

    TransferImageBytes TransferImage{};
    DownloadBufferBytes DownloadBuffer{};

    // Opens the port named by SerialPort unless the link is already up (a link whose device
    // has gone is not up); error #201 when the port will not open.
    bool openLink();
    // Closes the port if it is open; errors are ignored. LinkConnected is false afterwards.
    void closeLink();
    // openLink, then "Z" must be answered by ACK within 5 s; error #202 otherwise. On success
    // the port stays open and tmrTimeOut keeps running.
    bool negotiateLink();

    // One pass of a waiting loop: handles the pending events and, when no received byte is
    // waiting, sleeps until a byte, a timer tick or a window event arrives.
    void waitForLinkActivity();
    // Whether a wait for the receiver must end as a time-out: the flag is set, the port is no
    // longer open (device gone, or another command closed it), or the time-out timer was
    // stopped by another command so that no tick would ever come.
    bool linkWaitOver();
    // Starts tmrTimeOut with a time-out of the designed length (scaled for tests).
    void startLinkTimeout(int designedMs);

    // Tests run the time-outs shorter: every designed time-out is multiplied by `scale`
    // (1 in the program). Holds for every link of the run.
    static void setTimeScale(double scale);
    static int scaledTime(int designedMs);

    // Whether an operation that talks to the receiver (a transfer, the port search, the data
    // dump) holds the link now; see LinkOperation.
    bool operationRunning() const { return operationHeld; }

    // What the link reports; each emits its signal.
    void setStatusText(int panel, const QString &text);
    void setProgressMaximum(int maximum);
    void setProgressValue(int value);
    void setProgressVisible(bool visible);

signals:
    // Text for status panel 1 (the link's messages) or 2 (the ROM version).
    void statusTextChanged(int panel, const QString &text);
    void progressMaximumChanged(int maximum);
    void progressValueChanged(int value);
    void progressVisibleChanged(bool visible);

private:
    friend class LinkOperation;
    bool operationHeld = false;
};

// The claim of one operation that talks to the receiver. The waits of an operation let window
// events run, so a command can be started in the middle of another one; a second exchange on
// the same port would interleave its bytes with the first one's. So every such operation
// (transfer, port search, data dump) first claims the link and gives up when it cannot:
//
//     LinkOperation operation(link);
//     if (!operation.claimed())
//         return; // another operation runs; the owner heard a beep
//
// The constructor claims the link when no operation holds it, and otherwise beeps and claims
// nothing. The claim lasts until the object goes out of scope. Other commands (windows,
// settings) need no claim and stay usable during a wait.
class LinkOperation
{
public:
    explicit LinkOperation(ReceiverLink &link);
    ~LinkOperation();
    LinkOperation(const LinkOperation &) = delete;
    LinkOperation &operator=(const LinkOperation &) = delete;

    // Whether this operation got the link and may talk to the receiver.
    bool claimed() const { return holder != nullptr; }

private:
    ReceiverLink *holder = nullptr; // the link claimed, or null when refused
};
