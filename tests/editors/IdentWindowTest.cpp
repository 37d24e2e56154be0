#include "editors/EditorTestSupport.h"
#include "support/Columns.h"
#include "support/TextInput.h"
#include "support/TestRegistry.h"

#include "core/Artwork.h"
#include "editors/frmIdent.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

namespace {

// Keys for typeKeys: '\b' Backspace, '\r' Enter, '\x02' Ctrl+B, '\u2408' Ctrl+H (character 8,
// as the window system sends it); every other character is typed as the key that gives it.
void typeKeys(QWidget *box, const QString &keys)
{
    for (QChar c : keys) {
        if (c == u'\b')
            QTest::keyClick(box, Qt::Key_Backspace);
        else if (c == u'\r')
            QTest::keyClick(box, Qt::Key_Return);
        else if (c == u'\x02')
            QTest::keyClick(box, Qt::Key_B, Qt::ControlModifier);
        else if (c == u'\u2408')
            QTest::sendKeyEvent(QTest::Click, box, Qt::Key_H, QStringLiteral("\b"), Qt::ControlModifier);
        else if (c.unicode() < 0x80)
            QTest::keyClick(box, c.toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

QList<bool> words(const frmIdent &w) { return {w.chkID[1]->isChecked(), w.chkID[2]->isChecked(), w.chkID[3]->isChecked()}; }

void setWords(frmIdent &w, const QList<bool> &wanted)
{
    for (int i = 1; i <= 3; ++i)
        if (w.chkID[i]->isChecked() != wanted[i - 1])
            click(w.chkID[i]);
}

} // namespace

class IdentWindowTest : public QObject
{
    Q_OBJECT
private slots:
    void init() { freshRecord(); }

    void controlsAsDesigned()
    {
        frmIdent w;
        QCOMPARE(w.windowTitle(), QStringLiteral("Station Identification"));
        QCOMPARE(w.objectName(), QStringLiteral("frmIdent"));
        const QStringList captions = {
            "Append station identification after weather alert announcements",
            "Preceed identification with voice words \"This Is\".",
            "After identification say voice word \"Repeater\"",
            "After identification say voice word \"Transmitter\""};
        for (int i = 0; i < 4; ++i) {
            auto *box = w.findChild<QCheckBox *>(QStringLiteral("chkID_%1").arg(i));
            QVERIFY(box);
            QCOMPARE(shownText(box), captions[i]);
            QCOMPARE(box->parentWidget(), i == 0 ? static_cast<QWidget *>(&w) : w.Frame1);
        }
        QCOMPARE(w.Frame1->title(), QStringLiteral(" Station Identification "));
        QCOMPARE(w.findChild<QLabel *>("lblText_0")->text().remove(u'&'),
                 QStringLiteral("Station Identification Call Letters"));
        QCOMPARE(w.findChild<QLabel *>("lblText_1")->text(),
                 QStringLiteral("Valid Characters are  A-Z,  0-9    Fifteen (15) characters maximum."));
        QCOMPARE(shownText(w.findChild<QPushButton *>("cmdErase")), QStringLiteral("Clear"));
        QCOMPARE(w.findChild<QPushButton *>("cmdOK")->text(), QStringLiteral("OK"));
        QCOMPARE(w.findChild<QPushButton *>("cmdCancel")->text(), QStringLiteral("Cancel"));
        auto *box = w.findChild<QLineEdit *>("txtIdent");
        QVERIFY(box);
        for (QWidget *inside : std::initializer_list<QWidget *>{box, w.cmdErase, w.lblText[0], w.lblText[1]})
            QCOMPARE(inside->parentWidget(), w.Frame1);
        // The call letters line up under each other whatever the desktop's fonts.
        QCOMPARE(unevenCharacters(box->font(), QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789")), QString());
        QVERIFY(box->width() >= box->fontMetrics().horizontalAdvance(QString(15, u'W')));
        QCOMPARE(w.findChild<QLabel *>("Image1")->pixmap().toImage(), imageListPicture(6).toImage());
        QVERIFY(w.isModal());
    }

    // What the box makes of keys and brought text. Typed: digits and letters pass (small
    // letters as capitals), Backspace edits, every other key is swallowed with a beep each, the
    // 16th character is refused silently, a refused key over a selection leaves it. Pasted and
    // dropped: the same rule with one beep for the whole text. Call letters nobody could type
    // (an edited settings store) are shown and stored back as they are. What the box shows is
    // what OK stores; Enter in the box does not close the window.
    void edits_data()
    {
        QTest::addColumn<int>("way");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("selected");
        QTest::addColumn<QString>("brought");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("beeps");
        QTest::newRow("k 9 blank t") << int(Typed) << "" << false << "k9 t" << "K9T" << 1;
        QTest::newRow("sixteenth character") << int(Typed) << "" << false << "abcdefghij12345z" << "ABCDEFGHIJ12345" << 0;
        QTest::newRow("sixteenth refused character beeps") << int(Typed) << "ABCDEFGHIJ12345" << false << "#"
                                                           << "ABCDEFGHIJ12345" << 1;
        QTest::newRow("punctuation around the ranges") << int(Typed) << "" << false << "/:@[`{" << "" << 6;
        QTest::newRow("edges of the ranges") << int(Typed) << "" << false << "09AZaz" << "09AZAZ" << 0;
        QTest::newRow("Backspace edits") << int(Typed) << "K9" << false << "\bx\b\b4" << "4" << 0;
        QTest::newRow("Ctrl+H is Backspace") << int(Typed) << "K9" << false << QStringLiteral("\u2408w\u2408\u2408") << "" << 0;
        QTest::newRow("Enter beeps") << int(Typed) << "" << false << "w\r" << "W" << 1;
        QTest::newRow("control key beeps") << int(Typed) << "" << false << "\x02q" << "Q" << 1;
        QTest::newRow("letter beyond z") << int(Typed) << "" << false << QStringLiteral("\u00e9k") << "K" << 1;
        QTest::newRow("refused key keeps the selection") << int(Typed) << "K9T" << true << "-" << "K9T" << 1;
        QTest::newRow("key replaces the selection") << int(Typed) << "K9T" << true << "w" << "W" << 0;
        QTest::newRow("stored small letters, blank, slash") << int(Typed) << "kec 8/" << false << "" << "kec 8/" << 0;
        QTest::newRow("stored seventeen characters") << int(Typed) << "ABCDEFGHIJKLMNOPQ" << false << "z"
                                                     << "ABCDEFGHIJKLMNOPQ" << 0;
        using Way = std::pair<int, const char *>;
        for (const auto &[way, name] : {Way{Pasted, "Ctrl+V"}, Way{PastedFromMenu, "Paste"}, Way{Dropped, "drop"}}) {
            const QByteArray w(name);
            QTest::newRow(w + ": mixed text") << way << "" << false << "w1a-xyz/ 7" << "W1AXYZ7" << 1;
            QTest::newRow(w + ": clean text") << way << "KE" << false << "C83" << "KEC83" << 0;
            QTest::newRow(w + ": cut to 15 after filtering")
                << way << "AB" << false << "c-d-e-f-g-h-i-j-k-l-m-n-o-p" << "ABCDEFGHIJKLMNO" << 1;
            QTest::newRow(w + ": nothing speakable") << way << "AB" << false << "#$ %\t\n" << "AB" << 1;
        }
    }
    void edits()
    {
        QFETCH(int, way);
        QFETCH(QString, stored);
        QFETCH(bool, selected);
        QFETCH(QString, brought);
        QFETCH(QString, text);
        QFETCH(int, beeps);
        ReceiverConfig.NV8007.GiveStationID = true;
        ReceiverConfig.EDITOR.UserStationID = stored;
        const QByteArray before = settingsBlock();
        frmIdent w;
        QVERIFY(openWindow(w));
        w.txtIdent->setFocus();
        QCOMPARE(w.txtIdent->text(), stored);
        selected ? w.txtIdent->selectAll() : w.txtIdent->end(false);
        way == Typed ? typeKeys(w.txtIdent, brought) : putText(w.txtIdent, brought, way);
        QCOMPARE(w.txtIdent->text(), text);
        QCOMPARE(doubles().beeps, beeps);
        QVERIFY(w.isVisible());
        if (text.isEmpty())
            return; // OK would refuse: see ok()
        w.cmdOK_Click();
        QCOMPARE(ReceiverConfig.EDITOR.UserStationID, text);
        if (text == stored)
            QCOMPARE(settingsBlock(), before);
    }

    // OK stores by the designed rules; the settings block shows each flag in its bit of
    // byte 7 and the call letters from byte 16.
    void ok_data()
    {
        QTest::addColumn<bool>("give");   // stored before
        QTest::addColumn<QString>("id");  // stored before
        QTest::addColumn<bool>("master"); // after the owner's changes
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QList<bool>>("voice");
        QTest::addColumn<bool>("refused");
        QTest::addColumn<QString>("storedId");
        QTest::addColumn<QByteArray>("block7to21"); // bytes 7 to 21; 22 to 31 stay 0

        QTest::newRow("on, call letters, This Is and Transmitter")
            << false << "" << true << "kec83" << QList<bool>{1, 0, 1} << false << "KEC83"
            << blockFromHex("0b 1f 00 00 27 00 00 00 00 05 14 0e 0c 08 03");
        QTest::newRow("on, Repeater only")
            << true << "OLD" << true << "W1" << QList<bool>{0, 1, 0} << false << "W1"
            << blockFromHex("05 1f 00 00 27 00 00 00 00 02 20 01 00 00 00");
        QTest::newRow("off: typed letters dropped, stored ones kept, words stored")
            << true << "OLD1" << false << "ZZZ" << QList<bool>{0, 1, 1} << false << "OLD1"
            << blockFromHex("0c 1f 00 00 27 00 00 00 00 04 18 15 0d 01 00");
        QTest::newRow("off with no call letters: accepted, stored ones kept")
            << true << "OLD" << false << "" << QList<bool>{1, 0, 0} << false << "OLD"
            << blockFromHex("02 1f 00 00 27 00 00 00 00 03 18 15 0d 00 00");
        QTest::newRow("on with no call letters: refused")
            << false << "" << true << "" << QList<bool>{1, 1, 1} << true << ""
            << blockFromHex("00 1f 00 00 27 00 00 00 00 00 00 00 00 00 00");
    }
    void ok()
    {
        QFETCH(bool, give);
        QFETCH(QString, id);
        QFETCH(bool, master);
        QFETCH(QString, typed);
        QFETCH(QList<bool>, voice);
        QFETCH(bool, refused);
        QFETCH(QString, storedId);
        QFETCH(QByteArray, block7to21);
        ReceiverConfig.NV8007.GiveStationID = give;
        ReceiverConfig.EDITOR.UserStationID = id;

        frmIdent w;
        QVERIFY(openWindow(w));
        if (!give)
            click(w.chkID[0]);
        QTest::mouseClick(w.cmdErase, Qt::LeftButton);
        typeKeys(w.txtIdent, typed);
        setWords(w, voice);
        if (!master)
            click(w.chkID[0]);
        QCOMPARE(words(w), voice); // greyed or not, the word boxes keep their checks
        QTest::mouseClick(w.cmdOK, Qt::LeftButton);

        QCOMPARE(shownBoxes(), refused ? QStringList{box("Error..No Identification Entered")} : QStringList());
        if (refused) {
            QVERIFY(w.isVisible());
            QVERIFY(w.chkID[0]->isChecked());
            QCOMPARE(QApplication::focusWidget(), w.txtIdent);
        } else {
            QCOMPARE(w.result(), int(QDialog::Accepted));
        }
        QCOMPARE(ReceiverConfig.NV8007.GiveStationID, refused ? give : master);
        QCOMPARE(ReceiverConfig.EDITOR.UserStationID, storedId);
        const QByteArray block = settingsBlock();
        QCOMPARE(block.mid(7, 15), block7to21);
        QCOMPARE(block.mid(22), QByteArray(10, '\0'));
    }

    // The master box enables everything in the frame and changes no value.
    void masterEnablesTheFrame()
    {
        ReceiverConfig.NV8007.AppendRepeater = true;
        ReceiverConfig.EDITOR.UserStationID = QStringLiteral("KEC83");
        frmIdent w;
        QVERIFY(openWindow(w));
        const QList<QWidget *> dependent = {w.chkID[1],   w.chkID[2],   w.chkID[3],  w.txtIdent,
                                            w.cmdErase,   w.lblText[0], w.lblText[1], w.Frame1};
        for (bool on : {false, true, false}) {
            for (QWidget *control : dependent)
                QVERIFY2(control->isEnabled() == on, qPrintable(control->objectName()));
            QCOMPARE(words(w), (QList<bool>{0, 1, 0}));
            QCOMPARE(w.txtIdent->text(), QStringLiteral("KEC83"));
            click(w.chkID[0]);
        }
    }

    void discardWays_data() { addDiscardRows(); }
    void discardWays()
    {
        QFETCH(int, way);
        ReceiverConfig.EDITOR.UserStationID = QStringLiteral("OLD");
        const QByteArray before = settingsBlock();
        frmIdent w;
        QVERIFY(openWindow(w));
        click(w.chkID[0]);
        setWords(w, {1, 1, 1});
        w.txtIdent->setFocus();
        typeKeys(w.txtIdent, QStringLiteral("new"));
        discardBy(way, w, w.cmdCancel, w.txtIdent);
        QCOMPARE(w.result(), int(QDialog::Rejected));
        QVERIFY(!w.isVisible());
        QCOMPARE(ReceiverConfig.EDITOR.UserStationID, QStringLiteral("OLD"));
        QCOMPARE(settingsBlock(), before);
    }

    // Enter outside the box is OK; the accelerators reach the boxes, the call letters and Clear;
    // Clear moves the focus to the box, and beeps when there is nothing to clear.
    void keyboard()
    {
        ReceiverConfig.EDITOR.UserStationID = QStringLiteral("K9T");
        frmIdent w;
        QVERIFY(openWindow(w));
        QCOMPARE(QApplication::focusWidget(), w.chkID[0]);
        QTest::keyClick(&w, 'A', Qt::AltModifier);
        QTRY_VERIFY(w.chkID[0]->isChecked()); // an animated click
        QVERIFY(w.txtIdent->isEnabled());
        QTest::keyClick(&w, 'T', Qt::AltModifier);
        QTRY_VERIFY(w.chkID[1]->isChecked());
        QTest::keyClick(&w, 'R', Qt::AltModifier);
        QTRY_VERIFY(w.chkID[2]->isChecked());
        QTest::keyClick(&w, 'N', Qt::AltModifier);
        QTRY_VERIFY(w.chkID[3]->isChecked());
        QTest::keyClick(&w, 'I', Qt::AltModifier);
        QCOMPARE(QApplication::focusWidget(), w.txtIdent);
        QTest::keyClick(&w, 'C', Qt::AltModifier);
        QTRY_COMPARE(w.txtIdent->text(), QString());
        QCOMPARE(QApplication::focusWidget(), w.txtIdent);
        QCOMPARE(doubles().beeps, 0);
        w.chkID[0]->setFocus();
        QTest::mouseClick(w.cmdErase, Qt::LeftButton); // nothing to clear: a beep
        QCOMPARE(doubles().beeps, 1);
        QCOMPARE(QApplication::focusWidget(), w.txtIdent);
        typeKeys(w.txtIdent, QStringLiteral("w4"));
        w.chkID[3]->setFocus(); // the Tab order is KeyboardAccessTest's
        QTest::keyClick(w.chkID[3], Qt::Key_Return); // on a box: OK
        QCOMPARE(w.result(), int(QDialog::Accepted));
        QCOMPARE(ReceiverConfig.EDITOR.UserStationID, QStringLiteral("W4"));
        QVERIFY(ReceiverConfig.NV8007.GiveStationID && ReceiverConfig.NV8007.AppendThisIs &&
                ReceiverConfig.NV8007.AppendRepeater && ReceiverConfig.NV8007.AppendTransmitter);
    }

    // The window reads the record when it opens and when the owner comes back to it from
    // another window of the program; coming back from its own message box keeps the edits.
    void readsTheRecordOnActivation()
    {
        Platform::setMessagePresenter({}); // a real box this time
        frmIdent w;
        w.setModal(false); // so that another window can take the activation here
        QVERIFY(openWindow(w));
        click(w.chkID[0]);
        QTimer::singleShot(0, [] {
            QWidget *box = QApplication::activeModalWidget();
            QVERIFY(qobject_cast<QMessageBox *>(box));
            QVERIFY(QTest::qWaitForWindowActive(box));
            static_cast<QMessageBox *>(box)->accept();
        });
        QTest::mouseClick(w.cmdOK, Qt::LeftButton); // no call letters: the box
        w.activateWindow(); // the window system hands the activation back
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QVERIFY(w.chkID[0]->isChecked()); // not read again

        ReceiverConfig.EDITOR.UserStationID = QStringLiteral("NEW");
        QWidget other;
        QVERIFY(openWindow(other));
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QCOMPARE(w.txtIdent->text(), QStringLiteral("NEW"));
        QVERIFY(!w.chkID[0]->isChecked());
    }
};

ORVANE_TEST(IdentWindowTest)
#include "IdentWindowTest.moc"
