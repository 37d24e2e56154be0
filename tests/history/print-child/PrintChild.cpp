// Prints a report of 40 alerts on the default printer through the real seam, for HistoryReportTest:
// a process of its own, as Qt asks for the printers once, at CUPS_SERVER as it was then.
// Messages go to standard error. Exit status: 0 printed, 1 not printed.
#include "support/HistoryRecords.h"

#include "core/Platform.h"
#include "history/HistoryPrinting.h"
#include "selection/EventTable.h"

#include <QApplication>
#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    Platform::setMessagePresenter([](const MessageRequest &request) {
        std::fprintf(stderr, "%s\n", qPrintable(request.text));
        return QMessageBox::Ok;
    });
    initEventTable();
    QList<QByteArray> records;
    for (int slot = 0; slot < 40; ++slot) records << historyRecord(100 + slot, 18, 45, "WXR", "TOR");
    loadDownloadBuffer(records);
    return printHistoryReport() ? 0 : 1;
}
