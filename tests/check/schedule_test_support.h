// What the schedule and health tests share: a check host that keeps the mail list and
// remembers its status and System pane lines, accounts on 127.0.0.1, a scripted server for one
// good check of a mailbox with one message, and a port on which nothing listens.
#pragma once

#include "check/check_host.h"
#include "mail/pop3_client.h"
#include "model/account.h"
#include "model/mail.h"
#include "model/mails.h"
#include "tests/support/scripted_pop3_server.h"

#include <QHostAddress>
#include <QTcpServer>
#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace quillet::test {

class TListHost : public TCheckHost {
public:
    explicit TListHost(TMails& Mails) : FMails(Mails) {}
    std::vector<std::string> Status, System;
    std::function<void(const std::string&)> OnSystemLine;

    void SetStatusText(const std::string& Text) override { Status.push_back(Text); }
    void AppendSystemLine(const std::string& Line) override {
        System.push_back(Line);
        if (OnSystemLine)
            OnSystemLine(Line);
    }
    void AddMail(std::unique_ptr<TMail> Mail) override { FMails.Add(std::move(Mail)); }
    void UpdateMail(int) override {}
    void RemoveMail(int MailIndex) override { FMails.Delete(MailIndex); }
    void RefreshStatus() override {}
    void UpdateAccountButton(int) override {}
    void SetCommandsEnabled(bool) override {}
    void SelectFirstRowIfNone() override {}
    void PlaySound(TCheckSound) override {}
    void RestoreAndRaise() override {}
    void AnnounceNewMail(const std::vector<std::string>&) override {}

    bool Said(const std::string& Line) const { return std::ranges::find(System, Line) != System.end(); }
    bool Connected(const std::string& Label) const { return Said(" >" + Label + ": connecting"); }

private:
    TMails& FMails;
};

inline TAccount& AddLocalAccount(TAccounts& Accounts, const std::string& Label, std::uint16_t Port) {
    auto account = std::make_unique<TAccount>();
    account->Label = Label;
    account->Host = "127.0.0.1";
    account->SetPort(Port);
    account->UserName = "u";
    account->Password = "p";
    account->Pop()->SetTimeOut(10);
    TAccount& added = *account;
    Accounts.Add(std::move(account));
    return added;
}

// A plain server (no CAPA) with one message of Size bytes, for one whole check that ends with
// QUIT. The header is fetched: another size than the last check's is a changed mailbox.
inline void ScriptGoodCheck(TScriptedPop3Server& Server, int Size = 40) {
    Server.Send("+OK\r\n").Expect("USER u").Send("+OK\r\n").Expect("PASS p").Send("+OK\r\n");
    Server.Expect("LIST").Send("+OK\r\n1 " + std::to_string(Size) + "\r\n.\r\n").Expect("TOP 1 50");
    Server.Send("+OK\r\nSubject: Hello\r\n\r\nBody\r\n.\r\n").Expect("QUIT").Send("+OK\r\n");
}

// A local port that refuses connections.
inline std::uint16_t ClosedPort() {
    QTcpServer probe;
    if (!probe.listen(QHostAddress::LocalHost, 0))
        return 1;
    return probe.serverPort();
}

} // namespace quillet::test
