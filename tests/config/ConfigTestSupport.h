#pragma once
// What the configuration, start-up and selection tests share: a clean slate, whole files
// read and written, the settings store, and a write that fails part-way.

#include "support/Doubles.h"

#include "config/ReceiverConfig.h"

#include <QFile>
#include <QSettings>
#include <QTest>
#include <csignal>
#include <functional>
#include <sys/resource.h>

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
