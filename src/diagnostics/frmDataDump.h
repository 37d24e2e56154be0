// Diagnostics (src/diagnostics): data dump, About box, tips, help and web links; uses core, config, link.
#pragma once
// "Orvane Data Dump": what the receiver really holds. NV Data reads its memory and shows it in
// words, RAW Data the last SAME header it decoded; Save Window writes the display and the
// editor's settings to ORVANE.TXT. Opened modal by the main window after MakeContact.
//
// A wait for the receiver lets the window work meanwhile. A second NV or RAW request during a
// wait is refused with a beep (one answer at a time goes into DumpBuffer and the display);
// Clear and Save Window work as usual. Closing the window during a wait ends the wait without
// showing anything more: Exit sends "Q" and closes the port, the close box and Escape leave
// the port open, as they always do. An NV answer cut off that way, or by the device going,
// leaves DumpBuffer as it was.

#include "diagnostics/DataDump.h"
#include "diagnostics/ReceiverProgramming.h"

#include <QDialog>
#include <array>
#include <functional>

class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QWidget;

// "D" must be answered by ACK within 2 s. True on ACK; false on NAK (the port stays open) and
// on a time-out or a port that will not open (the port is closed).
bool MakeContact();

// Sends "X" on the open link and receives the memory that follows STX into bytes 0 to 511 of
// `memory` (bytes that do not come keep their values) within the dump's time-out, showing
// progress on the main window. `requested` runs once "X" is out; `abandoned` set meanwhile
// ends the wait.
enum class NvDumpEnd { Complete, TimedOut, Abandoned, PortGone };
NvDumpEnd requestNvDump(DumpBufferBytes &memory, const bool &abandoned, const std::function<void()> &requested);

// One whole exchange for the receiver's memory: MakeContact, "X", then "Q" and the port
// closed whatever happened. Busy (with a beep) while another exchange holds the link.
enum class MemoryRead { Read, Busy, NoContact, TimedOut };
MemoryRead readReceiverMemory(MemoryBytes &memory);

// Whether a wait of the data dump (contact, NV or RAW) is running.
bool dataDumpWaiting();

// The main window's "Download Orvane Programmed Parameters": MakeContact, then the window, or
// "Serial Connection Fail...". Refused with a beep while a wait of the dump runs.
void downloadProgrammedParameters(QWidget *parent);

class frmDataDump : public QDialog
{
    Q_OBJECT
public:
    explicit frmDataDump(QWidget *parent = nullptr);
    ~frmDataDump() override;

    QGroupBox *Frame1 = nullptr;
    QPushButton *cmdNVData = nullptr, *cmdRaw = nullptr, *cmdClear = nullptr, *cmdSave = nullptr,
                *cmdExit = nullptr;
    std::array<QLabel *, 4> Label1{}, Label2{};
    QPlainTextEdit *Text1 = nullptr;
    QLabel *Image1 = nullptr;

    void cmdNVData_Click();
    void cmdRaw_Click();
    void cmdClear_Click();
    void cmdSave_Click();
    void cmdExit_Click();
    void DumpDataRaw();
    // Appends the worded DumpBuffer to Text1.
    void formatNvDump();

    // Whether one of this window's waits runs.
    bool waiting() const { return waitRunning; }

public slots:
    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void appendText(const QString &text);
    // Ends a running wait: the window is closing.
    void abandonWait();
    void onActivate();

    bool waitRunning = false;
    bool waitAbandoned = false; // the window was closed during the wait
};
