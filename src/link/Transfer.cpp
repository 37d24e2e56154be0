#include "app/frmMain.h"

#include "config/ReceiverConfig.h"
#include "history/HistoryReport.h"
#include "history/HistoryView.h"
#include "link/HistoryDecoding.h"
#include "link/LinkState.h"
#include "link/PortCtl.h"
#include "link/Transfer.h"
#include "link/TransferData.h"

#include <QAction>
#include <QCoreApplication>
#include <QMenu>
#include <QProgressBar>
#include <QTimer>
#include <algorithm>

bool sendTransferImage(frmMain &main)
{
    PortCtl &port = *main.Port1;
    buildSettingsImage();
    std::copy(SettingsImage.begin(), SettingsImage.end(), TransferImage.begin());

    pauseUntilUploadSecond();

    main.tmrTimeOut->stop();
    main.setStatusPanelText(1, QStringLiteral("Preparing For Upload..."));
    main.prgXfer->setMaximum(kImageBytesSent);
    main.prgXfer->setValue(0);
    main.prgXfer->setVisible(true);
    startLinkTimeout(20000);

    // The answer is due within 20 s of the first byte: the timer runs while writing.
    for (int i = 0; i < kImageBytesSent; ++i) {
        port.portWriteByte(TransferImage[i]);
        if (!port.isOpen())
            break; // write error or device gone: ends below as a time-out
        main.prgXfer->setValue(i);
    }
    if (port.isOpen()) {
        main.setStatusPanelText(1, QStringLiteral("Preparing For Download..."));
        port.portWriteByte(imageChecksum() % 256);
        TransferTimedOut = false;
        port.portSetControl(-1);
        port.portFlush();
        for (;;) {
            waitForLinkActivity();
            const int b = port.portReadByte();
            if (b == ACK) {
                main.setStatusPanelText(1, QStringLiteral("Downloading Data"));
                return true;
            }
            if (b == NAK) {
                main.setStatusPanelText(1, QStringLiteral("Upload Failure"));
                return false;
            }
            if (linkWaitOver())
                break;
        }
    }
    main.setStatusPanelText(1, QStringLiteral("Upload Data Timeout"));
    return false;
}

bool receiveDownload(frmMain &main)
{
    PortCtl &port = *main.Port1;
    main.tmrTimeOut->stop();
    int n = 0;
    int b = -1;
    main.prgXfer->setMaximum(1297);
    main.prgXfer->setValue(0);
    TransferTimedOut = false;
    startLinkTimeout(20000);
    port.portSetControl(-1);
    for (;;) {
        waitForLinkActivity();
        // Take everything that has arrived before waiting again.
        while (n < kDownloadBytes && port.portBytesWaiting() > 0) {
            b = port.portReadByte();
            if (b == -1)
                break;
            DownloadBuffer[n] = quint8(b);
            ++n;
            main.prgXfer->setValue(n);
        }
        if (n >= kDownloadBytes)
            break;
        if (linkWaitOver()) {
            main.prgXfer->setVisible(false);
            return false;
        }
    }
    main.tmrTimeOut->stop();
    main.prgXfer->setVisible(false);
    return b == ACK;
}

void frmMain::EstConnect()
{
    setStatusPanelText(1, QString());
    setStatusPanelText(2, QString());
    mnuView->menuAction()->setEnabled(false);
    mnuSaveAs->setEnabled(false);
    clearHistoryGrid(*this);
    HistoryOnScreen = false;

    if (!negotiateLink()) {
        setStatusPanelText(1, QStringLiteral("Port Connect Failed"));
        closeLink();
        return;
    }
    setStatusPanelText(1, QStringLiteral("Port Connect Successful...Preparing For Upload"));
    buildSelectionArea();
    for (int i = 0; i < 101; ++i)
        QCoreApplication::processEvents();

    if (sendTransferImage(*this) && receiveDownload(*this) && downloadChecksumOk()) {
        setStatusPanelText(1, QStringLiteral("Upload / Download Successful"));
        XferRomVersion();
        mnuHistory[1]->setChecked(true);
        mnuHistory[2]->setChecked(false);
        decodeHistory();
        showHistoryGroup(*this, 0);
        HistoryOnScreen = true;
        prgXfer->setValue(0);
        prgXfer->setVisible(false);
        mnuView->menuAction()->setEnabled(true);
        mnuSaveAs->setEnabled(true);
    }
    // The port is closed at the end of every exchange; a failure stays in the status bar.
    tmrTimeOut->stop();
    closeLink();
}

void frmMain::XferRomVersion()
{
    ReceiverConfig.EDITOR.ReceiverVersion = romVersionFromDownload();
    setStatusPanelText(2, QStringLiteral("Orvane ROM Version = ") + ReceiverConfig.EDITOR.ReceiverVersion);
}
