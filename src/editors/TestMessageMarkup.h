#pragma once

#include "TestMessageCommand.h"

#include <QColor>
#include <QString>
#include <QStringView>
#include <QTextCharFormat>

#include <array>
#include <optional>

class QTextDocument;

namespace tavrin::editors {

// The composer previews each sign font as a screen face, size, bold and effect flag, and each
// sign colour as a screen colour; the markup reads them back into "$F" and "$C" codes.

inline constexpr int kPreviewFontCount = protocol::kFontCodeCount;
inline constexpr int kPreviewColorCount = protocol::kColorCodeCount;

struct PreviewFont
{
    const char *face;
    int pointSize;
    bool bold;
    bool effect; // shown as underline
};
const std::array<PreviewFont, kPreviewFontCount> &previewFonts();

// Colours compared as RGB only, alpha cleared.
using PreviewColors = std::array<QRgb, kPreviewColorCount>;
PreviewColors standardPreviewColors();

// The font list index whose code a run in this face and size gets; nothing where the face
// and size (or the bold and effect flags that the size asks about) name no sign font.
std::optional<int> fontDecision(const QString &face, int pointSize, bool bold, bool effect);

// The character format that shows font row index, or colour rgb, in the composer. The face
// stays the first family name, which is what the markup reads back; a metric-compatible face
// follows it for screens that lack the original.
QTextCharFormat previewFontFormat(int index);
QTextCharFormat previewColorFormat(QRgb rgb);

// The font and colour list indexes that a character in this format reads back as; nothing
// for a format without a face or colour of its own, or one that names no sign font or colour.
std::optional<int> previewFontIndex(const QTextCharFormat &format);
std::optional<int> previewColorIndex(const QTextCharFormat &format, const PreviewColors &colors);

// The body of the message command: the composer's text, line breaks as CR LF, with a font
// code before each character whose face, size, bold or effect differs from the character
// before it and a colour code where its colour changes. Spaces neither get codes nor change
// what the next character is compared with. Reads the document run by run.
QString scanTestMessageBody(const QTextDocument &document, const PreviewColors &colors);

} // namespace tavrin::editors
