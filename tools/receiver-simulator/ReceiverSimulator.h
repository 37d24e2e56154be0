#pragma once
// A receiver on the far side of a pseudo-terminal, for tests, benchmarks and for trying the
// editor by hand (tools/receiver-simulator). Point a port at devicePath() (settings store,
// section PORTS, key Port<n>) and the editor's real serial code talks to it.
//
// It answers "Z" (attention) and "T" (port test) with ACK; after "Z" it takes the 608-byte
// image, checks its checksum, answers ACK or NAK and on ACK sends its download: 40 history
// records, their checksum, the ROM version and ACK. "D" (contact) gets ACK, "X" gets STX and
// 512 bytes of memory (the first 512 bytes of the last image accepted, so the dump shows what
// the last transfer programmed), "R" gets the raw text of the last SAME header it decoded
// (line noise and control characters before and inside it) ending in ETX, "Q" nothing. It runs in a thread of its own, so it keeps time while the editor's thread is
// busy or blocked.

#include <QByteArray>
#include <QString>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

class ReceiverSimulator
{
public:
    enum class Fault {
        None,
        Silent,                 // answers nothing at all
        Nak,                    // answers the image (and "D") with NAK
        LateAck,                // answers "Z", "T", "D", "X" and "R" only after lateAnswerMs
                                // (5.5 s unless set)
        NoImageAnswer,          // takes the image and never answers it
        ShortDownload,          // sends 1283 of the 1284 download bytes; "X" one memory byte
                                // short, "R" without its ETX
        BadDownloadChecksum,    // the download's checksum byte is off by one
        GarbageBeforeAnswers,   // sends a few other bytes before every ACK or NAK, STX or raw text
        HangUpInDownload,       // the device vanishes halfway through the download (or the
                                // answer to "X" or "R")
        BadEndMark,             // the download's last byte is "?" instead of ACK (checksum good)
    };
    using Clock = std::chrono::steady_clock;

    ReceiverSimulator();
    ~ReceiverSimulator();
    ReceiverSimulator(const ReceiverSimulator &) = delete;
    ReceiverSimulator &operator=(const ReceiverSimulator &) = delete;

    // Opens the pseudo-terminal and starts answering. False when no pty could be had.
    bool start();
    void stop();
    // The device the editor opens (/dev/pts/N).
    QString devicePath() const { return path; }

    // Settings; may be changed at any time.
    void setHistoryRecords(const QByteArray &records); // the first 1279 download bytes (zero-padded)
    void setRomVersion(const QByteArray &threeCharacters);
    void setFault(Fault fault);
    void setLateAnswerMs(int ms);
    void setPaced(bool paced); // bytes take their real time at 4800 bit/s both ways
    void setMemory(const QByteArray &bytes); // what "X" dumps (512 bytes, zero-padded)
    void setRawText(const QByteArray &text); // what "R" sends before ETX
    // Other bytes before every ACK or NAK, on top of any fault (a NAK after noise).
    void setGarbageBeforeAnswers(bool on);
    // The device vanishes now, as an adapter pulled out; returns when it is gone.
    void hangUpNow();
    // Bytes onto the line now, also while nobody has the port open: what a device or an
    // adapter kept from an earlier exchange.
    void sendStray(const QByteArray &bytes);

    // What the simulator saw.
    QByteArray commandsReceived() const; // command bytes, in order (image bytes excluded)
    QByteArray lastImage() const;        // the last 608 image bytes (607 + checksum)
    int imagesReceived() const;
    int downloadsSent() const;
    // Whether a late answer is still to come (it is sent, or dropped when nobody has the
    // port open, when its time is up).
    bool lateAnswerPending() const { return latePending; }
    // When the first byte of the last image arrived (for the benchmark).
    Clock::time_point lastImageStart() const;

    // 40 records of the receiver's own, well formed (the default history).
    static QByteArray defaultHistory();
    // What "R" sends unless set (ETX follows): noise, then a 14-county tornado warning header.
    static QByteArray defaultRawText();
    // The 1284 download bytes for these records and ROM version (checksum and ACK added).
    static QByteArray downloadFor(const QByteArray &records, const QByteArray &romVersion);

private:
    template <typename T> T locked(const T &value) const
    {
        std::lock_guard lock(mutex);
        return value;
    }
    void run();
    void handle(quint8 byte);
    void answer(quint8 byte, bool late);
    void sendDownload();
    void sendDumpAnswer(QByteArray bytes, Fault f); // the answer to "X" or "R", faults applied
    bool send(const QByteArray &bytes); // false when the editor is gone or the device hung up
    bool editorAttached();
    bool sleepFor(std::chrono::milliseconds span); // false when stopping
    void hangUp();

    int master = -1;
    int wakePipe[2] = {-1, -1};
    QString path;
    std::thread worker;
    std::atomic<bool> stopping{false};

    mutable std::mutex mutex;
    QByteArray history;
    QByteArray romVersion = "105";
    QByteArray memory;
    QByteArray rawText;
    Fault fault = Fault::None;
    int lateMs = 5500;
    bool paced = false;
    bool garbage = false;
    std::atomic<bool> hangUpRequested{false};
    std::atomic<bool> latePending{false};
    std::condition_variable hungUp;
    QByteArray commands;
    QByteArray image;
    QByteArray lastFullImage;
    int images = 0;
    int downloads = 0;
    bool takingImage = false;
    Clock::time_point imageStart{};
    Clock::time_point lineBusyUntil{}; // when the last received byte has fully arrived
};
