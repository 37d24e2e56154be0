// The parameter file ORVANE_FILE2.DAT as found in the current folder. Whatever it holds: the
// lists keep their slots, what the program writes back has its 151 lines and reads back the
// same, and the transfer image built from the lists keeps the receiver's limits (24 counties,
// 48 event codes) and stays inside its two areas.
#include "FuzzSupport.h"

#include "config/ParameterFile.h"
#include "config/ReceiverConfig.h"
#include "link/TransferData.h"

#include <QFile>

namespace {

// An entry as the file stores it: control characters become blanks.
QString stored(const QString &text)
{
    QString out = text;
    for (QChar &c : out)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            c = u' ';
    return out;
}

void checkSelectionArea()
{
    static TransferImageBytes image;
    image.fill(0xAA);
    buildSelectionArea(image);
    for (int i = 0; i < kFipsAreaStart; ++i)
        FUZZ_CHECK(image[i] == 0xAA);
    FUZZ_CHECK(image[kEventAreaEnd] == 0xAA);

    int p = kFipsAreaStart;
    int counties = 0;
    for (int slot = 0; slot <= 98 && counties < 24; ++slot) {
        const QString &entry = FipsList[slot];
        if (!entry.startsWith(QLatin1String("X ")) || entry.size() < 8)
            continue;
        const QByteArray code = entry.mid(2, 6).toLatin1() + '-';
        FUZZ_CHECK(QByteArray(reinterpret_cast<const char *>(image.data()) + p, 7) == code);
        p += 7;
        ++counties;
    }
    for (; p < kFipsAreaEnd; ++p)
        FUZZ_CHECK(image[p] == 0);

    int codes = 0;
    p = kEventAreaStart;
    for (int slot = 0; slot < int(EventList.size()) && codes < 48; ++slot) {
        const QByteArray code = EventList[slot].toLatin1() + '-';
        if (code.size() == 1)
            continue;
        if (p + code.size() > kEventAreaEnd)
            break;
        FUZZ_CHECK(QByteArray(reinterpret_cast<const char *>(image.data()) + p, code.size()) == code);
        p += code.size();
        ++codes;
    }
    for (; p < kEventAreaEnd; ++p)
        FUZZ_CHECK(image[p] == 0);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzz::setUp();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    {
        QFile file(kParameterFileName);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            file.write(reinterpret_cast<const char *>(data), qint64(size)) != qint64(size))
            std::abort();
    }
    clearReceiverConfig();
    fuzz::messagesShown = 0;
    fuzz::nextAnswer = (size & 1) ? QMessageBox::No : QMessageBox::Yes;
    const bool read = readParameterFile();
    FUZZ_CHECK(fuzz::messagesShown <= 1);
    FUZZ_CHECK(read == (fuzz::messagesShown == 0 || fuzz::nextAnswer == QMessageBox::Yes));
    FUZZ_CHECK(FipsList[99].isEmpty());

    checkSelectionArea();

    // What is written back has 151 CR LF lines and reads back as written.
    const QByteArray content = parameterFileContent();
    FUZZ_CHECK(content.count("\r\n") == kParameterFileLines && content.count('\n') == kParameterFileLines &&
               content.count('\r') == kParameterFileLines && content.endsWith("\r\n"));
    const auto fips = FipsList;
    const auto events = EventList;
    FUZZ_CHECK(writeParameterFile());
    clearReceiverConfig();
    fuzz::messagesShown = 0;
    FUZZ_CHECK(readParameterFile() && fuzz::messagesShown == 0);
    for (int slot = 0; slot <= 98; ++slot)
        FUZZ_CHECK(FipsList[slot] == stored(fips[slot]));
    for (std::size_t slot = 0; slot < EventList.size(); ++slot)
        FUZZ_CHECK(EventList[slot] == stored(events[slot]));
    return 0;
}
