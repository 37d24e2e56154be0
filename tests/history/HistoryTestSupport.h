#pragma once
// What the history tests share: a download shown as a successful transfer shows it.

#include "support/HistoryRecords.h"

#include "app/frmMain.h"
#include "history/HistoryGrid.h"
#include "history/HistoryReport.h"
#include "history/HistoryView.h"
#include "link/HistoryDecoding.h"

#include <QAction>
#include <QMenu>

// What a successful transfer does once the download is in DownloadBuffer.
inline void presentDownload(frmMain &main, const QList<QByteArray> &records)
{
    loadDownloadBuffer(records);
    main.mnuHistory[1]->setChecked(true);
    main.mnuHistory[2]->setChecked(false);
    decodeHistory();
    showHistoryGroup(*main.historyGrid, 0);
    HistoryOnScreen = true;
    main.mnuView->menuAction()->setEnabled(true);
    main.mnuSaveAs->setEnabled(true);
}
