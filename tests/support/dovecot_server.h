// Starts a private Dovecot POP3 server for tests and benchmarks: its own configuration, users
// (passwd-file) and maildirs under a temporary folder, listening only on 127.0.0.1 on a free
// port picked at run time, stopped by its own process id. It never reads /etc/dovecot.
// Running it needs root (Dovecot's mail processes run as a dedicated system user that the
// launcher creates when it is missing).
#pragma once

#include <QProcess>
#include <QTemporaryDir>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace quillet::test {

class TDovecotServer {
public:
    TDovecotServer();
    ~TDovecotServer();
    TDovecotServer(const TDovecotServer&) = delete;
    TDovecotServer& operator=(const TDovecotServer&) = delete;

    // True when the dovecot and doveadm programs are installed.
    static bool Installed();
    // True in CI (environment CI=true), where a missing Dovecot is a failure, not a skip.
    static bool Required();

    // Adds a user with an empty maildir. Call before Start.
    void AddUser(const std::string& Name, const std::string& Password);
    // Starts the server and waits until it greets; on failure Why says what went wrong.
    bool Start(std::string& Why);
    // Serves POP3S on TlsPort and STLS on Port with this certificate and key (PEM files). Call
    // before Start; call again and Restart to change the certificate.
    void EnableTls(const std::string& CertPath, const std::string& KeyPath);
    std::uint16_t TlsPort() const { return FTlsPort; }
    // One long-lived login process serves every connection (Dovecot's high-performance mode)
    // instead of a new process for each: a TLS session of one connection can then be resumed by
    // the next, as session tickets are sealed with a key of the process that issued them. Call
    // before Start.
    void ShareLoginProcess() { FSharedLogin = true; }
    // OAuth 2.0 log-ins as well (SASL XOAUTH2 and OAUTHBEARER), each token checked by asking
    // IntrospectionUrl (RFC 7662) whether it is active and whose it is; password log-ins stay.
    // Every log-in asks again (no authentication cache, so that a revoked token is refused at
    // once) and refused log-ins are not slowed down (no penalty per address), so that tests of
    // refusals stay short. Call before Start.
    void EnableOAuth(const std::string& IntrospectionUrl) { FIntrospectionUrl = IntrospectionUrl; }
    // Stops and starts again on the same ports with the current configuration.
    bool Restart(std::string& Why);
    // Stops the server (SIGTERM to its own pid, then SIGKILL if it lingers).
    void Stop();

    std::uint16_t Port() const { return FPort; }
    // Puts a message into the user's maildir (new/); Text uses LF line ends as a maildir stores
    // them. Messages are numbered on the server in the order they were delivered.
    void Deliver(const std::string& User, const std::string& Text);
    // Number of message files in the user's maildir (new/ and cur/).
    int MessageFileCount(const std::string& User) const;
    // Dovecot's log, for failure messages.
    std::string Log() const;

private:
    std::string MaildirOf(const std::string& User) const;
    bool EnsureMailUser(std::string& Why);
    void WriteConfig();
    // Waits until the started server greets on its port (20 seconds at most).
    bool WaitForGreeting(std::string& Why);
    std::string TlsSettings() const;
    std::string TlsListener() const;
    std::string AuthSettings() const;

    QTemporaryDir FDir;
    std::string FRoot;
    std::uint16_t FPort = 0;
    std::uint16_t FTlsPort = 0;
    std::string FTlsCert, FTlsKey;
    bool FSharedLogin = false;
    std::string FIntrospectionUrl;
    unsigned FMailUid = 0, FMailGid = 0;
    std::vector<std::pair<std::string, std::string>> FUsers;
    std::unique_ptr<QProcess> FProcess;
    int FDelivered = 0;
};

} // namespace quillet::test
