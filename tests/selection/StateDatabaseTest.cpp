#include "config/ConfigTestSupport.h"
#include "selection/SelectionTestSupport.h"
#include "support/TestRegistry.h"

#include "selection/StateDatabase.h"
#include "StateFileGenerator.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <map>
#include <set>

namespace {

// A state file line from its fields, in the file's columns.
QString stateLine(const char *code, const char *county, const char *city, const char *frequency)
{
    return QString::fromLatin1(code) + QStringLiteral("  ") + QString::fromLatin1(county).leftJustified(22) + u' ' +
           QString::fromLatin1(city).leftJustified(24) + QString::fromLatin1(frequency);
}

QString transmitterKey(const char *city, const char *frequency)
{
    return u' ' + QString::fromLatin1(city).leftJustified(24) + QString::fromLatin1(frequency);
}

} // namespace

// The tables, the reader and the transmitter list, on small state files of the test's own.
class StateDatabaseTest : public QObject
{
    Q_OBJECT
    QTemporaryDir states;

private slots:
    void init()
    {
        doubles().clear();
        QVERIFY(states.isValid());
        setStatesDirectory(states.path());
    }
    void cleanupTestCase() { setStatesDirectory(QString()); }

    // The file numbers follow the rule of the table: 101 plus the alphabetical place of the
    // prefix among the 50 states, 151 to 154 for the territories in box order.
    void fileNamesFollowTheirRule()
    {
        QStringList prefixes;
        for (int s = 0; s < 50; ++s)
            prefixes << QString::fromLatin1(StateTable[s].fileName).left(2);
        QStringList sorted = prefixes;
        sorted.sort();
        for (int s = 0; s < kStateCount; ++s) {
            const QString name = stateFileName(s);
            const int expected = s < 50 ? 101 + int(sorted.indexOf(name.left(2))) : 151 + (s - 50);
            QCOMPARE(name, name.left(2) + QStringLiteral("_%1.st").arg(expected));
        }
        QCOMPARE(stateFileName(8), QStringLiteral("Fl_109.st"));
        QCOMPARE(stateFileName(51), QStringLiteral("Mr_152.st"));
        QCOMPARE(QString::fromLatin1(StateTable[51].name), QStringLiteral("N Mariana Islands"));
        QCOMPARE(stateFileName(-1), QString());
        QCOMPARE(stateFileName(54), QString());
    }

    void frequencyTexts()
    {
        QCOMPARE(frequencyText(0), QString()); // "All" filters nothing
        QCOMPARE(frequencyText(1), QStringLiteral("162.400"));
        QCOMPARE(frequencyText(4), QStringLiteral("162.475"));
        QCOMPARE(frequencyText(7), QStringLiteral("162.550"));
        QCOMPARE(frequencyText(8), QString());
        QCOMPARE(frequencyText(-1), QString());
    }

    // The whole state-number table, number by number.
    void everyStateNumber_data()
    {
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("name");
        const char *table[][2] = {
            {"01", "Alabama"},        {"02", "Alaska"},          {"04", "Arizona"},        {"05", "Arkansas"},
            {"06", "California"},     {"08", "Colorado"},        {"09", "Connecticut"},    {"10", "Delaware"},
            {"11", "District Of Columbia"}, {"12", "Florida"},   {"13", "Georgia"},        {"15", "Hawaii"},
            {"16", "Idaho"},          {"17", "Illinois"},        {"18", "Indiana"},        {"19", "Iowa"},
            {"20", "Kansas"},         {"21", "Kentucky"},        {"22", "Louisiana"},      {"23", "Maine"},
            {"24", "Maryland"},       {"25", "Massachusetts"},   {"26", "Michigan"},       {"27", "Minnesota"},
            {"28", "Mississippi"},    {"29", "Missouri"},        {"30", "Montana"},        {"31", "Nebraska"},
            {"32", "Nevada"},         {"33", "New Hampshire"},   {"34", "New Jersey"},     {"35", "New Mexico"},
            {"36", "New York"},       {"37", "North Carolina"},  {"38", "North Dakota"},   {"39", "Ohio"},
            {"40", "Oklahoma"},       {"41", "Oregon"},          {"42", "Pennsylvania"},   {"44", "Rhode Island"},
            {"45", "South Carolina"}, {"46", "South Dakota"},    {"47", "Tennessee"},      {"48", "Texas"},
            {"49", "Utah"},           {"50", "Vermont"},         {"51", "Virginia"},       {"53", "Washington"},
            {"54", "West Virginia"},  {"55", "Wisconsin"},       {"56", "Wyoming"},        {"66", "Guam"},
            {"69", "Mariana Islands"}, {"72", "Puerto Rico"},    {"78", "US Virgin Islands"},
        };
        for (const auto &row : table)
            QTest::newRow(row[0]) << QString::fromLatin1(row[0]) << QString::fromLatin1(row[1]);
        for (int n = 0; n < 100; ++n) {
            const QString number = QStringLiteral("%1").arg(n, 2, 10, QChar(u'0'));
            if (std::none_of(std::begin(table), std::end(table), [&](const auto &row) { return number == QLatin1String(row[0]); }))
                QTest::newRow(qPrintable(number + QStringLiteral(" none"))) << number << QString();
        }
    }
    void everyStateNumber()
    {
        QFETCH(QString, number);
        QFETCH(QString, name);
        QCOMPARE(stateNameForNumber(u'0' + number + QStringLiteral("001")), name);
    }

    // Every county of every delivered state file reaches the FIPS list with a state name,
    // and the counties of a state's own file carry that state's name.
    void everyCommittedCountyHasItsStateName()
    {
        setStatesDirectory(committedStatesDir());
        for (int s = 0; s < kStateCount; ++s) {
            QStringList lines;
            QVERIFY2(readStateFile(s, lines), StateTable[s].fileName);
            QStringList names;
            for (const QString &line : lines) {
                const QString name = stateNameForNumber(line);
                QVERIFY2(!name.isEmpty(), qPrintable(line));
                names << name;
            }
            QString boxName = QString::fromLatin1(StateTable[s].name);
            if (boxName == QLatin1String("N Mariana Islands"))
                boxName = QStringLiteral("Mariana Islands");
            QVERIFY2(names.contains(boxName), StateTable[s].fileName);
        }
    }

    void stateNames()
    {
        QCOMPARE(stateNameForNumber("012011  Broward                West Palm Beach, FL     162.475"),
                 QStringLiteral("Florida"));
        QCOMPARE(stateNameForNumber("011001"), QStringLiteral("District Of Columbia")); // only here
        QCOMPARE(stateNameForNumber("069100"), QStringLiteral("Mariana Islands")); // not the box name
        QCOMPARE(stateNameForNumber("078010"), QStringLiteral("US Virgin Islands"));
        for (const char *none : {"014001", "052001", "003001", "043001", "0"})
            QVERIFY2(stateNameForNumber(none).isEmpty(), none);
    }

    void markSeenRemembersUntilCleared()
    {
        clearSeenList();
        QVERIFY(!markSeen("a"));
        QVERIFY(!markSeen("b"));
        QVERIFY(markSeen("a"));
        QVERIFY(!markSeen("a "));
        QCOMPARE(SeenList.count, qint16(3));
        clearSeenList();
        QVERIFY(!markSeen("a"));
        for (int k = 1; k < kStateFileMaxLines; ++k)
            markSeen(QString::number(k));
        QVERIFY(seenListFull());
        QVERIFY(markSeen("new")); // nothing more fits
    }

    void transmitterList_data()
    {
        QTest::addColumn<QString>("frequency");
        QTest::addColumn<QStringList>("keys");
        QTest::newRow("All") << QString()
                             << QStringList{transmitterKey("Alpha, FL", "162.400"),
                                            transmitterKey("beta, FL", "162.475"), transmitterKey("Zulu, FL", "162.475")};
        QTest::newRow("162.475") << "162.475"
                                 << QStringList{transmitterKey("beta, FL", "162.475"), transmitterKey("Zulu, FL", "162.475")};
        QTest::newRow("a channel nobody uses") << "162.525" << QStringList{};
    }
    void transmitterList()
    {
        QFETCH(QString, frequency);
        QFETCH(QStringList, keys);
        const QStringList lines = {
            stateLine("012001", "One", "Zulu, FL", "162.475"),
            stateLine("012003", "Two", "Alpha, FL", "162.400"),
            "",
            "012005  Three                  --No NWR Coverage--",
            stateLine("012007", "Four", "Zulu, FL", "162.475") + "   remark past column 62",
            stateLine("012009", "Five", "beta, FL", "162.475"),
            stateLine("012011", "Six", "Alpha, FL", "162.400"),
        };
        // Sorted alphabetically regardless of case, each transmitter once, uncovered
        // counties and text past column 62 ignored.
        QCOMPARE(transmitterKeys(lines, frequency), keys);
    }

    void readingLimits_data()
    {
        QTest::addColumn<int>("lineCount");
        QTest::addColumn<bool>("readable");
        QTest::newRow("empty file") << 0 << true;
        QTest::newRow("501 lines") << 501 << true;
        QTest::newRow("502 lines") << 502 << false;
    }
    void readingLimits()
    {
        QFETCH(int, lineCount);
        QFETCH(bool, readable);
        QByteArray content;
        for (int k = 0; k < lineCount; ++k)
            content += "012001  One                    Zulu, FL               162.475\r\n";
        writeFileBytes(states.filePath(stateFileName(8)), content);
        QStringList lines;
        QCOMPARE(readStateFile(8, lines), readable);
        if (readable) {
            QCOMPARE(lines.size(), lineCount);
            QVERIFY(lineCount == 0 || !lines.first().endsWith(u'\r'));
        }
        QStringList none;
        QVERIFY(!readStateFile(9, none)); // Georgia's file does not exist here
        QVERIFY(!readStateFile(54, none));
    }

    // A transmitter heard across a state line: counties in state order, each once, each
    // with the state of its own location code; numbers without a state give no name.
    void countiesAcrossStates()
    {
        for (int s = 0; s < kStateCount; ++s)
            writeFileBytes(states.filePath(stateFileName(s)), QByteArray());
        const QByteArray key = "Border Town, AL         162.400";
        writeFileBytes(states.filePath(stateFileName(0)), "001003  Baldwin                " + key + "\r\n" +
                                                         "014001  Nowhere                " + key + "\r\n");
        writeFileBytes(states.filePath(stateFileName(8)),
                  "012033  Escambia               " + key + "\r\n" +
                      "012033  Escambia               " + key + "\r\n" +
                      "012099  Palm Beach             Elsewhere, FL          162.400\r\n" +
                      "052001  Odd                    Border Town, AL  162.400  \r\n");
        const TransmitterCounties found = countiesForTransmitter(u' ' + QString::fromLatin1(key), 99);
        QVERIFY(found.complete);
        QCOMPARE(found.entries, (QStringList{"001003  Baldwin                Alabama",
                                             "014001  Nowhere                ",
                                             "012033  Escambia               Florida"}));

        // The key is compared without the blanks around it.
        QCOMPARE(countiesForTransmitter(QString::fromLatin1(key) + QStringLiteral("  "), 99).entries.size(), 3);

        // A missing file stops the scan there; what was found before it stays.
        QFile::remove(states.filePath(stateFileName(5)));
        const TransmitterCounties cut = countiesForTransmitter(u' ' + QString::fromLatin1(key), 99);
        QVERIFY(!cut.complete);
        QCOMPARE(cut.entries.size(), 2);

        // More counties than the list can store stop the scan too.
        writeFileBytes(states.filePath(stateFileName(5)), QByteArray());
        const TransmitterCounties capped = countiesForTransmitter(u' ' + QString::fromLatin1(key), 1);
        QVERIFY(!capped.complete);
        QCOMPARE(capped.entries.size(), 1);
    }
};

// The committed state files against the listing they are generated from.
class StateFilesTest : public QObject
{
    Q_OBJECT
    GeneratedStateFiles generated;

private slots:
    void initTestCase()
    {
        generated = generateStateFiles(fileBytes(sourceDir() + QStringLiteral("/data/nwr/nwr-county-coverage.csv")));
    }

    void committedFilesAreWhatTheListingGives()
    {
        QVERIFY2(generated.problems.isEmpty(), qPrintable(generated.problems.join(u'\n')));
        QCOMPARE(int(generated.files.size()), kStateCount);
        for (int s = 0; s < kStateCount; ++s) {
            const QString name = stateFileName(s);
            QVERIFY2(generated.files.count(name), qPrintable(name));
            QVERIFY2(fileBytes(committedStatesDir() + u'/' + name) == generated.files.at(name), qPrintable(name));
        }
        QStringList all = QDir(committedStatesDir()).entryList(QDir::Files);
        QCOMPARE(all.size(), kStateCount);
    }

    void everyLineHasTheColumnFormat()
    {
        static const QRegularExpression format(QStringLiteral(
            "^\\d{6}  [!-~][ -~]{21} (([!-~][ -~]{23}162\\.(400|425|450|475|500|525|550))|--No NWR Coverage--)$"));
        for (int s = 0; s < kStateCount; ++s) {
            const QByteArray content = fileBytes(committedStatesDir() + u'/' + stateFileName(s));
            QVERIFY(!content.isEmpty());
            QVERIFY(content.endsWith("\r\n"));
            const QStringList lines = QString::fromLatin1(content.chopped(2)).split(QStringLiteral("\r\n"));
            QVERIFY2(lines.size() <= kStateFileMaxLines, qPrintable(stateFileName(s)));
            for (const QString &line : lines)
                QVERIFY2(format.match(line).hasMatch(), qPrintable(line));
        }
    }

    // Each name and channel stands for exactly one transmitter (call sign) of the listing,
    // and a transmitter reads the same in every file where it appears.
    void everyTransmitterHasOneNameAndEveryNameOneTransmitter()
    {
        std::map<QString, std::set<QString>> keysOfCall, callsOfKey;
        std::map<QString, QStringList> linesOfFile;
        for (int s = 0; s < kStateCount; ++s)
            linesOfFile[QString::fromLatin1(StateTable[s].fileName).left(2).toUpper()] =
                QString::fromLatin1(fileBytes(committedStatesDir() + u'/' + stateFileName(s))).split(QStringLiteral("\r\n"));
        linesOfFile[QStringLiteral("MP")] = linesOfFile[QStringLiteral("MR")];
        const QStringList rows =
            QString::fromUtf8(fileBytes(sourceDir() + QStringLiteral("/data/nwr/nwr-county-coverage.csv"))).split(u'\n');
        int matched = 0;
        for (const QString &row : rows.mid(1)) {
            const QStringList f = row.split(u',');
            if (f.size() < 8 || f[5].isEmpty() || !linesOfFile.count(f[0]))
                continue;
            QStringList candidates;
            for (const QString &line : linesOfFile[f[0]])
                if (line.startsWith(f[1]) && line.mid(55, 7) == f[6])
                    candidates << line.mid(30, 32);
            candidates.removeDuplicates();
            QVERIFY2(!candidates.isEmpty(), qPrintable(row));
            if (candidates.size() != 1)
                continue; // two transmitters on one channel over the same county
            keysOfCall[f[5]].insert(candidates.first());
            callsOfKey[candidates.first()].insert(f[5]);
            ++matched;
        }
        QVERIFY(matched > 6000);
        for (const auto &[call, keys] : keysOfCall)
            QVERIFY2(keys.size() == 1, qPrintable(call));
        for (const auto &[key, calls] : callsOfKey)
            QVERIFY2(calls.size() == 1, qPrintable(key));
        // The listing's own trap: several "Springfield" transmitters on 162.400.
        int springfields = 0;
        for (const auto &[key, calls] : callsOfKey)
            if (key.startsWith(QStringLiteral(" Springfield")) && key.endsWith(QStringLiteral("162.400")))
                ++springfields;
        QCOMPARE(springfields, 3);
    }

    void namesFitTheirColumns_data()
    {
        QTest::addColumn<QString>("city");
        QTest::addColumn<QString>("state");
        QTest::addColumn<QString>("shown");
        QTest::newRow("plain") << "West Palm Beach" << "FL" << "West Palm Beach, FL";
        QTest::newRow("out of service mark") << QStringLiteral("Morrilton\u00a0\u00a0OUT OF SERVICE") << "AR"
                                             << "Morrilton, AR";
        QTest::newRow("parentheses and Mountain") << "Tooele (South Mountain)" << "UT" << "Tooele South Mtn, UT";
        QTest::newRow("park") << "Guadalupe Mt Nat'l. Park" << "TX" << "Guadalupe Mt NP, TX";
        QTest::newRow("state in the name") << "Washington DC" << "DC" << "Washington DC";
        QTest::newRow("no state: call sign") << "Plymouth" << "" << "Plymouth (WWH27)";
        QTest::newRow("nothing left to shorten") << "Abcdefghij Klmnopqrstu Vwxyz" << "NY" << "Abcdefghij Klmnopqrs, NY";
    }
    void namesFitTheirColumns()
    {
        QFETCH(QString, city);
        QFETCH(QString, state);
        QFETCH(QString, shown);
        QCOMPARE(transmitterDisplayName(city, state, QStringLiteral("WWH27")), shown);
        QVERIFY(shown.size() <= 24);
    }

    void countyNamesFit()
    {
        QCOMPARE(countyDisplayName("City of Colonial Heights"), QStringLiteral("Colonial Heights City"));
        QCOMPARE(countyDisplayName("St. Lucie"), QStringLiteral("St. Lucie"));
        QCOMPARE(countyDisplayName("Abcdefghijklmnopqrstuvwxyz").size(), 22);
    }

    // Same city, state and channel for two call signs: both show their call sign. The
    // District of Columbia lands in the Maryland and Virginia files.
    void smallListing()
    {
        const QByteArray csv =
            "state,same,county,transmitter,transmitter_state,callsign,frequency,remarks\n"
            "IL,017001,Adams,Springfield,IL,WXJ75,162.400,\n"
            "IL,017003,Alexander,Springfield,IL,WXL46,162.400,\n"
            "IL,017005,Bond,---No  NWR Coverage---,,,,\n"
            "DC,011001,District of Columbia,Washington DC,DC,WNG736,162.450,\n"
            "AS,060010,Eastern,Pago Pago,AS,WXM40,162.400,\n";
        const GeneratedStateFiles out = generateStateFiles(csv);
        QVERIFY2(out.problems.isEmpty(), qPrintable(out.problems.join(u'\n')));
        QCOMPARE(out.files.at("Il_114.st"),
                 QByteArray("017001  Adams                  Springfield WXJ75       162.400\r\n"
                            "017003  Alexander              Springfield WXL46       162.400\r\n"
                            "017005  Bond                   --No NWR Coverage--\r\n"));
        const QByteArray dc = "011001  District of Columbia   Washington DC           162.450\r\n";
        QCOMPARE(out.files.at("Md_120.st"), dc);
        QCOMPARE(out.files.at("Va_145.st"), dc);
        QCOMPARE(out.files.at("Fl_109.st"), QByteArray());

        QVERIFY(!generateStateFiles("not,a,listing\n").problems.isEmpty());
        QVERIFY(!generateStateFiles(csv + "IL,017007,Boone,Elgin,IL,WXJ75,162.400,\n").problems.isEmpty());
    }
};

ORVANE_TEST(StateDatabaseTest)
ORVANE_TEST(StateFilesTest)
#include "StateDatabaseTest.moc"
