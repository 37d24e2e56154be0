#include "diagnostics/frmHelp.h"

#include "core/Artwork.h"
#include "core/KeyboardAccess.h"
#include "diagnostics/HelpBook.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QHelpContentWidget>
#include <QHelpEngine>
#include <QHelpIndexWidget>
#include <QHelpLink>
#include <QHelpSearchEngine>
#include <QHelpSearchQueryWidget>
#include <QHelpSearchResultWidget>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QSplitter>
#include <QTabWidget>
#include <QTextBrowser>
#include <QToolButton>
#include <QVBoxLayout>

HelpBrowser::HelpBrowser(QWidget *parent) : QTextBrowser(parent)
{
    setOpenLinks(false);
    connect(this, &QTextBrowser::anchorClicked, this, &HelpBrowser::followLink);
}

QVariant HelpBrowser::loadResource(int type, const QUrl &name)
{
    if (helpEngine && name.scheme() == QLatin1String("qthelp"))
        return helpEngine->fileData(name);
    return QTextBrowser::loadResource(type, name);
}

void HelpBrowser::followLink(const QUrl &url)
{
    if (url.scheme() == QLatin1String("qthelp") || url.isRelative())
        setSource(source().resolved(url));
    else
        Platform::openUrl(url); // the maker's web pages and mail addresses
}

QString missingHelpText(const QString &helpFile, const QString &problem)
{
    return QStringLiteral("<h2>The help for the Orvane editor cannot be shown</h2>"
                          "<p>%1</p>"
                          "<p>The editor looks for its help file here:<br><tt>%2</tt></p>"
                          "<p>The file is delivered with the editor, in the folder <tt>Help</tt> beside the "
                          "program. Install the editor again to restore it. Everything else in the editor "
                          "works without it.</p>")
        .arg(problem.toHtmlEscaped(), QDir::toNativeSeparators(helpFile).toHtmlEscaped());
}

namespace {

// Gives the focus to the first control of `page` that Tab would reach.
void focusFirstControl(QWidget *page)
{
    if (!page)
        return;
    for (QWidget *w = page->nextInFocusChain(); w && w != page; w = w->nextInFocusChain())
        if (page->isAncestorOf(w) && (w->focusPolicy() & Qt::TabFocus) == Qt::TabFocus && w->isVisible() &&
            w->isEnabled() && !w->focusProxy()) {
            w->setFocus(Qt::ShortcutFocusReason);
            return;
        }
}

} // namespace

frmHelp::frmHelp(const QString &helpFile, const QString &collection, QWidget *parent)
    : QMainWindow(parent), file(helpFile)
{
    setObjectName(QStringLiteral("frmHelp"));
    setWindowTitle(QStringLiteral("Orvane Help"));
    setWindowIcon(QIcon(programIcon()));
    resize(960, 680);

    brwTopic = new HelpBrowser(this);
    brwTopic->setObjectName(QStringLiteral("brwTopic"));
    brwTopic->setAccessibleName(QStringLiteral("Help Topic"));
    tabNavigation = new QTabWidget(this);
    tabNavigation->setObjectName(QStringLiteral("tabNavigation"));
    tabNavigation->setAccessibleName(QStringLiteral("Help Navigation"));

    // A tab chosen by its letter (Alt+C, Alt+I, Alt+S) takes the keyboard into its page; on
    // the tab bar itself the arrow keys keep the focus there.
    connect(tabNavigation, &QTabWidget::currentChanged, this, [this] {
        if (QApplication::focusWidget() != tabNavigation->tabBar())
            focusFirstControl(tabNavigation->currentWidget());
    });

    auto *splitter = new QSplitter(this);
    splitter->addWidget(tabNavigation);
    splitter->addWidget(brwTopic);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({290, 670});
    setCentralWidget(splitter);

    const QString place = collection.isEmpty() ? helpCollectionPath() : collection;
    failure = prepareHelpCollection(helpFile, place);
    if (failure.isEmpty()) {
        engine = new QHelpEngine(place, this);
        if (!engine->setupData()) {
            failure = QStringLiteral("The help index cannot be opened. ") + engine->error();
            delete engine;
            engine = nullptr;
        }
    }

    // The three tabs exist in either case, so the window looks the same without its book.
    auto *contentsPage = new QWidget;
    auto *indexPage = new QWidget;
    auto *searchPage = new QWidget;
    tabNavigation->addTab(contentsPage, QStringLiteral("&Contents"));
    tabNavigation->addTab(indexPage, QStringLiteral("&Index"));
    tabNavigation->addTab(searchPage, QStringLiteral("&Search"));
    auto *contentsLayout = new QVBoxLayout(contentsPage);
    auto *indexLayout = new QVBoxLayout(indexPage);
    auto *searchLayout = new QVBoxLayout(searchPage);

    auto *keywordLabel = new QLabel(QStringLiteral("&Type the keyword to find:"), indexPage);
    txtKeyword = new QLineEdit(indexPage);
    txtKeyword->setObjectName(QStringLiteral("txtKeyword"));
    txtKeyword->setClearButtonEnabled(true);
    keywordLabel->setBuddy(txtKeyword);
    indexLayout->addWidget(keywordLabel);
    indexLayout->addWidget(txtKeyword);

    if (!engine) {
        showMissingHelp();
        return;
    }
    brwTopic->setEngine(engine);

    QHelpContentWidget *contents = engine->contentWidget();
    contents->setObjectName(QStringLiteral("lstContents"));
    contents->setAccessibleName(QStringLiteral("Contents"));
    contentsLayout->addWidget(contents);
    connect(contents, &QHelpContentWidget::linkActivated, this, &frmHelp::showPage);
    currentFollowsSelection(contents);
    // One click on an entry opens its page, as in help viewers (activation alone takes a
    // double click with most styles).
    connect(contents, &QHelpContentWidget::clicked, this, [this](const QModelIndex &index) {
        if (const QHelpContentItem *item = engine->contentModel()->contentItemAt(index))
            showPage(item->url());
    });
    connect(engine->contentModel(), &QHelpContentModel::contentsCreated, this, [this, contents] {
        contents->expandToDepth(0);
        const QModelIndex at = contents->indexOf(brwTopic->source());
        if (at.isValid())
            contents->setCurrentIndex(at);
    });

    QHelpIndexWidget *index = engine->indexWidget();
    index->setObjectName(QStringLiteral("lstIndex"));
    index->setAccessibleName(QStringLiteral("Index"));
    indexLayout->addWidget(index);
    setTabOrder(txtKeyword, index); // the keyword box first, as it is read
    currentFollowsSelection(index);
    connect(txtKeyword, &QLineEdit::textChanged, index, [index](const QString &text) { index->filterIndices(text); });
    connect(txtKeyword, &QLineEdit::returnPressed, index, &QHelpIndexWidget::activateCurrentItem);
    connect(index, &QHelpIndexWidget::documentActivated, this,
            [this](const QHelpLink &document, const QString &) { showPage(document.url); });
    connect(index, &QHelpIndexWidget::documentsActivated, this,
            [this](const QList<QHelpLink> &documents, const QString &) {
                if (!documents.isEmpty())
                    showPage(documents.first().url);
            });
    // The list follows the keyword once the engine has read its index.
    connect(engine->indexModel(), &QHelpIndexModel::indexCreated, this,
            [this, index] { index->filterIndices(txtKeyword->text()); });

    QHelpSearchEngine *search = engine->searchEngine();
    QHelpSearchQueryWidget *query = search->queryWidget();
    query->setObjectName(QStringLiteral("txtSearch"));
    QHelpSearchResultWidget *results = search->resultWidget();
    results->setObjectName(QStringLiteral("lstSearchResults"));
    query->setAccessibleName(QStringLiteral("Search"));
    // The search words' box has no caption of its own.
    for (QLineEdit *words : query->findChildren<QLineEdit *>())
        words->setAccessibleName(QStringLiteral("Search For"));
    results->setAccessibleName(QStringLiteral("Search Results"));
    for (QTextBrowser *list : results->findChildren<QTextBrowser *>())
        list->setAccessibleName(QStringLiteral("Search Results"));
    // The result pages' buttons show pictures only: first, previous, next and last page.
    const QList<QToolButton *> pageButtons = results->findChildren<QToolButton *>();
    const QStringList pageNames = {QStringLiteral("First Page"), QStringLiteral("Previous Page"),
                                   QStringLiteral("Next Page"), QStringLiteral("Last Page")};
    if (pageButtons.size() == pageNames.size())
        for (int i = 0; i < pageButtons.size(); ++i)
            if (pageButtons[i]->text().isEmpty() && pageButtons[i]->accessibleName().isEmpty()) {
                pageButtons[i]->setAccessibleName(pageNames[i]);
                pageButtons[i]->setToolTip(pageNames[i]);
            }
    searchLayout->addWidget(query);
    searchLayout->addWidget(results, 1);
    connect(query, &QHelpSearchQueryWidget::search, search, [search, query] { search->search(query->searchInput()); });
    connect(results, &QHelpSearchResultWidget::requestShowLink, this, &frmHelp::showPage);
    // A search is only as good as its index: it waits while the index is being made.
    connect(search, &QHelpSearchEngine::indexingStarted, query, [query] { query->setEnabled(false); });
    // The box lost the keyboard when it was disabled: it gets it back if nothing else took it,
    // or if only the page's results list did (Alt+S while the index was made lands there).
    connect(search, &QHelpSearchEngine::indexingFinished, query, [this, query, results] {
        query->setEnabled(true);
        QWidget *focus = QApplication::focusWidget();
        if (isActiveWindow() && tabNavigation->currentIndex() == kSearchTab &&
            (!focus || !isAncestorOf(focus) || focus == results || results->isAncestorOf(focus)))
            focusFirstControl(tabNavigation->currentWidget());
    });
    search->scheduleIndexDocumentation();
}

void frmHelp::showMissingHelp()
{
    for (int i = 0; i < tabNavigation->count(); ++i)
        tabNavigation->widget(i)->setEnabled(false);
    brwTopic->setHtml(missingHelpText(file, failure));
}

void frmHelp::showPage(const QUrl &url)
{
    if (engine)
        brwTopic->setSource(url);
}

void frmHelp::showContents()
{
    tabNavigation->setCurrentIndex(kContentsTab);
    if (!engine)
        return;
    showPage(helpPageUrl(kHelpContentsPage));
    auto *contents = engine->contentWidget();
    const QModelIndex at = contents->indexOf(brwTopic->source());
    if (at.isValid())
        contents->setCurrentIndex(at);
    contents->setFocus();
}

void frmHelp::showKeywordSearch(const QString &keyword)
{
    tabNavigation->setCurrentIndex(kIndexTab);
    txtKeyword->setText(keyword);
    if (engine)
        engine->indexWidget()->filterIndices(keyword);
    txtKeyword->setFocus();
    if (engine && brwTopic->source().isEmpty())
        showPage(helpPageUrl(kHelpContentsPage));
}

namespace {
QPointer<frmHelp> theHelpWindow;
} // namespace

frmHelp *frmHelp::current() { return theHelpWindow; }

frmHelp *frmHelp::forRequest(const HelpRequest &request)
{
    // A window that could not show its book tries again: the file may be back.
    if (theHelpWindow && (theHelpWindow->helpFile() != request.helpFile || !theHelpWindow->helpAvailable())) {
        delete theHelpWindow;
        theHelpWindow = nullptr;
    }
    if (!theHelpWindow) {
        theHelpWindow = new frmHelp(request.helpFile);
        theHelpWindow->setAttribute(Qt::WA_DeleteOnClose, false);
    }
    return theHelpWindow;
}

void showHelpWindow(const HelpRequest &request)
{
    frmHelp *window = frmHelp::forRequest(request);
    if (request.command == HelpCommand::PartialKey)
        window->showKeywordSearch(request.keyword);
    else
        window->showContents();
    window->show();
    window->raise();
    window->activateWindow();
}
