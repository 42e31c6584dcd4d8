// The OAuth 2.0 log-in of TPop3Client: SASL XOAUTH2 or OAUTHBEARER over POP3 (RFC 5034,
// RFC 7628). Servers answer a refused token with an error challenge ("+" and base64 JSON), not
// with -ERR: the client must send one more line, and only then does the -ERR come. A client that
// waited for the -ERR right after its token would wait until the time-out.
#include "mail/oauth_sasl.h"
#include "mail/pop3_client.h"
#include "mail/pop3_wire.h"
#include "util/text_convert.h"

namespace quillet {

using pop3_wire::CodeOf;
using pop3_wire::kLineEnd;

namespace {

// The longest POP3 command line, CR LF included (RFC 2449): an initial response that would make
// the AUTH line longer goes on a line of its own after the server's "+" (RFC 5034 section 4).
constexpr std::size_t kMaxCommandLine = 255;

// A text a token or a user name cannot hold: it would break the SASL message it goes into.
bool HasControlOrSpace(const std::string& Text, bool SpaceAllowed) {
    for (const char c : Text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F || (!SpaceAllowed && byte == ' '))
            return true;
    }
    return false;
}

std::string Joined(const std::vector<std::string>& Words) {
    std::string text;
    for (const std::string& word : Words)
        text += (text.empty() ? "" : " ") + word;
    return text;
}

} // namespace

bool TPop3Client::OAuthLogin() {
    FTokenRefused = false;
    FSaslRefusal.clear();
    // The mechanism is chosen from this connection's CAPA; an OAuth log-in is never pipelined.
    if (FCapaDeferred || !FCapaAsked) {
        FCapaDeferred = false;
        AskCapabilities(true);
        if (!FConversation->Active())
            return false;
    }
    const auto mechanism = ChooseOAuthMechanism(FSaslMechanisms, !FCapabilities.empty());
    if (!mechanism) {
        FConversation->Refuse(FromQString(tr("Not sent: the server offers no OAuth sign-in (SASL %1)")
                                              .arg(ToQString(Joined(FSaslMechanisms)))));
        return false;
    }
    if (AccessToken.empty() || HasControlOrSpace(AccessToken, false) || HasControlOrSpace(UserName, true)) {
        FConversation->Refuse(FromQString(
            tr("Not sent: the access token is missing, or it or the user name holds a control character")));
        return false;
    }
    if (HasCapability("UTF8") && !Exchange("UTF8", "", "", kLineEnd, TPop3Exchange::Utf8) &&
        !FConversation->Active())
        return false;

    const std::string name = MechanismName(*mechanism);
    const std::string command = "AUTH " + name;
    // Every wait is named by the command alone: the token stays out of every text.
    const std::string what = AwaitedReplyTo(command);
    const std::string response = OAuthResponse(*mechanism, UserName, AccessToken);
    const auto talk = [&](const std::string& Line, TPop3Exchange Code) {
        FConversation->Talk(Line + kLineEnd, kLineEnd, CodeOf(Code), what);
        FConversation->WaitReply();
        return FConversation->ReplyOK();
    };
    // Why the exchange ended on a closed connection: a server may drop one whose response is
    // longer than it reads (Dovecot reads about 8 KB), without a word.
    const auto closed = [&] {
        if (FConversation->ErrorKind() != TErrorKind::TimeOut)
            FConversation->Refuse(
                FromQString(tr("%1 (the sign-in response of %2 characters may be too long for this server)")
                                .arg(ToQString(LastReply()), QString::number(response.size()))));
        return false;
    };

    bool ok = false;
    if (command.size() + 1 + response.size() + kLineEnd.size() <= kMaxCommandLine) {
        ok = talk(command + " " + response, TPop3Exchange::Auth);
    } else {
        ok = talk(command, TPop3Exchange::Auth);
        if (!ok) {
            if (!ReadSaslChallenge(LastReply()).IsContinuation)
                return FConversation->Active() ? false : closed(); // the mechanism itself was refused
            ok = talk(response, TPop3Exchange::AuthResponse);
        }
    }
    if (!ok && FConversation->Active()) {
        const TSaslChallenge challenge = ReadSaslChallenge(LastReply());
        if (challenge.IsContinuation) {
            // A refused token: the challenge says why, and one more line brings the -ERR.
            FTokenRefused = true;
            FSaslRefusal = challenge.Text;
            const std::string said = LastReply();
            ok = talk(ErrorChallengeAnswer(*mechanism), TPop3Exchange::AuthResponse);
            if (!ok && !FConversation->Active() && FConversation->ErrorKind() != TErrorKind::TimeOut)
                FConversation->Refuse(
                    FromQString(tr("The server refused the access token and closed the connection (%1)")
                                    .arg(ToQString(challenge.Text.empty() ? said : challenge.Text))));
        } else {
            // -ERR at once: a refusal, unless its response code blames the mailbox or the server.
            const TResponseCode code = ResponseCodeOf(LastReply());
            FTokenRefused = code != TResponseCode::InUse && code != TResponseCode::LoginDelay &&
                            code != TResponseCode::SysTemp && code != TResponseCode::SysPerm;
        }
    } else if (!ok) {
        return closed();
    }
    if (!ok)
        return false;
    FTokenRefused = false;
    FLoggedIn = true;
    FPassAccepted = true; // the server counts this log-in
    return ReadListing();
}

} // namespace quillet
