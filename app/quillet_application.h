// The application object. An error that escapes an event handler ends here instead of ending
// the program: its text is shown in a message box titled "Quillet", and the program goes on.
#pragma once

#include <QApplication>

namespace quillet {

class TQuilletApplication : public QApplication {
    Q_OBJECT
public:
    TQuilletApplication(int& Argc, char** Argv);

    bool notify(QObject* Receiver, QEvent* Event) override;

    // Delivers Event through App's own QApplication::notify, catching what escapes the handler
    // and showing it. Returns false for an event whose handler failed.
    static bool NotifyGuarded(QApplication& App, QObject* Receiver, QEvent* Event);
    // The message box of the default error handler.
    static void ShowError(const QString& Text);
};

} // namespace quillet
