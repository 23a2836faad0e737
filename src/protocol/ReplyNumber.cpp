#include "ReplyNumber.h"

#include <QString>

#include <cmath>
#include <limits>

namespace tavrin::protocol {

namespace {

bool isSkipped(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n';
}

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

} // namespace

double readNumber(QStringView text)
{
    // Collect the accepted characters first; the conversion itself is Qt's (C locale).
    QString number;
    qsizetype i = 0;
    const auto skip = [&] {
        while (i < text.size() && isSkipped(text[i]))
            ++i;
    };
    const auto digits = [&](QString &into) {
        bool any = false;
        for (skip(); i < text.size() && isDigit(text[i]); skip()) {
            into.append(text[i++]);
            any = true;
        }
        return any;
    };

    skip();
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
        number.append(text[i++]);
    bool mantissa = digits(number);
    if (i < text.size() && text[i] == u'.') {
        number.append(text[i++]);
        mantissa = digits(number) || mantissa;
    }
    if (!mantissa)
        return 0.0;

    // An exponent counts only when at least one digit follows its letter (and sign).
    if (i < text.size()) {
        const QChar e = text[i].toLower();
        if (e == u'e' || e == u'd') {
            const qsizetype mark = i;
            QString exponent = QStringLiteral("e");
            ++i;
            skip();
            if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
                exponent.append(text[i++]);
            if (digits(exponent))
                number.append(exponent);
            else
                i = mark;
        }
    }
    // Out of range gives +-inf or 0, which is what the callers want to see.
    return number.toDouble();
}

std::optional<qint16> roundToInt16(double value)
{
    if (!std::isfinite(value))
        return std::nullopt;
    const double below = std::floor(value);
    const double fraction = value - below;
    const bool up = fraction > 0.5 || (fraction == 0.5 && std::fmod(below, 2.0) != 0.0);
    const double rounded = up ? below + 1.0 : below;
    if (rounded < std::numeric_limits<qint16>::min()
        || rounded > std::numeric_limits<qint16>::max())
        return std::nullopt;
    return qint16(rounded);
}

} // namespace tavrin::protocol
