#include "DefaultMessageStore.h"

namespace tavrin::core {

void DefaultMessageStore::store(const QString &defMsg, qint16 defFont, qint16 defColor,
                                         qint16 defStyle, qint16 defAlign, qint16 defSpeed,
                                         qint16 defPause)
{
    DefMsg = defMsg;
    DefFont = defFont;
    DefColor = defColor;
    DefStyle = defStyle;
    DefAlign = defAlign;
    DefSpeed = defSpeed;
    DefPause = defPause;
}

QString DefaultMessageStore::storedFields() const
{
    const QChar comma = QLatin1Char(',');
    return configFileName + comma + DefMsg + comma + QString::number(DefFont) + comma
        + QString::number(DefColor) + comma + QString::number(DefStyle) + comma
        + QString::number(DefAlign) + comma + QString::number(DefSpeed) + comma
        + QString::number(DefPause);
}

QString DefaultMessageStore::summary() const
{
    return QLatin1String("Message:") + DefMsg + QLatin1String(", Font:") + QString::number(DefFont)
        + QLatin1String(", Color:") + QString::number(DefColor) + QLatin1String(", Style:")
        + QString::number(DefStyle) + QLatin1String(", Align:") + QString::number(DefAlign)
        + QLatin1String(", Speed:") + QString::number(DefSpeed) + QLatin1String(", Pause:")
        + QString::number(DefPause);
}

} // namespace tavrin::core
