#include "Report.h"

#include "Console.h"
#include "MainController.h"
#include "PortAddress.h"
#include "PortMap.h"
#include "PortSearch.h"
#include "ReplyInterpreter.h"
#include "SerialLink.h"

#include <QEventLoop>
#include <QJsonArray>

namespace tavrin::cli {

using vocab::Attribute;

namespace {

const QString kNone = QStringLiteral("-");

struct Column
{
    const char *heading;
    const char *key;
    Attribute attribute;
};
// The order of the window's grid.
constexpr Column kColumns[] = {
    { "Font", "font", Attribute::Font },      { "Colour", "color", Attribute::Color },
    { "Effect", "effect", Attribute::Style }, { "Align", "alignment", Attribute::Alignment },
    { "Speed", "speed", Attribute::Speed },   { "Pause", "pause", Attribute::Pause },
    { "Beep", "beep", Attribute::Beep },
};

// The entry a list shows for code; nothing when the list has no selection.
std::optional<QString> entryName(const core::MainState &state, Attribute attribute,
                                 protocol::Code code)
{
    const vocab::Table table = state.profile.vocabulary(attribute);
    if (code < 0 || size_t(code) >= table.size())
        return std::nullopt;
    return QString::fromLatin1(table[size_t(code)]);
}

QString orNone(const QString &text)
{
    return text.isEmpty() ? kNone : text;
}

QJsonValue orNull(const QString &text)
{
    return text.isEmpty() ? QJsonValue() : QJsonValue(text);
}

QString portName(int portNumber)
{
    return QStringLiteral("COM ") + QString::number(portNumber);
}

QString stateName(link::OpenError error)
{
    switch (error) {
    case link::OpenError::None:
        return QStringLiteral("free");
    case link::OpenError::NotFound:
        return QStringLiteral("absent");
    case link::OpenError::InUse:
        return QStringLiteral("busy");
    case link::OpenError::PermissionDenied:
        return QStringLiteral("no permission");
    case link::OpenError::AlreadyOpen:
    case link::OpenError::Other:
        break;
    }
    return QStringLiteral("error");
}

QString buildNumber(const core::MainState &state)
{
    return state.firmwareCount == core::kFirmwareCountNotAvailable ? QString()
                                                                   : state.firmwareCount;
}

// A number where the sign's text is one, the text where it is not, null for none.
QJsonValue numberOrText(const QString &text)
{
    bool ok = false;
    const qint64 value = text.trimmed().toLongLong(&ok);
    if (ok)
        return QJsonValue(value);
    return orNull(text);
}

// The default message's attributes in the window's grid order; it has no beep.
constexpr Column kMessageColumns[] = {
    kColumns[0], kColumns[1], kColumns[2], kColumns[3], kColumns[4], kColumns[5],
};

} // namespace

QString textTable(const QList<QStringList> &rows)
{
    QList<qsizetype> widths;
    for (const QStringList &row : rows) {
        for (qsizetype i = 0; i < row.size(); ++i) {
            if (i >= widths.size())
                widths.append(0);
            widths[i] = std::max(widths[i], row[i].size());
        }
    }
    QStringList lines;
    for (const QStringList &row : rows) {
        QString line;
        for (qsizetype i = 0; i < row.size(); ++i)
            line += i + 1 < row.size() ? row[i].leftJustified(widths[i] + 2) : row[i];
        while (line.endsWith(QLatin1Char(' ')))
            line.chop(1);
        lines << line;
    }
    return lines.join(QLatin1Char('\n'));
}

QString configurationTable(const core::MainState &state, const protocol::DefaultMessage &message,
                           int portNumber)
{
    const protocol::SignConfig &config = state.config;
    const QString head = textTable({
        { QStringLiteral("Model"), orNone(state.modelLabel) },
        { QStringLiteral("Build"), orNone(buildNumber(state)) },
        { QStringLiteral("Port"), portName(portNumber) },
        { QStringLiteral("ID mode"),
          config.autoID == 1 ? QStringLiteral("auto") : QStringLiteral("user") },
        { QStringLiteral("User command"), orNone(config.userCommand) },
    });
    QStringList attributes;
    for (const Column &column : kMessageColumns)
        attributes << QLatin1String(column.heading) + QLatin1Char(' ')
                + QString::number(message.attributes.code(column.attribute));
    const QString idle = textTable({
        { QStringLiteral("Default message"),
          orNone(terminalText(message.text).replace(QLatin1Char('\n'), QStringLiteral(" / "))) },
        { QStringLiteral("Its attributes"), attributes.join(QStringLiteral(", ")) },
    });

    QList<QStringList> priorities;
    QStringList headings { QStringLiteral("Priority") };
    for (const Column &column : kColumns)
        headings << QLatin1String(column.heading);
    priorities << (headings << QStringLiteral("Timeout"));
    for (int k = 0; k < protocol::kRows; ++k) {
        const protocol::PriorityRow &row = config.rows[size_t(k)];
        QStringList cells { QString::number(k) };
        for (const Column &column : kColumns)
            cells << entryName(state, column.attribute, row.code(column.attribute)).value_or(kNone);
        priorities << (cells << orNone(row.timeout));
    }

    QList<QStringList> links { { QStringLiteral("Link"), QStringLiteral("Priority"),
                                 QStringLiteral("Capcodes") } };
    for (int i = 0; i < protocol::kLinks; ++i) {
        const protocol::LinkRow &link = config.links[size_t(i)];
        links << QStringList { QString::number(i),
                               link.priority < 0 ? kNone : QString::number(link.priority),
                               orNone(link.capcode) };
    }
    return head + QStringLiteral("\n\n") + textTable(priorities) + QStringLiteral("\n\n")
        + textTable(links) + QStringLiteral("\n\n") + idle;
}

QJsonObject configurationJson(const core::MainState &state, const protocol::DefaultMessage &message,
                              int portNumber)
{
    const protocol::SignConfig &config = state.config;
    QJsonArray priorities;
    for (int k = 0; k < protocol::kRows; ++k) {
        const protocol::PriorityRow &row = config.rows[size_t(k)];
        QJsonObject object { { QStringLiteral("priority"), k } };
        for (const Column &column : kColumns) {
            const protocol::Code code = row.code(column.attribute);
            const auto name = entryName(state, column.attribute, code);
            object.insert(QLatin1String(column.key),
                          QJsonObject { { QStringLiteral("code"), code },
                                        { QStringLiteral("name"),
                                          name ? QJsonValue(*name) : QJsonValue() } });
        }
        object.insert(QStringLiteral("timeout"), numberOrText(row.timeout));
        priorities.append(object);
    }
    QJsonArray links;
    for (int i = 0; i < protocol::kLinks; ++i) {
        const protocol::LinkRow &link = config.links[size_t(i)];
        links.append(QJsonObject {
            { QStringLiteral("id"), i },
            { QStringLiteral("capcodes"),
              QJsonArray::fromStringList(
                  link.capcode.split(QLatin1Char(','), Qt::SkipEmptyParts)) },
            { QStringLiteral("priority"),
              link.priority < 0 ? QJsonValue() : QJsonValue(link.priority) },
        });
    }
    QJsonObject idle { { QStringLiteral("text"), terminalText(message.text) } };
    for (const Column &column : kMessageColumns)
        idle.insert(QLatin1String(column.key), message.attributes.code(column.attribute));
    return {
        { QStringLiteral("port"), portNumber },
        { QStringLiteral("device"), orNull(link::deviceForPort(portNumber)) },
        { QStringLiteral("model"), state.modelLabel },
        { QStringLiteral("build"), numberOrText(buildNumber(state)) },
        { QStringLiteral("autoID"), config.autoID == 1 },
        { QStringLiteral("userCommand"), config.userCommand },
        { QStringLiteral("priorities"), priorities },
        { QStringLiteral("links"), links },
        { QStringLiteral("defaultMessage"), idle },
    };
}

QList<PortReport> portReports()
{
    QList<PortReport> reports;
    for (int k = link::kFirstPortNumber; k <= link::kLastPortNumber; ++k) {
        const QString device = link::deviceForPort(k);
        const link::PortAddress address = link::PortAddress::parse(device);
        if (address.kind == link::PortAddress::Kind::Invalid) {
            reports << PortReport { k, device, QStringLiteral("error"), address.problem };
            continue;
        }
        if (address.isNetwork()) { // nothing is connected to only to list it
            reports << PortReport { k, device,
                                    address.kind == link::PortAddress::Kind::Rfc2217
                                        ? QStringLiteral("device server (RFC 2217)")
                                        : QStringLiteral("device server (raw TCP)"),
                                    QString() };
            continue;
        }
        link::SerialLink serial;
        const link::OpenResult opened = serial.open(k);
        serial.close();
        reports << PortReport { k, link::deviceForPort(k), stateName(opened.error),
                                opened ? QString() : opened.fullText() };
    }
    return reports;
}

QString portTable(const QList<PortReport> &ports)
{
    QList<QStringList> rows { { QStringLiteral("Port"), QStringLiteral("Device"),
                                QStringLiteral("State"), QStringLiteral("Problem") } };
    for (const PortReport &port : ports) {
        rows << QStringList { portName(port.portNumber),
                              port.device.isEmpty() ? QStringLiteral("no device") : port.device,
                              port.state, port.failure };
    }
    return textTable(rows);
}

QJsonObject portJson(const PortReport &port)
{
    QJsonObject object { { QStringLiteral("port"), port.portNumber },
                         { QStringLiteral("device"), orNull(port.device) },
                         { QStringLiteral("state"), port.state } };
    if (!port.failure.isEmpty())
        object.insert(QStringLiteral("failure"), port.failure);
    return object;
}

QList<SignReport> surveySigns()
{
    core::PortSearch search;
    QEventLoop loop;
    QObject::connect(&search, &core::PortSearch::finished, &loop, &QEventLoop::quit);
    search.start(vocab::kPortCount, core::MainController::requestTiming(),
                 core::MainController::configurationRequest(), core::PortSearch::Goal::EverySign);
    if (search.isRunning())
        loop.exec();
    QList<SignReport> signs;
    for (int k = link::kFirstPortNumber; k <= link::kLastPortNumber; ++k) {
        const core::PortSearch::Probe &probe = search.probe(k);
        if (!probe.confirmed || probe.confirmingLine < 0)
            continue;
        const core::MainState state
            = core::parseSignReply(probe.lines.at(probe.confirmingLine), core::MainState(), true)
                  .state;
        signs << SignReport { k, link::deviceForPort(k), state.modelLabel, buildNumber(state) };
    }
    return signs;
}

QString signTable(const QList<SignReport> &signs)
{
    QList<QStringList> rows { { QStringLiteral("Port"), QStringLiteral("Device"),
                                QStringLiteral("Model"), QStringLiteral("Build") } };
    for (const SignReport &sign : signs)
        rows << QStringList { portName(sign.portNumber), sign.device, sign.model,
                              orNone(sign.build) };
    return textTable(rows);
}

QJsonObject signJson(const SignReport &sign)
{
    return { { QStringLiteral("port"), sign.portNumber },
             { QStringLiteral("device"), orNull(sign.device) },
             { QStringLiteral("model"), sign.model },
             { QStringLiteral("build"), numberOrText(sign.build) } };
}

} // namespace tavrin::cli
