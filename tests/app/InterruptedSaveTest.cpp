#include "support/Processes.h"
#include "support/TestRegistry.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <array>

// Every file the editor saves is killed in the middle of its save at every system call: a
// trace of the save program (tests/app/interrupted-save) lists the calls between its marks
// before and after the save, and strace then runs it again for each of them, killing it at
// that call (by its name and its count in the program). After every kill the file must be
// exactly the old one or exactly the new one: never a mix, a stub, an empty file or no file
// at all (no file only where there was none before: the first save).
namespace {

// However slow the machine, one run of the save program ends well within this; a run that
// does not is killed and the test fails.
constexpr int kRunTimeLimitMs = 20000;
// The kills that run at the same time.
constexpr int kFoldersAtOnce = 4;

QStringList saveArguments(const QByteArray &file, const QString &directory, const char *variant)
{
    return {QString::fromLatin1(file), directory, QString::fromLatin1(variant)};
}

// Runs the save program to its end: its exit code, -9 when killed, -1 when it did not end in time.
int runSave(const QByteArray &file, const QString &directory, const char *variant, const QStringList &straceArguments = {})
{
    const ProgramRun run = straceArguments.isEmpty()
        ? runProgram(QStringLiteral(ORVANE_SAVE_CHILD_BINARY), saveArguments(file, directory, variant), kRunTimeLimitMs)
        : runProgram(QStringLiteral("strace"), straceArguments + QStringList{ORVANE_SAVE_CHILD_BINARY} + saveArguments(file, directory, variant),
                     kRunTimeLimitMs);
    return !run.finished ? -1 : run.crashed ? -9 : run.exitCode;
}

// The system calls of the save, from its first mark to its last, as strace injection
// arguments: the call's name and its count among the program's calls of that name.
QStringList saveCalls(const QString &trace)
{
    QStringList calls;
    QHash<QString, int> counts;
    bool inSave = false;
    const QRegularExpression call(QStringLiteral("^([a-z0-9_]+)\\("));
    for (const QString &line : trace.split(u'\n')) {
        const QRegularExpressionMatch m = call.match(line);
        if (!m.hasMatch())
            continue;
        const int count = ++counts[m.captured(1)];
        inSave = inSave || line.startsWith(QLatin1String("write(-1, \"save begins\""));
        if (inSave)
            calls << QStringLiteral("inject=%1:signal=KILL:when=%2").arg(m.captured(1)).arg(count);
        if (line.startsWith(QLatin1String("write(-1, \"save ends\"")))
            return calls;
    }
    return {};
}

// The strace arguments that kill the program at `call` (as saveCalls gives it), tracing no other.
QStringList killAt(const QString &call)
{
    return {"-qq", "-o", "/dev/null", "-e", QStringLiteral("trace=") + call.section(u':', 0, 0).mid(7), "-e", call};
}

QByteArray readFile(const QString &path, bool *exists = nullptr)
{
    QFile file(path);
    const bool opened = file.open(QIODevice::ReadOnly);
    if (exists)
        *exists = opened;
    return opened ? file.readAll() : QByteArray();
}

// Every file below `directory` but the saved one (temporary and lock files a save left).
QStringList strayFiles(const QString &directory, const QString &saved)
{
    QStringList found;
    QDirIterator it(directory, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext())
        if (const QString path = QDir(directory).relativeFilePath(it.next()); path != saved)
            found << path;
    return found;
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
        const struct { const char *name, *file, *saved; } files[] = {
            {"parameter file", "parameters", "ORVANE_FILE2.DAT"}, {"settings store", "settings", "config/Orvane/Orvane.conf"},
            {"history report", "report", "HISTORY.TXT"}, {"data dump", "dump", "ORVANE.TXT"}};
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
        if (QStandardPaths::findExecutable(QStringLiteral("strace")).isEmpty())
            QFAIL("strace is missing (scripts/packages.sh installs it)");
        QElapsedTimer elapsed;
        elapsed.start();
        // The kills run a few at a time, each in a folder of its own, which holds its own old
        // and new file (the settings store keeps the folder it was saved from).
        struct Folder {
            QTemporaryDir scratch;
            QString work, target;
            QByteArray old, fresh;
            QProcess process;
        };
        std::array<Folder, kFoldersAtOnce> folders;
        auto restoreOldFile = [firstSave](Folder &f) {
            for (const QFileInfo &entry :
                 QDir(f.work).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot))
                if (!(entry.isDir() ? QDir(entry.filePath()).removeRecursively() : QFile::remove(entry.filePath())))
                    return false;
            if (firstSave)
                return true;
            QDir().mkpath(QFileInfo(f.target).absolutePath());
            QFile out(f.target);
            return out.open(QIODevice::WriteOnly) && out.write(f.old) == f.old.size();
        };
        QTemporaryDir traces;
        QStringList calls;
        for (Folder &f : folders) {
            QVERIFY(f.scratch.isValid() && traces.isValid());
            f.work = f.scratch.path();
            f.target = f.work + u'/' + saved;
            if (!firstSave) {
                QCOMPARE(runSave(file, f.work, "old"), 0);
                f.old = readFile(f.target);
                QVERIFY(!f.old.isEmpty());
            }
            // The save program starts over the old file: it reads the store before saving, as
            // the editor does at start-up. Its trace lists the calls of the save, the same in
            // every folder.
            QVERIFY(restoreOldFile(f));
            const QString trace = traces.filePath(QStringLiteral("trace"));
            QCOMPARE(runSave(file, f.work, "new", {"-qq", "-o", trace}), 0);
            f.fresh = readFile(f.target);
            QVERIFY(!f.fresh.isEmpty());
            QVERIFY(f.old != f.fresh);
            QCOMPARE(strayFiles(f.work, saved), QStringList());
            const QStringList those = saveCalls(QString::fromLatin1(readFile(trace)));
            QVERIFY2(those.size() > 2, "no save between the marks in the trace");
            if (calls.isEmpty())
                calls = those;
            QVERIFY2(those == calls, qPrintable(those.join(u' ') + QStringLiteral("\n") + calls.join(u' ')));
        }

        int oldLeft = 0, newLeft = 0, strayLeft = 0;
        QStringList leftovers; // the kinds of files that kills left beside the saved one
        for (int first = 0; first < calls.size(); first += kFoldersAtOnce) {
            const int batch = std::min<int>(kFoldersAtOnce, calls.size() - first);
            for (int i = 0; i < batch; ++i) {
                QVERIFY(restoreOldFile(folders[i]));
                folders[i].process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
                folders[i].process.start(QStringLiteral("strace"), killAt(calls[first + i]) + QStringList{ORVANE_SAVE_CHILD_BINARY} +
                                                                       saveArguments(file, folders[i].work, "new"));
            }
            for (int i = 0; i < batch; ++i) {
                Folder &f = folders[i];
                const QString where =
                    QStringLiteral("killed at system call %1 of the save (%2): ").arg(first + i + 1).arg(calls[first + i]);
                // strace ends the way its program ended: killed by the same signal.
                const bool ended = f.process.waitForFinished(kRunTimeLimitMs);
                if (!ended)
                    f.process.kill(), f.process.waitForFinished();
                QVERIFY2(ended && f.process.exitStatus() == QProcess::CrashExit, qPrintable(where + QStringLiteral("the save was not killed")));
                bool exists = false;
                const QByteArray left = readFile(f.target, &exists);
                QVERIFY2(exists || firstSave, qPrintable(where + QStringLiteral("the file is gone")));
                if (firstSave ? !exists : left == f.old)
                    ++oldLeft;
                else if (left == f.fresh)
                    ++newLeft;
                else
                    QFAIL(qPrintable(where + QStringLiteral("neither the old nor the new file but %1 bytes (old %2, new %3)")
                                                 .arg(left.size()).arg(f.old.size()).arg(f.fresh.size())));
                // A save after a killed one must not trip over what the kill left (a stale
                // lock, a temporary file); tried once for each kind of leftover.
                const QStringList stray = strayFiles(f.work, saved);
                if (stray.isEmpty())
                    continue;
                ++strayLeft;
                QStringList kinds;
                for (const QString &name : stray) {
                    QFile leftover(f.work + u'/' + name);
                    if (!name.endsWith(QLatin1String(".lock"))) {
                        kinds << QStringLiteral("temporary file");
                    } else if (leftover.size() > 0) {
                        kinds << QStringLiteral("lock file");
                    } else {
                        // Killed before it got its owner's name, the lock is taken as stale
                        // only once it is 30 s old, and the settings store waits that long.
                        // Made old here, as it is when the editor is started again later.
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
                const int next = runSave(file, f.work, "new");
                QVERIFY2(next == 0, qPrintable(where + QStringLiteral("the next save ended with %1").arg(next)));
                QCOMPARE(readFile(f.target), f.fresh);
                // The stale lock is gone; a temporary file stays (nothing knows it is there).
                QStringList unlocked = stray;
                unlocked.removeIf([](const QString &name) { return name.endsWith(QLatin1String(".lock")); });
                QCOMPARE(strayFiles(f.work, saved), unlocked);
            }
        }
        // The kills fell both before and after the new file took the old one's place.
        QVERIFY(oldLeft > 0);
        QVERIFY(newLeft > 0);
        qInfo("%s: %lld kill points, %d left the old file (or none), %d the new one; %d left beside it: %s (%lld ms)",
              QTest::currentDataTag(), qint64(calls.size()), oldLeft, newLeft, strayLeft,
              qPrintable(leftovers.isEmpty() ? QStringLiteral("nothing") : leftovers.join(QStringLiteral("; "))),
              qint64(elapsed.elapsed()));
    }
};

ORVANE_TEST(InterruptedSaveTest)
#include "InterruptedSaveTest.moc"
