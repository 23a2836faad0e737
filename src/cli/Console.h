#pragma once

#include <QString>

#include <cstdio>

namespace tavrin::cli {

// Where a command speaks: results on standard output, diagnostics on standard error, and
// progress on standard error only when a person is watching it.
class Console
{
public:
    Console(std::FILE *out, std::FILE *err, bool showProgress);
    // The process's own streams; progress when standard error is a terminal.
    static Console standard();

    // One line (or several) of the result.
    void print(const QString &text);
    void printBytes(const QByteArray &bytes);
    // "tavrin-cli: text": what went wrong, or what the user must know.
    void error(const QString &text);
    void progress(const QString &text);

private:
    std::FILE *m_out;
    std::FILE *m_err;
    bool m_showProgress;
};

// A sign's or a window's text made fit for a terminal line: CR LF and lone CRs become LFs.
QString terminalText(QString text);
// A command as one line of output: without its closing CR.
QString visibleCommand(QString command);

} // namespace tavrin::cli
