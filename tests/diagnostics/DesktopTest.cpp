#include "config/ConfigTestSupport.h"
#include "support/Rows.h"
#include "support/TestRegistry.h"

#include "app/Startup.h"
#include "app/frmMain.h"
#include "diagnostics/HelpBook.h"
#include "diagnostics/WebLinks.h"
#include "diagnostics/frmHelp.h"
#include "diagnostics/frmTip.h"

#include <QtHelp>
#include <QtWidgets>
#include <QSignalSpy>
#include <memory>

// The help book the build compiled, the tip at start-up, and the maker's web pages.
namespace {

const QString kBuiltHelp = QStringLiteral(ORVANE_BUILT_HELP_FILE);
constexpr int kEngineWaitMs = 30000; // the help engine's background work; only a fault makes it last

frmTip *visibleTip()
{
    for (QWidget *w : QApplication::topLevelWidgets()) if (auto *tip = qobject_cast<frmTip *>(w); tip && tip->isVisible()) return tip;
    return nullptr;
}

// A start of the program as far as the main window, noting the order in which it and the tip show.
std::unique_ptr<frmMain> start(QStringList &order)
{
    struct Watch : QObject {
        QStringList &shown;
        explicit Watch(QStringList &list) : shown(list) { shown.clear(), qApp->installEventFilter(this); }
        bool eventFilter(QObject *o, QEvent *e) override
        {
            if (e->type() == QEvent::Show && (qobject_cast<frmMain *>(o) || qobject_cast<frmTip *>(o))) shown << o->objectName();
            return false;
        }
    } watch(order);
    clearReceiverConfig();
    return std::unique_ptr<frmMain>(startup());
}

struct LinkRow { const char *name; QString item, address; int launcherExit; }; // -1: still running until the test lets it go

} // namespace

class HelpTest : public QObject
{
    Q_OBJECT
    QTemporaryDir cache;

private slots:
    void init() { doubles().clear(); }

    // "Display Help" and "&Help Contents" ask for the contents (3), "&Search For Help On..."
    // for the keyword search (0x105) with no keyword, of the help file beside the program.
    void mainWindowRequests()
    {
        QVERIFY2(QFileInfo(kBuiltHelp).isFile() && kBuiltHelp.endsWith("/Help/orvane.qch"), qPrintable(kBuiltHelp));
        QCOMPARE(helpFilePath(), QCoreApplication::applicationDirPath() + QStringLiteral("/Help/orvane.qch"));
        frmMain main; // a disabled button or item would ask for nothing
        main.cmdMain[9]->click(), main.mnuHelpContents->trigger(), main.mnuSearchHelp->trigger();
        QStringList asked;
        for (const HelpRequest &r : doubles().helpRequests) asked << QString::number(int(r.command), 16) + u' ' + r.keyword + u' ' + r.helpFile;
        QCOMPARE(asked, (QStringList{"3  " + helpFilePath(), "3  " + helpFilePath(), "105  " + helpFilePath()}));
        QCOMPARE(shownBoxes(), QStringList());
    }

    // The contents, a page per chapter opened by one click, the whole keyword index with a
    // keyword for every window, and the full-text index.
    void helpWindow()
    {
        frmHelp help(kBuiltHelp, cache.path() + QStringLiteral("/help/orvane.qhc"));
        QVERIFY2(help.helpAvailable(), qPrintable(help.problem()));
        QHelpSearchEngine *search = help.helpEngine()->searchEngine();
        QSignalSpy indexed(search, &QHelpSearchEngine::indexingFinished);
        help.show(), help.showContents();
        QVERIFY(help.tabNavigation->currentIndex() == frmHelp::kContentsTab && help.brwTopic->source() == helpPageUrl("index.html"));
        QCOMPARE(help.brwTopic->documentTitle(), QStringLiteral("Orvane Editor Help"));
        QHelpContentModel *contents = help.helpEngine()->contentModel();
        if (contents->isCreatingContents() || contents->rowCount() == 0) QVERIFY(QSignalSpy(contents, &QHelpContentModel::contentsCreated).wait(kEngineWaitMs));
        QVERIFY(contents->rowCount() == 1 && contents->rowCount(contents->index(0, 0)) >= 14);
        QHelpContentWidget *tree = help.helpEngine()->contentWidget();
        const QModelIndex entry = contents->index(3, 0, contents->index(0, 0));
        const QUrl page = contents->contentItemAt(entry)->url();
        QVERIFY(page != help.brwTopic->source());
        tree->scrollTo(entry), QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualRect(entry).center());
        QCOMPARE(help.brwTopic->source(), page);

        help.txtKeyword->setText(QStringLiteral("timers")), help.showKeywordSearch(QString());
        QVERIFY(help.tabNavigation->currentIndex() == frmHelp::kIndexTab && help.txtKeyword->text().isEmpty());
        QHelpIndexModel *index = help.helpEngine()->indexModel();
        if (index->isCreatingIndex() || index->rowCount() == 0) QVERIFY(QSignalSpy(index, &QHelpIndexModel::indexCreated).wait(kEngineWaitMs));
        QVERIFY(index->rowCount() > 100); // with no keyword, the whole index
        const QList<QPair<QString, QString>> keywords = {{"Main window", "main-window"}, {"Orvane Setup", "setup"},
            {"Orvane FIPS Codes", "counties"}, {"Orvane FIPS Editor", "counties"}, {"Orvane State / Transmitter Entry", "state-transmitter"},
            {"Orvane Event Codes", "event-codes"}, {"Orvane Options", "options"}, {"Orvane Timer Settings", "timers"},
            {"Station Identification", "identification"}, {"Transfer", "transfer-history"}, {"History report", "report"},
            {"Orvane Data Dump", "data-dump"}, {"Orvane SAME Packet Test", "test-packets"}, {"About box", "about"},
            {"Orvane Information Tip", "about"}, {"Error messages", "messages"}, {"Error #500", "messages"}, {"Error #202", "messages"}};
        for (const auto &[keyword, name] : keywords) {
            const QList<QHelpLink> links = help.helpEngine()->documentsForKeyword(keyword);
            QCOMPARE(links.size() == 1 ? links.first().url.fileName() : keyword, name + ".html");
            QVERIFY(!help.helpEngine()->fileData(links.first().url).isEmpty());
        }

        QVERIFY(indexed.count() > 0 || indexed.wait(kEngineWaitMs)); // the window asked for its full-text index
        auto *query = help.findChild<QHelpSearchQueryWidget *>(QStringLiteral("txtSearch"));
        QVERIFY(query && query->isEnabled());

        // Alt+S while the index is made again lands on the results list; the keyboard goes to
        // the search box once the index is ready.
        help.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&help));
        help.showContents(), emit search->indexingStarted(), QTest::keyClick(&help, Qt::Key_S, Qt::AltModifier);
        auto *box = query->findChild<QLineEdit *>();
        QVERIFY(help.tabNavigation->currentIndex() == frmHelp::kSearchTab && QApplication::focusWidget() != box);
        emit search->indexingFinished();
        QCOMPARE(QApplication::focusWidget(), box);
    }

    // Without its file, or with a damaged one, the window says so and where it looked; once the
    // file is there, the next request shows the book.
    void missingOrDamagedHelpFile()
    {
        QTemporaryDir program;
        const QString file = program.path() + QStringLiteral("/Help/orvane.qch");
        QVERIFY(QDir().mkpath(program.path() + QStringLiteral("/Help")));
        for (const char *says : {"The help file is missing.", "may be damaged"}) {
            if (QByteArray(says) == "may be damaged") writeFileBytes(file, "not a help file");
            showHelpWindow({file, HelpCommand::Contents, QString()});
            frmHelp *help = frmHelp::current();
            QVERIFY(help && help->isVisible() && !help->helpAvailable() && !help->tabNavigation->currentWidget()->isEnabled());
            const QString shown = help->brwTopic->toPlainText();
            QVERIFY2(shown.contains(QStringLiteral("The help for the Orvane editor cannot be shown")) && shown.contains(says) &&
                         shown.contains(QDir::toNativeSeparators(file)), qPrintable(shown));
            help->close();
        }
        QVERIFY(doubles().messages.isEmpty() && QFile::remove(file) && QFile::copy(kBuiltHelp, file));
        showHelpWindow({file, HelpCommand::PartialKey, QString()});
        std::unique_ptr<frmHelp> help(frmHelp::current());
        QVERIFY(help && help->helpAvailable() && help->tabNavigation->currentIndex() == frmHelp::kIndexTab);
    }

    // The collection is made once, and made again for another or a changed help file.
    void collectionFollowsTheHelpFile()
    {
        QTemporaryDir place;
        const QString qhc = place.path() + QStringLiteral("/c/orvane.qhc"), copy = place.path() + QStringLiteral("/orvane.qch");
        QVERIFY(QFile::copy(kBuiltHelp, copy));
        QList<bool> rebuilt;
        for (const QString &file : {kBuiltHelp, kBuiltHelp, copy, copy}) {
            bool made = false;
            QCOMPARE(prepareHelpCollection(file, qhc, &made), QString());
            rebuilt << made;
        }
        QCOMPARE(rebuilt, (QList<bool>{true, false, true, false}));
        QHelpEngineCore core(qhc);
        QVERIFY(core.setupData() && core.registeredDocumentations() == QStringList{kHelpNamespace});
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
        for (frmTip *tip = visibleTip(); tip; tip = visibleTip()) tip->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // Nothing stored: the tip follows the main window, not modal, ticked as the menu item. The tip's box on
    // OK and the menu item (not showing the tip) change the setting at once; "Exit" saves it for the next start.
    void tipAndItsSetting()
    {
        QStringList order;
        auto main = start(order);
        QCOMPARE(order, (QStringList{"frmMain", "frmTip"}));
        frmTip *tip = visibleTip();
        QVERIFY(tip && !tip->isModal() && main->mnuTipsShow->isChecked() && tip->chkLoadTipsAtStartup->isChecked());
        QCOMPARE(tip->windowTitle() + u'|' + tip->lblHeading->text() + u'|' + tip->chkLoadTipsAtStartup->text(),
                 QStringLiteral("Orvane Information Tip|Information Tip For You To Know...|&Show Tip at Startup"));
        QCOMPARE(tip->lblTipText->text(), QStringLiteral(
            "Your Orvane contains a database of weather transmitters throughout the United States and it's "
            "Territories.  Since these stations are upgraded, deleted, or added by NOAA every few months,  remember "
            "to periodically check into web site:\n www.example.com\nThere you can download a file to update your "
            "Orvane database.\n\n You can directly access the Web update page from the Orvane \"Help\" menu."));
        QCOMPARE(::tipText(), tip->lblTipText->text().replace(u'\n', QStringLiteral("\r\n")));
        tip->chkLoadTipsAtStartup->setChecked(false), tip->cmdOK->click();
        QVERIFY(!visibleTip() && !ReceiverConfig.EDITOR.ShowTipsAtStartup && !main->mnuTipsShow->isChecked());
        main->cmdMain[10]->click(), main.reset(); // "Exit": saves without asking
        QCOMPARE(doubles().programEnds, 1);
        QCOMPARE(storedSetting("EDITOR/ShowTipsAtStartup"), QStringLiteral("False"));

        main = start(order);
        QCOMPARE(order, QStringList{"frmMain"});
        QVERIFY(!visibleTip() && !main->mnuTipsShow->isChecked() && main->mnuTipsShow->isEnabled());
        main->mnuTipsShow->trigger();
        QVERIFY(ReceiverConfig.EDITOR.ShowTipsAtStartup && main->mnuTipsShow->isChecked() && !visibleTip());
        main->cmdMain[10]->click(), main.reset();
        QCOMPARE(storedSetting("EDITOR/ShowTipsAtStartup"), QStringLiteral("True"));
    }
};

class WebLinksTest : public QObject
{
    Q_OBJECT
private slots:
    void init() { doubles().clear(); }

    // The maker's three pages through the real browser seam and a stand-in xdg-open on PATH: one that finds no
    // browser gives #500; one that succeeds, or one still running when the program stops waiting (the windows answering), none.
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
            : QStringLiteral("n=0; while [ ! -e '%1' ] && [ $n -lt 600 ]; do sleep 0.05; n=$((n+1)); done; : >'%2'").arg(release, released);
        const QString launcher = bin.filePath("xdg-open");
        writeFileBytes(launcher, QStringLiteral("#!/bin/sh\nprintf '%s\\n' \"$*\" >'%1'\n%2\n").arg(bin.filePath("given"), end).toUtf8());
        QVERIFY(QFile::setPermissions(launcher, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(bin.path()) + ':' + path);
        const auto restorePath = qScopeGuard([&path] { qputenv("PATH", path); });
        Platform::setBrowser({});
        frmMain main;
        auto *action = main.findChild<QAction *>(row.item);
        QVERIFY(action && action->isEnabled() && main.mnuBrennick->actions().contains(action) && main.mnuBrennick->menuAction()->isEnabled());
        bool waiting = true, answered = false;
        QTimer::singleShot(0, &main, [&] { answered = waiting; });
        action->trigger(), waiting = false;
        QCOMPARE(shownBoxes(), row.launcherExit > 0 ? QStringList{box("Error #500:  Could not load your Web Browser. ")} : QStringList());
        QCOMPARE(QString::fromUtf8(fileBytes(bin.filePath("given"))).trimmed(), row.address);
        if (row.launcherExit < 0) { // let it go
            QVERIFY(answered);
            writeFileBytes(release, "");
            QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(released), 10000);
        }
    }
};

ORVANE_TEST(HelpTest)
ORVANE_TEST(TipTest)
ORVANE_TEST(WebLinksTest)
#include "DesktopTest.moc"
