#include "tests/support/oauth_test_server.h"

#include <QEventLoop>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QStandardPaths>
#include <QThread>
#include <QTimer>
#include <chrono>

namespace quillet::test {

namespace {

QString Python() {
    QString path = QStandardPaths::findExecutable(QStringLiteral("python3"), {QStringLiteral("/usr/bin")});
    if (path.isEmpty())
        path = QStandardPaths::findExecutable(QStringLiteral("python3"));
    return path;
}

// Runs the local event loop until Reply has finished or TimeOutMs passed.
void WaitFor(QNetworkReply* Reply, int TimeOutMs) {
    if (Reply->isFinished())
        return;
    QEventLoop loop;
    QObject::connect(Reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(TimeOutMs, &loop, &QEventLoop::quit);
    loop.exec();
}

} // namespace

TOAuthTestServer::TOAuthTestServer(std::string ScriptPath) : FScript(std::move(ScriptPath)) {}

TOAuthTestServer::~TOAuthTestServer() {
    Stop();
}

bool TOAuthTestServer::Installed() {
    return !Python().isEmpty();
}

bool TOAuthTestServer::Start(std::string& Why, const std::vector<std::string>& Arguments) {
    if (!Installed()) {
        Why = "python3 is not installed";
        return false;
    }
    const QString portFile = FDir.filePath(QStringLiteral("port"));
    QStringList args = {QString::fromStdString(FScript),
                        QStringLiteral("--port"),
                        QStringLiteral("0"),
                        QStringLiteral("--port-file"),
                        portFile,
                        QStringLiteral("--log"),
                        FDir.filePath(QStringLiteral("server.log")),
                        QStringLiteral("--user"),
                        QStringLiteral("alice"),
                        QStringLiteral("--seconds"),
                        QStringLiteral("1800")};
    for (const std::string& argument : Arguments)
        args << QString::fromStdString(argument);
    FProcess = std::make_unique<QProcess>();
    FProcess->setProcessChannelMode(QProcess::MergedChannels);
    FProcess->start(Python(), args);
    if (!FProcess->waitForStarted(5000)) {
        Why = "the test authorization server did not start";
        return false;
    }
    // Ready once it has written its port file.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(15);
    while (std::chrono::steady_clock::now() < deadline) {
        QFile file(portFile);
        if (file.open(QIODevice::ReadOnly)) {
            FPort = file.readAll().trimmed().toInt();
            if (FPort > 0)
                return true;
        }
        if (FProcess->state() == QProcess::NotRunning) {
            Why = "the test authorization server exited: " + FProcess->readAll().toStdString();
            return false;
        }
        QThread::msleep(20);
    }
    Why = "the test authorization server did not listen in time: " + Log();
    return false;
}

void TOAuthTestServer::Stop() {
    if (!FProcess)
        return;
    if (FProcess->state() != QProcess::NotRunning) {
        FProcess->terminate(); // SIGTERM to its own process id
        if (!FProcess->waitForFinished(5000)) {
            FProcess->kill();
            FProcess->waitForFinished(5000);
        }
    }
    FProcess.reset();
}

std::string TOAuthTestServer::Admin(const std::string& Command, const std::string& Form) {
    QNetworkAccessManager manager;
    QNetworkRequest request(QUrl(QString::fromStdString(Issuer() + "/admin/" + Command)));
    request.setHeader(QNetworkRequest::ContentTypeHeader,
                      QByteArrayLiteral("application/x-www-form-urlencoded"));
    QNetworkReply* reply = manager.post(request, QByteArray::fromStdString(Form));
    WaitFor(reply, 10000);
    const std::string body = reply->readAll().toStdString();
    reply->deleteLater();
    return body;
}

int TOAuthTestServer::Count(const std::string& Name) {
    QNetworkAccessManager manager;
    QNetworkReply* reply =
        manager.get(QNetworkRequest(QUrl(QString::fromStdString(Issuer() + "/admin/state"))));
    WaitFor(reply, 10000);
    const QJsonObject state = QJsonDocument::fromJson(reply->readAll()).object();
    reply->deleteLater();
    return state.value(QStringLiteral("counts")).toObject().value(QString::fromStdString(Name)).toInt();
}

std::string TOAuthTestServer::Log() const {
    QFile file(FDir.filePath(QStringLiteral("server.log")));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll().right(4000).toStdString();
}

TScriptedBrowser::TScriptedBrowser() : FManager(new QNetworkAccessManager(this)) {
    FManager->setRedirectPolicy(QNetworkRequest::NoLessSafeRedirectPolicy);
}

TScriptedBrowser::~TScriptedBrowser() = default;

bool TScriptedBrowser::Open(const std::string& Url) {
    ++Opened;
    OpenedUrl = Url;
    PageArrived = false;
    const std::string followed = Rewrite ? Rewrite(Url) : Url;
    QNetworkReply* reply =
        FManager->get(QNetworkRequest(QUrl::fromEncoded(QByteArray::fromStdString(followed))));
    connect(reply, &QNetworkReply::finished, this, [this, reply] {
        Status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        Page = reply->readAll().toStdString();
        PageArrived = true;
        reply->deleteLater();
    });
    return true;
}

bool TScriptedBrowser::WaitForPage(int TimeOutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(TimeOutMs);
    while (!PageArrived && std::chrono::steady_clock::now() < deadline) {
        QEventLoop loop;
        QTimer::singleShot(20, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return PageArrived;
}

} // namespace quillet::test
