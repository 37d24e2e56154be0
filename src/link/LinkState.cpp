#include "link/LinkState.h"

#include "core/MessageCatalogue.h"
#include "app/frmMain.h"
#include "config/ReceiverConfig.h"
#include "link/PortCtl.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <cmath>

bool PortOpenState = false;
bool LinkConnected = false;
bool TransferTimedOut = false;
std::array<quint8, 608> TransferImage{};
std::array<quint8, 1298> DownloadBuffer{};

namespace {
double timeScale = 1.0;
}

PortCtl *linkPort()
{
    frmMain *main = frmMain::instance();
    return main ? main->Port1 : nullptr;
}

void setLinkTimeScale(double scale) { timeScale = scale > 0 ? scale : 1.0; }

int scaledLinkTime(int designedMs) { return int(std::lround(designedMs * timeScale)); }

void startLinkTimeout(int designedMs)
{
    if (frmMain *main = frmMain::instance()) {
        main->tmrTimeOut->setInterval(scaledLinkTime(designedMs));
        main->tmrTimeOut->start();
    }
}

void waitForLinkActivity()
{
    PortCtl *port = linkPort();
    if (port && port->portBytesWaiting() > 0)
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    else
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

bool linkWaitOver()
{
    if (TransferTimedOut)
        return true;
    PortCtl *port = linkPort();
    frmMain *main = frmMain::instance();
    if (!port || !main)
        return true;
    if (!port->isOpen())
        return port->portBytesWaiting() == 0; // what came before the device went still counts
    return !main->tmrTimeOut->isActive();
}

bool openLink()
{
    if (LinkConnected)
        return true;
    PortCtl *port = linkPort();
    if (port) {
        port->portSetBaud(4800);
        port->portSetOption(0);
        port->portSetNumber(ReceiverConfig.EDITOR.SerialPort);
        PortOpenState = port->portOpen() > 0;
    } else {
        PortOpenState = false;
    }
    if (PortOpenState) {
        port->portSetControl(1);
        LinkConnected = true;
        return true;
    }
    closeLink();
    showErrorMessage(1);
    return false;
}

void closeLink()
{
    if (PortOpenState) {
        if (PortCtl *port = linkPort())
            PortOpenState = port->portClose() > 0;
        else
            PortOpenState = false;
    }
    LinkConnected = false;
}

bool negotiateLink()
{
    if (!openLink())
        return false;
    frmMain *main = frmMain::instance();
    PortCtl *port = linkPort();
    TransferTimedOut = false;
    startLinkTimeout(5000);
    main->setStatusPanelText(1, QStringLiteral("Negotiating Port # ") + QString::number(ReceiverConfig.EDITOR.SerialPort));
    port->portWriteText(QStringLiteral("Z"));
    port->portSetControl(-1);
    for (;;) {
        waitForLinkActivity();
        if (port->portReadByte() == ACK)
            return true;
        if (linkWaitOver())
            break;
    }
    closeLink();
    showErrorMessage(2);
    return false;
}
