#pragma once

#include "DeviceProbe.h"
#include "PortDevices.h"
#include "PortMap.h"

#include <QDialog>

#include <array>

class QLabel;
class QLineEdit;
class QPushButton;

namespace tavrin::ui {

// The device behind each port, chosen by the user and tried before it is kept: "Test" asks
// the typed device for a sign, "OK" keeps every row's device, "Cancel" keeps none.
class PortDevicesDialog : public QDialog
{
    Q_OBJECT

public:
    explicit PortDevicesDialog(QWidget *parent = nullptr);

    void done(int result) override; // every test under way is called off

private:
    static constexpr int kPorts = link::kLastPortNumber;

    struct Row
    {
        core::PortDeviceRow port;
        QLineEdit *device = nullptr;
        QPushButton *test = nullptr;
        QLabel *status = nullptr;
        core::DeviceProbe probe;
    };

    void buildRow(Row &row, int index);
    void startTest(Row &row);
    void showResult(Row &row, const core::DeviceProbe::Result &result);
    void save();

    std::array<Row, kPorts> m_rows;
};

} // namespace tavrin::ui
