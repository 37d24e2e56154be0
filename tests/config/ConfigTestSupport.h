#pragma once
// What the configuration, start-up and selection tests share: a clean slate, whole files
// read and written, the settings store, and a write that fails part-way.

#include "support/Doubles.h"

#include "config/ReceiverConfig.h"

#include <QFile>
#include <QSettings>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <csignal>
#include <fcntl.h>
#include <functional>
#include <linux/capability.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

// A fresh home, an empty record and fresh doubles.
inline void freshState()
{
    freshHome();
    clearReceiverConfig();
    doubles().clear();
}

inline QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline void writeFileBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

inline QString storedSetting(const QString &key)
{
    return QSettings(QStringLiteral("Orvane"), QStringLiteral("Orvane")).value(key).toString();
}

inline void putSetting(const QString &key, const QString &value)
{
    QSettings store(QStringLiteral("Orvane"), QStringLiteral("Orvane"));
    store.setValue(key, value);
    store.sync();
}

// Runs `write` while the process may write no file beyond `bytes` (as on a full disk; the
// limit binds root too) and returns what it returned.
inline bool withFileSizeLimit(rlim_t bytes, const std::function<bool()> &write)
{
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = bytes;
    if (setrlimit(RLIMIT_FSIZE, &small) != 0)
        qFatal("cannot limit the file size");
    const bool written = write();
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    return written;
}

// Gives up the capabilities that let root write, search and change files whatever their
// modes say; the process is then bound by the permission bits like any other account.
inline void dropFileCapabilities()
{
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[2]{};
    if (syscall(SYS_capget, &header, data) != 0)
        return;
    for (unsigned cap : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH, CAP_FOWNER}) {
        data[cap / 32].effective &= ~(1u << (cap % 32));
        data[cap / 32].permitted &= ~(1u << (cap % 32));
    }
    syscall(SYS_capset, &header, data);
}

constexpr int kFolderNotLocked = -1; // the folder could not be made to refuse new files
constexpr int kChildCrashed = -2;

// Runs `act` in a child process for which `folder` takes no new file (mode 0555, and root
// gives up what would let it ignore that), while the files already in it stay as writable
// as their own modes say. Returns what `act` returned (0 to 99), kFolderNotLocked or
// kChildCrashed. The child ends with _exit: it runs none of the parent's clean-up.
inline int inFolderTakingNoNewFile(const QString &folder, const std::function<int()> &act)
{
    const QByteArray path = QFile::encodeName(folder);
    struct stat before {};
    if (::stat(path.constData(), &before) != 0 || ::chmod(path.constData(), 0555) != 0)
        return kFolderNotLocked;
    std::fflush(nullptr);
    const pid_t child = ::fork();
    if (child == 0) {
        dropFileCapabilities();
        const QByteArray probe = path + "/.probe";
        const int fd = ::open(probe.constData(), O_CREAT | O_WRONLY | O_EXCL, 0600);
        if (fd >= 0) {
            ::close(fd);
            ::unlink(probe.constData());
            ::_exit(100);
        }
        ::_exit(std::clamp(act(), 0, 99));
    }
    int status = 0;
    const bool waited = child > 0 && ::waitpid(child, &status, 0) == child;
    ::chmod(path.constData(), before.st_mode & 07777);
    if (child < 0)
        return kFolderNotLocked;
    if (!waited || !WIFEXITED(status))
        return kChildCrashed;
    return WEXITSTATUS(status) == 100 ? kFolderNotLocked : WEXITSTATUS(status);
}
