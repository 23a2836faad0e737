#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace tavrin::core {

// What the Port Devices window shows of COM k: the device chosen for it and who decides.
struct PortDeviceRow
{
    int portNumber = 0;
    QString chosen; // the user's choice, "" for the system's
    QString systemDevice; // what the port opens when nothing is chosen, "" for none
    bool environmentDecides = false; // TAVRIN_COM<k> is set and wins over any choice
    QString environmentDevice; // its value
};

PortDeviceRow portDeviceRow(int portNumber);

// The device a test of the row tries while its box holds typed: the environment's when it
// decides, else the typed one, else the system's.
QString deviceToTry(const PortDeviceRow &row, const QString &typed);

struct DeviceProblem
{
    int portNumber = 0;
    QString problem;
};

// Keeps the devices typed for COM 1, COM 2, ... as the ports' choices, "" giving a port back
// to the system; ports the environment decides are left alone. Nothing is kept while any of
// them is a network address that cannot be used: the problems say which and why.
QList<DeviceProblem> saveChosenDevices(const QStringList &typed);

} // namespace tavrin::core
