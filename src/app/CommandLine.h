// Top floor (src/app): entry point, start-up, splash and main window; may use every folder.
#pragma once
// The command line and the program's identity. --help and --version answer on the terminal
// and end the program, anything the editor does not know ends it with a message; otherwise the
// editor starts as usual, and opens the configuration file named, if any. Decided before any application object exists, so no display is needed.

#include <QString>
#include <QStringList>

// The editor's version: the project's single version number, also the one the splash and the
// About box show.
QString editorVersion();

// The application id: the names of the desktop entry, the AppStream metainfo and the icon, and
// what the program gives QGuiApplication::setDesktopFileName, so the window matches the menu.
inline const QString kApplicationId = QStringLiteral("com.example.OrvaneEditor");

struct CommandLineOutcome
{
    bool startEditor = true; // false: print and end with exitCode, no window
    int exitCode = 0;
    QString standardOutput;
    QString standardError;
    QString configurationFile; // a configuration file to open once the editor has started
};

// arguments as the program got them, the program's own name first.
CommandLineOutcome interpretCommandLine(const QStringList &arguments);
