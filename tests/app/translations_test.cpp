// The program in German: the catalogue compiled into the program translates the window and the
// check's status texts, Qt's own catalogue the standard buttons; without them all stays English.
#include "app/translations.h"

#include "check/status_texts.h"
#include "tests/app/window_test_support.h"

#include <QDialogButtonBox>
#include <QMenuBar>
#include <QPushButton>
#include <gtest/gtest.h>

namespace quillet::test {

namespace {

struct TShownTexts {
    QString FileMenu;
    QString CheckAll;
    QString CancelButton;
    std::string LoginRefused;
    std::string Done;
};

TShownTexts ShownTexts(TWindowBench& Bench) {
    const std::unique_ptr<TfrmMain> window = Bench.MakeWindow();
    const QDialogButtonBox buttons(QDialogButtonBox::Cancel);
    return {window->menuBar()->actions().value(0)->text(), window->Action(TCommand::CheckAll)->text(),
            buttons.button(QDialogButtonBox::Cancel)->text(), LoginFailureText(TResponseCode::Auth, ""),
            DoneText(2, 1)};
}

} // namespace

TEST(Translations, GermanWhileTheCatalogueIsInstalledEnglishWithout) {
    TWindowBench bench;
    {
        const TTranslations german(QLocale(QLocale::German, QLocale::Austria));
        ASSERT_TRUE(german.ProgramLoaded());
        ASSERT_TRUE(german.QtLoaded());
        const TShownTexts texts = ShownTexts(bench);
        EXPECT_EQ(texts.FileMenu, "&Datei");
        EXPECT_EQ(texts.CheckAll, "Alle Konten jetzt &prüfen");
        EXPECT_EQ(texts.CancelButton, "Abbrechen");
        EXPECT_EQ(texts.LoginRefused, "Fehler bei der Anmeldung: Benutzername oder Passwort wurde abgelehnt");
        EXPECT_EQ(texts.Done,
                  "fertig; 2 Nachrichten konnten nicht abgerufen werden; 1 markierte E-Mail wurde "
                  "nicht gelöscht (siehe Systembereich)");
    }
    const TShownTexts texts = ShownTexts(bench);
    EXPECT_EQ(texts.FileMenu, "&File");
    EXPECT_EQ(texts.CheckAll, "&Check all accounts now");
    EXPECT_EQ(texts.CancelButton, "Cancel");
    EXPECT_EQ(texts.LoginRefused, "Failed on login: the user name or password was refused");
    EXPECT_EQ(texts.Done,
              "done; 2 messages could not be fetched; 1 marked mail was not deleted (see the System pane)");

    // English has no catalogue: nothing is installed.
    const TTranslations english(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_FALSE(english.ProgramLoaded());
}

} // namespace quillet::test
