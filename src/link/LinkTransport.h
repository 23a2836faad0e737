#pragma once

#include "OpenResult.h"

#include <QByteArray>
#include <QObject>

namespace tavrin::link {

// What carries a port's bytes: a local serial port, or a connection to a serial device
// server. The serial link above it reads lines and never asks which.
class LinkTransport : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    // Opens the line at 9600 8N1. A network transport answers at once and connects in the
    // background; what goes wrong later is told by lost().
    virtual OpenResult open() = 0;
    // Hands what is queued to the device, then closes.
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    virtual bool write(const QByteArray &bytes) = 0;
    // The line's bytes received since the last call.
    virtual QByteArray readAll() = 0;
    // Takes in what the system holds that the event loop has not read yet.
    virtual void poll() = 0;
    // False while a network transport has not reached its device server and set up its line
    // yet: until then a loss means the port could not be opened.
    virtual bool everConnected() const { return true; }
    // True once bytes written go straight to the line (a device server reached and its line
    // set up); the time a sign takes to answer counts from then.
    virtual bool isReady() const { return isOpen(); }

signals:
    void readyRead();
    // The line is gone (the port is closed already); told once, in our own words.
    void lost(const QString &reason);
};

} // namespace tavrin::link
