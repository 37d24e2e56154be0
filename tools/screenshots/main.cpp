// Renders the program's windows offscreen from the real widgets, for the README:
//   QT_QPA_PLATFORM=offscreen build/tools/screenshots/orvane-screenshots docs resources
// writes docs/<window>.png and the desktop icon resources/orvane-editor.png.

#include "app/Artwork.h"
#include "app/frmMain.h"
#include "app/frmSplash.h"
#include "config/ReceiverConfig.h"
#include "config/ParameterFile.h"
#include "config/SettingsStore.h"
#include "selection/StateDatabase.h"
#include "selection/frmEnterFIP.h"
#include "selection/frmFIPS.h"

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

    // The county windows with the default counties and Florida, from the state files of the
    // source tree when run from there.
    if (QDir(QStringLiteral("data/States")).exists())
        setStatesDirectory(QDir(QStringLiteral("data/States")).absolutePath());
    loadDefaultLists();
    ReceiverConfig.EDITOR.TransmitterLocation = QStringLiteral(" West Palm Beach, FL     162.475");
    initStateSelection();
    fillFipsListBox();
    ok &= save(*frmFIPS::instance(), docs + QStringLiteral("/fips-codes.png"));
    frmFIPS::instance()->hide();
    ok &= save(*frmEnterFIP::instance(), docs + QStringLiteral("/state-transmitter.png"));
    return ok ? 0 : 1;
}
