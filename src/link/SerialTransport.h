#pragma once

#include "LinkTransport.h"

#include <QElapsedTimer>
#include <QSerialPort>

#include <chrono>

namespace tavrin::link {

// A local serial port (a device path, or COMk on Windows).
class SerialTransport : public LinkTransport
{
    Q_OBJECT

public:
    static constexpr qint32 kBaudRate = 9600;
    // A read error on a device that is still there is usually a read that found the bytes
    // gone (another program on the same device took them). Only a run of this many errors
    // with no byte read in between, within kErrorRunWindow, means the device is failing.
    static constexpr int kErrorRunLength = 20;
    static constexpr std::chrono::milliseconds kErrorRunWindow { 1000 };

    explicit SerialTransport(const QString &device, QObject *parent = nullptr);
    ~SerialTransport() override;

    OpenResult open() override;
    void close() override;
    bool isOpen() const override { return m_port.isOpen(); }
    bool write(const QByteArray &bytes) override;
    QByteArray readAll() override;
    void poll() override;

private:
    void handleError(QSerialPort::SerialPortError error);
    void lose(const QString &reason);

    QSerialPort m_port;
    const QString m_device;
    bool m_losing = false;
    int m_errorRun = 0; // read errors since the last byte read
    QElapsedTimer m_errorRunClock;
};

} // namespace tavrin::link
