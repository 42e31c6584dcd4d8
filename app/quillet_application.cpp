#include "app/quillet_application.h"

#include "dialogs/message_box.h"
#include "util/convert_error_text.h"

#include <exception>

namespace quillet {

TQuilletApplication::TQuilletApplication(int& Argc, char** Argv) : QApplication(Argc, Argv) {}

bool TQuilletApplication::notify(QObject* Receiver, QEvent* Event) {
    return NotifyGuarded(*this, Receiver, Event);
}

bool TQuilletApplication::NotifyGuarded(QApplication& App, QObject* Receiver, QEvent* Event) {
    try {
        return App.QApplication::notify(Receiver, Event);
    } catch (const EConvertError& Error) {
        ShowError(ConvertErrorText(Error));
    } catch (const std::exception& Error) {
        ShowError(QString::fromUtf8(Error.what()));
    } catch (...) {
        ShowError(tr("Unknown error"));
    }
    return false;
}

void TQuilletApplication::ShowError(const QString& Text) {
    ShowMessage(QApplication::activeWindow(), QStringLiteral("Quillet"), Text, TMessageIcon::Error);
}

} // namespace quillet
