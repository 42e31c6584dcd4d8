#include "dialogs/oauth_presets.h"

#include "util/text_convert.h"

#include <QCoreApplication>

namespace quillet {

namespace {

// Microsoft's POP3 permission for Outlook.com and Microsoft 365 mailboxes, and offline_access
// for a refresh token, from the tenant of personal accounts or of work and school accounts.
TOAuthPreset Microsoft(const QString& Name, const std::string& Tenant) {
    const std::string base = "https://login.microsoftonline.com/" + Tenant + "/oauth2/v2.0/";
    return {FromQString(Name), base + "authorize", base + "token",
            "https://outlook.office.com/POP.AccessAsUser.All offline_access", "outlook.office365.com"};
}

} // namespace

std::vector<TOAuthPreset> OAuthPresets() {
    return {
        Microsoft(QCoreApplication::translate("OAuthPresets", "Microsoft (personal)"), "consumers"),
        Microsoft(QCoreApplication::translate("OAuthPresets", "Microsoft (work or school)"), "organizations"),
        // Google gives a refresh token only to offline access, and again on a later sign-in only
        // when consent is asked for again.
        {FromQString(QCoreApplication::translate("OAuthPresets", "Google")),
         "https://accounts.google.com/o/oauth2/v2/auth?access_type=offline&prompt=consent",
         "https://oauth2.googleapis.com/token", "https://mail.google.com/", "pop.gmail.com"},
    };
}

int PresetIndexOf(const TOAuthSettings& Settings) {
    const std::vector<TOAuthPreset> presets = OAuthPresets();
    for (std::size_t i = 0; i < presets.size(); ++i)
        if (presets[i].AuthorizeUrl == Settings.AuthorizeUrl && presets[i].TokenUrl == Settings.TokenUrl)
            return static_cast<int>(i);
    return -1;
}

} // namespace quillet
