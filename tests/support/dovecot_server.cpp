#include "tests/support/dovecot_server.h"

#include <QDir>
#include <QFile>
#include <QHostAddress>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <chrono>
#include <csignal>
#include <fstream>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quillet::test {

namespace {

const char* const kMailUser = "quilletmail";

QString FindProgram(const QString& Name) {
    QString path = QStandardPaths::findExecutable(Name, {"/usr/sbin", "/usr/bin", "/usr/local/sbin"});
    if (path.isEmpty())
        path = QStandardPaths::findExecutable(Name);
    return path;
}

bool HaveUser(const char* Name) {
    return getpwnam(Name) != nullptr;
}

// Creates a system user with no home and no shell, as Dovecot's processes need.
bool AddSystemUser(const char* Name) {
    return QProcess::execute("useradd", {"--system", "--user-group", "--no-create-home", "--home-dir",
                                         "/nonexistent", "--shell", "/usr/sbin/nologin", Name}) == 0 ||
           HaveUser(Name);
}

void MakeDir(const std::string& Path, mode_t Mode, uid_t Uid, gid_t Gid) {
    QDir().mkpath(QString::fromStdString(Path));
    ::chown(Path.c_str(), Uid, Gid);
    ::chmod(Path.c_str(), Mode);
}

void WriteFile(const std::string& Path, const std::string& Text) {
    std::ofstream out(Path, std::ios::binary | std::ios::trunc);
    out << Text;
}

// A free port on 127.0.0.1 other than Taken.
std::uint16_t FreeLoopbackPort(std::uint16_t Taken = 0) {
    for (int attempt = 0; attempt < 20; ++attempt) {
        QTcpServer probe;
        if (!probe.listen(QHostAddress::LocalHost, 0))
            return 0;
        if (probe.serverPort() != Taken)
            return probe.serverPort();
    }
    return 0;
}

} // namespace

TDovecotServer::TDovecotServer() : FRoot(FDir.path().toStdString()) {
    // Dovecot's login and auth processes must be able to reach the folder.
    ::chmod(FRoot.c_str(), 0755);
}

TDovecotServer::~TDovecotServer() {
    Stop();
}

bool TDovecotServer::Installed() {
    return !FindProgram("dovecot").isEmpty() && !FindProgram("doveadm").isEmpty();
}

bool TDovecotServer::Required() {
    return qgetenv("CI") == "true";
}

bool TDovecotServer::EnsureMailUser(std::string& Why) {
    if (FMailUid != 0)
        return true;
    if (geteuid() != 0) {
        Why = "the private Dovecot needs root";
        return false;
    }
    for (const char* name : {"dovecot", "dovenull", kMailUser}) {
        if (!HaveUser(name) && !AddSystemUser(name)) {
            Why = std::string("cannot create the system user ") + name;
            return false;
        }
    }
    const passwd* pw = getpwnam(kMailUser);
    FMailUid = pw->pw_uid;
    FMailGid = pw->pw_gid;
    return true;
}

std::string TDovecotServer::MaildirOf(const std::string& User) const {
    return FRoot + "/mail/" + User + "/Maildir";
}

void TDovecotServer::AddUser(const std::string& Name, const std::string& Password) {
    std::string why;
    if (!EnsureMailUser(why))
        return; // Start reports it
    FUsers.emplace_back(Name, Password);
    MakeDir(FRoot + "/mail", 0755, 0, 0);
    MakeDir(FRoot + "/mail/" + Name, 0700, FMailUid, FMailGid);
    for (const char* sub : {"", "/new", "/cur", "/tmp"})
        MakeDir(MaildirOf(Name) + sub, 0700, FMailUid, FMailGid);
}

void TDovecotServer::Deliver(const std::string& User, const std::string& Text) {
    // Maildir names start with the delivery time; increasing names keep the delivery order.
    const std::string name = std::to_string(1600000000 + FDelivered++) + ".M1P1Q.quillet";
    const std::string path = MaildirOf(User) + "/new/" + name;
    WriteFile(path, Text);
    ::chown(path.c_str(), FMailUid, FMailGid);
    ::chmod(path.c_str(), 0600);
}

int TDovecotServer::MessageFileCount(const std::string& User) const {
    int count = 0;
    for (const char* sub : {"/new", "/cur"})
        count += static_cast<int>(
            QDir(QString::fromStdString(MaildirOf(User) + sub)).entryList(QDir::Files).size());
    return count;
}

std::string TDovecotServer::Log() const {
    QFile file(QString::fromStdString(FRoot + "/log/dovecot.log"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll().right(4000).toStdString();
}

void TDovecotServer::WriteConfig() {
    const std::string uid = std::to_string(FMailUid), gid = std::to_string(FMailGid);
    std::string users;
    for (const auto& [name, password] : FUsers)
        users +=
            name + ":{PLAIN}" + password + ":" + uid + ":" + gid + "::" + FRoot + "/mail/" + name + "::\n";
    const std::string usersPath = FRoot + "/users";
    WriteFile(usersPath, users);
    const group* gr = getgrnam("dovecot");
    ::chown(usersPath.c_str(), 0, gr ? gr->gr_gid : 0);
    ::chmod(usersPath.c_str(), 0640);

    const std::string config = "instance_name = quillet-test-" + std::to_string(FPort) +
                               "\n"
                               "base_dir = " +
                               FRoot + "/run\nstate_dir = " + FRoot +
                               "/state\n"
                               "protocols = pop3\nlisten = 127.0.0.1\nshutdown_clients = yes\n"
                               "log_path = " +
                               FRoot +
                               "/log/dovecot.log\n"
                               "default_internal_user = dovecot\ndefault_login_user = dovenull\n"
                               "first_valid_uid = " +
                               uid + "\nlast_valid_uid = " + uid + "\nfirst_valid_gid = " + gid +
                               "\nlast_valid_gid = " + gid + "\n" + TlsSettings() +
                               "disable_plaintext_auth = no\n" + AuthSettings() +
                               "passdb {\n  driver = passwd-file\n" +
                               (FIntrospectionUrl.empty() ? "" : "  mechanisms = plain login\n") +
                               "  args = scheme=PLAIN username_format=%n " + usersPath +
                               "\n}\n"
                               "userdb {\n  driver = passwd-file\n  args = username_format=%n " +
                               usersPath +
                               "\n}\n"
                               "mail_location = maildir:~/Maildir\npop3_uidl_format = %08Xu%08Xv\n"
                               "service pop3-login {\n  inet_listener pop3 {\n    address = 127.0.0.1\n"
                               "    port = " +
                               std::to_string(FPort) + "\n  }\n" + TlsListener() +
                               (FSharedLogin ? "  service_count = 0\n  process_min_avail = 1\n" : "") + "}\n";
    WriteFile(FRoot + "/dovecot.conf", config);
}

bool TDovecotServer::Start(std::string& Why) {
    if (!Installed()) {
        Why = "Dovecot is not installed (package dovecot-pop3d)";
        return false;
    }
    if (!FDir.isValid()) {
        Why = "no temporary folder";
        return false;
    }
    if (!EnsureMailUser(Why))
        return false;
    for (const char* sub : {"/run", "/state", "/log"})
        MakeDir(FRoot + sub, 0755, 0, 0);
    FPort = FreeLoopbackPort();
    if (!FTlsCert.empty())
        FTlsPort = FreeLoopbackPort(FPort);
    if (FPort == 0 || (!FTlsCert.empty() && FTlsPort == 0)) {
        Why = "no free loopback port";
        return false;
    }
    WriteConfig();

    FProcess = std::make_unique<QProcess>();
    FProcess->setProcessChannelMode(QProcess::MergedChannels);
    FProcess->start(FindProgram("dovecot"), {"-F", "-c", QString::fromStdString(FRoot + "/dovecot.conf")});
    if (!FProcess->waitForStarted(5000)) {
        Why = "dovecot did not start";
        return false;
    }
    return WaitForGreeting(Why);
}

bool TDovecotServer::WaitForGreeting(std::string& Why) {
    // Ready when it greets on its port; give up after 20 seconds.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (std::chrono::steady_clock::now() < deadline) {
        if (FProcess->state() == QProcess::NotRunning) {
            Why = "dovecot exited: " + FProcess->readAll().toStdString() + Log();
            return false;
        }
        QTcpSocket probe;
        probe.connectToHost(QHostAddress::LocalHost, FPort);
        if (probe.waitForConnected(500) && probe.waitForReadyRead(2000) && probe.readAll().startsWith("+OK"))
            return true;
        QThread::msleep(50);
    }
    Why = "dovecot did not greet in time: " + Log();
    return false;
}

void TDovecotServer::EnableTls(const std::string& CertPath, const std::string& KeyPath) {
    FTlsCert = CertPath;
    FTlsKey = KeyPath;
}

bool TDovecotServer::Restart(std::string& Why) {
    Stop();
    WriteConfig(); // the same ports, the current certificate
    FProcess = std::make_unique<QProcess>();
    FProcess->setProcessChannelMode(QProcess::MergedChannels);
    FProcess->start(FindProgram("dovecot"), {"-F", "-c", QString::fromStdString(FRoot + "/dovecot.conf")});
    return WaitForGreeting(Why);
}

std::string TDovecotServer::TlsSettings() const {
    if (FTlsCert.empty())
        return "ssl = no\n";
    return "ssl = yes\nssl_cert = <" + FTlsCert + "\nssl_key = <" + FTlsKey +
           "\nssl_min_protocol = TLSv1.2\n";
}

std::string TDovecotServer::AuthSettings() const {
    if (FIntrospectionUrl.empty())
        return "auth_mechanisms = plain login\nauth_failure_delay = 0\n";
    // The oauth2 passdb's settings file: no token info address, so every token goes straight to
    // introspection; no debug log, which would write tokens in clear.
    const std::string oauth2 = FRoot + "/dovecot-oauth2.conf.ext";
    WriteFile(oauth2, "introspection_mode = post\nintrospection_url = " + FIntrospectionUrl +
                          "\nusername_attribute = username\nactive_attribute = active\nactive_value = true\n"
                          "timeout_msecs = 5000\n");
    ::chmod(oauth2.c_str(), 0644);
    return "auth_mechanisms = plain login xoauth2 oauthbearer\nauth_failure_delay = 0\nauth_cache_size = 0\n"
           "passdb {\n  driver = oauth2\n  mechanisms = xoauth2 oauthbearer\n  args = " +
           oauth2 +
           "\n}\n"
           // Without the auth-penalty socket the auth process slows no refused log-in down.
           "service anvil {\n  unix_listener anvil-auth-penalty {\n    mode = 0\n  }\n}\n";
}

std::string TDovecotServer::TlsListener() const {
    if (FTlsCert.empty())
        return {};
    return "  inet_listener pop3s {\n    address = 127.0.0.1\n    port = " + std::to_string(FTlsPort) +
           "\n    ssl = yes\n  }\n";
}

void TDovecotServer::Stop() {
    if (!FProcess)
        return;
    if (FProcess->state() != QProcess::NotRunning) {
        const auto pid = static_cast<pid_t>(FProcess->processId());
        if (pid > 0)
            ::kill(pid, SIGTERM);
        if (!FProcess->waitForFinished(10000)) {
            FProcess->kill();
            FProcess->waitForFinished(5000);
        }
    }
    FProcess.reset();
}

} // namespace quillet::test
