// One line of a state file (Latin-1, as the reader takes it): the county entry made from it,
// its state name and the transmitter key it gives, under every channel filter.
#include "FuzzSupport.h"

#include "selection/StateDatabase.h"

#include <QSet>

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzz::setUp();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QByteArray bytes(reinterpret_cast<const char *>(data), int(std::min<size_t>(size, 400)));
    bytes.replace('\n', ' '); // the reader splits lines there
    const QString line = QString::fromLatin1(bytes);

    static const QSet<QString> names = [] {
        QSet<QString> set;
        for (int n = 0; n < 100; ++n) {
            const QString name = stateNameForNumber(QStringLiteral("0%1").arg(n, 2, 10, QChar(u'0')));
            if (!name.isEmpty())
                set.insert(name);
        }
        return set;
    }();
    FUZZ_CHECK(names.size() == 55); // 54 states and territories and the District of Columbia

    const QString state = stateNameForNumber(line);
    FUZZ_CHECK(state.isEmpty() || names.contains(state));
    FUZZ_CHECK(state.isEmpty() || (line.size() >= 3 && line[1].isDigit() && line[2].isDigit()));

    const QString entry = countyEntryFromStateLine(line);
    FUZZ_CHECK(entry == line.left(kCountyPartWidth) + state);

    const QString cut = line.left(kStateLineWidth);
    const bool uncovered = line.isEmpty() || line.mid(31, kNoCoverageText.size()) == kNoCoverageText;
    for (int filter = 0; filter < kFrequencyFilterCount; ++filter) {
        const QString frequency = frequencyText(filter);
        const QStringList keys = transmitterKeys({line}, frequency);
        FUZZ_CHECK(keys.size() <= 1);
        FUZZ_CHECK(!uncovered || keys.isEmpty());
        if (keys.isEmpty())
            continue;
        FUZZ_CHECK(keys[0] == cut.right(kTransmitterKeyWidth));
        FUZZ_CHECK(keys[0].size() == std::min<qsizetype>(cut.size(), kTransmitterKeyWidth));
        FUZZ_CHECK(frequency.isEmpty() || cut.mid(55, 7) == frequency);
    }
    return 0;
}
