#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>
#include <QTime>

#include <optional>

namespace tavrin::signsim {

// One log line per event on standard error: "18:30:00.123 RX DOWNLOAD_ALL\r". Received
// commands are tagged RX, reply lines TX, anything else "--". RX and TX payloads are escaped
// so that every line is printable ASCII: "\r", "\n", "\\" and \xHH for other bytes.
enum class LogTag { Received, Sent, Note };

QString escapeLogPayload(QByteArrayView bytes);
std::optional<QByteArray> unescapeLogPayload(QStringView text);

QByteArray formatLogLine(QTime time, LogTag tag, QByteArrayView payload);
QByteArray formatLogNote(QTime time, const QString &text);

// The command of an RX line, or nothing for any other line.
std::optional<QByteArray> parseReceivedLogLine(QStringView line);

} // namespace tavrin::signsim
