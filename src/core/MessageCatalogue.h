// Ground floor (src/core): platform seams, message catalogue, pictures; uses no other folder.
#pragma once
// The numbered error messages and the recurring questions of the program. Every box goes
// through Platform::showMessage so that a test can record and answer it.

#include <QMessageBox>
#include <QString>

inline const QString kProgramTitle = QStringLiteral("Orvane Digital Weather Receiver");

// The text of a numbered error (empty for an unknown code).
QString errorMessageText(qint16 code);
QString fileErrorText(qint16 code);

void showErrorMessage(qint16 code);
// Shows the file error and then ends the program; nothing is saved afterwards.
void showFileError(qint16 code);
QMessageBox::StandardButton confirmPrintReport();
QMessageBox::StandardButton confirmExitWithoutCounties(qint16 code);
QMessageBox::StandardButton askSaveChanges(qint16 code);

// A box of a single window's own (same title and exclamation icon unless given).
QMessageBox::StandardButton showProgramMessage(const QString &text,
                                               QMessageBox::StandardButtons buttons = QMessageBox::Ok,
                                               QMessageBox::Icon icon = QMessageBox::Warning,
                                               const QString &title = kProgramTitle);
