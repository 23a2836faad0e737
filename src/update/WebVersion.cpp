#include "WebVersion.h"

#include <QLocale>
#include <QStringList>

#include <cmath>

namespace tavrin::update {

namespace {

constexpr qsizetype kExtensionLength = 4; // ".zip"

QString dropLast(const QString &text, qsizetype count)
{
    return text.left(std::max<qsizetype>(0, text.size() - count));
}

// 0 for anything that is not a plain finite number: such a text is no version we can offer.
double readNumber(const QString &text)
{
    QLocale c = QLocale::c();
    c.setNumberOptions(QLocale::RejectGroupSeparator);
    bool read = false;
    const double value = c.toDouble(text, &read);
    return read && std::isfinite(value) ? value : 0.0;
}

} // namespace

double parseWebVersion(const QString &text)
{
    if (text.contains(QStringLiteral("QLN8R")))
        return readNumber(dropLast(text.mid(5), kExtensionLength));
    if (text.contains(QStringLiteral("Tavrin")))
        return readNumber(dropLast(text.split(u' ').value(1), kExtensionLength));

    QString digits;
    for (QChar c : dropLast(text, kExtensionLength)) {
        if (c.isDigit() && c.unicode() < 0x80)
            digits.append(c);
        else if (c == u'.')
            digits.append(c);
    }
    return readNumber(digits);
}

double captionVersion(const QString &caption)
{
    if (!caption.contains(QStringLiteral("ver "), Qt::CaseInsensitive))
        return 0.0;
    QString marked = caption;
    marked.replace(QStringLiteral("ver "), QStringLiteral(":"));
    return readNumber(marked.split(u':').value(1));
}

QString versionText(double version)
{
    return QString::number(version, 'g', QLocale::FloatingPointShortest);
}

} // namespace tavrin::update
