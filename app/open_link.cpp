#include "app/open_link.h"

#include "util/strings.h"
#include "util/text_convert.h"

#include <QDesktopServices>

#include <array>

namespace quillet {

namespace {

TUrlOpener& UrlOpener() {
    static TUrlOpener Opener;
    return Opener;
}

bool ContainsText(std::string_view Text, std::string_view Lower) {
    std::string L(Text);
    for (char& C : L)
        C = AsciiLower(C);
    return L.find(Lower) != std::string::npos;
}

} // namespace

std::string LinkTarget(std::string_view Link) {
    for (std::string_view Web : {"ftp://", "file://", "http://", "https://"})
        if (ContainsText(Link, Web))
            return std::string(Link);
    // A web address with "@" in its path is no e-mail address, and a link that names its scheme
    // ("mailto:ann@h.dom", "news:id@host", "telnet://user@host") must not become "mailto:mailto:...".
    constexpr std::array<std::string_view, 10> kSchemes{
        "www.",      "mailto:", "ftps://", "telnet://", "tn3270://",
        "gopher://", "wais://", "news:",   "nntp://",   "prospero://"};
    for (std::string_view Scheme : kSchemes)
        if (StartsWithText(Link, Scheme))
            return std::string(Link);
    if (Link.find('@') != std::string_view::npos)
        return "mailto:" + std::string(Link);
    return std::string(Link);
}

QUrl LinkUrl(std::string_view Link) {
    const std::string Target = LinkTarget(Link);
    // What the desktop's handler would do for a bare "www." address typed into a browser.
    if (StartsWithText(Target, "www."))
        return QUrl(ToQString("http://" + Target), QUrl::TolerantMode);
    return QUrl(ToQString(Target), QUrl::TolerantMode);
}

void OpenLink(std::string_view Link) {
    const QUrl Url = LinkUrl(Link);
    if (UrlOpener())
        UrlOpener()(Url);
    else
        QDesktopServices::openUrl(Url);
}

TUrlOpener SetUrlOpener(TUrlOpener Opener) {
    TUrlOpener Previous = std::move(UrlOpener());
    UrlOpener() = std::move(Opener);
    return Previous;
}

} // namespace quillet
