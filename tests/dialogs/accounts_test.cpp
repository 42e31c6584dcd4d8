// The accounts setup dialog and the editor of one account, on a live account list: the list and
// its selection after each change, the delete question, the edit buffer and the port field.
#include "dialogs/message_box.h"
#include "dialogs/one_account.h"
#include "dialogs/setup_accounts.h"
#include "model/account.h"
#include "tests/dialogs/dialog_test_steps.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace quillet::test {
namespace {

void AddAccount(TAccounts& Accounts, const std::string& Label, const std::string& Host = "pop.example.org",
                int Port = 110) {
    auto account = std::make_unique<TAccount>();
    account->Label = Label;
    account->UserName = "me";
    account->Host = Host;
    account->SetPort(Port);
    Accounts.Add(std::move(account));
}

std::vector<std::string> Labels(const QWidget* Dialog) {
    const auto* list = Child<QListWidget>(Dialog, "lisAccounts");
    std::vector<std::string> labels;
    for (int row = 0; row < list->count(); ++row)
        labels.push_back(list->item(row)->text().toStdString());
    return labels;
}

// The selected row, or -1.
int Selected(const QWidget* Dialog) {
    const auto* list = Child<QListWidget>(Dialog, "lisAccounts");
    return list->selectedItems().isEmpty() ? -1 : list->row(list->selectedItems().first());
}

bool CanEdit(const QWidget* Dialog) {
    const bool edit = Child<QPushButton>(Dialog, "btnEdit")->isEnabled();
    EXPECT_EQ(Child<QPushButton>(Dialog, "btnDelete")->isEnabled(), edit);
    return edit;
}

// Shows the accounts dialog, runs Steps in it and closes it with Close.
void RunAccounts(TfrmSetupAccounts& Dialog, const std::function<void(QWidget*)>& Steps) {
    OnNextModal([Steps](QWidget* D) {
        Steps(D);
        Child<QPushButton>(D, "btnClose")->click();
    });
    Dialog.exec();
}

// Clicks Button of the accounts dialog; when the editor opens, Answer fills it and presses
// Accept (true) or Cancel (false).
void ClickToEditor(QWidget* Accounts, const char* Button, const std::function<bool(QWidget*)>& Answer) {
    OnNextModal([Answer](QWidget* Editor) {
        Child<QPushButton>(Editor, Answer(Editor) ? "btnAccept" : "btnCancel")->click();
    });
    Child<QPushButton>(Accounts, Button)->click();
}

// A form that may be accepted: description, host and user name filled in.
TAccountFields Filled() {
    TAccountFields fields;
    fields.Label = "Main";
    fields.Host = "pop.example.org";
    fields.UserName = "me";
    return fields;
}

} // namespace

TEST(AccountsRules, RefillSelection) {
    const std::array<int, 3> rows[] = {{-1, 3, -1}, {0, 3, 0}, {2, 3, 2}, {3, 3, 2}, {0, 0, -1}, {-1, 0, -1}};
    for (const auto& [wanted, count, selected] : rows)
        EXPECT_EQ(RefillSelection(wanted, count), selected) << wanted << " of " << count;
    EXPECT_EQ(DeleteQuestion("Main account"), "Are you sure you want to remove account \"Main account\"?");
}

TEST(SetupAccounts, OpensWithNothingSelectedAndAddAppends) {
    TAccounts accounts;
    AddAccount(accounts, "Work");
    AddAccount(accounts, "Home");
    TfrmSetupAccounts dialog(accounts, nullptr);
    EXPECT_EQ(dialog.windowTitle(), "Accounts setup");
    RunAccounts(dialog, [&](QWidget* D) {
        EXPECT_EQ(Labels(D), (std::vector<std::string>{"Work", "Home"}));
        EXPECT_EQ(Selected(D), -1);
        EXPECT_FALSE(CanEdit(D));
        Child<QListWidget>(D, "lisAccounts")->setCurrentRow(1);
        EXPECT_TRUE(CanEdit(D));

        // Add new, then Cancel: nothing changes.
        ClickToEditor(D, "btnAdd", [](QWidget* E) {
            Child<QLineEdit>(E, "fldAccLabel")->setText("Dropped");
            return false;
        });
        EXPECT_EQ(accounts.Count(), 2);
        EXPECT_EQ(Labels(D), (std::vector<std::string>{"Work", "Home"}));

        // Add new with Accept: a fresh form; the fields are kept exactly as typed.
        ClickToEditor(D, "btnAdd", [](QWidget* E) {
            EXPECT_EQ(Child<QLineEdit>(E, "fldAccLabel")->text(), "");
            EXPECT_EQ(Child<QSpinBox>(E, "spnPort")->value(), 995) << "a new account starts on SSL/TLS";
            EXPECT_EQ(Child<QComboBox>(E, "cmbSecurity")->currentText(), "SSL/TLS");
            EXPECT_TRUE(Child<QCheckBox>(E, "chkActive")->isChecked());
            QTest::keyClicks(Child<QLineEdit>(E, "fldAccLabel"), "  Spare ");
            QTest::keyClicks(Child<QLineEdit>(E, "fldUserName"), " u ");
            QTest::keyClicks(Child<QLineEdit>(E, "fldHost"), "pop.example.org");
            QTest::keyClicks(Child<QLineEdit>(E, "fldPassword"), " p w ");
            return true;
        });
        EXPECT_EQ(Labels(D), (std::vector<std::string>{"Work", "Home", "  Spare "}));
        EXPECT_EQ(Selected(D), -1);
        EXPECT_FALSE(CanEdit(D));
    });
    ASSERT_EQ(accounts.Count(), 3);
    EXPECT_EQ(FieldsOf(accounts[2]), (TAccountFields{"  Spare ", " u ", "pop.example.org", " p w ", 995, true,
                                                     TSecurity::Tls, "", "", ""}));
}

TEST(OneAccount, SecurityMovesTheUsualPortAndTrustsTheRefusedCertificate) {
    const std::tuple<TSecurity, TSecurity, int, int> ports[] = {
        {TSecurity::None, TSecurity::Tls, 110, 995},     {TSecurity::Tls, TSecurity::None, 995, 110},
        {TSecurity::Tls, TSecurity::StartTls, 995, 110}, {TSecurity::None, TSecurity::StartTls, 110, 110},
        {TSecurity::None, TSecurity::Tls, 1110, 1110},   {TSecurity::StartTls, TSecurity::Tls, 110, 995},
    };
    for (const auto& [from, to, port, expected] : ports)
        EXPECT_EQ(PortForSecurity(from, to, port), expected);

    TfrmOneAccount editor(nullptr);
    TAccountFields fields = Filled();
    fields.Security = TSecurity::None;
    fields.Port = 110;
    fields.RefusedCertFingerprint = "AA:BB";
    fields.RefusedCertText = "Subject: pop.example.org";
    QTimer::singleShot(0, [&editor] {
        auto* security = editor.findChild<QComboBox*>("cmbSecurity");
        EXPECT_TRUE(editor.findChild<QLabel*>("lblSecurityWarning")->isVisible())
            << "the password travels readable";
        security->setCurrentIndex(1);
        EXPECT_EQ(editor.findChild<QSpinBox*>("spnPort")->value(), 995);
        EXPECT_FALSE(editor.findChild<QLabel*>("lblSecurityWarning")->isVisible());
        auto* trust = editor.findChild<QPushButton*>("btnTrustCert");
        EXPECT_TRUE(trust->isVisible());
        trust->click();
        editor.findChild<QPushButton*>("btnAccept")->click();
    });
    ASSERT_TRUE(editor.Edit(fields));
    EXPECT_EQ(editor.Buffer.Security, TSecurity::Tls);
    EXPECT_EQ(editor.Buffer.Port, 995);
    EXPECT_EQ(editor.Buffer.TrustedCert, "AA:BB");
}

TEST(SetupAccounts, Delete) {
    struct Row {
        const char* what;
        int count, row;
        TMessageAnswer answer;
        bool checking;
        std::vector<std::string> left;
        int selected;
        int messages;
    };
    const Row rows[] = {
        {"last of three", 3, 2, TMessageAnswer::Yes, false, {"A0", "A1"}, 1, 1},
        {"first of three", 3, 0, TMessageAnswer::Yes, false, {"A1", "A2"}, 0, 1},
        {"the only one", 1, 0, TMessageAnswer::Yes, false, {}, -1, 1},
        {"No", 3, 1, TMessageAnswer::No, false, {"A0", "A1", "A2"}, 1, 1},
        {"being checked", 3, 1, TMessageAnswer::Yes, true, {"A0", "A1", "A2"}, 1, 2},
    };
    for (const Row& row : rows) {
        TAccounts accounts;
        for (int i = 0; i < row.count; ++i)
            AddAccount(accounts, "A" + std::to_string(i));
        accounts[row.row].Checking = row.checking;
        TfrmSetupAccounts dialog(accounts, nullptr);
        TMessageBoxScript script;
        script.QueueAnswer(row.answer);
        RunAccounts(dialog, [&](QWidget* D) {
            Child<QListWidget>(D, "lisAccounts")->setCurrentRow(row.row);
            Child<QPushButton>(D, "btnDelete")->click();
            EXPECT_EQ(Labels(D), row.left) << row.what;
            EXPECT_EQ(Selected(D), row.selected) << row.what;
            EXPECT_EQ(CanEdit(D), row.selected >= 0) << row.what;
        });
        ASSERT_EQ(static_cast<int>(script.Shown().size()), row.messages) << row.what;
        EXPECT_EQ(script.Shown()[0].Title, "Deleting");
        EXPECT_EQ(script.Shown()[0].Text.toStdString(), DeleteQuestion("A" + std::to_string(row.row)));
        EXPECT_EQ(script.Shown().back().Text.toStdString(),
                  row.checking ? DeleteRefusal("A1") : DeleteQuestion("A" + std::to_string(row.row)));
        EXPECT_EQ(accounts.Count(), static_cast<int>(row.left.size()));
    }
}

TEST(SetupAccounts, EachRowEditsItsOwnAccountAndKeepsHighPorts) {
    TAccounts accounts;
    AddAccount(accounts, "Main", "one.example.org", 40000);
    AddAccount(accounts, "Main", "two.example.org", 995);
    TAccount* second = &accounts[1];
    TfrmSetupAccounts dialog(accounts, nullptr);
    RunAccounts(dialog, [&](QWidget* D) {
        auto* list = Child<QListWidget>(D, "lisAccounts");
        list->setCurrentRow(1);
        // A double click opens the editor for the row's own account.
        OnNextModal([](QWidget* E) {
            EXPECT_EQ(Child<QLineEdit>(E, "fldHost")->text(), "two.example.org");
            Child<QLineEdit>(E, "fldHost")->setText("changed.example.org");
            Child<QPushButton>(E, "btnAccept")->click();
        });
        Q_EMIT list->itemDoubleClicked(list->item(1));
        EXPECT_EQ(Selected(D), 1);

        // An account on a port above 32767 is shown and accepted with its port unchanged.
        list->setCurrentRow(0);
        ClickToEditor(D, "btnEdit", [](QWidget* E) {
            EXPECT_EQ(Child<QLineEdit>(E, "fldPort")->text(), "40000");
            return true;
        });
    });
    EXPECT_EQ(&accounts[1], second); // the same account object, edited in place
    EXPECT_EQ(accounts[1].Host, "changed.example.org");
    EXPECT_EQ(accounts[0].Host, "one.example.org");
    EXPECT_EQ(accounts[0].Port(), 40000);
}

TEST(OneAccount, TakesEveryPort) {
    TfrmOneAccount editor(nullptr);
    EXPECT_EQ(editor.windowTitle(), "One account");
    const std::pair<const char*, int> typed[] = {{"65535", 65535}, {"1", 1}, {"32768", 32768}};
    for (const auto& [text, port] : typed) {
        OnNextModal([text](QWidget* E) {
            auto* field = Child<QLineEdit>(E, "fldPort");
            field->selectAll();
            QTest::keyClicks(field, text);
            Child<QPushButton>(E, "btnAccept")->click();
        });
        ASSERT_TRUE(editor.Edit(Filled()));
        EXPECT_EQ(editor.Buffer.Port, port);
    }
    // A showing after an accepted one counts as cancelled unless Accept is pressed again.
    OnNextModal([](QWidget* E) { QTest::keyClick(E, Qt::Key_Escape); });
    EXPECT_FALSE(editor.Edit(Filled()));
}

// Accept on a form without a description, host or user name keeps it open and names the field.
TEST(OneAccount, NoAccountWithoutDescriptionHostOrUser) {
    const std::pair<const char*, const char*> blanks[] = {
        {"fldAccLabel", "Short description"}, {"fldHost", "Host"}, {"fldUserName", "User name"}};
    for (const auto& [field, name] : blanks) {
        TfrmOneAccount editor(nullptr);
        TMessageBoxScript boxes;
        OnNextModal([field](QWidget* E) {
            Child<QLineEdit>(E, field)->setText("  ");
            Child<QPushButton>(E, "btnAccept")->click();
            EXPECT_TRUE(E->isVisible()) << "the form stays open";
            EXPECT_EQ(E->focusWidget(), Child<QLineEdit>(E, field)) << "on the missing field";
            Child<QPushButton>(E, "btnCancel")->click();
        });
        EXPECT_FALSE(editor.Edit(Filled()));
        ASSERT_EQ(boxes.Shown().size(), 1u) << field;
        EXPECT_EQ(boxes.Shown()[0].Text,
                  QStringLiteral("Please fill in \"%1\".").arg(QString::fromLatin1(name)));
    }
    EXPECT_EQ(MissingAccountField(Filled()), "");
}

} // namespace quillet::test
