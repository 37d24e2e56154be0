#include "diagnostics/frmDataDump.h"

#include "core/Artwork.h"
#include "core/FixedFont.h"
#include "core/MessageCatalogue.h"
#include "core/Platform.h"
#include "diagnostics/DataDump.h"
#include "diagnostics/ReceiverProgramming.h"
#include "link/PortCtl.h"
#include "link/ReceiverLink.h"

#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTextCursor>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

namespace {

// Whether a wait of the dump runs (MakeContact's or a window's).
bool dumpWaitRunning = false;

// Marks a wait of the dump (and of its window, if any) for as long as it runs, and holds the
// link meanwhile so that no transfer or port search starts in the middle of it.
class WaitMark
{
public:
    explicit WaitMark(bool *windowFlag = nullptr) : operation(ReceiverLink::instance()), window(windowFlag) { set(true); }
    ~WaitMark() { set(false); }
    WaitMark(const WaitMark &) = delete;
    WaitMark &operator=(const WaitMark &) = delete;

private:
    void set(bool on)
    {
        dumpWaitRunning = on;
        if (window)
            *window = on;
    }
    LinkOperation operation;
    bool *window;
};

// Whether another operation talks to the receiver now (a wait of the dump, a transfer or a
// port search); a request then is refused with a beep.
bool receiverBusy()
{
    if (!ReceiverLink::instance().operationRunning())
        return false;
    Platform::beep();
    return true;
}

// Reads and drops what is waiting: bytes that came before a command cannot be its answer (the
// rest of an answer whose wait was given up).
void discardWaiting(PortCtl &port)
{
    while (port.portReadByte() != -1) {
    }
}

} // namespace

bool dataDumpWaiting() { return dumpWaitRunning; }

bool MakeContact()
{
    if (receiverBusy())
        return false;
    ReceiverLink &link = ReceiverLink::instance();
    if (link.openLink()) {
        WaitMark mark;
        PortCtl &port = *link.Port1;
        discardWaiting(port);
        link.startLinkTimeout(kContactTimeoutMs);
        link.TransferTimedOut = false;
        port.portWriteText(QStringLiteral("D"));
        port.portSetControl(-1);
        port.portFlush();
        for (;;) {
            link.waitForLinkActivity();
            for (int b = port.portReadByte(); b != -1; b = port.portReadByte()) {
                if (b == ACK) // the receiver is there; the port stays open for the window
                    return true;
                if (b == NAK) // refused; the port stays open
                    return false;
            }
            if (link.linkWaitOver())
                break;
        }
    }
    link.tmrTimeOut->stop();
    link.closeLink();
    return false;
}

void downloadProgrammedParameters(QWidget *parent)
{
    // A press while the dump waits for the receiver (the main window stays usable during
    // MakeContact's wait) would start a second exchange in the middle of the first.
    if (receiverBusy())
        return;
    if (MakeContact()) {
        frmDataDump dump(parent);
        dump.exec();
    } else {
        showProgramMessage(QStringLiteral("Serial Connection Fail..."));
    }
}

frmDataDump::frmDataDump(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmDataDump"));
    setWindowTitle(QStringLiteral("Orvane Data Dump"));
    setModal(true);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setAlignment(Qt::AlignCenter);

    Frame1 = new QGroupBox(QStringLiteral("Data Request Command"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    auto *grid = new QGridLayout(Frame1);
    grid->setHorizontalSpacing(10);
    const std::array<const char *, 4> captions = {"NV Data", "RAW Data", "Clear", "Save Window"};
    const std::array<const char *, 4> descriptions = {
        "Download non-volatile memory data.",
        "Displays the last decoded raw data received.",
        "Clears the display window.",
        "Saves displayed data and registry data to file.",
    };
    const std::array<const char *, 4> accelerated = {"&NV Data", "&RAW Data", "&Clear", "&Save Window"};
    const std::array<const char *, 4> buttonNames = {"cmdNVData", "cmdRaw", "cmdClear", "cmdSave"};
    std::array<QPushButton *, 4> buttons{};
    for (int i = 0; i < 4; ++i) {
        // The button carries the accelerator; the heading beside it shows the plain caption.
        buttons[i] = new QPushButton(QString::fromLatin1(accelerated[i]), Frame1);
        buttons[i]->setObjectName(QString::fromLatin1(buttonNames[i]));
        buttons[i]->setAutoDefault(false);
        buttons[i]->setMinimumWidth(110);
        Label1[i] = new QLabel(QString::fromLatin1(captions[i]), Frame1);
        Label1[i]->setObjectName(QStringLiteral("Label1_%1").arg(i));
        QFont bold = Label1[i]->font();
        bold.setBold(true);
        Label1[i]->setFont(bold);
        Label2[i] = new QLabel(QString::fromLatin1(descriptions[i]), Frame1);
        Label2[i]->setObjectName(QStringLiteral("Label2_%1").arg(i));
        auto *words = new QVBoxLayout;
        words->setSpacing(0);
        words->addWidget(Label1[i]);
        words->addWidget(Label2[i]);
        grid->addWidget(buttons[i], i, 0, Qt::AlignVCenter);
        grid->addLayout(words, i, 1);
    }
    cmdNVData = buttons[0];
    cmdRaw = buttons[1];
    cmdClear = buttons[2];
    cmdSave = buttons[3];

    cmdExit = new QPushButton(QStringLiteral("E&xit"), this);
    cmdExit->setObjectName(QStringLiteral("cmdExit"));
    cmdExit->setAutoDefault(false);

    Text1 = new QPlainTextEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setFont(fixedColumnFont());
    Text1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Text1->setMinimumWidth(Text1->fontMetrics().horizontalAdvance(QString(64, u'.')) + 40);
    Text1->setMinimumHeight(Text1->fontMetrics().lineSpacing() * 32);
    Text1->setAccessibleName(QStringLiteral("Data Dump"));
    Text1->setTabChangesFocus(true); // the keyboard can leave the display again

    // The commands, the display, then Exit.
    setTabOrder(cmdSave, Text1);
    setTabOrder(Text1, cmdExit);

    auto *left = new QVBoxLayout;
    left->addWidget(Image1);
    left->addWidget(Frame1);
    left->addStretch(1);
    left->addWidget(cmdExit);
    auto *layout = new QHBoxLayout(this);
    layout->addLayout(left);
    layout->addWidget(Text1, 1);

    connect(cmdNVData, &QPushButton::clicked, this, &frmDataDump::cmdNVData_Click);
    connect(cmdRaw, &QPushButton::clicked, this, &frmDataDump::cmdRaw_Click);
    connect(cmdClear, &QPushButton::clicked, this, &frmDataDump::cmdClear_Click);
    connect(cmdSave, &QPushButton::clicked, this, &frmDataDump::cmdSave_Click);
    connect(cmdExit, &QPushButton::clicked, this, &frmDataDump::cmdExit_Click);
}

frmDataDump::~frmDataDump() = default;

// The window is modal, so it becomes the active window only when it opens (its own message
// boxes do not count): that is when the display is emptied.
void frmDataDump::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    onActivate();
}

void frmDataDump::onActivate()
{
    Text1->clear();
    Image1->setPixmap(imageListPicture(8));
}

void frmDataDump::appendText(const QString &text)
{
    QTextCursor end(Text1->document());
    end.movePosition(QTextCursor::End);
    const int firstLine = end.blockNumber();
    end.insertText(text); // CR LF makes one line break
    // What arrived comes into view: all of it, or its beginning when it is taller than the
    // display (a line is a block: the display does not wrap).
    QScrollBar *bar = Text1->verticalScrollBar();
    bar->setValue(std::min(bar->maximum(), firstLine));
}

void frmDataDump::formatNvDump() { appendText(::formatNvDump(DumpBuffer)); }

NvDumpEnd requestNvDump(DumpBufferBytes &memory, const bool &abandoned, const std::function<void()> &requested)
{
    ReceiverLink &link = ReceiverLink::instance();
    PortCtl &port = *link.Port1;
    discardWaiting(port);
    port.portWriteText(QStringLiteral("X"));
    port.portFlush();
    if (requested)
        requested();
    Platform::sleepMs(kNvDumpPauseMs); // the receiver's time to start its answer
    link.tmrTimeOut->stop();
    if (abandoned)
        return NvDumpEnd::Abandoned;
    link.setProgressMaximum(kDumpProgressMaximum);
    link.setProgressValue(0);
    link.TransferTimedOut = false;
    link.startLinkTimeout(kDumpTimeoutMs);
    port.portSetControl(-1);

    int count = 0;
    bool started = false;
    while (count < kNvDumpBytes) {
        link.waitForLinkActivity();
        if (abandoned)
            break;
        while (count < kNvDumpBytes && port.portBytesWaiting() > 0) {
            const int b = port.portReadByte();
            if (b == -1)
                break;
            if (started)
                memory[count++] = quint8(b);
            else if (b == STX)
                started = true;
        }
        if (count < kNvDumpBytes && link.linkWaitOver())
            break;
    }
    link.tmrTimeOut->stop();
    if (abandoned)
        return NvDumpEnd::Abandoned;
    if (count < kNvDumpBytes)
        return port.isOpen() ? NvDumpEnd::TimedOut : NvDumpEnd::PortGone;
    return NvDumpEnd::Complete;
}

MemoryRead readReceiverMemory(MemoryBytes &memory)
{
    if (receiverBusy())
        return MemoryRead::Busy;
    ReceiverLink &link = ReceiverLink::instance();
    if (!MakeContact()) {
        link.closeLink(); // a NAK leaves it open; this exchange ends here
        return MemoryRead::NoContact;
    }
    NvDumpEnd end = NvDumpEnd::Abandoned;
    DumpBufferBytes received{};
    {
        WaitMark mark;
        const bool never = false;
        end = requestNvDump(received, never, {});
    }
    if (link.Port1->isOpen()) {
        link.Port1->portWriteText(QStringLiteral("Q"));
        link.Port1->portFlush();
    }
    link.closeLink();
    if (end != NvDumpEnd::Complete)
        return MemoryRead::TimedOut;
    std::copy(received.begin(), received.begin() + kMemoryBytes, memory.begin());
    return MemoryRead::Read;
}

void frmDataDump::cmdNVData_Click()
{
    if (receiverBusy())
        return;
    WaitMark mark(&waitRunning);
    waitAbandoned = false;
    // The answer goes into DumpBuffer only when it is shown: a dump cut off by the device
    // going, or by the window closing, leaves the buffer as it was.
    DumpBufferBytes received = DumpBuffer;
    const NvDumpEnd end = requestNvDump(received, waitAbandoned, [this] {
        appendText(kDumpLineEnd + kDumpLineEnd + QStringLiteral("NV Data Dump..Please wait") + kDumpLineEnd);
    });
    // Closed during the wait, or the device gone: nothing more is shown.
    if (end == NvDumpEnd::Abandoned || end == NvDumpEnd::PortGone)
        return;
    DumpBuffer = received;
    formatNvDump();
}

void frmDataDump::cmdRaw_Click()
{
    if (receiverBusy())
        return;
    WaitMark mark(&waitRunning);
    waitAbandoned = false;
    PortCtl &port = *ReceiverLink::instance().Port1;
    discardWaiting(port);
    port.portWriteText(QStringLiteral("R"));
    port.portFlush();
    appendText(kDumpLineEnd + kDumpLineEnd + QStringLiteral("RAW Data Dump..Please wait"));
    DumpDataRaw();
}

void frmDataDump::DumpDataRaw()
{
    ReceiverLink &link = ReceiverLink::instance();
    PortCtl &port = *link.Port1;
    link.tmrTimeOut->stop();
    link.setProgressMaximum(kDumpProgressMaximum);
    link.setProgressValue(0);
    link.TransferTimedOut = false;
    link.startLinkTimeout(kDumpTimeoutMs);
    port.portSetControl(-1);

    RawDumpFilter filter;
    bool ended = false;
    while (!ended) {
        link.waitForLinkActivity();
        if (waitAbandoned)
            break;
        while (!ended && port.portBytesWaiting() > 0) {
            const int b = port.portReadByte();
            if (b == -1)
                break;
            ended = filter.take(b);
        }
        if (!ended && link.linkWaitOver())
            break;
    }
    link.tmrTimeOut->stop();
    if (waitAbandoned || (!ended && !port.isOpen()))
        return;
    appendText(kDumpLineEnd + filter.raw());
}

void frmDataDump::cmdClear_Click() { Text1->clear(); }

void frmDataDump::cmdSave_Click()
{
    const QString shown = Text1->toPlainText();
    if (shown.isEmpty()) {
        Platform::beep();
        return;
    }
    const DumpFileResult result = writeDumpFile(QDir::currentPath(), dumpFileText(shown, Platform::now()));
    if (result.written) {
        showProgramMessage(QStringLiteral("Data file ORVANE.TXT created and is located at:\n\n") + result.path,
                           QMessageBox::Ok, QMessageBox::Information);
    } else {
        showProgramMessage(QStringLiteral("Data file ORVANE.TXT was not written:\n\n") + result.path +
                               QStringLiteral("\n\n") + result.error,
                           QMessageBox::Ok, QMessageBox::Warning);
    }
}

void frmDataDump::cmdExit_Click()
{
    abandonWait();
    ReceiverLink &link = ReceiverLink::instance();
    link.Port1->portWriteText(QStringLiteral("Q"));
    link.Port1->portFlush(); // out before the port closes
    link.closeLink();
    done(QDialog::Accepted);
}

void frmDataDump::abandonWait()
{
    if (!waitRunning)
        return;
    waitAbandoned = true;
    Platform::interruptSleep(); // the pause after "X" ends at once
}

void frmDataDump::reject()
{
    // The close box and Escape: the wait ends, the port stays open until the next closeLink.
    abandonWait();
    QDialog::reject();
}
