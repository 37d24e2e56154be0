// The three windows' changes on their way to the receiver: edited through the main window's
// buttons, then sent by its transfer command to a simulated receiver on a pty.

#include "editors/EditorTestSupport.h"
#include "support/TestRegistry.h"
#include "ReceiverSimulator.h"

#include "app/frmMain.h"
#include "editors/frmIdent.h"
#include "editors/frmOption.h"
#include "editors/frmTimers.h"
#include "link/LinkState.h"
#include "link/TransferData.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>

class EditorTransferTest : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        freshRecord();
        // Time-outs at a tenth; the pause before the upload moves the test's clock.
        setLinkTimeScale(0.1);
        setPauseSleeper([](int ms) { doubles().wallClock = doubles().wallClock.addMSecs(ms); });
    }
    void cleanup()
    {
        setLinkTimeScale(1.0);
        setPauseSleeper({});
    }

    void editedSettingsReachTheReceiver()
    {
        ReceiverSimulator receiver;
        if (!receiver.start())
            QSKIP("no pseudo-terminal here");
        QSettings(QStringLiteral("Orvane"), QStringLiteral("Orvane")).setValue(QStringLiteral("PORTS/Port1"),
                                                                             receiver.devicePath());
        ReceiverConfig.EDITOR.SerialPort = 1;
        FipsList[0] = QStringLiteral("X 012011  Broward                Florida");
        EventList[0] = QStringLiteral("TOR");
        frmMain main;
        main.show();

        whenEditorOpens<frmOption>([](frmOption *w) {
            click(w->chkOverride[1]);  // accept all events: byte 8 bit 6
            click(w->optVocInt[1]);    // warnings and watches: byte 11 bit 3
            click(w->chkVocInt[2]);    // no test limit: byte 11 bit 5 off
            QTest::mouseClick(w->cmdOk, Qt::LeftButton);
        });
        main.cmdMain[3]->click();
        whenEditorOpens<frmTimers>([](frmTimers *w) {
            click(w->optTimeLn[5]);      // 6 minutes
            click(w->optVoiceTimer[2]);  // 15 minutes: code 3
            click(w->optRelayDelay[1]);  // 2 seconds: code 1
            click(w->optVoiceDelay[4]);  // 2.0 seconds: code 4
            QTest::mouseClick(w->cmdOK, Qt::LeftButton);
        });
        main.cmdMain[4]->click();
        whenEditorOpens<frmIdent>([](frmIdent *w) {
            click(w->chkID[0]);
            click(w->chkID[2]);
            w->txtIdent->setFocus();
            QTest::keyClicks(w->txtIdent, QStringLiteral("wxk-27"));
            QTest::mouseClick(w->cmdOK, Qt::LeftButton);
        });
        main.cmdMain[5]->click();
        // Each window lived only while it was open.
        QVERIFY(main.findChildren<frmOption *>().isEmpty());
        QVERIFY(main.findChildren<frmTimers *>().isEmpty());
        QVERIFY(main.findChildren<frmIdent *>().isEmpty());

        main.cmdMain[6]->click();
        QCOMPARE(main.statusPanelText(1), QStringLiteral("Upload / Download Successful"));
        QCOMPARE(receiver.imagesReceived(), 1);
        const QByteArray sent = receiver.lastImage().left(32);
        QCOMPARE(sent, blockFromHex("00 03 06 03 01 04 00 05 5f 00 00 0b 00 00 00 00"
                                    "05 20 21 14 02 07 00 00 00 00 00 00 00 00 00 00"));
        QCOMPARE(receiver.lastImage().mid(32, 7), QByteArray("012011-"));
    }
};

ORVANE_TEST(EditorTransferTest)
#include "EditorTransferTest.moc"
