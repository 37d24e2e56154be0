#pragma once
// What every fuzz target shares: the application object and the platform doubles, set up
// once per process, and the check that stops the run on a broken rule.

#include "core/Platform.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>

// Stops the fuzzer with the broken rule, so the input that broke it is kept as a finding.
#define FUZZ_CHECK(condition)                                                                       \
    do {                                                                                            \
        if (!(condition)) {                                                                         \
            std::fprintf(stderr, "Broken rule at %s:%d: %s\n", __FILE__, __LINE__, #condition);     \
            std::abort();                                                                           \
        }                                                                                           \
    } while (0)

namespace fuzz {

// The answer the next message box gets, and whether one was shown since the last reset.
inline QMessageBox::StandardButton nextAnswer = QMessageBox::Yes;
inline int messagesShown = 0;

// The application object, a scratch folder as the current directory, and doubles for the
// message boxes, the beep and the end of the program (which must never come in a target).
inline void setUp()
{
    static int argc = 1;
    static char name[] = "orvane-fuzz";
    static char *argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    static QTemporaryDir scratch(QDir::tempPath() + QStringLiteral("/orvane-fuzz-XXXXXX"));
    if (!scratch.isValid() || !QDir::setCurrent(scratch.path()))
        std::abort();
    Platform::setMessagePresenter([](const MessageRequest &) {
        ++messagesShown;
        return nextAnswer;
    });
    Platform::setBeeper([] {});
    Platform::setProgramEnder([] {
        std::fprintf(stderr, "The program would have ended.\n");
        std::abort();
    });
    Platform::setWallClock([] { return QDateTime(QDate(2026, 6, 15), QTime(12, 0)); });
}

} // namespace fuzz
