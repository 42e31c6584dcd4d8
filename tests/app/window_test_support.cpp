#include "tests/app/window_test_support.h"

#include "dialogs/ask_password.h"
#include "notify/autostart_entries.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace quillet::test {

TWindowBench::TWindowBench() = default;

TWindowBench::~TWindowBench() {
    Accounts.Clear();
    Mails.Clear();
}

std::unique_ptr<TfrmMain> TWindowBench::MakeWindow(bool TrayAvailable) {
    TMainWindowServices services;
    services.Store = &Store;
    services.AppDir = Dir.AppDir();
    services.SoundPlayer = &Player;
    services.AutostartEntries =
        std::make_unique<TXdgAutostartEntries>(QString::fromStdString(AutostartDir.FilePath("user")),
                                               QString::fromStdString(AutostartDir.FilePath("machine")));
    services.TrayAvailable = [TrayAvailable] { return TrayAvailable; };
    return std::make_unique<TfrmMain>(Accounts, Mails, std::move(services));
}

void TWindowBench::Start(TfrmMain& Window) {
    Window.ShowAtStart();
    for (int i = 0; i < 500 && !Window.Started(); ++i)
        QTest::qWait(10);
}

void TWindowBench::RunOnce() {
    auto window = MakeWindow();
    Start(*window);
    window.reset();
    Accounts.Clear();
}

TPromptAnswerer::TPromptAnswerer(std::vector<std::optional<std::string>> Answers)
    : FAnswers(Answers.begin(), Answers.end()) {
    QObject::connect(&FTimer, &QTimer::timeout, [this] { Poll(); });
    FTimer.start(10);
}

void TPromptAnswerer::Poll() {
    auto* dialog = qobject_cast<TfrmAskPassword*>(QApplication::activeModalWidget());
    if (dialog == nullptr || !dialog->isVisible() || FAnswers.empty())
        return;
    Prompts.push_back(dialog->findChild<QLabel*>("outlblPrompt")->text().toStdString());
    const std::optional<std::string> answer = FAnswers.front();
    FAnswers.pop_front();
    if (!answer) {
        dialog->findChild<QPushButton*>("btnCancel")->click();
        return;
    }
    dialog->findChild<QLineEdit*>("fldPassword")->setText(QString::fromStdString(*answer));
    dialog->findChild<QPushButton*>("btnOK")->click();
}

} // namespace quillet::test
