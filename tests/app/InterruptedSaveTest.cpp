#include "config/ConfigTestSupport.h"
#include "support/Processes.h"
#include "support/TestRegistry.h"

#include <QtTest>
#include <array>

// Every file the editor saves, killed at every system call of its save: a trace of the save
// program (tests/app/interrupted-save) lists the calls between its marks, and strace runs it
// again for each, killing it at that call (by name and count). After every kill the file is
// exactly the old one or the new one (or none, where there was none: the first save), and the
// next save does not trip over what the kill left.
namespace {

constexpr int kRunTimeLimitMs = 20000; // one run of the save program, however slow the machine
constexpr int kFoldersAtOnce = 4;      // the kills that run at the same time, a folder each

// Every file below `directory` but the saved one (temporary and lock files a save left).
QStringList strayFiles(const QString &directory, const QString &saved)
{
    QStringList found;
    for (QDirIterator it(directory, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories); it.hasNext();)
        if (const QString path = QDir(directory).relativeFilePath(it.next()); path != saved) found << path;
    return found;
}

// A folder of its own holds the old and the new file (the settings store keeps the folder).
struct Folder {
    QTemporaryDir scratch;
    QString target;
    QByteArray old, fresh;
    QProcess process;
};

} // namespace

class InterruptedSaveTest : public QObject
{
    Q_OBJECT
    struct Row { const char *name, *file, *saved; bool firstSave; };
    Row now{};

    QStringList save(const Folder &f) const { return {ORVANE_SAVE_CHILD_BINARY, now.file, f.scratch.path(), "new"}; }
    // The save program's exit code (under strace when given its options), -9 killed, -1 too slow.
    static int run(const QStringList &command, const QStringList &strace = {})
    {
        const ProgramRun r = strace.isEmpty() ? runProgram(command[0], command.mid(1), kRunTimeLimitMs) : runProgram("strace", strace + command, kRunTimeLimitMs);
        return !r.finished ? -1 : r.crashed ? -9 : r.exitCode;
    }
    // Empties the folder and puts the old file back (none before the first save).
    bool restoreOldFile(Folder &f) const
    {
        QFile out(f.target);
        return QDir(f.scratch.path()).removeRecursively() && QDir().mkpath(now.firstSave ? f.scratch.path() : QFileInfo(f.target).path()) &&
               (now.firstSave || (out.open(QIODevice::WriteOnly) && out.write(f.old) == f.old.size()));
    }

private slots:
    void killedSaveLeavesOldOrNewFile_data()
    {
        QTest::addColumn<Row>("row");
        for (const bool first : {false, true})
            for (const Row &r : {Row{"parameter file", "parameters", "ORVANE_FILE2.DAT", first}, Row{"settings store", "settings", "config/Orvane/Orvane.conf", first},
                                 Row{"history report", "report", "HISTORY.TXT", first}, Row{"data dump", "dump", "ORVANE.TXT", first},
                                 Row{"configuration file", "configuration", "backup.orvcfg", first}})
                QTest::addRow("%s%s", r.name, first ? ", first save" : "") << r;
    }
    void killedSaveLeavesOldOrNewFile()
    {
        QFETCH(Row, row);
        now = row;
        const QString saved = QString::fromLatin1(row.saved);
        QVERIFY2(!QStandardPaths::findExecutable(QStringLiteral("strace")).isEmpty(), "strace is missing (scripts/packages.sh installs it)");
        std::array<Folder, kFoldersAtOnce> folders;
        QTemporaryDir traces;
        const QString trace = traces.filePath(QStringLiteral("trace"));
        QStringList calls;
        for (Folder &f : folders) {
            f.target = f.scratch.path() + u'/' + saved;
            QStringList old = save(f);
            old.last() = "old";
            QVERIFY(row.firstSave || (run(old) == 0 && !(f.old = fileBytes(f.target)).isEmpty()));
            // The save starts over the old file; its trace is the same in every folder.
            QVERIFY(restoreOldFile(f));
            QCOMPARE(run(save(f), {"-qq", "-o", trace}), 0);
            QVERIFY(!(f.fresh = fileBytes(f.target)).isEmpty() && f.old != f.fresh && strayFiles(f.scratch.path(), saved).isEmpty());
            // The calls from the first mark to the last, as strace injections: name and count.
            QStringList those;
            QHash<QString, int> counts;
            static const QRegularExpression call(QStringLiteral("^([a-z0-9_]+)\\("));
            for (const QString &line : QString::fromLatin1(fileBytes(trace)).split(u'\n')) {
                if (const QRegularExpressionMatch m = call.match(line); m.hasMatch() && (++counts[m.captured(1)], true) &&
                    (!those.isEmpty() || line.startsWith(QLatin1String("write(-1, \"save begins\""))))
                    those << QStringLiteral("inject=%1:signal=KILL:when=%2").arg(m.captured(1)).arg(counts[m.captured(1)]);
                if (line.startsWith(QLatin1String("write(-1, \"save ends\""))) break;
            }
            QVERIFY2(those.size() > 2 && those.last().startsWith(QLatin1String("inject=write:")), "no save between the marks in the trace");
            QVERIFY2(calls.isEmpty() || those == calls, qPrintable(those.join(u' ') + u'\n' + calls.join(u' ')));
            calls = those;
        }

        int oldLeft = 0, newLeft = 0;
        QStringList leftovers; // the kinds of files that kills left beside the saved one
        for (int first = 0; first < calls.size(); first += kFoldersAtOnce) {
            const int batch = std::min<int>(kFoldersAtOnce, calls.size() - first);
            for (int i = 0; i < batch; ++i) {
                const QString &at = calls[first + i]; // traced alone
                QVERIFY(restoreOldFile(folders[i]));
                folders[i].process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
                folders[i].process.start("strace", QStringList{"-qq", "-o", "/dev/null", "-e", "trace=" + at.section(u':', 0, 0).mid(7), "-e", at} + save(folders[i]));
            }
            for (int i = 0; i < batch; ++i) {
                Folder &f = folders[i];
                const QString where = QStringLiteral("killed at system call %1 of the save (%2): ").arg(first + i + 1).arg(calls[first + i]);
                // strace ends the way its program ended: killed by the same signal.
                const bool ended = f.process.waitForFinished(kRunTimeLimitMs) || (f.process.kill(), f.process.waitForFinished(), false);
                QVERIFY2(ended && f.process.exitStatus() == QProcess::CrashExit, qPrintable(where + "the save was not killed"));
                const bool exists = QFile::exists(f.target);
                const QByteArray left = fileBytes(f.target);
                QVERIFY2((now.firstSave ? !exists : exists && left == f.old) || left == f.fresh, qPrintable(where + QStringLiteral(
                    "neither the old nor the new file but %1 bytes (old %2, new %3)%4").arg(left.size()).arg(f.old.size()).arg(f.fresh.size()).arg(exists ? "" : ", none")));
                ++(left == f.fresh ? newLeft : oldLeft);
                // The next save, once for each kind of leftover: a temporary file stays, nothing knows it.
                QStringList kinds, stays;
                for (const QString &name : strayFiles(f.scratch.path(), saved)) {
                    QFile leftover(f.scratch.path() + u'/' + name);
                    kinds << (!name.endsWith(".lock") ? "temporary file" : leftover.size() ? "lock file" : "empty lock file");
                    if (!name.endsWith(".lock")) stays << name;
                    // An empty lock is stale only when 30 s old: made old, as when the editor starts later.
                    else if (!leftover.size())
                        QVERIFY(leftover.open(QIODevice::ReadWrite) && leftover.setFileTime(QDateTime::currentDateTime().addSecs(-60), QFileDevice::FileModificationTime));
                }
                kinds.sort();
                if (kinds.isEmpty() || leftovers.contains(kinds.join(" and "))) continue;
                leftovers << kinds.join(" and ");
                QVERIFY2(run(save(f)) == 0, qPrintable(where + "the next save failed"));
                QVERIFY(fileBytes(f.target) == f.fresh && strayFiles(f.scratch.path(), saved) == stays);
            }
        }
        // The kills fell both before and after the new file took the old one's place.
        QVERIFY(oldLeft > 0 && newLeft > 0);
        qInfo("%lld kill points, %d left the old file (or none), %d the new one; left beside it: %s", qint64(calls.size()), oldLeft,
              newLeft, qPrintable(leftovers.join(u';')));
    }
};

ORVANE_TEST(InterruptedSaveTest)
#include "InterruptedSaveTest.moc"
