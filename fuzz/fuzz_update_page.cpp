// Any bytes as the download page: the element texts, the search for the program's entry
// and the version read from what it finds; the version parser also on the raw text.
#include "FuzzSupport.h"

#include "HtmlPage.h"
#include "WebVersion.h"

#include <QLocale>

#include <cmath>
#include <cstddef>
#include <cstdint>

using namespace tavrin;

namespace {

const QString kSought = QStringLiteral("tavrin");

// The search as the window states it: the last element after the root whose text holds
// the sought text, compared without letter case.
QString lastElementNaming(const update::PageText &page)
{
    QString found;
    for (qsizetype i = 1; i < page.elementCount(); ++i) {
        const QString text = page.elementText(i);
        if (text.contains(kSought, Qt::CaseInsensitive))
            found = text;
    }
    return found;
}

void checkVersion(double version, const QString &from)
{
    if (!std::isfinite(version))
        fuzz::fail("a version is a finite number", from);
    // The new-version window shows it as text; that text must read back as the same number.
    bool ok = false;
    const QString text = update::versionText(version);
    if (QLocale::c().toDouble(text, &ok) != version || !ok)
        fuzz::fail("a version's text reads back as it", text);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray html(reinterpret_cast<const char *>(data), qsizetype(size));
    const update::PageText page = update::parseHtmlPage(html);
    const QString found = page.findPageText(kSought);
    if (found != lastElementNaming(page))
        fuzz::fail("the innermost element of the last entry", found);
    if (!found.isEmpty())
        checkVersion(update::parseWebVersion(found), found);

    const QString text = QString::fromUtf8(html);
    checkVersion(update::parseWebVersion(text), text);
    checkVersion(update::captionVersion(text), text);
    return 0;
}
