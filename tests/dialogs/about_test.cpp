// The about box: version text, the addresses that a click opens, the Beta mark, the Credits
// message and the keys that close it; and where every dialog remembers its position.
#include "dialogs/about.h"
#include "dialogs/message_box.h"
#include "dialogs/one_account.h"
#include "dialogs/options.h"
#include "dialogs/setup_accounts.h"
#include "model/account.h"
#include "tests/dialogs/dialog_test_steps.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace quillet::test {

TEST(AboutRules, VersionText) {
    const std::pair<const char*, const char*> rows[] = {
        {"", "Unknown"}, {"0.1.0", "0.1.0.0"}, {"0.60.0.33", "0.60.0.33"}, {"2", "2.0.0.0"}};
    for (const auto& [build, shown] : rows)
        EXPECT_EQ(VersionText(build), shown) << build;
}

TEST(About, AddressesOpenWhenClicked) {
    TfrmAbout dialog(nullptr);
    std::vector<QString> opened;
    dialog.OnOpenLink = [&](const QUrl& Url) { opened.push_back(Url.toString()); };
    dialog.Load(TAboutValues{});
    dialog.show();
    for (const char* field : {"lblE_mail1", "lblE_mail2", "lblWWW1"})
        QTest::mouseClick(Child<QLineEdit>(&dialog, field), Qt::LeftButton);
    QTest::keyClick(Child<QLineEdit>(&dialog, "lblWWW2"), Qt::Key_Return);
    const std::vector<QString> expected = {"mailto:quillet@example.org", "mailto:support@example.org",
                                           "https://www.example.org/quillet/index.html",
                                           "https://quillet.example.org/index.html"};
    EXPECT_EQ(opened, expected);
}

TEST(About, VersionBetaCreditsAndClosing) {
    TfrmAbout dialog(nullptr);
    EXPECT_EQ(dialog.windowTitle(), "About");
    EXPECT_EQ(Child<QLabel>(&dialog, "ProductName")->text(), "Quillet");
    for (const bool beta : {true, false}) {
        TAboutValues values;
        values.BuildVersion = "0.1.0";
        values.IsBeta = beta;
        dialog.Load(values);
        EXPECT_EQ(Child<QLabel>(&dialog, "lblVersion")->text(), "Version 0.1.0.0");
        EXPECT_EQ(Child<QLabel>(&dialog, "lblBeta")->isVisibleTo(&dialog), beta);
    }
    TMessageBoxScript script;
    OnNextModal([](QWidget* D) {
        Child<QPushButton>(D, "btnCredits")->click();
        QTest::keyClick(D, Qt::Key_Escape);
    });
    EXPECT_EQ(dialog.exec(), QDialog::Rejected);
    ASSERT_EQ(script.Shown().size(), 1U);
    const QStringList lines = script.Shown()[0].Text.split('\n');
    ASSERT_EQ(lines.size(), 5);
    EXPECT_EQ(lines[0], "Special thanks go to:");
    EXPECT_EQ(lines[1], "");
    for (int i = 2; i < 5; ++i)
        EXPECT_TRUE(lines[i].startsWith("  ") && lines[i][2] != ' ') << lines[i].toStdString();
    OnNextModal([](QWidget* D) { Child<QPushButton>(D, "OKButton")->click(); });
    EXPECT_EQ(dialog.exec(), QDialog::Accepted);
}

TEST(DialogPositions, LoadedWhenMadeAndSavedWhenClosed) {
    TRecordingPositions positions;
    TAccounts accounts;
    TfrmOptions options(&positions);
    TfrmSetupAccounts setup(accounts, &positions);
    TfrmAbout about(&positions);
    EXPECT_EQ(positions.Loads,
              (std::vector<std::string>{"frmOptions", "frmOneAccount", "frmSetupAccounts", "frmAbout"}));
    for (QDialog* dialog : std::initializer_list<QDialog*>{&options, &setup, &setup.Editor(), &about}) {
        OnNextModal([](QWidget* D) { QTest::keyClick(D, Qt::Key_Escape); });
        dialog->exec();
    }
    EXPECT_EQ(positions.Saves,
              (std::vector<std::string>{"frmOptions", "frmSetupAccounts", "frmOneAccount", "frmAbout"}));
}

} // namespace quillet::test
