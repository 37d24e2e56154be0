#include "support/Doubles.h"
#include "support/TestRegistry.h"

#include "app/frmMain.h"
#include "diagnostics/HelpBook.h"
#include "diagnostics/frmHelp.h"

#include <QAction>
#include <QDir>
#include <QTest>
#include <QFile>
#include <QFileInfo>
#include <QHelpContentWidget>
#include <QHelpEngine>
#include <QHelpIndexWidget>
#include <QHelpLink>
#include <QHelpSearchEngine>
#include <QHelpSearchQueryWidget>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTemporaryDir>

namespace {

const QString kBuiltHelp = QStringLiteral(ORVANE_BUILT_HELP_FILE);
// Waits for the help engine's background work; generous, since only a fault makes it last.
constexpr int kEngineWaitMs = 30000;

} // namespace

class HelpTest : public QObject
{
    Q_OBJECT

    QTemporaryDir cache;
    QString collection() const { return cache.path() + QStringLiteral("/help/orvane.qhc"); }

private slots:
    void init() { doubles().clear(); }

    // The build compiled the help book beside the program.
    void helpFileBuiltBesideTheProgram()
    {
        QVERIFY2(QFileInfo(kBuiltHelp).isFile(), qPrintable(kBuiltHelp));
        QCOMPARE(QFileInfo(kBuiltHelp).fileName(), kHelpFileName);
        QCOMPARE(QFileInfo(kBuiltHelp).dir().dirName(), QStringLiteral("Help"));
        QVERIFY(helpFilePath().endsWith(QStringLiteral("/Help/orvane.qch")));
        QVERIFY(helpFilePath().startsWith(QCoreApplication::applicationDirPath()));
    }

    // "Display Help" and "&Help Contents" ask for the contents, "&Search For Help On..." for
    // the keyword search with an empty keyword, both of the help file beside the program.
    void mainWindowRequests_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<int>("command");
        // The help commands by number: 3 the contents, 0x105 the keyword search.
        QTest::newRow("Display Help") << "cmdMain_9" << 3;
        QTest::newRow("Help Contents") << "mnuHelpContents" << 3;
        QTest::newRow("Search For Help On") << "mnuSearchHelp" << 0x105;
    }
    void mainWindowRequests()
    {
        QFETCH(QString, control);
        QFETCH(int, command);
        frmMain main;
        if (auto *button = main.findChild<QPushButton *>(control)) {
            QVERIFY(button->isEnabled());
            button->click();
        } else {
            auto *item = main.findChild<QAction *>(control);
            QVERIFY(item && item->isEnabled());
            item->trigger();
        }
        QCOMPARE(doubles().helpRequests.size(), 1);
        const HelpRequest &request = doubles().helpRequests.first();
        QCOMPARE(int(request.command), command);
        QCOMPARE(request.keyword, QString());
        QCOMPARE(request.helpFile, helpFilePath());
        QVERIFY(doubles().messages.isEmpty());
    }

    void opensAtContents()
    {
        frmHelp help(kBuiltHelp, collection());
        QVERIFY2(help.helpAvailable(), qPrintable(help.problem()));
        help.show();
        help.showContents();
        QCOMPARE(help.tabNavigation->currentIndex(), int(frmHelp::kContentsTab));
        QCOMPARE(help.brwTopic->source(), helpPageUrl(QStringLiteral("index.html")));
        QCOMPARE(help.brwTopic->documentTitle(), QStringLiteral("Orvane Editor Help"));

        // The contents tree holds the book with a page per chapter.
        QHelpContentModel *contents = help.helpEngine()->contentModel();
        if (contents->isCreatingContents() || contents->rowCount() == 0)
            QVERIFY(QSignalSpy(contents, &QHelpContentModel::contentsCreated).wait(kEngineWaitMs));
        QCOMPARE(contents->rowCount(), 1);
        QVERIFY(contents->rowCount(contents->index(0, 0)) >= 14);

        // One click on an entry opens its page.
        QHelpContentWidget *tree = help.helpEngine()->contentWidget();
        const QModelIndex entry = contents->index(3, 0, contents->index(0, 0));
        const QUrl page = contents->contentItemAt(entry)->url();
        QVERIFY(page != help.brwTopic->source());
        tree->scrollTo(entry);
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualRect(entry).center());
        QCOMPARE(help.brwTopic->source(), page);

        // A link inside the book opens in the window.
        help.showPage(helpPageUrl(QStringLiteral("timers.html")));
        QVERIFY(help.brwTopic->toPlainText().contains(QStringLiteral("Relay Activation Delay")));
    }

    void opensAtEmptyKeywordSearch()
    {
        frmHelp help(kBuiltHelp, collection());
        QVERIFY(help.helpAvailable());
        help.show();
        help.txtKeyword->setText(QStringLiteral("timers"));
        help.showKeywordSearch(QString());
        QCOMPARE(help.tabNavigation->currentIndex(), int(frmHelp::kIndexTab));
        QCOMPARE(help.txtKeyword->text(), QString());
        QHelpIndexModel *index = help.helpEngine()->indexModel();
        if (index->isCreatingIndex() || index->rowCount() == 0)
            QVERIFY(QSignalSpy(index, &QHelpIndexModel::indexCreated).wait(kEngineWaitMs));
        // With no keyword, the whole index is listed.
        QVERIFY(index->rowCount() > 100);
        QVERIFY(index->stringList().contains(QStringLiteral("Error #202")));
    }

    // A keyword for every window of the program leads to its page.
    void keywordForEveryWindow_data()
    {
        QTest::addColumn<QString>("keyword");
        QTest::addColumn<QString>("page");
        QTest::newRow("main window") << "Main window" << "main-window.html";
        QTest::newRow("setup") << "Orvane Setup" << "setup.html";
        QTest::newRow("counties") << "Orvane FIPS Codes" << "counties.html";
        QTest::newRow("county editor") << "Orvane FIPS Editor" << "counties.html";
        QTest::newRow("state and transmitter") << "Orvane State / Transmitter Entry" << "state-transmitter.html";
        QTest::newRow("event codes") << "Orvane Event Codes" << "event-codes.html";
        QTest::newRow("options") << "Orvane Options" << "options.html";
        QTest::newRow("timers") << "Orvane Timer Settings" << "timers.html";
        QTest::newRow("identification") << "Station Identification" << "identification.html";
        QTest::newRow("transfer and history") << "Transfer" << "transfer-history.html";
        QTest::newRow("report") << "History report" << "report.html";
        QTest::newRow("data dump") << "Orvane Data Dump" << "data-dump.html";
        QTest::newRow("test packets") << "Orvane SAME Packet Test" << "test-packets.html";
        QTest::newRow("about") << "About box" << "about.html";
        QTest::newRow("tip") << "Orvane Information Tip" << "about.html";
        QTest::newRow("messages") << "Error messages" << "messages.html";
        QTest::newRow("an error") << "Error #500" << "messages.html";
    }
    void keywordForEveryWindow()
    {
        QFETCH(QString, keyword);
        QFETCH(QString, page);
        frmHelp help(kBuiltHelp, collection());
        QVERIFY(help.helpAvailable());
        const QList<QHelpLink> links = help.helpEngine()->documentsForKeyword(keyword);
        QCOMPARE(links.size(), 1);
        QCOMPARE(links.first().url.fileName(), page);
        // The page is in the book and shows.
        QVERIFY(!help.helpEngine()->fileData(links.first().url).isEmpty());
    }

    // The full-text search finds the step-by-step test packet procedure.
    void searchFindsTestPacketProcedure()
    {
        frmHelp help(kBuiltHelp, collection());
        QVERIFY(help.helpAvailable());
        QHelpSearchEngine *search = help.helpEngine()->searchEngine();
        // The window has asked for its full-text index; the search waits until it is made.
        QSignalSpy indexed(search, &QHelpSearchEngine::indexingFinished);
        QVERIFY(indexed.wait(kEngineWaitMs));
        // Typed into the window's Search tab.
        auto *query = help.findChild<QHelpSearchQueryWidget *>(QStringLiteral("txtSearch"));
        QVERIFY(query && query->isEnabled());
        query->setSearchInput(QStringLiteral("test packet procedure"));
        QPushButton *go = nullptr;
        for (QPushButton *button : query->findChildren<QPushButton *>())
            if (button->text().contains(QStringLiteral("Search")))
                go = button;
        QVERIFY(go);
        QSignalSpy found(search, &QHelpSearchEngine::searchingFinished);
        go->click();
        QVERIFY(found.count() == 1 || found.wait(kEngineWaitMs));
        QStringList pages;
        for (const QHelpSearchResult &hit : search->searchResults(0, search->searchResultCount()))
            pages << hit.url().fileName();
        QVERIFY2(pages.contains(QStringLiteral("test-packets.html")), qPrintable(pages.join(u' ')));
    }

    // Without its file, or with a damaged one, the window says so and where it looked.
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
        if (!content.isEmpty()) {
            QDir().mkpath(program.path() + QStringLiteral("/Help"));
            QFile damaged(file);
            QVERIFY(damaged.open(QIODevice::WriteOnly));
            damaged.write(content);
        }
        showHelpWindow({file, HelpCommand::Contents, QString()});
        frmHelp *help = frmHelp::current();
        QVERIFY(help);
        QVERIFY(help->isVisible());
        QVERIFY(!help->helpAvailable());
        const QString shown = help->brwTopic->toPlainText();
        QVERIFY(shown.contains(QStringLiteral("The help for the Orvane editor cannot be shown")));
        QVERIFY2(shown.contains(says), qPrintable(shown));
        QVERIFY(shown.contains(QDir::toNativeSeparators(file)));
        QVERIFY(!help->tabNavigation->currentWidget()->isEnabled());
        QVERIFY(doubles().messages.isEmpty());
        help->close();

        // Once the file is there, the next request shows the book.
        QFile::remove(file);
        QDir().mkpath(program.path() + QStringLiteral("/Help"));
        QVERIFY(QFile::copy(kBuiltHelp, file));
        showHelpWindow({file, HelpCommand::PartialKey, QString()});
        help = frmHelp::current();
        QVERIFY(help);
        QVERIFY(help->helpAvailable());
        QCOMPARE(help->tabNavigation->currentIndex(), int(frmHelp::kIndexTab));
        delete help;
    }

    // The collection is made once, and made again for another or a changed help file.
    void collectionFollowsTheHelpFile()
    {
        QTemporaryDir place;
        const QString qhc = place.path() + QStringLiteral("/c/orvane.qhc");
        bool rebuilt = false;
        QCOMPARE(prepareHelpCollection(kBuiltHelp, qhc, &rebuilt), QString());
        QVERIFY(rebuilt);
        QCOMPARE(prepareHelpCollection(kBuiltHelp, qhc, &rebuilt), QString());
        QVERIFY(!rebuilt);
        const QString copy = place.path() + QStringLiteral("/orvane.qch");
        QVERIFY(QFile::copy(kBuiltHelp, copy));
        QCOMPARE(prepareHelpCollection(copy, qhc, &rebuilt), QString());
        QVERIFY(rebuilt);
        QHelpEngineCore core(qhc);
        QVERIFY(core.setupData());
        QCOMPARE(core.registeredDocumentations(), QStringList{kHelpNamespace});
        QCOMPARE(core.documentationFileName(kHelpNamespace), QFileInfo(copy).absoluteFilePath());
    }
};

ORVANE_TEST(HelpTest)
#include "HelpTest.moc"
