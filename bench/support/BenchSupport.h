#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

#include <chrono>
#include <functional>
#include <memory>

namespace tavrin::bench {

using namespace std::chrono_literals;

// The serial line's pace: 9600 baud, a start bit, 8 data bits and a stop bit a character.
inline constexpr double kLineCharactersPerSecond = 9600.0 / 10.0;

inline double lineMilliseconds(qsizetype characters)
{
    return double(characters) * 1000.0 / kLineCharactersPerSecond;
}

// Median of repeated calls, run until the budget is spent (at least minRuns calls).
double medianMicroseconds(const std::function<void()> &run,
                          std::chrono::milliseconds budget = 1500ms, int minRuns = 5);

double median(QList<double> samples);

// One line of the table scripts/bench prints: a figure and its reference, in one unit.
void printRow(const QString &measure, double figure, const QString &unit, const QString &reference,
              double referenceFigure);

// The line a sign holding bench/data/full.led sends for "DOWNLOAD_ALL" (without its line
// feed): every priority row, all sixteen link entries, seven-digit capcodes.
QString fullConfigurationLine();
// The first line the simulated sign holding bench/data/full.led answers command with.
QString fullSignReply(const QString &command);

// tavrin-signsim on a pseudo-terminal, ended with this object.
class SignSim
{
public:
    // Starts it with the arguments given; device() is empty when it did not come up.
    explicit SignSim(const QStringList &arguments);
    ~SignSim();

    const QString &device() const { return m_device; }

private:
    std::unique_ptr<QProcess> m_process;
    QString m_device;
};

// Exits with a message: a benchmark whose setup failed measures nothing.
[[noreturn]] void fail(const QString &message);

} // namespace tavrin::bench
