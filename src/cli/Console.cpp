#include "Console.h"

#ifdef _WIN32
#include <io.h>
#else
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

void writeLine(std::FILE *stream, const QString &text)
{
    const QByteArray bytes = text.toLocal8Bit() + '\n';
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    std::fflush(stream);
}

} // namespace

Console::Console(std::FILE *out, std::FILE *err, bool showProgress)
    : m_out(out)
    , m_err(err)
    , m_showProgress(showProgress)
{
}

Console Console::standard()
{
    return Console(stdout, stderr, isTerminal(stderr));
}

void Console::print(const QString &text)
{
    writeLine(m_out, text);
}

void Console::printBytes(const QByteArray &bytes)
{
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), m_out);
    std::fflush(m_out);
}

void Console::error(const QString &text)
{
    writeLine(m_err, QStringLiteral("tavrin-cli: ") + text);
}

void Console::progress(const QString &text)
{
    if (m_showProgress)
        writeLine(m_err, text);
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
