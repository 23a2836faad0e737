#include "PortDevices.h"

#include "PortAddress.h"
#include "PortMap.h"

namespace tavrin::core {

PortDeviceRow portDeviceRow(int portNumber)
{
    PortDeviceRow row;
    row.portNumber = portNumber;
    row.chosen = link::chosenDevice(portNumber);
    row.systemDevice = link::systemDevice(portNumber);
    row.environmentDecides = link::environmentDecides(portNumber);
    if (row.environmentDecides)
        row.environmentDevice = link::deviceForPort(portNumber);
    return row;
}

QString deviceToTry(const PortDeviceRow &row, const QString &typed)
{
    if (row.environmentDecides)
        return row.environmentDevice;
    const QString device = typed.trimmed();
    return device.isEmpty() ? row.systemDevice : device;
}

QList<DeviceProblem> saveChosenDevices(const QStringList &typed)
{
    QList<DeviceProblem> problems;
    for (int i = 0; i < typed.size(); ++i) {
        const int portNumber = i + 1;
        if (link::environmentDecides(portNumber))
            continue;
        const link::PortAddress address = link::PortAddress::parse(typed.at(i).trimmed());
        if (address.kind == link::PortAddress::Kind::Invalid)
            problems.append({ portNumber, address.problem });
    }
    if (!problems.isEmpty())
        return problems;
    for (int i = 0; i < typed.size(); ++i) {
        const int portNumber = i + 1;
        if (!link::environmentDecides(portNumber)
            && typed.at(i).trimmed() != link::chosenDevice(portNumber))
            link::setChosenDevice(portNumber, typed.at(i));
    }
    return problems;
}

} // namespace tavrin::core
