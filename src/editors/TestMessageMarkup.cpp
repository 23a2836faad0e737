#include "TestMessageMarkup.h"

#include <QTextBlock>
#include <QTextDocument>

namespace tavrin::editors {

namespace {

constexpr QRgb kRgbMask = 0x00FFFFFF;
const QString kLineBreak = QStringLiteral("\r\n");

// Unformatted text has no face and size of its own, and text without a colour of its own
// shows black.
protocol::TextLook lookOf(const QTextCharFormat &format)
{
    const QBrush brush = format.foreground();
    return { format.fontFamilies().toStringList().value(0), qRound(format.fontPointSize()),
             format.fontWeight() > QFont::Medium, format.fontUnderline(),
             brush.style() == Qt::NoBrush ? 0 : brush.color().rgb() & kRgbMask };
}

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

QTextCharFormat previewFontFormat(int index)
{
    const PreviewFont &font = previewFonts().at(size_t(index));
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
    const protocol::TextLook look = lookOf(format);
    return protocol::fontDecision(look.face, look.pointSize, look.bold, look.effect);
}

std::optional<int> previewColorIndex(const QTextCharFormat &format, const PreviewColors &colors)
{
    if (format.foreground().style() == Qt::NoBrush)
        return std::nullopt;
    const auto found = std::find(colors.begin(), colors.end(), lookOf(format).rgb);
    if (found == colors.end())
        return std::nullopt;
    return int(found - colors.begin());
}

QString scanTestMessageBody(const QTextDocument &document, const PreviewColors &colors)
{
    protocol::TestMessageBody scan(colors);
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        // The paragraph break before this block carries the block's character format.
        if (block != document.begin())
            scan.addRun(lookOf(block.charFormat()), kLineBreak);
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            scan.addRun(lookOf(fragment.charFormat()), withLineBreaks(fragment.text()));
        }
    }
    return scan.takeBody();
}

} // namespace tavrin::editors
