#include "auth/token_messages.h"

#include <QCoreApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>

namespace quillet {

namespace {

// A server's text as one short, printable line: control characters become spaces, and it is cut
// after 300 bytes (at a character boundary).
std::string ShownText(const QString& Text) {
    std::string text = Text.toStdString();
    for (char& c : text)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            c = ' ';
    if (text.size() > 300) {
        std::size_t cut = 300;
        while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
            --cut;
        text = text.substr(0, cut) + "...";
    }
    return text;
}

TTokenReply Failed(const QString& Why) {
    TTokenReply reply;
    reply.Outcome = TTokenOutcome::Failed;
    reply.Why = Why.toStdString();
    return reply;
}

// expires_in as a number, or as the digits some servers send in a string; -1 when absent or
// not a sensible number of seconds.
std::int64_t ExpiresIn(const QJsonValue& Value) {
    constexpr double kTenYears = 10.0 * 365 * 24 * 3600;
    double seconds = -1;
    if (Value.isDouble()) {
        seconds = Value.toDouble();
    } else if (Value.isString()) {
        bool ok = false;
        seconds = static_cast<double>(Value.toString().toLongLong(&ok));
        if (!ok)
            seconds = -1;
    }
    if (!(seconds >= 0 && seconds <= kTenYears))
        return -1;
    return static_cast<std::int64_t>(seconds);
}

void AddSecret(TFormFields& Form, const TOAuthClient& Client) {
    if (!Client.ClientSecret.empty())
        Form.emplace_back("client_secret", Client.ClientSecret);
}

} // namespace

TFormFields CodeGrantForm(const TOAuthClient& Client, const std::string& Code, const std::string& RedirectUri,
                          const std::string& Verifier) {
    TFormFields form = {{"grant_type", "authorization_code"},
                        {"code", Code},
                        {"redirect_uri", RedirectUri},
                        {"client_id", Client.ClientId},
                        {"code_verifier", Verifier}};
    AddSecret(form, Client);
    return form;
}

TFormFields RefreshGrantForm(const TOAuthClient& Client, const std::string& RefreshToken) {
    TFormFields form = {
        {"grant_type", "refresh_token"}, {"refresh_token", RefreshToken}, {"client_id", Client.ClientId}};
    AddSecret(form, Client);
    return form;
}

bool IsTokenText(std::string_view Token) {
    if (Token.empty() || Token.size() > 65536)
        return false;
    for (const char c : Token)
        if (c <= 0x20 || c >= 0x7F)
            return false;
    return true;
}

TTokenReply ParseTokenReply(int HttpStatus, std::string_view Body) {
    QJsonParseError parseError{};
    const QJsonDocument document =
        QJsonDocument::fromJson(QByteArray(Body.data(), static_cast<qsizetype>(Body.size())), &parseError);
    const QJsonObject json = document.object();
    const bool isObject = parseError.error == QJsonParseError::NoError && document.isObject();
    const QString status = QString::number(HttpStatus);

    if (isObject && json.value(QStringLiteral("error")).isString() &&
        (HttpStatus == 200 || HttpStatus == 400 || HttpStatus == 401 || HttpStatus == 403)) {
        const QString error = json.value(QStringLiteral("error")).toString();
        const QString description = json.value(QStringLiteral("error_description")).toString();
        const std::string shown =
            ShownText(description.isEmpty() ? error : error + QStringLiteral(": ") + description);
        // A server in trouble says so with these codes: another try later may work.
        if (error == QStringLiteral("server_error") || error == QStringLiteral("temporarily_unavailable"))
            return Failed(QCoreApplication::translate("OAuth", "the sign-in server is in trouble (%1)")
                              .arg(QString::fromStdString(shown)));
        TTokenReply reply;
        reply.Outcome = TTokenOutcome::Refused;
        reply.Error = ShownText(error);
        reply.Why = QCoreApplication::translate("OAuth", "the sign-in server refused (%1)")
                        .arg(QString::fromStdString(shown))
                        .toStdString();
        return reply;
    }
    if (HttpStatus != 200)
        return Failed(
            QCoreApplication::translate("OAuth", "the sign-in server answered HTTP %1").arg(status));
    if (!isObject)
        return Failed(QCoreApplication::translate("OAuth", "the sign-in server's answer is not readable"));
    const QJsonValue access = json.value(QStringLiteral("access_token"));
    if (!access.isString() || !IsTokenText(access.toString().toStdString()))
        return Failed(
            QCoreApplication::translate("OAuth", "the sign-in server's answer holds no usable access token"));
    const QJsonValue type = json.value(QStringLiteral("token_type"));
    if (!type.isUndefined() && type.toString().compare(QStringLiteral("bearer"), Qt::CaseInsensitive) != 0)
        return Failed(QCoreApplication::translate(
            "OAuth", "the sign-in server gave a token of another kind than Bearer"));
    const QJsonValue refresh = json.value(QStringLiteral("refresh_token"));
    if (!refresh.isUndefined() && !refresh.isNull() &&
        !(refresh.isString() &&
          (refresh.toString().isEmpty() || IsTokenText(refresh.toString().toStdString()))))
        return Failed(QCoreApplication::translate(
            "OAuth", "the sign-in server's answer holds a malformed refresh token"));
    TTokenReply reply;
    reply.Outcome = TTokenOutcome::Granted;
    reply.AccessToken = access.toString().toStdString();
    reply.RefreshToken = refresh.toString().toStdString();
    reply.ExpiresIn = ExpiresIn(json.value(QStringLiteral("expires_in")));
    return reply;
}

} // namespace quillet
