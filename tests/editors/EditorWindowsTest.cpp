#include "editors/EditorTestSupport.h"
#include "support/Columns.h"
#include "support/Rows.h"
#include "support/TestRegistry.h"
#include "support/TextInput.h"

#include "core/Artwork.h"
#include "editors/StationIdent.h"
#include "editors/frmIdent.h"
#include "editors/frmOption.h"
#include "editors/frmTimers.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>

namespace {

QDialog *makeWindow(const QString &name)
{
    if (name == "frmOption")
        return new frmOption;
    if (name == "frmTimers")
        return new frmTimers;
    return new frmIdent;
}

QString caption(QWidget *w)
{
    if (auto *button = qobject_cast<QAbstractButton *>(w))
        return shownText(button);
    if (auto *frame = qobject_cast<QGroupBox *>(w))
        return QString(frame->title()).remove(u'&');
    if (auto *label = qobject_cast<QLabel *>(w))
        return QString(label->text()).remove(u'&');
    return QString();
}

// Each window: title, picture, and its controls as "name parent: caption"; a caption with
// '|' is a group name_0, name_1, ... with nothing after the last.
struct ControlsRow {
    const char *name, *title;
    int picture;
    QStringList controls;
};

// An accelerator pressed in a fresh window: `control` toggles, takes the focus ('f'), or is
// emptied ('e', Clear).
struct KeyRow {
    const char *name, *window;
    char letter;
    const char *control;
    char effect;
};

} // namespace

// What the option, timer and identification windows have in common.
class EditorWindowsTest : public QObject
{
    Q_OBJECT
private slots:
    void init() { freshRecord(); }

    void controls_data()
    {
        addRows<ControlsRow>({
            {"frmOption", "Orvane Options", 4,
             {"Frame5 frmOption:  Voice Interval Options ", "Frame2 frmOption:  Override Options ",
              "chkVocInt_0 Frame5: Permit voice interval announcements and ID.",
              "optVocInt Frame5: Permit announcements on all decoded events.|Permit announcements on Warnings and Watches only."
              "|Permit announcements on Warnings only.",
              "chkVocInt_2 Frame5: Limit Monthly/Weekly Test to 15 Minutes Max.",
              "chkOverride Frame2: Accept all FIP codes|Accept all Event Codes|Ignore the Termination Data Packet   (Use Line Time Out)",
              "cmdOk frmOption: OK", "cmdCancel frmOption: Cancel"}},
            {"frmTimers", "Orvane Timer Settings", 5,
             {"Frame4 frmTimers: Line Timeout", "Frame6 frmTimers: Voice Interval Timer", "Frame7 frmTimers: Relay Activation Delay",
              "Frame9 frmTimers: Pre Voice Delay", "optTimeLn Frame4: 1 Minute|2 Minutes|3 Minutes|4 Minutes|5 Minutes|6 Minutes",
              "optVoiceTimer Frame6:   5 Minute Interval|10 Minute Interval|15 Minute Interval|20 Minute Interval|25 Minute Interval"
              "|30 Minute Interval",
              "optRelayDelay Frame7: 0 Sec|2 Sec|4 Sec|6 Sec|8 Sec",
              "optVoiceDelay Frame9: No Delay|0.5 Second|1.0 Second|1.5 Second|2.0 Second", "cmdOK frmTimers: OK",
              "cmdCancel frmTimers: Cancel"}},
            {"frmIdent", "Station Identification", 6,
             {"chkID_0 frmIdent: Append station identification after weather alert announcements", "Frame1 frmIdent:  Station Identification ",
              "chkID_1 Frame1: Preceed identification with voice words \"This Is\".",
              "chkID_2 Frame1: After identification say voice word \"Repeater\"",
              "chkID_3 Frame1: After identification say voice word \"Transmitter\"",
              "lblText_0 Frame1: Station Identification Call Letters",
              "lblText_1 Frame1: Valid Characters are  A-Z,  0-9    Fifteen (15) characters maximum.", "txtIdent Frame1: ",
              "cmdErase Frame1: Clear", "cmdOK frmIdent: OK", "cmdCancel frmIdent: Cancel"}},
        });
    }
    void controls()
    {
        QFETCH(ControlsRow, row);
        std::unique_ptr<QDialog> w(makeWindow(row.name));
        QCOMPARE(w->objectName() + u' ' + w->windowTitle(), QString::fromLatin1(row.name) + u' ' + row.title);
        QVERIFY(w->isModal());
        QCOMPARE(w->findChild<QLabel *>("Image1")->pixmap().toImage(), imageListPicture(row.picture).toImage());
        for (const QString &control : row.controls) {
            const QString name = control.section(u' ', 0, 0), rest = control.section(u' ', 1).section(u':', 0, 0);
            const QStringList captions = control.section(QStringLiteral(": "), 1).split(u'|');
            for (int i = 0; i <= captions.size(); ++i) {
                const QString each = captions.size() == 1 ? name : name + u'_' + QString::number(i);
                QWidget *widget = w->findChild<QWidget *>(each);
                if (i == captions.size()) {
                    QVERIFY2(captions.size() == 1 || !widget, qPrintable(each));
                    break;
                }
                QVERIFY2(widget, qPrintable(each));
                QCOMPARE(each + u' ' + widget->parentWidget()->objectName() + QStringLiteral(": ") + caption(widget),
                         each + u' ' + rest + QStringLiteral(": ") + captions[i]);
            }
        }
        if (auto *ident = qobject_cast<frmIdent *>(w.get())) { // the call letters line up whatever the fonts
            QCOMPARE(unevenCharacters(ident->txtIdent->font(), QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789")), QString());
            QVERIFY(ident->txtIdent->width() >= ident->txtIdent->fontMetrics().horizontalAdvance(QString(15, u'W')));
        }
        QVERIFY(!w->findChild<QWidget *>("chkVocInt_1"));
    }

    // Cancel, Escape and the close box leave the record as it was, out-of-range codes too.
    void discard_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<int>("way");
        for (const char *window : {"frmOption", "frmTimers", "frmIdent"})
            for (int way : {0, 1, 2})
                QTest::addRow("%s %s", window, way == 0 ? "Cancel" : way == 1 ? "Escape" : "close box") << window << way;
    }
    void discard()
    {
        QFETCH(QString, window);
        QFETCH(int, way);
        ReceiverConfig.TIMERS.LineTimeoutTimer = 0;
        ReceiverConfig.TIMERS.RelayDelayTimer = 7;
        ReceiverConfig.EDITOR.UserStationID = QStringLiteral("OLD");
        const auto before = settingsBlock();
        std::unique_ptr<QDialog> w(makeWindow(window));
        QVERIFY(openWindow(*w));
        for (QAbstractButton *button : w->findChildren<QAbstractButton *>())
            if (button->isCheckable() && button->isEnabled())
                click(button);
        if (auto *ident = w->findChild<QLineEdit *>("txtIdent")) {
            ident->setFocus(); // Escape pressed in the box
            ident->setText(QStringLiteral("NEW"));
        }
        if (way == 0)
            QTest::mouseClick(w->findChild<QPushButton *>("cmdCancel"), Qt::LeftButton);
        else if (way == 1)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        else
            w->close();
        QCOMPARE(w->result(), int(QDialog::Rejected));
        QVERIFY(!w->isVisible());
        QCOMPARE(settingsBlock(), before);
        QCOMPARE(ReceiverConfig.EDITOR.UserStationID + QString::number(ReceiverConfig.TIMERS.RelayDelayTimer), QStringLiteral("OLD7"));
    }

    void keyboard_data()
    {
        addRows<KeyRow>({{"option F", "frmOption", 'F', "chkOverride_0", 't'}, {"option E", "frmOption", 'E', "chkOverride_1", 't'},
                         {"option I", "frmOption", 'I', "chkOverride_2", 't'}, {"option L", "frmOption", 'L', "chkVocInt_2", 't'},
                         {"option O", "frmOption", 'O', "optVocInt_2", 't'},   {"option P", "frmOption", 'P', "chkVocInt_0", 't'},
                         {"timers L", "frmTimers", 'L', "optTimeLn_2", 'f'},   {"timers V", "frmTimers", 'V', "optVoiceTimer_0", 'f'},
                         {"timers R", "frmTimers", 'R', "optRelayDelay_0", 'f'}, {"timers P", "frmTimers", 'P', "optVoiceDelay_2", 'f'},
                         {"ident A", "frmIdent", 'A', "chkID_0", 't'},         {"ident T", "frmIdent", 'T', "chkID_1", 't'},
                         {"ident R", "frmIdent", 'R', "chkID_2", 't'},         {"ident N", "frmIdent", 'N', "chkID_3", 't'},
                         {"ident I", "frmIdent", 'I', "txtIdent", 'f'},        {"ident C", "frmIdent", 'C', "txtIdent", 'e'}});
    }
    void keyboard()
    {
        QFETCH(KeyRow, row);
        ReceiverConfig.NV8007.GiveStationID = true;
        ReceiverConfig.EDITOR.UserStationID = QStringLiteral("K9T");
        std::unique_ptr<QDialog> w(makeWindow(row.window));
        QVERIFY(openWindow(*w));
        auto *control = w->findChild<QWidget *>(row.control);
        auto *button = qobject_cast<QAbstractButton *>(control);
        const bool was = button && button->isChecked();
        QTest::keyClick(w.get(), row.letter, Qt::AltModifier);
        if (row.effect == 't')
            QTRY_VERIFY(button->isChecked() != was); // an animated click
        else if (row.effect == 'e')
            QTRY_COMPARE(static_cast<QLineEdit *>(control)->text(), QString());
        QCOMPARE(QApplication::focusWidget(), control);
        QCOMPARE(doubles().beeps, 0);
    }
};

ORVANE_TEST(EditorWindowsTest)
#include "EditorWindowsTest.moc"
