// Top floor (src/app): entry point, start-up, splash and main window; may use every folder.
#pragma once
// The main window's "Save Configuration File As..." and "Open Configuration File...": the
// whole configuration in a file of the owner's own, apart from the settings store and the
// parameter file (those are written only when the program ends with saving, as always).

#include <QString>

class QWidget;

void saveConfigurationFileAs(QWidget *parent);
void openConfigurationFile(QWidget *parent);
// Opens `path` (also the file named on the command line): when the whole file is valid the
// record and both lists are replaced and every window shows them; otherwise a message names
// the file, the line and what is wrong, and nothing changes. True when it was opened.
bool openConfigurationPath(const QString &path);
