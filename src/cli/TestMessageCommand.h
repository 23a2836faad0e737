#pragma once

#include "SignConfig.h"

#include <QString>

namespace tavrin::cli {

inline constexpr int kMessageIdCount = 8; // "<id=0" .. "<id=7"

// The test-message window's command for plain text, all in the priority's own font and
// colour: "<id=N f= s= c= a= b= p= sp= t=>" from the row, then the text with its time
// placeholders as "$T0".."$T7" and its line breaks as "$L", then "\r". Such a text needs no
// in-line font or colour codes, so the window's composer scan has nothing to add.
QString plainTestMessage(int messageId, const protocol::PriorityRow &row, const QString &text);

} // namespace tavrin::cli
