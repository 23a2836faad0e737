#pragma once

#include "DefaultMessageProtocol.h"
#include "MessageWindowState.h"

#include "ModelProfile.h"

#include <QString>
#include <QStringList>

#include <array>

namespace tavrin::editors {

// The default-message window without its widgets: what each control shows.
struct DefaultMessageState : MessageWindowState
{
    static constexpr int kListCount = 6; // font, colour, style, alignment, speed, pause
    static constexpr int kTimeFormatFlag = kListCount; // attributeChanged slot of TimeFormat

    inline static const QString kTimeOn = QStringLiteral("is ON");
    inline static const QString kTimeOff = QStringLiteral("is OFF");

    DefaultMessageState()
        : MessageWindowState(QStringLiteral("Download from Sign"), QStringLiteral("Upload to Sign"))
    {
    }

    vocab::DefaultMessageProfile profile; // lists, time controls and layout
    std::array<int, kListCount> codes { -1, -1, -1, -1, -1, -1 }; // by vocab::Attribute
    QStringList timeFormats;
    int timeFormat = -1;

    QString message; // defaultMessage; line breaks as CR LF
    int messageAlignment = 0; // 0 left, 1 right, 2 centre
    QString test; // the last command sent
    QString timeDisplayStatus = kTimeOff;

    // False for a model whose lists this program does not know: the text can be edited and
    // kept in a file, but there are no codes to upload it with.
    bool listsKnown = true;
    bool fontListEnabled = true;
    bool styleListEnabled = true;
    bool pauseListEnabled = true;

    // Set by a selection in the matching list (or TimeFormat); never cleared while open.
    std::array<bool, kListCount + 1> attributeChanged {};

    bool timeDisplayOn() const { return timeDisplayStatus == kTimeOn; }
    int code(vocab::Attribute attribute) const;
    int listCount(vocab::Attribute attribute) const;
    protocol::Attributes attributes() const;
};

} // namespace tavrin::editors
