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

    void roundTrip()
    {
        fillSampleLists();
        const auto fips = FipsList;
        const auto events = EventList;
        QVERIFY(writeParameterFile());
        const QByteArray bytes = fileBytes(kParameterFileName);
        QCOMPARE(bytes.count("\r\n"), kParameterFileLines);
        QCOMPARE(bytes.count('\n'), kParameterFileLines);
        const QList<QByteArray> lines = bytes.split('\n');
        QCOMPARE(lines[0], QByteArray("Orvane SAME Digital Weather Receiver Parameter File. DO NOT MODIFY\r"));
        QCOMPARE(lines[1], QByteArray("[FIP Codes]\r"));
        QCOMPARE(lines[3], QByteArray("  012085  Martin                 Florida\r"));
        QCOMPARE(lines[101], QByteArray("[Event Codes]\r"));
        QCOMPARE(lines[150], QByteArray("RWT\r"));

        clearReceiverConfig();
        QVERIFY(readParameterFile());
        QCOMPARE(FipsList, fips);
        QCOMPARE(EventList, events);
        QVERIFY(doubles().messages.isEmpty());
        QCOMPARE(QDir::current().entryList(QDir::Files), QStringList{kParameterFileName}); // nothing left behind
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
        QCOMPARE(doubles().messages.size(), 1);
        const MessageRequest asked = doubles().messages.first();
        QCOMPARE(asked.text, kNoFileQuestion);
        QCOMPARE(asked.buttons, QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(asked.icon, QMessageBox::Warning);
        QCOMPARE(asked.title, QStringLiteral("Orvane Digital Weather Receiver"));
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
