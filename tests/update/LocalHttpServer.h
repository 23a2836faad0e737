#pragma once

#include <QHash>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QUrl>

#include <chrono>

// A small HTTP server on 127.0.0.1: each path gets a canned answer, which may be chunked,
// cut short or never end; any other path gets a 404 page that names a newer version.
class LocalHttpServer : public QObject
{
public:
    struct Response
    {
        int status = 200;
        QByteArray body {};
        bool announceLength = true;
        qsizetype cutAfter = -1; // close the connection after this many body bytes
        bool hang = false; // send the headers, then nothing more
        bool chunked = false; // in chunks of 4096 bytes; a cut leaves out the last chunk
        qsizetype streamBytes = 0; // after the body, send this many bytes more, without end,
        std::chrono::milliseconds streamEvery {}; // at this interval
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
        if (r.chunked)
            head += "Transfer-Encoding: chunked\r\n";
        socket->write(head + "\r\n");
        if (r.hang)
            return;
        const QByteArray body = r.body.left(r.cutAfter < 0 ? r.body.size() : r.cutAfter);
        for (qsizetype at = 0; r.chunked && at < body.size(); at += 4096) {
            const QByteArray chunk = body.mid(at, 4096);
            socket->write(QByteArray::number(chunk.size(), 16) + "\r\n" + chunk + "\r\n");
        }
        socket->write(r.chunked ? QByteArray(r.cutAfter < 0 ? "0\r\n\r\n" : "") : body);
        if (r.streamBytes == 0) {
            socket->disconnectFromHost();
            return;
        }
        auto *stream = new QTimer(socket);
        connect(stream, &QTimer::timeout, socket, [socket, bytes = r.streamBytes] {
            if (socket->bytesToWrite() < (1 << 20))
                socket->write(QByteArray(bytes, 'x'));
        });
        stream->start(r.streamEvery);
    }

    QTcpServer m_server;
};
