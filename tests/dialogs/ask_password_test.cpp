// The password prompt: what it returns for OK, Cancel, Escape and the close box, its fresh start
// on every showing, and the position it remembers.
#include "dialogs/ask_password.h"
#include "dialogs/dialog_positions.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace quillet::test {
namespace {

class TRecordingPositions : public TDialogPositions {
public:
    void LoadDialogPosition(QWidget* Dialog, bool WithSize) override {
        Loads.push_back(Dialog->objectName().toStdString() + (WithSize ? " with size" : ""));
    }
    void SaveDialogPosition(QWidget* Dialog, bool WithSize) override {
        Saves.push_back(Dialog->objectName().toStdString() + (WithSize ? " with size" : ""));
    }
    std::vector<std::string> Loads, Saves;
};

// Runs Answer on the dialog once it shows, then returns what Ask returned.
bool AskAndAnswer(TfrmAskPassword& Dialog, const std::string& Prompt,
                  const std::function<void(TfrmAskPassword&)>& Answer) {
    QTimer::singleShot(0, &Dialog, [&Dialog, Answer] { Answer(Dialog); });
    return Dialog.Ask(Prompt);
}

QLineEdit* Field(TfrmAskPassword& Dialog) {
    return Dialog.findChild<QLineEdit*>("fldPassword");
}

} // namespace

TEST(AskPassword, FormAsDocumented) {
    TfrmAskPassword dialog(nullptr);
    EXPECT_EQ(dialog.objectName(), "frmAskPassword");
    EXPECT_EQ(dialog.windowTitle(), "Password input");
    const auto* ok = dialog.findChild<QPushButton*>("btnOK");
    const auto* cancel = dialog.findChild<QPushButton*>("btnCancel");
    ASSERT_NE(ok, nullptr);
    ASSERT_NE(cancel, nullptr);
    EXPECT_EQ(ok->text(), "&Ok");
    EXPECT_TRUE(ok->isDefault());
    EXPECT_EQ(cancel->text(), "&Cancel");
    EXPECT_EQ(Field(dialog)->echoMode(), QLineEdit::Password);
    EXPECT_EQ(dialog.findChild<QLabel*>("outlblPrompt")->text(), "Enter a password:");
}

TEST(AskPassword, Answers) {
    struct Row {
        const char* what;
        std::function<void(TfrmAskPassword&)> answer;
        bool ok;
        std::string entered;
    };
    const auto type = [](const char* Text) {
        return [Text](TfrmAskPassword& D) { QTest::keyClicks(Field(D), Text); };
    };
    const Row rows[] = {
        {"OK",
         [&](TfrmAskPassword& D) {
             type("S3cret pass")(D);
             D.findChild<QPushButton*>("btnOK")->click();
         },
         true, "S3cret pass"},
        {"Enter",
         [&](TfrmAskPassword& D) {
             type("abc")(D);
             QTest::keyClick(Field(D), Qt::Key_Return);
         },
         true, "abc"},
        {"empty OK", [](TfrmAskPassword& D) { D.findChild<QPushButton*>("btnOK")->click(); }, true, ""},
        {"Cancel",
         [&](TfrmAskPassword& D) {
             type("abc")(D);
             D.findChild<QPushButton*>("btnCancel")->click();
         },
         false, ""},
        {"Escape",
         [&](TfrmAskPassword& D) {
             type("abc")(D);
             QTest::keyClick(Field(D), Qt::Key_Escape);
         },
         false, ""},
        {"close box", [](TfrmAskPassword& D) { D.close(); }, false, ""},
    };
    TfrmAskPassword dialog(nullptr);
    for (const Row& row : rows) {
        std::string shownPrompt;
        bool freshField = false;
        const bool ok = AskAndAnswer(dialog, std::string("Prompt for ") + row.what, [&](TfrmAskPassword& D) {
            shownPrompt = D.findChild<QLabel*>("outlblPrompt")->text().toStdString();
            freshField = Field(D)->text().isEmpty() && D.focusWidget() == Field(D);
            row.answer(D);
        });
        EXPECT_EQ(ok, row.ok) << row.what;
        EXPECT_EQ(dialog.Cancelled, !row.ok) << row.what;
        EXPECT_EQ(dialog.EnteredPassword, row.entered) << row.what;
        EXPECT_EQ(shownPrompt, std::string("Prompt for ") + row.what);
        EXPECT_TRUE(freshField) << row.what; // nothing typed stays from the showing before
    }
}

TEST(AskPassword, RemembersItsPositionWithoutSize) {
    TRecordingPositions positions;
    {
        TfrmAskPassword dialog(&positions);
        EXPECT_EQ(positions.Loads, std::vector<std::string>{"frmAskPassword"});
        EXPECT_TRUE(positions.Saves.empty());
    }
    EXPECT_EQ(positions.Saves, std::vector<std::string>{"frmAskPassword"});
}

} // namespace quillet::test
