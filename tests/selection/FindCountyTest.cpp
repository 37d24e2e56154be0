#include "link/LinkTestSupport.h"
#include "selection/SelectionTestSupport.h"

#include "selection/CountySearch.h"
#include "selection/FipsEntry.h"
#include "selection/StateDatabase.h"
#include "selection/frmEnterFIP.h"
#include "selection/frmFIPS.h"
#include "selection/frmFindCounty.h"

#include <QLineEdit>
#include <QTreeWidget>

namespace {

// What the search finds for `typed`: the count shown, the list texts of the first matches in
// their order, and the transmitters of the first as "city frequency" (empty: not checked).
struct SearchRow {
    const char *name, *typed, *count;
    QStringList matches;
    const char *transmitters = "";
    bool byCity = false;
};

QString transmittersOf(const IndexedCounty &county)
{
    QStringList shown;
    for (const IndexedTransmitter &t : county.transmitters) shown << t.city + u' ' + t.frequency;
    return shown.join(QStringLiteral("; "));
}

// The record and the county list as the owner leaves them: what the next transfer sends.
QStringList selectionState()
{
    const frmFIPS *fips = frmFIPS::instance();
    const frmEnterFIP *enter = frmEnterFIP::instance();
    QStringList state{QString::number(ReceiverConfig.EDITOR.StateID), QString::number(ReceiverConfig.EDITOR.FrequencyListingFilter),
                      ReceiverConfig.EDITOR.TransmitterLocation, fips->lblState->text(), fips->lblTransmitter->text(),
                      enter->cmbState->currentText(), enter->cmbLimit->currentText()};
    for (int slot = 0; slot < kMaxStoredEntries; ++slot) state << FipsList[slot];
    return state;
}

const QString kDadeGeorgia = QStringLiteral("013083  Dade                   Georgia");

} // namespace

// The county search over the committed state files, and the Find County window's Use
// against the same choice made by hand in the state window and the county list.
class FindCountyTest : public QObject
{
    Q_OBJECT

    // Florida, the channel 162.475 and West Palm Beach chosen; its four counties in the list,
    // Broward ticked.
    void startInFlorida()
    {
        clearReceiverConfig(), doubles().clear(), loadDefaultLists();
        FipsList[1][0] = FipsList[2][0] = FipsList[3][0] = u' ';
        setStatesDirectory(committedStatesDir());
        ReceiverConfig.EDITOR.StateID = 8;
        ReceiverConfig.EDITOR.FrequencyListingFilter = 4;
        ReceiverConfig.EDITOR.TransmitterLocation = QStringLiteral(" West Palm Beach, FL     162.475");
        initStateSelection();
        fillFipsListBox();
    }

private slots:
    void cleanupTestCase() { frmFIPS::instance()->hide(), setStatesDirectory(QString()); }

    void search_data()
    {
        const QString broward = QStringLiteral("012011  Broward                Florida");
        const QString lucie = QStringLiteral("012111  St. Lucie              Florida");
        const char *lucieTransmitters = "Fort Pierce, FL 162.425; West Palm Beach, FL 162.475";
        addRows<SearchRow>({
            // Word starts only: McCook (South Dakota) is no Cook; Cooke (Texas) after the whole names.
            {"name", "cook", "4 counties",
             {"013075  Cook                   Georgia", "017031  Cook                   Illinois", "027031  Cook                   Minnesota",
              "048097  Cooke                  Texas"},
             "Pelham, GA 162.550; Valdosta, GA 162.500"},
            {"31 of one name", "washington", "31 counties", {"001129  Washington             Alabama"}},
            {"code", "012011", "1 county", {broward}, "Hialeah Spanish, FL 162.500; Miami, FL 162.550; West Palm Beach, FL 162.475"},
            {"code prefix", "01201", "5 counties", {broward, "012013  Calhoun                Florida"}},
            {"punctuation", "St. Lucie", "1 county", {lucie}, lucieTransmitters},
            {"no punctuation", "st lucie", "1 county", {lucie}, lucieTransmitters},
            {"apostrophe", "prince georges", "1 county", {"024033  Prince George's        Maryland"}, "Baltimore, MD 162.400; Manassas, VA 162.550; Washington DC 162.450"},
            // The whole name first, then by state; a word after a hyphen starts a word.
            {"exact first", "dade", "3 counties", {kDadeGeorgia, "029057  Dade                   Missouri", "012086  Miami-Dade             Florida"},
             "Chattanooga, TN 162.550"},
            {"city", "chicago", "5 counties",
             {"017031  Cook                   Illinois", "017043  DuPage                 Illinois", "017097  Lake                   Illinois",
              "018089  Lake                   Indiana", "018127  Porter                 Indiana"},
             "Chicago, IL 162.550; Crystal Lake, IL 162.500; Lockport, IL 162.425", true},
            {"city of two words", "hialeah spanish", "2 counties", {broward, "012086  Miami-Dade             Florida"}, "", true},
            {"no transmitter", "kusilvak", "1 county", {"002158  Kusilvak               Alaska"}, ""},
            {"no match", "zzzz", "No county found", {}},
            {"one character", "c", "Type at least 2 characters", {}},
        });
    }
    void search()
    {
        QFETCH(SearchRow, row);
        setStatesDirectory(committedStatesDir());
        const CountySearchResult found = findCounties(QString::fromLatin1(row.typed));
        QStringList texts;
        for (const IndexedCounty &county : found.matches) texts << county.listText;
        QCOMPARE(texts.mid(0, row.matches.size()), row.matches);
        QCOMPARE(matchCountText(found), QString::fromLatin1(row.count));
        QCOMPARE(found.byCity, row.byCity);
        if (*row.transmitters || QByteArray(row.name) == "no transmitter")
            QCOMPARE(transmittersOf(found.matches.first()), QString::fromLatin1(row.transmitters));
    }

    // Dade, Georgia, with Chattanooga, TN (a transmitter of another state, hidden by the channel
    // chosen): by hand in the state window (the state, the channel "All", the transmitter, OK)
    // and a tick in the list, then with Find County from the keyboard. The next transfer sends it.
    void useIsTheChoiceByHand()
    {
        LinkFixture link;
        link.freshLink();
        frmFIPS *fips = frmFIPS::instance();
        frmEnterFIP *enter = frmEnterFIP::instance();
        startInFlorida();
        for (auto [box, index] : {std::pair{enter->cmbState, 9}, std::pair{enter->cmbLimit, 0}})
            box->setCurrentIndex(index), emit box->activated(index);
        const auto key = enter->lstCounty->findItems(QStringLiteral(" Chattanooga, TN         162.550"), Qt::MatchExactly);
        QCOMPARE(key.size(), 1);
        enter->lstCounty->setCurrentItem(key.first(), QItemSelectionModel::ClearAndSelect);
        enter->cmdOk->click();
        const QStringList handList = itemTexts(fips->lstFips);
        QVERIFY(handList.size() > 5 && handList.contains(kDadeGeorgia));
        fips->lstFips->item(handList.indexOf(kDadeGeorgia))->setCheckState(Qt::Checked);
        fips->cmdOK_Click();
        const QStringList byHand = selectionState();

        startInFlorida();
        const QStringList before = selectionState();
        fips->show();
        // Asked first: No keeps everything and the window open; Yes with a county row: its first transmitter.
        doubles().answerNext(QMessageBox::No);
        whenModalOpens<frmFindCounty>([&before](frmFindCounty *find) {
            QTest::keyClicks(find->txtSearch, "dade");
            QTest::keyClick(find->txtSearch, Qt::Key_Down); // the first match
            QTest::keyClick(find->txtSearch, Qt::Key_Down); // its first transmitter
            QCOMPARE(find->lstMatches->currentItem()->text(0), QStringLiteral("Chattanooga, TN  162.550"));
            QCOMPARE(find->lblChoice->text(), QStringLiteral("Use: 013083 Dade, Georgia, with the transmitter Chattanooga, TN 162.550"));
            QTest::keyClick(find->txtSearch, Qt::Key_Return);
            QVERIFY(find->isVisible() && selectionState() == before);
            find->lstMatches->setCurrentItem(find->lstMatches->topLevelItem(0));
            find->cmdUse->click();
        });
        fips->cmdFindCounty->click();
        const QString question = box(QStringLiteral("Replace the 4 entries in the list with the counties of the transmitter\n"
                                                    "Chattanooga, TN 162.550?"),
                                     QMessageBox::Question, QMessageBox::Yes | QMessageBox::No, QStringLiteral("Orvane FIP Edit"));
        QCOMPARE(shownBoxes(), QStringList({question, question}));
        QCOMPARE(itemTexts(fips->lstFips), handList);
        QCOMPARE(fips->highlightedRow(), handList.indexOf(kDadeGeorgia));
        QVERIFY(fips->isVisible()); // the owner goes on ticking the neighbours
        fips->cmdOK_Click();
        QCOMPARE(selectionState(), byHand);

        QVERIFY(link.startReceiverOnPort1());
        link.showMain();
        link.main->EstConnect();
        QCOMPARE(link.receiver->lastImage().mid(kFipsAreaStart, 8), QByteArray("013083-\0", 8));
        link.stopLink();

        // With the list empty nothing is asked; a county no transmitter covers is refused.
        fips->show(), fips->lstFips->clear(), doubles().clear();
        whenModalOpens<frmFindCounty>([](frmFindCounty *find) {
            find->txtSearch->setText(QStringLiteral("kusilvak"));
            find->lstMatches->setCurrentItem(find->lstMatches->topLevelItem(0));
            QVERIFY(find->lstMatches->currentItem()->child(0)->text(0) == kNoCoverageMessage && find->lblChoice->text() == kNoCoverageMessage);
            find->cmdUse->click();
            QVERIFY(find->isVisible());
            find->txtSearch->setText(QStringLiteral("miami dade"));
            find->lstMatches->setCurrentItem(find->lstMatches->topLevelItem(0)->child(1));
            QTest::keyClick(find->lstMatches, Qt::Key_Return);
        });
        fips->cmdFindCounty->click();
        QVERIFY(shownBoxes() == QStringList{box(kNoCoverageMessage)} && doubles().beeps == 1 && fips->tickedCount() == 1);
        QCOMPARE(ReceiverConfig.EDITOR.TransmitterLocation + u'|' + fips->lstFips->item(fips->highlightedRow())->text(),
                 QStringLiteral(" Miami, FL               162.550|012086  Miami-Dade             Florida"));
        fips->hide();
    }
};

ORVANE_TEST(FindCountyTest)

#include "FindCountyTest.moc"
