#include "support/Doubles.h"
#include "support/TestRegistry.h"
#include "DiagnosticsTestSupport.h"

#include "app/frmMain.h"
#include "config/ReceiverConfig.h"
#include "core/MessageCatalogue.h"
#include "diagnostics/SysInfo.h"
#include "diagnostics/frmAbout.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QWindow>

class AboutTest : public QObject
{
    Q_OBJECT

    struct Seen {
        QString title, editor, receiver, company, web, product, name;
    };
    static Seen openAbout(frmMain &main)
    {
        Seen seen;
        const bool shown = whileModal<frmAbout>([&] { main.mnuAbout->trigger(); }, [&](frmAbout *about) {
            // The title the window system is given: for an empty one it shows the program's
            // name instead.
            const QString title = about->windowHandle()->title();
            seen = {title.isEmpty() ? QCoreApplication::applicationName() : title,
                    about->findChild<QLabel *>("Label1")->text(),
                    about->findChild<QLabel *>("Label3")->text(), about->lblCompany->text(),
                    about->lblWebAddress->text(), about->lblProduct->text(), about->lblTitle->text()};
        });
        if (!shown)
            seen.title = QStringLiteral("(no About box)");
        return seen;
    }

private slots:
    void init() { doubles().clear(); }

    // The versions of the record (a transfer stores the one the receiver reports: the fault
    // matrix checks that), the maker's texts, and a title bar without text.
    void aboutFromTheMenu()
    {
        ReceiverConfig.EDITOR.EditorVersion = QStringLiteral("1.05");
        ReceiverConfig.EDITOR.ReceiverVersion = QStringLiteral("1.00");
        frmMain main;
        main.show();
        QVERIFY(main.mnuAbout->isEnabled());

        const Seen seen = openAbout(main);
        QCOMPARE(seen.title.trimmed(), QString()); // the title bar shows no text
        QCOMPARE(seen.editor, QStringLiteral("Windows Editor Version 1.05"));
        QCOMPARE(seen.receiver, QStringLiteral("Receiver Firmware Version 1.00"));
        QCOMPARE(seen.product, QStringLiteral("SAME Digital Weather Receiver"));
        QCOMPARE(seen.name, QStringLiteral("Orvane"));
        QCOMPARE(seen.company, QStringLiteral("Brennick, Inc."));
        QVERIFY(seen.web.contains(QStringLiteral("example.com")));
    }

    // The labels are read again at every activation, not only when the box is made.
    void versionsFollowTheRecord()
    {
        ReceiverConfig.EDITOR.ReceiverVersion = QStringLiteral("2.10");
        frmAbout about;
        about.show();
        QCOMPARE(about.Label3->text(), QStringLiteral("Receiver Firmware Version 2.10"));
        about.hide();
        ReceiverConfig.EDITOR.ReceiverVersion = QStringLiteral("2.11");
        about.show();
        QCOMPARE(about.Label3->text(), QStringLiteral("Receiver Firmware Version 2.11"));
    }

    void systemInfoUnavailableWithoutTheTool()
    {
#ifdef Q_OS_WIN
        QSKIP("Windows has a system information tool");
#endif
        frmAbout about;
        about.show();
        about.cmdSysInfo->click();
        QCOMPARE(shownBoxes(), QStringList{box("System Information Is Unavailable At This Time", QMessageBox::NoIcon)});
        QVERIFY(about.isVisible()); // the box stays up
    }

    // GetKeyValue's reading of a value: one trailing NUL goes, the rest is the value.
    void keyValueFromData_data()
    {
        QTest::addColumn<quint32>("type");
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<bool>("read");
        QTest::addColumn<QString>("value");
        const QByteArray path("C:\\Program Files\\Common Files\\msinfo32.exe");
        QTest::newRow("text with its NUL") << kRegistryText << path + '\0' << true << QString::fromLatin1(path);
        QTest::newRow("text without NUL") << kRegistryText << path << true << QString::fromLatin1(path);
        QTest::newRow("only one NUL dropped") << kRegistryText << QByteArray("AB\0\0", 4) << true
                                              << QString::fromLatin1("AB\0", 3);
        QTest::newRow("empty text") << kRegistryText << QByteArray("\0", 1) << true << QString();
        QTest::newRow("number") << kRegistryNumber << QByteArray("\x01\x02\x03\x04", 4) << true
                                << QStringLiteral("67305985");
        QTest::newRow("number whose top byte the NUL rule takes") << kRegistryNumber
                                                                 << QByteArray("\x00\x01\x00\x00", 4) << true
                                                                 << QStringLiteral("256");
        QTest::newRow("number with small bytes") << kRegistryNumber << QByteArray("\x0a\x01\x00\x00", 4) << true
                                                 << QStringLiteral("266");
        QTest::newRow("other type keeps the value") << quint32(3) << QByteArray("\x01\x02", 2) << false
                                                    << QStringLiteral("before");
    }
    void keyValueFromData()
    {
        QFETCH(quint32, type);
        QFETCH(QByteArray, data);
        QFETCH(bool, read);
        QFETCH(QString, value);
        QString KeyVal = QStringLiteral("before");
        QCOMPARE(::keyValueFromData(type, data, KeyVal), read);
        QCOMPARE(KeyVal, value);
    }

    void noRegistryReadsNothing()
    {
#ifdef Q_OS_WIN
        QSKIP("Windows has a registry");
#endif
        QString KeyVal = QStringLiteral("left over");
        QVERIFY(!GetKeyValue(kHkeyLocalMachine, QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO"),
                             QStringLiteral("PATH"), KeyVal));
        QCOMPARE(KeyVal, QString());
    }
};

ORVANE_TEST(AboutTest)
#include "AboutTest.moc"
