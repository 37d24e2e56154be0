#include "ReceiverSimulator.h"
#include "support/TestRegistry.h"
#include "LinkTestSupport.h"

#include "link/frmCommPort.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <array>

// The stored port and zone offset, the option and zone shown for them, the offset OK stores.
struct ShownPortAndZone {
    int port, zone, shownOption, shownZone, storedZone;
};
Q_DECLARE_METATYPE(ShownPortAndZone)

// The setup window "Orvane Setup" and the port search.
class CommPortTest : public QObject, LinkFixture
{
    Q_OBJECT

    static int checkedPort(const frmCommPort &setup)
    {
        for (int i = 0; i < 4; ++i)
            if (setup.optCommPort[i]->isChecked())
                return i;
        return -1;
    }

private slots:
    void init()
    {
        freshLink();
        showMain();
    }
    void cleanup() { stopLink(); }

    void layout()
    {
        setPortDevice(2, QStringLiteral("/dev/pts/77"));
        frmCommPort setup(main.get());
        QCOMPARE(setup.windowTitle(), QStringLiteral("Orvane Setup"));
        for (int i = 0; i < 4; ++i) {
            auto *option = setup.findChild<QRadioButton *>(QStringLiteral("optCommPort_%1").arg(i));
            QVERIFY(option);
            QCOMPARE(option->text(), QStringLiteral("Port %1").arg(i + 1));
            QVERIFY(!setup.findChild<QLabel *>(QStringLiteral("lblPortDevice_%1").arg(i))->text().isEmpty());
        }
        QVERIFY(setup.lblPortDevice[1]->text().startsWith(QStringLiteral("/dev/pts/77")));
        QStringList zones;
        for (int i = 0; i < setup.cmbTimeZone->count(); ++i)
            zones << setup.cmbTimeZone->itemText(i);
        QCOMPARE(zones, QStringList({" [GMT-04:00] Atlantic Time (Puerto Rico, Canada)",
                                     " [GMT-05:00] Eastern Time (US, Canada)",
                                     " [GMT-06:00] Central Time (US, Canada)",
                                     " [GMT-07:00] Mountain Time (US, Canada)",
                                     " [GMT-08:00] Pacific Time (US, Canada)", " [GMT-09:00] Alaska",
                                     " [GMT-10:00] Hawaii", " [GMT-11:00] Midway Island, Samona"}));
        QCOMPARE(setup.chkAdjustTime->text(), QStringLiteral("Automatically adjust time for daylight saving changes"));
        QCOMPARE(setup.cmdTest->text(), QStringLiteral("Serial Port Test"));
        QStringList buttons;
        for (auto *button : setup.findChildren<QPushButton *>())
            buttons << button->text();
        buttons.sort();
        QCOMPARE(buttons, QStringList({"OK", "Serial Port Test"})); // no Cancel
    }

    // What the window shows for the stored values, and what OK stores back untouched.
    void showAndStore_data()
    {
        QTest::addColumn<ShownPortAndZone>("row");
        QTest::newRow("port 3, Eastern") << ShownPortAndZone{3, -5, 2, 1, -5};
        QTest::newRow("port 0 shows none, keeps 0") << ShownPortAndZone{0, -6, -1, 2, -6};
        QTest::newRow("port 5 shows none, keeps 5") << ShownPortAndZone{5, -6, -1, 2, -6};
        QTest::newRow("offset -12 shows Atlantic, stores -4") << ShownPortAndZone{1, -12, 0, 0, -4};
        QTest::newRow("offset -3 shows Atlantic, stores -4") << ShownPortAndZone{1, -3, 0, 0, -4};
        QTest::newRow("offset -11 stays") << ShownPortAndZone{4, -11, 3, 7, -11};
    }
    void showAndStore()
    {
        QFETCH(ShownPortAndZone, row);
        for (bool daylight : {false, true}) {
            ReceiverConfig.EDITOR.SerialPort = qint16(row.port);
            ReceiverConfig.EDITOR.TimeZoneOffset = qint16(row.zone);
            ReceiverConfig.EDITOR.DaylightSavings = daylight;
            frmCommPort setup(main.get());
            QCOMPARE(checkedPort(setup), row.shownOption);
            QCOMPARE(setup.cmbTimeZone->currentIndex(), row.shownZone);
            QCOMPARE(setup.chkAdjustTime->isChecked(), daylight);
            setup.cmdOk->click();
            QCOMPARE(int(ReceiverConfig.EDITOR.SerialPort), row.port);
            QCOMPARE(int(ReceiverConfig.EDITOR.TimeZoneOffset), row.storedZone);
            QCOMPARE(ReceiverConfig.EDITOR.DaylightSavings, daylight);
        }
    }

    // Changes made in the window opened from the main window: OK stores them, the close
    // box drops them.
    void okStoresCloseBoxDiscards_data()
    {
        QTest::addColumn<bool>("ok");
        QTest::newRow("close box") << false;
        QTest::newRow("OK") << true;
    }
    void okStoresCloseBoxDiscards()
    {
        QFETCH(bool, ok);
        ReceiverConfig.EDITOR.SerialPort = 1;
        ReceiverConfig.EDITOR.TimeZoneOffset = -5;
        ReceiverConfig.EDITOR.DaylightSavings = true;
        QTimer::singleShot(100, [ok] {
            auto *setup = qobject_cast<frmCommPort *>(QApplication::activeModalWidget());
            setup->optCommPort[3]->setChecked(true);
            setup->cmbTimeZone->setCurrentIndex(6);
            setup->chkAdjustTime->setChecked(false);
            ok ? setup->cmdOk->click() : void(setup->close());
        });
        main->cmdMain[0]->click();
        QCOMPARE(int(ReceiverConfig.EDITOR.SerialPort), ok ? 4 : 1);
        QCOMPARE(int(ReceiverConfig.EDITOR.TimeZoneOffset), ok ? -10 : -5);
        QCOMPARE(ReceiverConfig.EDITOR.DaylightSavings, !ok);
    }

    // Port 1 has no device, the ports from 2 up to the receiver's hold receivers that never
    // answer, and any port after it another receiver that must never be asked. (A search that
    // finds nothing: the fault matrix.)
    void portSearch_data()
    {
        QTest::addColumn<int>("found");
        QTest::addColumn<int>("answer");
        QTest::addColumn<int>("storedPort");
        QTest::newRow("found on port 3, Yes") << 3 << int(QMessageBox::Yes) << 3;
        QTest::newRow("found on port 3, No") << 3 << int(QMessageBox::No) << 1;
        QTest::newRow("found on port 4, Yes") << 4 << int(QMessageBox::Yes) << 4;
    }
    void portSearch()
    {
        QFETCH(int, found);
        QFETCH(int, answer);
        QFETCH(int, storedPort);
        std::array<ReceiverSimulator, 3> receivers; // on ports 2, 3, 4
        setPortDevice(1, QStringLiteral("/nonexistent/ttyS0"));
        for (int n = 2; n <= 4; ++n) {
            ReceiverSimulator &r = receivers[n - 2];
            if (n < found)
                r.setFault(ReceiverSimulator::Fault::Silent);
            QVERIFY(r.start());
            setPortDevice(n, r.devicePath());
        }
        ReceiverConfig.EDITOR.SerialPort = 1;

        frmCommPort setup(main.get());
        doubles().answerNext(QMessageBox::StandardButton(answer));
        setup.cmdTest->click();

        const QString port = QString::number(found);
        QCOMPARE(shownBoxes(), QStringList{box("Serial port " + port + " found. Set port number?", QMessageBox::Information,
                                              QMessageBox::Yes | QMessageBox::No, " Orvane Serial Port Test")});
        for (int n = 2; n <= 4; ++n)
            QCOMPARE(receivers[n - 2].commandsReceived(), n <= found ? QByteArray("T") : QByteArray());
        QCOMPARE(int(ReceiverConfig.EDITOR.SerialPort), storedPort); // set at once, before OK
        QCOMPARE(checkedPort(setup), storedPort - 1);
        const QString set = " Serial port " + port + " found and passed handshaking test. Port " + port + " set.";
        QCOMPARE(main->statusPanelText(1), answer == QMessageBox::Yes ? set : QString());
        QVERIFY(!link->Port1->isOpen());
        QVERIFY(!link->LinkConnected);
    }
};

ORVANE_TEST(CommPortTest)
#include "CommPortTest.moc"
