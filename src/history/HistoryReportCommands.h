#pragma once
// The two report commands of the main window: "Print History Report" (cmdMain index 8) and
// "Save History Report To a File As..." (mnuSaveAs).

#include <QString>

class QWidget;

inline const QString kReportFileFilter = QStringLiteral("Orvane File(s) *.TXT) (*.TXT)");

// Refuses without a history to report, asks for confirmation, then prints.
void printReportCommand();
// Refuses without a history to report, asks for the file name (starting in the current
// directory with an empty name), checks its extension, then saves.
void mnuSaveAs_Click(QWidget *parent);
