#pragma once
// What the configuration, start-up and selection tests share: a clean slate, whole files,
// the settings store, and writes that fail part-way or find no room for a new file.

#include "support/Doubles.h"

#include "config/ReceiverConfig.h"

#include <QFile>
#include <QSettings>
#include <QTest>
#include <algorithm>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <functional>
#include <linux/capability.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

// A fresh home, an empty record and fresh doubles.
inline void freshState() { freshHome(); clearReceiverConfig(); doubles().clear(); }
inline QByteArray fileBytes(const QString &path) { QFile f(path); return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray(); }
inline void writeFileBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}
inline QString storedSetting(const QString &key) { return QSettings("Orvane", "Orvane").value(key).toString(); }
inline void putSetting(const QString &key, const QString &value) { QSettings("Orvane", "Orvane").setValue(key, value); }

// Runs `write` while no file may grow beyond `bytes` (a full disk; the limit binds root too).
inline bool withFileSizeLimit(rlim_t bytes, const std::function<bool()> &write)
{
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    const rlimit small{bytes, saved.rlim_max};
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    if (setrlimit(RLIMIT_FSIZE, &small) != 0)
        qFatal("cannot limit the file size");
    const bool written = write();
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    return written;
}

constexpr int kFolderNotLocked = -1, kChildCrashed = -2; // the folder could not be locked; the child crashed

// Runs `act` in a child process for which `folder` takes no new file (mode 0555, and root
// gives up the capabilities that would ignore that), while its files stay as writable as
// their modes say. Returns what `act` returned (0 to 99), kFolderNotLocked or kChildCrashed.
inline int inFolderTakingNoNewFile(const QString &folder, const std::function<int()> &act)
{
    const QByteArray path = QFile::encodeName(folder), probe = path + "/.probe";
    struct stat before {};
    if (::stat(path.constData(), &before) != 0 || ::chmod(path.constData(), 0555) != 0)
        return kFolderNotLocked;
    std::fflush(nullptr);
    const pid_t child = ::fork();
    if (child == 0) { // ends with _exit: none of the parent's clean-up
        __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
        __user_cap_data_struct data[2]{};
        if (syscall(SYS_capget, &header, data) == 0) {
            for (unsigned cap : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH, CAP_FOWNER})
                for (quint32 *set : {&data[cap / 32].effective, &data[cap / 32].permitted})
                    *set &= ~(1u << (cap % 32));
            syscall(SYS_capset, &header, data);
        }
        if (::open(probe.constData(), O_CREAT | O_WRONLY | O_EXCL, 0600) >= 0 && ::unlink(probe.constData()) >= 0)
            ::_exit(100); // still allowed: the folder does not lock here
        ::_exit(std::clamp(act(), 0, 99));
    }
    int status = 0;
    const bool ended = child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status);
    ::chmod(path.constData(), before.st_mode & 07777);
    return child < 0 ? kFolderNotLocked : !ended ? kChildCrashed : WEXITSTATUS(status) == 100 ? kFolderNotLocked : WEXITSTATUS(status);
}
