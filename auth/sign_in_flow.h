// TSignInFlow runs one desktop sign-in (RFC 8252): it listens for the browser on the loopback
// address, has the caller open the system browser on the provider's authorization page (with
// PKCE S256 and a random state), takes the one redirect that comes back, checks its state,
// exchanges the code for tokens and shows the browser a small plain page saying how it went.
// It ends with exactly one OnFinished call: the tokens, the refusal (the user or the provider
// said no), or a failure, among them a browser that does not come back in time. Cancel ends it
// without a call.
#pragma once

#include "auth/oauth_client.h"
#include "auth/token_messages.h"

#include <QObject>
#include <cstdint>
#include <functional>
#include <string>

class QTimer;

namespace quillet {

class TLoopbackReceiver;
class TTokenEndpoint;
struct TRedirectRequest;

class TSignInFlow : public QObject {
    Q_OBJECT
public:
    // Opens Url in the system browser; false when no browser could be started.
    using TOpenBrowser = std::function<bool(const std::string& Url)>;

    explicit TSignInFlow(QObject* Parent = nullptr);
    ~TSignInFlow() override;

    // Seconds the browser may take to come back (the user signs in meanwhile).
    std::int32_t TimeOutSeconds = 300;
    std::function<void(const TTokenReply&)> OnFinished;

    // Starts the sign-in for Client; LoginHint (may be empty) names the account to sign in with.
    // False, with Why, when it cannot start (an endpoint that cannot be used, no client id, no
    // listener, no browser); nothing runs then and OnFinished is not called.
    bool Start(const TOAuthClient& Client, const std::string& LoginHint, const TOpenBrowser& OpenBrowser,
               std::string& Why);
    void Cancel();
    bool Running() const { return FRunning; }
    // Where the browser is expected, and the redirect address the provider is given.
    const TLoopbackReceiver& Receiver() const { return *FReceiver; }
    const std::string& RedirectUri() const { return FRedirectUri; }
    TTokenEndpoint& Endpoint() const { return *FEndpoint; }

private:
    void Answered(const TRedirectRequest& Request);
    void TokensCame(const TTokenReply& Reply);
    // Ends the sign-in with Reply; a browser still waiting gets PageText.
    void End(const TTokenReply& Reply, int Status, const std::string& PageText);

    TLoopbackReceiver* FReceiver;
    TTokenEndpoint* FEndpoint;
    QTimer* FTimer;
    TOAuthClient FClient;
    std::string FVerifier;
    std::string FState;
    std::string FRedirectUri;
    bool FRunning = false;
};

} // namespace quillet
