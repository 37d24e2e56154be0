#include "app/Startup.h"
#include "app/frmMain.h"
#include "core/Platform.h"
#include "diagnostics/frmHelp.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Orvane"));
    QApplication::setApplicationName(QStringLiteral("Orvane"));
    QApplication::setDesktopFileName(QStringLiteral("orvane-editor"));
    Platform::setProgramHelpViewer(showHelpWindow);
    startup();
    return app.exec();
}
