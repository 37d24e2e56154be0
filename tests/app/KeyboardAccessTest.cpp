// Every window by keyboard alone: the Tab walk over its controls, the names a screen reader
// reads out, the accelerators (unique within a window, and doing what they say), the default
// button, and the keys of the alert history grid.
#include "app/ProgramWindows.h"
#include "support/TestRegistry.h"

#include "history/HistoryGrid.h"
#include "history/HistoryView.h"
#include "link/HistoryDecoding.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAccessible>
#include <QButtonGroup>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTabBar>
#include <QTabWidget>
#include <QTextEdit>

namespace {

// What an accelerator does: moves the focus to a control, toggles a check box (which takes
// the focus too), or presses a button (which leaves the focus where it was).
struct Accelerator {
    char letter;
    QString focus;        // object name of the control that has the focus afterwards
    QString toggles = {}; // a check box whose state flips, or empty
    QString clicks = {};  // a push button that is pressed, or empty
};

// The control that has the focus when the window opens; the Tab order, in reading order: top
// to bottom, left to right, OK / Cancel last (a group of option buttons is one stop, on its
// selected button); the button Enter presses (empty: none); the accelerators.
struct WindowCase {
    const char *name, *first, *order, *defaultButton;
    QList<Accelerator> accelerators;
};

const WindowCase kWindows[] = {
    {"frmMain", "cmdMain_0", "cmdMain_0 cmdMain_1 cmdMain_2 cmdMain_3 cmdMain_4 cmdMain_5 cmdMain_6 cmdMain_7 cmdMain_8 "
                             "cmdMain_9 cmdMain_10 HistoryGrid", "", {{'a', "HistoryGrid"}}},
    {"frmSplash", "", "", "", {}},
    {"frmCommPort", "cmdOk", "optCommPort_1 cmbTimeZone chkAdjustTime cmdTest cmdOk", "cmdOk",
     {{'c', "optCommPort_1"}, {'t', "cmbTimeZone"}}},
    {"frmEnterFIP", "cmdCancel", "cmbState cmbLimit lstCounty cmdOk cmdCancel", "cmdOk",
     {{'s', "cmbState"}, {'f', "cmbLimit"}, {'t', "lstCounty"}}},
    {"frmFIPS", "cmdOK", "lstFips cmdAdd cmdEdit cmdCopy cmdRemove cmdEnterCodes cmdOK", "cmdOK", {{'f', "lstFips"}}},
    {"frmFIPEdit", "txtFIP", "txtFIP txtCounty txtState cmdOK cmdCancel", "cmdOK",
     {{'s', "txtState"}, {'n', "txtFIP"}, {'c', "txtCounty"}}},
    {"frmEvent", "cmdOK", "", "cmdOK", {}}, // the order of page 1's boxes is added where it is used
    {"frmOption", "cmdOk", "chkVocInt_0 optVocInt_1 chkVocInt_2 chkOverride_0 chkOverride_1 chkOverride_2 cmdOk cmdCancel",
     "cmdOk", {{'p', "chkVocInt_0", "chkVocInt_0"}, {'e', "chkOverride_1", "chkOverride_1"}}},
    {"frmTimers", "optTimeLn_0", "optTimeLn_0 optVoiceTimer_0 optRelayDelay_0 optVoiceDelay_0 cmdOK cmdCancel", "cmdOK",
     {{'v', "optVoiceTimer_0"}, {'p', "optVoiceDelay_0"}}},
    {"frmIdent", "chkID_0", "chkID_0 chkID_1 chkID_2 chkID_3 txtIdent cmdErase cmdOK cmdCancel", "cmdOK",
     {{'i', "txtIdent"}, {'r', "chkID_2", "chkID_2"}, {'c', "txtIdent", {}, "cmdErase"}}},
    {"frmTest", "cmdOk", "cmdRWT cmdFFW cmdSVA cmdTOA cmdOk", "cmdOk", {}},
    {"frmAbout", "cmdOk", "cmdOk cmdSysInfo", "cmdOk", {{'s', "cmdOk", {}, "cmdSysInfo"}}},
    {"frmTip", "cmdOK", "chkLoadTipsAtStartup cmdOK", "cmdOK", {{'s', "chkLoadTipsAtStartup", "chkLoadTipsAtStartup"}}},
    {"frmDataDump", "cmdNVData", "cmdNVData cmdRaw cmdClear cmdSave Text1 cmdExit", "", {{'c', "cmdNVData", {}, "cmdClear"}}},
    {"frmHelp contents", "lstContents", "qt_tabwidget_tabbar lstContents brwTopic", "",
     {{'i', "txtKeyword"}, {'c', "lstContents"}}},
    {"frmHelp index", "txtKeyword", "qt_tabwidget_tabbar txtKeyword lstIndex brwTopic", "",
     {{'t', "txtKeyword"}, {'s', "txtSearch/QLineEdit"}}},
    {"frmHelp search", "txtSearch/QLineEdit",
     "qt_tabwidget_tabbar txtSearch/QLineEdit txtSearch/QPushButton lstSearchResults/QResultWidget brwTopic", "",
     {{'i', "txtKeyword"}}},
};

// Names a control for the messages: its object name, or its named owner and its class.
QString nameOf(const QWidget *w)
{
    if (!w)
        return QStringLiteral("<none>");
    if (!w->objectName().isEmpty())
        return w->objectName();
    for (const QWidget *up = w->parentWidget(); up; up = up->parentWidget())
        if (!up->objectName().isEmpty())
            return up->objectName() + u'/' + QString::fromLatin1(w->metaObject()->className());
    return QString::fromLatin1(w->metaObject()->className());
}

// A control a screen reader must be able to name.
bool isControl(const QWidget *w)
{
    return qobject_cast<const QAbstractButton *>(w) || qobject_cast<const QLineEdit *>(w) ||
           qobject_cast<const QAbstractItemView *>(w) || qobject_cast<const QComboBox *>(w) ||
           qobject_cast<const QPlainTextEdit *>(w) || qobject_cast<const QTextEdit *>(w) ||
           qobject_cast<const QTabBar *>(w) || qobject_cast<const HistoryGrid *>(w) ||
           (w->focusPolicy() & Qt::TabFocus) == Qt::TabFocus;
}

QString accessibleName(QWidget *w)
{
    QAccessibleInterface *face = QAccessible::queryAccessibleInterface(w);
    return face ? face->text(QAccessible::Name) : QString();
}

// The Tab walk from the control that has the focus, once round: the controls in the order
// visited. A control that keeps the focus for a press (moving among its own parts, such as
// the links of a page) counts once.
QStringList tabWalk(QWidget *window, QString &problem)
{
    QStringList visited;
    QWidget *start = QApplication::focusWidget();
    if (!start)
        return visited;
    visited << nameOf(start);
    QWidget *last = start;
    for (int press = 0; press < 400; ++press) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget *now = QApplication::focusWidget();
        if (!now || (now != window && !window->isAncestorOf(now))) {
            problem = QStringLiteral("Tab left the window for ") + nameOf(now);
            return visited;
        }
        if (now == start)
            return visited;
        if (now != last)
            visited << nameOf(now);
        last = now;
    }
    problem = QStringLiteral("Tab never came back to ") + nameOf(start);
    return visited;
}

// The letters marked with & in the window's visible captions, with what carries each.
QMultiMap<QChar, QString> acceleratorsOf(QWidget *window)
{
    QMultiMap<QChar, QString> found;
    auto note = [&](const QString &text, const QString &owner) {
        const QKeySequence mnemonic = QKeySequence::mnemonic(text);
        if (mnemonic.isEmpty())
            return;
        const QString key = mnemonic.toString(QKeySequence::PortableText);
        found.insert(key.back().toLower(), owner);
    };
    for (QWidget *w : window->findChildren<QWidget *>()) {
        if (!w->isVisibleTo(window))
            continue;
        if (auto *button = qobject_cast<QAbstractButton *>(w))
            note(button->text(), nameOf(w));
        else if (auto *label = qobject_cast<QLabel *>(w))
            note(label->text(), nameOf(w));
        else if (auto *group = qobject_cast<QGroupBox *>(w))
            note(group->title(), nameOf(w));
        else if (auto *tabs = qobject_cast<QTabBar *>(w))
            for (int i = 0; i < tabs->count(); ++i)
                note(tabs->tabText(i), nameOf(w) + u'_' + QString::number(i));
        else if (auto *bar = qobject_cast<QMenuBar *>(w))
            for (QAction *menu : bar->actions())
                note(menu->text(), menu->objectName().isEmpty() ? menu->text() : menu->objectName());
    }
    return found;
}

} // namespace

class KeyboardAccessTest : public QObject
{
    Q_OBJECT

    ProgramWindows program;
    QWidget *open(const QString &name) { return program.open(name); }

private slots:
    void init() { freshState(); }
    void cleanup() { program.close(); }

    void windows_data()
    {
        QTest::addColumn<int>("index");
        for (int k = 0; k < int(std::size(kWindows)); ++k)
            QTest::newRow(kWindows[k].name) << k;
    }

    // Tab visits every control that can take the focus once, in reading order, and comes
    // back to where it started; Backtab walks the same way backwards.
    void windows()
    {
        QFETCH(int, index);
        const WindowCase &expected = kWindows[index];
        const QString window = QString::fromLatin1(expected.name);
        QStringList order = QString::fromLatin1(expected.order).split(u' ', Qt::SkipEmptyParts);
        QWidget *w = open(window);
        QVERIFY(w);
        if (window == QLatin1String("frmEvent")) {
            // Page 1's boxes, frame by frame as they are read, then the page buttons and OK.
            auto *events = static_cast<frmEvent *>(w);
            QStringList boxes;
            for (QWidget *frame : events->Picture1->findChildren<QGroupBox *>(Qt::FindDirectChildrenOnly))
                for (QCheckBox *box : frame->findChildren<QCheckBox *>())
                    boxes << box->objectName();
            QVERIFY(boxes.size() > 20);
            order = boxes + QStringList{"cmdSelect_0", "cmdSelect_1", "cmdOK"};
        }

        // Every enabled control that takes the focus by Tab is in the walk, once.
        QStringList focusable;
        for (QWidget *child : w->findChildren<QWidget *>())
            if (child->isVisibleTo(w) && child->isEnabled() && (child->focusPolicy() & Qt::TabFocus) == Qt::TabFocus &&
                !child->focusProxy())
                focusable << nameOf(child);

        QCOMPARE(nameOf(QApplication::focusWidget()), order.isEmpty() ? QStringLiteral("<none>") : QString::fromLatin1(expected.first));
        QString problem;
        const QStringList walked = tabWalk(w, problem);
        QVERIFY2(problem.isEmpty(), qPrintable(problem + QStringLiteral(": ") + walked.join(u' ')));
        // Once round from the first focus: the reading order, entered where the window starts.
        QStringList round = walked;
        const int at = round.indexOf(order.value(0));
        if (at > 0)
            round = round.mid(at) + round.mid(0, at);
        QVERIFY2(round == order, qPrintable(QStringLiteral("walked: ") + walked.join(u' ')));

        // Backwards from the first control: the same controls in the opposite order.
        if (!walked.isEmpty()) {
            QStringList back{nameOf(QApplication::focusWidget())};
            for (int press = 0; press < 400 && back.size() < walked.size(); ++press) {
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
                if (nameOf(QApplication::focusWidget()) != back.last())
                    back << nameOf(QApplication::focusWidget());
            }
            QStringList reversed{walked.first()};
            for (int k = walked.size() - 1; k > 0; --k)
                reversed << walked[k];
            QVERIFY2(back == reversed, qPrintable(QStringLiteral("back: ") + back.join(u' ')));
        }

        // Option buttons of one group share one stop, on the selected button (the arrow keys
        // move within the group); every other focusable control is a stop of its own.
        for (const QString &name : walked)
            if (auto *option = w->findChild<QRadioButton *>(name); option && option->group() && option->group()->checkedButton())
                QVERIFY2(option->isChecked(), qPrintable(name + QStringLiteral(": Tab lands beside the selection")));
        for (const QString &name : focusable) {
            QWidget *child = w->findChild<QWidget *>(name);
            auto *option = qobject_cast<QRadioButton *>(child);
            if (option && !option->isChecked())
                continue;
            QVERIFY2(walked.contains(name), qPrintable(name + QStringLiteral(" is not reached by Tab")));
        }

        // A screen reader names every visible control: its caption, or a name of its own.
        for (QWidget *child : w->findChildren<QWidget *>()) {
            if (!child->isVisibleTo(w) || !isControl(child))
                continue;
            QVERIFY2(!accessibleName(child).trimmed().isEmpty(), qPrintable(nameOf(child) + QStringLiteral(" has no name")));
        }

        // Enter presses the default button, Escape cancels (the dialog's own rule). A button
        // that has the focus takes Enter itself; elsewhere the default button takes it.
        if (*expected.defaultButton) {
            auto *button = w->findChild<QPushButton *>(QString::fromLatin1(expected.defaultButton));
            QVERIFY(button);
            QWidget *elsewhere = button;
            for (const QString &name : order)
                if (QWidget *other = w->findChild<QWidget *>(name); other && !qobject_cast<QPushButton *>(other)) {
                    elsewhere = other;
                    break;
                }
            elsewhere->setFocus(Qt::TabFocusReason);
            QVERIFY(button->isDefault());
        }
    }

    // Within a window no letter marks two captions, a label with a letter leads to the control
    // it describes, and the letters do what they say.
    void accelerators_data() { windows_data(); }
    void accelerators()
    {
        QFETCH(int, index);
        const WindowCase &expected = kWindows[index];
        QWidget *w = open(QString::fromLatin1(expected.name));
        QVERIFY(w);

        const QMultiMap<QChar, QString> letters = acceleratorsOf(w);
        for (const QChar letter : letters.uniqueKeys())
            QVERIFY2(letters.count(letter) == 1,
                     qPrintable(QStringLiteral("Alt+%1 marks ").arg(letter) + QStringList(letters.values(letter)).join(u' ')));
        for (QLabel *label : w->findChildren<QLabel *>())
            if (label->isVisibleTo(w) && !QKeySequence::mnemonic(label->text()).isEmpty())
                QVERIFY2(label->buddy(), qPrintable(nameOf(label) + QStringLiteral(" marks a letter but leads nowhere")));

        for (const Accelerator &a : expected.accelerators) {
            QVERIFY2(letters.contains(QChar::fromLatin1(a.letter)), qPrintable(QStringLiteral("no Alt+%1").arg(a.letter)));
            auto *toggled = a.toggles.isEmpty() ? nullptr : w->findChild<QAbstractButton *>(a.toggles);
            const bool before = toggled && toggled->isChecked();
            auto *pressed = a.clicks.isEmpty() ? nullptr : w->findChild<QAbstractButton *>(a.clicks);
            QVERIFY(a.clicks.isEmpty() || pressed);
            QSignalSpy clicked(pressed ? pressed : w, pressed ? SIGNAL(clicked(bool)) : SIGNAL(destroyed()));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key(Qt::Key_A + (a.letter - 'a')), Qt::AltModifier);
            if (toggled)
                QTRY_COMPARE(toggled->isChecked(), !before);
            if (pressed)
                QTRY_COMPARE(clicked.count(), 1);
            QTRY_COMPARE(nameOf(QApplication::focusWidget()), a.focus);
        }
    }

    // The history grid: one stop for Tab, the arrow keys, Home / End and PgUp / PgDn move its
    // current row, and a screen reader hears the row.
    void historyGridKeys_data()
    {
        QTest::addColumn<QList<int>>("keys");
        QTest::addColumn<int>("row");
        QTest::newRow("down") << QList<int>{Qt::Key_Down, Qt::Key_Down} << 2;
        QTest::newRow("down then up") << QList<int>{Qt::Key_Down, Qt::Key_Down, Qt::Key_Up} << 1;
        QTest::newRow("up at the top stays") << QList<int>{Qt::Key_Up} << 0;
        QTest::newRow("end") << QList<int>{Qt::Key_End} << 19;
        QTest::newRow("down at the bottom stays") << QList<int>{Qt::Key_End, Qt::Key_Down} << 19;
        QTest::newRow("end then home") << QList<int>{Qt::Key_End, Qt::Key_Home} << 0;
        QTest::newRow("page down") << QList<int>{Qt::Key_PageDown} << 19;
        QTest::newRow("page down then up") << QList<int>{Qt::Key_PageDown, Qt::Key_PageUp} << 0;
    }
    void historyGridKeys()
    {
        QFETCH(QList<int>, keys);
        QFETCH(int, row);
        for (HistoryEntry &entry : HistoryTable)
            entry = HistoryEntry{};
        HistoryTable[2].Date = QStringLiteral("30-April");
        HistoryTable[2].Time = QStringLiteral("11:30");
        HistoryTable[2].Length = QStringLiteral("01:30");
        HistoryTable[2].Org = QStringLiteral("WXR");
        HistoryTable[2].Event = QStringLiteral("Required Weekly Test");
        QWidget *w = open(QStringLiteral("frmMain"));
        QVERIFY(w);
        HistoryGrid *grid = program.main->historyGrid;
        showHistoryGroup(*grid, 0);
        grid->setFocus(Qt::TabFocusReason);
        QCOMPARE(QApplication::focusWidget(), grid);
        QCOMPARE(grid->currentRow(), 0);
        for (int key : keys)
            QTest::keyClick(grid, Qt::Key(key));
        QCOMPARE(grid->currentRow(), row);
        QCOMPARE(QApplication::focusWidget(), grid);

        // The row as a screen reader reads it: its cells in order.
        QAccessibleInterface *face = QAccessible::queryAccessibleInterface(grid);
        QVERIFY(face);
        QCOMPARE(face->text(QAccessible::Name), QStringLiteral("Alert History"));
        const QString heard = face->text(QAccessible::Description);
        QVERIFY2(heard.startsWith(QString::number(row + 1)), qPrintable(heard));
        if (row == 2)
            QCOMPARE(heard, QStringLiteral("3  30-April  11:30  01:30  WXR  Required Weekly Test"));

        // The second group keeps the place; the row shows the entry of that group.
        showHistoryGroup(*grid, 1);
        QCOMPARE(grid->currentRow(), row);
        QVERIFY(face->text(QAccessible::Description).startsWith(QString::number(row + 21)));
    }
};

ORVANE_TEST(KeyboardAccessTest)
#include "KeyboardAccessTest.moc"
