#include "PageText.h"

#include "WebFetch.h"

#include <algorithm>

namespace tavrin::update {

PageText PageText::parse(const QByteArray &html)
{
    if (html.isEmpty())
        return {};
    const auto *web = webModule().table<WebModuleTable>();
    return web ? web->parsePage(html) : PageText();
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
