#include "support/Doubles.h"
#include "support/TestRegistry.h"

#include "core/Platform.h"
#include "core/WavData.h"
#include "link/TestPackets.h"
#include "link/frmTest.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

namespace {

// What the window showed while one clip sounded.
struct ClipSeen {
    qint16 id = 0;
    qint64 at = 0; // on the test's monotonic clock
    QString ident;
    bool pictureShown = false;
    QList<bool> buttonsEnabled; // RWT, FFW, SVA, TOA
    QList<bool> labelsEnabled;
    bool okEnabled = false;
    QColor pressedFace; // on the screen: a pixel of the pressed button away from its text
};

// A pixel of the button's face as drawn, between its left edge and its text.
QColor facePixel(QPushButton *button)
{
    const QImage image = button->grab().toImage();
    return image.pixelColor(6, image.height() / 2);
}

qint16 clipIdOf(const QByteArray &wav)
{
    for (qint16 id : {110, 120, 130, 140, 150, 160})
        if (wav == testClipBytes(id))
            return id;
    return -1;
}

QList<qint16> alertClips(qint16 header)
{
    QList<qint16> clips(3, header);
    clips += QList<qint16>(24, kBeepClip);
    clips += QList<qint16>(3, kEndOfMessageClip);
    return clips;
}

// Each step on the alert's schedule; the designed length of one alert is the sum.
QList<int> alertPauses()
{
    QList<int> pauses = {500};
    pauses += QList<int>(3, 1000);     // after each header
    pauses += 1000;                     // before the beeps
    pauses += QList<int>(24, 1000);    // after each beep
    pauses += 1000;                     // before the end of message
    pauses += QList<int>(3, 1000);     // after each end of message
    return pauses;
}

qint64 designedAlertMs(qint16 header)
{
    qint64 ms = 0;
    for (int pause : alertPauses())
        ms += pause;
    for (qint16 clip : alertClips(header))
        ms += testClipMs(clip);
    return ms;
}

} // namespace

// The test window driven through its named controls, with a recording sound player and
// pause: the order of clips and pauses, what the window shows meanwhile, clicks and closing
// during an alert, and that no file is written.
class TestPacketWindowTest : public QObject
{
    Q_OBJECT
    std::unique_ptr<frmTest> window;
    QList<ClipSeen> seen;
    std::function<void(int)> onClip; // called with the index of the clip being played
    qint64 lastClipEnd = 0;
    QHash<QPushButton *, QColor> normalFaces; // as drawn when the window opened

    QPushButton *button(const QString &name) { return window->findChild<QPushButton *>(name); }
    QLabel *label(const QString &name) { return window->findChild<QLabel *>(name); }

    void installPlayer(bool soundAvailable = true)
    {
        Platform::setSoundPlayer(
            [this, soundAvailable](const QByteArray &wav) {
                ClipSeen clip;
                clip.id = clipIdOf(wav);
                clip.at = doubles().monotonic;
                clip.ident = window->lblIdent->text();
                clip.pictureShown = !window->Picture1->isHidden();
                for (QPushButton *b : {window->cmdRWT, window->cmdFFW, window->cmdSVA, window->cmdTOA})
                    clip.buttonsEnabled.append(b->isEnabled());
                for (QLabel *l : window->Label1)
                    clip.labelsEnabled.append(l->isEnabled());
                clip.okEnabled = window->cmdOk->isEnabled();
                seen.append(clip);
                const int index = int(seen.size()) - 1;
                const PcmWav pcm = parsePcmWav(wav);
                if (soundAvailable)
                    doubles().monotonic += pcm.samples.size() * 1000 / pcm.sampleRate;
                lastClipEnd = doubles().monotonic;
                if (onClip)
                    onClip(index);
                return soundAvailable;
            },
            [] { ++doubles().soundStops; });
    }

    QList<qint16> clipIds() const
    {
        QList<qint16> ids;
        for (const ClipSeen &c : seen)
            ids.append(c.id);
        return ids;
    }

    void checkIdle()
    {
        QVERIFY(!window->alertPlaying());
        for (QPushButton *b : {window->cmdRWT, window->cmdFFW, window->cmdSVA, window->cmdTOA, window->cmdOk})
            QVERIFY2(b->isEnabled(), qPrintable(b->objectName()));
        for (QLabel *l : window->Label1)
            QVERIFY(l->isEnabled());
        QVERIFY(window->Picture1->isHidden());
        QCOMPARE(window->lblIdent->text(), QString());
        // Every button shows the style's own face again, as drawn when the window opened.
        window->cmdOk->setFocus();
        for (QPushButton *b : {window->cmdRWT, window->cmdFFW, window->cmdSVA, window->cmdTOA})
            QCOMPARE(facePixel(b), normalFaces.value(b));
    }

private slots:
    void init()
    {
        doubles().clear();
        seen.clear();
        onClip = nullptr;
        window = std::make_unique<frmTest>();
        installPlayer();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        normalFaces.clear();
        for (QPushButton *b : {window->cmdRWT, window->cmdFFW, window->cmdSVA, window->cmdTOA}) {
            normalFaces.insert(b, facePixel(b));
            QVERIFY(normalFaces.value(b) != QColor(255, 0, 0));
        }
    }
    void cleanup() { window.reset(); }

    void controlsAsLoaded()
    {
        QCOMPARE(window->windowTitle(), QStringLiteral("Orvane SAME Packet Test"));
        QVERIFY(window->isModal());
        QCOMPARE(label("lblInfo")->text(),
                 QStringLiteral("\r\nThese four buttons will activate SAME packets from your sound card.\r\n\r\n"
                                "Each packet consist of the header data, followed by 30 seconds of tone beeps "
                                "and the end of message packet.\r\n\r\n"
                                "Note: You must load default FIP codes into your radio for  these test.  "
                                "Consult the menu HELP section for more information and a step by step procedure."));
        const QStringList buttons = {"RWT", "FFW", "SVA", "TOA"};
        const QStringList labels = {"Required Weekly Test", "Flash Flood Warning", "Severe Thunderstorm Watch",
                                    "Tornado Watch"};
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(button(QStringLiteral("cmd") + buttons[i])->text(), buttons[i]);
            QCOMPARE(label(QStringLiteral("Label1_%1").arg(i))->text(), labels[i]);
        }
        QCOMPARE(button(QStringLiteral("cmdOk"))->text(), QStringLiteral("OK"));
        QLabel *picture = label(QStringLiteral("Picture1"));
        QVERIFY(picture->isHidden());
        QVERIFY(!picture->pixmap().isNull());
        QCOMPARE(label(QStringLiteral("lblIdent"))->text(), QString());
        QCOMPARE(window->focusWidget(), window->cmdOk);
        checkIdle();
    }

    // One whole alert through the recording player and pause, for each of the four buttons:
    // 3 headers, 24 beeps, 3 end-of-message packets, the pauses between them, the name shown,
    // the picture only while a clip sounds, only the pressed button usable (and red) meanwhile.
    void oneAlert_data()
    {
        QTest::addColumn<qint16>("header");
        QTest::addColumn<QString>("ident");
        QTest::newRow("RWT") << qint16(110) << "Required Weekly Test";
        QTest::newRow("FFW") << qint16(120) << "Flash Flood Warning";
        QTest::newRow("SVA") << qint16(130) << "Severe Thunderstorm Watch";
        QTest::newRow("TOA") << qint16(140) << "Tornado Watch";
    }
    void oneAlert()
    {
        QFETCH(qint16, header);
        QFETCH(QString, ident);
        const int index = (header - 110) / 10;
        QPushButton *pressed = button(QStringLiteral("cmd") + QLatin1String(QTest::currentDataTag()));
        onClip = [&](int) { seen.last().pressedFace = facePixel(pressed); };
        // The clips play from memory: the owner's "X__TEMP.WAV" stays, in a read-only folder.
        QDir here = QDir::current();
        QFile owners(here.filePath(QStringLiteral("X__TEMP.WAV")));
        QVERIFY(owners.open(QIODevice::WriteOnly) && owners.write("the owner's") == 11);
        owners.close();
        const QStringList files = here.entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
        QVERIFY(QFile::setPermissions(here.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
        QElapsedTimer real;
        real.start();
        QTest::mouseClick(pressed, Qt::LeftButton);
        const qint64 realMs = real.elapsed();
        QVERIFY(QFile::setPermissions(here.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner));
        QCOMPARE(here.entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot), files);
        QVERIFY(owners.open(QIODevice::ReadOnly));
        QCOMPARE(owners.readAll(), QByteArray("the owner's"));

        QCOMPARE(clipIds(), alertClips(header));
        QCOMPARE(doubles().sleeps, alertPauses());
        for (const ClipSeen &clip : seen) {
            QCOMPARE(clip.ident, ident);
            QVERIFY(clip.pictureShown);
            QCOMPARE(clip.pressedFace, QColor(255, 0, 0));
            QCOMPARE(clip.okEnabled, false);
            for (int i = 0; i < 4; ++i) {
                QCOMPARE(clip.buttonsEnabled[i], i == index);
                QCOMPARE(clip.labelsEnabled[i], i == index);
            }
        }
        // The first header sounds after the half-second pause; every clip is followed by a
        // second's pause, and the beeps come one per second and a quarter.
        QCOMPARE(seen.first().at, 500);
        QCOMPARE(seen[4].at - seen[3].at, 259 + 1000);
        QCOMPARE(doubles().monotonic, designedAlertMs(header));
        QVERIFY2(doubles().monotonic > 45000 && doubles().monotonic < 46000, qPrintable(QString::number(doubles().monotonic)));
        // Nothing slept for real: the 45 s alert ran on the recording clock.
        QVERIFY2(realMs < 10000, qPrintable(QString::number(realMs)));
        QCOMPARE(doubles().soundStops, 0);
        QVERIFY(window->isVisible());
        checkIdle();
    }

    // Each step starts on the alert's schedule, counted from its start: with no sound output
    // every clip is skipped at once and its time is waited out; a clip that ends late (a slow
    // or stalled sound server) shortens the pause after it. Either way the alert keeps its length.
    void stepsKeepTheSchedule_data()
    {
        QTest::addColumn<bool>("sound");
        QTest::addColumn<int>("lateMs"); // how late each clip ends
        QTest::newRow("no sound output") << false << 0;
        QTest::newRow("every clip 400 ms late") << true << 400;
    }
    void stepsKeepTheSchedule()
    {
        QFETCH(bool, sound);
        QFETCH(int, lateMs);
        installPlayer(sound);
        onClip = [&](int) { doubles().monotonic += lateMs; };
        window->cmdSVA->click();
        QCOMPARE(clipIds(), alertClips(130));
        QList<int> pauses = alertPauses();
        const QList<qint16> clips = alertClips(130);
        for (int i = 0, clip = 0; i < pauses.size(); ++i) {
            // the pause before the beeps and before the end of message follows another pause
            const bool afterClip = i > 0 && i != 4 && i != 29;
            if (afterClip)
                pauses[i] += (sound ? 0 : testClipMs(clips[clip++])) - lateMs;
        }
        QCOMPARE(doubles().sleeps, pauses);
        QCOMPARE(doubles().monotonic, designedAlertMs(130));
        checkIdle();
    }

    // A click on the pressed button during an alert (it is the only one usable) starts no
    // alert inside the current one: the alert ends, then plays once more, however many
    // clicks came.
    void clickDuringAlertFollowsIt_data()
    {
        QTest::addColumn<int>("clicks");
        QTest::newRow("one click") << 1;
        QTest::newRow("three clicks") << 3;
    }
    void clickDuringAlertFollowsIt()
    {
        QFETCH(int, clicks);
        onClip = [&](int index) {
            if (index == 5) { // during a beep of the first alert
                for (int i = 0; i < clicks; ++i)
                    QTest::mouseClick(window->cmdFFW, Qt::LeftButton);
            }
        };
        QTest::mouseClick(window->cmdFFW, Qt::LeftButton);
        QCOMPARE(clipIds(), alertClips(120) + alertClips(120));
        QCOMPARE(doubles().sleeps, alertPauses() + alertPauses());
        for (const ClipSeen &clip : seen)
            QCOMPARE(clip.ident, QStringLiteral("Flash Flood Warning"));
        checkIdle();
    }

    // Closing the window during an alert (close box, Escape, OK of a modal run) ends it at
    // once: the sound stops, nothing more plays or pauses, the window is left whole.
    void closeDuringAlert_data()
    {
        QTest::addColumn<int>("way"); // 0 close box, 1 Escape
        QTest::addColumn<int>("atClip");
        QTest::newRow("close box during a header") << 0 << 1;
        QTest::newRow("close box during a beep") << 0 << 10;
        QTest::newRow("Escape during the last end of message") << 1 << 29;
        QTest::newRow("Escape during the first header") << 1 << 0;
    }
    void closeDuringAlert()
    {
        QFETCH(int, way);
        QFETCH(int, atClip);
        int sleepsAtClose = -1;
        onClip = [&](int index) {
            if (index != atClip)
                return;
            if (way == 0)
                window->close();
            else
                QTest::keyClick(window.get(), Qt::Key_Escape);
            sleepsAtClose = int(doubles().sleeps.size());
        };
        window->cmdTOA->click();
        QCOMPARE(int(seen.size()), atClip + 1);
        QCOMPARE(int(doubles().sleeps.size()), sleepsAtClose);
        QCOMPARE(doubles().soundStops, 1);
        QVERIFY(!window->isVisible());
        checkIdle();
        // Opened again, the window plays a whole alert.
        seen.clear();
        doubles().sleeps.clear();
        onClip = nullptr;
        window->show();
        window->cmdRWT->click();
        QCOMPARE(clipIds(), alertClips(110));
        checkIdle();
    }

    // The window run modally, as the main window runs it: Escape during an alert ends the
    // alert and the modal run, and the window can be destroyed at once.
    void escapeEndsModalRun()
    {
        window->hide();
        onClip = [&](int index) {
            if (index == 2)
                QTest::keyClick(window.get(), Qt::Key_Escape);
        };
        QTimer::singleShot(0, this, [&] { window->cmdFFW->click(); });
        QElapsedTimer real;
        real.start();
        const int result = window->exec();
        QCOMPARE(result, int(QDialog::Rejected));
        QCOMPARE(int(seen.size()), 3);
        QVERIFY(real.elapsed() < 10000);
        checkIdle();
        window.reset();
    }

    // DisableButtons of an id 1 to 4 is seen in oneAlert; any other id disables nothing.
    void disableButtonsOfUnknownId()
    {
        for (int id : {-1, 0, 5}) {
            window->DisableButtons(qint16(id));
            checkIdle();
        }
    }

    // Each activation clears the name, hides the picture, gives the buttons their face and
    // the focus to OK; during an alert an activation leaves the alert's display alone.
    void activation()
    {
        window->lblIdent->setText(QStringLiteral("left over"));
        window->Picture1->show();
        QPalette red = window->cmdSVA->palette();
        red.setColor(QPalette::Button, Qt::red);
        window->cmdSVA->setPalette(red);
        window->cmdRWT->setFocus();
        QEvent activate(QEvent::ActivationChange);
        QApplication::setActiveWindow(window.get());
        QApplication::sendEvent(window.get(), &activate);
        QCOMPARE(window->focusWidget(), window->cmdOk);
        checkIdle();

        onClip = [&](int index) {
            if (index == 1)
                QApplication::sendEvent(window.get(), &activate);
        };
        window->cmdTOA->click();
        QCOMPARE(seen[2].ident, QStringLiteral("Tornado Watch"));
        QVERIFY(seen[2].pictureShown);
        checkIdle();
    }
};

ORVANE_TEST(TestPacketWindowTest)
#include "TestPacketWindowTest.moc"
