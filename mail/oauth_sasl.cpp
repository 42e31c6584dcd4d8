#include "mail/oauth_sasl.h"

#include "mail/pop3_text.h"

#include <QByteArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <algorithm>
#include <cctype>

namespace quillet {

namespace {

std::string Base64(std::string_view Bytes) {
    return QByteArray(Bytes.data(), static_cast<qsizetype>(Bytes.size())).toBase64().toStdString();
}

std::string SaslName(std::string_view User) {
    std::string name;
    for (const char c : User) {
        if (c == ',')
            name += "=2C";
        else if (c == '=')
            name += "=3D";
        else
            name += c;
    }
    return name;
}

std::string Upper(std::string_view Text) {
    std::string upper(Text);
    std::ranges::transform(upper, upper.begin(),
                           [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return upper;
}

// One short printable line: control characters become spaces, at most 200 bytes.
std::string Printable(std::string_view Text) {
    std::string line(Text.substr(0, 200));
    for (char& c : line)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            c = ' ';
    return line;
}

} // namespace

const char* MechanismName(TOAuthMechanism Mechanism) {
    return Mechanism == TOAuthMechanism::XOAuth2 ? "XOAUTH2" : "OAUTHBEARER";
}

std::string OAuthResponse(TOAuthMechanism Mechanism, std::string_view User, std::string_view Token) {
    const std::string bearer = "auth=Bearer " + std::string(Token) + "\x01\x01";
    if (Mechanism == TOAuthMechanism::XOAuth2)
        return Base64("user=" + std::string(User) + "\x01" + bearer);
    return Base64("n,a=" + SaslName(User) + ",\x01" + bearer);
}

std::string ErrorChallengeAnswer(TOAuthMechanism Mechanism) {
    return Mechanism == TOAuthMechanism::XOAuth2 ? std::string() : std::string("AQ==");
}

std::vector<std::string> SaslMechanisms(std::string_view CapaReply) {
    std::vector<std::string> mechanisms;
    const std::vector<std::string_view> lines = ReplyLines(CapaReply);
    if (lines.empty() || !lines.front().starts_with("+OK"))
        return mechanisms;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::string line = Upper(lines[i]);
        if (!line.starts_with("SASL ") && !line.starts_with("SASL\t"))
            continue;
        std::size_t at = 4;
        while (at < line.size()) {
            const std::size_t start = line.find_first_not_of(" \t", at);
            if (start == std::string::npos)
                break;
            const std::size_t end = std::min(line.find_first_of(" \t", start), line.size());
            mechanisms.push_back(line.substr(start, end - start));
            at = end;
        }
    }
    return mechanisms;
}

std::optional<TOAuthMechanism> ChooseOAuthMechanism(const std::vector<std::string>& Offered, bool CapaKnown) {
    const auto offered = [&](const char* Name) { return std::ranges::find(Offered, Name) != Offered.end(); };
    if (offered("XOAUTH2"))
        return TOAuthMechanism::XOAuth2;
    if (offered("OAUTHBEARER"))
        return TOAuthMechanism::OAuthBearer;
    if (!CapaKnown || Offered.empty())
        return TOAuthMechanism::XOAuth2;
    return std::nullopt;
}

TSaslChallenge ReadSaslChallenge(std::string_view Line) {
    TSaslChallenge challenge;
    while (!Line.empty() && (Line.back() == '\n' || Line.back() == '\r'))
        Line.remove_suffix(1);
    if (!Line.starts_with("+") || Line.starts_with("+OK"))
        return challenge;
    challenge.IsContinuation = true;
    std::string_view data = Line.substr(1);
    while (!data.empty() && data.front() == ' ')
        data.remove_prefix(1);
    while (!data.empty() && data.back() == ' ')
        data.remove_suffix(1);
    if (data.empty()) {
        challenge.Empty = true;
        return challenge;
    }
    const QByteArray::FromBase64Result decoded =
        QByteArray::fromBase64Encoding(QByteArray(data.data(), static_cast<qsizetype>(data.size())),
                                       QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded) {
        challenge.Text = Printable(data);
        return challenge;
    }
    const QJsonDocument json = QJsonDocument::fromJson(decoded.decoded);
    if (!json.isObject()) {
        challenge.Text = Printable(decoded.decoded.toStdString());
        return challenge;
    }
    const QJsonValue status = json.object().value(QStringLiteral("status"));
    if (status.isString())
        challenge.Status = Printable(status.toString().toStdString());
    else if (status.isDouble())
        challenge.Status = std::to_string(status.toInteger());
    challenge.Text =
        challenge.Status.empty() ? Printable(decoded.decoded.toStdString()) : "status " + challenge.Status;
    return challenge;
}

} // namespace quillet
