#pragma once

#include <QString>
#include <QUrl>

namespace tavrin::update {

// The longest file name accepted from the download page, in bytes of the file system's
// encoding (UTF-16 units on Windows): the usual limit of 255 less room for the suffix of
// the temporary file the download goes to first.
inline constexpr qsizetype kMaxWebFileNameBytes = 240;

// Why the page's file name cannot be a file on the desktop, in plain words; "" when it
// can. The name comes from the server, so anything that could leave the folder, hide the
// file or upset the file system is refused.
QString refuseWebFileName(const QString &name);

// The user's desktop folder: TAVRIN_DESKTOP when set (tests point it at a temporary
// folder), else the system's; "" when there is none.
QString desktopFolder();

// The file's address: the site, "/" and the name, percent-encoded as a URL needs.
QUrl downloadAddress(const QUrl &site, const QString &fileName);

} // namespace tavrin::update
