#include "support/Doubles.h"
#include "support/TestRegistry.h"

#include "app/frmMain.h"
#include "core/MessageCatalogue.h"
#include "diagnostics/WebLinks.h"

#include <QAction>
#include <QTest>
#include <QMenu>
#include <QPushButton>

class WebLinksTest : public QObject
{
    Q_OBJECT
private slots:
    void init() { doubles().clear(); }

    // The three pages of the maker's site, each its own address, through the desktop's browser;
    // #500 when no browser starts.
    void pagesOpenInTheBrowser_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("address");
        QTest::addColumn<bool>("browserStarts");
        for (bool starts : {true, false}) {
            const char *how = starts ? "" : ", no browser";
            QTest::addRow("Home Page%s", how) << "mnuHomePage" << "https://www.example.com/index.html" << starts;
            QTest::addRow("Database Update Page%s", how)
                << "mnuUpdate" << "https://www.example.com/weather1.html" << starts;
            QTest::addRow("Manuals Update Page%s", how)
                << "mnuManuals" << "https://www.example.com/manuals.html" << starts;
        }
    }
    void pagesOpenInTheBrowser()
    {
        QFETCH(QString, item);
        QFETCH(QString, address);
        QFETCH(bool, browserStarts);
        doubles().browserStarts = browserStarts;
        frmMain main;
        auto *action = main.findChild<QAction *>(item);
        QVERIFY(action && action->isEnabled());
        QVERIFY(main.mnuBrennick->actions().contains(action));
        QVERIFY(main.mnuBrennick->menuAction()->isEnabled());
        action->trigger();

        QCOMPARE(doubles().openedUrls, QList<QUrl>{QUrl(address)});
        QCOMPARE(shownBoxes(), browserStarts ? QStringList()
                                             : QStringList{box("Error #500:  Could not load your Web Browser. ")});
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
