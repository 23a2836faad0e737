#pragma once

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

inline constexpr int kPreviewFontCount = 25;
inline constexpr int kPreviewColorCount = 13;

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

QString fontCode(int index); // "$FA" for 0 .. "$FY" for 24
QString colorCode(int index); // "$CA" for 0 .. "$CM" for 12

// The font list index whose code a run in this face and size gets; nothing where the face
// and size (or the bold and effect flags that the size asks about) name no sign font.
std::optional<int> fontDecision(const QString &face, int pointSize, bool bold, bool effect);

// The character format that shows font row index, or colour rgb, in the composer. The face
// stays the first family name, which is what the markup reads back; a metric-compatible face
// follows it for screens that lack the original.
QTextCharFormat previewFontFormat(int index);
QTextCharFormat previewColorFormat(QRgb rgb);

// The body of the message command: the composer's text, line breaks as CR LF, with a font
// code before each character whose face, size, bold or effect differs from the character
// before it and a colour code where its colour changes. Spaces neither get codes nor change
// what the next character is compared with. Reads the document run by run.
QString scanTestMessageBody(const QTextDocument &document, const PreviewColors &colors);

// The index of a font or colour code at the very start of the body.
std::optional<int> leadingFontCode(QStringView body);
std::optional<int> leadingColorCode(QStringView body);

// What the header carries: list indexes (-1 for no selection) and the timeout as typed.
struct TestMessageHeader
{
    int id = -1;
    int font = -1;
    int style = -1;
    int color = -1;
    int alignment = -1;
    int beep = -1;
    int pause = -1;
    int speed = -1;
    QString timeout;
};

// "<id=.. f=.. s=.. c=.. a=.. b=.. p=.. sp=.. t=..>" and the body, with time and line codes
// applied to the whole, ended by "\r".
QString testMessageCommand(const TestMessageHeader &header, const QString &body);

} // namespace tavrin::editors
