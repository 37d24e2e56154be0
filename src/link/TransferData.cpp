#include "link/TransferData.h"

#include "core/Platform.h"
#include "config/ReceiverConfig.h"

#include <QThread>
#include <algorithm>

namespace {

std::function<void(int)> pauseSleeper;

void sleepMs(int ms)
{
    if (pauseSleeper)
        pauseSleeper(ms);
    else
        QThread::msleep(ulong(ms));
}

} // namespace

void buildSelectionArea(TransferImageBytes &TransferImage)
{
    std::fill(TransferImage.begin() + kFipsAreaStart, TransferImage.begin() + kFipsAreaEnd, quint8(0));
    std::fill(TransferImage.begin() + kEventAreaStart, TransferImage.begin() + kEventAreaEnd, quint8(0));

    // Only ticked entries ("X 012011  Broward ...") are sent: characters 3 to 8 are the code.
    // The county window allows 24, the area has room for 25; a longer list (a hand-made or
    // damaged parameter file) is cut at the area's end instead of running into the events.
    int p = kFipsAreaStart;
    for (int slot = 0; slot <= 98; ++slot) {
        const QString &entry = FipsList[slot];
        if (!entry.startsWith(QLatin1String("X ")) || entry.size() < 8)
            continue;
        if (p + 7 > kFipsAreaEnd)
            break;
        const QByteArray code = entry.mid(2, 6).toLatin1();
        for (int i = 0; i < 6; ++i)
            TransferImage[p + i] = quint8(code.at(i));
        TransferImage[p + 6] = '-';
        p += 7;
    }

    p = kEventAreaStart;
    for (const QString &event : EventList) {
        if (event.isEmpty())
            continue;
        const QByteArray code = event.toLatin1();
        if (p + code.size() + 1 > kEventAreaEnd)
            break;
        for (char c : code)
            TransferImage[p++] = quint8(c);
        TransferImage[p++] = '-';
    }
}

int imageChecksum(const TransferImageBytes &TransferImage)
{
    int sum = 0;
    for (int i = 0; i < kImageBytesSent; ++i)
        sum += TransferImage[i];
    return sum;
}

bool downloadChecksumOk(const DownloadBufferBytes &DownloadBuffer)
{
    int sum = 0;
    for (int i = 0; i < kDownloadChecksumIndex; ++i)
        sum = (sum + DownloadBuffer[i]) % 256;
    return sum == DownloadBuffer[kDownloadChecksumIndex];
}

QString romVersionFromDownload(const DownloadBufferBytes &DownloadBuffer)
{
    return QString(QChar(DownloadBuffer[1280])) + u'.' + QChar(DownloadBuffer[1281]) + QChar(DownloadBuffer[1282]);
}

int uploadStartSecond(int second)
{
    const int target = second + 2;
    return target > 59 ? 2 : target;
}

void pauseUntilUploadSecond()
{
    // The designed loop polls the clock flat out for up to 4 s; sleeping to the next full
    // second between looks gives the same moment without burning a core.
    constexpr int kLongestPauseMs = 4000;
    const int target = uploadStartSecond(Platform::now().time().second());
    int slept = 0;
    for (;;) {
        const QTime time = Platform::now().time();
        if (time.second() == target || slept >= kLongestPauseMs)
            return;
        const int step = std::clamp(1000 - time.msec(), 1, 1000);
        sleepMs(step);
        slept += step;
    }
}

void setPauseSleeper(std::function<void(int)> sleeper) { pauseSleeper = std::move(sleeper); }
