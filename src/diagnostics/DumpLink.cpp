#include "diagnostics/DumpLink.h"

#include "app/frmMain.h"
#include "link/LinkState.h"
#include "link/PortCtl.h"

#include <QProgressBar>
#include <QTimer>

namespace DumpLink {

bool openLink() { return ::openLink(); }
void closeLink() { ::closeLink(); }
PortCtl *port() { return linkPort(); }
bool portOpen() { return port() && port()->isOpen(); }

void discardWaiting()
{
    if (PortCtl *p = port())
        while (p->portReadByte() != -1) {
        }
}

void startTimeout(int designedMs) { startLinkTimeout(designedMs); }

void stopTimeout()
{
    if (frmMain *main = frmMain::instance())
        main->tmrTimeOut->stop();
}

void clearTimedOut() { TransferTimedOut = false; }
void waitForActivity() { waitForLinkActivity(); }
bool waitOver() { return linkWaitOver(); }

void setProgress(int maximum, int value)
{
    if (frmMain *main = frmMain::instance()) {
        main->prgXfer->setMaximum(maximum);
        main->prgXfer->setValue(value);
    }
}

} // namespace DumpLink
