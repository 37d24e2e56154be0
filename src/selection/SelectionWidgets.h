// Selection (src/selection): states, transmitters, counties and event codes; uses core and config.
#pragma once
// Pieces the county and state windows build alike.

#include <QString>

class QDialog;
class QLabel;
class QListWidget;
class QWidget;

// Names and titles a window of the selection and makes it modal.
void setUpSelectionWindow(QDialog *window, const QString &name, const QString &title);
// A heading in the bold face of the window's font.
QLabel *boldHeading(const QString &text, QWidget *parent);
// A single-selection list in the fixed font, wide enough for `columns` characters.
QListWidget *fixedFontList(const QString &name, int columns, int minimumHeight, QWidget *parent);
