#include "ReceiverSimulator.h"

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

namespace {

constexpr quint8 kAck = 6;
constexpr quint8 kNak = 21;
constexpr quint8 kStx = 2;
constexpr quint8 kEtx = 3;
constexpr int kImageBytes = 608;
constexpr int kHistoryBytes = 1279;
// One byte at 4800 bit/s: start bit, 8 data bits, stop bit.
constexpr auto kByteTime = std::chrono::nanoseconds(10'000'000'000LL / 4800);
const QByteArray kGarbage("\x00\x55\xff\x7f", 4);

// Clears the "late answer pending" mark once the answer has gone (or was given up).
struct LateAnswerEnd {
    std::atomic<bool> &pending;
    ~LateAnswerEnd() { pending = false; }
};

} // namespace

ReceiverSimulator::ReceiverSimulator()
    : history(defaultHistory()), memory(512, '\0'),
      rawText(defaultRawText())
{
}

ReceiverSimulator::~ReceiverSimulator() { stop(); }

bool ReceiverSimulator::start()
{
    if (master >= 0)
        return true;
    stop(); // after a hang-up: join the finished worker and close its pipe before a new line
    hangUpRequested = false;
    {
        std::lock_guard lock(mutex);
        takingImage = false;
        image.clear();
    }
    int slave = -1;
    char name[128] = {};
    if (openpty(&master, &slave, name, nullptr, nullptr) != 0)
        return false;
    // A pty starts in cooked mode (echo, line editing, CR/LF translation); the line to a
    // receiver carries bytes as they are.
    termios raw{};
    tcgetattr(slave, &raw);
    cfmakeraw(&raw);
    tcsetattr(slave, TCSANOW, &raw);
    // The editor opens the slave by its path; ours is closed so that the editor closing its
    // end shows here as a hang-up.
    close(slave);
    path = QString::fromLocal8Bit(name);
    if (pipe(wakePipe) != 0) {
        close(master);
        master = -1;
        return false;
    }
    stopping = false;
    worker = std::thread([this] { run(); });
    return true;
}

void ReceiverSimulator::stop()
{
    if (worker.joinable()) {
        stopping = true;
        const char wake = 1;
        [[maybe_unused]] auto ignored = write(wakePipe[1], &wake, 1);
        worker.join();
    }
    for (int &fd : wakePipe) {
        if (fd >= 0)
            close(fd);
        fd = -1;
    }
    if (master >= 0)
        close(master);
    master = -1;
}

void ReceiverSimulator::setHistoryRecords(const QByteArray &records)
{
    std::lock_guard lock(mutex);
    history = records.left(kHistoryBytes).leftJustified(kHistoryBytes, '\0');
}
void ReceiverSimulator::setRomVersion(const QByteArray &three)
{
    std::lock_guard lock(mutex);
    romVersion = three.left(3).leftJustified(3, '0');
}
void ReceiverSimulator::setFault(Fault f)
{
    std::lock_guard lock(mutex);
    fault = f;
}
void ReceiverSimulator::setLateAnswerMs(int ms)
{
    std::lock_guard lock(mutex);
    lateMs = ms;
}
void ReceiverSimulator::setPaced(bool on)
{
    std::lock_guard lock(mutex);
    paced = on;
}
void ReceiverSimulator::setMemory(const QByteArray &bytes)
{
    std::lock_guard lock(mutex);
    memory = bytes.left(512).leftJustified(512, '\0');
}
void ReceiverSimulator::setRawText(const QByteArray &text)
{
    std::lock_guard lock(mutex);
    rawText = text;
}
void ReceiverSimulator::setGarbageBeforeAnswers(bool on)
{
    std::lock_guard lock(mutex);
    garbage = on;
}

void ReceiverSimulator::hangUpNow()
{
    if (!worker.joinable())
        return;
    std::unique_lock lock(mutex);
    if (master < 0)
        return;
    hangUpRequested = true;
    const char wake = 2;
    [[maybe_unused]] auto ignored = write(wakePipe[1], &wake, 1);
    hungUp.wait(lock, [this] { return master < 0; });
}

QByteArray ReceiverSimulator::commandsReceived() const { return locked(commands); }
QByteArray ReceiverSimulator::lastImage() const { return locked(lastFullImage); }
int ReceiverSimulator::imagesReceived() const { return locked(images); }
int ReceiverSimulator::downloadsSent() const { return locked(downloads); }
ReceiverSimulator::Clock::time_point ReceiverSimulator::lastImageStart() const { return locked(imageStart); }

QByteArray ReceiverSimulator::defaultHistory()
{
    // Issue day, UTC time, originator, event, valid time and a county, as the receiver keeps
    // them; the newest first.
    static const char *const events[] = {"TOR", "SVR", "FFW", "SVA", "TOA", "RWT", "FFA", "SPS",
                                         "WSW", "RMT", "FLW", "SVS", "HUW", "HUA", "CEM", "EVI"};
    static const char *const origins[] = {"WXR", "WXR", "WXR", "CIV", "WXR", "EAS"};
    QByteArray records;
    for (int r = 0; r < 40; ++r) {
        const int day = 180 - r * 3;
        const int hour = (23 - r * 5 % 24 + 24) % 24;
        const int minute = (r * 17) % 60;
        QByteArray record = QByteArray::number(day).rightJustified(3, '0') + ' ' +
                            QByteArray::number(hour).rightJustified(2, '0') + ':' +
                            QByteArray::number(minute).rightJustified(2, '0') + ' ' + origins[r % 6] + ' ' +
                            events[r % 16] + ' ' + (r % 3 == 0 ? "0100" : r % 3 == 1 ? "0030" : "0145") + "012011";
        records += record.leftJustified(32, '\0');
    }
    return records.left(kHistoryBytes);
}

QByteArray ReceiverSimulator::defaultRawText()
{
    // Line noise (a broken start of a header among it) before the header, a control
    // character inside it, and a header long enough to need three lines on the screen.
    QByteArray text("\r\n\x11U\xffZCZ", 8);
    text += "ZCZC-WXR-TOR-012011-012086-012099-012021-";
    text += QByteArray("\x00\x13", 2);
    text += "012051-012043-012087-012085-012093-012111-012009-012097-012095-012117+0030-1231845-KMIA/NWS-";
    text += "\r\n";
    return text;
}

QByteArray ReceiverSimulator::downloadFor(const QByteArray &records, const QByteArray &rom)
{
    QByteArray bytes = records.left(kHistoryBytes).leftJustified(kHistoryBytes, '\0');
    quint8 sum = 0;
    for (char c : bytes)
        sum = quint8(sum + quint8(c));
    bytes += char(sum);
    bytes += rom.left(3).leftJustified(3, '0');
    bytes += char(kAck);
    return bytes;
}

void ReceiverSimulator::run()
{
    char buffer[4096];
    while (!stopping && master >= 0) {
        pollfd fds[2] = {{master, POLLIN, 0}, {wakePipe[0], POLLIN, 0}};
        if (poll(fds, 2, 1000) < 0 && errno != EINTR)
            return;
        if (stopping)
            return;
        if (fds[1].revents & POLLIN) {
            char drained[16];
            [[maybe_unused]] auto ignored = read(wakePipe[0], drained, sizeof drained);
            if (hangUpRequested) {
                hangUp();
                return;
            }
            continue;
        }
        if (fds[0].revents & POLLIN) {
            const ssize_t n = read(master, buffer, sizeof buffer);
            if (n > 0) {
                for (ssize_t i = 0; i < n && master >= 0; ++i)
                    handle(quint8(buffer[i]));
                continue;
            }
        }
        if (fds[0].revents & (POLLHUP | POLLERR)) {
            // Nobody has the port open: start afresh when the editor opens it again.
            {
                std::lock_guard lock(mutex);
                takingImage = false;
                image.clear();
            }
            sleepFor(std::chrono::milliseconds(5));
        }
    }
}

void ReceiverSimulator::handle(quint8 byte)
{
    if (master < 0)
        return;
    bool imageComplete = false;
    QByteArray fullImage;
    Fault f;
    {
        std::lock_guard lock(mutex);
        const auto now = Clock::now();
        // Bytes come no faster than the line carries them.
        lineBusyUntil = paced ? std::max(now, lineBusyUntil) + kByteTime : now;
        f = fault;
        if (takingImage) {
            if (image.isEmpty())
                imageStart = now;
            image += char(byte);
            if (image.size() < kImageBytes)
                return;
            takingImage = false;
            lastFullImage = fullImage = image;
            image.clear();
            ++images;
            imageComplete = true;
        } else {
            commands += char(byte);
        }
    }
    if (f == Fault::Silent)
        return;

    if (imageComplete) {
        if (f == Fault::NoImageAnswer)
            return;
        quint8 sum = 0;
        for (int i = 0; i < kImageBytes - 1; ++i)
            sum = quint8(sum + quint8(fullImage.at(i)));
        if (sum != quint8(fullImage.back()) || f == Fault::Nak) {
            answer(kNak, false);
            return;
        }
        {
            std::lock_guard lock(mutex);
            memory = fullImage.left(512);
        }
        answer(kAck, false);
        sendDownload();
        return;
    }

    switch (byte) {
    case 'Z':
        {
            std::lock_guard lock(mutex);
            takingImage = true; // the image follows the attention byte
            image.clear();
        }
        answer(kAck, f == Fault::LateAck);
        break;
    case 'T':
        answer(kAck, f == Fault::LateAck);
        break;
    case 'D':
        answer(f == Fault::Nak ? kNak : kAck, f == Fault::LateAck);
        break;
    case 'X': {
        QByteArray reply(1, char(kStx));
        {
            std::lock_guard lock(mutex);
            reply += memory;
        }
        sendDumpAnswer(reply, f);
        break;
    }
    case 'R': {
        QByteArray reply;
        {
            std::lock_guard lock(mutex);
            reply = rawText;
        }
        sendDumpAnswer(reply + char(kEtx), f);
        break;
    }
    default:
        break; // "Q" and anything unknown get no answer
    }
}

void ReceiverSimulator::answer(quint8 byte, bool late)
{
    int delay;
    bool noise;
    {
        std::lock_guard lock(mutex);
        delay = lateMs;
        noise = garbage || fault == Fault::GarbageBeforeAnswers;
    }
    latePending = late;
    const LateAnswerEnd lateEnd{latePending};
    if (late && !sleepFor(std::chrono::milliseconds(delay)))
        return;
    send((noise ? kGarbage : QByteArray()) + char(byte));
}

void ReceiverSimulator::sendDumpAnswer(QByteArray bytes, Fault f)
{
    int delay;
    bool noise;
    {
        std::lock_guard lock(mutex);
        delay = lateMs;
        noise = garbage || f == Fault::GarbageBeforeAnswers;
    }
    latePending = f == Fault::LateAck;
    const LateAnswerEnd lateEnd{latePending};
    if (f == Fault::LateAck && !sleepFor(std::chrono::milliseconds(delay)))
        return;
    if (noise)
        bytes.prepend(kGarbage);
    if (f == Fault::ShortDownload)
        bytes.chop(1); // the last memory byte, or the ETX of the raw text
    if (f == Fault::HangUpInDownload) {
        send(bytes.left(bytes.size() / 2));
        sleepFor(std::chrono::milliseconds(200));
        hangUp();
        return;
    }
    send(bytes);
}

void ReceiverSimulator::sendDownload()
{
    QByteArray bytes;
    Fault f;
    {
        std::lock_guard lock(mutex);
        bytes = downloadFor(history, romVersion);
        f = fault;
        ++downloads;
    }
    if (f == Fault::ShortDownload)
        bytes.chop(1);
    if (f == Fault::BadDownloadChecksum)
        bytes[1279] = char(quint8(bytes.at(1279)) + 1);
    if (f == Fault::BadEndMark)
        bytes[1283] = '?'; // neither ACK nor NAK
    if (f == Fault::HangUpInDownload) {
        send(bytes.left(640));
        // Give the editor time to take these in: a hang-up throws away what is unread.
        sleepFor(std::chrono::milliseconds(200));
        hangUp();
        return;
    }
    send(bytes);
}

bool ReceiverSimulator::editorAttached()
{
    if (master < 0)
        return false;
    pollfd fd{master, 0, 0};
    poll(&fd, 1, 0);
    return !(fd.revents & (POLLHUP | POLLERR));
}

void ReceiverSimulator::sendStray(const QByteArray &bytes)
{
    std::lock_guard lock(mutex);
    if (master >= 0) {
        [[maybe_unused]] auto ignored = write(master, bytes.constData(), size_t(bytes.size()));
    }
}

bool ReceiverSimulator::send(const QByteArray &bytes)
{
    // What a closed port would never have received must not wait for its next opening.
    if (!editorAttached())
        return false;
    bool pacedNow;
    Clock::time_point at;
    {
        std::lock_guard lock(mutex);
        pacedNow = paced;
        at = std::max(Clock::now(), lineBusyUntil);
    }
    if (!pacedNow) {
        qsizetype done = 0;
        while (done < bytes.size()) {
            const ssize_t n = write(master, bytes.constData() + done, size_t(bytes.size() - done));
            if (n <= 0)
                return false;
            done += n;
        }
        return true;
    }
    for (char c : bytes) {
        if (stopping)
            return false;
        std::this_thread::sleep_until(at);
        if (write(master, &c, 1) != 1)
            return false;
        at += kByteTime;
    }
    std::lock_guard lock(mutex);
    lineBusyUntil = at;
    return true;
}

bool ReceiverSimulator::sleepFor(std::chrono::milliseconds span)
{
    pollfd fd{wakePipe[0], POLLIN, 0};
    poll(&fd, 1, int(span.count()));
    return !stopping;
}

void ReceiverSimulator::hangUp()
{
    // As an adapter pulled out: the device is gone for good.
    std::lock_guard lock(mutex);
    close(master);
    master = -1;
    hungUp.notify_all();
}
