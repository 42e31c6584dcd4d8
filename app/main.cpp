// Program entry.
#include "app/single_instance.h"
#include "model/model.h"
#include "util/decimal_separator.h"

#include <QApplication>
#include <QMainWindow>

int main(int argc, char* argv[]) {
    // One Quillet per user: a second start ends here, silently, before any window exists.
    const quillet::TSingleInstance instance;
    if (!instance.IsFirst())
        return 0;

    QApplication app(argc, argv);
    quillet::UseDotDecimalSeparator();
    QApplication::setOrganizationName("Harvek");
    QApplication::setApplicationName("Quillet");
    QApplication::setApplicationVersion(QUILLET_VERSION);

    int exitCode = 0;
    {
        QMainWindow window;
        window.setWindowTitle("Quillet");
        window.resize(800, 500);
        window.show();
        exitCode = app.exec();
    }
    // The window saves the accounts when it goes, so the lists are emptied only after it; the
    // accounts own sockets, so they go while the application object still exists.
    quillet::Accounts.Clear();
    quillet::Mails.Clear();
    return exitCode;
}
