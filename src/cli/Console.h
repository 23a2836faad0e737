#pragma once

#include <QString>

#include <cstdio>

namespace tavrin::cli {

// Where a command speaks: results on standard output, diagnostics on standard error, and
// progress on standard error only when a person is watching it. Every write to standard
// output is checked: a result that did not land whole must not end in success.
class Console
{
public:
    Console(std::FILE *out, std::FILE *err, bool showProgress, bool outIsTerminal = false);
    // The process's own streams; progress when standard error is a terminal.
    static Console standard();

    // One line (or several) of the result.
    void print(const QString &text);
    void printBytes(const QByteArray &bytes);
    // A confirmation ("Upload Successfull"), left out under --quiet.
    void note(const QString &text);
    // "tavrin-cli: text": what went wrong, or what the user must know.
    void error(const QString &text);
    void progress(const QString &text);
    void setQuiet(bool quiet);
    // Standard output is a terminal, where progress would repeat what the result shows.
    bool outIsTerminal() const { return m_outIsTerminal; }

    // Flushes and closes standard output; why the result did not land whole, if it did not
    // (the first failure since the start), empty otherwise.
    QString finishOutput();

private:
    void writeOut(const QByteArray &bytes);

    std::FILE *m_out;
    std::FILE *m_err;
    bool m_showProgress;
    bool m_outIsTerminal;
    bool m_quiet = false;
    QString m_outFailure;
};

// Holds each standard stream the program was started without (">&-") by a descriptor that
// refuses writes. Otherwise the next file opened (the sign's port, an output file) would take
// its number, and results meant for standard output would be written into it. Call it first,
// before anything opens a file.
void holdClosedStandardStreams();

// A sign's or a window's text made fit for a terminal line: CR LF and lone CRs become LFs.
QString terminalText(QString text);
// A command as one line of output: without its closing CR.
QString visibleCommand(QString command);

} // namespace tavrin::cli
