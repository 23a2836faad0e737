#pragma once

#include "PageText.h"

namespace tavrin::update {

// Parses a downloaded page with libxml2's forgiving HTML parser; the web module's part of
// PageText::parse.
PageText parseHtmlPage(const QByteArray &html);

} // namespace tavrin::update
