#include "editors/EditorTestSupport.h"
#include "support/TestRegistry.h"

#include "core/Artwork.h"
#include "editors/frmTimers.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace {

// Line timeout, voice interval, relay delay, pre-voice delay: codes in the record, or the
// selected index of each group (-1 none).
using Four = QList<int>;

void setCodes(const Four &c)
{
    auto &t = ReceiverConfig.TIMERS;
    t.LineTimeoutTimer = qint16(c[0]);
    t.VoiceIntervalTimer = qint16(c[1]);
    t.RelayDelayTimer = qint16(c[2]);
    t.PreVoiceAnnc = qint16(c[3]);
}

Four codes()
{
    const auto &t = ReceiverConfig.TIMERS;
    return {t.LineTimeoutTimer, t.VoiceIntervalTimer, t.RelayDelayTimer, t.PreVoiceAnnc};
}

template <std::size_t N> int selected(const std::array<QRadioButton *, N> &group)
{
    int found = -1;
    for (std::size_t i = 0; i < N; ++i)
        if (group[i]->isChecked())
            found = found < 0 ? int(i) : -99; // two selected in one group: never expected
    return found;
}

Four selection(const frmTimers &w)
{
    return {selected(w.optTimeLn), selected(w.optVoiceTimer), selected(w.optRelayDelay), selected(w.optVoiceDelay)};
}

} // namespace

class TimerWindowTest : public QObject
{
    Q_OBJECT
private slots:
    void init() { freshRecord(); }

    void controlsAsDesigned()
    {
        frmTimers w;
        QCOMPARE(w.windowTitle(), QStringLiteral("Orvane Timer Settings"));
        QCOMPARE(w.objectName(), QStringLiteral("frmTimers"));
        const QList<std::pair<QGroupBox *, QString>> frames = {{w.Frame4, "Frame4 Line Timeout"},
                                                               {w.Frame6, "Frame6 Voice Interval Timer"},
                                                               {w.Frame7, "Frame7 Relay Activation Delay"},
                                                               {w.Frame9, "Frame9 Pre Voice Delay"}};
        for (const auto &[frame, nameAndTitle] : frames)
            QCOMPARE(frame->objectName() + u' ' + QString(frame->title()).remove(u'&'), nameAndTitle);

        const QList<std::pair<QString, QStringList>> groups = {
            {"optTimeLn", {"1 Minute", "2 Minutes", "3 Minutes", "4 Minutes", "5 Minutes", "6 Minutes"}},
            {"optVoiceTimer",
             {"  5 Minute Interval", "10 Minute Interval", "15 Minute Interval", "20 Minute Interval",
              "25 Minute Interval", "30 Minute Interval"}},
            {"optRelayDelay", {"0 Sec", "2 Sec", "4 Sec", "6 Sec", "8 Sec"}},
            {"optVoiceDelay", {"No Delay", "0.5 Second", "1.0 Second", "1.5 Second", "2.0 Second"}}};
        for (int g = 0; g < groups.size(); ++g) {
            const auto &[name, captions] = groups[g];
            for (int i = 0; i < captions.size(); ++i) {
                auto *option = w.findChild<QRadioButton *>(name + u'_' + QString::number(i));
                QVERIFY2(option, qPrintable(name));
                QCOMPARE(option->text(), captions[i]);
                QCOMPARE(option->parentWidget(), frames[g].first);
            }
            QVERIFY(!w.findChild<QRadioButton *>(name + u'_' + QString::number(captions.size())));
        }
        QCOMPARE(w.cmdOK->objectName(), QStringLiteral("cmdOK"));
        QCOMPARE(w.cmdCancel->text(), QStringLiteral("Cancel"));
        QCOMPARE(w.findChild<QLabel *>("Image1")->pixmap().toImage(), imageListPicture(5).toImage());
        QVERIFY(w.isModal());
    }

    // Codes select their buttons (nothing when out of range, the other groups unaffected);
    // OK stores the codes back, keeps an unselected code except the relay delay's (0), and
    // never touches the speaker timeout. Bytes 1 to 5 of the settings block follow.
    void loadThenOk_data()
    {
        QTest::addColumn<Four>("record");
        QTest::addColumn<Four>("shown");
        QTest::addColumn<Four>("stored");
        QTest::addColumn<QByteArray>("bytes1to5");
        QTest::newRow("fresh installation: 3 min, 5 min, 0 s, 1.0 s")
            << Four{3, 1, 0, 2} << Four{2, 0, 0, 2} << Four{3, 1, 0, 2} << QByteArray("\x03\x03\x01\x00\x02", 5);
        QTest::newRow("highest codes") << Four{6, 6, 4, 4} << Four{5, 5, 4, 4} << Four{6, 6, 4, 4}
                                       << QByteArray("\x03\x06\x06\x04\x04", 5);
        QTest::newRow("lowest codes") << Four{1, 1, 0, 0} << Four{0, 0, 0, 0} << Four{1, 1, 0, 0}
                                      << QByteArray("\x03\x01\x01\x00\x00", 5);
        QTest::newRow("line timeout 0 shows nothing and stays 0")
            << Four{0, 2, 1, 3} << Four{-1, 1, 1, 3} << Four{0, 2, 1, 3} << QByteArray("\x03\x00\x02\x01\x03", 5);
        QTest::newRow("relay delay 7 shows nothing and becomes 0")
            << Four{4, 3, 7, 1} << Four{3, 2, -1, 1} << Four{4, 3, 0, 1} << QByteArray("\x03\x04\x03\x00\x01", 5);
        QTest::newRow("all out of range: only the relay delay changes")
            << Four{7, 0, 5, -1} << Four{-1, -1, -1, -1} << Four{7, 0, 0, -1} << QByteArray("\x03\x00\x00\x00\x00", 5);
    }
    void loadThenOk()
    {
        QFETCH(Four, record);
        QFETCH(Four, shown);
        QFETCH(Four, stored);
        QFETCH(QByteArray, bytes1to5);
        setCodes(record);
        ReceiverConfig.TIMERS.SpeakerTimeoutTimer = 3;
        frmTimers w;
        QCOMPARE(selection(w), shown);
        QVERIFY(openWindow(w));
        QTest::keyClick(&w, Qt::Key_Return); // Enter = OK
        QCOMPARE(w.result(), int(QDialog::Accepted));
        QCOMPARE(codes(), stored);
        QCOMPARE(ReceiverConfig.TIMERS.SpeakerTimeoutTimer, qint16(3));
        QCOMPARE(settingsBlock().mid(1, 5), bytes1to5);
    }

    // With both voice interval outputs off the interval group is disabled but keeps and
    // saves its selection; either output on enables it.
    void voiceIntervalGroupFollowsTheOutputs_data()
    {
        QTest::addColumn<bool>("speaker");
        QTest::addColumn<bool>("line");
        QTest::newRow("both off") << false << false;
        QTest::newRow("speaker only") << true << false;
        QTest::newRow("line only") << false << true;
        QTest::newRow("both on") << true << true;
    }
    void voiceIntervalGroupFollowsTheOutputs()
    {
        QFETCH(bool, speaker);
        QFETCH(bool, line);
        ReceiverConfig.NV800B.VoiceIntervalSpeaker = speaker;
        ReceiverConfig.NV800B.VoiceIntervalLine = line;
        ReceiverConfig.TIMERS.VoiceIntervalTimer = 4;
        frmTimers w;
        const bool usable = speaker || line;
        QCOMPARE(w.Frame6->isEnabled(), usable);
        for (QRadioButton *option : w.optVoiceTimer)
            QCOMPARE(option->isEnabled(), usable);
        QVERIFY(w.optVoiceTimer[3]->isChecked());
        for (QGroupBox *other : {w.Frame4, w.Frame7, w.Frame9})
            QVERIFY(other->isEnabled());
        w.cmdOK_Click();
        QCOMPARE(ReceiverConfig.TIMERS.VoiceIntervalTimer, qint16(4));
    }

    void discardWays_data() { addDiscardRows(); }
    void discardWays()
    {
        QFETCH(int, way);
        setCodes({0, 1, 7, 2}); // out-of-range codes survive a discard too
        const QByteArray before = settingsBlock();
        frmTimers w;
        QVERIFY(openWindow(w));
        click(w.optTimeLn[5]);
        click(w.optRelayDelay[2]);
        click(w.optVoiceTimer[3]);
        discardBy(way, w, w.cmdCancel, &w);
        QCOMPARE(w.result(), int(QDialog::Rejected));
        QCOMPARE(codes(), (Four{0, 1, 7, 2}));
        QCOMPARE(settingsBlock(), before);
    }

    // The frame accelerators take the keyboard into their group; the arrows choose.
    void keyboard()
    {
        frmTimers w;
        QVERIFY(openWindow(w));
        const QList<std::pair<char, QRadioButton *>> accelerators = {{'L', w.optTimeLn[2]},
                                                                     {'V', w.optVoiceTimer[0]},
                                                                     {'R', w.optRelayDelay[0]},
                                                                     {'P', w.optVoiceDelay[2]}};
        for (const auto &[letter, checked] : accelerators) {
            QTest::keyClick(&w, letter, Qt::AltModifier);
            QCOMPARE(QApplication::focusWidget(), checked);
        }
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        QVERIFY(w.optVoiceDelay[3]->isChecked());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), w.cmdOK);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(ReceiverConfig.TIMERS.PreVoiceAnnc, qint16(3));
    }
};

ORVANE_TEST(TimerWindowTest)
#include "TimerWindowTest.moc"
