// Times whole transfers against the receiver simulator paced at 4800 bit/s and prints:
// the wall time of an exchange, the wire time of its 1892 bytes, the clock-second pause,
// what is left (the editor's own overhead), and the CPU the process uses while a transfer
// waits 20 s for an answer that never comes, and the peak memory of the process.
//   QT_QPA_PLATFORM=offscreen build/tools/bench-transfer/orvane-bench-transfer [exchanges]

#include "ReceiverSimulator.h"

#include "core/Platform.h"
#include "app/frmMain.h"
#include "config/ReceiverConfig.h"
#include "config/SettingsStore.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QSettings>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <sys/resource.h>
#include <vector>

namespace {

using Clock = ReceiverSimulator::Clock;

double seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

double processCpuSeconds()
{
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) / 1e9;
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    const int exchanges = argc > 1 ? std::max(1, atoi(argv[1])) : 3;

    QTemporaryDir home;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, home.path());
    QDir::setCurrent(home.path());
    loadSettings();
    FipsList[0] = QStringLiteral("X 012011  Broward                Florida");
    FipsList[1] = QStringLiteral("X 012085  Martin                 Florida");
    EventList[0] = QStringLiteral("TOR");
    EventList[1] = QStringLiteral("SVR");

    ReceiverSimulator receiver;
    receiver.setPaced(true);
    if (!receiver.start()) {
        std::fprintf(stderr, "no pseudo-terminal\n");
        return 1;
    }
    {
        QSettings store(QStringLiteral("Orvane"), QStringLiteral("Orvane"));
        store.setValue(QStringLiteral("PORTS/Port1"), receiver.devicePath());
    }
    ReceiverConfig.EDITOR.SerialPort = 1;

    // The pause is the stretch in which the transfer reads the wall clock.
    std::vector<Clock::time_point> clockReads;
    Platform::setWallClock([&clockReads] {
        clockReads.push_back(Clock::now());
        return QDateTime::currentDateTime();
    });
    // Message boxes would stop the run; note them instead.
    Platform::setMessagePresenter([](const MessageRequest &request) {
        std::printf("  message: %s\n", qPrintable(request.text));
        return QMessageBox::Ok;
    });

    frmMain main;
    main.show();

    const double wire = 1892 * 10.0 / 4800;
    std::printf("Transfer against the simulator at 4800 bit/s (%d exchanges)\n", exchanges);
    std::printf("%-10s %10s %10s %10s %10s  %s\n", "exchange", "wall s", "wire s", "pause s", "overhead ms", "status");
    double overheadSum = 0;
    for (int i = 1; i <= exchanges; ++i) {
        clockReads.clear();
        const auto start = Clock::now();
        main.EstConnect();
        const auto end = Clock::now();
        const auto imageStart = receiver.lastImageStart();
        Clock::time_point pauseStart{}, pauseEnd{};
        for (const auto &t : clockReads) {
            if (t > imageStart)
                break;
            if (pauseStart == Clock::time_point{})
                pauseStart = t;
            pauseEnd = t;
        }
        const double wall = seconds(end - start);
        const double pause = seconds(pauseEnd - pauseStart);
        const double overhead = wall - wire - pause;
        overheadSum += overhead;
        std::printf("%-10d %10.3f %10.3f %10.3f %10.1f  %s\n", i, wall, wire, pause, overhead * 1000,
                    qPrintable(main.statusPanelText(1)));
    }
    std::printf("mean overhead: %.1f ms\n\n", overheadSum * 1000 / exchanges);

    receiver.setFault(ReceiverSimulator::Fault::NoImageAnswer);
    std::printf("Upload answer never comes (20 s time-out):\n");
    const double cpuBefore = processCpuSeconds();
    const auto start = Clock::now();
    main.EstConnect();
    const double wall = seconds(Clock::now() - start);
    const double cpu = processCpuSeconds() - cpuBefore;
    std::printf("  wall %.3f s, process CPU %.3f s = %.2f %% of one core  (status: %s)\n", wall, cpu,
                100.0 * cpu / wall, qPrintable(main.statusPanelText(1)));

    // The main window with a downloaded history, after every exchange above.
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("peak resident memory of this process: %.1f MiB\n", usage.ru_maxrss / 1024.0);
    return 0;
}
