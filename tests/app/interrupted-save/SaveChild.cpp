// The program that InterruptedSaveTest kills while it saves: it fills the record, the lists or
// the history with one of two fixed contents ("new" longer than "old") and saves one file
// through the program's own save function, exactly as the editor does.
//
//   orvane-save-child <parameters|settings|report|dump|configuration> <directory> <old|new>
//
// The file is saved in <directory>, also the current directory and the settings store's home.
// The save is marked before and after by a write to no file, which the test finds in a trace.
// Exit status: 0 saved, 2 bad arguments, 4 the save reported a failure.
#include "config/ConfigurationFile.h"
#include "config/ParameterFile.h"
#include "config/ReceiverConfig.h"
#include "config/SettingsStore.h"
#include "core/Platform.h"
#include "diagnostics/DataDump.h"
#include "history/HistoryReport.h"
#include "link/HistoryDecoding.h"

#include <QDir>
#include <QSettings>
#include <cstdio>
#include <functional>
#include <unistd.h>

int main(int argc, char *argv[])
{
    const QByteArray file = argc == 4 ? argv[1] : "", variant = argc == 4 ? argv[3] : "";
    if (variant != "old" && variant != "new")
        return 2;
    const bool fresh = variant == "new";
    const QString directory = QString::fromLocal8Bit(argv[2]);
    QDir::setCurrent(directory);
    for (const QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat})
        QSettings::setPath(format, QSettings::UserScope, directory + QStringLiteral("/config"));
    const QDateTime clock = fresh ? QDateTime(QDate(2026, 6, 15), QTime(12, 30, 5)) : QDateTime(QDate(2026, 3, 2), QTime(8, 0, 0));
    Platform::setWallClock([clock] { return clock; });
    Platform::setMessagePresenter([](const MessageRequest &request) { return std::fprintf(stderr, "%s\n", qPrintable(request.text)), QMessageBox::Ok; });
    Platform::setProgramEnder([] {});
    clearReceiverConfig();

    std::function<bool()> save;
    if (file == "parameters") {
        loadDefaultLists();
        for (int slot = 4; fresh && slot < 60; ++slot) // many more counties than before
            FipsList[slot] = QStringLiteral("X 0%1  County %2               Florida").arg(12001 + 2 * slot).arg(slot, 3, 10, QChar(u'0'));
        save = [] { return writeParameterFile(); };
    } else if (file == "settings") {
        loadSettings(); // start-up reads the store first; a fresh store gives every default
        if (fresh) ReceiverConfig.EDITOR.TransmitterLocation = QStringLiteral("Anytown, KEC-55 162.550 MHz (a longer text than before)");
        save = [] { return saveSettings(); };
    } else if (file == "report") {
        for (int s = 0; s < (fresh ? 9 : 2); ++s)
            HistoryTable[s] = {QStringLiteral("%1-March").arg(s + 1), QStringLiteral("%1:45").arg(10 + s), QStringLiteral("01:30"),
                               {}, fresh ? QStringLiteral("Severe Thunderstorm Warning") : QStringLiteral("Tornado Warning")};
        save = [] { return saveHistoryReport(QDir::current().absoluteFilePath(QStringLiteral("HISTORY.TXT"))); };
    } else if (file == "dump") {
        const QString text = dumpFileText(QStringLiteral("\r\nNV Data Dump..Please wait\r\n") +
                                              (fresh ? formatNvDump(DumpBufferBytes{}) : QStringLiteral("..End Of Data Dump..\r\n")), Platform::now());
        save = [text] { return writeDumpFile(QDir::currentPath(), text).written; };
    } else if (file == "configuration") {
        loadDefaultLists();
        if (fresh) ReceiverConfig.EDITOR.UserStationID = QStringLiteral("KEC83"), EventList[40] = QStringLiteral("SVR");
        save = [] { return writeConfigurationFile(QDir::current().absoluteFilePath(QStringLiteral("backup.orvcfg")), currentConfiguration()).isEmpty(); };
    } else
        return 2;
    // The marks that tell the test which system calls belong to the save.
    const ssize_t begun = write(-1, "save begins", 11);
    const bool saved = save();
    const ssize_t ended = write(-1, "save ends", 9);
    return begun + ended < 0 && saved ? 0 : 4;
}
