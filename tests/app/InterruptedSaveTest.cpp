#include "support/TestRegistry.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <fcntl.h>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <csignal>
#include <spawn.h>
#include <sys/ptrace.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

// Every file the editor saves is killed in the middle of its save at every system call:
// the save program (tests/app/interrupted-save) stops itself just before and just after the
// save, and this test steps it from one system call stop to the next (each entry into and
// each return from the kernel) and sends SIGKILL at stop 1, then at stop 2, and so on, until
// a run gets through the whole save untouched. After every kill the file must be exactly the
// old one or exactly the new one: never a mix, a stub, an empty file or no file at all (no
// file only where there was none before: the first save).
namespace {

using Clock = std::chrono::steady_clock;

// However slow the machine, one run of the save program ends well within this; a run that
// does not is killed and the test fails.
constexpr auto kRunTimeLimit = std::chrono::seconds(20);
// A save of any of these files makes far fewer system calls; more stops mean a runaway.
constexpr int kMostStops = 5000;

struct ChildRun {
    enum class Outcome { Killed, Completed, Failed };
    Outcome outcome = Outcome::Failed;
    int stops = 0;   // system call stops seen during the save
    QString problem; // why the run failed
};

QString describeStatus(int status)
{
    if (WIFEXITED(status))
        return QStringLiteral("ended with status %1").arg(WEXITSTATUS(status));
    if (WIFSIGNALED(status))
        return QStringLiteral("died of signal %1").arg(WTERMSIG(status));
    if (WIFSTOPPED(status))
        return QStringLiteral("stopped by signal %1").arg(WSTOPSIG(status));
    return QStringLiteral("status %1").arg(status);
}

// Kills the process being waited for once the wait outlasts its deadline, which ends the
// wait: a SIGKILL ends any process, a traced one too. It looks every 50 ms, so that a wait
// costs no more than a blocking waitpid (a stepped save waits hundreds of times).
class Watchdog
{
public:
    Watchdog() : guard([this] { patrol(); }) {}
    ~Watchdog()
    {
        {
            std::lock_guard lock(mutex);
            quit = true;
        }
        wake.notify_all();
        guard.join();
    }
    void watch(pid_t pid, Clock::time_point deadline)
    {
        std::lock_guard lock(mutex);
        watched = pid;
        until = deadline;
        fired = false;
    }
    // False when the process was killed for its deadline.
    bool release()
    {
        std::lock_guard lock(mutex);
        watched = -1;
        return !fired;
    }

private:
    void patrol()
    {
        std::unique_lock lock(mutex);
        while (!quit) {
            wake.wait_for(lock, std::chrono::milliseconds(50));
            if (watched > 0 && Clock::now() > until) {
                kill(watched, SIGKILL);
                fired = true;
                watched = -1;
            }
        }
    }

    std::mutex mutex;
    std::condition_variable wake;
    pid_t watched = -1;
    Clock::time_point until;
    bool fired = false;
    bool quit = false;
    std::thread guard; // last: starts once the rest is in place
};

// Waits for the next change of the child's state, at most until `deadline`: past it the child
// is killed and reaped, and the result is false.
bool waitForChild(pid_t pid, int &status, Clock::time_point deadline)
{
    static Watchdog watchdog;
    watchdog.watch(pid, deadline);
    pid_t r = -1;
    do
        r = waitpid(pid, &status, __WALL);
    while (r < 0 && errno == EINTR);
    if (watchdog.release())
        return r == pid;
    if (r == pid && WIFSTOPPED(status)) // it stopped just as it was killed
        waitpid(pid, &status, __WALL);
    return false;
}

// Starts the save program; with `commands` (the reading end of a pipe) as its standard input
// it serves forked saves.
pid_t startSaveProgram(const QByteArray &file, const QString &directory, const char *variant, int commands = -1)
{
    QByteArray program = ORVANE_SAVE_CHILD_BINARY;
    QByteArray fileArg = file;
    QByteArray dir = QFile::encodeName(directory);
    QByteArray var = variant;
    QByteArray serve = "--serve";
    char *argv[] = {program.data(), fileArg.data(), dir.data(), var.data(), commands >= 0 ? serve.data() : nullptr,
                    nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (commands >= 0)
        posix_spawn_file_actions_adddup2(&actions, commands, STDIN_FILENO);
    pid_t pid = -1;
    const int failed = posix_spawn(&pid, program.constData(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    return failed ? -1 : pid;
}

// Runs the save program once, untraced; its exit status, or -1 when it did not end normally.
int runSave(const QByteArray &file, const QString &directory, const char *variant)
{
    const pid_t pid = startSaveProgram(file, directory, variant);
    if (pid < 0)
        return -1;
    int status = 0;
    if (!waitForChild(pid, status, Clock::now() + kRunTimeLimit) || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

// The save program serving the new save: traced, with every save it forks traced as well.
class SaveServer
{
public:
    SaveServer(const QByteArray &file, const QString &directory)
    {
        int ends[2];
        if (pipe2(ends, O_CLOEXEC) != 0) {
            problem = QStringLiteral("no pipe");
            return;
        }
        server = startSaveProgram(file, directory, "new", ends[0]);
        close(ends[0]);
        commands = ends[1];
        if (server < 0) {
            problem = QStringLiteral("the save program did not start");
            return;
        }
        int status = 0;
        if (!waitForChild(server, status, Clock::now() + kRunTimeLimit) || !WIFSTOPPED(status) ||
            WSTOPSIG(status) != SIGSTOP) {
            problem = QStringLiteral("the save program %1 instead of waiting (3: tracing refused)")
                          .arg(describeStatus(status));
            return;
        }
        // The saves it forks are traced from their first instruction; all die with this test
        // should the test itself die while they are traced.
        const long options = PTRACE_O_TRACESYSGOOD | PTRACE_O_EXITKILL | PTRACE_O_TRACEFORK;
        if (ptrace(PTRACE_SETOPTIONS, server, nullptr, reinterpret_cast<void *>(options)) != 0 ||
            ptrace(PTRACE_CONT, server, nullptr, nullptr) != 0)
            problem = QStringLiteral("tracing refused: %1").arg(errno);
    }

    ~SaveServer()
    {
        if (commands >= 0)
            close(commands); // the end of its input ends the program
        if (server < 0)
            return;
        const auto deadline = Clock::now() + kRunTimeLimit;
        int status = 0;
        while (waitForChild(server, status, deadline) && WIFSTOPPED(status)) {
            // It stops itself once more before it ends; it ends untraced.
            const int signal = WSTOPSIG(status);
            if (signal == SIGSTOP) {
                ptrace(PTRACE_DETACH, server, nullptr, nullptr);
                waitForChild(server, status, deadline);
                break;
            }
            ptrace(PTRACE_CONT, server, nullptr, reinterpret_cast<void *>(long(signal)));
        }
    }

    QString problem; // why the server cannot serve; empty when it can

    // One save, killed at system call stop `killAt` of the save (counted from 1), or run to
    // its end when it makes fewer stops.
    // With `killAt` 0 the save runs untouched, unstepped.
    ChildRun save(int killAt)
    {
        ChildRun run;
        const auto deadline = Clock::now() + kRunTimeLimit;
        auto fail = [&run](const QString &why) {
            run.outcome = ChildRun::Outcome::Failed;
            run.problem = why;
            return run;
        };
        if (write(commands, "s", 1) != 1)
            return fail(QStringLiteral("the save program takes no command"));
        // The server forks: the copy is ours to trace. Signals to the server (the end of the
        // previous copy) are passed on.
        pid_t copy = -1;
        int status = 0;
        while (copy < 0) {
            if (!waitForChild(server, status, deadline) || !WIFSTOPPED(status))
                return fail(QStringLiteral("the save program %1 instead of forking").arg(describeStatus(status)));
            if (status >> 8 == (SIGTRAP | (PTRACE_EVENT_FORK << 8))) {
                unsigned long message = 0;
                ptrace(PTRACE_GETEVENTMSG, server, nullptr, &message);
                copy = pid_t(message);
                ptrace(PTRACE_CONT, server, nullptr, nullptr);
            } else {
                ptrace(PTRACE_CONT, server, nullptr, reinterpret_cast<void *>(long(WSTOPSIG(status))));
            }
        }
        auto killCopy = [&]() {
            kill(copy, SIGKILL);
            waitpid(copy, &status, __WALL);
        };
        // The copy starts stopped; it then stops itself just before the save.
        for (int mark = 0; mark < 2; ++mark) {
            if (!waitForChild(copy, status, deadline) || !WIFSTOPPED(status) || WSTOPSIG(status) != SIGSTOP) {
                killCopy();
                return fail(QStringLiteral("the save did not begin: %1").arg(describeStatus(status)));
            }
            if (mark == 0)
                ptrace(PTRACE_CONT, copy, nullptr, nullptr);
        }
        long deliver = 0;
        for (;;) {
            if (ptrace(killAt > 0 ? PTRACE_SYSCALL : PTRACE_CONT, copy, nullptr, reinterpret_cast<void *>(deliver)) != 0) {
                killCopy();
                return fail(QStringLiteral("could not resume the save: %1").arg(errno));
            }
            deliver = 0;
            if (!waitForChild(copy, status, deadline))
                return fail(QStringLiteral("the save did not end within the time limit (stop %1)").arg(run.stops));
            if (!WIFSTOPPED(status))
                return fail(QStringLiteral("the save %1 before it was complete").arg(describeStatus(status)));
            const int signal = WSTOPSIG(status);
            if (signal == (SIGTRAP | 0x80)) { // a system call stop: on entry or on return
                if (++run.stops > kMostStops) {
                    killCopy();
                    return fail(QStringLiteral("more than %1 system call stops").arg(kMostStops));
                }
                if (run.stops < killAt)
                    continue;
                kill(copy, SIGKILL);
                if (!waitForChild(copy, status, deadline) || !WIFSIGNALED(status) || WTERMSIG(status) != SIGKILL)
                    return fail(QStringLiteral("the kill did not end the save: %1").arg(describeStatus(status)));
                run.outcome = ChildRun::Outcome::Killed;
                return run;
            }
            if (signal == SIGSTOP) { // stopped itself after the save: let it end on its own
                ptrace(PTRACE_CONT, copy, nullptr, nullptr);
                if (!waitForChild(copy, status, deadline) || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
                    return fail(QStringLiteral("the untouched save %1").arg(describeStatus(status)));
                run.outcome = ChildRun::Outcome::Completed;
                return run;
            }
            deliver = signal; // any other signal is the save's own: pass it on
        }
    }

private:
    pid_t server = -1;
    int commands = -1;
};

QByteArray readFile(const QString &path, bool *exists = nullptr)
{
    QFile file(path);
    const bool opened = file.open(QIODevice::ReadOnly);
    if (exists)
        *exists = opened;
    return opened ? file.readAll() : QByteArray();
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

// Every file below `directory` but the saved one (temporary and lock files a save left).
QStringList strayFiles(const QString &directory, const QString &saved)
{
    QStringList found;
    QDirIterator it(directory, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = QDir(directory).relativeFilePath(it.next());
        if (path != saved)
            found << path;
    }
    return found;
}

// Where old and new part from what the file holds, for the failure message.
QString describeMix(const QByteArray &left, const QByteArray &old, const QByteArray &fresh)
{
    auto firstDifference = [&left](const QByteArray &other) {
        qsizetype i = 0;
        while (i < left.size() && i < other.size() && left[i] == other[i])
            ++i;
        return i;
    };
    return QStringLiteral("%1 bytes (old %2, new %3), differing from the old at byte %4 and from the new at byte %5")
        .arg(left.size())
        .arg(old.size())
        .arg(fresh.size())
        .arg(firstDifference(old))
        .arg(firstDifference(fresh));
}

} // namespace

class InterruptedSaveTest : public QObject
{
    Q_OBJECT
private slots:
    void killedSaveLeavesOldOrNewFile_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("saved");   // the file's path in the save's directory
        QTest::addColumn<bool>("firstSave"); // no file before the save: "old" is no file
        const struct {
            const char *name;
            const char *file;
            const char *saved;
        } files[] = {
            {"parameter file", "parameters", "ORVANE_FILE2.DAT"},
            {"settings store", "settings", "config/Orvane/Orvane.conf"},
            {"history report", "report", "HISTORY.TXT"},
            {"data dump", "dump", "ORVANE.TXT"},
        };
        for (const bool firstSave : {false, true})
            for (const auto &f : files)
                QTest::newRow(qPrintable(QString::fromLatin1(f.name) + (firstSave ? QStringLiteral(", first save") : QString())))
                    << QByteArray(f.file) << QString::fromLatin1(f.saved) << firstSave;
    }

    void killedSaveLeavesOldOrNewFile()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, saved);
        QFETCH(bool, firstSave);
        QTemporaryDir scratch;
        QVERIFY(scratch.isValid());
        QElapsedTimer elapsed;
        elapsed.start();
        const QString work = scratch.path();
        const QString target = work + u'/' + saved;
        auto emptyFolder = [&work] {
            for (const QFileInfo &entry :
                 QDir(work).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot))
                if (!(entry.isDir() ? QDir(entry.filePath()).removeRecursively() : QFile::remove(entry.filePath())))
                    return false;
            return true;
        };

        // The old file, and the new one that the save puts in its place, made in the very
        // folder of the kills (the settings store keeps the folder it was saved from).
        QByteArray old;
        if (!firstSave) {
            QCOMPARE(runSave(file, work, "old"), 0);
            old = readFile(target);
            QVERIFY(!old.isEmpty());
        }
        QCOMPARE(runSave(file, work, "new"), 0);
        const QByteArray fresh = readFile(target);
        QVERIFY(!fresh.isEmpty());
        QVERIFY(old != fresh);
        QCOMPARE(strayFiles(work, saved), QStringList());
        auto restoreOldFile = [&] { return emptyFolder() && (firstSave || writeFile(target, old)); };

        // The save program starts over the old file: it reads the store before saving, as the
        // editor does at start-up.
        QVERIFY(restoreOldFile());
        SaveServer server(file, work);
        QVERIFY2(server.problem.isEmpty(), qPrintable(server.problem));

        int killPoints = -1;
        int oldLeft = 0;
        int newLeft = 0;
        int strayLeft = 0;
        QStringList leftovers; // the kinds of files that kills left beside the saved one
        for (int killAt = 1; killAt <= kMostStops + 1 && killPoints < 0; ++killAt) {
            QVERIFY(restoreOldFile());
            const ChildRun run = server.save(killAt);
            QVERIFY2(run.outcome != ChildRun::Outcome::Failed, qPrintable(run.problem));
            if (run.outcome == ChildRun::Outcome::Completed) {
                killPoints = run.stops;
                QCOMPARE(readFile(target), fresh);
                QCOMPARE(strayFiles(work, saved), QStringList());
                break;
            }
            bool exists = false;
            const QByteArray left = readFile(target, &exists);
            const QString where = QStringLiteral("killed at system call stop %1: ").arg(killAt);
            QVERIFY2(exists || firstSave, qPrintable(where + QStringLiteral("the file is gone")));
            if (firstSave ? !exists : left == old)
                ++oldLeft;
            else if (left == fresh)
                ++newLeft;
            else
                QFAIL(qPrintable(where + QStringLiteral("neither the old nor the new file: ") +
                                 describeMix(left, old, fresh)));
            // A save after a killed one must not trip over what the kill left (a stale lock,
            // a temporary file); tried once for each kind of leftover.
            const QStringList stray = strayFiles(work, saved);
            if (stray.isEmpty())
                continue;
            ++strayLeft;
            QStringList kinds;
            for (const QString &name : stray) {
                QFile leftover(work + u'/' + name);
                if (!name.endsWith(QLatin1String(".lock"))) {
                    kinds << QStringLiteral("temporary file");
                } else if (leftover.size() > 0) {
                    kinds << QStringLiteral("lock file");
                } else {
                    // Killed before it got its owner's name, the lock is taken as stale only
                    // once it is 30 s old, and the settings store waits that long. Made old
                    // here, as it is when the editor is started again later.
                    kinds << QStringLiteral("empty lock file");
                    QVERIFY(leftover.open(QIODevice::ReadWrite));
                    QVERIFY(leftover.setFileTime(QDateTime::currentDateTime().addSecs(-60),
                                                 QFileDevice::FileModificationTime));
                }
            }
            kinds.sort();
            const QString kind = kinds.join(QStringLiteral(" and "));
            if (leftovers.contains(kind))
                continue;
            leftovers << kind;
            const ChildRun again = server.save(0);
            QVERIFY2(again.outcome == ChildRun::Outcome::Completed,
                     qPrintable(where + QStringLiteral("the next save: ") + again.problem));
            QCOMPARE(readFile(target), fresh);
            // The stale lock is gone; a temporary file stays (nothing knows it is there).
            QStringList unlocked = stray;
            unlocked.removeIf([](const QString &name) { return name.endsWith(QLatin1String(".lock")); });
            QCOMPARE(strayFiles(work, saved), unlocked);
        }
        QVERIFY2(killPoints > 0, "the save never ran to its end");
        // The kills fell both before and after the new file took the old one's place.
        QVERIFY(oldLeft > 0);
        QVERIFY(newLeft > 0);
        qInfo("%s: %d kill points, %d left the old file (or none), %d the new one; %d left beside it: %s (%lld ms)",
              QTest::currentDataTag(), killPoints, oldLeft, newLeft, strayLeft,
              qPrintable(leftovers.isEmpty() ? QStringLiteral("nothing") : leftovers.join(QStringLiteral("; "))),
              qint64(elapsed.elapsed()));
    }
};

ORVANE_TEST(InterruptedSaveTest)
#include "InterruptedSaveTest.moc"
