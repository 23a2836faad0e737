#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <utility>

namespace tavrin::update {

// A downloaded HTML page as its elements in document order, each with its rendered text:
// the text of the element and all its descendants, script and style left out, white space
// collapsed as a browser shows it. Element 0 is the document's root.
class PageText
{
public:
    // Parsed by the web module; a page that cannot be parsed, or a module that cannot be
    // loaded, gives no elements.
    static PageText parse(const QByteArray &html);
    static PageText fromElements(QString text, QList<std::pair<qsizetype, qsizetype>> elements)
    {
        PageText page;
        page.m_text = std::move(text);
        page.m_elements = std::move(elements);
        return page;
    }

    qsizetype elementCount() const { return m_elements.size(); }
    QString elementText(qsizetype index) const;

    // The rendered text of the last element, after the root, whose text contains sought
    // (letter case ignored); "" when none does. Containers come before their content, so
    // this is the innermost element of the last occurrence.
    QString findPageText(const QString &sought) const;

private:
    // One text for the whole page; each element is a range [begin, end) of it, so a deeply
    // nested page costs no more than a flat one.
    QString m_text;
    QList<std::pair<qsizetype, qsizetype>> m_elements;
};

} // namespace tavrin::update
