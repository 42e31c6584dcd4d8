// Texts that name the desktop the program runs on.
#pragma once

#include <QString>

namespace quillet {

// The options dialog's log-on option.
inline QString AutostartCaption() {
#ifdef Q_OS_WIN
    return QStringLiteral("Autostart with &Windows?");
#else
    return QStringLiteral("Start Quillet when I lo&g in?");
#endif
}

} // namespace quillet
