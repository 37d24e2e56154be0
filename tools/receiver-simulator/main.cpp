// A pretend receiver on a pseudo-terminal, for trying the editor without one:
//   orvane-receiver-simulator [--paced] [--fault NAME] [--rom 105]
// prints the device path; point a port at it in the settings store
// (~/.config/Orvane/Orvane.conf, section [PORTS], Port1=/dev/pts/N) and transfer.
// Runs until interrupted (Ctrl-C).

#include "ReceiverSimulator.h"

#include <QByteArray>
#include <QString>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>

namespace {

const std::map<std::string, ReceiverSimulator::Fault> kFaults = {
    {"none", ReceiverSimulator::Fault::None},
    {"silent", ReceiverSimulator::Fault::Silent},
    {"nak", ReceiverSimulator::Fault::Nak},
    {"late-ack", ReceiverSimulator::Fault::LateAck},
    {"no-image-answer", ReceiverSimulator::Fault::NoImageAnswer},
    {"short-download", ReceiverSimulator::Fault::ShortDownload},
    {"bad-checksum", ReceiverSimulator::Fault::BadDownloadChecksum},
    {"garbage", ReceiverSimulator::Fault::GarbageBeforeAnswers},
    {"hang-up", ReceiverSimulator::Fault::HangUpInDownload},
    {"bad-end-mark", ReceiverSimulator::Fault::BadEndMark},
};

int usage()
{
    std::fprintf(stderr, "usage: orvane-receiver-simulator [--paced] [--fault NAME] [--rom XYZ]\nfaults:");
    for (const auto &[name, fault] : kFaults)
        std::fprintf(stderr, " %s", name.c_str());
    std::fprintf(stderr, "\n");
    return 2;
}

} // namespace

int main(int argc, char *argv[])
{
    ReceiverSimulator receiver;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--paced") {
            receiver.setPaced(true);
        } else if (arg == "--fault" && i + 1 < argc) {
            const auto found = kFaults.find(argv[++i]);
            if (found == kFaults.end())
                return usage();
            receiver.setFault(found->second);
        } else if (arg == "--rom" && i + 1 < argc) {
            receiver.setRomVersion(QByteArray(argv[++i]));
        } else {
            return usage();
        }
    }

    // Wait for Ctrl-C or a termination request without busy looping.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr); // the simulator's thread inherits this

    if (!receiver.start()) {
        std::fprintf(stderr, "no pseudo-terminal could be opened\n");
        return 1;
    }
    std::printf("%s\n", qPrintable(receiver.devicePath()));
    std::fflush(stdout);
    int received = 0;
    sigwait(&stopSignals, &received);
    receiver.stop();
    return 0;
}
