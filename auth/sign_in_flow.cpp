#include "auth/sign_in_flow.h"

#include "auth/authorization_request.h"
#include "auth/loopback_receiver.h"
#include "auth/pkce.h"
#include "auth/token_endpoint.h"

#include <QCoreApplication>
#include <QTimer>
#include <algorithm>

namespace quillet {

namespace {

TTokenReply EndedWith(TTokenOutcome Outcome, const QString& Why, const std::string& Error = {}) {
    TTokenReply reply;
    reply.Outcome = Outcome;
    reply.Why = Why.toStdString();
    reply.Error = Error;
    return reply;
}

} // namespace

TSignInFlow::TSignInFlow(QObject* Parent)
    : QObject(Parent), FReceiver(new TLoopbackReceiver(this)), FEndpoint(new TTokenEndpoint(this)),
      FTimer(new QTimer(this)) {
    FTimer->setSingleShot(true);
    connect(FTimer, &QTimer::timeout, this, [this] {
        End(EndedWith(TTokenOutcome::Failed,
                      QCoreApplication::translate("OAuth", "the browser did not come back within %1 seconds")
                          .arg(TimeOutSeconds)),
            0, {});
    });
    FReceiver->OnAnswer = [this](const TRedirectRequest& Request) { Answered(Request); };
    FEndpoint->OnFinished = [this](const TTokenReply& Reply) { TokensCame(Reply); };
}

TSignInFlow::~TSignInFlow() {
    OnFinished = nullptr;
    Cancel();
}

bool TSignInFlow::Start(const TOAuthClient& Client, const std::string& LoginHint,
                        const TOpenBrowser& OpenBrowser, std::string& Why) {
    Cancel();
    for (const auto& [url, name] :
         {std::pair{&Client.AuthorizeUrl, "authorization"}, {&Client.TokenUrl, "token"}})
        if (const std::string problem = EndpointProblem(*url); !problem.empty()) {
            Why = (name == std::string("token")
                       ? QCoreApplication::translate("OAuth", "the token address cannot be used: %1")
                       : QCoreApplication::translate("OAuth", "the authorization address cannot be used: %1"))
                      .arg(QString::fromStdString(problem))
                      .toStdString();
            return false;
        }
    if (Client.ClientId.empty()) {
        Why = QCoreApplication::translate("OAuth", "the client id is empty").toStdString();
        return false;
    }
    if (!FReceiver->Listen(Why))
        return false;
    FClient = Client;
    FVerifier = MakeCodeVerifier();
    FState = RandomUrlSafe(16);
    FRedirectUri = LoopbackRedirectUri(FReceiver->Port());
    FRunning = true;
    FTimer->start(std::max(TimeOutSeconds, 1) * 1000);
    if (!OpenBrowser || !OpenBrowser(AuthorizationUrl(FClient, FRedirectUri, FState,
                                                      CodeChallengeS256(FVerifier), LoginHint))) {
        Cancel();
        Why = QCoreApplication::translate("OAuth", "no web browser could be opened").toStdString();
        return false;
    }
    return true;
}

void TSignInFlow::Cancel() {
    FRunning = false;
    FTimer->stop();
    FEndpoint->OnFinished = nullptr;
    FEndpoint->Cancel();
    FEndpoint->OnFinished = [this](const TTokenReply& Reply) { TokensCame(Reply); };
    FReceiver->Close();
    FVerifier.clear();
}

void TSignInFlow::Answered(const TRedirectRequest& Request) {
    if (!FRunning)
        return;
    FTimer->stop(); // the browser is back; the token request has a time-out of its own
    if (!Request.HasState || Request.State != FState) {
        // Not the answer to this sign-in (another one's, or forged): its code is not used.
        End(EndedWith(
                TTokenOutcome::Failed,
                QCoreApplication::translate("OAuth", "the browser's answer does not belong to this sign-in")),
            400,
            QCoreApplication::translate("OAuth",
                                        "Quillet: this answer does not belong to the sign-in Quillet "
                                        "started. Nothing was signed in. You can close this page.")
                .toStdString());
        return;
    }
    if (!Request.Error.empty()) {
        const QString what = QString::fromStdString(Request.ErrorDescription.empty()
                                                        ? Request.Error
                                                        : Request.Error + ": " + Request.ErrorDescription);
        End(EndedWith(TTokenOutcome::Refused,
                      QCoreApplication::translate("OAuth", "the sign-in was refused (%1)").arg(what),
                      Request.Error),
            200,
            QCoreApplication::translate("OAuth",
                                        "Quillet: the sign-in was refused (%1). You can close this page.")
                .arg(what)
                .toStdString());
        return;
    }
    FEndpoint->Post(FClient.TokenUrl, CodeGrantForm(FClient, Request.Code, FRedirectUri, FVerifier));
}

void TSignInFlow::TokensCame(const TTokenReply& Reply) {
    if (!FRunning)
        return;
    if (Reply.Outcome == TTokenOutcome::Granted)
        End(Reply, 200,
            QCoreApplication::translate("OAuth",
                                        "Quillet: signed in. You can close this page and go back to Quillet.")
                .toStdString());
    else
        End(Reply, 200,
            QCoreApplication::translate("OAuth",
                                        "Quillet: the sign-in did not work: %1. You can close this page.")
                .arg(QString::fromStdString(Reply.Why))
                .toStdString());
}

void TSignInFlow::End(const TTokenReply& Reply, int Status, const std::string& PageText) {
    FRunning = false;
    FTimer->stop();
    if (Status != 0)
        FReceiver->Respond(Status, PageText);
    FReceiver->Close();
    FVerifier.clear();
    if (OnFinished)
        OnFinished(Reply);
}

} // namespace quillet
