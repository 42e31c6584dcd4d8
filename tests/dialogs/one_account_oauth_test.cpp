// The account editor's OAuth 2.0 sign-in: the rules (required fields, no OAuth without TLS,
// usable endpoints, the providers' presets), the form in both modes, and a sign-in from the
// editor through a scripted browser against the test authorization server. With
// QUILLET_SCREENSHOT_DIR set it keeps a picture of the editor in each mode.
#include "dialogs/message_box.h"
#include "dialogs/oauth_presets.h"
#include "dialogs/one_account.h"
#include "tests/dialogs/dialog_test_steps.h"
#include "tests/support/oauth_test_server.h"

#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace quillet::test {
namespace {

TAccountFields OAuthFields() {
    TAccountFields fields;
    fields.Label = "Work";
    fields.Host = "outlook.office365.com";
    fields.UserName = "me@example.com";
    fields.SignIn = TSignIn::OAuth2;
    ApplyPreset(fields, 1);
    fields.OAuth.ClientId = "client-1";
    return fields;
}

TEST(OneAccountOAuth, RulesForAnAccountThatSignsInWithOAuth) {
    const struct {
        const char* Name;
        std::function<void(TAccountFields&)> Change;
        std::string Missing, ProblemField;
    } rows[] = {
        {"complete", [](TAccountFields&) {}, "", ""},
        {"no client id", [](TAccountFields& F) { F.OAuth.ClientId = " "; }, "Client ID", ""},
        {"no token URL", [](TAccountFields& F) { F.OAuth.TokenUrl.clear(); }, "Token URL", "Token URL"},
        {"no TLS", [](TAccountFields& F) { F.Security = TSecurity::None; }, "", "Security"},
        {"STARTTLS is fine", [](TAccountFields& F) { F.Security = TSecurity::StartTls; }, "", ""},
        {"token URL over http", [](TAccountFields& F) { F.OAuth.TokenUrl = "http://login.example.com/t"; },
         "", "Token URL"},
        {"password accounts need none of it",
         [](TAccountFields& F) {
             F.SignIn = TSignIn::Password;
             F.Security = TSecurity::None;
             F.OAuth = {};
         },
         "", ""},
    };
    for (const auto& row : rows) {
        TAccountFields fields = OAuthFields();
        row.Change(fields);
        EXPECT_EQ(MissingAccountField(fields), row.Missing) << row.Name;
        EXPECT_EQ(SignInProblem(fields).Field, row.ProblemField) << row.Name;
    }

    // Presets fill the endpoints and scope, and the provider's server unless the user has another.
    const struct {
        std::string Host;
        int Preset;
        std::string HostAfter;
        int PortAfter;
    } presets[] = {
        {"", 2, "pop.gmail.com", 995},
        {"outlook.office365.com", 2, "pop.gmail.com", 995},
        {"mail.example.org", 0, "mail.example.org", 110},
        {"", -1, "", 110},
    };
    for (const auto& row : presets) {
        TAccountFields fields;
        fields.Host = row.Host;
        fields.Port = 110;
        fields.Security = TSecurity::None;
        ApplyPreset(fields, row.Preset);
        EXPECT_EQ(fields.Host, row.HostAfter);
        EXPECT_EQ(fields.Port, row.PortAfter);
        EXPECT_EQ(PresetIndexOf(fields.OAuth), row.Preset);
    }
    const std::vector<TOAuthPreset> known = OAuthPresets();
    ASSERT_EQ(known.size(), 3u);
    EXPECT_EQ(known[0].TokenUrl, "https://login.microsoftonline.com/consumers/oauth2/v2.0/token");
    EXPECT_EQ(known[1].AuthorizeUrl, "https://login.microsoftonline.com/organizations/oauth2/v2.0/authorize");
    EXPECT_EQ(known[1].Scope, "https://outlook.office.com/POP.AccessAsUser.All offline_access");
    EXPECT_EQ(known[2].Scope, "https://mail.google.com/");
}

// Writes the editor's picture into QUILLET_SCREENSHOT_DIR, when it is set.
void Shoot(QWidget* Editor, const char* Name) {
    const QString folder = qEnvironmentVariable("QUILLET_SCREENSHOT_DIR");
    if (!folder.isEmpty()) {
        EXPECT_TRUE(Editor->grab().save(QDir(folder).filePath(QString::fromLatin1(Name))));
    }
}

TEST(OneAccountOAuth, FormSwitchesModesFillsPresetsAndRefusesOAuthWithoutTls) {
    TfrmOneAccount editor(nullptr);
    TAccountFields fields;
    fields.Label = "Mail";
    fields.UserName = "me@gmail.com";
    fields.Password = "secret";
    TMessageBoxScript script;
    OnNextModal([&](QWidget* E) {
        Shoot(E, "one-account-password.png");
        EXPECT_TRUE(Child<QLineEdit>(E, "fldPassword")->isVisible());
        EXPECT_FALSE(Child<QGroupBox>(E, "grpOAuth")->isVisible());
        Child<QComboBox>(E, "cmbSignIn")->setCurrentIndex(1);
        EXPECT_FALSE(Child<QLineEdit>(E, "fldPassword")->isVisible()) << "no password for OAuth";
        EXPECT_TRUE(Child<QGroupBox>(E, "grpOAuth")->isVisible());
        EXPECT_EQ(Child<QLabel>(E, "lblSignInState")->text(), "Not signed in: choose Sign in.");
        auto* provider = Child<QComboBox>(E, "cmbProvider");
        provider->setCurrentIndex(2);
        Q_EMIT provider->activated(2);
        EXPECT_EQ(Child<QLineEdit>(E, "fldHost")->text(), "pop.gmail.com");
        EXPECT_EQ(Child<QSpinBox>(E, "spnPort")->value(), 995);
        QTest::keyClicks(Child<QLineEdit>(E, "fldClientId"), "1234.apps.googleusercontent.com");
        QTest::keyClicks(Child<QLineEdit>(E, "fldClientSecret"), "GOCSPX-x");
        Shoot(E, "one-account-oauth.png");
        // Security None: refused with a message, the form stays on Security.
        Child<QComboBox>(E, "cmbSecurity")->setCurrentIndex(0);
        EXPECT_EQ(Child<QLabel>(E, "lblSecurityWarning")->text(),
                  "OAuth 2.0 sign-in needs SSL/TLS or STARTTLS.");
        Child<QPushButton>(E, "btnAccept")->click();
        EXPECT_TRUE(E->isVisible());
        EXPECT_EQ(E->focusWidget(), Child<QComboBox>(E, "cmbSecurity"));
        Child<QComboBox>(E, "cmbSecurity")->setCurrentIndex(1);
        Child<QPushButton>(E, "btnAccept")->click();
    });
    ASSERT_TRUE(editor.Edit(fields));
    ASSERT_EQ(script.Shown().size(), 1u);
    EXPECT_NE(script.Shown()[0].Text.indexOf("needs SSL/TLS or STARTTLS"), -1);
    EXPECT_EQ(editor.Buffer.SignIn, TSignIn::OAuth2);
    EXPECT_EQ(editor.Buffer.OAuth.TokenUrl, "https://oauth2.googleapis.com/token");
    EXPECT_EQ(editor.Buffer.OAuth.ClientId, "1234.apps.googleusercontent.com");
    EXPECT_EQ(editor.Buffer.OAuth.ClientSecret, "GOCSPX-x");
    EXPECT_EQ(editor.Buffer.Security, TSecurity::Tls);

    TAccount account;
    account.Tokens = {"renewed-access", "renewed-refresh", 1};
    editor.Buffer.Tokens = {"stale-access", "stale-refresh", 1};
    CopyFields(editor.Buffer, account);
    EXPECT_EQ(account.SignIn, TSignIn::OAuth2);
    EXPECT_EQ(account.Tokens.RefreshToken, "renewed-refresh") << "what a check renewed meanwhile stays";
    editor.Buffer.SignedIn = true;
    CopyFields(editor.Buffer, account);
    EXPECT_EQ(account.Tokens.RefreshToken, "stale-refresh") << "a sign-in in the editor replaces them";
    editor.Buffer.SignIn = TSignIn::Password;
    CopyFields(editor.Buffer, account);
    EXPECT_TRUE(account.Tokens.RefreshToken.empty()) << "a password account keeps no tokens";
}

TEST(OneAccountOAuth, SignInFromTheEditorKeepsTheTokens) {
    TOAuthTestServer server(QUILLET_TEST_DATA "/oauth_server.py");
    std::string why;
    ASSERT_TRUE(server.Start(why)) << why;
    TScriptedBrowser browser;
    TfrmOneAccount editor(nullptr);
    editor.OpenBrowser = [&](const std::string& Url) { return browser.Open(Url); };
    TAccountFields fields = OAuthFields();
    fields.OAuth.AuthorizeUrl = server.AuthorizeUrl();
    fields.OAuth.TokenUrl = server.TokenUrl();
    OnNextModal([&](QWidget* E) {
        Child<QPushButton>(E, "btnSignIn")->click();
        auto* state = Child<QLabel>(E, "lblSignInState");
        QElapsedTimer clock;
        clock.start();
        while (state->text() != "Signed in." && clock.elapsed() < 10000)
            QTest::qWait(20);
        EXPECT_EQ(state->text(), "Signed in.");
        EXPECT_NE(browser.OpenedUrl.find("login_hint=me%40example.com"), std::string::npos);
        Child<QPushButton>(E, "btnAccept")->click();
    });
    ASSERT_TRUE(editor.Edit(fields));
    EXPECT_FALSE(editor.Buffer.Tokens.AccessToken.empty());
    EXPECT_FALSE(editor.Buffer.Tokens.RefreshToken.empty());
    EXPECT_GT(editor.Buffer.Tokens.AccessExpiresMs, 0);
    EXPECT_TRUE(editor.Buffer.SignedIn);
}

} // namespace
} // namespace quillet::test
