#pragma once

#include "TestMessageBody.h"

#include <QColor>
#include <QString>
#include <QTextCharFormat>

class QTextDocument;

namespace tavrin::editors {

// The preview tables and the body's rules are the protocol's (the command line builds its
// messages with them too); this half reads and writes the composer's text document.

inline constexpr int kPreviewFontCount = protocol::kFontCodeCount;
inline constexpr int kPreviewColorCount = protocol::kColorCodeCount;

using protocol::fontDecision;
using protocol::PreviewColors;
using protocol::PreviewFont;
using protocol::previewFonts;
using protocol::standardPreviewColors;

// The character format that shows font row index, or colour rgb, in the composer. The face
// stays the first family name, which is what the markup reads back; a metric-compatible face
// follows it for screens that lack the original.
QTextCharFormat previewFontFormat(int index);
QTextCharFormat previewColorFormat(QRgb rgb);

// The font and colour list indexes that a character in this format reads back as; nothing
// for a format without a face or colour of its own, or one that names no sign font or colour.
std::optional<int> previewFontIndex(const QTextCharFormat &format);
std::optional<int> previewColorIndex(const QTextCharFormat &format, const PreviewColors &colors);

// The body of the message command from the composer's text, line breaks as CR LF, read run
// by run (protocol::TestMessageBody).
QString scanTestMessageBody(const QTextDocument &document, const PreviewColors &colors);

} // namespace tavrin::editors
