// Receiver link (src/link): port, link, transfer, history decoding; uses core, config, the event table.
#pragma once
// The program's serial port component: the port operations the link, the port search and the
// data dump use, over QSerialPort. Failures never escape: an operation on a closed port does
// nothing (a read yields -1), and a device that vanishes or fails to read or write is closed
// at once, so a waiting loop sees the port closed instead of an endless stream of errors.

#include <QObject>
#include <QSerialPort>
#include <QString>

class PortCtl : public QObject
{
    Q_OBJECT
public:
    explicit PortCtl(QObject *parent = nullptr);
    ~PortCtl() override;

    // Selects the port (1 is the first) that the next portOpen opens.
    void portSetNumber(int number);
    void portSetBaud(int bitsPerSecond);
    // A component property without meaning on this platform; kept for the callers' sake.
    void portSetOption(int value);
    // 1 when the port is open, 0 when it could not be opened.
    qint16 portOpen();
    // Always 0: the port is no longer open, whether or not closing worked.
    qint16 portClose();
    // Non-zero raises DTR and RTS, zero lowers them (some devices, a pty among them, have
    // no control lines; that is ignored).
    void portSetControl(int value);
    // Pushes out what was written; received bytes are never discarded.
    void portFlush();
    void portWriteText(const QString &text);
    void portWriteByte(int value);
    // Bytes received before a device vanished stay readable after it was closed.
    int portBytesWaiting();
    // The next received byte, or -1 when none waits. Never blocks.
    int portReadByte();

    // Beyond the designed operations: for the waiting loops and the setup window.
    bool isOpen();
    int portNumber() const { return number; }
    QString deviceName() const { return device; }
    // Why the last portOpen failed (NoError after a successful open).
    QSerialPort::SerialPortError lastOpenError() const { return openError; }
    // How many times a device was opened (for the tests of "open only once").
    int openCount() const { return opens; }

private:
    void onError(QSerialPort::SerialPortError error);
    void closeIfLost();

    QSerialPort serial;
    int number = 1;
    int baud = 4800;
    QString device;
    QByteArray leftOver; // received before the device vanished, not yet read
    QSerialPort::SerialPortError openError = QSerialPort::NoError;
    bool lost = false;
    bool settingControlLines = false;
    int opens = 0;
};
