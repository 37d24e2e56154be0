#include "history/HistoryReportCommands.h"

#include "core/MessageCatalogue.h"
#include "core/Platform.h"
#include "history/HistoryPrinting.h"
#include "history/HistoryReport.h"

#include <QDir>

void printReportCommand()
{
    if (!historyToReport()) {
        showErrorMessage(10);
        return;
    }
    if (confirmPrintReport() != QMessageBox::Ok)
        return;
    printHistoryReport();
}

void mnuSaveAs_Click(QWidget *parent)
{
    if (!historyToReport()) {
        showErrorMessage(12);
        return;
    }
    Platform::SaveDialogRequest request;
    request.parent = parent;
    request.title = QStringLiteral("Save History Report As");
    request.directory = QDir::currentPath();
    request.nameFilter = kReportFileFilter;
    request.fileName = QString();
    request.confirmOverwrite = true;
    const QString fileName = Platform::askSaveFileName(request);
    if (fileName.isEmpty())
        return; // cancelled
    if (!checkReportExtension(fileName))
        return;
    saveHistoryReport(fileName);
}
