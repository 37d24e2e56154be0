#include "config/ConfigTestSupport.h"
#include "support/TestRegistry.h"

#include "app/frmMain.h"
#include "config/ParameterFile.h"

#include <QDir>
#include <algorithm>

namespace {

const QString kNoFileQuestion = QStringLiteral("Error #199:  Missing or Corrupted Orvane Data File.\r\nCreate Default Data File?");

void fillSampleLists()
{
    FipsList[0] = QStringLiteral("X 012011  Broward                Florida");
    FipsList[1] = QStringLiteral("  012085  Martin                 Florida");
    FipsList[4] = QStringLiteral("X 001003  Baldwin                Alabama, with \"quotes\"");
    FipsList[98] = QStringLiteral("  072001  Adjuntas               Puerto Rico");
    EventList[0] = QStringLiteral("TOR");
    EventList[7] = QStringLiteral("SVR");
    EventList[48] = QStringLiteral("RWT");
}

template <typename List> int filledSlots(const List &list)
{
    return int(std::count_if(list.begin(), list.end(), [](const QString &s) { return !s.isEmpty(); }));
}

} // namespace

class ParameterFileTest : public QObject
{
    Q_OBJECT
private slots:
    void init() { freshState(); }

    // Written and read back, whole; an entry holding a line break or another control character
    // is written with a blank in its place, so the file keeps its 151 lines.
    void roundTrip_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("stored");
        QTest::newRow("plain") << "X 012011  Foo Bar" << "X 012011  Foo Bar";
        QTest::newRow("line feed") << "X 012011  Foo\nBar" << "X 012011  Foo Bar";
        QTest::newRow("CR LF") << "X 012011  Foo\r\nBar" << "X 012011  Foo  Bar";
        QTest::newRow("carriage return") << "X 012011  Foo\rBar" << "X 012011  Foo Bar";
        QTest::newRow("tab, DEL, form feed") << "X 012011\t Foo\x7f\f" << "X 012011  Foo  ";
    }
    void roundTrip()
    {
        QFETCH(QString, entry);
        QFETCH(QString, stored);
        fillSampleLists();
        FipsList[2] = entry;
        EventList[3] = QStringLiteral("TO\nR");
        auto fips = FipsList;
        auto events = EventList;
        fips[2] = stored;
        events[3] = QStringLiteral("TO R");
        QVERIFY(writeParameterFile());
        const QByteArray bytes = fileBytes(kParameterFileName);
        QCOMPARE(bytes.count('\n'), kParameterFileLines);
        QCOMPARE(bytes.count('\r'), kParameterFileLines);
        QCOMPARE(bytes.count("\r\n"), kParameterFileLines);
        const QList<QByteArray> lines = bytes.split('\n');
        QCOMPARE(lines[0], QByteArray("Orvane SAME Digital Weather Receiver Parameter File. DO NOT MODIFY\r"));
        QCOMPARE(lines[1], QByteArray("[FIP Codes]\r"));
        QCOMPARE(lines[3], QByteArray("  012085  Martin                 Florida\r"));
        QCOMPARE(lines[101], QByteArray("[Event Codes]\r"));
        QCOMPARE(lines[150], QByteArray("RWT\r"));

        clearReceiverConfig();
        QVERIFY(readParameterFile());
        QVERIFY(doubles().messages.isEmpty());
        QCOMPARE(FipsList, fips);
        QCOMPARE(EventList, events);
        QCOMPARE(QDir::current().entryList(QDir::Files), QStringList{kParameterFileName}); // nothing left behind
    }

    // The defaults: four counties and twelve event codes, in this order; no other slot changes.
    void defaultLists()
    {
        FipsList[4] = QStringLiteral("  012086  Miami-Dade             Florida");
        EventList[12] = QStringLiteral("EWW");
        loadDefaultLists();
        QCOMPARE(QStringList(FipsList.begin(), FipsList.begin() + 5),
                 QStringList({"X 012011  Broward                Florida", "X 012085  Martin                 Florida",
                              "X 012099  Palm Beach             Florida", "X 012111  St. Lucie              Florida",
                              "  012086  Miami-Dade             Florida"}));
        QCOMPARE(QStringList(EventList.begin(), EventList.begin() + 13),
                 QStringList({"FFA", "FFW", "FLA", "FLW", "HWA", "HWW", "SVA", "SVR", "TOA", "TOR", "RMT", "RWT", "EWW"}));
        QCOMPARE(filledSlots(FipsList), 5);
        QCOMPARE(filledSlots(EventList), 13);
    }

    // A folder that takes no new file (so no temporary file beside ORVANE_FILE2.DAT) holding
    // a file that may be written: the file is written in place. When the file itself may not
    // be written either, that is still error 108 and the old file stays.
    void folderTakingNoNewFile_data()
    {
        QTest::addColumn<bool>("fileWritable");
        QTest::newRow("writable file: written in place") << true;
        QTest::newRow("read-only file: error 108") << false;
    }
    void folderTakingNoNewFile()
    {
        QFETCH(bool, fileWritable);
        loadDefaultLists();
        QVERIFY(writeParameterFile());
        const QByteArray before = fileBytes(kParameterFileName);
        if (!fileWritable)
            QVERIFY(QFile::setPermissions(kParameterFileName, QFileDevice::ReadOwner | QFileDevice::ReadGroup |
                                                                  QFileDevice::ReadOther));
        EventList[12] = QStringLiteral("EWW");
        const QByteArray wanted = parameterFileContent();
        enum { Written = 1, Ended = 2, Error108 = 4 };
        const int outcome = inFolderTakingNoNewFile(QDir::currentPath(), [] {
            const bool written = writeParameterFile();
            return (written ? Written : 0) | (doubles().programEnds > 0 ? Ended : 0) |
                   (doubles().lastMessageText().startsWith(QLatin1String("Error #108:")) ? Error108 : 0);
        });
        QFile::setPermissions(kParameterFileName, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        QVERIFY2(outcome != kChildCrashed, "the writing process crashed");
        if (outcome == kFolderNotLocked)
            QSKIP("no folder here can be made to refuse new files to this process");
        if (fileWritable) {
            QCOMPARE(outcome, int(Written));
            QCOMPARE(fileBytes(kParameterFileName), wanted);
        } else {
            QCOMPARE(outcome, Ended | Error108);
            QCOMPARE(fileBytes(kParameterFileName), before);
        }
        QCOMPARE(QDir::current().entryList(QDir::Files), QStringList{kParameterFileName});
    }

    void damagedFiles_data()
    {
        QTest::addColumn<int>("damage");
        QTest::newRow("header differs only in letter case") << 0;
        QTest::newRow("missing [FIP Codes]") << 1;
        QTest::newRow("missing [Event Codes]") << 2;
        QTest::newRow("last line missing") << 3;
    }
    void damagedFiles()
    {
        QFETCH(int, damage);
        fillSampleLists();
        QList<QByteArray> lines = parameterFileContent().split('\n');
        switch (damage) {
        case 0: lines[0] = lines[0].replace("DO NOT MODIFY", "Do Not Modify"); break;
        case 1: lines[1] = "[FIP codes]\r"; break;
        case 2: lines[101] = "\r"; break;
        case 3: lines = lines.mid(0, 150); break;
        }
        writeFileBytes(kParameterFileName, lines.join('\n'));
        clearReceiverConfig();
        doubles().answerNext(QMessageBox::No);
        QVERIFY(!readParameterFile());
        QCOMPARE(shownBoxes(), QStringList{box(kNoFileQuestion, QMessageBox::Warning, QMessageBox::Yes | QMessageBox::No)});
        // Slots read before the damage keep what was read.
        QCOMPARE(FipsList[0].isEmpty(), damage <= 1);
        QCOMPARE(EventList[7].isEmpty(), damage <= 2);
    }

    // Yes on a file cut after line 120: the defaults overlay what was read (lines 103 to
    // 120 are event slots 0 to 17).
    void fileCutAfterLine120WithYes()
    {
        fillSampleLists();
        FipsList[2] = QStringLiteral("X 012099  Palm Beach             Florida");
        for (int k = 0; k < 49; ++k)
            EventList[k] = QStringLiteral("E%1").arg(k, 2, 10, QChar(u'0'));
        writeFileBytes(kParameterFileName, parameterFileContent().split('\n').mid(0, 120).join('\n') + '\n');
        clearReceiverConfig();
        doubles().answerNext(QMessageBox::Yes);
        QVERIFY(readParameterFile());
        QCOMPARE(doubles().lastMessageText(), kNoFileQuestion);
        QCOMPARE(FipsList[0], QStringLiteral("X 012011  Broward                Florida"));
        QCOMPARE(FipsList[1], QStringLiteral("X 012085  Martin                 Florida"));
        QCOMPARE(FipsList[3], QStringLiteral("X 012111  St. Lucie              Florida"));
        QCOMPARE(FipsList[4], QStringLiteral("X 001003  Baldwin                Alabama, with \"quotes\""));
        QCOMPARE(FipsList[98], QStringLiteral("  072001  Adjuntas               Puerto Rico"));
        QCOMPARE(EventList[0], QStringLiteral("FFA"));
        QCOMPARE(EventList[11], QStringLiteral("RWT"));
        QCOMPARE(EventList[12], QStringLiteral("E12"));
        QCOMPARE(EventList[17], QStringLiteral("E17"));
        QVERIFY(EventList[18].isEmpty());
    }

    void noFile_data()
    {
        QTest::addColumn<bool>("yes");
        QTest::newRow("Yes") << true;
        QTest::newRow("No") << false;
    }
    void noFile()
    {
        QFETCH(bool, yes);
        doubles().answerNext(yes ? QMessageBox::Yes : QMessageBox::No);
        QCOMPARE(readParameterFile(), yes);
        QCOMPARE(doubles().messages.size(), 1);
        QCOMPARE(filledSlots(FipsList), yes ? 4 : 0);
        QCOMPARE(filledSlots(EventList), yes ? 12 : 0);
        QCOMPARE(FipsList[2], yes ? QStringLiteral("X 012099  Palm Beach             Florida") : QString());
        QVERIFY(!QFile::exists(kParameterFileName)); // written only by an exit with saving

        // The exit with saving writes the whole file, empty lines and all.
        frmMain main;
        main.exitWithSave();
        const QByteArray bytes = fileBytes(kParameterFileName);
        QCOMPARE(bytes.count("\r\n"), kParameterFileLines);
        QCOMPARE(bytes.contains("X 012011"), yes);
    }

    void failedWriteShowsError108AndEnds()
    {
        QVERIFY(QDir().mkdir(kParameterFileName)); // something in the way that is no file
        fillSampleLists();
        QVERIFY(!writeParameterFile());
        QCOMPARE(doubles().lastMessageText(),
                 QStringLiteral("Error #108:  Missing or Corrupted Orvane Frequency Limit Parameter"));
        QCOMPARE(doubles().programEnds, 1);
        QVERIFY(QFileInfo(kParameterFileName).isDir());
    }

    // A write that fails half-way leaves the previous file exactly as it was.
    void failedWriteKeepsTheOldFile()
    {
        loadDefaultLists();
        QVERIFY(writeParameterFile());
        const QByteArray before = fileBytes(kParameterFileName);
        for (int k = 0; k < 40; ++k)
            FipsList[k] = QStringLiteral("X 0120%1  County                 Florida").arg(k, 2, 10, QChar(u'0'));
        QVERIFY(!withFileSizeLimit(512, writeParameterFile));
        QCOMPARE(doubles().programEnds, 1);
        QCOMPARE(fileBytes(kParameterFileName), before);
        QCOMPARE(QDir::current().entryList(QDir::Files), QStringList{kParameterFileName});
    }
};

ORVANE_TEST(ParameterFileTest)
#include "ParameterFileTest.moc"
