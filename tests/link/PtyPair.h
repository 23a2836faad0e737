#pragma once

#include <QByteArray>
#include <QString>

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

// A pseudo-terminal made for one test: the link opens the slave as its serial device and the
// test plays the sign on the master.
class PtyPair
{
public:
    PtyPair()
    {
        m_master = posix_openpt(O_RDWR | O_NOCTTY);
        if (m_master < 0 || grantpt(m_master) != 0 || unlockpt(m_master) != 0)
            return;
        if (const char *name = ptsname(m_master))
            m_slaveName = QString::fromLocal8Bit(name);
        fcntl(m_master, F_SETFL, fcntl(m_master, F_GETFL) | O_NONBLOCK);
    }
    ~PtyPair() { closeMaster(); }
    PtyPair(const PtyPair &) = delete;
    PtyPair &operator=(const PtyPair &) = delete;

    bool isValid() const { return m_master >= 0 && !m_slaveName.isEmpty(); }
    QString slaveName() const { return m_slaveName; }
    int masterFd() const { return m_master; }

    bool write(const QByteArray &bytes)
    {
        return ::write(m_master, bytes.constData(), size_t(bytes.size())) == bytes.size();
    }

    // Everything the link has sent so far.
    QByteArray received()
    {
        char buffer[256];
        ssize_t n;
        while (m_master >= 0 && (n = ::read(m_master, buffer, sizeof buffer)) > 0)
            m_received.append(buffer, n);
        return m_received;
    }

    void closeMaster()
    {
        if (m_master >= 0)
            ::close(m_master);
        m_master = -1;
    }

private:
    int m_master = -1;
    QString m_slaveName;
    QByteArray m_received;
};
