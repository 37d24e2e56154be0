#include "core/Platform.h"

#include <QApplication>
#include <QDesktopServices>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <cstdlib>

namespace {

QMessageBox::StandardButton realShowMessage(const MessageRequest &request)
{
    QMessageBox box(request.icon, request.title, request.text, request.buttons,
                    QApplication::activeWindow());
    if (request.buttons.testFlag(QMessageBox::Cancel))
        box.setEscapeButton(QMessageBox::Cancel);
    const int result = box.exec();
    const auto pressed = static_cast<QMessageBox::StandardButton>(result);
    if (pressed == QMessageBox::NoButton || !request.buttons.testFlag(pressed))
        return request.buttons.testFlag(QMessageBox::Cancel) ? QMessageBox::Cancel : QMessageBox::Ok;
    return pressed;
}

void realEndProgram()
{
    std::fflush(nullptr);
    std::_Exit(0);
}

qint64 realMonotonicMs()
{
    static QElapsedTimer timer = [] { QElapsedTimer t; t.start(); return t; }();
    return timer.elapsed();
}

void realWaitForEvents(int ms)
{
    // A local loop ended by a precise timer: window events are handled meanwhile and the
    // thread sleeps in between instead of polling.
    QEventLoop loop;
    QTimer::singleShot(std::max(ms, 0), Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

MessagePresenter presenter;
std::function<void()> beeper;
std::function<void()> ender;
std::function<QDateTime()> wallClock;
std::function<qint64()> monotonicClock;
std::function<void(int)> eventWaiter;
std::function<bool(const QUrl &)> browser;
HelpViewer helpViewer;
HelpViewer programHelpViewer;

} // namespace

namespace Platform {

QMessageBox::StandardButton showMessage(const MessageRequest &request)
{
    return presenter ? presenter(request) : realShowMessage(request);
}
void setMessagePresenter(MessagePresenter p) { presenter = std::move(p); }

void beep() { beeper ? beeper() : QApplication::beep(); }
void setBeeper(std::function<void()> b) { beeper = std::move(b); }

void endProgram() { ender ? ender() : realEndProgram(); }
void setProgramEnder(std::function<void()> e) { ender = std::move(e); }

QDateTime now() { return wallClock ? wallClock() : QDateTime::currentDateTime(); }
void setWallClock(std::function<QDateTime()> c) { wallClock = std::move(c); }

qint64 monotonicMs() { return monotonicClock ? monotonicClock() : realMonotonicMs(); }
void setMonotonicClock(std::function<qint64()> c) { monotonicClock = std::move(c); }

void waitForEvents(int ms) { eventWaiter ? eventWaiter(ms) : realWaitForEvents(ms); }
void setEventWaiter(std::function<void(int)> w) { eventWaiter = std::move(w); }

void resetAll()
{
    presenter = {};
    beeper = {};
    ender = {};
    wallClock = {};
    monotonicClock = {};
    eventWaiter = {};
    setPrinterProvider({});
    setSaveDialog({});
    browser = {};
    helpViewer = {};
    setSoundPlayer({});
    setSleeper({});
}

} // namespace Platform

namespace Platform {

// The history report's printer and file-save dialog.
namespace {
std::function<std::unique_ptr<QPrinter>()> printerProvider;
std::function<QString(const SaveDialogRequest &)> saveDialog;
} // namespace

std::unique_ptr<QPrinter> defaultPrinter()
{
    if (printerProvider)
        return printerProvider();
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull())
        return nullptr;
    return std::make_unique<QPrinter>(info, QPrinter::HighResolution);
}
void setPrinterProvider(std::function<std::unique_ptr<QPrinter>()> p) { printerProvider = std::move(p); }

QString askSaveFileName(const SaveDialogRequest &request)
{
    if (saveDialog)
        return saveDialog(request);
    QFileDialog dialog(request.parent, request.title, request.directory);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(request.nameFilter);
    dialog.selectNameFilter(request.nameFilter);
    dialog.selectFile(request.fileName);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.confirmOverwrite);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}
void setSaveDialog(std::function<QString(const SaveDialogRequest &)> d) { saveDialog = std::move(d); }

bool openUrl(const QUrl &url) { return browser ? browser(url) : QDesktopServices::openUrl(url); }
void setBrowser(std::function<bool(const QUrl &)> b) { browser = std::move(b); }

void showHelp(const HelpRequest &request)
{
    if (helpViewer)
        helpViewer(request);
    else if (programHelpViewer)
        programHelpViewer(request);
}
void setHelpViewer(HelpViewer v) { helpViewer = std::move(v); }
void setProgramHelpViewer(HelpViewer v) { programHelpViewer = std::move(v); }

} // namespace Platform
