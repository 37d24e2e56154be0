#include "link/ReceiverLink.h"

#include "config/ReceiverConfig.h"
#include "core/MessageCatalogue.h"
#include "core/Platform.h"
#include "link/PortCtl.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <cmath>

namespace {
ReceiverLink *currentLink = nullptr;
double timeScale = 1.0;
} // namespace

ReceiverLink::ReceiverLink(QObject *parent) : QObject(parent)
{
    setObjectName(QStringLiteral("ReceiverLink"));
    Port1 = new PortCtl(this);
    Port1->setObjectName(QStringLiteral("Port1"));
    tmrTimeOut = new QTimer(this);
    tmrTimeOut->setObjectName(QStringLiteral("tmrTimeOut"));
    // A coarse timer may fire a 5000 ms time-out some 100 ms early.
    tmrTimeOut->setTimerType(Qt::PreciseTimer);
    connect(tmrTimeOut, &QTimer::timeout, this, [this] { TransferTimedOut = true; });
    currentLink = this;
}

ReceiverLink::~ReceiverLink()
{
    if (currentLink == this)
        currentLink = nullptr;
}

LinkOperation::LinkOperation(ReceiverLink &link)
{
    if (link.operationHeld) {
        Platform::beep();
        return;
    }
    link.operationHeld = true;
    holder = &link;
}

LinkOperation::~LinkOperation()
{
    if (holder)
        holder->operationHeld = false;
}

ReceiverLink &ReceiverLink::instance()
{
    if (!currentLink)
        new ReceiverLink(QCoreApplication::instance()); // becomes currentLink
    return *currentLink;
}

void ReceiverLink::setTimeScale(double scale) { timeScale = scale > 0 ? scale : 1.0; }

int ReceiverLink::scaledTime(int designedMs) { return int(std::lround(designedMs * timeScale)); }

void ReceiverLink::setStatusText(int panel, const QString &text) { emit statusTextChanged(panel, text); }
void ReceiverLink::setProgressMaximum(int maximum) { emit progressMaximumChanged(maximum); }
void ReceiverLink::setProgressValue(int value) { emit progressValueChanged(value); }
void ReceiverLink::setProgressVisible(bool visible) { emit progressVisibleChanged(visible); }

void ReceiverLink::startLinkTimeout(int designedMs)
{
    tmrTimeOut->setInterval(scaledTime(designedMs));
    tmrTimeOut->start();
}

void ReceiverLink::waitForLinkActivity()
{
    if (Port1->portBytesWaiting() > 0)
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    else
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

bool ReceiverLink::linkWaitOver()
{
    if (TransferTimedOut)
        return true;
    if (!Port1->isOpen())
        return Port1->portBytesWaiting() == 0; // what came before the device went still counts
    return !tmrTimeOut->isActive();
}

bool ReceiverLink::openLink()
{
    if (LinkConnected) {
        if (Port1->isOpen())
            return true;
        // The device went away under the open link (the data dump window keeps the port open
        // until its Exit): the link is down, and the port is opened afresh.
        closeLink();
    }
    Port1->portSetBaud(4800);
    Port1->portSetOption(0);
    Port1->portSetNumber(ReceiverConfig.EDITOR.SerialPort);
    PortOpenState = Port1->portOpen() > 0;
    if (PortOpenState) {
        Port1->portSetControl(1);
        LinkConnected = true;
        return true;
    }
    closeLink();
    showErrorMessage(1);
    return false;
}

void ReceiverLink::closeLink()
{
    if (PortOpenState)
        PortOpenState = Port1->portClose() > 0;
    LinkConnected = false;
}

bool ReceiverLink::negotiateLink()
{
    if (!openLink())
        return false;
    TransferTimedOut = false;
    startLinkTimeout(5000);
    setStatusText(1, QStringLiteral("Negotiating Port # ") + QString::number(ReceiverConfig.EDITOR.SerialPort));
    Port1->portWriteText(QStringLiteral("Z"));
    Port1->portSetControl(-1);
    for (;;) {
        waitForLinkActivity();
        if (Port1->portReadByte() == ACK)
            return true;
        if (linkWaitOver())
            break;
    }
    closeLink();
    showErrorMessage(2);
    return false;
}
