#include "HelpText.h"

#include <QStringList>

namespace tavrin::editors {

std::optional<QString> softwareVersionText(const QString &caption)
{
    const QString marker = QStringLiteral("ver ");
    if (!caption.contains(marker, Qt::CaseInsensitive))
        return std::nullopt;
    // Only the exact-case marker is replaced, so "VER 4.72" finds no second part.
    QString text = caption;
    text.replace(marker, QStringLiteral(":"), Qt::CaseSensitive);
    const QStringList parts = text.split(QLatin1Char(':'));
    if (parts.size() < 2)
        return std::nullopt;
    return QStringLiteral("Version : ") + parts.at(1);
}

ContactLines contactLines()
{
    return { QStringLiteral("Tavrin Signs"), QStringLiteral("support@tavrin.example.com"),
             QStringLiteral("https://tavrin.example.com") };
}

} // namespace tavrin::editors
