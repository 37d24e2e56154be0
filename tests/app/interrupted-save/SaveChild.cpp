// The program that InterruptedSaveTest kills while it saves: it fills the record, the lists
// or the history with one of two fixed contents and saves one file through the program's own
// save function, exactly as the editor does.
//
//   orvane-save-child <file> <directory> <old|new>
//
// <file> is parameters, settings, report or dump; the file is saved in <directory>, which
// also becomes the current directory and the home of the settings store. The save is marked
// before and after by a write to no file, which the test finds in a trace of the program.
// Exit status: 0 saved, 2 bad arguments, 4 the save reported a failure.
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

namespace {

void fillParameterLists(bool fresh)
{
    loadDefaultLists();
    if (!fresh)
        return;
    // Many more counties and events than the old file, so the two differ in length too.
    for (int slot = 4; slot < 60; ++slot)
        FipsList[slot] = QStringLiteral("X 0%1  County %2               Florida").arg(12001 + 2 * slot).arg(slot, 3, 10, QChar(u'0'));
    FipsList[70] = QStringLiteral("  048201  Harris                 Texas");
    const char *more[] = {"BZW", "CFW", "DSW", "EQW", "FRW", "HUW", "SSW", "TSW", "WSW", "EVI"};
    for (int k = 0; k < 10; ++k)
        EventList[12 + k] = QString::fromLatin1(more[k]);
}

void fillSettings(bool fresh)
{
    loadSettings(); // start-up reads the store first; a fresh store gives every default
    if (!fresh)
        return;
    auto &r = ReceiverConfig;
    r.EDITOR.SerialPort = 3;
    r.EDITOR.StateID = 44;
    r.EDITOR.TimeZoneOffset = -6;
    r.EDITOR.TransmitterLocation = QStringLiteral("Anytown, KEC-55 162.550 MHz (a longer text than before)");
    r.EDITOR.UserStationID = QStringLiteral("KEC55 ANYTOWN");
    r.NV8007.GiveStationID = r.NV8007.AppendThisIs = true;
    r.NV8008.AcceptAllEvents = true;
    r.NV8009.WarningOnly = true;
    r.NV800B.VocTruncateTest = false;
    r.TIMERS.SpeakerTimeoutTimer = 5;
    r.TIMERS.PreVoiceAnnc = 4;
}

void fillHistory(bool fresh)
{
    const int alerts = fresh ? 9 : 2;
    for (int s = 0; s < alerts; ++s) {
        HistoryEntry &e = HistoryTable[s];
        e.Date = QStringLiteral("%1-March").arg(s + 1);
        e.Time = QStringLiteral("%1:45").arg(10 + s);
        e.Length = QStringLiteral("01:30");
        e.Event = fresh ? QStringLiteral("Severe Thunderstorm Warning") : QStringLiteral("Tornado Warning");
    }
}

QString dumpWindowText(bool fresh)
{
    if (!fresh)
        return QStringLiteral("\r\nNV Data Dump..Please wait\r\n..................End Of Data Dump.......................\r\n");
    DumpBufferBytes buffer{};
    buffer[2] = 3;
    buffer[8] = 0x20;
    const QByteArray codes = "012011-012085-012099-012111-";
    std::copy(codes.begin(), codes.end(), buffer.begin() + 32);
    const QByteArray events = "TOR-SVR-FFW-";
    std::copy(events.begin(), events.end(), buffer.begin() + 208);
    return QStringLiteral("\r\nNV Data Dump..Please wait\r\n") + formatNvDump(buffer);
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 4)
        return 2;
    const QByteArray file = argv[1];
    const QString directory = QString::fromLocal8Bit(argv[2]);
    const QByteArray variant = argv[3];
    if (variant != "old" && variant != "new")
        return 2;
    const bool fresh = variant == "new";

    QDir::setCurrent(directory);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, directory + QStringLiteral("/config"));
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, directory + QStringLiteral("/config"));
    const QDateTime clock = fresh ? QDateTime(QDate(2026, 6, 15), QTime(12, 30, 5)) : QDateTime(QDate(2026, 3, 2), QTime(8, 0, 0));
    Platform::setWallClock([clock] { return clock; });
    Platform::setMessagePresenter([](const MessageRequest &request) {
        std::fprintf(stderr, "%s\n", qPrintable(request.text));
        return QMessageBox::Ok;
    });
    Platform::setProgramEnder([] {});
    clearReceiverConfig();

    std::function<bool()> save;
    if (file == "parameters") {
        fillParameterLists(fresh);
        save = [] { return writeParameterFile(); };
    } else if (file == "settings") {
        fillSettings(fresh);
        save = [] { return saveSettings(); };
    } else if (file == "report") {
        fillHistory(fresh);
        save = [] { return saveHistoryReport(QDir::current().absoluteFilePath(QStringLiteral("HISTORY.TXT"))); };
    } else if (file == "dump") {
        const QString text = dumpFileText(dumpWindowText(fresh), Platform::now());
        save = [text] { return writeDumpFile(QDir::currentPath(), text).written; };
    } else {
        return 2;
    }

    // The marks that tell the test which system calls belong to the save.
    const ssize_t begun = write(-1, "save begins", 11);
    const bool saved = save();
    const ssize_t ended = write(-1, "save ends", 9);
    return begun + ended < 0 && saved ? 0 : 4;
}
