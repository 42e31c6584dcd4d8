// Texts that name the desktop the program runs on. Each platform's text is in the catalogue.
#pragma once

#include <QCoreApplication>
#include <QString>

namespace quillet {

// The options dialog's log-on option.
inline QString AutostartCaption() {
#ifdef Q_OS_WIN
    return QCoreApplication::translate("quillet::TfrmOptions", "Autostart with &Windows?");
#else
    return QCoreApplication::translate("quillet::TfrmOptions", "Start Quillet when I lo&g in?");
#endif
}

// The options dialog's choice of where the accounts' passwords are kept.
inline QString KeyringCaption() {
#ifdef Q_OS_WIN
    return QCoreApplication::translate("quillet::TfrmOptions",
                                       "&Keep passwords in Windows Credential Manager");
#else
    return QCoreApplication::translate("quillet::TfrmOptions", "Keep passwords in the desktop &keyring");
#endif
}

} // namespace quillet
