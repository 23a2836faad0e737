#pragma once

#include "SignConfig.h"
#include "TestMessageCommand.h"

#include "ModelProfile.h"

#include <QString>
#include <QStringView>

#include <array>
#include <optional>

namespace tavrin::protocol {

// The test-message composer previews each sign font as a screen face, size, bold and effect
// flag, and each sign colour as a screen colour; the markup reads them back into "$F" and
// "$C" codes. This is the half of it that needs no text document, so the command line builds
// its messages with the window's own rules.

struct PreviewFont
{
    const char *face;
    int pointSize;
    bool bold;
    bool effect; // shown as underline
};
const std::array<PreviewFont, kFontCodeCount> &previewFonts();

// 0xRRGGBB, compared as RGB only.
using PreviewColors = std::array<quint32, kColorCodeCount>;
PreviewColors standardPreviewColors();

// The font list index whose code a run in this face and size gets; nothing where the face
// and size (or the bold and effect flags that the size asks about) name no sign font.
std::optional<int> fontDecision(const QString &face, int pointSize, bool bold, bool effect);

// What the markup reads of a run of text besides its characters. Unformatted text has no
// face and size, and shows black.
struct TextLook
{
    QString face;
    int pointSize = 0;
    bool bold = false;
    bool effect = false;
    quint32 rgb = 0;
};

// How text looks that is typed after the font and colour lists chose these rows; a row outside
// the preview tables leaves that part unformatted.
TextLook previewLook(int font, int color, const PreviewColors &colors);

// The body of the message command, fed run by run in document order: the text, with a font
// code before each character whose face, size, bold or effect differs from the character
// before it and a colour code where its colour changes. Spaces neither get codes nor change
// what the next character is compared with.
class TestMessageBody
{
public:
    explicit TestMessageBody(const PreviewColors &colors);

    void addRun(const TextLook &look, QStringView text);
    QString takeBody() { return std::move(m_body); }

private:
    const PreviewColors &m_colors;
    QString m_body;
    TextLook m_font; // face, size, bold and effect of the last character that was no space
    quint32 m_color = 0; // the black of colour index 12
};

// The command the test-message window sends for text typed into it right after it opened on
// a priority with these codes: the lists take what they can hold, the text takes their look,
// and codes that lead the body move into the header.
QString typedTestMessageCommand(int messageId, const PriorityRow &priority, const QString &text,
                                const vocab::AttributeLists &lists);

} // namespace tavrin::protocol
