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
#include <functional>
#include <memory>

// One window at a time, over a fresh main window; "frmHelp contents", "frmHelp index" and
// "frmHelp search" open the help window at that page.
class ProgramWindows
{
public:
    std::unique_ptr<frmMain> main;

    // Opens the window as the program shows it and returns it active, with its first focus.
    QWidget *open(const QString &name)
    {
        main = std::make_unique<frmMain>();
        frmMain *m = main.get();
        auto &r = ReceiverConfig;
        // The record a window opens with where it matters, and the window.
        const QMap<QString, std::function<QWidget *()>> windows = {
            {"frmSplash", [] { return new frmSplash; }},
            {"frmCommPort", [&] { r.EDITOR.SerialPort = 2; return new frmCommPort(m); }},
            {"frmFIPEdit", [&] {
                 FipsEditMode = 2;
                 FipsEditSource = QStringLiteral("012011  Broward                Florida");
                 return new frmFIPEdit(m); }},
            {"frmEvent", [&] { return new frmEvent(m); }},
            {"frmOption", [&] { r.NV800B.VoiceIntervalLine = r.NV800B.VocWarningsWatch = true; return new frmOption(m); }},
            {"frmTimers", [&] { r.NV800B.VoiceIntervalLine = true; return new frmTimers(m); }}, // the interval timer in use
            {"frmIdent", [&] { r.NV8007.GiveStationID = true; return new frmIdent(m); }},
            {"frmTest", [&] { return new frmTest(m); }},
            {"frmAbout", [&] { return new frmAbout(m); }},
            {"frmTip", [&] { return new frmTip(m->mnuTipsShow, m); }},
            {"frmDataDump", [&] { return new frmDataDump(m); }},
            {"frmHelp", [&] { return new frmHelp(QStringLiteral(ORVANE_BUILT_HELP_FILE), helpCache.path() + QStringLiteral("/orvane.qhc")); }}};
        QWidget *window = m;
        if (name == QLatin1String("frmFIPS") || name == QLatin1String("frmEnterFIP")) {
            setStatesDirectory(committedStatesDir());
            r.EDITOR.StateID = 8;
            r.EDITOR.TransmitterLocation = QStringLiteral(" West Palm Beach, FL     162.475");
            initStateSelection();
            window = shared = name == QLatin1String("frmFIPS") ? static_cast<QWidget *>(frmFIPS::instance())
                                                               : static_cast<QWidget *>(frmEnterFIP::instance());
        } else if (name != QLatin1String("frmMain")) {
            window = owned = windows.value(name.section(u' ', 0, 0))();
            if (auto *search = owned->findChild<QHelpSearchEngine *>())
                indexed = std::make_unique<QSignalSpy>(search, &QHelpSearchEngine::indexingFinished);
            else if (qobject_cast<frmHelp *>(owned))
                return nullptr;
        }
        if (window != m)
            m->show();
        window->show();
        window->activateWindow();
        // The splash screen has nothing to type into and is never the active window.
        if (name == QLatin1String("frmSplash") ? !QTest::qWaitForWindowExposed(window) : !QTest::qWaitForWindowActive(window))
            return nullptr;
        if (auto *help = qobject_cast<frmHelp *>(window)) {
            if (name.endsWith(QLatin1String("index"))) {
                help->showKeywordSearch(QString());
            } else if (help->showContents(); name.endsWith(QLatin1String("search"))) {
                // The search box waits while the help is being indexed.
                QWidget *query = help->findChild<QWidget *>(QStringLiteral("txtSearch"));
                if (!query || (indexed->isEmpty() && !indexed->wait(20000)) || !query->isEnabled())
                    return nullptr;
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_S, Qt::AltModifier);
                // Showing the page may index the help again; the box then gets the keyboard back.
                if (!QTest::qWaitFor([query] { return query->isEnabled() && QApplication::focusWidget(); }, 10000))
                    return nullptr;
            }
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
    QPointer<QWidget> owned;
    QPointer<QWidget> shared; // a window that lives for the whole run, hidden again afterwards
    QTemporaryDir helpCache;
    std::unique_ptr<QSignalSpy> indexed; // the help window's search index is ready
};
