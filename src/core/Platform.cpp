#include "core/Platform.h"

#include <QApplication>
#include <QDesktopServices>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileDialog>
#include <QLibrary>
#include <QPageLayout>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <optional>

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
    setOpenDialog({});
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
std::function<QString(const SaveDialogRequest &)> openDialog;
} // namespace

namespace {
// The orientation a print queue gives its jobs when they ask for none. Qt does not tell it,
// so it is asked of the CUPS library that Qt's print support talks to (already loaded when
// there is a queue). None without that library or without a default on the queue.
std::optional<QPageLayout::Orientation> queueOrientation(const QString &printerName)
{
    struct CupsOption { char *name; char *value; };
    struct CupsDest { char *name; char *instance; int isDefault; int optionCount; CupsOption *options; };
    using GetNamedDest = CupsDest *(*)(void *http, const char *name, const char *instance);
    using GetOption = const char *(*)(const char *name, int optionCount, CupsOption *options);
    using FreeDests = void (*)(int destCount, CupsDest *dests);

    QLibrary cups(QStringLiteral("cups"), 2);
    const auto getNamedDest = reinterpret_cast<GetNamedDest>(cups.resolve("cupsGetNamedDest"));
    const auto getOption = reinterpret_cast<GetOption>(cups.resolve("cupsGetOption"));
    const auto freeDests = reinterpret_cast<FreeDests>(cups.resolve("cupsFreeDests"));
    if (!getNamedDest || !getOption || !freeDests)
        return std::nullopt;
    // Qt names an instance of a queue "queue/instance".
    const QByteArray queue = printerName.section(u'/', 0, 0).toLocal8Bit();
    const QByteArray instance = printerName.section(u'/', 1).toLocal8Bit();
    CupsDest *dest = getNamedDest(nullptr, queue.constData(), instance.isEmpty() ? nullptr : instance.constData());
    if (!dest)
        return std::nullopt;
    // IPP orientation-requested: 3 portrait, 4 landscape, 5 reverse landscape, 6 reverse portrait.
    const QByteArray requested(getOption("orientation-requested", dest->optionCount, dest->options));
    freeDests(1, dest);
    if (requested == "4" || requested == "5")
        return QPageLayout::Landscape;
    if (requested == "3" || requested == "6")
        return QPageLayout::Portrait;
    return std::nullopt;
}
} // namespace

std::unique_ptr<QPrinter> defaultPrinter()
{
    if (printerProvider)
        return printerProvider();
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull())
        return nullptr;
    auto printer = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    // Made from a printer, QPrinter still starts on Qt's own page (A4): take the printer's
    // page setup, its default page in its default orientation, within the margins the printer
    // can print on that page (which the print engine sets as the page's minimum margins).
    if (const auto orientation = queueOrientation(info.printerName()))
        printer->setPageOrientation(*orientation);
    printer->setPageSize(info.defaultPageSize());
    const QPageLayout layout = printer->pageLayout();
    printer->setPageMargins(layout.minimumMargins(), layout.units());
    return printer;
}
void setPrinterProvider(std::function<std::unique_ptr<QPrinter>()> p) { printerProvider = std::move(p); }

namespace {
// Shows a file dialog on the request's own filter; the file chosen, or nothing.
QString chosenFile(QFileDialog &dialog, const SaveDialogRequest &request)
{
    dialog.selectNameFilter(request.nameFilter);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}
} // namespace

QString askSaveFileName(const SaveDialogRequest &request)
{
    if (saveDialog)
        return saveDialog(request);
    QFileDialog dialog(request.parent, request.title, request.directory);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(request.nameFilter);
    dialog.selectFile(request.fileName);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.confirmOverwrite);
    dialog.setDefaultSuffix(request.defaultSuffix);
    return chosenFile(dialog, request);
}
void setSaveDialog(std::function<QString(const SaveDialogRequest &)> d) { saveDialog = std::move(d); }

QString askOpenFileName(const SaveDialogRequest &request)
{
    if (openDialog)
        return openDialog(request);
    QFileDialog dialog(request.parent, request.title, request.directory);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters({request.nameFilter, QStringLiteral("All files (*)")});
    return chosenFile(dialog, request);
}
void setOpenDialog(std::function<QString(const SaveDialogRequest &)> d) { openDialog = std::move(d); }

namespace {
// Opens the address with the desktop's browser. On a free desktop that is xdg-open, whose
// exit status is waited for, the windows answering meanwhile: QDesktopServices counts the
// launcher's start as success, even when it then finds no browser. A launcher still running
// at the bound is taken to have started the browser, and left running.
bool realOpenUrl(const QUrl &url)
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    constexpr int kLauncherAnswerMs = 3000;
    const QString launcher = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (launcher.isEmpty())
        return QDesktopServices::openUrl(url);
    auto *process = new QProcess(QCoreApplication::instance());
    process->setStandardInputFile(QProcess::nullDevice());
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(QProcess::nullDevice());
    QEventLoop loop;
    bool ended = false;
    bool opened = false;
    QObject::connect(process, &QProcess::finished, &loop, [&](int exitCode, QProcess::ExitStatus status) {
        ended = true;
        opened = status == QProcess::NormalExit && exitCode == 0;
        loop.quit();
    });
    QObject::connect(process, &QProcess::errorOccurred, &loop, [&](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) {
            ended = true;
            loop.quit();
        }
    });
    QObject::connect(process, &QProcess::finished, process, &QObject::deleteLater);
    QTimer::singleShot(kLauncherAnswerMs, &loop, &QEventLoop::quit);
    process->start(launcher, {url.toString(QUrl::FullyEncoded)});
    if (!ended) // a launcher that cannot be started says so at once
        loop.exec();
    if (!ended)
        return true; // still running: it has found something to open the address with
    if (process->error() == QProcess::FailedToStart)
        process->deleteLater(); // no "finished" comes
    return opened;
#else
    return QDesktopServices::openUrl(url);
#endif
}
} // namespace

bool openUrl(const QUrl &url) { return browser ? browser(url) : realOpenUrl(url); }
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
