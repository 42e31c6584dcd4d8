#include "crypto/master_password.h"
#include "model/account.h"
#include "settings/accounts_file.h"
#include "settings/ini_file.h"
#include "tests/support/temp_settings.h"

#include <gtest/gtest.h>

using namespace quillet;

namespace {

// Saves accounts built from (label, user, host, password, port, active) rows.
struct AccountRow {
    std::string label, user, host, password;
    int port;
    bool active;
};

void AddAccount(TAccounts& list, const AccountRow& r) {
    auto a = std::make_unique<TAccount>();
    a->Label = r.label;
    a->UserName = r.user;
    a->Host = r.host;
    a->Password = r.password;
    a->SetPort(r.port);
    a->Active = r.active;
    list.Add(std::move(a));
}

void ExpectAccount(const TAccount& a, const AccountRow& r) {
    EXPECT_EQ(a.Label, r.label);
    EXPECT_EQ(a.UserName, r.user);
    EXPECT_EQ(a.Host, r.host);
    EXPECT_EQ(a.Password, r.password);
    EXPECT_EQ(a.Port(), r.port);
    EXPECT_EQ(a.Active, r.active);
}

} // namespace

// A settings file written by hand (or by another tool): odd letter case, comments, an extra
// section, and credentials in the scrambled form another implementation produced.
TEST(AccountsFile, HandMadeFileWithScrambledCredentialsLoads) {
    test::TTempAppDir dir;
    dir.WriteFile("Quillet.ini", "; written by hand\r\n"
                                 "[accounts]\r\n"
                                 "count=3\r\n"
                                 "UsePassword=0\r\n"
                                 "[Other]\r\n"
                                 "Keep=me\r\n"
                                 "[ACCOUNT00]\r\n"
                                 "Label=Home\r\n"
                                 "UserName=2083E3E3E3D1E3DBE3E1E3DF\r\n"
                                 "Host=35CD989A9984989A9D859995989299999986989A998799959D85998599959896\r\n"
                                 "Password=2DF3736C726F735F7270736F727276727773\r\n"
                                 "[Account01]\r\n"
                                 "label=Work\r\n"
                                 "username=79a7bfbfbfadbfb7bfbdbfbb\r\n"
                                 "HOST=D7A2C3C5C4AFC3C5C8B0C4C0C3BDC4C4C4B1C3C5C4B2C4C0C8B0C4B0C4C0C3C1\r\n"
                                 "Password=4AE2847D8380847083818480838387838884\r\n"
                                 "Port=0\r\n"
                                 "Active=0\r\n"
                                 "[Account02]\r\n"
                                 "Label=Old\r\n"
                                 "UserName=8DC99D9D\r\n"
                                 "Port=99999\r\n");
    TIniFile ini(dir.IniPath());
    const TAccountsHeader header = ReadAccountsHeader(ini);
    EXPECT_EQ(header.Count, 3);
    EXPECT_FALSE(header.UsePassword);

    TAccounts list;
    ReadAccounts(ini, header.Count, "", list);
    ASSERT_EQ(list.Count(), 3);
    const AccountRow expected[] = {
        {"Home", "alice", "pop.example.net", "hunter2!", 110, true},
        {"Work", "alice", "pop.example.net", "hunter2!", 1, false},
        {"Old", "a", "", "", 65535, true},
    };
    for (int i = 0; i < 3; ++i) {
        ExpectAccount(list[i], expected[i]);
        EXPECT_EQ(list[i].Security, TSecurity::None) << "a file from before TLS checks as it did";
        EXPECT_TRUE(list[i].TrustedCert.empty());
    }

    // Saving keeps the other section and the comment.
    WriteAccounts(ini, "", list);
    const std::string text = dir.ReadFile("Quillet.ini");
    EXPECT_NE(text.find("; written by hand"), std::string::npos);
    EXPECT_NE(text.find("Keep=me"), std::string::npos);
}

TEST(AccountsFile, MasterPasswordFileFromAnotherImplementation) {
    test::TTempAppDir dir;
    dir.WriteFile("Quillet.ini",
                  "[Accounts]\nCount=1\nUsePassword=1\nTestPhrase=" + MakeTestPhrase("s3cret") +
                      "\n[Account00]\nLabel=Enc\nUserName=20CB679172\n"
                      "Host=8D142D4C19FDEA0A379289C7754936\nPassword=E9E4D4D2E05267B5\n");
    TIniFile ini(dir.IniPath());
    const TAccountsHeader header = ReadAccountsHeader(ini);
    EXPECT_TRUE(header.UsePassword);
    EXPECT_TRUE(PasswordOpensTestPhrase(header.TestPhrase, "s3cret"));
    EXPECT_FALSE(PasswordOpensTestPhrase(header.TestPhrase, "wrong"));
    TAccounts list;
    ReadAccounts(ini, header.Count, "s3cret", list);
    ASSERT_EQ(list.Count(), 1);
    EXPECT_EQ(list[0].UserName, "alice");
    EXPECT_EQ(list[0].Host, "pop.example.net");
    EXPECT_EQ(list[0].Password, "hunter2!");
}

TEST(AccountsFile, SaveAndLoadRoundTrip) {
    for (const std::string master : {"", "Correct Horse"}) {
        test::TTempAppDir dir;
        TIniFile ini(dir.IniPath());
        TAccounts list;
        for (int i = 0; i < 120; ++i)
            AddAccount(list, {"acc" + std::to_string(i), "user" + std::to_string(i),
                              "pop" + std::to_string(i) + ".example", "pw=;#[x]" + std::to_string(i), 100 + i,
                              i % 2 == 0});
        WriteAccounts(ini, master, list);

        const std::string text = dir.ReadFile("Quillet.ini");
        EXPECT_NE(text.find("[Account119]"), std::string::npos);
        EXPECT_NE(text.find("[Account10]"), std::string::npos);
        EXPECT_EQ(text.find("user7"), std::string::npos) << "credentials are never stored in clear";
        EXPECT_EQ(text.find("example"), std::string::npos);
        EXPECT_EQ(text.find("pw="), std::string::npos);
        EXPECT_NE(text.find("Label=acc7"), std::string::npos) << "labels are stored in clear";

        const TAccountsHeader header = ReadAccountsHeader(ini);
        EXPECT_EQ(header.Count, 120);
        EXPECT_EQ(header.UsePassword, !master.empty());
        TAccounts loaded;
        ReadAccounts(ini, header.Count, master, loaded);
        ASSERT_EQ(loaded.Count(), 120);
        for (int i : {0, 7, 119})
            ExpectAccount(loaded[i], {list[i].Label, list[i].UserName, list[i].Host, list[i].Password,
                                      list[i].Port(), list[i].Active});
    }
}

TEST(AccountsFile, SecurityAndTrustedCertificateRoundTrip) {
    test::TTempAppDir dir;
    TIniFile ini(dir.IniPath());
    TAccounts list;
    for (const auto security : {TSecurity::None, TSecurity::Tls, TSecurity::StartTls}) {
        AddAccount(list, {"A", "u", "h", "p", 995, true});
        list[list.Count() - 1].Security = security;
    }
    list[1].TrustedCert = "AB:CD";
    WriteAccounts(ini, "", list);
    dir.WriteFile("Quillet.ini", dir.ReadFile("Quillet.ini") + "[Account03]\r\nSecurity=7\r\n");
    TAccounts loaded;
    ReadAccounts(ini, 4, "", loaded);
    ASSERT_EQ(loaded.Count(), 4);
    EXPECT_EQ(loaded[0].Security, TSecurity::None);
    EXPECT_EQ(loaded[1].Security, TSecurity::Tls);
    EXPECT_EQ(loaded[1].TrustedCert, "AB:CD");
    EXPECT_EQ(loaded[2].Security, TSecurity::StartTls);
    EXPECT_EQ(loaded[3].Security, TSecurity::None) << "an unknown value is plain POP3";
}

TEST(AccountsFile, SignInKeysRoundTripAndPasswordAccountsStayAsTheyWere) {
    test::TTempAppDir dir;
    TIniFile ini(dir.IniPath());
    TAccounts list;
    AddAccount(list, {"pw", "u", "h", "p", 995, true});
    AddAccount(list, {"oauth", "u", "h", "", 995, true});
    TAccount& oauth = list[1];
    oauth.SignIn = TSignIn::OAuth2;
    oauth.OAuth = {"https://a/authorize", "https://a/token", "client-1", "pop offline_access",
                   "desktop-secret"};
    oauth.Tokens = {"access-secret", "refresh-secret", 1765300000123};
    WriteAccounts(ini, "master", list);
    const std::string text = dir.ReadFile("Quillet.ini");
    EXPECT_EQ(text.find("access-secret"), std::string::npos) << "tokens are kept protected";
    EXPECT_EQ(text.find("refresh-secret"), std::string::npos);
    EXPECT_EQ(text.substr(0, text.find("[Account01]")).find("Auth="), std::string::npos)
        << "a password account's section gains no key";

    TAccounts loaded;
    ReadAccounts(ini, 2, "master", loaded);
    EXPECT_EQ(loaded[0].SignIn, TSignIn::Password);
    EXPECT_EQ(loaded[1].SignIn, TSignIn::OAuth2);
    EXPECT_EQ(loaded[1].OAuth.TokenUrl, "https://a/token");
    EXPECT_EQ(loaded[1].OAuth.Scope, "pop offline_access");
    EXPECT_EQ(loaded[1].OAuth.ClientSecret, "desktop-secret");
    EXPECT_EQ(loaded[1].Tokens.AccessToken, "access-secret");
    EXPECT_EQ(loaded[1].Tokens.RefreshToken, "refresh-secret");
    EXPECT_EQ(loaded[1].Tokens.AccessExpiresMs, 1765300000123);

    // Switching back to the password leaves no token behind.
    loaded[1].SignIn = TSignIn::Password;
    WriteAccounts(ini, "master", loaded);
    TAccounts again;
    ReadAccounts(ini, 2, "master", again);
    EXPECT_EQ(again[1].SignIn, TSignIn::Password);
    EXPECT_TRUE(again[1].Tokens.RefreshToken.empty());
}

TEST(AccountsFile, FewerAccountsLeaveOldSectionsUnread) {
    test::TTempAppDir dir;
    TIniFile ini(dir.IniPath());
    TAccounts list;
    for (const char* name : {"a", "b", "c"})
        AddAccount(list, {name, "u", "h", "p", 110, true});
    WriteAccounts(ini, "", list);
    ASSERT_TRUE(list.Delete(2));
    WriteAccounts(ini, "", list);
    EXPECT_NE(dir.ReadFile("Quillet.ini").find("[Account02]"), std::string::npos);
    TAccounts loaded;
    ReadAccounts(ini, ReadAccountsHeader(ini).Count, "", loaded);
    EXPECT_EQ(loaded.Count(), 2);
}

TEST(AccountsFile, AbsurdCountIsBounded) {
    test::TTempAppDir dir;
    dir.WriteFile("Quillet.ini", "[Accounts]\nCount=2147483647\n[Account00]\nLabel=only\n");
    TIniFile ini(dir.IniPath());
    TAccounts list;
    ReadAccounts(ini, ReadAccountsHeader(ini).Count, "", list);
    ASSERT_EQ(list.Count(), MaxStoredAccounts);
    EXPECT_EQ(list[0].Label, "only");
    EXPECT_EQ(list[1].Label, "");
}

TEST(AccountsFile, DamagedCredentialStopsTheLoadAtThatValue) {
    test::TTempAppDir dir;
    dir.WriteFile("Quillet.ini", "[Accounts]\nCount=3\n[Account00]\nLabel=ok\nUserName=8DC99D9D\n"
                                 "[Account01]\nLabel=bad\nUserName=8DC99D9D\nHost=XYZ1\n");
    TIniFile ini(dir.IniPath());
    TAccounts list;
    try {
        ReadAccounts(ini, 3, "", list);
        FAIL() << "a non-hexadecimal value must raise the conversion error";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "'$XY' is not a valid integer value");
    }
    ASSERT_EQ(list.Count(), 1);
    EXPECT_EQ(list[0].Label, "ok");
}
