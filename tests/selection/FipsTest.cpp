#include "config/ConfigTestSupport.h"
#include "selection/SelectionTestSupport.h"
#include "support/Columns.h"
#include "support/Rows.h"
#include "support/TestRegistry.h"
#include "support/TextInput.h"

#include "config/ParameterFile.h"
#include "config/ReceiverConfig.h"
#include "selection/FipsEntry.h"
#include "selection/StateDatabase.h"
#include "selection/frmFIPEdit.h"
#include "selection/frmFIPS.h"

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
    for (int j = 0; j < frmFIPS::instance()->lstFips->count(); ++j) ticks << (frmFIPS::instance()->lstFips->item(j)->checkState() == Qt::Checked);
    return ticks;
}

void highlight(int row) { frmFIPS::instance()->lstFips->setCurrentRow(row, QItemSelectionModel::ClearAndSelect); }
void startWithDefaults() { loadDefaultLists(), fillFipsListBox(); }

void startWith(int entries, bool ticked)
{
    for (int k = 0; k < entries; ++k)
        FipsList[k] = entryForListLine(
            QStringLiteral("0120%1  County %1").arg(k, 2, 10, QChar(u'0')).leftJustified(31) + QStringLiteral("Florida"), ticked);
    fillFipsListBox();
}

struct TextRow {
    const char *name, *code, *county, *state, *text;
};

// An edit in one box of the editor opened on `entry` (default: the District of Columbia):
// cursor -1 selects all, -2 goes to the end, -3 empties the box; `shown` (when given) is the
// box's text then; `listText` the list line after OK (empty: Cancel, the line unchanged).
struct BoxRow {
    const char *name, *box;
    int way, cursor;
    const char *text, *shown, *listText, *entry = nullptr;
};

} // namespace

// The FIPS entry rules, the FIPS list window and its editor.
class FipsTest : public QObject
{
    Q_OBJECT
    frmFIPS *window = nullptr;

private slots:
    void init()
    {
        clearReceiverConfig(), doubles().clear(), setStatesDirectory(committedStatesDir());
        window = frmFIPS::instance();
        window->hide(), window->lstFips->clear();
    }
    void cleanupTestCase() { window->hide(), setStatesDirectory(QString()); }

    // The state name starts at column 32 after the county's column; a longer county (hand-made
    // data) still leaves a blank before it; without a state nothing is added.
    void listText_data()
    {
        addRows<TextRow>({
            {"Martin", "012085", "Martin", "Florida", "012085  Martin                 Florida"},
            {"22-character county", "012001", "Abcdefghijklmnopqrstuv", "Florida", "012001  Abcdefghijklmnopqrstuv Florida"},
            {"blank and five digits", " 12085", "Martin", "Florida", "12085  Martin                  Florida"},
            {"blanks around fields dropped", "012085", "  Martin   ", " Florida ", "012085  Martin                 Florida"},
            {"no state", "012085", "Martin", "", "012085  Martin                 "},
            {"25 characters", "012011", "ABCDEFGHIJKLMNOPQRSTUVWXY", "Florida", "012011  ABCDEFGHIJKLMNOPQRSTUVWXY Florida"},
            {"23 characters, no state", "012011", "ABCDEFGHIJKLMNOPQRSTUVW", "", "012011  ABCDEFGHIJKLMNOPQRSTUVW"},
        });
    }
    void listText()
    {
        QFETCH(TextRow, row);
        QCOMPARE(buildListText(row.code, row.county, row.state), QString::fromLatin1(row.text));
    }

    // Six characters make a code; ticked and unticked entries show in the same columns and store back unchanged.
    void entryRules()
    {
        QCOMPARE((QList<bool>{fipsCodeLengthValid("012085"), fipsCodeLengthValid(" 12085"), fipsCodeLengthValid("12085"), fipsCodeLengthValid(""),
                                fipsCodeLengthValid("0120851")}), (QList<bool>{true, true, false, false, false}));
        const QString text = QStringLiteral("012011  Broward                Florida");
        for (const QString &mark : {QStringLiteral("X "), QStringLiteral("  ")}) {
            const FipsListLine line = listLineForEntry(mark + text);
            QVERIFY(line.text == text && line.ticked == (mark == "X ") && entryForListLine(line.text, line.ticked) == mark + text);
        }
        QCOMPARE(listLineForEntry(QStringLiteral("X 012011  Broward                ") + QString(40, u'Z')).text.size(), 51);
        const FipsFields f = splitListText(text);
        QCOMPARE(QStringList({f.code, f.county, f.state, splitListText("012011  Broward").state}),
                 QStringList({"012011", "Broward                ", "Florida", ""}));
    }

    // OK stores the ticks (no gaps, nothing gains blanks when stored again); more than 24 ticks
    // are refused, by the close box too; with none ticked OK asks first.
    void okStoresTheTicks()
    {
        loadDefaultLists();
        FipsList[5] = QStringLiteral("  012086  Miami-Dade             Florida"); // after an empty slot
        fillFipsListBox();
        QCOMPARE(window->windowTitle(), QStringLiteral("Orvane FIPS Codes"));
        QCOMPARE(listTicks(), QList<bool>({true, true, true, true, false}));
        QCOMPARE(unevenCharacters(window->lstFips->font(), listTexts().join(QString())), QString()); // columns line up in any font
        window->lstFips->item(1)->setCheckState(Qt::Unchecked);
        window->show(), window->cmdOK_Click();
        QVERIFY(!window->isVisible() && doubles().messages.isEmpty() && FipsList[5].isEmpty());
        QCOMPARE(FipsList[1] + FipsList[4], QStringLiteral("  012085  Martin                 Florida  012086  Miami-Dade             Florida"));
        const auto stored = FipsList;
        fillFipsListBox();
        window->cmdOK_Click();
        QCOMPARE(FipsList, stored);
    }
    void twentyFifthTickRefused()
    {
        startWith(25, true);
        const auto before = FipsList;
        window->show(), window->cmdOK_Click();
        QVERIFY(window->isVisible() && FipsList == before);
        QCOMPARE(shownBoxes(), QStringList{box(" Error, More than 24 FIP codes selected. ")});
        window->close();
        QVERIFY(window->isVisible() && doubles().beeps == 2);
        window->lstFips->item(24)->setCheckState(Qt::Unchecked); // 24 are taken
        window->cmdOK_Click();
        QVERIFY(!window->isVisible() && FipsList[24].startsWith(QStringLiteral("  ")));
        clearReceiverConfig(), startWith(2, false);
        window->show();
        for (QMessageBox::StandardButton answer : {QMessageBox::No, QMessageBox::Yes}) {
            doubles().clear(), doubles().answerNext(answer);
            window->cmdOK_Click();
            QCOMPARE(shownBoxes(), QStringList{box(" Error, No FIP Counties have been Selected\r\n Do you still want to Exit?",
                                                   QMessageBox::Warning, QMessageBox::Yes | QMessageBox::No)});
            QVERIFY(window->isVisible() == (answer == QMessageBox::No) && FipsList[1].startsWith(QStringLiteral("  "))); // stored either way
        }
    }

    // Copy and Remove work on the highlighted line; without one (ticking does not highlight)
    // Edit, Copy and Remove only beep; at 99 lines Add and Copy beep: FipsList holds no more.
    void buttonsOnTheHighlightedLine()
    {
        startWithDefaults();
        window->lstFips->setCurrentRow(1, QItemSelectionModel::NoUpdate);
        QCOMPARE(window->highlightedRow(), -1);
        window->cmdEdit_Click(), window->cmdCopy_Click(), window->cmdRemove_Click();
        QVERIFY(doubles().beeps == 3 && doubles().messages.isEmpty());
        highlight(0);
        window->cmdCopy_Click();
        QVERIFY(listTexts().size() == 5 && listTexts().last() == listTexts().first() && !listTicks().last());
        doubles().answerNext(QMessageBox::No);
        window->cmdRemove_Click();
        QCOMPARE(shownBoxes(), QStringList{box("Are you sure you want to remove FIP county:\r\n012011  Broward",
                                               QMessageBox::Question, QMessageBox::Yes | QMessageBox::No, "Orvane FIP Edit")});
        highlight(0);
        doubles().answerNext(QMessageBox::Yes);
        window->cmdRemove_Click();
        QCOMPARE(listTexts(), QStringList({"012085  Martin                 Florida", "012099  Palm Beach             Florida",
                                           "012111  St. Lucie              Florida", "012011  Broward                Florida"}));
        doubles().clear();
        startWith(99, false);
        highlight(0);
        window->cmdCopy_Click(), window->cmdAdd_Click(); // Add would open the editor if it were not refused
        QVERIFY(doubles().beeps == 2 && listTexts().size() == 99);
    }

    // A code of the wrong length keeps the editor open; Add appends an unticked line (the code
    // box takes six digits); Edit keeps the tick.
    void addAndEdit()
    {
        startWithDefaults();
        whenModalOpens<frmFIPEdit>([](frmFIPEdit *editor) {
            QCOMPARE((QStringList{editor->Frame1->title(), editor->windowTitle(), editor->lblInfo[1]->text(), editor->txtFIP->text()}),
                     (QStringList{" Add new FIP code entry ", " Orvane FIPS Editor", "2.  Enter County Name (18 caracters max).", ""}));
            QTest::keyClicks(editor->txtFIP, "12085");
            QTest::keyClicks(editor->txtCounty, "Martin");
            QTest::keyClicks(editor->txtState, "Florida");
            editor->cmdOK->click();
            QVERIFY(editor->isVisible());
            editor->txtFIP->clear();
            QTest::keyClicks(editor->txtFIP, "0120855");
            editor->cmdOK->click();
        });
        window->cmdAdd_Click();
        QVERIFY(listTexts().value(4) == "012085  Martin                 Florida" && !listTicks().value(4, true));
        QCOMPARE(shownBoxes(), QStringList{box(" Error.. FIP Code Entry Incorrect Digit Length. \r\n Valid FIP Codes "
                                               "Are Six (6) Digits. \r\n", QMessageBox::Warning, QMessageBox::Ok,
                                               " Orvane Digital Weather Receiver")});
        highlight(2);
        whenModalOpens<frmFIPEdit>([](frmFIPEdit *editor) {
            QCOMPARE(QStringList({editor->Frame1->title(), editor->txtFIP->text(), editor->txtCounty->text(), editor->txtState->text(),
                                  editor->lblInfo[3]->text()}),
                     QStringList({" Edit FIP code entry ", "012099", "Palm Beach             ", "Florida", ""}));
            editor->txtCounty->setText(QStringLiteral("Palm Beach North"));
            editor->cmdOK->click();
        });
        window->cmdEdit_Click();
        QVERIFY(listTexts()[2] == "012099  Palm Beach North       Florida" && listTicks()[2]);
    }

    void frameBlinksOnlyWhileTheListIsEmpty()
    {
        fillFipsListBox();
        QList<bool> shown;
        for (int k = 0; k < 5; ++k)
            window->Timer1_Timer(), shown << !window->Shape1->isHidden();
        startWithDefaults();
        window->Timer1_Timer();
        QVERIFY(shown == QList<bool>({true, false, true, false, true}) && window->Shape1->isHidden() && window->Timer1->isActive());
        QCOMPARE(window->Timer1->interval(), 800);
    }

    // The whole road of a pasted line break: Add, OK on both windows, the exit with saving,
    // the next start. The file keeps its 151 lines and the event list comes back whole.
    void pastedLineBreakKeepsTheEventList()
    {
        startWithDefaults();
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
        const QString added = QStringLiteral("  012086  FooBar                 Florida");
        QCOMPARE(FipsList[4], added);
        QVERIFY(writeParameterFile());
        QCOMPARE(fileBytes(kParameterFileName).count('\n'), kParameterFileLines);
        clearReceiverConfig(), doubles().clear();
        QVERIFY(readParameterFile() && doubles().messages.isEmpty()); // no #199
        QVERIFY(EventList == events && FipsList[4] == added);
    }

    // No box lets a control character in, however the text arrives (a line break would split
    // the stored entry). Edit loads the county column with its blanks and a long state whole
    // (the limits bind what is added only); what is added stops at 22 characters for the county
    // and 18 for the state, and the state keeps the blank before it.
    void editorBoxes_data()
    {
        QTest::addColumn<BoxRow>("row");
        for (const char *box : {"txtFIP", "txtCounty", "txtState"})
            for (int way : {int(Pasted), int(Dropped)})
                QTest::addRow("%s %s", box, way == Pasted ? "pasted" : "dropped") << BoxRow{"", box, way, -3, "01\r\n2\t085", "012085", ""};
        const char *dc = "011001  District of Columbia   ABCDEFGHIJKLMNOPQR", *same = "011001  District of Columbia   District Of Columbia";
        const char *long23 = "011001  ABCDEFGHIJKLMNOPQRSTUV District Of Columbia", *nw = "011001  District of Columbia N District Of Columbia";
        for (const BoxRow &r : std::initializer_list<BoxRow>{
                 {"county typed over all", "txtCounty", Typed, -1, "ABCDEFGHIJKLMNOPQRSTUVW", "", long23},
                 {"county pasted over all", "txtCounty", Pasted, -1, "ABCDEFGHIJKLMNOPQRSTUVW", "", long23},
                 {"county dropped after the blanks", "txtCounty", Dropped, -2, "XYZ", "", same},
                 {"county typed into its padding", "txtCounty", Typed, 20, " NW", "", nw},
                 {"state typed after its 20 characters", "txtState", Typed, -2, "X", "District Of Columbia", same},
                 {"state pasted over all", "txtState", Pasted, -1, "ABCDEFGHIJKLMNOPQRSTUVW", "", dc},
                 {"state typed over all", "txtState", Typed, -1, "ABCDEFGHIJKLMNOPQRST", "ABCDEFGHIJKLMNOPQR", dc},
                 // a county filling its whole column gets the blank before the state back
                 {"full county column confirmed", "txtCounty", Typed, -2, "", "ABCDEFGHIJKLMNOPQRSTUVW",
                  "012011  ABCDEFGHIJKLMNOPQRSTUVW Florida", "X 012011  ABCDEFGHIJKLMNOPQRSTUVWFlorida"}})
            QTest::newRow(r.name) << r;
    }
    void editorBoxes()
    {
        QFETCH(BoxRow, row);
        FipsList[0] = row.entry ? QString::fromLatin1(row.entry) : QStringLiteral("X 011001  District of Columbia   District Of Columbia");
        fillFipsListBox();
        const QString before = listTexts()[0];
        highlight(0);
        whenModalOpens<frmFIPEdit>([&](frmFIPEdit *editor) {
            QLineEdit *target = editor->findChild<QLineEdit *>(row.box);
            QVERIFY(target);
            row.cursor == -3 ? target->clear() : row.cursor == -1 ? target->selectAll() : row.cursor == -2 ? target->end(false)
                                                                                                          : target->setCursorPosition(row.cursor);
            putText(target, QString::fromLatin1(row.text), row.way);
            QVERIFY2(target->text().trimmed().size() <= (QLatin1String(row.box) == "txtCounty" ? (row.entry ? 23 : 22) : 20), qPrintable(target->text()));
            QVERIFY2(!*row.shown || target->text() == QString::fromLatin1(row.shown), qPrintable(target->text()));
            (*row.listText ? editor->cmdOK : editor->cmdCancel)->click();
        });
        window->cmdEdit_Click();
        QCOMPARE(listTexts()[0], *row.listText ? QString::fromLatin1(row.listText) : before);
    }
};

ORVANE_TEST(FipsTest)
#include "FipsTest.moc"
