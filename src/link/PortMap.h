#pragma once

#include <QList>
#include <QString>

namespace tavrin::link {

// The port list offers "COM 1" to "COM 12".
inline constexpr int kFirstPortNumber = 1;
inline constexpr int kLastPortNumber = 12;

// A serial port as the system reports it, reduced to what the ordering needs.
struct PortDescription
{
    QString portName; // "ttyUSB0"
    QString systemLocation; // "/dev/ttyUSB0"
    bool hasUsbVendor = false;

    friend bool operator==(const PortDescription &, const PortDescription &) = default;
};

// USB adapters (ttyUSB*, ttyACM* or a USB vendor id) first, then the rest; each group in
// natural order of the port name (ttyS2 before ttyS10). Linux creates dozens of ttyS
// placeholders, and an adapter must not be pushed past COM 12 by them.
QList<PortDescription> orderPorts(QList<PortDescription> ports);

// The device behind "COM k": TAVRIN_COM<k> when set (an empty value means no device), else
// the device the user chose for it (Port Devices), else COMk on Windows, else the k-th port
// of orderPorts(). A device path or a network address (PortAddress). Empty when there is none.
QString deviceForPort(int portNumber);

// The device COM k has when neither TAVRIN_COM<k> nor a choice decides it; "" for none.
QString systemDevice(int portNumber);

// The device the user chose for COM k, kept in the program's settings; "" for the system's.
QString chosenDevice(int portNumber);
void setChosenDevice(int portNumber, const QString &device);
// True when TAVRIN_COM<k> decides COM k, whatever was chosen.
bool environmentDecides(int portNumber);

// Tool tip of the port list entry: the device (a network address saying so), or "no device".
QString portToolTip(int portNumber);

} // namespace tavrin::link
