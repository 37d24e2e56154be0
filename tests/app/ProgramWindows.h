#pragma once
// The program's windows opened as the program shows them, for the tests that walk them all
// (keyboard access, accessible actions).

#include "config/ConfigTestSupport.h"
#include "selection/SelectionTestSupport.h"

#include "app/frmMain.h"
#include "app/frmSplash.h"
#include "diagnostics/frmAbout.h"
#include "diagnostics/frmDataDump.h"
#include "diagnostics/frmHelp.h"
#include "diagnostics/frmTip.h"
#include "editors/frmIdent.h"
#include "editors/frmOption.h"
#include "editors/frmTimers.h"
#include "link/frmCommPort.h"
#include "link/frmTest.h"
#include "selection/StateDatabase.h"
#include "selection/frmEnterFIP.h"
#include "selection/frmEvent.h"
#include "selection/frmFIPEdit.h"
#include "selection/frmFIPS.h"

#include <QHelpSearchEngine>
#include <QPointer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <memory>

// One window at a time, over a fresh main window; "frmHelp contents", "frmHelp index" and
// "frmHelp search" open the help window at that page.
class ProgramWindows
{
public:
    explicit ProgramWindows(const QString &helpFile) : kBuiltHelp(helpFile) {}

    std::unique_ptr<frmMain> main;

    // Opens the window as the program shows it and returns it active, with its first focus.
    QWidget *open(const QString &name)
    {
        main = std::make_unique<frmMain>();
        QWidget *window = nullptr;
        if (name == QLatin1String("frmMain")) {
            window = main.get();
        } else if (name == QLatin1String("frmFIPS") || name == QLatin1String("frmEnterFIP")) {
            setStatesDirectory(committedStatesDir());
            ReceiverConfig.EDITOR.StateID = 8;
            ReceiverConfig.EDITOR.TransmitterLocation = QStringLiteral(" West Palm Beach, FL     162.475");
            initStateSelection();
            shared = name == QLatin1String("frmFIPS") ? static_cast<QWidget *>(frmFIPS::instance())
                                                     : static_cast<QWidget *>(frmEnterFIP::instance());
            window = shared;
        } else {
            if (name == QLatin1String("frmSplash"))
                owned = new frmSplash;
            else if (name == QLatin1String("frmCommPort")) {
                ReceiverConfig.EDITOR.SerialPort = 2;
                owned = new frmCommPort(main.get());
            } else if (name == QLatin1String("frmFIPEdit")) {
                FipsEditMode = 2;
                FipsEditSource = QStringLiteral("012011  Broward                Florida");
                owned = new frmFIPEdit(main.get());
            } else if (name == QLatin1String("frmEvent"))
                owned = new frmEvent(main.get());
            else if (name == QLatin1String("frmOption")) {
                ReceiverConfig.NV800B.VoiceIntervalLine = true;
                ReceiverConfig.NV800B.VocWarningsWatch = true;
                owned = new frmOption(main.get());
            } else if (name == QLatin1String("frmTimers")) {
                ReceiverConfig.NV800B.VoiceIntervalLine = true; // the interval timer in use
                owned = new frmTimers(main.get());
            }
            else if (name == QLatin1String("frmIdent")) {
                ReceiverConfig.NV8007.GiveStationID = true;
                owned = new frmIdent(main.get());
            } else if (name == QLatin1String("frmTest"))
                owned = new frmTest(main.get());
            else if (name == QLatin1String("frmAbout"))
                owned = new frmAbout(main.get());
            else if (name == QLatin1String("frmTip"))
                owned = new frmTip(main->mnuTipsShow, main.get());
            else if (name == QLatin1String("frmDataDump"))
                owned = new frmDataDump(main.get());
            else if (name.startsWith(QLatin1String("frmHelp"))) {
                owned = new frmHelp(kBuiltHelp, helpCache.path() + QStringLiteral("/orvane.qhc"));
                auto *search = owned->findChild<QHelpSearchEngine *>();
                if (!search)
                    return nullptr;
                indexed = std::make_unique<QSignalSpy>(search, &QHelpSearchEngine::indexingFinished);
            }
            window = owned;
        }
        if (name != QLatin1String("frmMain"))
            main->show();
        window->show();
        window->activateWindow();
        // The splash screen has nothing to type into and is never the active window.
        if (name == QLatin1String("frmSplash") ? !QTest::qWaitForWindowExposed(window)
                                                : !QTest::qWaitForWindowActive(window))
            return nullptr;
        if (auto *help = qobject_cast<frmHelp *>(window)) {
            if (name.endsWith(QLatin1String("index")))
                help->showKeywordSearch(QString());
            else if (name.endsWith(QLatin1String("search"))) {
                help->showContents();
                // The search box waits while the help is being indexed.
                QWidget *query = help->findChild<QWidget *>(QStringLiteral("txtSearch"));
                if (!query || (indexed->isEmpty() && !indexed->wait(20000)) || !query->isEnabled())
                    return nullptr;
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_S, Qt::AltModifier);
                // Showing the page may index the help again; the box then gets the keyboard back.
                if (!QTest::qWaitFor([query] { return query->isEnabled() && QApplication::focusWidget(); }, 10000))
                    return nullptr;
            }
            else
                help->showContents();
        }
        QCoreApplication::processEvents();
        return window;
    }


    // Closes what open() opened; the county and state windows live on, hidden.
    void close()
    {
        closeModalWindows();
        indexed.reset();
        delete owned.data(); // the tip window deletes itself when it closes
        if (shared)
            shared->hide();
        main.reset();
        setStatesDirectory(QString());
    }

private:
    const QString kBuiltHelp;
    QPointer<QWidget> owned;
    QPointer<QWidget> shared; // a window that lives for the whole run, hidden again afterwards
    QTemporaryDir helpCache;
    std::unique_ptr<QSignalSpy> indexed; // the help window's search index is ready
};
