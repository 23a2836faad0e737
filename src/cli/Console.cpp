#include "Console.h"

#include <cerrno>
#include <cstring>

#ifdef _WIN32
#include <io.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace tavrin::cli {

namespace {

bool isTerminal(std::FILE *stream)
{
#ifdef _WIN32
    return _isatty(_fileno(stream)) != 0;
#else
    return ::isatty(::fileno(stream)) != 0;
#endif
}

QString systemReason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

} // namespace

void holdClosedStandardStreams()
{
#ifndef _WIN32
    for (int fd = 0; fd <= 2; ++fd) {
        if (::fcntl(fd, F_GETFD) < 0 && errno == EBADF) {
            // Read-only: a write to standard output or error then fails as it should.
            const int held = ::open("/dev/null", O_RDONLY);
            if (held >= 0 && held != fd) {
                ::dup2(held, fd);
                ::close(held);
            }
        }
    }
#endif
}

Console::Console(std::FILE *out, std::FILE *err, bool showProgress, bool outIsTerminal)
    : m_out(out)
    , m_err(err)
    , m_showProgress(showProgress)
    , m_outIsTerminal(outIsTerminal)
{
}

Console Console::standard()
{
    return Console(stdout, stderr, isTerminal(stderr), isTerminal(stdout));
}

void Console::writeOut(const QByteArray &bytes)
{
    errno = 0;
    const bool written
        = std::fwrite(bytes.constData(), 1, size_t(bytes.size()), m_out) == size_t(bytes.size())
        && std::fflush(m_out) == 0;
    if (!written && m_outFailure.isEmpty())
        m_outFailure = systemReason(errno ? errno : EIO);
}

void Console::print(const QString &text)
{
    writeOut(text.toLocal8Bit() + '\n');
}

void Console::printBytes(const QByteArray &bytes)
{
    writeOut(bytes);
}

void Console::note(const QString &text)
{
    if (!m_quiet)
        print(text);
}

void Console::error(const QString &text)
{
    const QByteArray bytes = (QStringLiteral("tavrin-cli: ") + text).toLocal8Bit() + '\n';
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), m_err);
    std::fflush(m_err);
}

void Console::progress(const QString &text)
{
    if (m_showProgress && !m_quiet) {
        const QByteArray bytes = text.toLocal8Bit() + '\n';
        std::fwrite(bytes.constData(), 1, size_t(bytes.size()), m_err);
        std::fflush(m_err);
    }
}

void Console::setQuiet(bool quiet)
{
    m_quiet = quiet;
}

QString Console::finishOutput()
{
    errno = 0;
    if (std::fflush(m_out) != 0 && m_outFailure.isEmpty())
        m_outFailure = systemReason(errno ? errno : EIO);
    if (m_out == stdout) {
        errno = 0;
        if (std::fclose(m_out) != 0 && m_outFailure.isEmpty())
            m_outFailure = systemReason(errno ? errno : EIO);
        m_out = nullptr;
    }
    return m_outFailure;
}

QString terminalText(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

QString visibleCommand(QString command)
{
    if (command.endsWith(QLatin1Char('\r')))
        command.chop(1);
    return command;
}

} // namespace tavrin::cli
