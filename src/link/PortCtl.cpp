#include "link/PortCtl.h"

#include "link/PortDevices.h"

PortCtl::PortCtl(QObject *parent) : QObject(parent)
{
    connect(&serial, &QSerialPort::errorOccurred, this, &PortCtl::onError);
}

PortCtl::~PortCtl()
{
    if (serial.isOpen())
        serial.close();
}

void PortCtl::portSetNumber(int n) { number = n; }
void PortCtl::portSetBaud(int bitsPerSecond) { baud = bitsPerSecond; }
void PortCtl::portSetOption(int) {}

qint16 PortCtl::portOpen()
{
    if (serial.isOpen())
        serial.close();
    lost = false;
    leftOver.clear();
    device = portDevicePath(number);
    openError = QSerialPort::NoError;
    if (device.isEmpty()) {
        openError = QSerialPort::DeviceNotFoundError;
        return 0;
    }
    serial.setPortName(device);
    serial.setBaudRate(baud);
    // Every byte value crosses the line (flag bytes, checksums): 8 data bits, no parity, one
    // stop bit, and no flow control, since the receiver's cable carries no handshake lines.
    serial.setDataBits(QSerialPort::Data8);
    serial.setParity(QSerialPort::NoParity);
    serial.setStopBits(QSerialPort::OneStop);
    serial.setFlowControl(QSerialPort::NoFlowControl);
    if (!serial.open(QIODevice::ReadWrite)) {
        openError = serial.error() == QSerialPort::NoError ? QSerialPort::OpenError : serial.error();
        serial.clearError();
        return 0;
    }
    // A closed port receives nothing: bytes that reached the device while it was closed
    // (a late answer to an earlier exchange) are not answers to what comes next.
    serial.clear(QSerialPort::Input);
    ++opens;
    return 1;
}

qint16 PortCtl::portClose()
{
    if (serial.isOpen())
        serial.close();
    serial.clearError();
    lost = false;
    leftOver.clear();
    return 0;
}

void PortCtl::portSetControl(int value)
{
    if (!isOpen())
        return;
    settingControlLines = true;
    serial.setDataTerminalReady(value != 0);
    serial.setRequestToSend(value != 0);
    settingControlLines = false;
    serial.clearError();
}

void PortCtl::portFlush()
{
    if (!isOpen())
        return;
    serial.flush();
    closeIfLost();
}

void PortCtl::portWriteText(const QString &text)
{
    for (QChar c : text)
        portWriteByte(c.unicode() & 0xFF);
}

void PortCtl::portWriteByte(int value)
{
    if (!isOpen())
        return;
    const char byte = char(value & 0xFF);
    if (serial.write(&byte, 1) != 1)
        lost = true;
    else
        serial.flush(); // out now, not when the event loop next runs
    closeIfLost();
}

int PortCtl::portBytesWaiting()
{
    if (!isOpen())
        return int(leftOver.size());
    return int(serial.bytesAvailable());
}

int PortCtl::portReadByte()
{
    if (!isOpen()) {
        if (leftOver.isEmpty())
            return -1;
        const quint8 byte = quint8(leftOver.at(0));
        leftOver.remove(0, 1);
        return byte;
    }
    if (serial.bytesAvailable() <= 0)
        return -1;
    char byte = 0;
    if (!serial.getChar(&byte))
        return -1;
    return quint8(byte);
}

bool PortCtl::isOpen()
{
    closeIfLost();
    return serial.isOpen();
}

void PortCtl::onError(QSerialPort::SerialPortError error)
{
    // Only note it here: closing inside the port's own signal would pull its notifiers out
    // from under it. The next port operation closes the port.
    if (settingControlLines)
        return;
    if (error == QSerialPort::ReadError || error == QSerialPort::WriteError || error == QSerialPort::ResourceError)
    {
        if (!serial.isOpen() || lost)
            return;
        lost = true;
        // Also close soon when nobody polls: a vanished device keeps signalling its error.
        QMetaObject::invokeMethod(this, [this] { closeIfLost(); }, Qt::QueuedConnection);
    }
}

void PortCtl::closeIfLost()
{
    if (!lost)
        return;
    lost = false;
    if (serial.isOpen()) {
        // What arrived before the device went is still read out.
        leftOver = serial.readAll();
        serial.close();
    }
    serial.clearError();
}
