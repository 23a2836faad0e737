#include "PortDevicesDialog.h"

#include "Controls.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace tavrin::ui {

namespace {

constexpr int kStatusMinimumWidth = 240;

const QString kNoDevice = QStringLiteral("no device");
const QString kLongAddress = QStringLiteral("rfc2217://sign-server.example:4001");

void showStatus(QLabel *status, const QString &text, const QString &toolTip, const QColor &color)
{
    status->setText(text);
    status->setToolTip(toolTip);
    QPalette palette = status->palette();
    palette.setColor(QPalette::WindowText,
                     color.isValid() ? color : QPalette().color(QPalette::WindowText));
    status->setPalette(palette);
}

// A row's control is named by its kind and port: "Device3".
template<typename Widget> Widget *numbered(Widget *widget, const char *kind, int portNumber)
{
    widget->setObjectName(QLatin1String(kind) + QString::number(portNumber));
    return widget;
}

} // namespace

PortDevicesDialog::PortDevicesDialog(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("PortDevices"));
    setWindowTitle(QStringLiteral("Port Devices"));

    auto *hint = label(this,
                       QStringLiteral("A device path (/dev/ttyUSB0) or a device server "
                                      "(socket://HOST:PORT or rfc2217://HOST:PORT).\nLeave a "
                                      "port empty for the device the system gives it."),
                       "Hint");
    hint->setWordWrap(true);

    auto *grid = new QGridLayout;
    grid->setColumnStretch(3, 1);
    for (int index = 0; index < kPorts; ++index) {
        buildRow(m_rows[size_t(index)], index);
        const Row &row = m_rows[size_t(index)];
        grid->addWidget(
            numbered(label(this, QStringLiteral("COM %1").arg(index + 1)), "Port", index + 1),
            index, 0);
        grid->addWidget(row.device, index, 1);
        grid->addWidget(row.test, index, 2);
        grid->addWidget(row.status, index, 3);
    }

    auto *ok = button(this, QStringLiteral("OK"), "OK");
    ok->setDefault(true);
    auto *cancel = button(this, QStringLiteral("Cancel"), "Cancel");
    connect(ok, &QPushButton::clicked, this, &PortDevicesDialog::save);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(hint);
    layout->addLayout(grid);
    layout->addLayout(buttons);
}

void PortDevicesDialog::buildRow(Row &row, int index)
{
    const int portNumber = index + 1;
    row.port = core::portDeviceRow(portNumber);
    row.device = numbered(new QLineEdit(this), "Device", portNumber);
    // Room for a device server's address with a host name, the box's own margins besides.
    const QFontMetrics metrics = row.device->fontMetrics();
    row.device->setMinimumWidth(metrics.horizontalAdvance(kLongAddress)
                                + 3 * metrics.averageCharWidth());
    if (row.port.environmentDecides) {
        row.device->setText(row.port.environmentDevice);
        row.device->setPlaceholderText(kNoDevice);
        row.device->setReadOnly(true);
        // Greyed like a box that cannot be typed in, yet its tool tip and text stay readable.
        QPalette palette = row.device->palette();
        palette.setColor(QPalette::Base, palette.color(QPalette::Window));
        row.device->setPalette(palette);
        row.device->setToolTip(
            QStringLiteral("TAVRIN_COM%1 decides this port's device").arg(portNumber));
    } else {
        row.device->setText(row.port.chosen);
        row.device->setPlaceholderText(row.port.systemDevice.isEmpty() ? kNoDevice
                                                                       : row.port.systemDevice);
    }
    row.test = numbered(new QPushButton(QStringLiteral("Test"), this), "Test", portNumber);
    row.test->setAutoDefault(false); // Enter in a box means OK
    row.status = numbered(new QLabel(this), "Status", portNumber);
    row.status->setWordWrap(true);
    row.status->setMinimumWidth(kStatusMinimumWidth);

    connect(row.test, &QPushButton::clicked, this, [this, &row] { startTest(row); });
    connect(&row.probe, &core::DeviceProbe::finished, this,
            [this, &row](const core::DeviceProbe::Result &result) { showResult(row, result); });
}

void PortDevicesDialog::startTest(Row &row)
{
    row.test->setEnabled(false);
    showStatus(row.status, QStringLiteral("Testing…"), QString(), QColor());
    row.probe.start(row.port.portNumber, core::deviceToTry(row.port, row.device->text()));
}

void PortDevicesDialog::showResult(Row &row, const core::DeviceProbe::Result &result)
{
    row.test->setEnabled(true);
    showStatus(row.status, result.text, result.detail,
               result.signAnswered ? kNoticeColor : kWarningColor);
}

void PortDevicesDialog::save()
{
    QStringList typed;
    for (const Row &row : m_rows)
        typed << row.device->text();
    const QList<core::DeviceProblem> problems = core::saveChosenDevices(typed);
    if (problems.isEmpty()) {
        accept();
        return;
    }
    for (const core::DeviceProblem &p : problems) {
        const Row &row = m_rows[size_t(p.portNumber - 1)];
        showStatus(row.status, p.problem, p.problem, kWarningColor);
    }
    m_rows[size_t(problems.first().portNumber - 1)].device->setFocus();
}

void PortDevicesDialog::done(int result)
{
    for (Row &row : m_rows) {
        row.probe.stop();
        row.test->setEnabled(true);
    }
    QDialog::done(result);
}

} // namespace tavrin::ui
