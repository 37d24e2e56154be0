// The worded NV dump over any 512 bytes of receiver memory (the rest of the buffer 0, as the
// program leaves it). The buffer lies on the heap, exactly as long as the program's, so a
// read past its end is caught. At most 99 county codes and 48 event codes are listed, each
// in its shape, and the dump ends with its closing line.
#include "FuzzSupport.h"

#include "diagnostics/DataDump.h"
#include "selection/EventTable.h"

#include <memory>

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzz::setUp();
    initEventTable();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    auto buffer = std::make_unique<DumpBufferBytes>();
    buffer->fill(0);
    std::copy_n(data, std::min<size_t>(size, kNvDumpBytes), buffer->begin());
    const QString text = formatNvDump(*buffer);

    const QString &nl = kDumpLineEnd;
    const QString fipsHeading = nl + nl + QStringLiteral("..................STORED FIP CODES.......................") + nl;
    const QString eventHeading = nl + QStringLiteral(".................STORED EVENT CODES......................") + nl;
    const QString closing = QStringLiteral("..................End Of Data Dump.......................") + nl;
    FUZZ_CHECK(text.endsWith(closing));
    const qsizetype fips = text.lastIndexOf(fipsHeading);
    FUZZ_CHECK(fips >= 0);

    // County codes: six characters and a line end each, the first a digit.
    qsizetype p = fips + fipsHeading.size();
    int counties = 0;
    while (text.mid(p, eventHeading.size()) != eventHeading) {
        FUZZ_CHECK(p + 8 <= text.size() && text[p].isDigit() && text.mid(p + 6, 2) == nl);
        p += 8;
        ++counties;
    }
    FUZZ_CHECK(counties <= 99);

    // Event codes: three characters, two blanks, a name and a line end, the first a capital.
    p += eventHeading.size();
    int events = 0;
    const qsizetype end = text.size() - closing.size();
    while (p < end) {
        FUZZ_CHECK(text[p] >= u'A' && text[p] <= u'Z' && text.mid(p + 3, 2) == QLatin1String("  "));
        const qsizetype lineEnd = text.indexOf(nl, p + 5);
        FUZZ_CHECK(lineEnd > p + 5 && lineEnd + 2 <= end);
        p = lineEnd + 2;
        ++events;
    }
    FUZZ_CHECK(p == end && events <= 48);
    return 0;
}
