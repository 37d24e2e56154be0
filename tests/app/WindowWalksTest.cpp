// Every window of programWindows() walked twice: by keyboard alone (KeyboardAccessTest: the Tab
// walk, the names a screen reader reads out, the default button, the accelerators), and through the accessible actions of its controls (AccessibleActionsTest:
// each does what a click does; the main window's cases also work its File menu and history grid).
#include "app/ProgramWindows.h"
#include "support/TestRegistry.h"

namespace {

// Names a control for the messages: its object name, or its named owner and its class.
QString nameOf(const QWidget *w)
{
    const QWidget *named = w;
    while (named && named->objectName().isEmpty()) named = named->parentWidget();
    return !w ? QStringLiteral("<none>") : named == w ? w->objectName()
                                                     : (named ? named->objectName() + u'/' : QString()) + w->metaObject()->className();
}

// The controls visited by Tab (or Backtab) from the focus, once round; a control that keeps the
// focus for a press (moving among its own parts, such as the links of a page) counts once.
QStringList tabWalk(QWidget *window, Qt::Key key, QString &problem)
{
    QWidget *start = QApplication::focusWidget();
    QStringList visited{nameOf(start)};
    for (int press = 0; start && press < 400; ++press) {
        QTest::keyClick(QApplication::focusWidget(), key);
        QWidget *now = QApplication::focusWidget();
        if (!now || (now != window && !window->isAncestorOf(now)))
            return problem = QStringLiteral("Tab left the window for ") + nameOf(now), visited;
        if (now == start) return visited;
        if (nameOf(now) != visited.last()) visited << nameOf(now);
    }
    problem = start ? QStringLiteral("Tab never came back to ") + nameOf(start) : QString();
    return start ? visited : QStringList();
}

// The letters marked with & in the window's visible captions, with what carries each.
QMultiMap<QChar, QString> acceleratorsOf(QWidget *window)
{
    QMultiMap<QChar, QString> found;
    auto note = [&](const QString &text, const QString &owner) {
        if (const QKeySequence mnemonic = QKeySequence::mnemonic(text); !mnemonic.isEmpty())
            found.insert(mnemonic.toString(QKeySequence::PortableText).back().toLower(), owner);
    };
    for (QWidget *w : window->findChildren<QWidget *>()) {
        if (!w->isVisibleTo(window)) continue;
        if (qobject_cast<QAbstractButton *>(w) || qobject_cast<QLabel *>(w) || qobject_cast<QGroupBox *>(w))
            note(w->property(qobject_cast<QGroupBox *>(w) ? "title" : "text").toString(), nameOf(w));
        for (int i = 0; qobject_cast<QTabBar *>(w) && i < static_cast<QTabBar *>(w)->count(); ++i)
            note(static_cast<QTabBar *>(w)->tabText(i), nameOf(w) + u'_' + QString::number(i));
        for (QAction *menu : qobject_cast<QMenuBar *>(w) ? w->actions() : QList<QAction *>())
            note(menu->text(), menu->objectName().isEmpty() ? menu->text() : menu->objectName());
    }
    return found;
}

void windowRows(bool actions)
{
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("action");
    for (int k = 0; k < programWindows().size(); ++k) {
        const Window &w = programWindows()[k];
        if (!actions) QTest::newRow(w.name) << k << -1;
        for (int a = 0; actions && a < w.actions.size(); ++a) QTest::addRow("%s %s", w.name, w.actions[a].name) << k << a;
    }
}

} // namespace

class KeyboardAccessTest : public QObject
{
    Q_OBJECT
    Walk walk;

private slots:
    void cleanup() { walk.close(); }
    void windows_data() { windowRows(false); }
    void windows()
    {
        QFETCH(int, index);
        const Window &row = programWindows()[index];
        QWidget *w = walk.open(row);
        QVERIFY(w);
        QStringList order, boxes;
        QString first = QStringLiteral("<none>"), defaultName;
        for (QString word : QString::fromLatin1(row.layout).section(u'|', 0, 0).split(u' ', Qt::SkipEmptyParts)) {
            if (word.endsWith(u'*')) defaultName = word.chopped(1).remove(u'>'), word.chop(1);
            if (word.startsWith(u'>')) first = word.remove(0, 1);
            order << word;
        }
        for (QWidget *frame : qobject_cast<frmEvent *>(w) ? static_cast<frmEvent *>(w)->Picture1->findChildren<QGroupBox *>(Qt::FindDirectChildrenOnly)
                                                          : QList<QGroupBox *>())
            for (QCheckBox *box : frame->findChildren<QCheckBox *>()) boxes << box->objectName();
        QVERIFY(boxes.isEmpty() || boxes.size() > 20);
        order = boxes + order;
        // Tab visits every control taking the focus once, in reading order, and comes back; Backtab the same backwards.
        QCOMPARE(nameOf(QApplication::focusWidget()), first);
        QString problem;
        QVERIFY(walk.settled());
        const QStringList walked = tabWalk(w, Qt::Key_Tab, problem);
        const int at = std::max<int>(0, walked.indexOf(order.value(0)));
        QVERIFY2(problem.isEmpty() && walked.mid(at) + walked.mid(0, at) == order, qPrintable(problem + " walked: " + walked.join(u' ')));
        QVERIFY(walk.settled());
        QStringList back = tabWalk(w, Qt::Key_Backtab, problem);
        std::reverse(back.begin() + std::min<int>(1, back.size()), back.end());
        QVERIFY2(problem.isEmpty() && back == walked, qPrintable(problem + " back: " + back.join(u' ')));

        // A group of option buttons is one stop, on the selected one; every other enabled control
        // taking the focus is a stop. A screen reader names every visible control.
        for (QWidget *child : w->findChildren<QWidget *>()) {
            auto *option = qobject_cast<QRadioButton *>(child);
            const bool tabbed = (child->focusPolicy() & Qt::TabFocus) == Qt::TabFocus, reached = walked.contains(nameOf(child));
            if (!child->isVisibleTo(w)) continue;
            QVERIFY2(reached || !tabbed || !child->isEnabled() || child->focusProxy() || (option && !option->isChecked()),
                     qPrintable(nameOf(child) + " is not reached by Tab"));
            QVERIFY2(!reached || !option || !option->group() || !option->group()->checkedButton() || option->isChecked(),
                     qPrintable(nameOf(child) + ": Tab lands beside the selection"));
            QAccessibleInterface *face = QAccessible::queryAccessibleInterface(child);
            static const char *const controls[] = {"QAbstractButton", "QLineEdit", "QAbstractItemView", "QComboBox", "QPlainTextEdit",
                                                   "QTextEdit", "QTabBar", "HistoryGrid"};
            if (tabbed || std::any_of(std::begin(controls), std::end(controls), [child](const char *c) { return child->inherits(c); }))
                QVERIFY2(face && !face->text(QAccessible::Name).trimmed().isEmpty(), qPrintable(nameOf(child) + " has no name"));
        }

        // Enter presses the default button wherever the focus is but on another button.
        for (const QString &name : defaultName.isEmpty() ? QStringList() : order)
            if (QWidget *other = w->findChild<QWidget *>(name); other && !qobject_cast<QPushButton *>(other)) {
                other->setFocus(Qt::TabFocusReason);
                break;
            }
        QVERIFY(defaultName.isEmpty() || (w->findChild<QPushButton *>(defaultName) && w->findChild<QPushButton *>(defaultName)->isDefault()));

        // No letter marks two captions, a label's letter leads to its control, letters do what they say.
        const QMultiMap<QChar, QString> letters = acceleratorsOf(w);
        for (const QChar letter : letters.uniqueKeys())
            QVERIFY2(letters.count(letter) == 1, qPrintable(QStringLiteral("Alt+%1 marks ").arg(letter) + QStringList(letters.values(letter)).join(u' ')));
        for (QLabel *label : w->findChildren<QLabel *>())
            QVERIFY2(!label->isVisibleTo(w) || QKeySequence::mnemonic(label->text()).isEmpty() || label->buddy(),
                     qPrintable(nameOf(label) + " marks a letter but leads nowhere"));
        for (const QString &key : QString::fromLatin1(row.layout).section(u'|', 1).split(u' ', Qt::SkipEmptyParts)) {
            const QString focus = key.mid(2).section(u'+', 0, 0).remove(u'!');
            auto *toggled = key.endsWith(u'!') ? w->findChild<QAbstractButton *>(focus) : nullptr;
            auto *pressed = key.contains(u'+') ? w->findChild<QAbstractButton *>(key.section(u'+', 1)) : nullptr;
            QVERIFY2(letters.contains(key.at(0)) && (toggled || !key.endsWith(u'!')) && (pressed || !key.contains(u'+')), qPrintable(key));
            const bool before = toggled && toggled->isChecked();
            QSignalSpy clicked(pressed ? pressed : w, pressed ? SIGNAL(clicked(bool)) : SIGNAL(destroyed()));
            QVERIFY2(walk.pressAlt(key.at(0), [&] {
                return nameOf(QApplication::focusWidget()) == focus && (!toggled || toggled->isChecked() != before) && clicked.count() == (pressed ? 1 : 0);
            }), qPrintable(key + " gave " + nameOf(QApplication::focusWidget())));
        }

    }
};

class AccessibleActionsTest : public QObject
{
    Q_OBJECT
    Walk walk;

private slots:
    void cleanup() { walk.close(); }
    void actions_data() { windowRows(true); }
    void actions()
    {
        QFETCH(int, index);
        QFETCH(int, action);
        const Action &a = programWindows()[index].actions[action];
        QVERIFY(walk.open(programWindows()[index]));
        walk.act(QString::fromLatin1(a.steps));
        if (a.then && !QTest::currentTestFailed()) a.then(walk);
    }
};

ORVANE_TEST(KeyboardAccessTest)
ORVANE_TEST(AccessibleActionsTest)
#include "WindowWalksTest.moc"
