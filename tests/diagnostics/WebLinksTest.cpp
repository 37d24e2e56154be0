#include "support/Doubles.h"
#include "support/TestRegistry.h"
#include "config/ConfigTestSupport.h"

#include "app/frmMain.h"
#include "core/MessageCatalogue.h"
#include "diagnostics/WebLinks.h"

#include <QAction>
#include <QTemporaryDir>
#include <QTimer>
#include <QTest>
#include <QMenu>
#include <QPushButton>
#include <QScopeGuard>

class WebLinksTest : public QObject
{
    Q_OBJECT
private slots:
    void init() { doubles().clear(); }

    // The three pages of the maker's site, each its own address, through the real browser
    // seam and a stand-in for the desktop's launcher (xdg-open) on PATH: one that finds no
    // browser and exits with an error gives #500; one that succeeds, or one still running
    // when the program stops waiting for it (the windows answering meanwhile), gives none.
    void pagesOpenWithTheDesktopLauncher_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("address");
        QTest::addColumn<int>("launcherExit"); // -1: still running until the test lets it go
        QTest::addColumn<bool>("opened");
        QTest::newRow("Home Page, no browser") << "mnuHomePage" << "https://www.example.com/index.html" << 3 << false;
        QTest::newRow("Database Update Page, opened") << "mnuUpdate" << "https://www.example.com/weather1.html" << 0 << true;
        QTest::newRow("Manuals Update Page, still running")
            << "mnuManuals" << "https://www.example.com/manuals.html" << -1 << true;
    }
    void pagesOpenWithTheDesktopLauncher()
    {
        QFETCH(QString, item);
        QFETCH(QString, address);
        QFETCH(int, launcherExit);
        QFETCH(bool, opened);
        QTemporaryDir bin;
        const QString release = bin.filePath(QStringLiteral("release"));
        const QString released = bin.filePath(QStringLiteral("released"));
        // A launcher that hangs waits for the release, or 30 s on its own.
        const QString end = launcherExit >= 0 ? QStringLiteral("exit %1").arg(launcherExit)
                                              : QStringLiteral("n=0; while [ ! -e '%1' ] && [ $n -lt 600 ]; do sleep 0.05; "
                                                               "n=$((n+1)); done; : >'%2'")
                                                    .arg(release, released);
        const QString launcher = bin.filePath(QStringLiteral("xdg-open"));
        writeFileBytes(launcher, QStringLiteral("#!/bin/sh\nprintf '%s\\n' \"$*\" >'%1'\n%2\n")
                                     .arg(bin.filePath(QStringLiteral("given")), end)
                                     .toUtf8());
        QVERIFY(QFile::setPermissions(launcher, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(bin.path()) + ':' + path);
        const auto restorePath = qScopeGuard([&path] { qputenv("PATH", path); });
        Platform::setBrowser({});

        frmMain main;
        auto *action = main.findChild<QAction *>(item);
        QVERIFY(action && action->isEnabled());
        QVERIFY(main.mnuBrennick->actions().contains(action));
        QVERIFY(main.mnuBrennick->menuAction()->isEnabled());
        bool waiting = true;
        bool answered = false;
        QTimer::singleShot(0, &main, [&] { answered = waiting; });
        action->trigger();
        waiting = false;

        QCOMPARE(shownBoxes(), opened ? QStringList() : QStringList{box("Error #500:  Could not load your Web Browser. ")});
        QCOMPARE(QString::fromUtf8(fileBytes(bin.filePath(QStringLiteral("given")))).trimmed(), address);
        if (launcherExit < 0) {
            QVERIFY(answered);
            writeFileBytes(release, "");
            QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(released), 10000);
        }
    }

    // An address the browser could not be given counts as a browser that did not start.
    void malformedAddressIsNotOpened()
    {
        QVERIFY(!openWebPage(QStringLiteral("https://www.example.com/a page with blanks.html")));
        QVERIFY(doubles().openedUrls.isEmpty());
    }

};

ORVANE_TEST(WebLinksTest)
#include "WebLinksTest.moc"
