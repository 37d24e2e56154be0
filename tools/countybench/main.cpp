// Times the county scan over the 54 state files, the county search of "Find County" keystroke
// by keystroke, and the loading steps of start-up:
//   QT_QPA_PLATFORM=offscreen build/tools/countybench/orvane-countybench [States directory]
// (the default is data/States of the source tree). Prints milliseconds; asserts nothing.

#include "core/Platform.h"
#include "app/Startup.h"
#include "config/ReceiverConfig.h"
#include "selection/CountyIndex.h"
#include "selection/CountySearch.h"
#include "selection/StateDatabase.h"
#include "selection/frmFindCounty.h"
#include "selection/frmFIPS.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <algorithm>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QSettings>
#include <QTemporaryDir>
#include <cstdio>

namespace {

double millisecondsPerRun(int runs, const std::function<void()> &work)
{
    QElapsedTimer timer;
    timer.start();
    for (int k = 0; k < runs; ++k)
        work();
    return double(timer.nsecsElapsed()) / 1e6 / runs;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // Absolute, because the run below moves to a scratch working folder.
    const QString states = QFileInfo(argc > 1 ? QString::fromLocal8Bit(argv[1])
                                              : QStringLiteral(ORVANE_SOURCE_DIR "/data/States"))
                               .absoluteFilePath();
    setStatesDirectory(states);

    // A clean current directory and settings store, and every question answered Yes, so
    // start-up runs as on a first start with the defaults taken.
    QTemporaryDir home;
    QDir::setCurrent(home.path());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, home.path());
    Platform::setMessagePresenter([](const MessageRequest &) { return QMessageBox::Yes; });
    Platform::setBeeper([] {});

    std::printf("state files: %s\n", qPrintable(states));
    const int runs = 50;
    for (const char *key : {" West Palm Beach, FL     162.475", " Pensacola, FL           162.400",
                            " San Antonio, TX         162.550", " No Such Place           162.400"}) {
        const QString transmitter = QString::fromLatin1(key);
        const double ms = millisecondsPerRun(runs, [&] {
            frmFIPS::instance()->lstFips->clear();
            collectTransmitterCounties(transmitter);
        });
        std::printf("collectTransmitterCounties %-34s %7.2f ms  (%d counties, mean of %d)\n",
                    qPrintable(u'"' + transmitter + u'"'), ms, int(frmFIPS::instance()->lstFips->count()), runs);
    }

    // The county search as the owner types: every prefix of each text from two characters
    // on is one keystroke's search. The first search reads the 54 files; the rest use what
    // it read.
    const QStringList typed = {"washington", "st lucie", "012011", "00", "cook", "chicago", "hialeah", "zzzz"};
    const double firstMs = millisecondsPerRun(1, [] { findCounties(QStringLiteral("cook")); });
    std::printf("county search, first (reads the %d state files, %d counties) %7.2f ms\n", kStateCount,
                int(indexedCounties().size()), firstMs);
    double slowest = 0, sum = 0;
    int keystrokes = 0;
    for (const QString &text : typed) {
        for (int n = kCountySearchMinimum; n <= text.size(); ++n) {
            const QString prefix = text.left(n);
            int found = 0;
            const double ms = millisecondsPerRun(runs, [&] { found = int(findCounties(prefix).matches.size()); });
            slowest = std::max(slowest, ms);
            sum += ms;
            ++keystrokes;
            if (n == text.size())
                std::printf("county search %-12s %7.3f ms  (%d counties, mean of %d)\n", qPrintable(u'"' + prefix + u'"'), ms, found, runs);
        }
    }
    std::printf("county search per keystroke: mean %.3f ms, slowest %.3f ms (%d keystrokes)\n", sum / keystrokes, slowest, keystrokes);
    // The same keystrokes typed into the window: the search and the list of matches it shows.
    {
        frmFindCounty find([](const IndexedCounty &, const IndexedTransmitter &) { return false; });
        double windowSlowest = 0, windowSum = 0;
        for (const QString &text : typed)
            for (int n = kCountySearchMinimum; n <= text.size(); ++n) {
                const double ms = millisecondsPerRun(10, [&] {
                    find.txtSearch->clear();
                    find.txtSearch->setText(text.left(n));
                });
                windowSlowest = std::max(windowSlowest, ms);
                windowSum += ms;
            }
        std::printf("Find County window per keystroke (search and list): mean %.3f ms, slowest %.3f ms\n",
                    windowSum / keystrokes, windowSlowest);
    }

    double total = 0;
    for (const StartupStep &step : startupLoadingSteps()) {
        QFile::remove(QStringLiteral("ORVANE_FILE2.DAT"));
        clearReceiverConfig();
        // Each step after its predecessors, as start-up runs them; only the step is timed.
        for (const StartupStep &before : startupLoadingSteps()) {
            if (before.name == step.name)
                break;
            runStartupStep(before);
        }
        const double ms = millisecondsPerRun(1, [&] { runStartupStep(step); });
        total += ms;
        std::printf("start-up step %-22s %7.2f ms\n", qPrintable(step.name), ms);
    }
    std::printf("start-up loading steps total     %7.2f ms\n", total);
    return 0;
}
