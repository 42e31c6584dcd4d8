// The program's texts in the user's language: Quillet's own catalogue (compiled in under
// ":/i18n") and Qt's catalogue for the texts Qt itself shows (standard buttons, the colour and
// file dialogs). English needs none: it is the language the texts are written in.
#pragma once

#include <QLocale>
#include <QTranslator>

namespace quillet {

// The folder inside the program's resources that holds its compiled catalogues.
inline constexpr const char* TranslationsFolder = ":/i18n";

// Installs the catalogues for Locale in the application while it lives, and removes them when
// it goes. A language without a catalogue leaves the texts in English.
class TTranslations {
public:
    explicit TTranslations(const QLocale& Locale);
    ~TTranslations();
    TTranslations(const TTranslations&) = delete;
    TTranslations& operator=(const TTranslations&) = delete;

    // Whether Quillet's own catalogue and Qt's were found for the locale.
    bool ProgramLoaded() const { return FProgramLoaded; }
    bool QtLoaded() const { return FQtLoaded; }

private:
    QTranslator FProgram;
    QTranslator FQt;
    bool FProgramLoaded = false;
    bool FQtLoaded = false;
};

} // namespace quillet
