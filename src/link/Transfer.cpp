#include "link/Transfer.h"

#include "config/ReceiverConfig.h"
#include "link/PortCtl.h"
#include "link/ReceiverLink.h"
#include "link/TransferData.h"

#include <QCoreApplication>
#include <QTimer>
#include <algorithm>

bool sendTransferImage(ReceiverLink &link)
{
    PortCtl &port = *link.Port1;
    buildSettingsImage();
    std::copy(SettingsImage.begin(), SettingsImage.end(), link.TransferImage.begin());

    pauseUntilUploadSecond();

    link.tmrTimeOut->stop();
    link.setStatusText(1, QStringLiteral("Preparing For Upload..."));
    link.setProgressMaximum(kImageBytesSent);
    link.setProgressValue(0);
    link.setProgressVisible(true);
    link.startLinkTimeout(20000);

    // The answer is due within 20 s of the first byte: the timer runs while writing.
    for (int i = 0; i < kImageBytesSent; ++i) {
        port.portWriteByte(link.TransferImage[i]);
        if (!port.isOpen())
            break; // write error or device gone: ends below as a time-out
        link.setProgressValue(i);
    }
    if (port.isOpen()) {
        link.setStatusText(1, QStringLiteral("Preparing For Download..."));
        port.portWriteByte(imageChecksum(link.TransferImage) % 256);
        link.TransferTimedOut = false;
        port.portSetControl(-1);
        port.portFlush();
        for (;;) {
            link.waitForLinkActivity();
            const int b = port.portReadByte();
            if (b == ACK) {
                link.setStatusText(1, QStringLiteral("Downloading Data"));
                return true;
            }
            if (b == NAK) {
                link.setStatusText(1, QStringLiteral("Upload Failure"));
                return false;
            }
            if (link.linkWaitOver())
                break;
        }
    }
    link.setStatusText(1, QStringLiteral("Upload Data Timeout"));
    return false;
}

bool receiveDownload(ReceiverLink &link)
{
    PortCtl &port = *link.Port1;
    link.tmrTimeOut->stop();
    int n = 0;
    int b = -1;
    link.setProgressMaximum(1297);
    link.setProgressValue(0);
    link.TransferTimedOut = false;
    link.startLinkTimeout(20000);
    port.portSetControl(-1);
    for (;;) {
        link.waitForLinkActivity();
        // Take everything that has arrived before waiting again.
        while (n < kDownloadBytes && port.portBytesWaiting() > 0) {
            b = port.portReadByte();
            if (b == -1)
                break;
            link.DownloadBuffer[n] = quint8(b);
            ++n;
            link.setProgressValue(n);
        }
        if (n >= kDownloadBytes)
            break;
        if (link.linkWaitOver()) {
            link.setProgressVisible(false);
            return false;
        }
    }
    link.tmrTimeOut->stop();
    link.setProgressVisible(false);
    return b == ACK;
}

bool runTransferExchange(ReceiverLink &link, const std::function<void()> &whenChecked,
                         const std::function<void()> &whenStarted)
{
    const LinkOperation transfer(link);
    if (!transfer.claimed())
        return false;
    if (whenStarted)
        whenStarted();
    if (!link.negotiateLink()) {
        link.setStatusText(1, QStringLiteral("Port Connect Failed"));
        link.closeLink();
        return false;
    }
    link.setStatusText(1, QStringLiteral("Port Connect Successful...Preparing For Upload"));
    buildSelectionArea(link.TransferImage);
    for (int i = 0; i < 101; ++i)
        QCoreApplication::processEvents();

    const bool checked = sendTransferImage(link) && receiveDownload(link) && downloadChecksumOk(link.DownloadBuffer);
    if (checked) {
        link.setStatusText(1, QStringLiteral("Upload / Download Successful"));
        if (whenChecked)
            whenChecked();
    }
    // The port is closed at the end of every exchange; a failure stays in the status bar.
    link.tmrTimeOut->stop();
    link.closeLink();
    return checked;
}
