#include "auth/authorization_request.h"

#include "auth/url_form.h"

#include <QCoreApplication>
#include <QUrl>

namespace quillet {

std::string LoopbackRedirectUri(std::uint16_t Port) {
    return "http://localhost:" + std::to_string(Port);
}

std::string AuthorizationUrl(const TOAuthClient& Client, const std::string& RedirectUri,
                             const std::string& State, const std::string& Challenge,
                             const std::string& LoginHint) {
    std::string url = Client.AuthorizeUrl.substr(0, Client.AuthorizeUrl.find('#'));
    TFormFields fields = {{"response_type", "code"},
                          {"client_id", Client.ClientId},
                          {"redirect_uri", RedirectUri},
                          {"scope", Client.Scope},
                          {"state", State},
                          {"code_challenge", Challenge},
                          {"code_challenge_method", "S256"}};
    if (!LoginHint.empty())
        fields.emplace_back("login_hint", LoginHint);
    const std::size_t query = url.find('?');
    if (query == std::string::npos)
        url += '?';
    else if (query + 1 < url.size() && url.back() != '&')
        url += '&';
    return url + FormBody(fields);
}

std::string EndpointProblem(std::string_view Url) {
    if (Url.empty())
        return QCoreApplication::translate("OAuth", "the address is empty").toStdString();
    const QUrl url(QString::fromUtf8(Url.data(), static_cast<qsizetype>(Url.size())), QUrl::StrictMode);
    if (!url.isValid() || url.host().isEmpty())
        return QCoreApplication::translate("OAuth", "this is not a web address").toStdString();
    if (url.hasFragment())
        return QCoreApplication::translate("OAuth", "the address may not hold a fragment (#...)")
            .toStdString();
    const QString scheme = url.scheme().toLower();
    if (scheme == QStringLiteral("https"))
        return {};
    const QString host = url.host().toLower();
    const bool loopback = host == QStringLiteral("127.0.0.1") || host == QStringLiteral("::1") ||
                          host == QStringLiteral("localhost");
    if (scheme == QStringLiteral("http") && loopback)
        return {};
    return QCoreApplication::translate("OAuth", "the address must start with https://").toStdString();
}

} // namespace quillet
