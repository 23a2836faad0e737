#include "TestMessageMarkup.h"

#include "MessageCodes.h"
#include "TestMessageCommand.h"

#include "Vocabulary.h"

#include <QTextBlock>
#include <QTextDocument>

namespace tavrin::editors {

using namespace protocol;

using protocol::colorCode;
using protocol::fontCode;

namespace {

constexpr std::array<PreviewFont, kPreviewFontCount> kPreviewFonts = { {
    { "Arial", 8, false, false },
    { "Arial", 9, false, false },
    { "Arial", 9, true, false },
    { "Arial Black", 9, false, false },
    { "Arial Black", 9, true, false },
    { "Arial", 10, false, false },
    { "Arial", 10, true, false },
    { "Arial Black", 10, false, false },
    { "Arial Black", 11, true, false },
    { "Arial", 11, false, true },
    { "Times New Roman", 11, false, false },
    { "Book Antiqua", 11, false, false },
    { "Times New Roman", 11, true, false },
    { "Book Antiqua", 11, true, false },
    { "Times New Roman", 11, true, true },
    { "Arial", 12, false, false },
    { "Arial", 12, true, false },
    { "Arial Black", 12, false, false },
    { "Arial Black", 12, true, false },
    { "Arial", 16, false, false },
    { "Arial", 16, true, false },
    { "Arial Black", 16, false, false },
    { "Arial Black", 16, true, false },
    { "Arial", 16, false, true },
    { "Times New Roman", 16, false, true },
} };

constexpr QRgb kRgbMask = 0x00FFFFFF;
const QString kLineBreak = QStringLiteral("\r\n");

// What the markup reads of one character besides the character itself.
struct FontLook
{
    QString face;
    int size = 0;
    bool bold = false;
    bool effect = false;
    friend bool operator==(const FontLook &, const FontLook &) = default;
};

// Unformatted text has no face and size of its own, so it never gets a font code.
FontLook fontLookOf(const QTextCharFormat &format)
{
    return { format.fontFamilies().toStringList().value(0), qRound(format.fontPointSize()),
             format.fontWeight() > QFont::Medium, format.fontUnderline() };
}

// Text without a colour of its own shows black.
QRgb colorOf(const QTextCharFormat &format)
{
    const QBrush brush = format.foreground();
    return brush.style() == Qt::NoBrush ? 0 : brush.color().rgb() & kRgbMask;
}

// The scan's previous values and the body so far; fed one run of equal format at a time.
class BodyScan
{
public:
    explicit BodyScan(const PreviewColors &colors)
        : m_colors(colors)
    {
    }

    void addRun(const QTextCharFormat &format, QStringView text)
    {
        qsizetype first = 0;
        while (first < text.size() && text[first] == u' ')
            ++first;
        m_body += text.first(first);
        if (first == text.size())
            return; // spaces keep the state of the character before them

        // The first other character settles the state: the rest of the run compares equal.
        const FontLook font = fontLookOf(format);
        if (font != m_font) {
            if (const auto index = fontDecision(font.face, font.size, font.bold, font.effect))
                m_body += fontCode(*index);
            m_font = font;
        }
        const QRgb color = colorOf(format);
        if (color != m_color) {
            const auto found = std::find(m_colors.begin(), m_colors.end(), color);
            if (found != m_colors.end())
                m_body += colorCode(int(found - m_colors.begin()));
        }
        m_color = color;
        m_body += text.sliced(first);
    }

    QString takeBody() { return std::move(m_body); }

private:
    const PreviewColors &m_colors;
    QString m_body;
    FontLook m_font;
    QRgb m_color = 0; // the black of colour index 12
};

QString withLineBreaks(QString text)
{
    return text.replace(QChar::LineSeparator, kLineBreak);
}

QStringList familiesFor(const char *face)
{
    const QString name = QString::fromLatin1(face);
    const bool serif = name == u"Times New Roman" || name == u"Book Antiqua";
    return { name, serif ? QStringLiteral("Liberation Serif") : QStringLiteral("Liberation Sans") };
}

} // namespace

const std::array<PreviewFont, kPreviewFontCount> &previewFonts()
{
    return kPreviewFonts;
}

PreviewColors standardPreviewColors()
{
    PreviewColors colors {};
    for (size_t i = 0; i < colors.size(); ++i) {
        const vocab::Rgb &c = vocab::displayColors()[i];
        colors[i] = qRgb(c.red, c.green, c.blue) & kRgbMask;
    }
    return colors;
}

std::optional<int> fontDecision(const QString &face, int pointSize, bool bold, bool effect)
{
    if (face == u"Arial") {
        switch (pointSize) {
        case 8:
            return 0;
        case 9:
            return bold ? 2 : 1;
        case 10:
            return bold ? 6 : 5;
        case 11:
            return 9;
        case 12:
            return bold ? 16 : 15;
        case 16:
            return bold ? 20 : effect ? 23 : 19;
        }
    } else if (face == u"Arial Black") {
        switch (pointSize) {
        case 9:
            return bold ? 4 : 3;
        case 10:
            return 7;
        case 11:
            return 8;
        case 12:
            return bold ? 18 : 17;
        case 16:
            return bold ? 22 : 21;
        }
    } else if (face == u"Times New Roman") {
        if (pointSize == 11) {
            if (!effect)
                return bold ? 12 : 10;
            if (bold)
                return 14;
        } else if (pointSize == 16) {
            return 24;
        }
    } else if (face == u"Book Antiqua" && pointSize == 11) {
        return bold ? 13 : 11;
    }
    return std::nullopt;
}

QTextCharFormat previewFontFormat(int index)
{
    const PreviewFont &font = kPreviewFonts.at(size_t(index));
    QTextCharFormat format;
    format.setFontFamilies(familiesFor(font.face));
    format.setFontPointSize(font.pointSize);
    format.setFontWeight(font.bold ? QFont::Bold : QFont::Normal);
    format.setFontUnderline(font.effect);
    return format;
}

QTextCharFormat previewColorFormat(QRgb rgb)
{
    QTextCharFormat format;
    format.setForeground(QColor::fromRgb(rgb));
    return format;
}

std::optional<int> previewFontIndex(const QTextCharFormat &format)
{
    const FontLook look = fontLookOf(format);
    return fontDecision(look.face, look.size, look.bold, look.effect);
}

std::optional<int> previewColorIndex(const QTextCharFormat &format, const PreviewColors &colors)
{
    if (format.foreground().style() == Qt::NoBrush)
        return std::nullopt;
    const auto found = std::find(colors.begin(), colors.end(), colorOf(format));
    if (found == colors.end())
        return std::nullopt;
    return int(found - colors.begin());
}

QString scanTestMessageBody(const QTextDocument &document, const PreviewColors &colors)
{
    BodyScan scan(colors);
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        // The paragraph break before this block carries the block's character format.
        if (block != document.begin())
            scan.addRun(block.charFormat(), kLineBreak);
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            scan.addRun(fragment.charFormat(), withLineBreaks(fragment.text()));
        }
    }
    return scan.takeBody();
}

} // namespace tavrin::editors
