#pragma once

#include "MessageWindowState.h"
#include "TestMessageMarkup.h"

#include "ModelProfile.h"

#include <QString>
#include <QStringList>

#include <array>

namespace tavrin::editors {

// The test-message window without its widgets: what each control shows. The composer's text
// and formats live in the editor's document, not here.
struct TestMessageState : MessageWindowState
{
    static constexpr int kListCount = int(vocab::kAttributes.size()); // by vocab::Attribute

    TestMessageState()
        : MessageWindowState(QStringLiteral("Download from Pager"),
                             QStringLiteral("Send Message to Sign"))
    {
    }

    vocab::TestMessageProfile profile; // lists, time controls and layout
    std::array<int, kListCount> codes { -1, -1, -1, -1, -1, -1, -1 };
    QString timeout;
    QStringList timeFormats;
    int timeFormat = -1;
    int messageId = -1; // MsgID
    int priority = -1; // MsgPri

    bool saveSettings = false; // the "Save changes to Priority" tick
    bool selectionOnly = false; // list choices format the selection, not the whole text
    PreviewColors previewColors {};

    QString test; // the command box, without its CR; the operator may edit it
    QString defaultMessage; // the text of the sign's stored default message

    int code(vocab::Attribute attribute) const { return codes[size_t(attribute)]; }
    int listCount(vocab::Attribute attribute) const
    {
        return int(profile.vocabulary(attribute).size());
    }
};

} // namespace tavrin::editors
