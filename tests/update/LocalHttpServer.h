#pragma once

#include <QHash>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUrl>

// A small HTTP server on 127.0.0.1: each path gets a canned answer, which may be cut short
// or never end; any other path gets a 404 page that names a newer version.
class LocalHttpServer : public QObject
{
public:
    struct Response
    {
        int status = 200;
        QByteArray body;
        bool announceLength = true;
        qsizetype cutAfter = -1; // close the connection after this many body bytes
        bool hang = false; // send the headers, then nothing more
    };

    QHash<QByteArray, Response> responses; // by the path as requested, percent-encoded
    QList<QByteArray> requested;

    LocalHttpServer()
    {
        m_server.listen(QHostAddress::LocalHost);
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            QTcpSocket *socket = m_server.nextPendingConnection();
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] {
                if (socket->canReadLine() && !socket->property("answered").toBool())
                    answer(socket, socket->readLine().split(' ').value(1));
            });
        });
    }

    QUrl url(const char *path) const
    {
        return QUrl(QStringLiteral("http://127.0.0.1:%1").arg(m_server.serverPort())
                    + QLatin1String(path));
    }

private:
    void answer(QTcpSocket *socket, const QByteArray &path)
    {
        socket->setProperty("answered", true);
        requested.append(path);
        const Response r = responses.value(path, { 404, "<p>Tavrin 9.9.zip</p>" });
        QByteArray head
            = "HTTP/1.1 " + QByteArray::number(r.status) + " X\r\nConnection: close\r\n";
        if (r.announceLength)
            head += "Content-Length: " + QByteArray::number(r.body.size()) + "\r\n";
        socket->write(head + "\r\n");
        if (!r.hang) {
            socket->write(r.body.left(r.cutAfter < 0 ? r.body.size() : r.cutAfter));
            socket->disconnectFromHost();
        }
    }

    QTcpServer m_server;
};
