// Opening a clicked link with the desktop's handler for it (browser, mail program, ...).
#pragma once

#include <QUrl>

#include <functional>
#include <string>
#include <string_view>

namespace quillet {

// The text that a clicked link opens: an e-mail address gets "mailto:" in front; a link with
// "ftp://", "file://", "http://" or "https://" in it, or that begins with "www.", "mailto:" or
// another scheme that links are found by, opens unchanged, as does anything without "@".
std::string LinkTarget(std::string_view Link);

// LinkTarget as a URL; a target that begins with "www." is opened as "http://" and the target.
QUrl LinkUrl(std::string_view Link);

// Opens LinkUrl(Link). The result is not examined and nothing is reported.
void OpenLink(std::string_view Link);

// Replaces how OpenLink opens a URL (tests record it instead of starting a browser) and returns
// the previous opener. An empty opener restores the desktop's.
using TUrlOpener = std::function<void(const QUrl& Url)>;
TUrlOpener SetUrlOpener(TUrlOpener Opener);

} // namespace quillet
