// The sign-in tests' authorization server: tests/data/oauth_server.py started on 127.0.0.1 at a
// free port (authorization code with PKCE and auto-approval, refresh with rotation, revocation,
// introspection for Dovecot, and test controls under /admin), stopped by its own process id.
// And a stand-in for the system browser that follows an authorization page's redirects.
#pragma once

#include <QObject>
#include <QProcess>
#include <QTemporaryDir>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QNetworkAccessManager;

namespace quillet::test {

class TOAuthTestServer {
public:
    // ScriptPath: the server's script (QUILLET_TEST_DATA "/oauth_server.py").
    explicit TOAuthTestServer(std::string ScriptPath);
    ~TOAuthTestServer();
    TOAuthTestServer(const TOAuthTestServer&) = delete;
    TOAuthTestServer& operator=(const TOAuthTestServer&) = delete;

    // True when python3 is installed.
    static bool Installed();
    // Starts it (Arguments are added to its command line, e.g. "--token-bytes", "4500") and waits
    // until it listens; on failure Why says what went wrong.
    bool Start(std::string& Why, const std::vector<std::string>& Arguments = {});
    void Stop();

    std::string Issuer() const { return "http://127.0.0.1:" + std::to_string(FPort); }
    std::string AuthorizeUrl() const { return Issuer() + "/authorize"; }
    std::string TokenUrl() const { return Issuer() + "/token"; }
    std::string IntrospectUrl() const { return Issuer() + "/introspect"; }
    // POSTs Form (already encoded) to /admin/<Command>: "expire", "revoke", "set". Returns the
    // answer's body, empty when there was none.
    std::string Admin(const std::string& Command, const std::string& Form = {});
    // A counter of /admin/state, such as "token:refresh_token"; 0 when it never counted.
    int Count(const std::string& Name);
    // The server's log (one line per request), for failure messages.
    std::string Log() const;

private:
    std::string FScript;
    QTemporaryDir FDir;
    std::unique_ptr<QProcess> FProcess;
    int FPort = 0;
};

// Follows an address as a browser does (GET, redirects followed, the last page read), without
// blocking: the sign-in under test waits for it on the same thread.
class TScriptedBrowser : public QObject {
    Q_OBJECT
public:
    TScriptedBrowser();
    ~TScriptedBrowser() override;
    // Changes the authorization page's address before it is followed (a tampered state).
    std::function<std::string(const std::string&)> Rewrite;
    // Starts following Url; true, as a browser that opened.
    bool Open(const std::string& Url);
    // Waits until the last page arrived (at most TimeOutMs); false when it did not.
    bool WaitForPage(int TimeOutMs = 10000);
    int Opened = 0;
    std::string OpenedUrl; // the authorization page's address as the program gave it
    bool PageArrived = false;
    int Status = 0;
    std::string Page;

private:
    QNetworkAccessManager* FManager;
};

} // namespace quillet::test
