#pragma once
// The help window: the help book's contents, its keyword index and a full-text search on
// the left, the page on the right. It is the program's help viewer (Platform::showHelp).

#include "core/Platform.h"

#include <QMainWindow>
#include <QTextBrowser>

class QHelpEngine;
class QLineEdit;
class QTabWidget;

// Shows the pages of the help engine; addresses outside the help book go to the browser.
class HelpBrowser : public QTextBrowser
{
    Q_OBJECT
public:
    explicit HelpBrowser(QWidget *parent = nullptr);
    void setEngine(QHelpEngine *engine) { helpEngine = engine; }
    QVariant loadResource(int type, const QUrl &name) override;

private:
    void followLink(const QUrl &url);
    QHelpEngine *helpEngine = nullptr;
};

class frmHelp : public QMainWindow
{
    Q_OBJECT
public:
    // Opens helpFile through a help collection at `collection` (the user's cache by default).
    explicit frmHelp(const QString &helpFile, const QString &collection = QString(), QWidget *parent = nullptr);

    // The window for the request; made on first use and kept for the run.
    static frmHelp *forRequest(const HelpRequest &request);
    // The window of the last request, if it is still there.
    static frmHelp *current();

    QString helpFile() const { return file; }
    bool helpAvailable() const { return engine != nullptr; }
    // What the window says when it cannot show the help (empty when it can).
    QString problem() const { return failure; }
    QHelpEngine *helpEngine() const { return engine; }

    void showContents();
    void showKeywordSearch(const QString &keyword);
    void showPage(const QUrl &url);

    QTabWidget *tabNavigation = nullptr;
    QLineEdit *txtKeyword = nullptr;
    HelpBrowser *brwTopic = nullptr;

    static constexpr int kContentsTab = 0, kIndexTab = 1, kSearchTab = 2;

private:
    void showMissingHelp();

    QString file;
    QString failure;
    QHelpEngine *engine = nullptr;
};

// The program's help viewer: shows the help window for the request, raised.
void showHelpWindow(const HelpRequest &request);

// The page the window shows when the help file is missing or cannot be read.
QString missingHelpText(const QString &helpFile, const QString &problem);
