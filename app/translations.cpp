#include "app/translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>

namespace quillet {

TTranslations::TTranslations(const QLocale& Locale) {
    // QTranslator::load tries the locale's UI languages in order ("de-DE", then "de"), so a
    // German in Austria gets the German catalogue too.
    FProgramLoaded = FProgram.load(Locale, QStringLiteral("quillet"), QStringLiteral("_"),
                                   QString::fromLatin1(TranslationsFolder)) &&
                     QCoreApplication::installTranslator(&FProgram);
    FQtLoaded = FQt.load(Locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
                QCoreApplication::installTranslator(&FQt);
}

TTranslations::~TTranslations() {
    if (FQtLoaded)
        QCoreApplication::removeTranslator(&FQt);
    if (FProgramLoaded)
        QCoreApplication::removeTranslator(&FProgram);
}

} // namespace quillet
