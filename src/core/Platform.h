// Ground floor (src/core): platform seams, message catalogue, pictures; uses no other folder.
#pragma once
// The few places where the program touches the platform in ways a test must control:
// message boxes, the system beep, ending the process, the clocks and the wait for events,
// the web browser and the help viewer.
// Each has a real implementation by default; a test installs a double with the setter.

#include <QDateTime>
#include <QMessageBox>
#include <QString>
#include <QUrl>
#include <functional>
#include <memory>

class QPrinter;
class QWidget;

struct MessageRequest {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons = QMessageBox::Ok;
};

using MessagePresenter = std::function<QMessageBox::StandardButton(const MessageRequest &)>;

// A request to the help viewer: the help file, and where to open it.
enum class HelpCommand {
    Contents = 3,       // the contents page
    PartialKey = 0x105, // the keyword search, with `keyword` typed in
};
struct HelpRequest {
    QString helpFile;
    HelpCommand command = HelpCommand::Contents;
    QString keyword;
};
using HelpViewer = std::function<void(const HelpRequest &)>;

namespace Platform {

// Shows a modal box and returns the button pressed (Cancel, or the only button, when the box
// is closed without a choice).
QMessageBox::StandardButton showMessage(const MessageRequest &request);
void setMessagePresenter(MessagePresenter presenter); // empty function = the real QMessageBox

void beep();
void setBeeper(std::function<void()> beeper);

// Ends the process at once: no window's closing logic runs and nothing more is saved.
void endProgram();
void setProgramEnder(std::function<void()> ender);

// Wall clock (dates of the history, the clock-second pause of the transfer).
QDateTime now();
void setWallClock(std::function<QDateTime()> clock);

// Milliseconds on a monotonic clock: immune to midnight and to clock changes.
qint64 monotonicMs();
void setMonotonicClock(std::function<qint64()> clock);

// Processes window events for up to `ms` milliseconds without spinning.
void waitForEvents(int ms);
void setEventWaiter(std::function<void(int)> waiter);

// Puts every seam back to the real implementation.
void resetAll();

// The history report's printer; the file dialogs.
// The default printer, or null when the system has none.
std::unique_ptr<QPrinter> defaultPrinter();
void setPrinterProvider(std::function<std::unique_ptr<QPrinter>()> provider); // empty = the real one
struct SaveDialogRequest {
    QWidget *parent = nullptr;
    QString title, directory, nameFilter, fileName;
    bool confirmOverwrite = true; // ask before an existing file is replaced
    QString defaultSuffix;        // added to a name typed without one
};
// Shows a modal file-save dialog; the full path chosen, or empty when cancelled.
QString askSaveFileName(const SaveDialogRequest &request);
void setSaveDialog(std::function<QString(const SaveDialogRequest &)> dialog); // empty = QFileDialog
// Shows a modal dialog to choose an existing file (the request's filter, or any file).
QString askOpenFileName(const SaveDialogRequest &request);
void setOpenDialog(std::function<QString(const SaveDialogRequest &)> dialog); // empty = QFileDialog
// Opens an address with the desktop's web browser; false when no browser could be started.
bool openUrl(const QUrl &url);
void setBrowser(std::function<bool(const QUrl &)> browser);

// Shows the help file. The program's own viewer is a window above this floor, so the
// program installs it once with setProgramHelpViewer; a test replaces it with setHelpViewer.
void showHelp(const HelpRequest &request);
void setHelpViewer(HelpViewer viewer);
void setProgramHelpViewer(HelpViewer viewer);
// Sound: plays a WAV file held in memory to its end, handling window events meanwhile
// without spinning. Returns false at once when nothing can be played (no audio output, no
// sound server, not a PCM WAV), and false a short guard after the clip's end when the sound
// server has not played it (a stalled server): the calling thread never waits on the sound
// system without a bound. stopSound() ends a playback under way.
bool playSound(const QByteArray &wav);
void stopSound();
void setSoundPlayer(std::function<bool(const QByteArray &)> player, std::function<void()> stopper = {});

// A pause of `ms` milliseconds that keeps the windows painted and answering, without
// spinning; interruptSleep() ends the pauses under way at once.
void sleepMs(int ms);
void interruptSleep();
void setSleeper(std::function<void(int)> sleeper, std::function<void()> interrupter = {});

} // namespace Platform
