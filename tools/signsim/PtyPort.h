#pragma once

#include <QByteArray>
#include <QObject>
#include <QSocketNotifier>
#include <QString>
#include <QTimer>

#include <chrono>
#include <memory>

namespace tavrin::signsim {

// The sign's end of a pseudo-terminal; a client opens devicePath() as its serial port.
//
// A Linux pty keeps what the master wrote, unread, for whoever opens the slave next, and a
// master with no slave open reads EIO at once (a busy loop for a notifier). So the port
// holds a slave descriptor of its own, which keeps the line raw and the master quiet and
// lets it discard undelivered bytes, and it learns of clients opening and closing the
// device from inotify.
class PtyPort : public QObject
{
    Q_OBJECT

public:
    explicit PtyPort(QObject *parent = nullptr);
    ~PtyPort() override;

    bool open(QString *error);
    QString devicePath() const { return m_devicePath; }

    // Catches up with clients' opens and closes; call before acting on the line.
    void updatePresence();
    bool clientPresent() const { return m_inotify < 0 || m_openCount > 0; }

    // Bytes taken now; fewer when the client's input buffer is full.
    qsizetype write(QByteArrayView bytes);

signals:
    void received(const QByteArray &bytes);
    // A client opened the device (every open, not only the first): undelivered bytes are gone.
    void clientOpened();
    // The last client closed it.
    void clientClosed();
    void note(const QString &text);

private:
    void readMaster();
    void discardUndelivered();

    static constexpr std::chrono::milliseconds kHangupRetry { 100 };

    int m_master = -1;
    int m_heldSlave = -1;
    int m_inotify = -1;
    int m_openCount = 0;
    QString m_devicePath;
    std::unique_ptr<QSocketNotifier> m_readNotifier;
    std::unique_ptr<QSocketNotifier> m_presenceNotifier;
    QTimer m_hangupRetry;
};

} // namespace tavrin::signsim
