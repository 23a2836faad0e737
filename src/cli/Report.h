#pragma once

#include "DefaultMessageProtocol.h"
#include "MainState.h"

#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>

namespace tavrin::cli {

// A table for people: columns padded to their widest cell, two blanks apart.
QString textTable(const QList<QStringList> &rows);

// The configuration and default message as read from the sign on COM portNumber: a readable
// table, or JSON with each list's code and entry for scripts (the schema is in read --help).
QString configurationTable(const core::MainState &state, const protocol::DefaultMessage &message,
                           int portNumber);
QJsonObject configurationJson(const core::MainState &state, const protocol::DefaultMessage &message,
                              int portNumber);

// One port of the list as a command line sees it, without sending anything.
struct PortReport
{
    int portNumber = 0;
    QString device; // empty: no device
    QString state; // "absent", "busy", "no permission", "free", "error" or "device server (…)"
    QString failure; // the port list's failure text, when it cannot be opened
};

// COM 1 to COM 12 with their devices, each opened and closed again to learn its state.
QList<PortReport> portReports();
QString portTable(const QList<PortReport> &ports);
QJsonObject portJson(const PortReport &port);

// A sign a site survey found.
struct SignReport
{
    int portNumber = 0;
    QString device;
    QString model;
    QString build; // empty when the sign sends none
};

// Probes every port at once (the window's search, every port left to finish) and reads the
// model and build of each sign that sent its whole configuration line.
QList<SignReport> surveySigns();
QString signTable(const QList<SignReport> &signs);
QJsonObject signJson(const SignReport &sign);

} // namespace tavrin::cli
