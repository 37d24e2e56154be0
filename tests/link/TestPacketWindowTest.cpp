// The test window driven through its named controls, with a recording sound player and pause.
#include "LinkTestSupport.h"

namespace {
// What the window showed while one clip sounded: the time on the test's monotonic clock, the
// four buttons then the four labels usable, a pixel of the pressed button away from its text.
struct ClipSeen { qint16 id; qint64 at; QString ident; bool picture, ok; QList<bool> enabled; QColor face; };
QColor facePixel(QPushButton *b) { const QImage i = b->grab().toImage(); return i.pixelColor(6, i.height() / 2); }
QList<qint16> alertClips(qint16 header) { return QList<qint16>(3, header) + QList<qint16>(24, kBeepClip) + QList<qint16>(3, kEndOfMessageClip); }
// 0.5 s lead-in, a second after each clip, a second before the beeps and before the end of message.
QList<int> alertPauses() { return QList<int>{500} + QList<int>(32, 1000); }
enum Act { None, Clicks, Activate, CloseBox, Escape };
// An alert of button 0 to 3, what happens at clip atClip; with or without sound, each clip lateMs late.
struct AlertRow { const char *name; int button; Act act = None; int atClip = -1; bool sound = true; int lateMs = 0; };
} // namespace
Q_DECLARE_METATYPE(AlertRow)

class TestPacketWindowTest : public QObject
{
    Q_OBJECT
    std::unique_ptr<frmTest> window;
    QList<ClipSeen> seen;
    std::function<void(int)> onClip; // with the index of the clip being played
    QHash<QPushButton *, QColor> normalFaces;
    QList<QPushButton *> alertButtons() { return {window->cmdRWT, window->cmdFFW, window->cmdSVA, window->cmdTOA}; }

    void installPlayer(bool sound, int lateMs, QPushButton *pressed)
    {
        Platform::setSoundPlayer([=, this](const QByteArray &wav) {
            ClipSeen c{-1, doubles().monotonic, window->lblIdent->text(), !window->Picture1->isHidden(),
                       window->cmdOk->isEnabled(), {}, pressed ? facePixel(pressed) : QColor()};
            for (qint16 id : {110, 120, 130, 140, 150, 160}) c.id = wav == testClipBytes(id) ? id : c.id;
            for (QPushButton *b : alertButtons()) c.enabled << b->isEnabled();
            for (QLabel *l : window->Label1) c.enabled << l->isEnabled();
            seen << c;
            const PcmWav pcm = parsePcmWav(wav);
            doubles().monotonic += (sound ? pcm.samples.size() * 1000 / pcm.sampleRate : 0) + lateMs;
            if (onClip) onClip(int(seen.size()) - 1);
            return sound;
        }, [] { ++doubles().soundStops; });
    }
    QList<qint16> clipIds() const { QList<qint16> ids; for (const ClipSeen &c : seen) ids << c.id; return ids; }
    void checkIdle()
    {
        QVERIFY(!window->alertPlaying());
        for (QPushButton *b : alertButtons() + QList<QPushButton *>{window->cmdOk}) QVERIFY2(b->isEnabled(), qPrintable(b->objectName()));
        for (QLabel *l : window->Label1) QVERIFY2(l->isEnabled(), qPrintable(l->objectName()));
        QVERIFY(window->Picture1->isHidden() && window->lblIdent->text().isEmpty());
        window->cmdOk->setFocus(); // every button shows the style's own face again
        for (QPushButton *b : alertButtons()) QCOMPARE(facePixel(b), normalFaces.value(b));
    }

private slots:
    void init()
    {
        doubles().clear(), seen.clear(), normalFaces.clear(), onClip = nullptr;
        window = std::make_unique<frmTest>();
        installPlayer(true, 0, nullptr);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        for (QPushButton *b : alertButtons()) QVERIFY(*normalFaces.insert(b, facePixel(b)) != QColor(255, 0, 0));
    }
    void cleanup() { window.reset(); }

    // The texts as loaded; each activation clears the name, hides the picture, gives the
    // buttons their face and the focus to OK.
    void controlsAsLoaded()
    {
        QVERIFY(window->windowTitle() == QStringLiteral("Orvane SAME Packet Test") && window->isModal());
        QCOMPARE(window->lblInfo->text(),
                 QStringLiteral("\r\nThese four buttons will activate SAME packets from your sound card.\r\n\r\n"
                                "Each packet consist of the header data, followed by 30 seconds of tone beeps "
                                "and the end of message packet.\r\n\r\n"
                                "Note: You must load default FIP codes into your radio for  these test.  "
                                "Consult the menu HELP section for more information and a step by step procedure."));
        QStringList texts;
        for (QPushButton *b : alertButtons() + QList<QPushButton *>{window->cmdOk}) texts << b->text();
        for (QLabel *l : window->Label1) texts << l->text();
        QCOMPARE(texts, QStringList({"RWT", "FFW", "SVA", "TOA", "OK", "Required Weekly Test", "Flash Flood Warning",
                                     "Severe Thunderstorm Watch", "Tornado Watch"}));
        QVERIFY(!window->Picture1->pixmap().isNull() && window->focusWidget() == window->cmdOk);
        for (int id : {-1, 0, 5}) window->DisableButtons(qint16(id)); // only 1 to 4 disable anything
        checkIdle();
        window->lblIdent->setText(QStringLiteral("left over")), window->Picture1->show();
        QPalette red = window->cmdSVA->palette();
        red.setColor(QPalette::Button, Qt::red);
        window->cmdSVA->setPalette(red), window->cmdRWT->setFocus();
        QEvent activate(QEvent::ActivationChange);
        QApplication::setActiveWindow(window.get());
        QApplication::sendEvent(window.get(), &activate);
        QCOMPARE(window->focusWidget(), window->cmdOk);
        checkIdle();
    }

    // An alert: 3 headers, 24 beeps, 3 end-of-message packets, each pause on the schedule (no sound:
    // each clip's time waited out; a late clip shortens the pause after it); name, picture, only the
    // pressed button usable and red. Clicks during it play it once more; an activation leaves it alone;
    // closing ends it at once. The clips play from memory: the owner's "X__TEMP.WAV" stays, read-only.
    void alert_data()
    {
        addRows<AlertRow>({{"RWT", 0}, {"FFW", 1}, {"SVA", 2}, {"TOA", 3}, {"no sound output", 2, None, -1, false},
                           {"every clip 400 ms late", 2, None, -1, true, 400}, {"three clicks during a beep", 1, Clicks, 5},
                           {"activation during a header", 3, Activate, 1}, {"close box during a header", 3, CloseBox, 1},
                           {"close box during a beep", 3, CloseBox, 10}, {"Escape during the last end of message", 3, Escape, 29},
                           {"Escape during the first header", 3, Escape, 0}});
    }
    void alert()
    {
        QFETCH(AlertRow, row);
        const qint16 header = qint16(110 + 10 * row.button);
        QPushButton *pressed = alertButtons()[row.button];
        installPlayer(row.sound, row.lateMs, pressed);
        int sleepsAtClose = -1;
        onClip = [&](int index) {
            if (index != row.atClip) return;
            for (int i = 0; i < 3 && row.act == Clicks; ++i) QTest::mouseClick(pressed, Qt::LeftButton);
            if (row.act == Activate) { QEvent activate(QEvent::ActivationChange); QApplication::sendEvent(window.get(), &activate); }
            if (row.act == CloseBox) window->close();
            if (row.act == Escape) QTest::keyClick(window.get(), Qt::Key_Escape);
            sleepsAtClose = int(doubles().sleeps.size());
        };
        QFile owners(QStringLiteral("X__TEMP.WAV"));
        QVERIFY(owners.open(QIODevice::WriteOnly) && owners.write("the owner's") == 11);
        owners.close();
        const QStringList files = QDir::current().entryList(QDir::Files | QDir::Hidden);
        QVERIFY(QFile::setPermissions(".", QFileDevice::ReadOwner | QFileDevice::ExeOwner));
        QElapsedTimer real;
        real.start();
        QTest::mouseClick(pressed, Qt::LeftButton);
        QVERIFY(real.elapsed() < 10000); // nothing slept for real
        QVERIFY(QFile::setPermissions(".", QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner));
        QCOMPARE(QDir::current().entryList(QDir::Files | QDir::Hidden), files);
        QVERIFY(owners.open(QIODevice::ReadOnly) && owners.readAll() == "the owner's");
        const bool closed = row.act == CloseBox || row.act == Escape;
        const int times = row.act == Clicks ? 2 : 1;
        QList<int> pauses = alertPauses();
        qint64 designedMs = 500;
        for (int i = 1, clip = 0; i < pauses.size(); ++i, designedMs += 1000)
            if (i != 4 && i != 29) { // those follow another pause
                designedMs += testClipMs(alertClips(header)[clip]);
                pauses[i] += (row.sound ? 0 : testClipMs(alertClips(header)[clip])) - row.lateMs;
                ++clip;
            }
        QCOMPARE(clipIds(), closed ? alertClips(header).mid(0, row.atClip + 1) : (times == 2 ? alertClips(header) + alertClips(header) : alertClips(header)));
        QCOMPARE(doubles().sleeps, closed ? pauses.mid(0, sleepsAtClose) : (times == 2 ? pauses + pauses : pauses));
        for (const ClipSeen &c : seen) {
            QVERIFY(c.ident == window->Label1[row.button]->text() && c.picture && !c.ok && c.face == QColor(255, 0, 0));
            for (int i = 0; i < 8; ++i) QCOMPARE(c.enabled[i], i % 4 == row.button);
        }
        QVERIFY(seen.first().at == 500 && designedMs > 45000 && designedMs < 46000);
        if (row.sound && !row.lateMs && seen.size() > 4) QCOMPARE(seen[4].at - seen[3].at, 259 + 1000); // a beep every 1.259 s
        if (!closed) QCOMPARE(doubles().monotonic, designedMs * times);
        QVERIFY(doubles().soundStops == (closed ? 1 : 0) && window->isVisible() == !closed);
        checkIdle();
        if (!closed) return;
        seen.clear(), onClip = nullptr;
        window->show(), window->cmdRWT->click();
        QCOMPARE(clipIds(), alertClips(110));
    }
};

ORVANE_TEST(TestPacketWindowTest)
#include "TestPacketWindowTest.moc"
