// Whole state files: the input is split at its first form feed (or its middle) into the
// files of the first two states; the other 52 are empty. Byte 0 picks the channel filter and
// the room left in the county list. The reader, the transmitter list and the county scan
// must keep their limits: 501 lines, distinct sorted keys, each county once, no more
// counties than there is room for.
#include "FuzzSupport.h"

#include "selection/StateDatabase.h"

#include <QFile>
#include <QSet>

namespace {

QString statesFolder;

void writeStateFile(int state, const QByteArray &content)
{
    QFile file(statesFolder + u'/' + stateFileName(state));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(content) != content.size())
        std::abort();
}

qsizetype lineCount(const QByteArray &content)
{
    qsizetype n = content.count('\n');
    if (!content.isEmpty() && !content.endsWith('\n'))
        ++n;
    return n;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzz::setUp();
    statesFolder = QDir::current().filePath(QStringLiteral("States"));
    QDir().mkpath(statesFolder);
    setStatesDirectory(statesFolder);
    for (int s = 0; s < kStateCount; ++s)
        writeStateFile(s, QByteArray());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    const int filter = data[0] % kFrequencyFilterCount;
    const int room = data[0] / kFrequencyFilterCount; // 0 to 31
    const QByteArray input(reinterpret_cast<const char *>(data) + 1, int(size - 1));
    qsizetype split = input.indexOf('\f');
    const QByteArray first = split >= 0 ? input.left(split) : input.left(input.size() / 2);
    const QByteArray second = split >= 0 ? input.mid(split + 1) : input.mid(input.size() / 2);
    writeStateFile(0, first);
    writeStateFile(1, second);

    QStringList lines;
    const bool read = readStateFile(0, lines);
    FUZZ_CHECK(read == (lineCount(first) <= kStateFileMaxLines));
    if (!read) {
        FUZZ_CHECK(lines.isEmpty());
        return 0;
    }
    FUZZ_CHECK(lines.size() == lineCount(first));
    for (const QString &line : lines)
        FUZZ_CHECK(!line.contains(u'\n'));

    const QStringList keys = transmitterKeys(lines, frequencyText(filter));
    FUZZ_CHECK(keys.size() <= kStateFileMaxLines);
    FUZZ_CHECK(QSet<QString>(keys.begin(), keys.end()).size() == keys.size());
    for (qsizetype k = 0; k < keys.size(); ++k) {
        FUZZ_CHECK(!keys[k].isEmpty() && keys[k].size() <= kTransmitterKeyWidth);
        FUZZ_CHECK(k == 0 || keys[k - 1].compare(keys[k], Qt::CaseInsensitive) <= 0);
    }
    if (keys.isEmpty())
        return 0;

    // The county scan for the first transmitter, over both fuzzed files.
    const QString wanted = keys[0].trimmed();
    const bool secondRead = lineCount(second) <= kStateFileMaxLines;
    const TransmitterCounties found = countiesForTransmitter(keys[0], room);
    FUZZ_CHECK(found.entries.size() <= room);
    FUZZ_CHECK(!found.complete || secondRead);
    FUZZ_CHECK(SeenList.count <= kStateFileMaxLines);
    // An entry is its county part and the state name that part names: each county once.
    const QSet<QString> entries(found.entries.begin(), found.entries.end());
    FUZZ_CHECK(entries.size() == found.entries.size());
    // Every county the files hold for the transmitter is listed, unless the scan stopped.
    if (found.complete) {
        QStringList both = lines;
        QStringList more;
        readStateFile(1, more);
        both += more;
        for (const QString &line : both)
            if (line.mid(30, kTransmitterKeyWidth).trimmed() == wanted)
                FUZZ_CHECK(entries.contains(countyEntryFromStateLine(line)));
    }
    return 0;
}
