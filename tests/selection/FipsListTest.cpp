#include "selection/SelectionTestSupport.h"
#include "support/Columns.h"
#include "support/TextInput.h"
#include "support/TestRegistry.h"

#include "config/ParameterFile.h"
#include "config/ReceiverConfig.h"
#include "selection/FipsEntry.h"
#include "selection/StateDatabase.h"
#include "selection/frmEnterFIP.h"
#include "selection/frmFIPEdit.h"
#include "selection/frmFIPS.h"

#include <QDir>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

QStringList listTexts() { return itemTexts(frmFIPS::instance()->lstFips); }

QList<bool> listTicks()
{
    QList<bool> ticks;
    QListWidget *list = frmFIPS::instance()->lstFips;
    for (int j = 0; j < list->count(); ++j)
        ticks << (list->item(j)->checkState() == Qt::Checked);
    return ticks;
}

void highlight(int row)
{
    frmFIPS::instance()->lstFips->setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
}

void startWithDefaults()
{
    loadDefaultLists();
    fillFipsListBox();
}

} // namespace

// The FIPS entry text rules.
class FipsEntryTest : public QObject
{
    Q_OBJECT
private slots:
    void listTextFromFields_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("county");
        QTest::addColumn<QString>("state");
        QTest::addColumn<QString>("text");
        QTest::newRow("Martin padded to column 31")
            << "012085" << "Martin" << "Florida" << "012085  Martin                 Florida";
        QTest::newRow("22-character county leaves one blank")
            << "012001" << "Abcdefghijklmnopqrstuv" << "Florida" << "012001  Abcdefghijklmnopqrstuv Florida";
        QTest::newRow("blank and five digits: blank dropped, state still at 32")
            << " 12085" << "Martin" << "Florida" << "12085  Martin                  Florida";
        QTest::newRow("blanks around fields are dropped")
            << "012085" << "  Martin   " << " Florida " << "012085  Martin                 Florida";
        QTest::newRow("no state") << "012085" << "Martin" << "" << "012085  Martin                 ";
        // A county name longer than its column (hand-made data) still leaves a blank before
        // the state name; without a state nothing is added.
        QTest::newRow("23 characters") << "012011" << "ABCDEFGHIJKLMNOPQRSTUVW" << "Florida"
                                       << "012011  ABCDEFGHIJKLMNOPQRSTUVW Florida";
        QTest::newRow("25 characters") << "012011" << "ABCDEFGHIJKLMNOPQRSTUVWXY" << "Florida"
                                       << "012011  ABCDEFGHIJKLMNOPQRSTUVWXY Florida";
        QTest::newRow("23 characters, no state") << "012011" << "ABCDEFGHIJKLMNOPQRSTUVW" << ""
                                                 << "012011  ABCDEFGHIJKLMNOPQRSTUVW";
    }
    void listTextFromFields()
    {
        QFETCH(QString, code);
        QFETCH(QString, county);
        QFETCH(QString, state);
        QFETCH(QString, text);
        QCOMPARE(buildListText(code, county, state), text);
    }

    void codeLength()
    {
        QVERIFY(fipsCodeLengthValid("012085"));
        QVERIFY(fipsCodeLengthValid(" 12085")); // a blank and five digits
        QVERIFY(!fipsCodeLengthValid("12085"));
        QVERIFY(!fipsCodeLengthValid(""));
    }

    // Ticked and unticked entries show in the same columns and store back unchanged.
    void entriesAndListLines()
    {
        const QString text = QStringLiteral("012011  Broward                Florida");
        for (bool ticked : {true, false}) {
            const QString entry = (ticked ? QStringLiteral("X ") : QStringLiteral("  ")) + text;
            const FipsListLine line = listLineForEntry(entry);
            QCOMPARE(line.text, text);
            QCOMPARE(line.ticked, ticked);
            QCOMPARE(entryForListLine(line.text, line.ticked), entry);
        }
        const QString longEntry = QStringLiteral("X 012011  Broward                ") + QString(40, u'Z');
        QCOMPARE(listLineForEntry(longEntry).text.size(), 51);
    }

    void editorFields()
    {
        const FipsFields f = splitListText("012011  Broward                Florida");
        QCOMPARE(f.code, QStringLiteral("012011"));
        QCOMPARE(f.county, QStringLiteral("Broward                "));
        QCOMPARE(f.state, QStringLiteral("Florida"));
        QCOMPARE(splitListText("012011  Broward").state, QString());
    }
};

// The FIPS list window and its editor.
class FipsWindowTest : public QObject
{
    Q_OBJECT
    frmFIPS *window = nullptr;

    void startWith(int entries, bool ticked)
    {
        for (int k = 0; k < entries; ++k)
            FipsList[k] = entryForListLine(QStringLiteral("0120%1  County %1").arg(k, 2, 10, QChar(u'0'))
                                               .leftJustified(31) + QStringLiteral("Florida"),
                                           ticked);
        fillFipsListBox();
    }

private slots:
    void init()
    {
        clearReceiverConfig();
        doubles().clear();
        setStatesDirectory(committedStatesDir());
        window = frmFIPS::instance();
        window->hide();
        window->lstFips->clear();
    }
    void cleanupTestCase()
    {
        window->hide();
        setStatesDirectory(QString());
    }

    void unticksAndTicksStoredByOk()
    {
        loadDefaultLists();
        FipsList[5] = QStringLiteral("  012086  Miami-Dade             Florida"); // after an empty slot
        fillFipsListBox();
        QCOMPARE(listTexts().size(), 5);
        // The columns of the entries line up whatever the desktop's fonts.
        QCOMPARE(unevenCharacters(window->lstFips->font(), listTexts().join(QString())), QString());
        window->lstFips->item(1)->setCheckState(Qt::Unchecked);
        window->show();
        window->cmdOK_Click();
        QVERIFY(!window->isVisible());
        QCOMPARE(FipsList[1], QStringLiteral("  012085  Martin                 Florida"));
        QCOMPARE(FipsList[4], QStringLiteral("  012086  Miami-Dade             Florida"));
        QVERIFY(FipsList[5].isEmpty());
        QVERIFY(doubles().messages.isEmpty());
        // Stored again after a restart, nothing gains blanks.
        const auto stored = FipsList;
        fillFipsListBox();
        window->cmdOK_Click();
        QCOMPARE(FipsList, stored);
    }

    void twentyFifthTickRefused()
    {
        startWith(25, true);
        const auto before = FipsList;
        window->show();
        window->cmdOK_Click();
        QVERIFY(window->isVisible());
        QCOMPARE(doubles().beeps, 1);
        QCOMPARE(shownBoxes(), QStringList{box(" Error, More than 24 FIP codes selected. ")});
        QCOMPARE(FipsList, before);
        window->close(); // the close box leaves as OK does, so it is refused too
        QVERIFY(window->isVisible());
        QCOMPARE(doubles().beeps, 2);
        // With one tick fewer it is taken.
        window->lstFips->item(24)->setCheckState(Qt::Unchecked);
        window->cmdOK_Click();
        QVERIFY(!window->isVisible());
        QCOMPARE(FipsList[24].left(2), QStringLiteral("  "));
    }

    void noTickAsksBeforeLeaving_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("stays");
        QTest::newRow("Yes leaves") << int(QMessageBox::Yes) << false;
        QTest::newRow("No stays") << int(QMessageBox::No) << true;
    }
    void noTickAsksBeforeLeaving()
    {
        QFETCH(int, answer);
        QFETCH(bool, stays);
        startWith(2, false);
        window->show();
        doubles().answerNext(QMessageBox::StandardButton(answer));
        window->cmdOK_Click();
        QCOMPARE(shownBoxes(), QStringList{box(" Error, No FIP Counties have been Selected\r\n Do you still want to Exit?",
                                               QMessageBox::Warning, QMessageBox::Yes | QMessageBox::No)});
        QCOMPARE(window->isVisible(), stays);
        QCOMPARE(FipsList[1].left(2), QStringLiteral("  ")); // rebuilt either way
    }

    void copyAndRemoveWorkOnTheHighlightedLine()
    {
        startWithDefaults();
        QCOMPARE(window->windowTitle(), QStringLiteral("Orvane FIPS Codes"));
        QCOMPARE(listTicks(), QList<bool>({true, true, true, true})); // the default counties
        QCOMPARE(window->highlightedRow(), -1);
        highlight(0);
        window->cmdCopy_Click();
        QCOMPARE(listTexts().size(), 5);
        QCOMPARE(listTexts().last(), listTexts().first());
        QCOMPARE(listTicks().last(), false);

        doubles().answerNext(QMessageBox::No);
        window->cmdRemove_Click();
        QCOMPARE(listTexts().size(), 5);
        QCOMPARE(shownBoxes(), QStringList{box("Are you sure you want to remove FIP county:\r\n012011  Broward",
                                               QMessageBox::Question, QMessageBox::Yes | QMessageBox::No, "Orvane FIP Edit")});

        highlight(0);
        doubles().answerNext(QMessageBox::Yes);
        window->cmdRemove_Click();
        QCOMPARE(listTexts().first(), QStringLiteral("012085  Martin                 Florida"));
        QCOMPARE(listTexts().size(), 4);
        // Both copies of a county can be ticked and both are stored.
        window->lstFips->item(3)->setCheckState(Qt::Checked);
        window->cmdOK_Click();
        QCOMPARE(FipsList[3], QStringLiteral("X 012011  Broward                Florida"));
    }

    // Without a highlighted line (ticking a line does not highlight it) Edit, Copy and
    // Remove only beep; at 99 lines Add and Copy beep: FipsList cannot store more.
    void refusedButtons()
    {
        startWithDefaults();
        window->lstFips->setCurrentRow(1, QItemSelectionModel::NoUpdate);
        window->cmdEdit_Click();
        window->cmdCopy_Click();
        window->cmdRemove_Click();
        QCOMPARE(doubles().beeps, 3);
        QVERIFY(doubles().messages.isEmpty());
        QCOMPARE(listTexts().size(), 4);

        doubles().clear();
        startWith(99, false);
        highlight(0);
        window->cmdCopy_Click();
        window->cmdAdd_Click(); // would open the editor if it were not refused
        QCOMPARE(doubles().beeps, 2);
        QCOMPARE(listTexts().size(), 99);
    }

    void addAppendsAnUntickedLine()
    {
        startWithDefaults();
        whenModalOpens<frmFIPEdit>([](frmFIPEdit *editor) {
            QCOMPARE(editor->Frame1->title(), QStringLiteral(" Add new FIP code entry "));
            QCOMPARE(editor->windowTitle(), QStringLiteral(" Orvane FIPS Editor"));
            QCOMPARE(editor->lblInfo[1]->text(), QStringLiteral("2.  Enter County Name (18 caracters max)."));
            QVERIFY(editor->txtFIP->text().isEmpty());
            QTest::keyClicks(editor->txtFIP, "0120855"); // the seventh digit does not fit
            QTest::keyClicks(editor->txtCounty, "Martin");
            QTest::keyClicks(editor->txtState, "Florida");
            editor->cmdOK->click();
        });
        window->cmdAdd_Click();
        QCOMPARE(listTexts().size(), 5);
        QCOMPARE(listTexts().last(), QStringLiteral("012085  Martin                 Florida"));
        QCOMPARE(listTicks().last(), false);
    }

    void editKeepsTheTick()
    {
        startWithDefaults();
        highlight(2);
        whenModalOpens<frmFIPEdit>([](frmFIPEdit *editor) {
            QCOMPARE(editor->Frame1->title(), QStringLiteral(" Edit FIP code entry "));
            QCOMPARE(editor->txtFIP->text(), QStringLiteral("012099"));
            QCOMPARE(editor->txtCounty->text(), QStringLiteral("Palm Beach             "));
            QCOMPARE(editor->txtState->text(), QStringLiteral("Florida"));
            QCOMPARE(editor->lblInfo[3]->text(), QString());
            editor->txtCounty->setText(QStringLiteral("Palm Beach North"));
            editor->cmdOK->click();
        });
        window->cmdEdit_Click();
        QCOMPARE(listTexts()[2], QStringLiteral("012099  Palm Beach North       Florida"));
        QCOMPARE(listTicks()[2], true);
    }

    void wrongCodeLengthKeepsTheEditorOpen()
    {
        fillFipsListBox();
        bool stillOpen = false;
        whenModalOpens<frmFIPEdit>([&stillOpen](frmFIPEdit *editor) {
            editor->txtFIP->setText(QStringLiteral("12085"));
            editor->txtCounty->setText(QStringLiteral("Martin"));
            editor->cmdOK->click();
            stillOpen = editor->isVisible();
            editor->cmdCancel->click();
        });
        window->cmdAdd_Click();
        QVERIFY(stillOpen);
        QCOMPARE(shownBoxes(), QStringList{box(" Error.. FIP Code Entry Incorrect Digit Length. \r\n Valid FIP Codes "
                                               "Are Six (6) Digits. \r\n", QMessageBox::Warning, QMessageBox::Ok,
                                               " Orvane Digital Weather Receiver")});
        QVERIFY(listTexts().isEmpty());
    }

    void frameBlinksOnlyWhileTheListIsEmpty()
    {
        fillFipsListBox();
        QList<bool> shown;
        for (int k = 0; k < 4; ++k) {
            window->Timer1_Timer();
            shown << !window->Shape1->isHidden();
        }
        QCOMPARE(shown, QList<bool>({true, false, true, false}));
        window->Timer1_Timer();
        startWithDefaults();
        window->Timer1_Timer();
        QVERIFY(window->Shape1->isHidden());
        QCOMPARE(window->Timer1->interval(), 800);
        QVERIFY(window->Timer1->isActive());
    }

    // The whole road of a pasted line break: Add, OK on both windows, the exit with saving,
    // the next start. The file keeps its 151 lines and the event list comes back whole.
    void pastedLineBreakKeepsTheEventList()
    {
        startWithDefaults();
        loadDefaultLists(); // the events
        const auto events = EventList;
        whenModalOpens<frmFIPEdit>([](frmFIPEdit *editor) {
            putText(editor->txtFIP, QStringLiteral("012086"), Typed);
            putText(editor->txtCounty, QStringLiteral("Foo\nBar"), Pasted);
            putText(editor->txtState, QStringLiteral("Florida\r\n"), Dropped);
            editor->cmdOK->click();
        });
        window->cmdAdd_Click();
        window->show();
        window->cmdOK_Click();
        QVERIFY(!window->isVisible());
        QCOMPARE(FipsList[4], QStringLiteral("  012086  FooBar                 Florida"));
        QVERIFY(writeParameterFile());
        QFile file(kParameterFileName);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll().count('\n'), kParameterFileLines);

        clearReceiverConfig();
        doubles().clear();
        QVERIFY(readParameterFile());
        QVERIFY(doubles().messages.isEmpty()); // no #199
        QCOMPARE(EventList, events);
        QCOMPARE(FipsList[4], QStringLiteral("  012086  FooBar                 Florida"));
    }

    // Edit loads the county column with its blanks (23 characters), a long state name whole
    // (the length limits bind what is added only, so an entry confirmed unchanged keeps both);
    // whatever the owner types, pastes or drops stops at 22 characters for the county and 18
    // for the state, and the state keeps the blank before it. No box lets a control character
    // in, however the text arrives: a line break would end up splitting the stored entry.
    void editorBoxes_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<int>("way");
        QTest::addColumn<int>("cursor"); // -1: the whole text selected, -2: at the end, -3: emptied
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("shown");    // what the box then shows (empty: not compared)
        QTest::addColumn<QString>("listText"); // after OK (empty: Cancel)
        for (const char *box : {"txtFIP", "txtCounty", "txtState"}) {
            QTest::addRow("%s pasted line break", box) << box << int(Pasted) << -3 << QStringLiteral("Foo\nBar")
                                                       << QStringLiteral("FooBar") << QString();
            QTest::addRow("%s pasted CR LF and tab", box) << box << int(Pasted) << -3 << QStringLiteral("01\r\n2\t085")
                                                          << QStringLiteral("012085") << QString();
            QTest::addRow("%s dropped line break", box) << box << int(Dropped) << -3 << QStringLiteral("Foo\r\nBar")
                                                        << QStringLiteral("FooBar") << QString();
            QTest::addRow("%s typed", box) << box << int(Typed) << -3 << QStringLiteral("Foo") << QStringLiteral("Foo")
                                           << QString();
        }
        const QString long23 = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVW");
        const QString dc = QStringLiteral("011001  District of Columbia   ");
        QTest::newRow("county typed over all") << "txtCounty" << int(Typed) << -1 << long23 << ""
                                               << "011001  ABCDEFGHIJKLMNOPQRSTUV District Of Columbia";
        QTest::newRow("county pasted over all") << "txtCounty" << int(Pasted) << -1 << long23 << ""
                                                << "011001  ABCDEFGHIJKLMNOPQRSTUV District Of Columbia";
        QTest::newRow("county dropped after the blanks")
            << "txtCounty" << int(Dropped) << -2 << QStringLiteral("XYZ") << ""
            << "011001  District of Columbia   District Of Columbia";
        QTest::newRow("county typed after the blanks")
            << "txtCounty" << int(Typed) << -2 << QStringLiteral("X") << ""
            << "011001  District of Columbia   District Of Columbia";
        QTest::newRow("county typed into its padding")
            << "txtCounty" << int(Typed) << 20 << QStringLiteral(" NW") << ""
            << "011001  District of Columbia N District Of Columbia";
        QTest::newRow("county pasted into its padding")
            << "txtCounty" << int(Pasted) << 20 << QStringLiteral(" NW") << ""
            << "011001  District of Columbia N District Of Columbia";
        QTest::newRow("state typed after its 20 characters")
            << "txtState" << int(Typed) << -2 << QStringLiteral("X") << "" << dc + "District Of Columbia";
        QTest::newRow("state pasted over all")
            << "txtState" << int(Pasted) << -1 << QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVW") << ""
            << dc + "ABCDEFGHIJKLMNOPQR";
        QTest::newRow("state typed over all")
            << "txtState" << int(Typed) << -1 << QStringLiteral("ABCDEFGHIJKLMNOPQRST") << "" << dc + "ABCDEFGHIJKLMNOPQR";
    }
    void editorBoxes()
    {
        QFETCH(QString, box);
        QFETCH(int, way);
        QFETCH(int, cursor);
        QFETCH(QString, text);
        QFETCH(QString, shown);
        QFETCH(QString, listText);
        FipsList[0] = QStringLiteral("X 011001  District of Columbia   District Of Columbia");
        fillFipsListBox();
        highlight(0);
        whenModalOpens<frmFIPEdit>([&](frmFIPEdit *editor) {
            QLineEdit *target = editor->findChild<QLineEdit *>(box);
            QVERIFY(target);
            if (cursor == -3)
                target->clear();
            else if (cursor == -1)
                target->selectAll();
            else if (cursor == -2)
                target->end(false);
            else
                target->setCursorPosition(cursor);
            putText(target, text, way);
            QVERIFY2(target->text().trimmed().size() <= (box == "txtCounty" ? 22 : 20), qPrintable(target->text()));
            if (!shown.isEmpty())
                QCOMPARE(target->text(), shown);
            (listText.isEmpty() ? editor->cmdCancel : editor->cmdOK)->click();
        });
        window->cmdEdit_Click();
        QCOMPARE(listTexts()[0], listText.isEmpty() ? QStringLiteral("011001  District of Columbia   District Of Columbia")
                                                    : listText);
    }

    // A hand-made entry whose county fills its whole column (no blank before the state)
    // gets the blank back when it is confirmed in the editor.
    void editGivesTheStateItsBlank()
    {
        FipsList[0] = QStringLiteral("X 012011  ABCDEFGHIJKLMNOPQRSTUVWFlorida");
        fillFipsListBox();
        highlight(0);
        whenModalOpens<frmFIPEdit>([](frmFIPEdit *editor) {
            QCOMPARE(editor->txtCounty->text(), QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVW"));
            editor->cmdOK->click();
        });
        window->cmdEdit_Click();
        QCOMPARE(listTexts()[0], QStringLiteral("012011  ABCDEFGHIJKLMNOPQRSTUVW Florida"));
    }

    // Choosing a state empties FipsList at once. Leaving the FIPS window by its close box
    // afterwards must not keep FipsList empty while the list shows the counties.
    void closeBoxAfterAStateChoiceKeepsTheCounties()
    {
        loadDefaultLists();
        initStateSelection();
        fillFipsListBox();
        frmEnterFIP *enter = frmEnterFIP::instance();
        enter->cmbState_Click(0); // Alabama, then Cancel
        enter->cmdCancel_Click();
        QVERIFY(FipsList[0].isEmpty());
        QCOMPARE(listTexts().size(), 4);

        window->show();
        window->close();
        QVERIFY(!window->isVisible());
        QCOMPARE(FipsList[0], QStringLiteral("X 012011  Broward                Florida"));
        QCOMPARE(FipsList[3], QStringLiteral("X 012111  St. Lucie              Florida"));
        ReceiverConfig.EDITOR.StateID = 8;
        initStateSelection();
    }
};

ORVANE_TEST(FipsEntryTest)
ORVANE_TEST(FipsWindowTest)
#include "FipsListTest.moc"
