#pragma once

#include <QString>

namespace tavrin::update {

// The version a download page's text offers: "QLN8R480.zip" and "Tavrin 4.80.zip" by their
// fixed layouts, anything else by the digits and points before the extension; 0 when no
// number can be read. "." is the decimal point whatever the locale.
double parseWebVersion(const QString &text);

// The version after "ver " in a window caption ("... ver 4.72" gives 4.72); 0 when the
// caption names none.
double captionVersion(const QString &caption);

// A version in its shortest decimal form: 4.8, not 4.80.
QString versionText(double version);

} // namespace tavrin::update
