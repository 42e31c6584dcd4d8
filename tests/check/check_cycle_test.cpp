// The check cycle against a real Dovecot (repeated checks of real mailboxes) and the scripted
// server (exact wire cases): new, known, deleted and marked mail, aborts, failures, and what the
// window is asked to show.
#include "check/check_cycle.h"
#include "check/status_texts.h"
#include "mail/mail_message.h"
#include "mail/pop3_client.h"
#include "model/account.h"
#include "model/mails.h"
#include "tests/support/dovecot_server.h"
#include "tests/support/scripted_pop3_server.h"

#include <QHostAddress>
#include <QTcpServer>

#include <QTimer>
#include <algorithm>
#include <gtest/gtest.h>

using namespace quillet;
using quillet::test::TDovecotServer;
using quillet::test::TScriptedPop3Server;
using Lines = std::vector<std::string>;

namespace {

// Does what the window would do with the list, and remembers everything else it was asked.
class TRecordingHost : public TCheckHost {
public:
    explicit TRecordingHost(TMails& Mails) : FMails(Mails) {}
    Lines Status, System;
    std::vector<TCheckSound> Sounds;
    std::vector<bool> CommandsEnabled;
    int Restores = 0;
    std::function<void()> OnSystemLine;

    void SetStatusText(const std::string& Text) override { Status.push_back(Text); }
    void AppendSystemLine(const std::string& Line) override {
        System.push_back(Line);
        if (OnSystemLine)
            OnSystemLine();
    }
    void AddMail(std::unique_ptr<TMail> Mail) override { FMails.Add(std::move(Mail)); }
    void UpdateMail(int) override {}
    void RemoveMail(int MailIndex) override { FMails.Delete(MailIndex); }
    void RefreshStatus() override {}
    void UpdateAccountButton(int) override {}
    void SetCommandsEnabled(bool Enabled) override { CommandsEnabled.push_back(Enabled); }
    void SelectFirstRowIfNone() override {}
    void PlaySound(TCheckSound Sound) override { Sounds.push_back(Sound); }
    void RestoreAndRaise() override { ++Restores; }
    std::vector<std::vector<std::string>> Announced;
    void AnnounceNewMail(const std::vector<std::string>& UniqueIDs) override {
        Announced.push_back(UniqueIDs);
    }

    bool Said(const std::string& Line) const { return std::ranges::find(System, Line) != System.end(); }
    void Clear() {
        Status.clear();
        System.clear();
        Sounds.clear();
        Restores = 0;
    }

private:
    TMails& FMails;
};

std::string Message(int I, const std::string& To = "box@example.com") {
    return "Received: from relay" + std::to_string(I) + "\nDate: Mon, 7 Dec 2026 10:0" +
           std::to_string(I % 10) + ":00 +0000\nFrom: Sender " + std::to_string(I) + " <s" +
           std::to_string(I) + "@example.com>\nTo: " + To + "\nSubject: Message " + std::to_string(I) +
           "\nMessage-ID: <" + std::to_string(I) + "@example.org>\n\nBody of " + std::to_string(I) + "\n";
}

// An automated notice: two of them whose numbers have the same digits in another order have
// the same byte sums in every header line, and the same size.
std::string Invoice(const std::string& Number) {
    return "Received: from billing.example.com\nReturn-Path: <billing@example.com>\nFrom: Billing "
           "<billing@example.com>\nTo: box@example.com\nSubject: Invoice " +
           Number + "\nMessage-ID: <invoice-" + Number + "@example.com>\n\nAmount due: 10.00\n";
}

// The subjects of every message in a Dovecot mailbox, as another client sees them.
std::vector<std::string> SubjectsOnServer(std::uint16_t Port, const std::string& User) {
    TMailMessage message;
    TPop3Client pop;
    pop.MailMessage = &message;
    pop.Host = "127.0.0.1";
    pop.Port = Port;
    pop.UserName = User;
    pop.Password = "pw-" + User;
    std::vector<std::string> subjects;
    if (!pop.Connect() || !pop.Login())
        return {"cannot log in"};
    for (std::int32_t n = 1; n <= pop.MessageCount(); ++n)
        if (pop.FetchTop(n, 0))
            subjects.push_back(message.SubjectText());
    pop.Quit();
    std::ranges::sort(subjects);
    return subjects;
}

// A plain RFC 1939 server that greets, accepts USER u and PASS p and answers LIST with Listing.
TScriptedPop3Server& ListingServer(TScriptedPop3Server& Server, const std::string& Listing) {
    Server.Send("+OK\r\n").Expect("USER u").Send("+OK\r\n").Expect("PASS p").Send("+OK\r\n");
    return Server.Expect("LIST").Send(Listing);
}

// A TOP reply whose identity (byte sums from the third header line on) depends only on the
// digits of Subject, not on their order.
std::string Top(const std::string& Subject) {
    return "+OK\r\nReceived: x\r\nReturn-Path: y\r\nSubject: " + Subject + "\r\n\r\nBody\r\n.\r\n";
}

class CheckCycle : public ::testing::Test {
protected:
    TAccounts accounts;
    TMails mails;
    TRecordingHost host{mails};
    TCheckCycle cycle{accounts, mails, host};

    // The scripted server speaks plain RFC 1939: one command, one reply, no CAPA.
    void SetUp() override { cycle.UseFastChecks = false; }

    TAccount& AddAccount(const std::string& Label, std::uint16_t Port, const std::string& User = "u",
                         const std::string& Password = "p") {
        auto account = std::make_unique<TAccount>();
        account->Label = Label;
        account->Host = "127.0.0.1";
        account->SetPort(Port);
        account->UserName = User;
        account->Password = Password;
        account->Pop()->SetTimeOut(10);
        TAccount& added = *account;
        accounts.Add(std::move(account));
        return added;
    }
    int NewCount() const {
        int n = 0;
        for (int j = 0; j < mails.Count(); ++j)
            n += mails[j].State == TMailState::New;
        return n;
    }
    int IndexOfSubject(const std::string& Subject) const {
        for (int j = 0; j < mails.Count(); ++j)
            if (mails[j].Subject == Subject)
                return j;
        return -1;
    }
    std::size_t LineAt(const std::string& Line) const {
        return static_cast<std::size_t>(std::ranges::find(host.System, Line) - host.System.begin());
    }
    static void ExpectTranscript(const TScriptedPop3Server& Server, const std::string& Name) {
        for (const auto& e : Server.Errors())
            ADD_FAILURE() << Name << ": " << e;
    }
    int TopsSent() const {
        return static_cast<int>(std::ranges::count_if(
            host.System, [](const std::string& l) { return l.find("retrieved") != std::string::npos; }));
    }
};

class CheckCycleDovecot : public CheckCycle {
protected:
    static inline std::unique_ptr<TDovecotServer> Server;
    static inline std::string StartError;

    static void SetUpTestSuite() {
        if (!TDovecotServer::Installed())
            return;
        Server = std::make_unique<TDovecotServer>();
        for (const char* user : {"ten", "del", "empty", "other", "inv", "mix", "big"})
            Server->AddUser(user, std::string("pw-") + user);
        for (const char* number : {"1234", "4321"})
            Server->Deliver("inv", Invoice(number));
        for (int i = 1; i <= 5; ++i)
            Server->Deliver("mix", Message(300 + i));
        for (int i = 1; i <= 1000; ++i)
            Server->Deliver("big", Message(1000 + i));
        for (int i = 1; i <= 9; ++i)
            Server->Deliver("ten", Message(i));
        for (int i = 1; i <= 4; ++i)
            Server->Deliver("del", Message(100 + i));
        Server->Deliver("other", Message(200));
        if (!Server->Start(StartError) && StartError.empty())
            StartError = "dovecot did not start";
    }
    static void TearDownTestSuite() { Server.reset(); }

    void SetUp() override {
        cycle.UseFastChecks = true; // Dovecot offers CAPA, PIPELINING and UIDL
        if (!TDovecotServer::Installed()) {
            if (TDovecotServer::Required())
                FAIL() << "Dovecot (dovecot-pop3d) is required in CI but not installed";
            GTEST_SKIP() << "Dovecot is not installed";
        }
        ASSERT_TRUE(StartError.empty()) << StartError;
    }
    // Another client deletes message N of User's mailbox.
    static bool DeleteElsewhere(const std::string& User, std::int32_t N) {
        TPop3Client other;
        other.Host = "127.0.0.1";
        other.Port = Server->Port();
        other.UserName = User;
        other.Password = "pw-" + User;
        return other.Connect() && other.Login() && other.DeleteMessage(N) && other.Quit();
    }
    TAccount& Box(const std::string& Label, const std::string& User) {
        return AddAccount(Label, Server->Port(), User, "pw-" + User);
    }
};

TEST_F(CheckCycleDovecot, UnchangedTwiceThenOneNewThenSingleAccountCheck) {
    Box("Ten", "ten");
    Box("Off", "other").Active = false;
    cycle.CheckAll();
    EXPECT_EQ(mails.Count(), 9);
    EXPECT_EQ(NewCount(), 9);
    EXPECT_EQ(host.Sounds, std::vector{TCheckSound::NewMail});
    EXPECT_EQ(host.Restores, 1);
    ASSERT_EQ(host.Announced.size(), 1u);
    EXPECT_EQ(host.Announced[0].size(), 9u);
    EXPECT_TRUE(host.Said(" >Ten: message 9/9 retrieved"));
    EXPECT_NE(cycle.LastFullCheck(), 0);
    EXPECT_EQ(host.CommandsEnabled, (std::vector{false, true}));
    EXPECT_FALSE(host.Said(" >Off: connecting")) << "an inactive account is not contacted";

    host.Clear();
    cycle.CheckAll();
    EXPECT_TRUE(host.Said(" >Ten: No new mail"));
    EXPECT_EQ(TopsSent(), 0);
    EXPECT_EQ(NewCount(), 0) << "the * marks are cleared";
    EXPECT_EQ(host.Announced.size(), 1u) << "no new mail, no notification";
    EXPECT_EQ(host.Sounds, std::vector{TCheckSound::NoMail});

    Server->Deliver("ten", Message(10));
    host.Clear();
    cycle.CheckAll();
    EXPECT_EQ(TopsSent(), 10);
    EXPECT_EQ(mails.Count(), 10);
    ASSERT_EQ(NewCount(), 1);
    EXPECT_EQ(mails[9].Subject, "Message 10");
    EXPECT_EQ(mails[9].ServerIdx, 10);
    EXPECT_EQ(host.Restores, 1);

    host.Clear();
    cycle.CheckOne(0);
    EXPECT_EQ(TopsSent(), 10) << "a single-account check fetches again";
    EXPECT_EQ(NewCount(), 0);
    EXPECT_EQ(host.Sounds, std::vector{TCheckSound::NoMail});
}

TEST_F(CheckCycleDovecot, MarkedMailIsDeletedAndMailGoneFromTheServerLeavesTheList) {
    Box("Del", "del");
    cycle.CheckAll();
    ASSERT_EQ(mails.Count(), 4);
    // Someone else deletes message 1; the mailbox listing changes.
    ASSERT_TRUE(DeleteElsewhere("del", 1));
    cycle.CheckAll();
    ASSERT_EQ(mails.Count(), 3);
    EXPECT_EQ(mails[0].Subject, "Message 102");
    EXPECT_EQ(mails[0].ServerIdx, 1) << "numbers of this connection";

    // Mark "Message 103" (now message 2) on an unchanged mailbox: Check all fetches and deletes it.
    mails[1].MarkedForDelete = true;
    host.Clear();
    cycle.CheckAll();
    EXPECT_TRUE(host.Said("DELE 2"));
    EXPECT_EQ(mails.Count(), 2);
    EXPECT_EQ(Server->MessageFileCount("del"), 2);
}

TEST_F(CheckCycleDovecot, CollidingInvoicesAreTwoMailsAndOnlyTheMarkedOneIsDeleted) {
    Box("Inv", "inv");
    cycle.CheckAll();
    ASSERT_EQ(mails.Count(), 2);
    EXPECT_EQ(mails[0].UniqueID, mails[1].UniqueID);
    mails[IndexOfSubject("Invoice 4321")].MarkedForDelete = true;
    cycle.CheckAll();
    ASSERT_EQ(mails.Count(), 1);
    EXPECT_EQ(mails[0].Subject, "Invoice 1234");
    EXPECT_EQ(SubjectsOnServer(Server->Port(), "inv"), Lines{"Invoice 1234"});
}

// Between two checks two mails are marked, two arrive and someone else deletes an unmarked
// one: exactly the marked ones are deleted, whatever numbers the messages have now.
TEST_F(CheckCycleDovecot, ExactlyTheMarkedMailsAreDeletedWhenTheMailboxMovedOn) {
    Box("Mix", "mix");
    cycle.CheckAll();
    ASSERT_EQ(mails.Count(), 5);
    mails[IndexOfSubject("Message 302")].MarkedForDelete = true;
    mails[IndexOfSubject("Message 304")].MarkedForDelete = true;
    Server->Deliver("mix", Message(310));
    Server->Deliver("mix", Message(311));
    ASSERT_TRUE(DeleteElsewhere("mix", 1)); // "Message 301"
    cycle.CheckAll();
    const Lines left{"Message 303", "Message 305", "Message 310", "Message 311"};
    EXPECT_EQ(SubjectsOnServer(Server->Port(), "mix"), left);
    Lines listed;
    for (int j = 0; j < mails.Count(); ++j)
        listed.push_back(mails[j].Subject);
    std::ranges::sort(listed);
    EXPECT_EQ(listed, left);
}

// A connection cut in the middle of a 1000-message check: the next check lists all 1000.
TEST_F(CheckCycleDovecot, ACutCheckHidesNothingFromTheNext) {
    TAccount& box = Box("Big", "big");
    host.OnSystemLine = [&] {
        if (host.System.back() == " >Big: message 500/1000 retrieved")
            box.Pop()->Abort(); // the connection is gone, as when the network drops it
    };
    cycle.CheckAll();
    EXPECT_EQ(mails.Count(), 500);
    EXPECT_TRUE(host.Status.back().starts_with("Big: Failed on TOP")) << host.Status.back();
    host.OnSystemLine = nullptr;
    cycle.CheckAll();
    EXPECT_EQ(mails.Count(), 1000);
    EXPECT_EQ(box.LastFailure, "");
}

TEST_F(CheckCycleDovecot, FastAndPlainChecksGiveTheSameList) {
    Box("Ten", "ten");
    cycle.CheckAll();
    TMails plain;
    TRecordingHost plainHost(plain);
    TCheckCycle plainCycle(accounts, plain, plainHost);
    plainCycle.UseFastChecks = false;
    plainCycle.CheckOne(0);
    ASSERT_EQ(plain.Count(), mails.Count());
    for (int j = 0; j < mails.Count(); ++j) {
        EXPECT_EQ(plain[j].UniqueID, mails[j].UniqueID);
        EXPECT_EQ(plain[j].Subject, mails[j].Subject);
        EXPECT_EQ(plain[j].ServerIdx, mails[j].ServerIdx);
        EXPECT_EQ(plain[j].MailSize, mails[j].MailSize);
        EXPECT_EQ(plain[j].HeaderLines(), mails[j].HeaderLines());
        EXPECT_EQ(plain[j].BodyLines(), mails[j].BodyLines());
    }
}

TEST_F(CheckCycleDovecot, EmptyMailboxAndRefusedLogin) {
    TAccount& box = Box("Empty", "empty");
    auto known = std::make_unique<TMail>();
    known->Account = "Empty";
    known->UniqueID = "AABB";
    mails.Add(std::move(known));
    cycle.CheckAll();
    EXPECT_TRUE(host.Said(" >Empty: 0 messages on server"));
    EXPECT_EQ(mails.Count(), 0) << "the sweep removes the mail the server no longer has";

    box.Password = "wrong";
    host.Clear();
    cycle.CheckAll();
    EXPECT_TRUE(host.Said(" >Empty: Failed on login: the user name or password was refused")); // [AUTH]
    EXPECT_FALSE(host.Said("QUIT")) << "no QUIT on a closed session";
    EXPECT_EQ(host.Status.back(), "Empty: Failed on login: the user name or password was refused");
    EXPECT_EQ(box.LastFailure, "Failed on login: the user name or password was refused");
    EXPECT_NE(cycle.LastFullCheck(), 0);
}

TEST_F(CheckCycle, FailedConnectSaysSoAndGoesOn) {
    std::uint16_t port = 0;
    {
        QTcpServer probe;
        ASSERT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
        port = probe.serverPort();
    }
    AddAccount("Gone", port);
    AddAccount("Next", port);
    cycle.CheckAll();
    EXPECT_EQ(host.Status.back(), "Gone: Failed on connect; Next: Failed on connect")
        << "the status bar keeps why each account failed";
    EXPECT_TRUE(host.Said(" >Next: connecting")) << "the next account goes on";
    EXPECT_FALSE(host.Said("QUIT"));
    EXPECT_FALSE(host.Said("Failed on quit"));
    EXPECT_EQ(host.Sounds, std::vector{TCheckSound::NoMail});
}

TEST_F(CheckCycle, StlsNotOfferedFailsOnTlsWithoutCredentials) {
    TScriptedPop3Server server;
    server.Send("+OK\r\n").Expect("CAPA").Send("+OK\r\nTOP\r\n.\r\n");
    ASSERT_TRUE(server.Listen());
    AddAccount("Safe", server.Port()).Security = TSecurity::StartTls;
    cycle.CheckAll();
    EXPECT_TRUE(host.Said(" >Safe: Failed on TLS: the server does not offer STLS"));
    EXPECT_EQ(server.Received(), Lines{"CAPA"});
}

TEST_F(CheckCycle, KnownUniqueIdsAreMatchedWithoutTheirHeaders) {
    cycle.UseFastChecks = true;
    const std::string capa = "+OK\r\nUIDL\r\nTOP\r\n.\r\n";
    const auto top = [](int N) {
        return "+OK\r\nReceived: x\r\nReturn-Path: y\r\nSubject: " + std::to_string(N) + "\r\n\r\n.\r\n";
    };
    TScriptedPop3Server first, second;
    first.Send("+OK\r\n").Expect("CAPA").Send(capa).Expect("USER u").Send("+OK\r\n").Expect("PASS p").Send(
        "+OK\r\n");
    first.Expect("LIST")
        .Send("+OK\r\n1 10\r\n2 20\r\n.\r\n")
        .Expect("UIDL")
        .Send("+OK\r\n1 a\r\n2 b\r\n.\r\n");
    first.Expect("TOP 1 50").Send(top(1)).Expect("TOP 2 50").Send(top(2)).Expect("QUIT").Send("+OK\r\n");
    // The server has rewritten message 1's header since (as some servers do): its id is known,
    // so it is matched as it is, not announced as new.
    second.Send("+OK\r\n").Expect("CAPA").Send(capa).Expect("USER u").Send("+OK\r\n").Expect("PASS p").Send(
        "+OK\r\n");
    second.Expect("LIST")
        .Send("+OK\r\n1 12\r\n2 20\r\n3 30\r\n.\r\n")
        .Expect("UIDL")
        .Send("+OK\r\n1 a\r\n2 b\r\n3 c\r\n.\r\n");
    second.Expect("TOP 3 50").Send(top(3)).Expect("QUIT").Send("+OK\r\n");
    ASSERT_TRUE(first.Listen() && second.Listen());
    TAccount& account = AddAccount("A", first.Port());
    cycle.CheckAll();
    ASSERT_EQ(mails.Count(), 2);
    account.SetPort(second.Port());
    host.Clear();
    cycle.CheckAll();
    EXPECT_EQ(mails.Count(), 3);
    EXPECT_EQ(NewCount(), 1);
    EXPECT_TRUE(host.Said(" >A: message 1/3 retrieved"));
    EXPECT_TRUE(host.Said(" >A: message 3/3 retrieved"));
    for (const auto& e : first.Errors())
        ADD_FAILURE() << e;
    for (const auto& e : second.Errors())
        ADD_FAILURE() << e;
}

// Servers as they really answer: a forged header line behind a lone CR, UTF8, response codes
// and a log-in delay.
TEST_F(CheckCycle, RealServerQuirks) {
    cycle.UseFastChecks = true;
    // A lone CR inside the first header line hides nothing: the real From and Subject count.
    const std::string forged = "+OK\r\nReceived: from relay.example.net\rSubject: spoofed\rFrom: "
                               "<spoof@evil.example>\r\nX-A: 1\r\nFrom: Ann <ann@example.org>\r\n"
                               "Subject: real\r\n\r\n.\r\n";
    TScriptedPop3Server first;
    first.Send("+OK\r\n")
        .Expect("CAPA")
        .Send("+OK\r\nUTF8\r\nLOGIN-DELAY 900\r\n.\r\n")
        .Expect("UTF8")
        .Send("+OK\r\n");
    first.Expect("USER u").Send("+OK\r\n").Expect("PASS p").Send("+OK\r\n").Expect("LIST").Send(
        "+OK\r\n1 10\r\n.\r\n");
    first.Expect("TOP 1 50").Send(forged).Expect("QUIT").Send("+OK\r\n");
    ASSERT_TRUE(first.Listen());
    TAccount& account = AddAccount("Q", first.Port());
    cycle.CheckAll();
    ASSERT_EQ(mails.Count(), 1);
    EXPECT_EQ(mails[0].FromAddr, "ann@example.org");
    EXPECT_EQ(mails[0].Subject, "real");
    EXPECT_EQ(mails[0].HeaderLines().front(),
              "Received: from relay.example.net\rSubject: spoofed\rFrom: <spoof@evil.example>");
    for (const auto& e : first.Errors())
        ADD_FAILURE() << e;

    // The server allows a log-in every 900 seconds: a timed check leaves it alone, a manual one
    // runs; refused with [LOGIN-DELAY], it says when to try again.
    host.Clear();
    cycle.CheckAll(true);
    EXPECT_TRUE(std::ranges::any_of(
        host.System, [](const std::string& l) { return l.starts_with(" >Q: Not checked yet"); }));
    const std::pair<std::string, std::string> refusals[] = {
        {"-ERR [LOGIN-DELAY] wait\r\n",
         " >Q: Mailbox busy: the server allows log-ins only now and then; it may be tried again after "},
        {"-ERR [IN-USE] locked\r\n",
         " >Q: Mailbox busy (in use by another session); it will be tried again at the next check"},
        {"-ERR [SYS/TEMP] later\r\n", " >Q: Mailbox busy (a temporary problem on the server)"},
        {"-ERR [SYS/PERM] never\r\n", " >Q: Failed on login: the server refuses this mailbox"},
        {"-ERR bad password\r\n", " >Q: Failed on login"},
    };
    for (const auto& [reply, text] : refusals) {
        TScriptedPop3Server server;
        server.Send("+OK\r\n")
            .Expect("CAPA")
            .Send("-ERR\r\n")
            .Expect("USER u")
            .Send("+OK\r\n")
            .Expect("PASS p")
            .Send(reply);
        ASSERT_TRUE(server.Listen());
        account.SetPort(server.Port());
        host.Clear();
        cycle.CheckAll();
        EXPECT_TRUE(std::ranges::any_of(host.System, [&](const std::string& l) {
            return l.starts_with(text);
        })) << reply;
    }
}

TEST(StatusTexts, LoginFailures) {
    EXPECT_EQ(LoginFailureText(TResponseCode::None, ""), "Failed on login");
    EXPECT_EQ(LoginFailureText(TResponseCode::Other, ""), "Failed on login");
    EXPECT_EQ(LoginFailureText(TResponseCode::LoginDelay, ""),
              "Mailbox busy: the server allows log-ins only now and then; it will be tried again at the next "
              "check");
    const std::pair<const char*, TResponseCode> codes[] = {
        {"-ERR [IN-USE] x", TResponseCode::InUse},   {"-ERR [login-delay] x", TResponseCode::LoginDelay},
        {"-ERR [SYS/TEMP]", TResponseCode::SysTemp}, {"-ERR [SYS/PERM] x", TResponseCode::SysPerm},
        {"-ERR [AUTH] x", TResponseCode::Auth},      {"-ERR [XYZ] x", TResponseCode::Other},
        {"-ERR [IN-USE x", TResponseCode::None},     {"+OK [IN-USE]", TResponseCode::None}};
    for (const auto& [reply, code] : codes)
        EXPECT_EQ(ResponseCodeOf(reply), code) << reply;
}

TEST_F(CheckCycle, AbortDuringTheHeaderLoopStopsAndForgetsTheListing) {
    TScriptedPop3Server server;
    server.Send("+OK\r\n")
        .Expect("USER u")
        .Send("+OK\r\n")
        .Expect("PASS p")
        .Send("+OK\r\n")
        .Expect("LIST")
        .Send("+OK\r\n1 10\r\n2 10\r\n3 10\r\n.\r\n")
        .Expect("TOP 1 50")
        .Send("+OK\r\nA: 1\r\nB: 2\r\nSubject: one\r\n\r\n.\r\n")
        .Expect("TOP 2 50")
        .Silence(5000);
    ASSERT_TRUE(server.Listen());
    TAccount& account = AddAccount("A", server.Port());
    auto marked = std::make_unique<TMail>();
    marked->Account = "A";
    marked->UniqueID = "old";
    marked->MarkedForDelete = true;
    mails.Add(std::move(marked));
    const TDateTime before = cycle.LastFullCheck();
    host.OnSystemLine = [&] {
        if (host.System.back() == " >A: message 1/3 retrieved")
            QTimer::singleShot(50, [&] { cycle.Abort(); });
    };
    cycle.CheckAll();
    EXPECT_TRUE(host.Said("Aborted!"));
    EXPECT_EQ(cycle.LastFullCheck(), before);
    EXPECT_TRUE(account.LastListing.empty()) << "the next check fetches everything";
    EXPECT_FALSE(host.Said("DELE 1"));
    EXPECT_EQ(mails.Count(), 2) << "no sweep after an abort";
    EXPECT_FALSE(account.Checking);
    EXPECT_EQ(host.CommandsEnabled.back(), true);
}

TEST_F(CheckCycle, MarkedMailNotMetIsNotDeletedAndListingErrorsRestoreTheAccount) {
    TScriptedPop3Server server;
    server.Send("+OK\r\n")
        .Expect("USER u")
        .Send("+OK\r\n")
        .Expect("PASS p")
        .Send("+OK\r\n")
        .Expect("LIST")
        .Send("+OK\r\n1 10\r\n.\r\n")
        .Expect("TOP 1 50")
        .Send("-ERR gone\r\n")
        .Expect("QUIT")
        .Send("+OK\r\n");
    ASSERT_TRUE(server.Listen());
    TAccount& account = AddAccount("A", server.Port());
    auto marked = std::make_unique<TMail>();
    marked->Account = "A";
    marked->UniqueID = "old";
    marked->SetServerIdx(1);
    marked->MarkedForDelete = true;
    mails.Add(std::move(marked));
    cycle.CheckAll();
    EXPECT_FALSE(host.Said("DELE 1")) << "its number is from an earlier connection";
    ASSERT_EQ(mails.Count(), 1);
    EXPECT_TRUE(mails[0].MarkedForDelete);
    EXPECT_TRUE(
        std::ranges::any_of(host.System, [](const std::string& l) { return l.starts_with("Not deleted"); }));
    for (const auto& e : server.Errors())
        ADD_FAILURE() << e;

    // Listings that cannot be used end that account's check with the reason and a QUIT, keep
    // its mails, and let the next check run; no TOP is sent for numbers the listing made up.
    const std::pair<std::string, std::string> listings[] = {
        {"", "A: Failed on LIST: Connection closed by the server"}, // lost after PASS
        {"+OK\r\nfoo 1\r\n2 10\r\n.\r\n",
         "A: Failed on LIST: the listing cannot be read: 'foo' is not a valid integer value"},
        {"+OK\r\n1 10\r\n10000000 5\r\n.\r\n",
         "A: Failed on LIST: the listing names message 10000000 where 2 was due"},
        {"-ERR mailbox locked\r\n", "A: Failed on LIST: -ERR mailbox locked"},
    };
    for (const auto& [listing, status] : listings) {
        TScriptedPop3Server bad;
        bad.Send("+OK\r\n").Expect("USER u").Send("+OK\r\n").Expect("PASS p").Send("+OK\r\n").Expect("LIST");
        if (listing.empty())
            bad.Close();
        else
            bad.Send(listing).Expect("QUIT").Send("+OK\r\n");
        ASSERT_TRUE(bad.Listen());
        account.SetPort(bad.Port());
        account.LastLoginMs = 0;
        host.Clear();
        EXPECT_NO_THROW(cycle.CheckAll());
        EXPECT_TRUE(host.Status.back().starts_with(status)) << listing << " gave " << host.Status.back();
        EXPECT_NE(account.LastLoginMs, 0) << "the log-in counts";
        EXPECT_EQ(mails.Count(), 1) << "the mails stay";
        EXPECT_FALSE(account.Checking);
        EXPECT_FALSE(cycle.Running());
        EXPECT_EQ(host.CommandsEnabled.back(), true);
        for (const auto& e : bad.Errors())
            ADD_FAILURE() << listing << ": " << e;
    }
}

// Two invoices whose numbers have the same digits in another order share the old identity: they
// are two entries, and the mark deletes the marked one only, once the server confirmed QUIT.
TEST_F(CheckCycle, MarkedMailIsDeletedOnlyWhenItIsThatMessageAndTheServerConfirms) {
    const std::string listing = "+OK\r\n1 10\r\n2 10\r\n.\r\n";
    TScriptedPop3Server first;
    ListingServer(first, listing).Expect("TOP 1 50").Send(Top("Invoice 123"));
    first.Expect("TOP 2 50").Send(Top("Invoice 321")).Expect("QUIT").Send("+OK\r\n");
    ASSERT_TRUE(first.Listen());
    TAccount& account = AddAccount("A", first.Port());
    cycle.CheckAll();
    ASSERT_EQ(mails.Count(), 2) << "different messages are never merged";
    EXPECT_EQ(mails[0].UniqueID, mails[1].UniqueID) << "the shown identity is the old one";
    mails[IndexOfSubject("Invoice 321")].MarkedForDelete = true;

    // The server's answer decides whether the row goes: refused, session lost, then accepted.
    struct TRow {
        std::string Name, DeleReply;
        bool QuitAnswered;
        std::string Status;
        bool Gone;
    };
    const TRow rows[] = {
        {"DELE refused", "-ERR no\r\n", true, "A: done; 1 marked mail was not deleted (see the System pane)",
         false},
        {"QUIT never answered", "+OK\r\n", false,
         "A: " + DeletionNotDoneText(1) +
             " (Failed on quit: Connection closed by the server while waiting for the reply to QUIT)",
         false},
        {"deleted", "+OK\r\n", true, "A: done", true},
    };
    for (const TRow& row : rows) {
        TScriptedPop3Server server;
        ListingServer(server, listing).Expect("TOP 1 50").Send(Top("Invoice 123"));
        server.Expect("TOP 2 50")
            .Send(Top("Invoice 321"))
            .Expect("DELE 2")
            .Send(row.DeleReply)
            .Expect("QUIT");
        if (row.QuitAnswered)
            server.Send("+OK\r\n");
        else
            server.Close();
        ASSERT_TRUE(server.Listen());
        account.SetPort(server.Port());
        host.Clear();
        cycle.CheckAll();
        EXPECT_EQ(host.Status.back(), row.Status) << row.Name;
        EXPECT_NE(IndexOfSubject("Invoice 123"), -1) << row.Name;
        const int marked = IndexOfSubject("Invoice 321");
        EXPECT_EQ(marked == -1, row.Gone) << row.Name;
        if (marked >= 0) {
            EXPECT_TRUE(mails[marked].MarkedForDelete) << row.Name;
        }
        ExpectTranscript(server, row.Name);
    }
}

// Un-marking mail 2 while the reply to DELE 1 is awaited: DELE 2 is never written.
TEST_F(CheckCycle, AMarkTakenOffDuringTheDeletionsIsRespected) {
    TScriptedPop3Server server;
    ListingServer(server, "+OK\r\n1 10\r\n2 10\r\n.\r\n").Expect("TOP 1 50").Send(Top("one"));
    server.Expect("TOP 2 50").Send(Top("two")).Expect("DELE 1").Silence(400).Send("+OK\r\n");
    server.Expect("QUIT").Send("+OK\r\n");
    ASSERT_TRUE(server.Listen());
    TScriptedPop3Server look;
    ListingServer(look, "+OK\r\n1 10\r\n2 10\r\n.\r\n").Expect("TOP 1 50").Send(Top("one"));
    look.Expect("TOP 2 50").Send(Top("two")).Expect("QUIT").Send("+OK\r\n");
    ASSERT_TRUE(look.Listen());
    AddAccount("A", look.Port());
    cycle.CheckAll();
    ASSERT_EQ(mails.Count(), 2);
    mails[0].MarkedForDelete = mails[1].MarkedForDelete = true;
    accounts[0].SetPort(server.Port());
    host.OnSystemLine = [&] {
        if (host.System.back() == " >A: message 2/2 retrieved")
            QTimer::singleShot(150, [&] { mails[IndexOfSubject("two")].MarkedForDelete = false; });
    };
    cycle.CheckAll();
    EXPECT_EQ(mails.Count(), 1);
    EXPECT_EQ(mails[0].Subject, "two");
    ExpectTranscript(server, "unmarked during DELE 1");
}

// A pass that is cut keeps every mail and does not store the listing; a complete pass takes out
// what the server no longer has, marked or not, without sending DELE for it.
TEST_F(CheckCycle, OnlyACompletePassSaysWhatTheMailboxHolds) {
    const std::string three = "+OK\r\n1 10\r\n2 10\r\n3 10\r\n.\r\n";
    TScriptedPop3Server cut, full, gone, cutAgain;
    ListingServer(cut, three).Expect("TOP 1 50").Send(Top("1")).Expect("TOP 2 50").Close();
    ListingServer(full, three).Expect("TOP 1 50").Send(Top("1")).Expect("TOP 2 50").Send(Top("2"));
    full.Expect("TOP 3 50").Send(Top("3")).Expect("QUIT").Send("+OK\r\n");
    ListingServer(gone, "+OK\r\n1 10\r\n2 10\r\n.\r\n").Expect("TOP 1 50").Send(Top("1"));
    gone.Expect("TOP 2 50").Send(Top("2")).Expect("QUIT").Send("+OK\r\n");
    ListingServer(cutAgain, "+OK\r\n1 10\r\n2 10\r\n.\r\n").Expect("TOP 1 50").Close();
    for (auto* server : {&cut, &full, &gone, &cutAgain})
        ASSERT_TRUE(server->Listen());
    TAccount& account = AddAccount("A", cut.Port());

    cycle.CheckAll();
    EXPECT_EQ(mails.Count(), 1);
    EXPECT_TRUE(host.Status.back().starts_with("A: Failed on TOP: Connection closed by the server"))
        << host.Status.back();
    EXPECT_EQ(account.LastFailure.substr(0, 14), "Failed on TOP:");

    account.SetPort(full.Port());
    cycle.CheckAll();
    EXPECT_EQ(mails.Count(), 3) << "the same listing after a cut pass is fetched again";
    EXPECT_EQ(account.LastFailure, "");

    mails[IndexOfSubject("3")].MarkedForDelete = true; // and someone else deletes it
    account.SetPort(gone.Port());
    cycle.CheckAll();
    EXPECT_EQ(mails.Count(), 2);
    EXPECT_EQ(IndexOfSubject("3"), -1);

    account.SetPort(cutAgain.Port());
    cycle.CheckOne(0);
    EXPECT_EQ(mails.Count(), 2) << "a cut re-check removes nothing";
    EXPECT_EQ(NewCount(), 0);
    for (auto* server : {&cut, &full, &gone, &cutAgain})
        ExpectTranscript(*server, "pass");
}

// Checking account B while A waits for a TOP: B's check runs after A's, and the same mail in
// both mailboxes is listed under both.
TEST_F(CheckCycle, ChecksNeverNest) {
    TScriptedPop3Server a, b;
    ListingServer(a, "+OK\r\n1 10\r\n.\r\n").Expect("TOP 1 50").Silence(300).Send(Top("same"));
    a.Expect("QUIT").Send("+OK\r\n");
    ListingServer(b, "+OK\r\n1 10\r\n.\r\n")
        .Expect("TOP 1 50")
        .Send(Top("same"))
        .Expect("QUIT")
        .Send("+OK\r\n");
    ASSERT_TRUE(a.Listen() && b.Listen());
    AddAccount("A", a.Port());
    AddAccount("B", b.Port()).Active = false; // only its own check reaches it
    host.OnSystemLine = [&] {
        if (host.System.back() == " >A: 1 messages on server")
            QTimer::singleShot(100, [&] { cycle.CheckOne(1); });
    };
    cycle.CheckAll();
    EXPECT_LT(LineAt("QUIT"), LineAt(" >B: connecting")) << "B waits for A";
    EXPECT_LT(LineAt(" >B: connecting"), host.System.size());
    EXPECT_EQ(mails.Count(), 2);
    ExpectTranscript(a, "A");
    ExpectTranscript(b, "B");
}

// With UIDL, a message replaced by another of the same size changes the mailbox.
TEST_F(CheckCycle, ChangedUniqueIdsAreAChangedMailbox) {
    cycle.UseFastChecks = true;
    TScriptedPop3Server first, second;
    for (auto* server : {&first, &second}) {
        server->Send("+OK\r\n").Expect("CAPA").Send("+OK\r\nUIDL\r\n.\r\n").Expect("USER u").Send("+OK\r\n");
        server->Expect("PASS p").Send("+OK\r\n").Expect("LIST").Send("+OK\r\n1 10\r\n.\r\n").Expect("UIDL");
    }
    first.Send("+OK\r\n1 a\r\n.\r\n").Expect("TOP 1 50").Send(Top("old")).Expect("QUIT").Send("+OK\r\n");
    second.Send("+OK\r\n1 b\r\n.\r\n").Expect("TOP 1 50").Send(Top("new")).Expect("QUIT").Send("+OK\r\n");
    ASSERT_TRUE(first.Listen() && second.Listen());
    TAccount& account = AddAccount("A", first.Port());
    cycle.CheckAll();
    account.SetPort(second.Port());
    cycle.CheckAll();
    ASSERT_EQ(mails.Count(), 1);
    EXPECT_EQ(mails[0].Subject, "new");
    ExpectTranscript(first, "first");
    ExpectTranscript(second, "second");
}

// An abort while STLS is under way says "Aborted!" and nothing else, and keeps what the last
// check learnt about the certificate.
TEST_F(CheckCycle, AbortDuringStlsChangesNothingElse) {
    TScriptedPop3Server server;
    server.Send("+OK\r\n")
        .Expect("CAPA")
        .Send("+OK\r\nSTLS\r\n.\r\n")
        .Expect("STLS")
        .Send("+OK\r\n")
        .Silence(3000);
    ASSERT_TRUE(server.Listen());
    TAccount& account = AddAccount("A", server.Port());
    account.Security = TSecurity::StartTls;
    account.RefusedCertFingerprint = "AA:BB";
    account.RefusedCertText = "the last one";
    host.OnSystemLine = [&] {
        if (host.System.back() == " >A: connecting")
            QTimer::singleShot(300, [&] { cycle.Abort(); });
    };
    cycle.CheckAll();
    EXPECT_EQ(host.Status.back(), "Aborted!");
    EXPECT_FALSE(
        std::ranges::any_of(host.System, [](const std::string& l) { return l.starts_with(" >A: Failed"); }));
    EXPECT_EQ(account.RefusedCertFingerprint, "AA:BB");
    EXPECT_EQ(account.RefusedCertText, "the last one");
}

} // namespace
