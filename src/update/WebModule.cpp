#include "WebFetch.h"

namespace tavrin::update {

modules::ProgramModule &webModule()
{
    static modules::ProgramModule module(kWebModuleName, kWebModuleEntry);
    return module;
}

PageText PageText::parse(const QByteArray &html)
{
    if (html.isEmpty())
        return {};
    const auto *web = webModule().table<WebModuleTable>();
    return web ? web->parsePage(html) : PageText();
}

} // namespace tavrin::update
