// Ground floor (src/core): platform seams, message catalogue, pictures; uses no other folder.
#pragma once
// The few places where the program touches the platform in ways a test must control:
// message boxes, the system beep, ending the process, the clocks and the wait for events.
// Each has a real implementation by default; a test installs a double with the setter.

#include <QDateTime>
#include <QMessageBox>
#include <QString>
#include <functional>

struct MessageRequest {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons = QMessageBox::Ok;
};

using MessagePresenter = std::function<QMessageBox::StandardButton(const MessageRequest &)>;

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

} // namespace Platform
