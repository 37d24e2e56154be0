#include "config/ConfigTestSupport.h"
#include "support/Rows.h"
#include "support/TestRegistry.h"

#include "app/Startup.h"
#include "app/frmMain.h"
#include "diagnostics/HelpBook.h"
#include "diagnostics/WebLinks.h"
#include "diagnostics/frmHelp.h"
#include "diagnostics/frmTip.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QHelpContentWidget>
#include <QHelpEngine>
#include <QHelpIndexWidget>
#include <QHelpLink>
#include <QHelpSearchEngine>
#include <QHelpSearchQueryWidget>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <memory>

// The help book the build compiled, the tip at start-up, and the maker's web pages.
namespace {

const QString kBuiltHelp = QStringLiteral(ORVANE_BUILT_HELP_FILE);
constexpr int kEngineWaitMs = 30000; // the help engine's background work; only a fault makes it last


frmTip *visibleTip()
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *tip = qobject_cast<frmTip *>(w); tip && tip->isVisible())
            return tip;
    return nullptr;
}

// Notes the order in which the main window and the tip are shown.
struct ShowOrder : QObject {
    QStringList shown;
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show && (qobject_cast<frmMain *>(watched) || qobject_cast<frmTip *>(watched)))
            shown << watched->objectName();
        return false;
    }
};

// A start of the program as far as the main window; the tip, if any, deletes itself on close.
std::unique_ptr<frmMain> start(QStringList *order = nullptr)
{
    clearReceiverConfig();
    ShowOrder watch;
    qApp->installEventFilter(&watch);
    std::unique_ptr<frmMain> main(startup());
    qApp->removeEventFilter(&watch);
    if (order)
        *order = watch.shown;
    return main;
}


struct LinkRow {
    const char *name;
    QString item, address;
    int launcherExit; // -1: still running until the test lets it go
};

} // namespace
Q_DECLARE_METATYPE(LinkRow)

class HelpTest : public QObject
{
    Q_OBJECT
    QTemporaryDir cache;
    QString collection() const { return cache.path() + QStringLiteral("/help/orvane.qhc"); }

private slots:
    void init() { doubles().clear(); }

    // "Display Help" and "&Help Contents" ask for the contents (3), "&Search For Help On..."
    // for the keyword search (0x105) with no keyword, of the help file beside the program.
    void mainWindowRequests()
    {
        QVERIFY2(QFileInfo(kBuiltHelp).isFile(), qPrintable(kBuiltHelp));
        QCOMPARE(helpFilePath(), QCoreApplication::applicationDirPath() + QStringLiteral("/Help/orvane.qch"));
        QCOMPARE(QFileInfo(kBuiltHelp).dir().dirName() + '/' + QFileInfo(kBuiltHelp).fileName(), "Help/orvane.qch");
        frmMain main;
        QVERIFY(main.cmdMain[9]->isEnabled());
        main.cmdMain[9]->click();
        for (QAction *item : {main.mnuHelpContents, main.mnuSearchHelp}) {
            QVERIFY(item->isEnabled());
            item->trigger();
        }
        QList<int> commands;
        for (const HelpRequest &request : doubles().helpRequests) {
            commands << int(request.command);
            QCOMPARE(request.keyword, QString());
            QCOMPARE(request.helpFile, helpFilePath());
        }
        QCOMPARE(commands, (QList<int>{3, 3, 0x105}));
        QVERIFY(doubles().messages.isEmpty());
    }

    // The contents, a page per chapter opened by one click, the whole keyword index with a
    // keyword for every window, and the full-text search.
    void helpWindow()
    {
        frmHelp help(kBuiltHelp, collection());
        QVERIFY2(help.helpAvailable(), qPrintable(help.problem()));
        QHelpSearchEngine *search = help.helpEngine()->searchEngine();
        QSignalSpy indexed(search, &QHelpSearchEngine::indexingFinished);
        help.show();
        help.showContents();
        QCOMPARE(help.tabNavigation->currentIndex(), int(frmHelp::kContentsTab));
        QCOMPARE(help.brwTopic->source(), helpPageUrl(QStringLiteral("index.html")));
        QCOMPARE(help.brwTopic->documentTitle(), QStringLiteral("Orvane Editor Help"));
        QHelpContentModel *contents = help.helpEngine()->contentModel();
        if (contents->isCreatingContents() || contents->rowCount() == 0)
            QVERIFY(QSignalSpy(contents, &QHelpContentModel::contentsCreated).wait(kEngineWaitMs));
        QCOMPARE(contents->rowCount(), 1);
        QVERIFY(contents->rowCount(contents->index(0, 0)) >= 14);
        QHelpContentWidget *tree = help.helpEngine()->contentWidget();
        const QModelIndex entry = contents->index(3, 0, contents->index(0, 0));
        const QUrl page = contents->contentItemAt(entry)->url();
        QVERIFY(page != help.brwTopic->source());
        tree->scrollTo(entry);
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualRect(entry).center());
        QCOMPARE(help.brwTopic->source(), page);
        help.showPage(helpPageUrl(QStringLiteral("timers.html")));
        QVERIFY(help.brwTopic->toPlainText().contains(QStringLiteral("Relay Activation Delay")));

        help.txtKeyword->setText(QStringLiteral("timers"));
        help.showKeywordSearch(QString());
        QCOMPARE(help.tabNavigation->currentIndex(), int(frmHelp::kIndexTab));
        QCOMPARE(help.txtKeyword->text(), QString());
        QHelpIndexModel *index = help.helpEngine()->indexModel();
        if (index->isCreatingIndex() || index->rowCount() == 0)
            QVERIFY(QSignalSpy(index, &QHelpIndexModel::indexCreated).wait(kEngineWaitMs));
        QVERIFY(index->rowCount() > 100); // with no keyword, the whole index
        const QList<QPair<QString, QString>> keywords = {
            {"Main window", "main-window"}, {"Orvane Setup", "setup"}, {"Orvane FIPS Codes", "counties"},
            {"Orvane FIPS Editor", "counties"}, {"Orvane State / Transmitter Entry", "state-transmitter"},
            {"Orvane Event Codes", "event-codes"}, {"Orvane Options", "options"}, {"Orvane Timer Settings", "timers"},
            {"Station Identification", "identification"}, {"Transfer", "transfer-history"},
            {"History report", "report"}, {"Orvane Data Dump", "data-dump"}, {"Orvane SAME Packet Test", "test-packets"},
            {"About box", "about"}, {"Orvane Information Tip", "about"}, {"Error messages", "messages"},
            {"Error #500", "messages"}, {"Error #202", "messages"}};
        for (const auto &[keyword, name] : keywords) {
            const QList<QHelpLink> links = help.helpEngine()->documentsForKeyword(keyword);
            QCOMPARE(links.size(), 1);
            QCOMPARE(links.first().url.fileName(), name + ".html");
            QVERIFY(!help.helpEngine()->fileData(links.first().url).isEmpty());
        }

        QVERIFY(indexed.count() > 0 || indexed.wait(kEngineWaitMs)); // the window asked for its full-text index
        auto *query = help.findChild<QHelpSearchQueryWidget *>(QStringLiteral("txtSearch"));
        QVERIFY(query && query->isEnabled());
        query->setSearchInput(QStringLiteral("test packet procedure"));
        QSignalSpy found(search, &QHelpSearchEngine::searchingFinished);
        for (QPushButton *button : query->findChildren<QPushButton *>())
            if (button->text().contains(QStringLiteral("Search")))
                button->click();
        QVERIFY(found.count() == 1 || found.wait(kEngineWaitMs));
        QStringList pages;
        for (const QHelpSearchResult &hit : search->searchResults(0, search->searchResultCount()))
            pages << hit.url().fileName();
        QVERIFY2(pages.contains(QStringLiteral("test-packets.html")), qPrintable(pages.join(u' ')));
    }

    // Without its file, or with a damaged one, the window says so and where it looked; once the
    // file is there, the next request shows the book.
    void missingOrDamagedHelpFile_data()
    {
        QTest::addColumn<QByteArray>("content"); // empty: no file at all
        QTest::addColumn<QString>("says");
        QTest::newRow("missing") << QByteArray() << "The help file is missing.";
        QTest::newRow("damaged") << QByteArray("not a help file") << "may be damaged";
    }
    void missingOrDamagedHelpFile()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, says);
        QTemporaryDir program;
        const QString file = program.path() + QStringLiteral("/Help/orvane.qch");
        QVERIFY(QDir().mkpath(program.path() + QStringLiteral("/Help")));
        if (!content.isEmpty())
            writeFileBytes(file, content);
        showHelpWindow({file, HelpCommand::Contents, QString()});
        frmHelp *help = frmHelp::current();
        QVERIFY(help && help->isVisible() && !help->helpAvailable());
        const QString shown = help->brwTopic->toPlainText();
        QVERIFY(shown.contains(QStringLiteral("The help for the Orvane editor cannot be shown")));
        QVERIFY2(shown.contains(says) && shown.contains(QDir::toNativeSeparators(file)), qPrintable(shown));
        QVERIFY(!help->tabNavigation->currentWidget()->isEnabled());
        QVERIFY(doubles().messages.isEmpty());
        help->close();
        QFile::remove(file);
        QVERIFY(QFile::copy(kBuiltHelp, file));
        showHelpWindow({file, HelpCommand::PartialKey, QString()});
        help = frmHelp::current();
        QVERIFY(help && help->helpAvailable());
        QCOMPARE(help->tabNavigation->currentIndex(), int(frmHelp::kIndexTab));
        delete help;
    }

    // The collection is made once, and made again for another or a changed help file.
    void collectionFollowsTheHelpFile()
    {
        QTemporaryDir place;
        const QString qhc = place.path() + QStringLiteral("/c/orvane.qhc");
        const QString copy = place.path() + QStringLiteral("/orvane.qch");
        QVERIFY(QFile::copy(kBuiltHelp, copy));
        QList<bool> rebuilt;
        for (const QString &file : {kBuiltHelp, kBuiltHelp, copy, copy}) {
            bool made = false;
            QCOMPARE(prepareHelpCollection(file, qhc, &made), QString());
            rebuilt << made;
        }
        QCOMPARE(rebuilt, (QList<bool>{true, false, true, false}));
        QHelpEngineCore core(qhc);
        QVERIFY(core.setupData());
        QCOMPARE(core.registeredDocumentations(), QStringList{kHelpNamespace});
        QCOMPARE(core.documentationFileName(kHelpNamespace), QFileInfo(copy).absoluteFilePath());
    }
};

class TipTest : public QObject
{
    Q_OBJECT
private slots:
    void init() { freshState(); }
    void cleanup()
    {
        while (frmTip *tip = visibleTip())
            tip->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // Nothing stored: the tip follows the main window, not modal, its box ticked, and the menu
    // item's check mark tells the setting. The tip's box on OK and the menu item (both ways,
    // without showing the tip) change the setting at once; "Exit" saves it and the next start
    // follows it.
    void tipAndItsSetting()
    {
        QStringList order;
        auto main = start(&order);
        QCOMPARE(order, (QStringList{"frmMain", "frmTip"}));
        frmTip *tip = visibleTip();
        QVERIFY(tip && !tip->isModal() && main->mnuTipsShow->isChecked() && tip->chkLoadTipsAtStartup->isChecked());
        QCOMPARE(tip->windowTitle(), QStringLiteral("Orvane Information Tip"));
        QCOMPARE(tip->lblHeading->text(), QStringLiteral("Information Tip For You To Know..."));
        QCOMPARE(tip->lblTipText->text(), QStringLiteral(
            "Your Orvane contains a database of weather transmitters throughout the United States and it's "
            "Territories.  Since these stations are upgraded, deleted, or added by NOAA every few months,  remember "
            "to periodically check into web site:\n www.example.com\nThere you can download a file to update your "
            "Orvane database.\n\n You can directly access the Web update page from the Orvane \"Help\" menu."));
        QCOMPARE(::tipText(), tip->lblTipText->text().replace(u'\n', QStringLiteral("\r\n")));
        QCOMPARE(tip->chkLoadTipsAtStartup->text(), QStringLiteral("&Show Tip at Startup"));
        tip->chkLoadTipsAtStartup->setChecked(false);
        tip->cmdOK->click();
        QVERIFY(!visibleTip() && !ReceiverConfig.EDITOR.ShowTipsAtStartup && !main->mnuTipsShow->isChecked());
        main->cmdMain[10]->click(); // "Exit": saves without asking
        QCOMPARE(doubles().programEnds, 1);
        main.reset();
        QCOMPARE(storedSetting("EDITOR/ShowTipsAtStartup"), QStringLiteral("False"));

        main = start(&order);
        QCOMPARE(order, QStringList{"frmMain"});
        QVERIFY(!visibleTip() && !main->mnuTipsShow->isChecked() && main->mnuTipsShow->isEnabled());
        for (bool on : {true, false, true}) {
            main->mnuTipsShow->trigger();
            QCOMPARE(ReceiverConfig.EDITOR.ShowTipsAtStartup, on);
            QCOMPARE(main->mnuTipsShow->isChecked(), on);
            QVERIFY(!visibleTip());
        }
        main->cmdMain[10]->click();
        main.reset();
        QCOMPARE(storedSetting("EDITOR/ShowTipsAtStartup"), QStringLiteral("True"));
        main = start();
        QVERIFY(visibleTip() && main->mnuTipsShow->isChecked());
        visibleTip()->cmdOK->click(); // the box kept: the setting and the menu stay on
        QVERIFY(!visibleTip() && ReceiverConfig.EDITOR.ShowTipsAtStartup && main->mnuTipsShow->isChecked());
    }

    // Tips off: a tip window made anyway goes away at load and unchecks the menu item.
    void tipWindowClosesItselfWhenOff()
    {
        ReceiverConfig.EDITOR.ShowTipsAtStartup = false;
        QAction item(QStringLiteral("Show Tip at startup"));
        item.setCheckable(true);
        item.setChecked(true);
        frmTip tip(&item);
        QVERIFY(!tip.shown() && !item.isChecked() && !showTipAtStartup(&item, nullptr) && !visibleTip());
    }
};

class WebLinksTest : public QObject
{
    Q_OBJECT
private slots:
    void init() { doubles().clear(); }

    // The three pages of the maker's site through the real browser seam and a stand-in for the
    // desktop's launcher (xdg-open) on PATH: one that finds no browser and fails gives #500;
    // one that succeeds, or one still running when the program stops waiting for it (the
    // windows answering meanwhile), gives none.
    void pagesOpenWithTheDesktopLauncher_data()
    {
        addRows<LinkRow>({{"Home Page, no browser", "mnuHomePage", "https://www.example.com/index.html", 3},
                          {"Database Update Page, opened", "mnuUpdate", "https://www.example.com/weather1.html", 0},
                          {"Manuals Update Page, still running", "mnuManuals", "https://www.example.com/manuals.html", -1}});
    }
    void pagesOpenWithTheDesktopLauncher()
    {
        QFETCH(LinkRow, row);
        QTemporaryDir bin;
        const QString release = bin.filePath("release"), released = bin.filePath("released");
        // A launcher that hangs waits for the release, or 30 s on its own.
        const QString end = row.launcherExit >= 0
            ? QStringLiteral("exit %1").arg(row.launcherExit)
            : QStringLiteral("n=0; while [ ! -e '%1' ] && [ $n -lt 600 ]; do sleep 0.05; n=$((n+1)); done; : >'%2'")
                  .arg(release, released);
        const QString launcher = bin.filePath("xdg-open");
        writeFileBytes(launcher, QStringLiteral("#!/bin/sh\nprintf '%s\\n' \"$*\" >'%1'\n%2\n")
                                     .arg(bin.filePath("given"), end).toUtf8());
        QVERIFY(QFile::setPermissions(launcher, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(bin.path()) + ':' + path);
        const auto restorePath = qScopeGuard([&path] { qputenv("PATH", path); });
        Platform::setBrowser({});

        frmMain main;
        auto *action = main.findChild<QAction *>(row.item);
        QVERIFY(action && action->isEnabled() && main.mnuBrennick->actions().contains(action));
        QVERIFY(main.mnuBrennick->menuAction()->isEnabled());
        bool waiting = true, answered = false;
        QTimer::singleShot(0, &main, [&] { answered = waiting; });
        action->trigger();
        waiting = false;
        QCOMPARE(shownBoxes(), row.launcherExit > 0 ? QStringList{box("Error #500:  Could not load your Web Browser. ")}
                                                    : QStringList());
        QCOMPARE(QString::fromUtf8(fileBytes(bin.filePath("given"))).trimmed(), row.address);
        if (row.launcherExit < 0) {
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

ORVANE_TEST(HelpTest)
ORVANE_TEST(TipTest)
ORVANE_TEST(WebLinksTest)
#include "DesktopTest.moc"
