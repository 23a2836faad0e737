#include "PtyPort.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/inotify.h>
#include <termios.h>
#include <unistd.h>

namespace tavrin::signsim {
namespace {

constexpr qsizetype kReadChunk = 4096;

QString systemError(const char *what)
{
    return QString::fromLatin1(what) + QStringLiteral(": ")
        + QString::fromLocal8Bit(std::strerror(errno));
}

void closeDescriptor(int &fd)
{
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}

} // namespace

PtyPort::PtyPort(QObject *parent)
    : QObject(parent)
{
    m_hangupRetry.setSingleShot(true);
    m_hangupRetry.setInterval(kHangupRetry);
    connect(&m_hangupRetry, &QTimer::timeout, this, [this] { m_readNotifier->setEnabled(true); });
}

PtyPort::~PtyPort()
{
    m_readNotifier.reset();
    m_presenceNotifier.reset();
    closeDescriptor(m_inotify);
    closeDescriptor(m_heldSlave);
    closeDescriptor(m_master);
}

bool PtyPort::open(QString *error)
{
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (m_master < 0 || ::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0) {
        *error = systemError("cannot create a pseudo-terminal");
        return false;
    }
    const char *name = ::ptsname(m_master);
    if (!name) {
        *error = systemError("ptsname");
        return false;
    }
    m_devicePath = QString::fromLocal8Bit(name);

    m_heldSlave = ::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    termios settings {};
    if (m_heldSlave < 0 || ::tcgetattr(m_heldSlave, &settings) != 0) {
        *error = systemError("cannot open the pseudo-terminal's device");
        return false;
    }
    ::cfmakeraw(&settings);
    ::cfsetispeed(&settings, B9600);
    ::cfsetospeed(&settings, B9600);
    settings.c_cflag |= CLOCAL | CREAD;
    ::tcsetattr(m_heldSlave, TCSANOW, &settings);

    m_readNotifier = std::make_unique<QSocketNotifier>(m_master, QSocketNotifier::Read);
    connect(m_readNotifier.get(), &QSocketNotifier::activated, this, &PtyPort::readMaster);

    // Watched only now, so that the held descriptor is not taken for a client.
    m_inotify = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (m_inotify >= 0 && ::inotify_add_watch(m_inotify, name, IN_OPEN | IN_CLOSE) < 0)
        closeDescriptor(m_inotify);
    if (m_inotify < 0) {
        emit note(QStringLiteral("no open/close notices; replies always delivered"));
        return true;
    }
    m_presenceNotifier = std::make_unique<QSocketNotifier>(m_inotify, QSocketNotifier::Read);
    connect(m_presenceNotifier.get(), &QSocketNotifier::activated, this, &PtyPort::updatePresence);
    return true;
}

void PtyPort::updatePresence()
{
    if (m_inotify < 0)
        return;
    alignas(inotify_event) char buffer[kReadChunk];
    for (;;) {
        const ssize_t length = ::read(m_inotify, buffer, sizeof buffer);
        if (length <= 0)
            return;
        for (ssize_t offset = 0; offset < length;) {
            const auto *event = reinterpret_cast<const inotify_event *>(buffer + offset);
            offset += ssize_t(sizeof(inotify_event) + event->len);
            if (event->mask & IN_OPEN) {
                // A client's close may be told after the next client's open (the kernel can
                // release a file late on a busy machine), so every open starts clean: what
                // was meant for the one before never reaches it.
                ++m_openCount;
                discardUndelivered();
                emit clientOpened();
            } else if ((event->mask & IN_CLOSE) && m_openCount > 0) {
                if (--m_openCount == 0) {
                    discardUndelivered();
                    emit clientClosed();
                }
            } else if (event->mask & IN_Q_OVERFLOW) {
                emit note(QStringLiteral("open/close notices overflowed"));
            }
        }
    }
}

qsizetype PtyPort::write(QByteArrayView bytes)
{
    const ssize_t written = ::write(m_master, bytes.data(), size_t(bytes.size()));
    return written < 0 ? 0 : written;
}

void PtyPort::readMaster()
{
    // A client's open and close come before its bytes.
    updatePresence();
    char buffer[kReadChunk];
    for (;;) {
        const ssize_t length = ::read(m_master, buffer, sizeof buffer);
        if (length > 0) {
            emit received(QByteArray(buffer, length));
            continue;
        }
        if (length < 0 && errno == EINTR)
            continue;
        if (length < 0 && errno == EIO) {
            // Hung up (only possible if the held descriptor were lost): retry later, not at once.
            m_readNotifier->setEnabled(false);
            m_hangupRetry.start();
        }
        return;
    }
}

void PtyPort::discardUndelivered()
{
    // Characters a sign sends to a closed PC port are lost, so the next client must not see
    // them. Flushing the master's output direction misses bytes the line discipline already
    // took; flushing the slave's input catches them.
    ::tcflush(m_heldSlave, TCIFLUSH);
}

} // namespace tavrin::signsim
