#include "TestMessageBody.h"

#include "Vocabulary.h"

#include <algorithm>

namespace tavrin::protocol {

using vocab::Attribute;

namespace {

constexpr std::array<PreviewFont, kFontCodeCount> kPreviewFonts = { {
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

bool sameFont(const TextLook &a, const TextLook &b)
{
    return a.face == b.face && a.pointSize == b.pointSize && a.bold == b.bold
        && a.effect == b.effect;
}

int listCount(const vocab::AttributeLists &lists, Attribute attribute)
{
    return int(lists.vocabulary(attribute).size());
}

} // namespace

const std::array<PreviewFont, kFontCodeCount> &previewFonts()
{
    return kPreviewFonts;
}

PreviewColors standardPreviewColors()
{
    PreviewColors colors {};
    for (size_t i = 0; i < colors.size(); ++i) {
        const vocab::Rgb &c = vocab::displayColors()[i];
        colors[i] = quint32(c.red) << 16 | quint32(c.green) << 8 | quint32(c.blue);
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

TextLook previewLook(int font, int color, const PreviewColors &colors)
{
    TextLook look;
    if (font >= 0 && font < kFontCodeCount) {
        const PreviewFont &f = kPreviewFonts[size_t(font)];
        look = { QString::fromLatin1(f.face), f.pointSize, f.bold, f.effect };
    }
    if (color >= 0 && color < kColorCodeCount)
        look.rgb = colors[size_t(color)];
    return look;
}

TestMessageBody::TestMessageBody(const PreviewColors &colors)
    : m_colors(colors)
{
}

void TestMessageBody::addRun(const TextLook &look, QStringView text)
{
    qsizetype first = 0;
    while (first < text.size() && text[first] == u' ')
        ++first;
    m_body += text.first(first);
    if (first == text.size())
        return; // spaces keep the state of the character before them

    // The first other character settles the state: the rest of the run compares equal.
    if (!sameFont(look, m_font)) {
        if (const auto index = fontDecision(look.face, look.pointSize, look.bold, look.effect))
            m_body += fontCode(*index);
        m_font = look;
    }
    if (look.rgb != m_color) {
        const auto found = std::find(m_colors.begin(), m_colors.end(), look.rgb);
        if (found != m_colors.end())
            m_body += colorCode(int(found - m_colors.begin()));
    }
    m_color = look.rgb;
    m_body += text.sliced(first);
}

QString typedTestMessageCommand(int messageId, const PriorityRow &priority, const QString &text,
                                const vocab::AttributeLists &lists)
{
    PriorityRow row = priority;
    for (Attribute attribute : kSignFieldOrder) {
        row.code(attribute)
            = Code(vocab::selectByCode(-1, priority.code(attribute), listCount(lists, attribute)));
    }
    const PreviewColors colors = standardPreviewColors();
    TestMessageBody scan(colors);
    scan.addRun(previewLook(row.font, row.color, colors), text);
    QString body = scan.takeBody();
    if (const auto font = leadingFontCode(body)) {
        row.font = Code(vocab::selectByCode(row.font, *font, listCount(lists, Attribute::Font)));
        body.remove(0, 3);
    }
    if (const auto color = leadingColorCode(body)) {
        row.color
            = Code(vocab::selectByCode(row.color, *color, listCount(lists, Attribute::Color)));
        body.remove(0, 3);
    }
    return testMessageCommand(messageId, row, body);
}

} // namespace tavrin::protocol
