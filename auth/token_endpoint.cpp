#include "auth/token_endpoint.h"

#include "auth/authorization_request.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <QUrl>
#include <algorithm>

namespace quillet {

namespace {

TTokenReply FailedReply(const std::string& Why) {
    TTokenReply reply;
    reply.Outcome = TTokenOutcome::Failed;
    reply.Why = Why;
    return reply;
}

} // namespace

TTokenEndpoint::TTokenEndpoint(QObject* Parent)
    : QObject(Parent), FManager(new QNetworkAccessManager(this)), FTimer(new QTimer(this)) {
    FTimer->setSingleShot(true);
    connect(FTimer, &QTimer::timeout, this, [this] {
        Stop(QCoreApplication::translate("OAuth", "the sign-in server did not answer within %1 seconds")
                 .arg(TimeOutSeconds)
                 .toStdString());
    });
}

TTokenEndpoint::~TTokenEndpoint() {
    OnFinished = nullptr; // nobody is left to tell
    if (FReply != nullptr) {
        FReply->disconnect(this);
        FReply->abort();
        FReply->deleteLater();
        FReply = nullptr;
    }
}

void TTokenEndpoint::Post(const std::string& Url, const TFormFields& Form) {
    Cancel();
    if (const std::string problem = EndpointProblem(Url); !problem.empty()) {
        Finish(FailedReply(QCoreApplication::translate("OAuth", "the token address cannot be used: %1")
                               .arg(QString::fromStdString(problem))
                               .toStdString()));
        return;
    }
    QNetworkRequest request(QUrl(QString::fromStdString(Url)));
    request.setHeader(QNetworkRequest::ContentTypeHeader,
                      QByteArrayLiteral("application/x-www-form-urlencoded"));
    request.setRawHeader("Accept", "application/json");
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    FReply = FManager->post(request, QByteArray::fromStdString(FormBody(Form)));
    connect(FReply, &QNetworkReply::finished, this, &TTokenEndpoint::ReplyFinished);
    connect(FReply, &QNetworkReply::downloadProgress, this, [this](qint64 Received, qint64 Total) {
        if (Received > MaxReplyBytes || Total > MaxReplyBytes)
            Stop(QCoreApplication::translate("OAuth", "the sign-in server's answer is too large")
                     .toStdString());
    });
    FTimer->start(std::max(TimeOutSeconds, 1) * 1000);
}

TTokenReply TTokenEndpoint::PostAndWait(const std::string& Url, const TFormFields& Form) {
    Cancel(); // a request still running ends before this one takes its place
    TTokenReply result;
    bool done = false;
    QEventLoop loop;
    const auto previous = OnFinished;
    OnFinished = [&](const TTokenReply& Reply) {
        result = Reply;
        done = true;
        loop.quit();
    };
    Post(Url, Form);
    if (!done)
        loop.exec();
    if (!done) // the application is quitting
        Cancel();
    OnFinished = previous;
    return result;
}

void TTokenEndpoint::Cancel() {
    if (FReply != nullptr)
        Stop(QCoreApplication::translate("OAuth", "cancelled").toStdString());
}

void TTokenEndpoint::Stop(const std::string& Why) {
    if (FReply == nullptr)
        return;
    QNetworkReply* reply = FReply;
    FReply = nullptr;
    FTimer->stop();
    reply->disconnect(this);
    reply->abort();
    reply->deleteLater();
    Finish(FailedReply(Why));
}

void TTokenEndpoint::ReplyFinished() {
    QNetworkReply* reply = FReply;
    if (reply == nullptr)
        return;
    FReply = nullptr;
    FTimer->stop();
    reply->disconnect(this);
    reply->deleteLater();
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (status <= 0) {
        Finish(
            FailedReply(QCoreApplication::translate("OAuth", "the sign-in server could not be reached (%1)")
                            .arg(reply->errorString())
                            .toStdString()));
        return;
    }
    const QByteArray body = reply->read(MaxReplyBytes + 1);
    if (body.size() > MaxReplyBytes) {
        Finish(FailedReply(
            QCoreApplication::translate("OAuth", "the sign-in server's answer is too large").toStdString()));
        return;
    }
    Finish(
        ParseTokenReply(status, std::string_view(body.constData(), static_cast<std::size_t>(body.size()))));
}

void TTokenEndpoint::Finish(const TTokenReply& Reply) {
    if (OnFinished)
        OnFinished(Reply);
}

} // namespace quillet
