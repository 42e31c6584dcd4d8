// TTokenEndpoint posts one token request at a time to a provider's token endpoint and reads the
// answer. Every request ends with exactly one OnFinished call, however it ends: the answer (a
// grant or a refusal), a network error, a time-out, an answer too large to be a token reply, or
// Cancel; it never waits for ever. Redirects are not followed (a token endpoint does not move).
#pragma once

#include "auth/token_messages.h"

#include <QObject>
#include <cstdint>
#include <functional>
#include <string>

class QEventLoop;
class QNetworkAccessManager;
class QNetworkReply;
class QTimer;

namespace quillet {

class TTokenEndpoint : public QObject {
    Q_OBJECT
public:
    explicit TTokenEndpoint(QObject* Parent = nullptr);
    ~TTokenEndpoint() override;

    // Seconds a request may take, from sending to the last byte of the answer.
    std::int32_t TimeOutSeconds = 30;
    // Largest answer read (a token reply is a few kilobytes); a larger one fails the request.
    static constexpr std::int64_t MaxReplyBytes = 256 * 1024;
    // Told the outcome of each request; also from within Post when the address is refused.
    std::function<void(const TTokenReply&)> OnFinished;

    // Posts Form (form-encoded) to Url; a request still running is cancelled first. Only https
    // addresses, or http to this machine, are used (see EndpointProblem).
    void Post(const std::string& Url, const TFormFields& Form);
    // Post, then waits in a local event loop (the user interface stays alive) until it ends.
    TTokenReply PostAndWait(const std::string& Url, const TFormFields& Form);
    // Ends the running request as failed ("cancelled"); nothing when none runs.
    void Cancel();
    bool Busy() const { return FReply != nullptr; }

private:
    void ReplyFinished();
    // Drops the running request and ends it with Why.
    void Stop(const std::string& Why);
    void Finish(const TTokenReply& Reply);

    QNetworkAccessManager* FManager;
    QNetworkReply* FReply = nullptr;
    QTimer* FTimer;
};

} // namespace quillet
