#include "editors/EditorTestSupport.h"
#include "support/TestRegistry.h"

#include "core/Artwork.h"
#include "editors/frmOption.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace {

// The nine fields the window edits, in one row: override 0-2, speaker, line, all events,
// warnings and watches, warnings, test limit.
using Nine = QList<bool>;

void setNine(const Nine &f)
{
    auto &o = ReceiverConfig.NV8008;
    auto &v = ReceiverConfig.NV800B;
    o.AcceptAllFips = f[0];
    o.AcceptAllEvents = f[1];
    o.IgnoreTerminationPacket = f[2];
    v.VoiceIntervalSpeaker = f[3];
    v.VoiceIntervalLine = f[4];
    v.VocAllEvents = f[5];
    v.VocWarningsWatch = f[6];
    v.VocWarnings = f[7];
    v.VocTruncateTest = f[8];
}

Nine nine()
{
    const auto &o = ReceiverConfig.NV8008;
    const auto &v = ReceiverConfig.NV800B;
    return {o.AcceptAllFips, o.AcceptAllEvents, o.IgnoreTerminationPacket, v.VoiceIntervalSpeaker,
            v.VoiceIntervalLine, v.VocAllEvents, v.VocWarningsWatch, v.VocWarnings, v.VocTruncateTest};
}

// What the window shows: override 0-2, master, selected option (-1 none), limit, and
// whether the four dependent controls are enabled.
struct Shown {
    QList<bool> overrides;
    bool master;
    int option;
    bool limit;
    bool dependentEnabled;
    bool dependentAlike; // the four are all enabled or all disabled
};

Shown shown(const frmOption &w)
{
    Shown s{{}, w.chkVocInt[0]->isChecked(), -1, w.chkVocInt[2]->isChecked(), w.chkVocInt[2]->isEnabled(), true};
    for (QCheckBox *box : w.chkOverride)
        s.overrides << box->isChecked();
    for (int i = 2; i >= 0; --i)
        if (w.optVocInt[i]->isChecked())
            s.option = i;
    for (QRadioButton *option : w.optVocInt)
        s.dependentAlike &= option->isEnabled() == s.dependentEnabled;
    return s;
}

} // namespace

class OptionWindowTest : public QObject
{
    Q_OBJECT
private slots:
    void init() { freshRecord(); }

    void controlsAsDesigned()
    {
        frmOption w;
        QCOMPARE(w.windowTitle(), QStringLiteral("Orvane Options"));
        QCOMPARE(w.objectName(), QStringLiteral("frmOption"));
        QCOMPARE(w.Frame5->title(), QStringLiteral(" Voice Interval Options "));
        QCOMPARE(w.Frame2->title(), QStringLiteral(" Override Options "));
        const QStringList captions = {
            "Permit voice interval announcements and ID.",      "Permit announcements on all decoded events.",
            "Permit announcements on Warnings and Watches only.", "Permit announcements on Warnings only.",
            "Limit Monthly/Weekly Test to 15 Minutes Max.",     "Accept all FIP codes",
            "Accept all Event Codes",
            "Ignore the Termination Data Packet   (Use Line Time Out)",
            "OK",
            "Cancel"};
        const QStringList names = {"chkVocInt_0", "optVocInt_0", "optVocInt_1", "optVocInt_2", "chkVocInt_2",
                                   "chkOverride_0", "chkOverride_1", "chkOverride_2", "cmdOk", "cmdCancel"};
        for (int i = 0; i < names.size(); ++i) {
            auto *button = w.findChild<QAbstractButton *>(names[i]);
            QVERIFY2(button, qPrintable(names[i]));
            QCOMPARE(shownText(button), captions[i]);
        }
        QVERIFY(!w.findChild<QWidget *>("chkVocInt_1"));
        QVERIFY(!w.chkVocInt[1]);
        for (int i : {0, 2})
            QCOMPARE(w.chkVocInt[i]->parentWidget(), w.Frame5);
        for (QRadioButton *option : w.optVocInt)
            QCOMPARE(option->parentWidget(), w.Frame5);
        for (QCheckBox *box : w.chkOverride)
            QCOMPARE(box->parentWidget(), w.Frame2);
        QCOMPARE(w.findChild<QLabel *>("Image1")->pixmap().toImage(), imageListPicture(4).toImage());
        QVERIFY(w.isModal());
    }

    // Loading shows the record, OK stores it back by the designed rules, and the settings
    // block then carries each field in its own bit (byte 8: bits 5-7, byte 11: bits 0-5).
    void loadThenOk_data()
    {
        QTest::addColumn<Nine>("record");
        QTest::addColumn<QList<bool>>("overrides");
        QTest::addColumn<bool>("master");
        QTest::addColumn<int>("option");
        QTest::addColumn<bool>("limit");
        QTest::addColumn<Nine>("stored");
        QTest::addColumn<int>("byte8");
        QTest::addColumn<int>("byte11");

        const QList<bool> none{false, false, false};
        QTest::newRow("fresh installation") << Nine{0, 0, 0, 1, 1, 1, 0, 0, 1} << none << true << 0 << true
                                            << Nine{0, 0, 0, 1, 1, 1, 0, 0, 1} << 0x1F << 0x27;
        QTest::newRow("each override its own bit")
            << Nine{1, 0, 1, 1, 1, 0, 1, 0, 0} << QList<bool>{1, 0, 1} << true << 1 << false
            << Nine{1, 0, 1, 1, 1, 0, 1, 0, 0} << (0x1F | 0x20 | 0x80) << 0x0B;
        QTest::newRow("all events override, warnings only")
            << Nine{0, 1, 0, 1, 1, 0, 0, 1, 1} << QList<bool>{0, 1, 0} << true << 2 << true
            << Nine{0, 1, 0, 1, 1, 0, 0, 1, 1} << (0x1F | 0x40) << 0x33;
        QTest::newRow("speaker on, line off: switch shows off, both stored off")
            << Nine{0, 0, 0, 1, 0, 1, 0, 0, 1} << none << false << 0 << true
            << Nine{0, 0, 0, 0, 0, 1, 0, 0, 1} << 0x1F << 0x24;
        QTest::newRow("speaker off, line on: switch shows on, both stored on")
            << Nine{0, 0, 0, 0, 1, 0, 0, 1, 0} << none << true << 2 << false
            << Nine{0, 0, 0, 1, 1, 0, 0, 1, 0} << 0x1F << 0x13;
        QTest::newRow("no class: none selected, all three stay false")
            << Nine{0, 0, 0, 1, 1, 0, 0, 0, 0} << none << true << -1 << false
            << Nine{0, 0, 0, 1, 1, 0, 0, 0, 0} << 0x1F << 0x03;
        QTest::newRow("two classes: the first wins and stays alone")
            << Nine{0, 0, 0, 1, 1, 1, 0, 1, 0} << none << true << 0 << false
            << Nine{0, 0, 0, 1, 1, 1, 0, 0, 0} << 0x1F << 0x07;
        QTest::newRow("all off: disabled controls keep and store their values")
            << Nine{0, 0, 0, 0, 0, 0, 1, 0, 1} << none << false << 1 << true
            << Nine{0, 0, 0, 0, 0, 0, 1, 0, 1} << 0x1F << 0x28;
    }
    void loadThenOk()
    {
        QFETCH(Nine, record);
        QFETCH(QList<bool>, overrides);
        QFETCH(bool, master);
        QFETCH(int, option);
        QFETCH(bool, limit);
        QFETCH(Nine, stored);
        QFETCH(int, byte8);
        QFETCH(int, byte11);
        setNine(record);
        const QByteArray before = settingsBlock();

        frmOption w;
        QVERIFY(openWindow(w));
        const Shown s = shown(w);
        QCOMPARE(s.overrides, overrides);
        QCOMPARE(s.master, master);
        QCOMPARE(s.option, option);
        QCOMPARE(s.limit, limit);
        QCOMPARE(s.dependentEnabled, master);
        QVERIFY(s.dependentAlike);
        QCOMPARE(QApplication::focusWidget(), w.cmdOk);

        QTest::keyClick(&w, Qt::Key_Return); // Enter = OK
        QCOMPARE(w.result(), int(QDialog::Accepted));
        QCOMPARE(nine(), stored);
        QByteArray expected = before;
        expected[8] = char(byte8);
        expected[11] = char(byte11);
        QCOMPARE(settingsBlock(), expected);
    }

    // The switch enables its four controls and never changes their values; switched off,
    // OK keeps the chosen class and limit.
    void switchKeepsDependentValues()
    {
        {
            frmOption w;
            QVERIFY(openWindow(w));
            click(w.optVocInt[1]);
            click(w.chkVocInt[2]); // limit off
            click(w.chkVocInt[0]); // switch off
            QVERIFY(!w.optVocInt[1]->isEnabled());
            QVERIFY(!w.chkVocInt[2]->isEnabled());
            QVERIFY(w.optVocInt[1]->isChecked());
            click(w.chkVocInt[0]); // on again
            QVERIFY(w.optVocInt[0]->isEnabled() && w.optVocInt[2]->isEnabled() && w.chkVocInt[2]->isEnabled());
            QVERIFY(w.optVocInt[1]->isChecked());
            QVERIFY(!w.chkVocInt[2]->isChecked());
            click(w.chkVocInt[0]); // off
            QTest::mouseClick(w.cmdOk, Qt::LeftButton);
        }
        QCOMPARE(nine(), (Nine{0, 0, 0, 0, 0, 0, 1, 0, 0})); // shown again: the "all off" row above
    }

    // Cancel, Escape and the close box all leave the record exactly as it was.
    void discardWays_data() { addDiscardRows(); }
    void discardWays()
    {
        QFETCH(int, way);
        const QByteArray before = settingsBlock();
        const Nine fields = nine();
        frmOption w;
        QVERIFY(openWindow(w));
        for (QCheckBox *box : w.chkOverride)
            click(box);
        click(w.optVocInt[2]);
        click(w.chkVocInt[0]);
        discardBy(way, w, w.cmdCancel, &w);
        QCOMPARE(w.result(), int(QDialog::Rejected));
        QVERIFY(!w.isVisible());
        QCOMPARE(nine(), fields);
        QCOMPARE(settingsBlock(), before);
    }

    // The arrows choose among the options; the accelerators reach each box.
    void keyboard()
    {
        frmOption w;
        QVERIFY(openWindow(w));
        w.optVocInt[0]->setFocus(); // the Tab order is KeyboardAccessTest's
        QTest::keyClick(w.optVocInt[0], Qt::Key_Down);
        QVERIFY(w.optVocInt[1]->isChecked());

        const QList<std::pair<char, QAbstractButton *>> accelerators = {
            {'F', w.chkOverride[0]}, {'E', w.chkOverride[1]}, {'I', w.chkOverride[2]},
            {'L', w.chkVocInt[2]},   {'O', w.optVocInt[2]},   {'P', w.chkVocInt[0]}};
        for (const auto &[letter, button] : accelerators) {
            const bool was = button->isChecked();
            QTest::keyClick(&w, letter, Qt::AltModifier);
            QTRY_VERIFY2(button->isChecked() != was, qPrintable(button->objectName())); // an animated click
        }
        QCOMPARE(QApplication::focusWidget(), w.chkVocInt[0]);
    }
};

ORVANE_TEST(OptionWindowTest)
#include "OptionWindowTest.moc"
