#include "PageText.h"

#include <libxml/HTMLparser.h>

#include <algorithm>
#include <memory>

namespace tavrin::update {

namespace {

struct DocFree
{
    void operator()(xmlDoc *doc) const { xmlFreeDoc(doc); }
};

bool named(const xmlNode *node, const char *name)
{
    return xmlStrcasecmp(node->name, reinterpret_cast<const xmlChar *>(name)) == 0;
}

bool isHtmlSpace(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f';
}

class Collector
{
public:
    QString text;
    QList<std::pair<qsizetype, qsizetype>> ranges;

    // Iterative so that a deeply nested page cannot exhaust the stack.
    void walk(xmlNode *root)
    {
        struct Open
        {
            xmlNode *node;
            qsizetype range;
        };
        QList<Open> open;
        xmlNode *node = root;
        while (node) {
            bool descend = false;
            if (node->type == XML_ELEMENT_NODE) {
                if (named(node, "br"))
                    appendSpace();
                if (!named(node, "script") && !named(node, "style")) {
                    ranges.append({ text.size(), text.size() });
                    descend = node->children != nullptr;
                    if (descend)
                        open.append({ node, ranges.size() - 1 });
                }
            } else if (node->type == XML_TEXT_NODE || node->type == XML_CDATA_SECTION_NODE) {
                append(QString::fromUtf8(reinterpret_cast<const char *>(node->content)));
            }
            if (descend) {
                node = node->children;
                continue;
            }
            // Close every element whose last child this was, then move on.
            while (node != root && !node->next) {
                node = node->parent;
                if (!open.isEmpty() && open.last().node == node) {
                    ranges[open.last().range].second = text.size();
                    open.removeLast();
                }
            }
            node = node == root ? nullptr : node->next;
        }
    }

private:
    bool m_lastWasSpace = true;

    void appendSpace()
    {
        if (!m_lastWasSpace)
            text.append(u' ');
        m_lastWasSpace = true;
    }

    void append(const QString &piece)
    {
        for (QChar c : piece) {
            if (isHtmlSpace(c)) {
                appendSpace();
            } else {
                text.append(c);
                m_lastWasSpace = false;
            }
        }
    }
};

} // namespace

PageText PageText::parse(const QByteArray &html)
{
    PageText page;
    if (html.isEmpty())
        return page;
    const std::unique_ptr<xmlDoc, DocFree> doc(
        htmlReadMemory(html.constData(), int(html.size()), nullptr, nullptr,
                       HTML_PARSE_RECOVER | HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING
                           | HTML_PARSE_NONET | HTML_PARSE_COMPACT));
    if (!doc)
        return page;
    xmlNode *root = xmlDocGetRootElement(doc.get());
    if (!root)
        return page;
    Collector collector;
    collector.walk(root);
    page.m_text = std::move(collector.text);
    page.m_elements = std::move(collector.ranges);
    return page;
}

QString PageText::elementText(qsizetype index) const
{
    const auto [begin, end] = m_elements.at(index);
    return m_text.mid(begin, end - begin).trimmed();
}

QString PageText::findPageText(const QString &sought) const
{
    if (sought.isEmpty())
        return {};
    QList<qsizetype> matches; // ascending start positions in the page's text
    for (qsizetype at = m_text.indexOf(sought, 0, Qt::CaseInsensitive); at >= 0;
         at = m_text.indexOf(sought, at + 1, Qt::CaseInsensitive))
        matches.append(at);
    for (qsizetype i = m_elements.size() - 1; i >= 1; --i) {
        const auto [begin, end] = m_elements.at(i);
        const auto first = std::lower_bound(matches.cbegin(), matches.cend(), begin);
        if (first != matches.cend() && *first + sought.size() <= end)
            return elementText(i);
    }
    return {};
}

} // namespace tavrin::update
