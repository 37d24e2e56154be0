// The program HistoryReportTest runs to print the history report, of 40 alerts, on the
// system's default printer through the real printer seam, as the editor does: in a process
// of its own, since Qt's print support asks for the printers once, at the print system's
// address (CUPS_SERVER) as the process had it then. A message the report would show goes to
// standard error. Exit status: 0 printed, 1 not printed.
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
    for (int slot = 0; slot < 40; ++slot)
        records << historyRecord(100 + slot, 18, 45, "WXR", "TOR");
    loadDownloadBuffer(records);
    return printHistoryReport() ? 0 : 1;
}
