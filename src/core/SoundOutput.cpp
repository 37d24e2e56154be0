// Ground floor (src/core): the real sound player and pause behind Platform::playSound and
// Platform::sleepMs.
//
// Qt Multimedia's PulseAudio back end waits without limit inside QAudioSink::start when the
// sound server stalls, and stays there if the server then dies. So the user-interface thread
// never calls into Qt Multimedia: the clips are played by a sound thread that owns the
// QAudioSink, and the caller waits for it in a local event loop that ends at the clip's end,
// or at the latest a short guard after the clip should have ended. A sound thread held up
// inside the sound system is left alone: the clips asked of it meanwhile are skipped at once.

#include "core/Platform.h"
#include "core/WavData.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QBuffer>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QMediaDevices>
#include <QPointer>
#include <QThread>
#include <QTimer>
#include <atomic>
#include <utility>
#include <cstdio>
#include <cstring>
#include <cstdlib>
#include <limits>

namespace {

// How long after its designed end the caller stops waiting for a clip the sound server has
// not played (a guard of up to the second's pause after a clip delays nothing in a test
// alert, whose steps keep their schedule; the first clip of the run also connects to the
// server); how long a call into the sound system may last before the sound thread counts as
// held up; how long the stream stays open without a clip; and how long the program's end
// waits for the sound thread.
constexpr int kClipGuardMs = 1000;
constexpr int kFirstClipGuardMs = 3000;
constexpr int kHeldUpMs = 300;
constexpr int kIdleCloseMs = 5000;
constexpr int kExitWaitMs = 1000;
// Where clips go on the stream: a clip asked for at time t sounds at its place on the stream's
// time line, kLeadMs after the stream's start for the first clip; a place already written
// (the stream runs ahead of the clock) moves on to kLeadMs past what was written, and a place
// more than kMaxLagMs past it (the stream fell far behind) comes back to there.
constexpr int kLeadMs = 250;
constexpr int kMaxLagMs = 3000;

qint64 steadyMs()
{
    static QElapsedTimer timer = [] { QElapsedTimer t; t.start(); return t; }();
    return timer.elapsed() + 1; // never 0
}

// Id of the clip the caller waits for; a clip the sound thread comes to after its caller
// stopped waiting is not started. Clips up to stopUpTo are stopped (stopSound()).
std::atomic<quint64> wantedClip{0};
std::atomic<quint64> stopUpTo{0};
std::atomic<quint64> lastClipId{0};
// Since when the sound thread is inside a call into the sound system; 0 when it is not.
std::atomic<qint64> inCallSince{0};
// The sound thread, once made; set to null when it has been joined at the program's end.
std::atomic<QThread *> soundThread{nullptr};

bool soundThreadHeldUp()
{
    const qint64 since = inCallSince.load();
    return since != 0 && steadyMs() - since > kHeldUpMs;
}

struct InCall {
    InCall() { inCallSince.store(steadyMs()); }
    ~InCall() { inCallSince.store(0); }
};

// Plays the clips; lives in the sound thread and only there touches Qt Multimedia.
//
// One stream stays open while clips keep coming (a new stream for every clip starts each one
// late by the server's set-up time). The sound thread keeps it fed with silence and writes
// each clip in at the place on the stream that matches the time the clip was asked for, so
// that the clips sound exactly as far apart as they were asked, whatever the latency.
class SoundWorker : public QObject
{
    Q_OBJECT
public:
    void play(quint64 id, const PcmWav &clip, qint64 askedAtMs);
    void shutdown();

signals:
    void started(quint64 id);
    void finished(quint64 id, bool played);

private:
    struct Placed {
        quint64 id = 0;
        qint64 startByte = 0; // on the stream
        qint64 endByte = 0;
        qint64 giveUpAt = 0; // on steadyMs()
    };
    bool open(const QAudioFormat &format);
    void close();
    void pump();
    char silence() const { return format.sampleFormat() == QAudioFormat::UInt8 ? char(0x80) : char(0); }
    qint64 bytesAt(qint64 ms) const
    {
        const qint64 frames = ms * format.sampleRate() / 1000;
        return frames * format.bytesPerFrame();
    }

    QAudioSink *sink = nullptr;
    QIODevice *out = nullptr;
    QAudioFormat format;
    QTimer *pumpTimer = nullptr;
    QByteArray ahead;          // what follows the bytes written so far
    qint64 written = 0;        // bytes handed to the stream
    qint64 anchorMs = 0;       // the stream's time line: anchorByte sounds when a clip
    qint64 anchorByte = 0;     // asked for at anchorMs should
    qint64 placedEnd = 0;      // the end of the last clip placed
    qint64 lastUseMs = 0;
    QList<Placed> placed;
};

// Lives in the thread that asks for sounds; carries the sound thread's answers to it.
class SoundClient : public QObject
{
    Q_OBJECT
signals:
    void started(quint64 id);
    void finished(quint64 id, bool played);
};

SoundWorker *worker = nullptr;
SoundClient *client = nullptr;
QList<QEventLoop *> soundsWaiting;

bool SoundWorker::open(const QAudioFormat &wanted)
{
    QAudioDevice device;
    {
        InCall call;
        device = QMediaDevices::defaultAudioOutput();
    }
    if (device.isNull())
        return false;
    format = wanted;
    sink = new QAudioSink(device, format, this);
    {
        InCall call;
        out = sink->start(); // with a stalled server this may never return
    }
    // Without a sound server the start fails at once, and without a signal.
    if (!out || sink->error() != QAudio::NoError || sink->state() == QAudio::StoppedState) {
        close();
        return false;
    }
    written = 0;
    ahead.clear();
    placed.clear();
    placedEnd = 0;
    anchorMs = 0;
    if (!pumpTimer) {
        pumpTimer = new QTimer(this);
        pumpTimer->setTimerType(Qt::PreciseTimer);
        connect(pumpTimer, &QTimer::timeout, this, &SoundWorker::pump);
    }
    pumpTimer->start(5);
    return true;
}

// A stream whose server went away is left alone, not stopped nor deleted: Qt Multimedia frees
// its server connection when that fails, and tearing the stream down afterwards reaches into
// the freed connection. Only a stream still in good order is stopped and deleted, here on the
// sound thread.
void SoundWorker::close()
{
    if (pumpTimer)
        pumpTimer->stop();
    for (const Placed &clip : std::as_const(placed))
        emit finished(clip.id, false);
    placed.clear();
    ahead.clear();
    if (!sink)
        return;
    QAudioSink *stream = std::exchange(sink, nullptr);
    out = nullptr;
    stream->disconnect(this);
    if (stream->error() != QAudio::NoError || stream->state() == QAudio::StoppedState) {
        stream->setParent(nullptr); // the server is gone: the stream is never touched again
        return;
    }
    {
        InCall call;
        stream->stop();
    }
    delete stream;
}

// At the program's end, on the sound thread: news of a server gone is taken in first, then the
// stream is closed and the thread ends.
void SoundWorker::shutdown()
{
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    close();
    QThread::currentThread()->quit();
}

void SoundWorker::play(quint64 id, const PcmWav &clip, qint64 askedAtMs)
{
    if (wantedClip.load() != id || id <= stopUpTo.load()) { // its caller no longer waits
        emit finished(id, false);
        return;
    }
    QAudioFormat wanted;
    wanted.setSampleRate(clip.sampleRate);
    wanted.setChannelCount(clip.channels);
    wanted.setSampleFormat(clip.bitsPerSample == 8 ? QAudioFormat::UInt8 : QAudioFormat::Int16);
    if (sink && wanted != format)
        close();
    if (!sink && !open(wanted)) {
        emit finished(id, false);
        return;
    }
    lastUseMs = steadyMs();
    // The clip's place on the stream's time line.
    qint64 at = anchorMs ? anchorByte + bytesAt(askedAtMs - anchorMs) : written + bytesAt(kLeadMs);
    if (at < std::max(written, placedEnd) || at > written + bytesAt(kMaxLagMs)) {
        at = std::max(written + bytesAt(kLeadMs), placedEnd);
        at -= at % format.bytesPerFrame();
    }
    anchorMs = askedAtMs;
    anchorByte = at;
    const qint64 offset = at - written;
    if (ahead.size() < offset + clip.samples.size())
        ahead.append(QByteArray(offset + clip.samples.size() - ahead.size(), silence()));
    std::memcpy(ahead.data() + offset, clip.samples.constData(), size_t(clip.samples.size()));
    placedEnd = at + clip.samples.size();
    const qint64 untilEndMs = (placedEnd - written) * 1000 / (qint64(format.sampleRate()) * format.bytesPerFrame());
    placed.append({id, at, placedEnd, steadyMs() + untilEndMs + kIdleCloseMs});
    emit started(id);
}

// Keeps the stream fed, tells which clips the server has played, stops what stopSound()
// asked to stop, and closes the stream once it has been idle for a while or has failed.
void SoundWorker::pump()
{
    if (!sink)
        return;
    if (sink->state() == QAudio::StoppedState) { // the server went away
        close();
        return;
    }
    for (qsizetype i = 0; i < placed.size();) { // stopped: what is not yet written goes silent
        const Placed clip = placed[i];
        if (clip.id > stopUpTo.load()) {
            ++i;
            continue;
        }
        for (qint64 b = std::max(clip.startByte, written); b < clip.endByte && b - written < ahead.size(); ++b)
            ahead[b - written] = silence();
        placed.removeAt(i);
        emit finished(clip.id, false);
    }
    const qint64 free = sink->bytesFree();
    if (free > 0) {
        QByteArray chunk = ahead.left(free);
        ahead.remove(0, chunk.size());
        if (chunk.size() < free)
            chunk.append(QByteArray(free - chunk.size(), silence()));
        const qint64 wrote = out->write(chunk);
        if (wrote > 0) {
            written += wrote;
            if (wrote < chunk.size())
                ahead.prepend(chunk.mid(wrote));
        }
    }
    const qint64 playedBytes = sink->processedUSecs() * format.sampleRate() / 1000000 * format.bytesPerFrame();
    const qint64 now = steadyMs();
    for (qsizetype i = 0; i < placed.size();) {
        const bool done = playedBytes >= placed[i].endByte;
        if (done || now > placed[i].giveUpAt) {
            emit finished(placed[i].id, done);
            placed.removeAt(i);
        } else {
            ++i;
        }
    }
    if (placed.isEmpty() && now - lastUseMs > kIdleCloseMs)
        close();
}

// At the program's end: the sound thread is asked to close its stream and finish, and waited
// for a second. One held up inside the sound server is left alone (a QThread destroyed while it runs aborts the
// program, and joining it would never return).
//
// Qt Multimedia tears its sound-server connection down when the process exits; with the
// sound thread still inside that connection the tear-down aborts. So for a held-up thread an
// exit handler is registered here, after every one of Qt Multimedia's: it runs before them
// and ends the process at once, with the exit status the program gave.
void stopSoundThread()
{
    QThread *thread = soundThread.load();
    if (!thread)
        return;
    stopUpTo.store(std::numeric_limits<quint64>::max());
    QMetaObject::invokeMethod(worker, &SoundWorker::shutdown, Qt::QueuedConnection); // ends the thread
    if (thread->wait(kExitWaitMs)) { // the worker went with the thread's end, its stream before it
        worker = nullptr;
        soundThread.store(nullptr);
        delete thread;
    } else {
#ifdef __GLIBC__
        on_exit([](int status, void *) {
            std::fflush(nullptr);
            std::_Exit(status);
        }, nullptr);
#else
        std::atexit([] {
            std::fflush(nullptr);
            std::_Exit(EXIT_SUCCESS);
        });
#endif
    }
    delete client;
    client = nullptr;
}

bool makeSoundThread()
{
    if (soundThread.load())
        return worker != nullptr;
    if (!QCoreApplication::instance())
        return false;
    auto *thread = new QThread;
    thread->setObjectName(QStringLiteral("sound"));
    worker = new SoundWorker;
    worker->moveToThread(thread);
    QObject::connect(thread, &QThread::finished, worker, &QObject::deleteLater);
    client = new SoundClient;
    QObject::connect(worker, &SoundWorker::started, client, &SoundClient::started, Qt::QueuedConnection);
    QObject::connect(worker, &SoundWorker::finished, client, &SoundClient::finished, Qt::QueuedConnection);
    thread->start();
    soundThread.store(thread);
    qAddPostRoutine(stopSoundThread);
    return true;
}

bool realPlaySound(const QByteArray &wav)
{
    const PcmWav clip = parsePcmWav(wav);
    if (!clip.valid || clip.samples.isEmpty())
        return false;
    // The sound thread is held up inside the sound system (a stalled server): this clip is
    // skipped, and the caller goes on at once.
    if (soundThreadHeldUp() || !makeSoundThread())
        return false;
    const quint64 id = ++lastClipId;
    const qint64 bytesPerSecond = qint64(clip.sampleRate) * clip.channels * (clip.bitsPerSample / 8);
    const int clipMs = int(clip.samples.size() * 1000 / bytesPerSecond);

    QEventLoop loop;
    bool played = false; // placed on the stream: stopped early, the clip still counts as played
    QObject::connect(client, &SoundClient::started, &loop, [&](quint64 startedId) {
        if (startedId == id)
            played = true;
    });
    QObject::connect(client, &SoundClient::finished, &loop, [&](quint64 finishedId, bool ok) {
        if (finishedId == id) {
            played = played && ok;
            loop.quit();
        }
    });
    // Not played by then: the caller goes on, the sound thread keeps the clip a while longer.
    QTimer guard;
    guard.setSingleShot(true);
    guard.setTimerType(Qt::PreciseTimer);
    QObject::connect(&guard, &QTimer::timeout, &loop, [&] {
        played = false;
        loop.quit();
    });
    static bool firstClip = true;
    guard.start(clipMs + (firstClip ? kFirstClipGuardMs : kClipGuardMs));
    firstClip = false;

    wantedClip.store(id);
    const qint64 askedAtMs = steadyMs();
    QMetaObject::invokeMethod(worker, [id, clip, askedAtMs] { worker->play(id, clip, askedAtMs); },
                              Qt::QueuedConnection);
    soundsWaiting.append(&loop);
    loop.exec();
    soundsWaiting.removeOne(&loop);
    quint64 expected = id;
    wantedClip.compare_exchange_strong(expected, 0);
    return played;
}

void realStopSound()
{
    stopUpTo.store(lastClipId.load());
    for (QEventLoop *loop : std::as_const(soundsWaiting))
        loop->quit();
}

QList<QEventLoop *> pausesRunning;

void realSleep(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(std::max(ms, 0), Qt::PreciseTimer, &loop, &QEventLoop::quit);
    pausesRunning.append(&loop);
    loop.exec();
    pausesRunning.removeOne(&loop);
}

void realInterruptSleep()
{
    for (QEventLoop *loop : std::as_const(pausesRunning))
        loop->quit();
}

std::function<bool(const QByteArray &)> soundPlayer;
std::function<void()> soundStopper;
std::function<void(int)> sleeper;
std::function<void()> sleepInterrupter;

} // namespace

namespace Platform {

bool playSound(const QByteArray &wav) { return soundPlayer ? soundPlayer(wav) : realPlaySound(wav); }
void stopSound() { soundPlayer ? (soundStopper ? soundStopper() : void()) : realStopSound(); }
void setSoundPlayer(std::function<bool(const QByteArray &)> player, std::function<void()> stopper)
{
    soundPlayer = std::move(player);
    soundStopper = std::move(stopper);
}

void sleepMs(int ms) { sleeper ? sleeper(ms) : realSleep(ms); }
void interruptSleep() { sleeper ? (sleepInterrupter ? sleepInterrupter() : void()) : realInterruptSleep(); }
void setSleeper(std::function<void(int)> s, std::function<void()> interrupter)
{
    sleeper = std::move(s);
    sleepInterrupter = std::move(interrupter);
}

} // namespace Platform

#include "SoundOutput.moc"
