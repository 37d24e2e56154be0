// "Transfer Data Between PC and Orvane" on the main window: the exchange itself runs on the
// receiver link; this window clears and fills its history grid, menus and status panel 2.

#include "app/frmMain.h"

#include "config/ReceiverConfig.h"
#include "history/HistoryReport.h"
#include "history/HistoryView.h"
#include "link/HistoryDecoding.h"
#include "link/ReceiverLink.h"
#include "link/Transfer.h"
#include "link/TransferData.h"

#include <QAction>
#include <QMenu>
#include <QProgressBar>

void frmMain::EstConnect()
{
    // Refused (with a beep) while another operation talks to the receiver: then the window
    // keeps what that operation shows.
    runTransferExchange(
        ReceiverLink::instance(),
        [this] {
            XferRomVersion();
            mnuHistory[1]->setChecked(true);
            mnuHistory[2]->setChecked(false);
            decodeHistory();
            showHistoryGroup(*historyGrid, 0);
            HistoryOnScreen = true;
            prgXfer->setValue(0);
            prgXfer->setVisible(false);
            mnuView->menuAction()->setEnabled(true);
            mnuSaveAs->setEnabled(true);
        },
        [this] {
            setStatusPanelText(1, QString());
            setStatusPanelText(2, QString());
            mnuView->menuAction()->setEnabled(false);
            mnuSaveAs->setEnabled(false);
            clearHistoryGrid(*historyGrid);
            HistoryOnScreen = false;
        });
}

void frmMain::XferRomVersion()
{
    ReceiverConfig.EDITOR.ReceiverVersion = romVersionFromDownload(ReceiverLink::instance().DownloadBuffer);
    setStatusPanelText(2, QStringLiteral("Orvane ROM Version = ") + ReceiverConfig.EDITOR.ReceiverVersion);
}
