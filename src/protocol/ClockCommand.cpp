#include "ClockCommand.h"

#include <QLocale>

namespace tavrin::protocol {

namespace {

QString twoDigits(int value)
{
    return QString::number(value).rightJustified(2, QLatin1Char('0'));
}

} // namespace

QString clockCommand(const QDateTime &now)
{
    const QDate date = now.date();
    const QTime time = now.time();
    const int weekday = date.dayOfWeek() % 7; // Qt counts Monday 1 .. Sunday 7
    return QStringLiteral("<Time time=") + twoDigits(time.hour()) + QLatin1Char(':')
        + twoDigits(time.minute()) + QLatin1Char(':') + twoDigits(time.second())
        + QStringLiteral(" date=") + QString::number(date.year()) + QLatin1Char('/')
        + twoDigits(date.month()) + QLatin1Char('/') + twoDigits(date.day()) + QLatin1Char('-')
        + QString::number(weekday) + QStringLiteral(">SET TIME\r");
}

QString clockDisplayText(const QDateTime &now)
{
    const QLocale locale = QLocale::system();
    // The long time format carries seconds and, in most locales, a zone name ("t"): drop it.
    QString timeFormat = locale.timeFormat(QLocale::LongFormat);
    timeFormat.remove(QLatin1Char('t'));
    return locale.toString(now.date(), QLocale::ShortFormat) + QLatin1Char(' ')
        + locale.toString(now.time(), timeFormat.trimmed());
}

} // namespace tavrin::protocol
