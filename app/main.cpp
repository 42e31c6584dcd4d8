// Program entry.
#include "util/decimal_separator.h"

#include <QApplication>
#include <QMainWindow>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    quillet::UseDotDecimalSeparator();
    QApplication::setOrganizationName("Harvek");
    QApplication::setApplicationName("Quillet");
    QApplication::setApplicationVersion(QUILLET_VERSION);

    QMainWindow window;
    window.setWindowTitle("Quillet");
    window.resize(800, 500);
    window.show();
    return app.exec();
}
