// Renders the program's windows offscreen from the real widgets, for the README:
//   QT_QPA_PLATFORM=offscreen build/tools/screenshots/orvane-screenshots docs resources
// writes docs/<window>.png and the desktop icon resources/orvane-editor.png.

#include "app/Artwork.h"
#include "app/frmMain.h"
#include "app/frmSplash.h"
#include "config/ReceiverConfig.h"
#include "config/SettingsStore.h"
#include "link/frmCommPort.h"
#include "support/ReceiverSimulator.h"

#include <QApplication>
#include <QDir>
#include <QSettings>
#include <QTemporaryDir>
#include <cstdio>

namespace {

bool save(QWidget &widget, const QString &path)
{
    widget.show();
    QApplication::processEvents();
    const bool ok = widget.grab().save(path);
    std::printf("%s %s\n", ok ? "wrote" : "FAILED", qPrintable(path));
    return ok;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QString docs = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("docs");
    const QString resources = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral("resources");
    QDir().mkpath(docs);

    // Defaults only: never read or touch the owner's own settings.
    QTemporaryDir home;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, home.path());
    loadSettings();
    ReceiverConfig.EDITOR.EditorVersion = QStringLiteral("1.05");

    bool ok = programIcon(128).save(resources + QStringLiteral("/orvane-editor.png"));

    frmSplash splash;
    ok &= save(splash, docs + QStringLiteral("/splash.png"));

    frmMain main;
    main.resize(900, 640);
    ok &= save(main, docs + QStringLiteral("/main-window.png"));

    // The setup window and a whole transfer against the receiver simulator on a pty.
    ReceiverSimulator receiver;
    if (receiver.start()) {
        QSettings store(QStringLiteral("Orvane"), QStringLiteral("Orvane"));
        store.setValue(QStringLiteral("PORTS/Port1"), receiver.devicePath());
        store.sync();
    }
    ReceiverConfig.EDITOR.SerialPort = 1;
    {
        frmCommPort setup(&main);
        ok &= save(setup, docs + QStringLiteral("/setup-window.png"));
        setup.close();
    }
    FipsList[0] = QStringLiteral("X 012011  Broward                Florida");
    EventList[0] = QStringLiteral("TOR");
    main.EstConnect();
    ok &= save(main, docs + QStringLiteral("/main-window-after-transfer.png"));
    return ok ? 0 : 1;
}
