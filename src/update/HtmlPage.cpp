#include "HtmlPage.h"

#include <libxml/HTMLparser.h>

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

PageText parseHtmlPage(const QByteArray &html)
{
    if (html.isEmpty())
        return {};
    const std::unique_ptr<xmlDoc, DocFree> doc(
        htmlReadMemory(html.constData(), int(html.size()), nullptr, nullptr,
                       HTML_PARSE_RECOVER | HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING
                           | HTML_PARSE_NONET | HTML_PARSE_COMPACT));
    if (!doc)
        return {};
    xmlNode *root = xmlDocGetRootElement(doc.get());
    if (!root)
        return {};
    Collector collector;
    collector.walk(root);
    return PageText::fromElements(std::move(collector.text), std::move(collector.ranges));
}

} // namespace tavrin::update
