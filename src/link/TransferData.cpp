#include "link/TransferData.h"

#include "core/Platform.h"
#include "config/ReceiverConfig.h"
#include "selection/EventTable.h"
#include "selection/FipsEntry.h"

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
    // The receiver takes 24 counties and 48 event codes, which the windows enforce; a longer
    // list (a hand-made or damaged parameter file) is cut there, and never runs past its area.
    int p = kFipsAreaStart;
    int counties = 0;
    for (int slot = 0; slot <= 98 && counties < kMaxTickedCounties; ++slot) {
        const QString &entry = FipsList[slot];
        if (!entry.startsWith(QLatin1String("X ")) || entry.size() < 8)
            continue;
        if (p + 7 > kFipsAreaEnd)
            break;
        ++counties;
        const QByteArray code = entry.mid(2, 6).toLatin1();
        for (int i = 0; i < 6; ++i)
            TransferImage[p + i] = quint8(code.at(i));
        TransferImage[p + 6] = '-';
        p += 7;
    }

    p = kEventAreaStart;
    int codes = 0;
    for (const QString &event : EventList) {
        if (event.isEmpty())
            continue;
        const QByteArray code = event.toLatin1();
        if (codes == kEventSelectable || p + code.size() + 1 > kEventAreaEnd)
            break;
        ++codes;
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
