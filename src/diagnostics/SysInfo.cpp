#include "diagnostics/SysInfo.h"

#include "core/MessageCatalogue.h"

#include <QFile>
#include <QProcess>
#include <QtEndian>

#ifdef Q_OS_WIN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#endif

bool keyValueFromData(quint32 type, QByteArray data, QString &KeyVal)
{
    // A text value usually comes with its terminating NUL, sometimes without: both read alike.
    if (!data.isEmpty() && data.back() == '\0')
        data.chop(1);
    switch (type) {
    case kRegistryText:
        KeyVal = QString::fromLocal8Bit(data);
        return true;
    case kRegistryNumber: {
        // Little-endian; bytes the NUL rule took off the top were zeros.
        QByteArray bytes = data.left(4);
        bytes.append(QByteArray(4 - bytes.size(), '\0'));
        KeyVal = QString::number(qFromLittleEndian<quint32>(bytes.constData()));
        return true;
    }
    default:
        return false;
    }
}

bool GetKeyValue(quint32 KeyRoot, const QString &KeyName, const QString &SubKeyRef, QString &KeyVal)
{
#ifdef Q_OS_WIN
    HKEY key = nullptr;
    const QByteArray keyName = KeyName.toLocal8Bit();
    const QByteArray valueName = SubKeyRef.toLocal8Bit();
    // Read control and every key-specific right, as the tool's installer grants them.
    // The predefined root keys are negative 32-bit numbers, sign-extended to a handle.
    const HKEY root = reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG>(KeyRoot)));
    if (RegOpenKeyExA(root, keyName.constData(), 0, 0x2003F, &key) != ERROR_SUCCESS) {
        KeyVal.clear();
        return false;
    }
    char buffer[1024];
    DWORD size = sizeof buffer;
    DWORD type = 0;
    if (RegQueryValueExA(key, valueName.constData(), nullptr, &type, reinterpret_cast<BYTE *>(buffer), &size)
        != ERROR_SUCCESS) {
        KeyVal.clear();
        RegCloseKey(key);
        return false;
    }
    keyValueFromData(type, QByteArray(buffer, int(size < sizeof buffer ? size : sizeof buffer)), KeyVal);
    RegCloseKey(key);
    return true;
#else
    Q_UNUSED(KeyRoot)
    Q_UNUSED(KeyName)
    Q_UNUSED(SubKeyRef)
    KeyVal.clear();
    return false;
#endif
}

void StartSysInfo()
{
    QString path;
    if (GetKeyValue(kHkeyLocalMachine, QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO"),
                    QStringLiteral("PATH"), path)) {
        if (QProcess::startDetached(path, {}))
            return;
    } else if (GetKeyValue(kHkeyLocalMachine, QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location"),
                           QStringLiteral("MSINFO"), path)) {
        const QString tool = path + QStringLiteral("\\MSINFO32.EXE");
        if (QFile::exists(tool) && QProcess::startDetached(tool, {}))
            return;
    }
    showProgramMessage(kSysInfoUnavailable, QMessageBox::Ok, QMessageBox::NoIcon);
}
