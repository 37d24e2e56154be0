#include "config/ConfigTestSupport.h"
#include "selection/SelectionTestSupport.h"
#include "support/TestRegistry.h"

#include "config/ReceiverConfig.h"
#include "selection/StateDatabase.h"
#include "selection/frmEnterFIP.h"
#include "selection/frmFIPS.h"
#include "StateFileGenerator.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace {

QString stateLine(const char *code, const char *county, const char *city, const char *frequency)
{
    return QString::fromLatin1(code) + QStringLiteral("  ") + QString::fromLatin1(county).leftJustified(22) + u' ' +
           QString::fromLatin1(city).leftJustified(24) + QString::fromLatin1(frequency);
}

QString key(const char *city, const char *frequency) { return u' ' + QString::fromLatin1(city).leftJustified(24) + frequency; }
QString committedFile(int s) { return committedStatesDir() + u'/' + stateFileName(s); }

} // namespace

// The tables, the reader and the transmitter search, on state files of the test's own.
class StateDatabaseTest : public QObject
{
    Q_OBJECT
    QTemporaryDir states;

private slots:
    void init() { doubles().clear(), setStatesDirectory(states.path()); }
    void cleanupTestCase() { setStatesDirectory(QString()); }

    // File names, the frequencies ("All", 0, filters nothing) and the state name of every state number.
    void tables()
    {
        QCOMPARE((QStringList{stateFileName(0), stateFileName(8), stateFileName(49), stateFileName(51), stateFileName(53),
                              stateFileName(-1), stateFileName(54), QString::fromLatin1(StateTable[51].name)}),
                 (QStringList{"Al_102.st", "Fl_109.st", "Wy_150.st", "Mr_152.st", "Vi_154.st", "", "", "N Mariana Islands"}));
        QStringList frequencies;
        for (int i = -1; i <= 8; ++i) frequencies << frequencyText(i);
        QCOMPARE(frequencies, QStringList({"", "", "162.400", "162.425", "162.450", "162.475", "162.500", "162.525", "162.550", ""}));
        const QStringList names = QStringLiteral(
            "01Alabama,02Alaska,04Arizona,05Arkansas,06California,08Colorado,09Connecticut,10Delaware,11District Of Columbia,12Florida,13Georgia,"
            "15Hawaii,16Idaho,17Illinois,18Indiana,19Iowa,20Kansas,21Kentucky,22Louisiana,23Maine,24Maryland,25Massachusetts,26Michigan,"
            "27Minnesota,28Mississippi,29Missouri,30Montana,31Nebraska,32Nevada,33New Hampshire,34New Jersey,35New Mexico,36New York,"
            "37North Carolina,38North Dakota,39Ohio,40Oklahoma,41Oregon,42Pennsylvania,44Rhode Island,45South Carolina,46South Dakota,"
            "47Tennessee,48Texas,49Utah,50Vermont,51Virginia,53Washington,54West Virginia,55Wisconsin,56Wyoming,66Guam,69Mariana Islands,"
            "72Puerto Rico,78US Virgin Islands").split(u',');
        for (int n = 0; n < 100; ++n) {
            const QString number = QStringLiteral("%1").arg(n, 2, 10, QChar(u'0'));
            const auto it = std::find_if(names.begin(), names.end(), [&](const QString &s) { return s.startsWith(number); });
            QCOMPARE(stateNameForNumber(u'0' + number + QStringLiteral("001  Broward")), it == names.end() ? QString() : it->mid(2));
        }
        QCOMPARE(stateNameForNumber("0"), QString());
    }

    // Sorted regardless of case, each transmitter once; uncovered counties and text past
    // column 62 ignored; a file of 501 lines is read, 502 are not.
    void transmittersAndLimits()
    {
        const QStringList lines = {stateLine("012001", "One", "Zulu, FL", "162.475"), stateLine("012003", "Two", "Alpha, FL", "162.400"),
                                   "", "012005  Three                  --No NWR Coverage--",
                                   stateLine("012007", "Four", "Zulu, FL", "162.475") + "   remark past column 62",
                                   stateLine("012009", "Five", "beta, FL", "162.475"), stateLine("012011", "Six", "Alpha, FL", "162.400")};
        const QString alpha = key("Alpha, FL", "162.400"), beta = key("beta, FL", "162.475"), zulu = key("Zulu, FL", "162.475");
        QCOMPARE(transmitterKeys(lines, QString()), QStringList({alpha, beta, zulu}));
        QCOMPARE(transmitterKeys(lines, "162.475"), QStringList({beta, zulu}));
        QCOMPARE(transmitterKeys(lines, "162.525"), QStringList());
        for (int count : {0, 501, 502}) {
            writeFileBytes(states.filePath(stateFileName(8)), QByteArray("012001  One                    Zulu, FL               162.475\r\n").repeated(count));
            QStringList read;
            QCOMPARE(readStateFile(8, read), count < 502);
            QCOMPARE(read.size(), count < 502 ? count : 0);
            QVERIFY(count == 0 || count == 502 || !read.first().endsWith(u'\r'));
        }
        QStringList none;
        QVERIFY(!readStateFile(9, none) && !readStateFile(54, none)); // Georgia's file does not exist here
    }

    // A transmitter heard across a state line: counties in state order, each once, each
    // with the state of its own code; a missing file or a full list stops the scan.
    void countiesAcrossStates()
    {
        for (int s = 0; s < kStateCount; ++s) writeFileBytes(states.filePath(stateFileName(s)), QByteArray());
        const QByteArray k = "Border Town, AL         162.400";
        const QString key = u' ' + QString::fromLatin1(k);
        writeFileBytes(states.filePath(stateFileName(0)), "001003  Baldwin                " + k + "\r\n014001  Nowhere                " + k + "\r\n");
        writeFileBytes(states.filePath(stateFileName(8)), "012033  Escambia               " + k + "\r\n012033  Escambia               " + k +
                                                              "\r\n012099  Palm Beach             Elsewhere, FL          162.400\r\n"
                                                              "052001  Odd                    Border Town, AL  162.400  \r\n");
        const TransmitterCounties found = countiesForTransmitter(key, 99);
        QVERIFY(found.complete);
        QCOMPARE(found.entries, (QStringList{"001003  Baldwin                Alabama", "014001  Nowhere                ",
                                             "012033  Escambia               Florida"}));
        QCOMPARE(countiesForTransmitter(QString::fromLatin1(k) + QStringLiteral("  "), 99).entries.size(), 3); // blanks around
        QFile::remove(states.filePath(stateFileName(5)));
        const TransmitterCounties cut = countiesForTransmitter(key, 99);
        QVERIFY(!cut.complete && cut.entries.size() == 2);
        writeFileBytes(states.filePath(stateFileName(5)), QByteArray());
        const TransmitterCounties capped = countiesForTransmitter(key, 1);
        QVERIFY(!capped.complete && capped.entries.size() == 1);
    }
};

// The 54 committed state files: what the tool makes of the coverage listing, in their columns.
class StateFilesTest : public QObject
{
    Q_OBJECT
private slots:
    void committedFilesAreWhatTheListingGives()
    {
        const GeneratedStateFiles generated = generateStateFiles(fileBytes(sourceDir() + "/data/nwr/nwr-county-coverage.csv"));
        QVERIFY2(generated.problems.isEmpty(), qPrintable(generated.problems.join(u'\n')));
        QVERIFY(!generateStateFiles("not,a,listing\n").problems.isEmpty());
        QCOMPARE(int(generated.files.size()), kStateCount);
        QCOMPARE(QDir(committedStatesDir()).entryList(QDir::Files).size(), kStateCount);
        static const QRegularExpression format(QStringLiteral(
            "^\\d{6}  [!-~][ -~]{21} (([!-~][ -~]{23}162\\.(400|425|450|475|500|525|550))|--No NWR Coverage--)$"));
        setStatesDirectory(committedStatesDir());
        for (int s = 0; s < kStateCount; ++s) {
            const QByteArray content = fileBytes(committedFile(s));
            QVERIFY2(generated.files.count(stateFileName(s)) && content == generated.files.at(stateFileName(s)) && content.endsWith("\r\n"),
                     qPrintable(stateFileName(s)));
            QStringList lines, names; // every county gets a state name, the counties of its own file that state's
            QVERIFY2(readStateFile(s, lines) && lines.size() <= kStateFileMaxLines, StateTable[s].fileName);
            for (const QString &line : lines) {
                QVERIFY2(format.match(line).hasMatch() && !stateNameForNumber(line).isEmpty(), qPrintable(line));
                names << stateNameForNumber(line);
            }
            QVERIFY2(names.contains(QString::fromLatin1(StateTable[s].name).remove(QStringLiteral("N "))), StateTable[s].fileName);
        }
        setStatesDirectory(QString());
    }
};

// The state / transmitter window on the committed state files.
class StateWindowTest : public QObject
{
    Q_OBJECT
    frmEnterFIP *window = nullptr;

    void chooseState(int index) { window->cmbState->setCurrentIndex(index), emit window->cmbState->activated(index); } // as the owner does
    QStringList counties() const { return itemTexts(frmFIPS::instance()->lstFips); }

private slots:
    void init()
    {
        clearReceiverConfig(), doubles().clear(), setStatesDirectory(committedStatesDir());
        ReceiverConfig.EDITOR.StateID = 8, ReceiverConfig.EDITOR.TransmitterLocation = QStringLiteral(" West Palm Beach, FL     162.475");
        window = frmEnterFIP::instance();
        initStateSelection();
    }
    void cleanupTestCase() { window->hide(), frmFIPS::instance()->hide(), setStatesDirectory(QString()); }

    // The saved choice shown; the frequency filter; West Palm Beach brings its four counties.
    void savedChoiceFilterAndTransmitter()
    {
        QCOMPARE(window->windowTitle(), QStringLiteral("Orvane State / Transmitter Entry"));
        QCOMPARE((QList<int>{int(window->cmbState->count()), window->cmbState->itemData(53).toInt(), int(window->cmbLimit->count())}),
                 (QList<int>{54, 53, 8}));
        QCOMPARE(window->cmbState->currentText() + u' ' + window->cmbLimit->currentText() + u' ' + frmFIPS::instance()->lblState->text(),
                 QStringLiteral("Florida All Florida"));
        QCOMPARE(frmFIPS::instance()->lblTransmitter->text(), ReceiverConfig.EDITOR.TransmitterLocation);
        QCOMPARE(window->lslInfo[2]->text(), QStringLiteral("3.  Within the list box, highlite by clicking on the city were the "
                                                            "weather transmitter is located."));
        const QStringList keys = itemTexts(window->lstCounty);
        QVERIFY(keys.contains(" Pensacola, FL           162.400") && window->lstCounty->selectedItems().isEmpty() && doubles().messages.isEmpty());
        window->cmbLimit_Click(4);
        const QStringList filtered = itemTexts(window->lstCounty);
        QVERIFY(ReceiverConfig.EDITOR.FrequencyListingFilter == 4 && !filtered.isEmpty() && filtered.size() < keys.size() &&
                std::all_of(filtered.begin(), filtered.end(), [](const QString &k) { return k.endsWith("162.475"); }));
        FipsList[0] = QStringLiteral("X 012011  Broward                Florida");
        window->show();
        const auto found = window->lstCounty->findItems(" West Palm Beach, FL     162.475", Qt::MatchExactly);
        QCOMPARE(found.size(), 1);
        window->lstCounty->setCurrentItem(found.first(), QItemSelectionModel::ClearAndSelect);
        window->cmdOk->click();
        QVERIFY(!window->isVisible() && FipsList[0].isEmpty()); // until the FIPS window stores its list
        QCOMPARE(counties(), QStringList({"012011  Broward                Florida", "012085  Martin                 Florida",
                                          "012099  Palm Beach             Florida", "012111  St. Lucie              Florida"}));
        QVERIFY(frmFIPS::instance()->tickedCount() == 0 && doubles().beeps == 0);
        QCOMPARE(ReceiverConfig.EDITOR.TransmitterLocation + frmFIPS::instance()->lblTransmitter->text(),
                 QStringLiteral(" West Palm Beach, FL     162.475 West Palm Beach, FL     162.475"));
        window->cmbLimit_Click(0);
        QCOMPARE(window->lstCounty->count(), keys.size());
    }

    // A double-click below the lines highlights nothing: a beep and error 3, as OK without a
    // choice gives; on a line it confirms as OK does.
    void doubleClickAnywhereInTheList()
    {
        chooseState(50); // Guam: one transmitter, the rest of the list is empty
        QCOMPARE(window->lstCounty->count(), 1);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QWidget *viewport = window->lstCounty->viewport();
        for (const QPoint at : {QPoint(10, viewport->height() - 5), window->lstCounty->visualItemRect(window->lstCounty->item(0)).center()}) {
            QVERIFY(window->isVisible()); // as a real double-click comes: a click, then the second press as a double-click
            QTest::mouseClick(viewport, Qt::LeftButton, Qt::NoModifier, at), QTest::mouseDClick(viewport, Qt::LeftButton, Qt::NoModifier, at);
        }
        QVERIFY(!window->isVisible() && doubles().beeps == 1);
        QCOMPARE(shownBoxes(), QStringList{box(" Error, No Transmitter Location Selected. ")});
        QCOMPARE(ReceiverConfig.EDITOR.TransmitterLocation, QStringLiteral(" Guam, GU                162.400"));
        QCOMPARE(counties(), QStringList({"066010  Guam                   Guam", "069100  Rota                   Mariana Islands"}));
    }

    // A state choice empties FipsList at once; Cancel keeps it so, while the FIPS window still
    // shows its counties, which its close box stores back. Keys in the boxes are refused with a beep.
    void stateChoiceAndKeys()
    {
        for (QComboBox *box : {window->cmbState, window->cmbLimit}) {
            for (Qt::Key key : {Qt::Key_Down, Qt::Key_A, Qt::Key_End})
                QTest::keyClick(box, key);
            QCOMPARE(box->currentIndex(), box == window->cmbState ? 8 : 0);
        }
        QCOMPARE(doubles().beeps, 6);
        FipsList[0] = QStringLiteral("X 012011  Broward                Florida");
        fillFipsListBox();
        window->show();
        chooseState(42);
        QVERIFY(ReceiverConfig.EDITOR.StateID == 42 && itemTexts(window->lstCounty).contains(" San Antonio, TX         162.550"));
        window->cmdCancel->click();
        QVERIFY(!window->isVisible() && FipsList[0].isEmpty() && frmFIPS::instance()->lstFips->count() == 1);
        QCOMPARE(window->cmbState->currentText(), QStringLiteral("Texas"));
        frmFIPS::instance()->show(); // its close box stores what it shows
        frmFIPS::instance()->close();
        QVERIFY(!frmFIPS::instance()->isVisible() && FipsList[0] == QStringLiteral("X 012011  Broward                Florida"));
    }

    // A missing file is named.
    void missingStateFiles()
    {
        QTemporaryDir partial;
        setStatesDirectory(partial.path());
        QVERIFY(!window->buildTransmitterList(8) && window->lstCounty->count() == 0 && !window->buildTransmitterList(54));
        QCOMPARE(shownBoxes(), QStringList({box("Error, State File  Fl_109.st  is missing", QMessageBox::NoIcon),
                                            box("Error, State File    is missing", QMessageBox::NoIcon)}));
    }
};

ORVANE_TEST(StateDatabaseTest)
ORVANE_TEST(StateFilesTest)
ORVANE_TEST(StateWindowTest)
#include "StateTest.moc"
