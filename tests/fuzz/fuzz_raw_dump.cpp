// The receiver's answer to the raw dump, byte by byte through the filter of the data dump.
// The shown text begins with "ZCZC", holds nothing below 32 but the line ends after the 62nd
// and the 124th character, and holds every character above 31 that came after "ZCZC".
#include "FuzzSupport.h"

#include "diagnostics/DataDump.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzz::setUp();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    RawDumpFilter filter;
    QString shown; // every character above 31, in order
    for (size_t i = 0; i < size; ++i) {
        FUZZ_CHECK(filter.take(data[i]) == (data[i] == ETX));
        if (data[i] > 31)
            shown += QChar(char16_t(data[i]));
    }
    const qsizetype start = shown.indexOf(QLatin1String("ZCZC"));
    FUZZ_CHECK(filter.started() == (start >= 0));
    QString raw = filter.raw();
    FUZZ_CHECK(filter.started() != raw.isEmpty());
    if (!filter.started())
        return 0;
    FUZZ_CHECK(raw.startsWith(QLatin1String("ZCZC")));
    if (raw.size() >= 126) {
        FUZZ_CHECK(raw.mid(124, 2) == kDumpLineEnd);
        raw.remove(124, 2);
    }
    if (raw.size() >= 64) {
        FUZZ_CHECK(raw.mid(62, 2) == kDumpLineEnd);
        raw.remove(62, 2);
    }
    for (QChar c : raw)
        FUZZ_CHECK(c.unicode() > 31);
    FUZZ_CHECK(raw == shown.mid(start));
    return 0;
}
